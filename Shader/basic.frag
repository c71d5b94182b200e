// Main pass, fragment stage: material colours times textures, lit by the sun and
// the fire, each with filtered shadows, and by the light baked into the room's
// volume, then tone-mapped to the display.
#version 330 core

struct BaseLight {
    vec3 Color;
    float AmbientIntensity;
    float DiffuseIntensity;
};

struct DirectionalLight {
    BaseLight Base;
    vec3 Direction;
    mat4 Rotation;
};

struct Attenuation {
    float Constant;
    float Linear;
    float Exp;
};

struct PointLight {
    BaseLight Base;
    vec3 Position;
    Attenuation Atten;
};

struct Material {
    vec4 ambient;
    vec4 texture_diffuse1;   // diffuse colour
    vec4 texture_specular1;  // specular colour
    float shininess;
};

const int MAX_POINT_LIGHTS = 2;

uniform DirectionalLight directionalLight;
uniform int numPointLights;
uniform PointLight pointLights[MAX_POINT_LIGHTS];
uniform vec3 eyeWorldPos;
uniform float matSpecularIntensity;
uniform float specularPower;
uniform Material material;
uniform sampler2D texture_diffuse1;
#ifdef QUALITY_HIGH
// The mesh's specular texture: on this scene's surfaces a relief map (R height,
// G the share of the specular colour a texel reflects, B the relief's depth).
uniform sampler2D texture_specular1;
// 1 while the mesh drawn binds a specular texture; otherwise its sampler names a
// unit that holds none.
uniform int specularMapped;
#endif
uniform sampler2DShadow shadowMap;
uniform samplerCubeShadow cubemap;
uniform vec2 mapSize;
uniform vec2 nearFar;
// The baked light (see the light volume's file): world position to volume
// coordinates, and the scales of its shares: the sky's at sunset, the fire's
// flicker.
uniform sampler3D lightAmbient;
uniform sampler3D lightLocal;
uniform vec3 lightBoxLow;
uniform vec3 lightBoxSize;
uniform float bakedSkyScale;
uniform float bakedFireScale;

in vec3 worldPos;
in vec3 worldNormal;
in vec2 uv;
in vec4 sunClipPos;

out vec4 fragColor;

// Materials that glow (flames, fairy lights, wax) carry an ambient colour above
// the 0.2 of their diffuse colour that ordinary ones have; that excess, lit by
// this share of both lights' ambient intensities, is their own light.
const float AMBIENT_SHARE = 0.12;
const float ORDINARY_AMBIENT = 0.2;
// How far the baked light is read in front of the surface, in world units: about
// half a cell, so that a wall reads the air in front of it, not its inside.
const float LIGHT_PUSH = 2.5;
// Bias of the cube shadow compare, in world units along the light ray.
const float POINT_SHADOW_BIAS = 1.5;
// The highest mip level of material textures (their GL_TEXTURE_MAX_LEVEL): a
// texture larger than 2048 texels has levels beyond it, which texelFetch may not read.
const int MAX_TEXTURE_LEVEL = 11;
// The world units a relief map's depth byte of 255 stands for (the asset
// generator's RELIEF_DEPTH_RANGE).
const float RELIEF_DEPTH_RANGE = 2.0;
// The reflectance of a clean dielectric (varnish, glaze, glass) seen head-on. A
// specular colour below it marks a partly dull surface, whose rise to a mirror at
// grazing angles shrinks with it.
const float DIELECTRIC_REFLECTANCE = 0.04;

// The diffuse texture is filtered one of two ways, chosen at start-up by whether
// DIFFUSE_THROUGH_SAMPLER is defined (see diffuseTexel below). On a software
// rasteriser it is filtered here, trilinearly at an isotropic level of detail,
// from texel fetches. The texture itself asks for 16x anisotropic filtering, which
// a software rasteriser pays for with up to sixteen trilinear lookups a sample;
// and its sampler, fed the coordinates of surfaces seen edge-on, has taken
// seconds for a few pixels. Fetching the eight texels directly costs about a
// third less of the whole frame than a sampler lookup.
float mipLevel(sampler2D s)
{
    vec2 texels = uv * vec2(textureSize(s, 0));
    vec2 dx = dFdx(texels);
    vec2 dy = dFdy(texels);
    float lod = 0.5 * log2(max(dot(dx, dx), dot(dy, dy)));
    // Helper pixels beyond a thin triangle's edge can carry infinite coordinates;
    // level 0 is what magnification uses anyway.
    return isnan(lod) || isinf(lod) ? 0.0 : clamp(lod, 0.0, 12.0);
}

