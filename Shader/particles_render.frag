#version 330 core
// Particle sprites, fragment stage. The images carry no alpha, so a texel's
// brightest channel is its coverage. Blending is additive (source alpha, one),
// so what a sprite adds is colour x alpha; drawn opaque (snow with transparency
// off) the colour alone shows, which is why it is kept at full brightness.
//
// Flakes and smoke take the generator colour as a hue. A flake out of focus is
// drawn from a coarser level of its image, so its outline blurs, and its light
// is spread evenly over the disc. The fire's generator
// colour is only a tint: its colour comes from a ramp over the texel's heat
// (the atlas is orange with a white-hot core, so green measures heat) and the
// particle's age, from yellow-white at the young base through orange to a dark
// red at the old tips.

uniform sampler2D gSampler;
uniform int iKind;     // the emitter's kind, as in the vertex stage

in vec2 vTexCoord;
in vec4 vTint;
in float fAge;
in float fSoftness;

out vec4 outputColor;

const int KIND_SNOW = 0;
const int KIND_FIRE = 1;
// Mip levels a fully blurred flake is drawn from above its usual level.
const float SNOW_BLUR_LEVELS = 2.5;
// Fully covered flame texels add this much; the base, where dozens overlap,
// saturates to yellow while the sparse tips stay red.
const float FIRE_GAIN = 0.28;

vec3 fireRamp(float heat, vec3 tint)
{
    vec3 ember = tint * vec3(1.0, 0.4, 0.25);
    vec3 flame = mix(tint, vec3(1.0, 0.55, 0.1), 0.5);
    vec3 hot = vec3(1.0, 0.75, 0.25);
    vec3 colour = mix(ember, flame, smoothstep(0.05, 0.45, heat));
    return mix(colour, hot, smoothstep(0.5, 1.0, heat));
}

void main()
{
    vec3 texel = iKind == KIND_SNOW ? texture(gSampler, vTexCoord, fSoftness * SNOW_BLUR_LEVELS).rgb
                                    : texture(gSampler, vTexCoord).rgb;
    float coverage = max(texel.r, max(texel.g, texel.b));
    if (coverage * vTint.a < 0.01)
        discard;

    if (iKind == KIND_FIRE) {
        float heat = clamp(texel.g / coverage * 1.1 - fAge * 0.5, 0.0, 1.0);
        outputColor = vec4(fireRamp(heat, vTint.rgb), coverage * vTint.a * FIRE_GAIN);
    } else if (iKind == KIND_SNOW) {
        outputColor = vec4(vTint.rgb * texel / coverage, pow(coverage, mix(1.0, 0.6, fSoftness)) * vTint.a);
    } else {
        outputColor = vec4(vTint.rgb * texel / coverage, coverage * vTint.a);
    }
}
