// The scene's needs against what the context reports.
#include "render/gl_capabilities.h"

#include "render/shadow_map_target.h"

#include <GL/glew.h>

#include <string>
#include <vector>

namespace {

// Units 0 to the cube shadow map's are bound while the lit pass draws.
constexpr int REQUIRED_TEXTURE_UNITS = SHADOW_CUBE_UNIT + 1;

bool atLeast(const GlCapabilities& found, int major, int minor)
{
    return found.major > major || (found.major == major && found.minor >= minor);
}

std::string versionText(const GlCapabilities& found)
{
    return "OpenGL " + std::to_string(found.major) + "." + std::to_string(found.minor);
}

} // namespace

GlCapabilities currentGlCapabilities()
{
    GlCapabilities found;
    glGetIntegerv(GL_MAJOR_VERSION, &found.major);
    glGetIntegerv(GL_MINOR_VERSION, &found.minor);
    found.transformFeedbackInstanced = GLEW_ARB_transform_feedback_instanced;
    glGetIntegerv(GL_MAX_COMBINED_TEXTURE_IMAGE_UNITS, &found.combinedTextureUnits);
    return found;
}

std::string missingGlCapabilities(const GlCapabilities& found)
{
    std::vector<std::string> missing;
    if (!atLeast(found, 4, 2) && !found.transformFeedbackInstanced)
        missing.push_back("glDrawTransformFeedbackInstanced (OpenGL 4.2 or GL_ARB_transform_feedback_instanced; found " +
                          versionText(found) + " without the extension)");
    if (!atLeast(found, 3, 2))
        missing.push_back("the geometry stage (OpenGL 3.2; found " + versionText(found) + ")");
    if (found.combinedTextureUnits < REQUIRED_TEXTURE_UNITS)
        missing.push_back(std::to_string(REQUIRED_TEXTURE_UNITS) + " combined texture units (found " +
                          std::to_string(found.combinedTextureUnits) + ")");
    if (missing.empty())
        return {};
    std::string line = "this OpenGL cannot draw the scene: it lacks ";
    for (std::size_t i = 0; i < missing.size(); ++i)
        line += (i == 0 ? "" : "; ") + missing[i];
    return line;
}
