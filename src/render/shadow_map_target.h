// The two depth-only render targets of the shadow system: a 2D map for the
// directional light and a layered cube map for the point light.
#pragma once

#include "platform/non_copyable.h"
#include "render/shadow_map_cache.h"

#include <GL/glew.h>

constexpr int SHADOW_MAP_SIZE = 1024;
// The texture units the lit pass samples the sun's map and the fire's cube map from.
constexpr int SHADOW_MAP_UNIT = 50;
constexpr int SHADOW_CUBE_UNIT = 70;

class ShadowMapTarget : NonCopyable {
public:
    ~ShadowMapTarget();

    // Each returns whether its framebuffer is complete. On success the default
    // framebuffer is bound again; on failure the incomplete one stays bound.
    bool initDirectional();
    bool initPoint();

    GLuint directionalFbo = 0;
    GLuint directionalDepth = 0;
    GLuint pointDepthCube = 0;
    GLuint pointFbo = 0;

    // What each map holds, so that an unchanged one is not drawn again.
    ShadowMapCache directionalCache;
    ShadowMapCache pointCache;
};