// The size of one mip level, from level 0's, as GL defines it. textureSize() is
// not asked for a level that differs from pixel to pixel: llvmpipe answers a
// whole group of pixels with the size of one pixel's level, and the texel indices
// of the others then fall outside their own level, where texelFetch gives black.
ivec2 levelSize(ivec2 baseSize, int level)
{
    return max(baseSize >> level, ivec2(1));
}

// Bilinear filtering of one mip level of `size` texels, wrapping as the texture's
// repeat mode does. The first texel's index lies in -1 .. size - 1, so the wrap is
// one conditional step each way: a software rasteriser has no vector integer
// division, and a modulo here cost a sixth of the frame.
// `f` is the position between the four texels c00 .. c11 (first index along x).
void bilinearTexels(sampler2D s, vec2 coord, ivec2 size, int level,
                    out vec3 c00, out vec3 c10, out vec3 c01, out vec3 c11, out vec2 f)
{
    vec2 t = fract(coord) * vec2(size) - 0.5;
    f = fract(t);
    ivec2 i0 = ivec2(floor(t));
    ivec2 a0 = i0 + size * ivec2(lessThan(i0, ivec2(0)));
    ivec2 a1 = i0 + 1 - size * ivec2(greaterThanEqual(i0 + 1, size));
    c00 = texelFetch(s, a0, level).rgb;
    c10 = texelFetch(s, ivec2(a1.x, a0.y), level).rgb;
    c01 = texelFetch(s, ivec2(a0.x, a1.y), level).rgb;
    c11 = texelFetch(s, a1, level).rgb;
}

vec3 bilinearAtLevel(sampler2D s, vec2 coord, ivec2 size, int level)
{
    vec3 c00, c10, c01, c11;
    vec2 f;
    bilinearTexels(s, coord, size, level, c00, c10, c01, c11, f);
    return mix(mix(c00, c10, f.x), mix(c01, c11, f.x), f.y);
}

// The highest level a texture of `size` texels has that texelFetch may read.
int lastLevel(ivec2 size)
{
    return min(int(log2(float(max(size.x, size.y)))), MAX_TEXTURE_LEVEL);
}

// The two levels around `lod`, blended. A texture that never got an image (its
// file failed to load) has no levels and samples as black.
vec3 trilinear(sampler2D s, vec2 coord, float lod)
{
    ivec2 size = textureSize(s, 0);
    if (size.x <= 0 || size.y <= 0)
        return vec3(0.0);
    int last = lastLevel(size);
    int level = min(int(lod), last);
    float blend = lod - float(level);
    vec3 fine = bilinearAtLevel(s, coord, levelSize(size, level), level);
    if (blend <= 0.0 || level >= last)
        return fine;
    return mix(fine, bilinearAtLevel(s, coord, levelSize(size, level + 1), level + 1), blend);
}

#ifdef DIFFUSE_THROUGH_SAMPLER
// Hardware: the texture's own trilinear, anisotropic filter.
vec3 diffuseTexel()
{
    return texture(texture_diffuse1, uv).rgb;
}
#else
// Software: the filter above, at the level the coordinates' footprint asks for.
vec3 diffuseTexel()
{
    return trilinear(texture_diffuse1, uv, mipLevel(texture_diffuse1));
}
#endif

#ifdef QUALITY_HIGH
// One level of the relief map, bilinearly: x, y the height's slope along u and v
// (height 0..1 per unit of texture coordinate, the bilinear patch's own
// derivative, so no further lookups), z the gloss, w the depth.
vec4 reliefAtLevel(vec2 coord, ivec2 size, int level)
{
    vec3 c00, c10, c01, c11;
    vec2 f;
    bilinearTexels(texture_specular1, coord, size, level, c00, c10, c01, c11, f);
    vec2 slope = vec2(mix(c10.r - c00.r, c11.r - c01.r, f.y), mix(c01.r - c00.r, c11.r - c10.r, f.x));
    vec2 glossDepth = mix(mix(c00.gb, c10.gb, f.x), mix(c01.gb, c11.gb, f.x), f.y);
    return vec4(slope * vec2(size), glossDepth);
}

// The relief map between the two levels around `lod`, as the diffuse filter
// blends them: a coarser level's gentler slope fades the relief with distance
// instead of letting it shimmer.
vec4 reliefTexel(float lod)
{
    ivec2 size = textureSize(texture_specular1, 0);
    if (size.x <= 0 || size.y <= 0)
        return vec4(0.0, 0.0, 1.0, 0.0);
    int last = lastLevel(size);
    int level = min(int(lod), last);
    float blend = lod - float(level);
    vec4 fine = reliefAtLevel(uv, levelSize(size, level), level);
    if (blend <= 0.0 || level >= last)
        return fine;
    return mix(fine, reliefAtLevel(uv, levelSize(size, level + 1), level + 1), blend);
}

