#version 330 core
// Particle sprites, vertex stage: shapes the sprite of one instance of a particle.
// Every particle is drawn as 5 instances, and the emitter's kind decides how they
// differ:
// - fire: five flame tongues standing on the particle, the middle one tallest,
//   the others beside it, so that a few hundred particles fill the firebox; they
//   sway, flicker in height and burn down with age;
// - smoke: one sprite per chosen particle that widens and meanders as it rises,
//   so the column reads as a thin wisp;
// - snow: the flake plus four smaller satellites swirling around it, tumbling
//   slowly; flakes differ in size, and near the eye they are out of focus: larger,
//   softer and fainter.
// Fields 5 and 6 are floats in milliseconds: the frame time (the whole life split
// over the atlas frames, fixed at birth) and the particle's age.

layout(location = 0) in vec3 vPosition;
layout(location = 1) in vec3 vVelocity;
layout(location = 2) in vec3 vColor;
layout(location = 3) in float fLifeTime;
layout(location = 4) in float fSize;
layout(location = 5) in float fUpdateTextureMillis;
layout(location = 6) in float fCurrentAnimTimeMillis;
layout(location = 7) in int iType;
layout(location = 8) in int iTexPos;

uniform vec3 vQuad1;   // camera right
uniform vec3 vQuad2;   // camera down
uniform int rowss;
uniform int cols;
uniform int iKind;     // the emitter's kind, one of the KIND_ constants

struct Matrices {
    mat4 mProj;
    mat4 mView;
};
uniform Matrices matrices;

out vec3 vCenterPass;
out vec2 vHalfSizePass;    // half width, half height, in world units
out float fAnglePass;      // rotation in the screen plane
out float fLeanPass;       // sideways shift of the top edge, in half widths
out float fCropPass;       // part of the atlas cell's width the sprite shows
out vec4 vTintPass;        // rgb: hue at full brightness, a: opacity of this instance
out float fAgePass;        // life fraction
out float fSoftnessPass;   // 0 a sharp sprite, 1 a flake fully out of focus
flat out int iTexPosPass;
flat out int iTypePass;

const int KIND_SNOW = 0;
const int KIND_FIRE = 1;
const int KIND_SMOKE = 2;

const float TAU = 6.2831853;
// Snow: the eye is focused on the middle distance of the view outside. Flakes
// nearer than SNOW_SHARP_FROM are blurred, fully so at SNOW_SOFT_AT; flakes
// beyond SNOW_FAINT_FROM fade into the haze, to SNOW_FAR_OPACITY at SNOW_FAINT_AT
// (world units from the eye).
const float SNOW_SOFT_AT = 40.0;
const float SNOW_SHARP_FROM = 130.0;
const float SNOW_FAINT_FROM = 150.0;
const float SNOW_FAINT_AT = 350.0;
const float SNOW_FAR_OPACITY = 0.45;
// Additive smoke piles up along its column: only this share of its particles is
// drawn, each bright enough to survive the 8-bit framebuffer.
const float SMOKE_SHARE = 0.15;
const float SMOKE_OPACITY = 0.05;

// The flame tongues: sideways offset and height, in units of the particle size.
const float TONGUE_OFFSET[5] = float[5](0.0, -1.1, 1.1, -2.2, 2.2);
const float TONGUE_HEIGHT[5] = float[5](2.8, 2.3, 2.2, 1.6, 1.5);
// The flame fills the middle of its atlas cell; its base sits this far above the cell's bottom.
const float FLAME_CROP = 0.62;
const float FLAME_BASE = 0.04;

vec3 hue(vec3 colour)
{
    return colour / max(max(colour.r, max(colour.g, colour.b)), 1e-6);
}

