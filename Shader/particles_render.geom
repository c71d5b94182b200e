#version 330 core
// Particle sprites, geometry stage: spans a camera-facing quad around each
// sprite from the two screen axes, keeps it at least a few pixels across and
// picks its atlas frame. The emitter record (type 0) is not a particle and is
// not drawn, nor is a sprite that is invisible or behind the camera.

layout(points) in;
layout(triangle_strip, max_vertices = 4) out;

struct Matrices {
    mat4 mProj;
    mat4 mView;
};
uniform Matrices matrices;

uniform vec3 vQuad1;   // camera right
uniform vec3 vQuad2;   // camera down
uniform int rowss;
uniform int cols;
uniform float fViewportHeight; // pixels, of what is drawn into

in vec3 vCenterPass[];
in vec2 vHalfSizePass[];
in float fAnglePass[];
in float fLeanPass[];
in float fCropPass[];
in vec4 vTintPass[];
in float fAgePass[];
in float fSoftnessPass[];
flat in int iTexPosPass[];
flat in int iTypePass[];

out vec2 vTexCoord;
out vec4 vTint;
out float fAge;
out float fSoftness;

// A soft sprite shows about half its quad, so this keeps a flake about 1.5 pixels wide.
const float MIN_PIXELS = 3.0;

void main()
{
    if (iTypePass[0] == 0 || vTintPass[0].a <= 0.0)
        return;

    mat4 viewProjection = matrices.mProj * matrices.mView;
    float w = (viewProjection * vec4(vCenterPass[0], 1.0)).w;
    if (w <= 0.0)
        return;

    // Pixels across the sprite's shorter side; far sprites grow to MIN_PIXELS and
    // lose a little opacity, so distant snow stays a faint speck.
    vec2 halfSize = vHalfSizePass[0];
    float pixels = 2.0 * min(halfSize.x, halfSize.y) * matrices.mProj[1][1] / w * 0.5 * fViewportHeight;
    float growth = max(MIN_PIXELS / max(pixels, 1e-4), 1.0);
    halfSize *= growth;
    vec4 tint = vTintPass[0];
    tint.a *= max(inversesqrt(growth), 0.6);

    float c = cos(fAnglePass[0]);
    float s = sin(fAnglePass[0]);
    vec3 right = (c * vQuad1 + s * vQuad2) * halfSize.x;
    vec3 down = (c * vQuad2 - s * vQuad1) * halfSize.y;

    // Frame 0 is the top-left cell of the image; the image was uploaded bottom row first.
    int columns = max(cols, 1);
    int rows = max(rowss, 1);
    vec2 cell = vec2(float(iTexPosPass[0] % columns), float(iTexPosPass[0] / columns));
    vec2 cellSize = vec2(1.0 / float(columns), 1.0 / float(rows));
    // The sprite shows the middle fCrop of the cell's width.
    float margin = 0.5 * (1.0 - fCropPass[0]);

    // Corners (s, t): s runs right, t runs down; this order winds counter-clockwise.
    const vec2 corners[4] = vec2[4](vec2(0.0, 1.0), vec2(1.0, 1.0), vec2(0.0, 0.0), vec2(1.0, 0.0));
    for (int i = 0; i < 4; ++i) {
        vec2 corner = corners[i];
        // The top edge leans sideways, so flames bend while their base stays put.
        float lean = fLeanPass[0] * (1.0 - corner.y);
        vec3 position = vCenterPass[0] + right * (2.0 * corner.x - 1.0 + lean) + down * (2.0 * corner.y - 1.0);
        gl_Position = viewProjection * vec4(position, 1.0);
        float u = margin + corner.x * fCropPass[0];
        vTexCoord = vec2((cell.x + u) * cellSize.x, 1.0 - (cell.y + corner.y) * cellSize.y);
        vTint = tint;
        fAge = fAgePass[0];
        fSoftness = fSoftnessPass[0];
        EmitVertex();
    }
    EndPrimitive();
}
