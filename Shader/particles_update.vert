#version 330 core
// Particle simulation, vertex stage: hands each particle record to the geometry
// stage, which ages, moves, drops and spawns particles.

layout(location = 0) in vec3 vPosition;
layout(location = 1) in vec3 vVelocity;
layout(location = 2) in vec3 vColor;
layout(location = 3) in float fLifeTime;
layout(location = 4) in float fSize;
layout(location = 5) in float fUpdateTextureMillis;
layout(location = 6) in float fCurrentAnimTimeMillis;
layout(location = 7) in int iType;
layout(location = 8) in int iTexPos;

out vec3 vPositionPass;
out vec3 vVelocityPass;
out vec3 vColorPass;
out float fLifeTimePass;
out float fSizePass;
out float fUpdateTextureMillisPass;
out float fCurrentAnimTimeMillisPass;
flat out int iTypePass;
flat out int iTexPosPass;

void main()
{
    vPositionPass = vPosition;
    vVelocityPass = vVelocity;
    vColorPass = vColor;
    fLifeTimePass = fLifeTime;
    fSizePass = fSize;
    fUpdateTextureMillisPass = fUpdateTextureMillis;
    fCurrentAnimTimeMillisPass = fCurrentAnimTimeMillis;
    iTypePass = iType;
    iTexPosPass = iTexPos;
}
