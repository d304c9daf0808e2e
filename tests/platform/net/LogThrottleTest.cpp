// The throttle that keeps junk from strangers out of the log.
#include "platform/net/LogThrottle.h"

#include <gtest/gtest.h>

using std::chrono::milliseconds;
using Win32::TLogThrottle;

TEST(LogThrottle, LetsABurstThroughEachIntervalAndCountsTheRest) {
    TLogThrottle throttle(2, milliseconds(1000));
    const TLogThrottle::TClock::time_point start{};
    struct TStep {
        int atMs;
        bool allowed;
        size_t heldBack; // when allowed
    } steps[] = {
        {0, true, 0},    {10, true, 0},   {20, false, 0},   {900, false, 0}, {999, false, 0},
        {1000, true, 3}, {1001, true, 0}, {1002, false, 0}, {5000, true, 1}, {5001, true, 0},
    };
    for (const TStep& step : steps) {
        size_t heldBack = 99;
        EXPECT_EQ(throttle.Allow(start + milliseconds(step.atMs), heldBack), step.allowed)
            << step.atMs;
        if (step.allowed) {
            EXPECT_EQ(heldBack, step.heldBack) << step.atMs;
        }
    }
}
