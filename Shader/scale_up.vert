// Scale-up, vertex stage: a quad over the whole viewport from four vertex
// indices, drawn as a triangle strip, with no vertex buffer behind it.
#version 330 core

out vec2 imagePosition;

void main()
{
    // 0 (0, 0), 1 (1, 0), 2 (0, 1), 3 (1, 1): the image's corners.
    imagePosition = vec2(gl_VertexID & 1, gl_VertexID >> 1);
    gl_Position = vec4(imagePosition * 2.0 - 1.0, 0.0, 1.0);
}
