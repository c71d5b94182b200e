// Fade, vertex stage: one triangle over the whole viewport, made from the vertex
// index alone, so no buffer feeds it.
#version 330 core

void main()
{
    // The part of this triangle inside clip space is exactly the viewport.
    const vec2 corners[3] = vec2[3](vec2(-1.0, -1.0), vec2(3.0, -1.0), vec2(-1.0, 3.0));
    gl_Position = vec4(corners[gl_VertexID], 0.0, 1.0);
}
