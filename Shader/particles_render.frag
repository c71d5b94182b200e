#version 330 core
// Particle sprites, fragment stage. The images carry no alpha, so a texel's
// brightness is its coverage. The colour is the texel's hue at full brightness:
// blended additively that adds texel x colour x opacity, and drawn opaque (snow
// with transparency off) it gives solid shapes instead of dark-rimmed squares.

uniform sampler2D gSampler;

in vec2 vTexCoord;
in vec4 vTint;

out vec4 outputColor;

void main()
{
    vec3 texel = texture(gSampler, vTexCoord).rgb;
    float coverage = max(texel.r, max(texel.g, texel.b));
    float alpha = coverage * vTint.a;
    if (alpha < 0.02)
        discard;
    outputColor = vec4(vTint.rgb * texel / coverage, alpha);
}
