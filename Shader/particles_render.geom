#version 330 core
// Particle sprites, geometry stage: spans a camera-facing quad around each
// particle from the two screen axes and picks its atlas frame. The emitter
// record (type 0) is not a particle and is not drawn.

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

in vec3 vCenterPass[];
in float fHalfSizePass[];
in float fAnglePass[];
in vec4 vTintPass[];
flat in int iTexPosPass[];
flat in int iTypePass[];

out vec2 vTexCoord;
out vec4 vTint;

void main()
{
    if (iTypePass[0] == 0 || vTintPass[0].a <= 0.0)
        return;

    float c = cos(fAnglePass[0]);
    float s = sin(fAnglePass[0]);
    vec3 right = (c * vQuad1 + s * vQuad2) * fHalfSizePass[0];
    vec3 down = (c * vQuad2 - s * vQuad1) * fHalfSizePass[0];

    // Frame 0 is the top-left cell of the image; the image was uploaded bottom row first.
    int columns = max(cols, 1);
    int rows = max(rowss, 1);
    vec2 cell = vec2(float(iTexPosPass[0] % columns), float(iTexPosPass[0] / columns));
    vec2 cellSize = vec2(1.0 / float(columns), 1.0 / float(rows));

    mat4 viewProjection = matrices.mProj * matrices.mView;
    // Corners (s, t): s runs right, t runs down; this order winds counter-clockwise.
    const vec2 corners[4] = vec2[4](vec2(0.0, 1.0), vec2(1.0, 1.0), vec2(0.0, 0.0), vec2(1.0, 0.0));
    for (int i = 0; i < 4; ++i) {
        vec2 corner = corners[i];
        vec3 position = vCenterPass[0] + right * (2.0 * corner.x - 1.0) + down * (2.0 * corner.y - 1.0);
        gl_Position = viewProjection * vec4(position, 1.0);
        vTexCoord = vec2((cell.x + corner.x) * cellSize.x, 1.0 - (cell.y + corner.y) * cellSize.y);
        vTint = vTintPass[0];
        EmitVertex();
    }
    EndPrimitive();
}
