// Sun shadow pass, vertex stage: positions into the sun's clip space.
#version 330 core

layout(location = 0) in vec3 position;

uniform mat4 model;
uniform mat4 view_proj;

void main()
{
    gl_Position = view_proj * model * vec4(position, 1.0);
}
