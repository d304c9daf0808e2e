// The tooltip box goes 40 pixels below the mouse, moves left at the right edge and
// above the mouse at the bottom edge, and is as wide as the text's widest line.
#include "tests/ui/widgets/GameWidgetFixture.h"
#include "ui/widgets/VRNTooltip.h"

namespace {

using namespace Main;

struct TTooltipCase {
    const char* Name;
    const char* Text;
    Win32::POINT Mouse;
};

const TTooltipCase TooltipCases[] = {
    {"in the open", "Ends the turn", {100, 100}},
    {"at the right edge", "Ends the turn", {790, 100}},
    {"two lines at the right edge", "Gold\nSpent on troops and inns", {760, 200}},
    {"at the bottom edge", "Ends the turn", {300, 590}},
    {"in the bottom right corner", "Gold\nSpent on troops and inns", {799, 599}},
    {"at the left edge", "Ends the turn", {0, 100}},
};

using GameTooltip = GameWidgetTest;

TEST_F(GameTooltip, StaysOnTheDisplayAsWideAsItsWidestLine) {
    const Gfx::TFont& font = UseFont(0);
    for (const TTooltipCase& c : TooltipCases) {
        SCOPED_TRACE(c.Name);
        TVRNTooltip tooltip;
        tooltip.SetText(c.Text);
        tooltip.SetVisible(true);
        tooltip.SetPosition(c.Mouse.x, c.Mouse.y);
        const int width = font.MaxLineWidth(c.Text);
        const int height = font.TextHeight(c.Text);

        int x = c.Mouse.x;
        if (x + width + 2 > 799)
            x = 800 - (width + 2) - 1;
        EXPECT_EQ(tooltip.BoxX(), std::max(x, 4));
        const bool above = c.Mouse.y + 40 + height + 2 > 599;
        EXPECT_EQ(tooltip.BoxY(), above ? c.Mouse.y - (height + 2) - 1 : c.Mouse.y + 40);

        const Win32::RECT box = tooltip.BoxRect();
        EXPECT_EQ(box.right - box.left, width + 5);
        EXPECT_EQ(box.bottom - box.top, height + 1);
        EXPECT_GE(box.left, 1);
        EXPECT_LE(box.right, 799);
        EXPECT_LE(box.bottom, 599);
    }
}

TEST_F(GameTooltip, PlacesNothingWhileHidden) {
    UseFont(0);
    TVRNTooltip tooltip;
    tooltip.SetText("Ends the turn");
    tooltip.SetPosition(790, 590);
    EXPECT_EQ(tooltip.BoxX(), 0);
    tooltip.SetVisible(true);
    EXPECT_LT(tooltip.BoxX(), 790);
    EXPECT_LT(tooltip.BoxY(), 590);
}

} // namespace