// The normal tilted by a height field given as its slope along u and v (world
// units per unit of texture coordinate). The vertex record carries no tangents:
// the frame comes from the screen-space derivatives of the position and the
// coordinates, through the surface gradient of the height. Every term scales
// with the pixel's footprint squared, so none needs normalising before the end.
vec3 reliefNormal(vec3 normal, vec2 slope, vec3 dpdx, vec3 dpdy, vec2 duvdx, vec2 duvdy)
{
    // The height's change from one pixel to the next.
    float dhdx = dot(slope, duvdx);
    float dhdy = dot(slope, duvdy);
    vec3 r1 = cross(dpdy, normal);
    vec3 r2 = cross(normal, dpdx);
    float det = dot(dpdx, r1);
    vec3 gradient = sign(det) * (dhdx * r1 + dhdy * r2);
    // No more than a tilt of about 60 degrees: near edge-on the footprint
    // vanishes while the height's steps do not.
    float limit = 1.7 * abs(det);
    float size = length(gradient);
    if (size > limit)
        gradient *= limit / size;
    vec3 tilted = abs(det) * normal - gradient;
    float length2 = dot(tilted, tilted);
    // Degenerate triangles, and helper pixels past a thin triangle's edge whose
    // derivatives are infinite or NaN, keep the plain normal.
    if (!(length2 > 1e-24) || isinf(length2))
        return normal;
    return tilted * inversesqrt(length2);
}

// Tilts `normal` by the mesh's relief map and gives the map's gloss; a mesh
// without one keeps both. Called in uniform control flow: derivatives are taken.
void applyRelief(inout vec3 normal, inout float gloss)
{
    vec3 dpdx = dFdx(worldPos);
    vec3 dpdy = dFdy(worldPos);
    vec2 duvdx = dFdx(uv);
    vec2 duvdy = dFdy(uv);
    float lod = mipLevel(texture_specular1);
    if (specularMapped == 0)
        return;
    vec4 relief = reliefTexel(lod);
    vec2 slope = relief.xy * (relief.w * RELIEF_DEPTH_RANGE);
    normal = reliefNormal(normal, slope, dpdx, dpdy, duvdx, duvdy);
    gloss = relief.z;
}
#endif

vec3 toLinear(vec3 c) { return c * c; }
vec3 toDisplay(vec3 c) { return sqrt(c); }

// Sun visibility: percentage-closer filtering with two compares half a texel
// (mapSize gives the texel size) to either side along the diagonal; the depth
// texture's linear filter turns each into a bilinear blend of four texels, so
// together they cover a 3 x 3 texel tent. The light's clip space is mapped from
// -1..1 to 0..1 here; the bias grows at grazing angles, where one texel spans
// more depth.
float sunVisibility(vec3 normal, vec3 toLight)
{
    vec3 ndc = sunClipPos.xyz / sunClipPos.w;
    vec3 coord = ndc * 0.5 + 0.5;
    if (coord.z > 1.0)
        return 1.0;
    float slope = 1.0 - max(dot(normal, toLight), 0.0);
    coord.z -= 0.0004 + 0.0012 * slope;
    vec2 halfTexel = 0.5 / mapSize;
    // Called under a branch that differs between neighbouring pixels, so the
    // lookups name their level: the map has level 0 only.
    float lit = textureLod(shadowMap, vec3(coord.xy - halfTexel, coord.z), 0.0);
    lit += textureLod(shadowMap, vec3(coord.xy + halfTexel, coord.z), 0.0);
    return lit * 0.5;
}

#ifdef QUALITY_HIGH
// The fire's shadow is drawn per pixel on the high tier only; the low tier takes
// it from the bake.
//
// Fire visibility. The cube map holds the plain hardware depth of each face's
// perspective projection (near nearFar.x, far nearFar.y / 2, the fire camera's
// far distance); a face's view depth is the largest component of the vector
// from the light, so the reference depth is that same projection of it.
// Geometry beyond the cube's reach keeps the cleared depth 1.0 and counts as lit.
// A point within the bias of the light is held at the near plane, where the
// projection is still finite.
float cubeDepth(vec3 fromLight)
{
    vec3 a = abs(fromLight);
    float n = nearFar.x;
    float viewDepth = max(max(a.x, max(a.y, a.z)) - POINT_SHADOW_BIAS, n);
    float f = nearFar.y * 0.5;
    float ndc = (f + n) / (f - n) - 2.0 * f * n / ((f - n) * viewDepth);
    return ndc * 0.5 + 0.5;
}

