// Sky, fragment stage: the cube map dimmed by the sunset's light factor.
#version 330 core

uniform samplerCube gCubemapTexture;
uniform float light;

in vec3 direction;

out vec4 fragColor;

void main()
{
    fragColor = vec4(texture(gCubemapTexture, direction).rgb * light, 1.0);
}
