// Fire shadow pass, fragment stage. Stores the distance to the light divided by
// the camera's far distance (nearFar.y); the main pass compares against the same
// quantity, so both sides agree on one linear depth convention.
#version 330 core

uniform vec4 lightPosition;
uniform vec2 nearFar;

in vec3 worldPos;

void main()
{
    gl_FragDepth = length(worldPos - lightPosition.xyz) / nearFar.y;
}
