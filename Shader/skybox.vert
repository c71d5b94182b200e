// Sky, vertex stage: the sphere around the camera, pushed to the far plane.
#version 330 core

// The sphere in its own space; "normal" and "uv" are offered by the mesh but the
// cube map needs only the direction.
in vec3 position;

uniform mat4 model;     // camera position x half turn about z
uniform mat4 view_proj;

// Look-up direction in the sphere's own space: the half turn of "model" is what
// makes world up see the -Y face, so the direction must not include it.
out vec3 direction;

void main()
{
    direction = position;
    // z = w gives depth 1.0 after the divide: the sky lies on the far plane
    // whatever the sphere's radius, behind everything drawn before it.
    gl_Position = (view_proj * model * vec4(position, 1.0)).xyww;
}
