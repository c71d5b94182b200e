// The GPU pass timer against the driver: no queries while disabled, one elapsed
// time per timed pass while enabled.
#include "render/pass_timer.h"

#include "support/gl_context.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

GLint currentTimeQuery()
{
    GLint query = 0;
    glGetQueryiv(GL_TIME_ELAPSED, GL_CURRENT_QUERY, &query);
    return query;
}

// Times `pass` alone in a frame and collects that frame.
double timeOfAFrameWith(FramePass pass)
{
    enablePassTiming(true);
    beginPassTiming(pass);
    endPassTiming(pass);
    double times[FRAME_PASS_COUNT] = {};
    EXPECT_TRUE(collectPassTimes(times));
    return times[static_cast<int>(pass)];
}

class PassTimer : public GlTest {
protected:
    void TearDown() override { enablePassTiming(false); }
};

} // namespace

TEST_F(PassTimer, DisabledByDefaultAndThenIssuesNoQuery)
{
    beginPassTiming(FramePass::Main);
    EXPECT_EQ(currentTimeQuery(), 0);
    endPassTiming(FramePass::Main);

    double times[FRAME_PASS_COUNT];
    std::fill(std::begin(times), std::end(times), -1.0);
    EXPECT_FALSE(collectPassTimes(times));
    for (const double time : times)
        EXPECT_EQ(time, -1.0) << "nothing is filled while disabled";
    EXPECT_EQ(takeGlError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(PassTimer, EnabledTimesEachPassWithItsOwnQuery)
{
    enablePassTiming(true);
    beginPassTiming(FramePass::DirectionalShadow);
    const GLint shadowQuery = currentTimeQuery();
    EXPECT_NE(shadowQuery, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    endPassTiming(FramePass::DirectionalShadow);
    EXPECT_EQ(currentTimeQuery(), 0);

    beginPassTiming(FramePass::Sky);
    EXPECT_NE(currentTimeQuery(), 0);
    EXPECT_NE(currentTimeQuery(), shadowQuery);
    glClear(GL_COLOR_BUFFER_BIT);
    endPassTiming(FramePass::Sky);

    double times[FRAME_PASS_COUNT] = {};
    ASSERT_TRUE(collectPassTimes(times));
    EXPECT_TRUE(std::isfinite(times[(int)FramePass::DirectionalShadow]));
    EXPECT_GE(times[(int)FramePass::DirectionalShadow], 0.0);
    EXPECT_TRUE(std::isfinite(times[(int)FramePass::Sky]));
    EXPECT_GE(times[(int)FramePass::Sky], 0.0);
    EXPECT_TRUE(std::isnan(times[(int)FramePass::PointShadow]));
    EXPECT_TRUE(std::isnan(times[(int)FramePass::Main]));
    EXPECT_TRUE(std::isnan(times[(int)FramePass::Particles]));
    EXPECT_EQ(takeGlError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(PassTimer, ResultsBelongToOneFrame)
{
    EXPECT_FALSE(std::isnan(timeOfAFrameWith(FramePass::Main)));

    double times[FRAME_PASS_COUNT] = {};
    ASSERT_TRUE(collectPassTimes(times));
    EXPECT_TRUE(std::isnan(times[(int)FramePass::Main])) << "a pass not run in the next frame has no time";
    EXPECT_EQ(takeGlError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(PassTimer, DisablingMidPassClosesItsQuery)
{
    enablePassTiming(true);
    beginPassTiming(FramePass::Particles);
    enablePassTiming(false);
    EXPECT_EQ(currentTimeQuery(), 0);

    EXPECT_FALSE(std::isnan(timeOfAFrameWith(FramePass::Particles)));
    EXPECT_EQ(takeGlError(), static_cast<GLenum>(GL_NO_ERROR));
}
