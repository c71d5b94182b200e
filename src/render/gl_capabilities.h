// Whether the current OpenGL context can draw the scene at all: the particles'
// draw of what their transform feedback captured, the geometry stage that the
// particles and the fire's cube shadow run through, and a texture unit as high
// as the lit pass binds its cube shadow map on. Asked once the context is
// current and before the scene is built, so that a driver lacking one is
// refused with a line saying what, rather than failing at its first draw.
#pragma once

#include <string>

struct GlCapabilities {
    int major = 0; // the context's version
    int minor = 0;
    bool transformFeedbackInstanced = false; // GL_ARB_transform_feedback_instanced
    int combinedTextureUnits = 0;            // GL_MAX_COMBINED_TEXTURE_IMAGE_UNITS
};

// What the current context offers; needs GLEW initialised on it.
GlCapabilities currentGlCapabilities();

// Empty when `found` can draw the scene; otherwise one line, without the
// program's name, naming each thing missing and what was found instead.
std::string missingGlCapabilities(const GlCapabilities& found);
