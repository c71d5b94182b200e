#version 330 core
// Particle sprites, vertex stage. Every particle is drawn as 5 instances: instance
// 0 is the particle itself, instances 1-4 are smaller satellites swirling around
// it, which makes flakes look soft and clustered and flames look fuller. Sprites
// of a single-image texture tumble slowly; atlas frames (the flames) stay upright
// and only sway, and shrink as they burn out.

layout(location = 0) in vec3 vPosition;
layout(location = 1) in vec3 vVelocity;
layout(location = 2) in vec3 vColor;
layout(location = 3) in float fLifeTime;
layout(location = 4) in float fSize;
layout(location = 5) in float fUpdateTextureMillis;
layout(location = 6) in float fCurrentAnimTimeMillis;
layout(location = 7) in int iType;
layout(location = 8) in int iTexPos;

uniform vec3 vQuad1;
uniform vec3 vQuad2;
uniform int rowss;
uniform int cols;

out vec3 vCenterPass;
out float fHalfSizePass;
out float fAnglePass;
out vec4 vTintPass;        // rgb: colour, a: opacity of this instance
flat out int iTexPosPass;
flat out int iTypePass;

const float TAU = 6.2831853;

void main()
{
    int frames = max(rowss * cols, 1);
    bool animated = frames > 1;
    // Field 5 is the frame time, fixed at birth, so the whole life is recoverable.
    float lifeMillis = max(fUpdateTextureMillis * float(frames), 1e-3);
    float age = clamp(fCurrentAnimTimeMillis / lifeMillis, 0.0, 1.0);
    float seconds = fCurrentAnimTimeMillis * 0.001;
    // A stable per-particle number in [0, 1): the life length is random at birth.
    float phase = fract(fUpdateTextureMillis * 0.6180339);

    float instance = float(gl_InstanceID);
    bool satellite = gl_InstanceID > 0;

    float sway = 0.2 * sin(seconds * 7.0 + instance * 1.3 + phase * TAU);
    // A slow tumble, at most 0.3 rad/s, so flakes drift and the wisp stays calm.
    float spin = phase * TAU + instance * 1.2566371 + (phase - 0.5) * 0.6 * seconds;
    fAnglePass = animated ? sway : spin;

    // Satellites circle the particle at a wobbling distance.
    float orbit = phase * TAU + instance * (TAU / 4.0) + seconds * (animated ? 2.0 : 0.5);
    float radius = satellite ? fSize * (0.22 + 0.08 * sin(seconds * 5.0 + instance * 1.7)) : 0.0;
    vCenterPass = vPosition + (cos(orbit) * vQuad1 + sin(orbit) * vQuad2) * radius;

    float scale = (satellite ? 0.65 : 1.0) * (animated ? mix(1.0, 0.5, age) : 1.0);
    fHalfSizePass = 0.5 * fSize * scale;

    // Fade in briefly after birth and out towards the end of the life.
    float fade = smoothstep(0.0, 0.08, age) * (1.0 - age * age);
    vTintPass = vec4(vColor, fade * (satellite ? 0.5 : 1.0));

    iTexPosPass = iTexPos;
    iTypePass = iType;
}
