// The median of measurements: odd and even counts, none at all.
#include "platform/median.h"

#include <gtest/gtest.h>

TEST(Median, OfOddAndEvenCounts)
{
    EXPECT_DOUBLE_EQ(median({5.0, 1.0, 3.0}), 3.0);
    EXPECT_DOUBLE_EQ(median({4.0, 1.0, 3.0, 10.0}), 3.5);
    EXPECT_DOUBLE_EQ(median({7.0}), 7.0);
    EXPECT_DOUBLE_EQ(median({}), 0.0);
}
