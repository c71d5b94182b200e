// Fire shadow pass, geometry stage: each triangle is routed to the faces of the
// layered cube map (layer i = face i in the order +X, -X, +Y, -Y, +Z, -Z) whose
// view it can reach. A triangle wholly outside one clip plane of a face would be
// clipped away there anyway, so it is not emitted to that face at all.
#version 330 core

layout(triangles) in;
layout(triangle_strip, max_vertices = 18) out;

uniform mat4 cubemapMat[6];

bool outsideOnePlane(vec4 a, vec4 b, vec4 c)
{
    return (a.x > a.w && b.x > b.w && c.x > c.w) || (a.x < -a.w && b.x < -b.w && c.x < -c.w)
        || (a.y > a.w && b.y > b.w && c.y > c.w) || (a.y < -a.w && b.y < -b.w && c.y < -c.w)
        || (a.z > a.w && b.z > b.w && c.z > c.w) || (a.z < -a.w && b.z < -b.w && c.z < -c.w);
}

void main()
{
    for (int face = 0; face < 6; ++face) {
        vec4 clip[3];
        for (int i = 0; i < 3; ++i)
            clip[i] = cubemapMat[face] * gl_in[i].gl_Position;
        if (outsideOnePlane(clip[0], clip[1], clip[2]))
            continue;
        for (int i = 0; i < 3; ++i) {
            gl_Layer = face;
            gl_Position = clip[i];
            EmitVertex();
        }
        EndPrimitive();
    }
}
