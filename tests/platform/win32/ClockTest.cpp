#include "platform/win32/Clock.h"

#include <gtest/gtest.h>

using namespace Win32;

TEST(Clock, AManualClockMovesOnlyWhenToldAndRestoresTheSteadyOne) {
    TManualClock manual(0xFFFFFFF0u);
    {
        const TScopedClock scoped(manual);
        EXPECT_EQ(timeGetTime(), 0xFFFFFFF0u);
        Sleep(20); // wraps like the Windows counter
        EXPECT_EQ(timeGetTime(), 4u);
        manual.Advance(6);
        EXPECT_EQ(GetTickCount(), 10u);
    }
    EXPECT_EQ(&SystemClock() == &manual, false);
    const uint32_t before = timeGetTime();
    Sleep(2);
    EXPECT_GE(timeGetTime() - before, 2u);
}
