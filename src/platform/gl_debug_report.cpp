// The debug callback: synchronous, so that each line comes while the call that
// caused it is still on the stack (and in order with the program's own lines).
#include "platform/gl_debug_report.h"

#include "platform/report_line.h"

#include <GL/glew.h>

#include <algorithm>
#include <string>

const char* const GL_DEBUG_UNAVAILABLE = "--gl-debug: this OpenGL has no debug output (KHR_debug)";

namespace {

long reported = 0;

const char* severityName(GLenum severity)
{
    return severity == GL_DEBUG_SEVERITY_HIGH ? "high" : "medium";
}

void GLAPIENTRY onDebugMessage(GLenum, GLenum, GLuint, GLenum severity, GLsizei length, const GLchar* message,
                               const void*)
{
    if (severity != GL_DEBUG_SEVERITY_HIGH && severity != GL_DEBUG_SEVERITY_MEDIUM)
        return;
    std::string text = length >= 0 ? std::string(message, static_cast<std::size_t>(length)) : std::string(message);
    // One line, however the driver breaks its text.
    std::replace(text.begin(), text.end(), '\n', ' ');
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    reportLine("GL debug: %s: %s", severityName(severity), text.c_str());
    ++reported;
}

} // namespace

bool startGlDebugReport()
{
    if (!GLEW_KHR_debug && !GLEW_VERSION_4_3)
        return false;
    glEnable(GL_DEBUG_OUTPUT);
    glEnable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
    glDebugMessageCallback(onDebugMessage, nullptr);
    return true;
}

long glDebugMessagesReported()
{
    return reported;
}
