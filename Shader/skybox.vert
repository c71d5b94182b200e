// Sky, vertex stage: the sphere around the camera, pushed to the far plane.
#version 330 core

in vec3 position;

uniform mat4 model;
uniform mat4 view_proj;

out vec3 direction;

void main()
{
    vec4 world = model * vec4(position, 1.0);
    direction = position;
    gl_Position = (view_proj * world).xyww;
}
