// Main pass, vertex stage: world-space position and normal for lighting, texture
// coordinates, and the position in the sun's clip space for the shadow lookup.
#version 330 core

layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 texCoords;

uniform mat4 model;
uniform mat4 view_proj;
uniform mat4 light_view_proj;

out vec3 worldPos;
out vec3 worldNormal;
out vec2 uv;
out vec4 sunClipPos;

// The depth pre-pass runs this same stage; its lit pass then tests for equal
// depth, which holds only if both compute the position bit for bit.
invariant gl_Position;

void main()
{
    vec4 world = model * vec4(position, 1.0);
    worldPos = world.xyz;
    // Model matrices are uniform scales with a translation: no inverse transpose needed.
    worldNormal = mat3(model) * normal;
    uv = texCoords;
    sunClipPos = light_view_proj * world;
    gl_Position = view_proj * world;
}