void shapeFire(float age, float seconds, float phase)
{
    int i = gl_InstanceID;
    float flicker = 0.85 + 0.15 * sin(seconds * 13.0 + phase * TAU + float(i) * 2.1)
                         + 0.06 * sin(seconds * 29.0 + float(i) * 0.7);
    // Tongues burn down and thin out as the particle rises.
    float height = fSize * TONGUE_HEIGHT[i] * mix(1.0, 0.35, age) * flicker;
    float width = height * FLAME_CROP * mix(0.75, 0.55, age);
    vec3 up = -vQuad2;
    vCenterPass = vPosition + vQuad1 * (fSize * TONGUE_OFFSET[i] * (0.6 + 0.8 * phase))
                + up * (0.5 - FLAME_BASE) * height;
    vHalfSizePass = 0.5 * vec2(width, height);
    fAnglePass = 0.0;
    fLeanPass = 0.5 * sin(seconds * 5.0 + phase * TAU + float(i) * 1.9);
    fCropPass = FLAME_CROP;
    // Bright at once, gone before the particle dies; the outer tongues only at the base.
    float fade = smoothstep(0.0, 0.05, age) * (1.0 - smoothstep(0.3, 0.75, age));
    if (i >= 3)
        fade *= 1.0 - smoothstep(0.2, 0.45, age);
    vTintPass = vec4(hue(vColor), fade);
}

void shapeSmoke(float age, float seconds, float phase)
{
    bool drawn = gl_InstanceID == 0 && phase < SMOKE_SHARE;
    // The column spreads and wavers as it rises.
    float width = fSize * (1.0 + 7.0 * age);
    float drift = fSize * 3.0 * age * sin(seconds * 0.35 + phase * 40.0);
    vCenterPass = vPosition + vQuad1 * drift;
    vHalfSizePass = vec2(0.5 * width);
    fAnglePass = phase * TAU + (phase - 0.5) * 0.2 * seconds;
    fLeanPass = 0.0;
    fCropPass = 1.0;
    float fade = smoothstep(0.0, 0.1, age) * (1.0 - age);
    vTintPass = vec4(hue(vColor), drawn ? SMOKE_OPACITY * fade : 0.0);
}

void shapeSnow(float age, float seconds, float phase)
{
    float instance = float(gl_InstanceID);
    bool satellite = gl_InstanceID > 0;
    // Most flakes are small, a few large: the size spreads by the square of a
    // second per-particle number.
    float grain = fract(phase * 7.31 + 0.13);
    float flake = fSize * mix(0.55, 1.6, grain * grain);
    float eyeDistance = length((matrices.mView * vec4(vPosition, 1.0)).xyz);
    float softness = 1.0 - smoothstep(SNOW_SOFT_AT, SNOW_SHARP_FROM, eyeDistance);
    // Satellites circle the flake at a wobbling distance.
    float orbit = phase * TAU + instance * (TAU / 4.0) + seconds * 0.5;
    float radius = satellite ? flake * (0.22 + 0.08 * sin(seconds * 5.0 + instance * 1.7)) : 0.0;
    vCenterPass = vPosition + (cos(orbit) * vQuad1 + sin(orbit) * vQuad2) * radius;
    // Out of focus, a flake spreads its light over a larger, dimmer disc.
    vHalfSizePass = vec2(0.5 * flake * (satellite ? 0.65 : 1.0) * (1.0 + 0.8 * softness));
    // A slow tumble, at most 0.3 rad/s.
    fAnglePass = phase * TAU + instance * 1.2566371 + (phase - 0.5) * 0.6 * seconds;
    fLeanPass = 0.0;
    fCropPass = 1.0;
    float fade = smoothstep(0.0, 0.08, age) * (1.0 - age * age);
    float haze = mix(1.0, SNOW_FAR_OPACITY, smoothstep(SNOW_FAINT_FROM, SNOW_FAINT_AT, eyeDistance));
    vTintPass = vec4(vColor, fade * haze * (satellite ? 0.5 : 1.0) * mix(1.0, 0.5, softness));
    fSoftnessPass = softness;
}

void main()
{
    int frames = max(rowss * cols, 1);
    float lifeMillis = max(fUpdateTextureMillis * float(frames), 1e-3);
    float age = clamp(fCurrentAnimTimeMillis / lifeMillis, 0.0, 1.0);
    float seconds = fCurrentAnimTimeMillis * 0.001;
    // A stable per-particle number in [0, 1): the life length is random at birth.
    float phase = fract(fUpdateTextureMillis * 0.6180339);

    fSoftnessPass = 0.0;
    if (iKind == KIND_FIRE)
        shapeFire(age, seconds, phase);
    else if (iKind == KIND_SMOKE)
        shapeSmoke(age, seconds, phase);
    else
        shapeSnow(age, seconds, phase);

    // Neighbouring tongues show different frames of the flame animation.
    iTexPosPass = (iTexPos + gl_InstanceID * 5) % frames;
    fAgePass = age;
    iTypePass = iType;
}