// One cube compare at level 0 with zero gradients: it runs under a branch that
// differs between neighbouring pixels, and GLSL 3.30 has no textureLod for a
// cube shadow sampler. The linear filter blends the four nearest texels.
float cubeCompare(vec3 direction, float reference)
{
    return textureGrad(cubemap, vec4(direction, reference), vec3(0.0), vec3(0.0));
}

// The fire is a broad source: its shadow edges soften with the distance from
// it. Eight compares on a fixed disc (two rings, the outer turned by half a
// step) across the light ray, all against the receiver's own depth.
const int FIRE_TAPS = 8;
const vec2 FIRE_DISC[FIRE_TAPS] = vec2[](
    vec2(0.5, 0.0), vec2(0.0, 0.5), vec2(-0.5, 0.0), vec2(0.0, -0.5),
    vec2(0.7071, 0.7071), vec2(-0.7071, 0.7071), vec2(-0.7071, -0.7071), vec2(0.7071, -0.7071));
// The disc's radius in world units: FIRE_SOFT_BASE at the light, growing by
// FIRE_SOFT_GROWTH for each unit of distance from it.
const float FIRE_SOFT_BASE = 0.3;
const float FIRE_SOFT_GROWTH = 0.015;

float fireVisibility(vec3 fromLight)
{
    float reference = cubeDepth(fromLight);
    float dist = length(fromLight);
    vec3 ray = fromLight / dist;
    // Any axis not along the ray gives the disc its plane.
    vec3 helper = abs(ray.y) < 0.9 ? vec3(0.0, 1.0, 0.0) : vec3(1.0, 0.0, 0.0);
    vec3 across = normalize(cross(ray, helper));
    vec3 along = cross(ray, across);
    float radius = FIRE_SOFT_BASE + FIRE_SOFT_GROWTH * dist;
    float lit = 0.0;
    for (int i = 0; i < FIRE_TAPS; ++i) {
        vec2 tap = FIRE_DISC[i] * radius;
        lit += cubeCompare(fromLight + across * tap.x + along * tap.y, reference);
    }
    return lit / float(FIRE_TAPS);
}
#endif

// The baked light a surface takes: the sky and the sun's bounce (dimmed at
// sunset), the candles and fairy lights, and the fire's bounce (flickering).
// `fireDirect` is the fire's own light at the point, shadowed by the bake.
vec3 bakedLight(vec3 normal, vec3 fireColour, out float fireDirect)
{
    vec3 cell = (worldPos + normal * LIGHT_PUSH - lightBoxLow) / lightBoxSize;
    vec4 ambientShare = textureLod(lightAmbient, cell, 0.0);
    vec4 localShare = textureLod(lightLocal, cell, 0.0);
    fireDirect = localShare.a * bakedFireScale;
    return ambientShare.rgb * bakedSkyScale + localShare.rgb + fireColour * ambientShare.a * bakedFireScale;
}

// The Blinn-Phong exponent of the material.
float specularExponent()
{
    return max(material.shininess * specularPower, 1.0);
}

// Schlick's approximation of the share reflected, from the head-on reflectance
// (the specular colour) and the cosine between the view and the facet. Its rise
// to white at grazing angles is damped on broad lobes, whose blur hides it, and
// on surfaces duller than a clean dielectric.
vec3 fresnel(vec3 headOn, float cosine, float power)
{
    // The fifth power by products: cheaper than pow() on a software rasteriser.
    float away = 1.0 - clamp(cosine, 0.0, 1.0);
    float away2 = away * away;
    float grazing = away2 * away2 * away;
    float clean = min(max(headOn.r, max(headOn.g, headOn.b)) / DIELECTRIC_REFLECTANCE, 1.0);
    float sharp = power / (power + 64.0);
    return headOn + (vec3(1.0) - headOn) * (grazing * clean * sharp);
}

// Blinn-Phong normalised by (n + 8) / 8, so that a tight highlight is as bright
// as its small size demands rather than as dim as a broad one (the usual 1 / pi
// is left out, as the diffuse term leaves it out), times Fresnel and the cosine.
vec3 specularTerm(vec3 normal, vec3 toLight, vec3 toEye, vec3 radiance, vec3 specularColour)
{
    vec3 halfway = normalize(toLight + toEye);
    float power = specularExponent();
    float highlight = pow(max(dot(normal, halfway), 0.0), power) * (power + 8.0) * 0.125;
    float cosine = max(dot(normal, toLight), 0.0);
    vec3 reflected = fresnel(specularColour, dot(halfway, toEye), power);
    return radiance * reflected * (highlight * cosine * matSpecularIntensity);
}

