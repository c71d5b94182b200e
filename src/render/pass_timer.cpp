// One GL_TIME_ELAPSED query per pass, created on first use with a current context.
#include "render/pass_timer.h"

#include "render/gl_label.h"

#include <GL/glew.h>

#include <limits>
#include <string>

namespace {

bool timingEnabled = false;
GLuint queries[FRAME_PASS_COUNT] = {};
bool running[FRAME_PASS_COUNT] = {};
bool measured[FRAME_PASS_COUNT] = {};

void createQueries()
{
    // Created rather than only named, so that they exist for their labels at once.
    if (GLEW_ARB_direct_state_access)
        glCreateQueries(GL_TIME_ELAPSED, FRAME_PASS_COUNT, queries);
    else
        glGenQueries(FRAME_PASS_COUNT, queries);
    for (int pass = 0; pass < FRAME_PASS_COUNT; ++pass)
        labelObject(GL_QUERY, queries[pass], (std::string("pass timer: ") + FRAME_PASSES[pass].label).c_str());
}

} // namespace

void beginPassTiming(FramePass pass)
{
    if (!timingEnabled)
        return;
    if (queries[0] == 0)
        createQueries();
    const int index = static_cast<int>(pass);
    glBeginQuery(GL_TIME_ELAPSED, queries[index]);
    running[index] = true;
}

void endPassTiming(FramePass pass)
{
    const int index = static_cast<int>(pass);
    if (!timingEnabled || !running[index])
        return;
    glEndQuery(GL_TIME_ELAPSED);
    running[index] = false;
    measured[index] = true;
}

void enablePassTiming(bool enabled)
{
    // A query left open would make every later begin fail.
    for (int pass = 0; pass < FRAME_PASS_COUNT; ++pass) {
        if (running[pass])
            glEndQuery(GL_TIME_ELAPSED);
        running[pass] = measured[pass] = false;
    }
    timingEnabled = enabled;
}

bool collectPassTimes(double milliseconds[FRAME_PASS_COUNT])
{
    if (!timingEnabled)
        return false;
    for (int pass = 0; pass < FRAME_PASS_COUNT; ++pass) {
        milliseconds[pass] = std::numeric_limits<double>::quiet_NaN();
        if (!measured[pass])
            continue;
        GLuint64 nanoseconds = 0;
        glGetQueryObjectui64v(queries[pass], GL_QUERY_RESULT, &nanoseconds);
        milliseconds[pass] = static_cast<double>(nanoseconds) / 1.0e6;
        measured[pass] = false;
    }
    return true;
}
