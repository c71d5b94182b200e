// Main pass, vertex stage: world position, normal and texture coordinates for lighting.
#version 330 core

layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 texCoords;

uniform mat4 model;
uniform mat4 view_proj;

out vec3 worldPos;
out vec3 worldNormal;
out vec2 uv;

void main()
{
    vec4 world = model * vec4(position, 1.0);
    worldPos = world.xyz;
    // The scene's model matrices are uniform scales, so the normal needs no inverse transpose.
    worldNormal = mat3(model) * normal;
    uv = texCoords;
    gl_Position = view_proj * world;
}