// What a glossy surface mirrors of the room around it, taken as the light that
// arrives from everywhere: at grazing angles glass and glaze show a bright rim,
// and metal carries its colour where no highlight falls.
vec3 roomReflection(vec3 normal, vec3 toEye, vec3 specularColour, vec3 surroundings)
{
    return surroundings * fresnel(specularColour, dot(normal, toEye), specularExponent());
}

void main()
{
    vec3 normal = normalize(worldNormal);
    vec3 toEye = normalize(eyeWorldPos - worldPos);
    // Two-sided surfaces (curtains, leaves): light the side that faces the eye.
    if (dot(normal, toEye) < 0.0)
        normal = -normal;
    // The low tier keeps to one texture lookup a pixel (a second costs a software
    // rasteriser a fifth of the pass): its relief is the cavity shading baked into
    // the colour textures, and every texel takes the material's full gloss.
    float gloss = 1.0;
#ifdef QUALITY_HIGH
    applyRelief(normal, gloss);
#endif

    vec3 texel = toLinear(diffuseTexel());
    vec3 albedo = toLinear(material.texture_diffuse1.rgb) * texel;
    vec3 specularColour = toLinear(material.texture_specular1.rgb) * gloss;

    vec3 ambientLight = directionalLight.Base.Color * directionalLight.Base.AmbientIntensity;
    float bakedFire;
    vec3 baked = bakedLight(normal, toLinear(pointLights[0].Base.Color), bakedFire);
    vec3 diffuseLight = baked;
    vec3 specularLight = vec3(0.0);

    // Sun: its travel direction turned by the sunset rotation, as the shadow pass turns it.
    vec3 sunTravel = normalize((directionalLight.Rotation * vec4(directionalLight.Direction, 1.0)).xyz);
    vec3 toSun = -sunTravel;
    float sunCos = dot(normal, toSun);
    if (sunCos > 0.0) {
        vec3 radiance = directionalLight.Base.Color * directionalLight.Base.DiffuseIntensity * sunVisibility(normal, toSun);
        diffuseLight += radiance * sunCos;
        specularLight += specularTerm(normal, toSun, toEye, radiance, specularColour);
    }

#ifdef QUALITY_HIGH
    // The fire per pixel, with its cube shadow; the bake adds only its bounce.
    for (int i = 0; i < numPointLights && i < MAX_POINT_LIGHTS; ++i) {
        PointLight light = pointLights[i];
        vec3 fromLight = worldPos - light.Position;
        float dist = length(fromLight);
        vec3 toLight = -fromLight / dist;
        float falloff = light.Atten.Constant + light.Atten.Linear * dist + light.Atten.Exp * dist * dist;
        vec3 colour = toLinear(light.Base.Color);
        ambientLight += colour * light.Base.AmbientIntensity;
        float cosine = dot(normal, toLight);
        if (cosine > 0.0 && falloff > 0.0) {
            vec3 radiance = colour * light.Base.DiffuseIntensity / falloff * fireVisibility(fromLight);
            diffuseLight += radiance * cosine;
            specularLight += specularTerm(normal, toLight, toEye, radiance, specularColour);
        }
    }
#else
    // The fire's direct light from the bake, already shadowed: only the cosine
    // is the surface's own.
    {
        PointLight light = pointLights[0];
        vec3 toLight = normalize(light.Position - worldPos);
        vec3 colour = toLinear(light.Base.Color);
        ambientLight += colour * light.Base.AmbientIntensity;
        float cosine = dot(normal, toLight);
        if (cosine > 0.0) {
            vec3 radiance = colour * bakedFire;
            diffuseLight += radiance * cosine;
            specularLight += specularTerm(normal, toLight, toEye, radiance, specularColour);
        }
    }
#endif

    vec3 glow = max(material.ambient.rgb - ORDINARY_AMBIENT * material.texture_diffuse1.rgb, 0.0);
    vec3 emitted = texel * glow * ambientLight * AMBIENT_SHARE;
    specularLight += roomReflection(normal, toEye, specularColour, baked);
    vec3 colour = emitted + albedo * diffuseLight + specularLight;

    // Filmic curve: keeps the fire's hot spots from clipping while leaving mid-tones alone.
    vec3 mapped = colour * (2.51 * colour + 0.03) / (colour * (2.43 * colour + 0.59) + 0.14);
    fragColor = vec4(toDisplay(clamp(mapped, 0.0, 1.0)), 1.0);
}
