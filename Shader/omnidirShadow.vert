// Point-light shadow pass, vertex stage: world positions for the geometry stage.
#version 330 core

layout(location = 0) in vec3 position;

uniform mat4 model;

void main()
{
    gl_Position = model * vec4(position, 1.0);
}
