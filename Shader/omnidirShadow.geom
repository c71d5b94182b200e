// Fire shadow pass, geometry stage: every triangle goes to all six faces of the
// layered cube map, layer i being face i in the order +X, -X, +Y, -Y, +Z, -Z.
#version 330 core

layout(triangles) in;
layout(triangle_strip, max_vertices = 18) out;

uniform mat4 cubemapMat[6];

out vec3 worldPos;

void main()
{
    for (int face = 0; face < 6; ++face) {
        for (int i = 0; i < 3; ++i) {
            gl_Layer = face;
            worldPos = gl_in[i].gl_Position.xyz;
            gl_Position = cubemapMat[face] * gl_in[i].gl_Position;
            EmitVertex();
        }
        EndPrimitive();
    }
}
