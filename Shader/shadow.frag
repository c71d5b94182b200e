// Sun shadow pass, fragment stage: the depth buffer is the only output.
#version 330 core

uniform int ShadowMap;

void main()
{
}
