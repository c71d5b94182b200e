// Point-light shadow pass, fragment stage: the light distance scaled to 0..1 by the far distance.
#version 330 core

uniform vec4 lightPosition;
uniform vec2 nearFar;

in vec4 worldPos;

void main()
{
    gl_FragDepth = length(worldPos.xyz - lightPosition.xyz) / nearFar.y;
}
