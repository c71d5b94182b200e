// One GL_TIME_ELAPSED query per pass, created on first use with a current context.
#include "render/pass_timer.h"

#include "render/gl_label.h"

#include <GL/glew.h>

#include <limits>

namespace {

constexpr int PASS_COUNT = static_cast<int>(FramePass::Count);
constexpr const char* PASS_LABELS[PASS_COUNT] = {
    "pass timer: directional shadow", "pass timer: point shadow", "pass timer: main",
    "pass timer: sky", "pass timer: particles"};

bool timingEnabled = false;
GLuint queries[PASS_COUNT] = {};
bool running[PASS_COUNT] = {};
bool measured[PASS_COUNT] = {};

void createQueries()
{
    // Created rather than only named, so that they exist for their labels at once.
    if (GLEW_ARB_direct_state_access)
        glCreateQueries(GL_TIME_ELAPSED, PASS_COUNT, queries);
    else
        glGenQueries(PASS_COUNT, queries);
    for (int pass = 0; pass < PASS_COUNT; ++pass)
        labelObject(GL_QUERY, queries[pass], PASS_LABELS[pass]);
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
    for (int pass = 0; pass < PASS_COUNT; ++pass) {
        if (running[pass])
            glEndQuery(GL_TIME_ELAPSED);
        running[pass] = measured[pass] = false;
    }
    timingEnabled = enabled;
}

bool collectPassTimes(double milliseconds[(int)FramePass::Count])
{
    if (!timingEnabled)
        return false;
    for (int pass = 0; pass < PASS_COUNT; ++pass) {
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
