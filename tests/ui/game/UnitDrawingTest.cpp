// The value bars of the unit panels: how much of the 46 pixels is filled for any
// numbers a unit can have, and how the numbers read.
#include "ui/game/UnitDrawing.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using Main::ValueBarFill;
using Main::ValueBarNumber;

struct TFillCase {
    int32_t Minimum, Value, Maximum, Fill;
};

TEST(ValueBar, FillsItsShareOfTheSpanAndNeverLeavesItsLength) {
    const TFillCase cases[] = {
        {-1, 50, 100, 23},         // hit points: a share of the maximum
        {-1, 100, 100, 46},        // full
        {-1, 150, 100, 46},        // above the maximum: still full
        {-1, -5, 100, 0},          // below nothing
        {-1, 5, 0, 0},             // no maximum
        {-1, 5, -10, 0},           // a negative maximum
        {0, 50, 100, 23},          // from 0 the same as the maximum alone
        {100, 150, 200, 23},       // experience: a share of the span to the next level
        {100, 50, 200, 0},         // below the span
        {200, 250, 200, 0},        // no span
        {300, 250, 200, 0},        // a span the wrong way round
        {0, INT_MAX, 1, 46},       // no overflow at the ends of the range
        {-1, INT_MIN, INT_MAX, 0}, //
        {0, INT_MAX, INT_MAX, 46}, //
        {INT_MAX - 1, INT_MAX, INT_MAX, 46},
    };
    for (const TFillCase& c : cases)
        EXPECT_EQ(ValueBarFill(c.Minimum, c.Value, c.Maximum), c.Fill)
            << c.Minimum << " " << c.Value << " " << c.Maximum;
}

TEST(ValueBar, ThousandsReadAsKWhenTheMaximumReachesAThousand) {
    EXPECT_EQ(ValueBarNumber(1200, 2500), "1K");
    EXPECT_EQ(ValueBarNumber(2500, 2500), "2K");
    EXPECT_EQ(ValueBarNumber(5, 1000), "0K");
    EXPECT_EQ(ValueBarNumber(999, 999), "999");
    EXPECT_EQ(ValueBarNumber(-3, 40), "-3");
}

} // namespace
