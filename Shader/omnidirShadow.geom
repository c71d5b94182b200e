// Point-light shadow pass, geometry stage: every triangle goes to all six cube faces,
// layer i being face i in the order +X, -X, +Y, -Y, +Z, -Z.
#version 330 core

layout(triangles) in;
layout(triangle_strip, max_vertices = 18) out;

uniform mat4 cubemapMat[6];

out vec4 worldPos;

void main()
{
    for (int face = 0; face < 6; ++face) {
        for (int i = 0; i < 3; ++i) {
            gl_Layer = face;
            worldPos = gl_in[i].gl_Position;
            gl_Position = cubemapMat[face] * worldPos;
            EmitVertex();
        }
        EndPrimitive();
    }
}
