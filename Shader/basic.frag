// Main pass, fragment stage: material colours times textures, lit by the sun and
// the fire, each with filtered shadows, then tone-mapped to the display.
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
uniform sampler2DShadow shadowMap;
uniform samplerCubeShadow cubemap;
uniform vec2 mapSize;
uniform vec2 nearFar;

in vec3 worldPos;
in vec3 worldNormal;
in vec2 uv;
in vec4 sunClipPos;

out vec4 fragColor;

// The ambient intensities of both lights are large (2.0); this share of them
// keeps the corners of the room readable without washing out the fire's glow.
const float AMBIENT_SHARE = 0.12;
// Bias of the cube shadow compare, in world units along the light ray.
const float POINT_SHADOW_BIAS = 1.5;
// The highest mip level of material textures (their GL_TEXTURE_MAX_LEVEL): a
// texture larger than 2048 texels has levels beyond it, which texelFetch may not read.
const int MAX_TEXTURE_LEVEL = 11;

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
vec3 bilinearAtLevel(sampler2D s, vec2 coord, ivec2 size, int level)
{
    vec2 t = fract(coord) * vec2(size) - 0.5;
    vec2 f = fract(t);
    ivec2 i0 = ivec2(floor(t));
    ivec2 a0 = i0 + size * ivec2(lessThan(i0, ivec2(0)));
    ivec2 a1 = i0 + 1 - size * ivec2(greaterThanEqual(i0 + 1, size));
    vec3 c00 = texelFetch(s, a0, level).rgb;
    vec3 c10 = texelFetch(s, ivec2(a1.x, a0.y), level).rgb;
    vec3 c01 = texelFetch(s, ivec2(a0.x, a1.y), level).rgb;
    vec3 c11 = texelFetch(s, a1, level).rgb;
    return mix(mix(c00, c10, f.x), mix(c01, c11, f.x), f.y);
}

// The two levels around `lod`, blended. A texture that never got an image (its
// file failed to load) has no levels and samples as black.
vec3 trilinear(sampler2D s, vec2 coord, float lod)
{
    ivec2 size = textureSize(s, 0);
    if (size.x <= 0 || size.y <= 0)
        return vec3(0.0);
    int lastLevel = min(int(log2(float(max(size.x, size.y)))), MAX_TEXTURE_LEVEL);
    int level = min(int(lod), lastLevel);
    float blend = lod - float(level);
    vec3 fine = bilinearAtLevel(s, coord, levelSize(size, level), level);
    if (blend <= 0.0 || level >= lastLevel)
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

#ifdef QUALITY_HIGH
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
#else
float fireVisibility(vec3 fromLight)
{
    return cubeCompare(fromLight, cubeDepth(fromLight));
}
#endif

vec3 specularTerm(vec3 normal, vec3 toLight, vec3 toEye, vec3 radiance, vec3 specularColour)
{
    vec3 halfway = normalize(toLight + toEye);
    float power = max(material.shininess * specularPower, 1.0);
    float highlight = pow(max(dot(normal, halfway), 0.0), power);
    return radiance * specularColour * highlight * matSpecularIntensity;
}

void main()
{
    vec3 normal = normalize(worldNormal);
    vec3 toEye = normalize(eyeWorldPos - worldPos);
    // Two-sided surfaces (curtains, leaves): light the side that faces the eye.
    if (dot(normal, toEye) < 0.0)
        normal = -normal;

    vec3 texel = toLinear(diffuseTexel());
    vec3 albedo = toLinear(material.texture_diffuse1.rgb) * texel;
    // The highlight takes the material's specular colour alone: the scene's
    // materials carry no specular maps, and a second texture lookup per pixel
    // costs a software rasteriser a fifth of the pass.
    vec3 specularColour = toLinear(material.texture_specular1.rgb) * 0.25;

    vec3 ambientLight = directionalLight.Base.Color * directionalLight.Base.AmbientIntensity;
    vec3 diffuseLight = vec3(0.0);
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

    // The material's ambient colour arrives already scaled by 0.2; it stays a linear factor.
    vec3 ambient = texel * material.ambient.rgb * ambientLight * AMBIENT_SHARE;
    vec3 colour = ambient + albedo * diffuseLight + specularLight;

    // Filmic curve: keeps the fire's hot spots from clipping while leaving mid-tones alone.
    vec3 mapped = colour * (2.51 * colour + 0.03) / (colour * (2.43 * colour + 0.59) + 0.14);
    fragColor = vec4(toDisplay(clamp(mapped, 0.0, 1.0)), 1.0);
}
