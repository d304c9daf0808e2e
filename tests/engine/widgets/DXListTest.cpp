// Tooltip timing, scroll-bar geometry and positions, and list-box selection,
// layout and scrolling.
#include "engine/widgets/DXListBox.h"
#include "engine/widgets/DXTooltip.h"
#include "tests/engine/widgets/WidgetFixture.h"

using namespace DXWin;
using namespace Win32;

namespace {

class TRecordingTooltip : public TDXTooltip {
public:
    void SetVisible(bool visible) override { Shown = visible; }
    bool IsVisible() const override { return Shown; }
    void SetText(const AnsiString& text) override { ShownText = text; }
    void SetPosition(int mouseX, int mouseY) override { Position = {mouseX, mouseY}; }
    void UpdateFrame() override {}
    void Draw(IDirectDrawSurface7*) override {}

    bool Shown = false;
    AnsiString ShownText;
    POINT Position;
};

} // namespace

TEST_F(WidgetTest, TheTooltipShowsAfterItsDelayFollowsTheMouseAndHidesOnAPress) {
    auto tooltip = std::make_unique<TRecordingTooltip>();
    TRecordingTooltip& tip = *tooltip;
    Windows.SetTooltip(std::move(tooltip));
    TDXWindow* window = MakeWindow(0, 0, 300, 300);
    TDXButton* left = MakeButton(window, 0, 0, 50, 50);
    TDXButton* right = MakeButton(window, 50, 0, 50, 50);
    left->SetHint("Left");
    right->SetHint("Right");

    MoveTo(10, 10);
    Windows.Tick(); // the rest starts
    Clock.Advance(500);
    Windows.Tick();
    EXPECT_FALSE(tip.Shown);
    Clock.Advance(1);
    Windows.Tick();
    EXPECT_TRUE(tip.Shown);
    EXPECT_EQ(tip.ShownText, "Left");
    MoveTo(20, 30);
    Windows.Tick();
    EXPECT_EQ(tip.Position, (POINT{20, 30}));
    MoveTo(60, 10); // the neighbour's hint at once
    Windows.Tick();
    EXPECT_EQ(tip.ShownText, "Right");
    EXPECT_TRUE(tip.Shown);

    Mouse(WM_LBUTTONDOWN, 60, 10, MK_LBUTTON);
    EXPECT_FALSE(tip.Shown);
    Windows.Tick();
    EXPECT_FALSE(tip.Shown); // disabled while the button is down
    Mouse(WM_LBUTTONUP, 60, 10);
    Windows.Tick();
    Clock.Advance(501);
    Windows.Tick();
    EXPECT_TRUE(tip.Shown);

    // Over a control without a hint it hides; a control that goes is forgotten.
    MoveTo(200, 200);
    Windows.Tick();
    EXPECT_FALSE(tip.Shown);
    EXPECT_EQ(tip.CurrentControl(), nullptr);
    MoveTo(10, 10);
    Windows.Tick();
    EXPECT_EQ(tip.CurrentControl(), left);
    delete left;
    EXPECT_EQ(tip.CurrentControl(), nullptr);
}

TEST_F(WidgetTest, TheScrollBarThumbMovesAlongTheTrackWithThePosition) {
    TDXWindow* window = MakeWindow(100, 100, 300, 300);
    auto* bar = new TDXScrollBar(window, sbVertical, 16, 20);
    bar->SetBoundsRect({10, 10, 26, 210}); // track 26..194 on the screen's 126..294
    bar->SetRange(0, 10);
    EXPECT_EQ(bar->UpArrowRect(), (RECT{110, 110, 126, 126}));
    EXPECT_EQ(bar->DownArrowRect(), (RECT{110, 294, 126, 310}));
    EXPECT_EQ(bar->ThumbRect(), (RECT{110, 127, 126, 147}));
    bar->SetPositionValue(10);
    EXPECT_EQ(bar->ThumbRect(), (RECT{110, 273, 126, 293}));
    bar->SetPositionValue(5);
    EXPECT_EQ(bar->ThumbRect().top, 127 + 146 * 5 / 10);
    // Dragging the thumb's corner to the track's ends gives the ends of the range.
    EXPECT_EQ(bar->PositionFromPoint(110, 100), 0);
    EXPECT_EQ(bar->PositionFromPoint(110, 400), 10);
}

TEST_F(WidgetTest, ScrollBarPositionsOfEmptyAndReversedRangesAreTheMinimum) {
    TDXWindow* window = MakeWindow(0, 0, 300, 300);
    auto* bar = new TDXScrollBar(window, sbHorizontal, 10, 10);
    bar->SetBoundsRect({0, 0, 200, 10});
    const struct { int minimum, maximum; } ranges[] = {{5, 5}, {5, 4}, {3, -100}};
    for (const auto& r : ranges) {
        bar->SetRange(r.minimum, r.maximum);
        for (int x : {-50, 0, 100, 199, 400})
            EXPECT_EQ(bar->PositionFromPoint(x, 0), r.minimum) << r.maximum << " " << x;
    }
}

TEST_F(WidgetTest, ArrowsAndTheWheelStepTheScrollBarWithinItsRange) {
    TDXWindow* window = MakeWindow(0, 0, 300, 300);
    auto* bar = new TDXScrollBar(window, sbVertical, 10, 10);
    bar->SetBoundsRect({0, 0, 10, 100});
    bar->SetRange(0, 2);
    std::vector<int> changes;
    bar->OnChange = [&](TDXControl*) { changes.push_back(bar->Position()); };
    ClickAt(5, 95); // down arrow
    ClickAt(5, 95);
    ClickAt(5, 95); // already at the end: no change
    ClickAt(5, 5);  // up arrow
    ClickAt(5, 50); // bare track or thumb: no step
    MoveTo(5, 50);
    Wheel(120);
    Wheel(120);
    Wheel(-120);
    EXPECT_EQ(changes, (std::vector<int>{1, 2, 1, 0, 1}));
    EXPECT_EQ(bar->Position(), 1);
}

TEST_F(WidgetTest, AListBoxKeepsItsSelectionAndTopRowInRangeAndPlacesItsBar) {
    TDXWindow* window = MakeWindow(0, 0, 300, 300);
    auto* bar = new TDXScrollBar(window, sbVertical, 10, 10);
    bar->SetSize(12, 0);
    auto* list = new TDXListBox(window, 100, 10, bar);
    list->SetPosition(20, 30);
    EXPECT_EQ(list->Selection(), -1); // empty
    EXPECT_FALSE(bar->Visible());

    const struct {
        int items, rows, top, selection;
        int wantTop, wantSelection;
        bool barShown;
    } cases[] = {
        {5, 5, 3, 7, 0, 4, false},
        {8, 5, 6, 2, 3, 2, true},
        {8, 5, 1, -4, 1, 0, true},
        {0, 5, 0, 0, 0, -1, false},
    };
    for (const auto& c : cases) {
        list->SetItemCount(c.items);
        list->SetVisibleRows(c.rows);
        list->SetTopRow(c.top);
        list->SetSelection(c.selection);
        list->UpdateLayout();
        EXPECT_EQ(list->TopRow(), c.wantTop) << c.items << " " << c.top;
        EXPECT_EQ(list->Selection(), c.wantSelection) << c.items << " " << c.selection;
        EXPECT_EQ(bar->Visible(), c.barShown) << c.items;
        EXPECT_EQ(list->Height(), 10 * c.rows);
        if (c.barShown) {
            EXPECT_EQ(bar->X(), 20 + 100 + 1);
            EXPECT_EQ(bar->Y(), 30);
            EXPECT_EQ(bar->Height(), list->Height());
            EXPECT_EQ(bar->Maximum(), c.items - c.rows);
            EXPECT_EQ(bar->Position(), c.wantTop);
        }
    }
    list->Hide();
    EXPECT_FALSE(bar->Visible());
    list->Show();
    list->Disable();
    EXPECT_FALSE(bar->Enabled());
}

TEST_F(WidgetTest, AListBoxSelectsByClickScrollsByWheelAndDrawsItsVisibleRows) {
    TDXWindow* window = MakeWindow(0, 0, 300, 300);
    auto* bar = new TDXScrollBar(window, sbVertical, 10, 10);
    bar->SetSize(12, 0);
    auto* list = new TDXListBox(window, 100, 10, bar);
    list->SetItemCount(10);
    list->SetVisibleRows(4);
    list->UpdateLayout();
    ClickAt(5, 25);
    EXPECT_EQ(list->Selection(), 2);
    MoveTo(5, 5);
    Wheel(-240);
    EXPECT_EQ(list->TopRow(), 2);
    Wheel(-120 * 20); // clamped at the end
    EXPECT_EQ(list->TopRow(), 6);
    ClickAt(5, 15);
    EXPECT_EQ(list->Selection(), 7);
    Wheel(120);
    EXPECT_EQ(list->TopRow(), 5);

    std::vector<int> drawn;
    int selectedRow = -1;
    list->OnDrawItem = [&](IDirectDrawSurface7*, const RECT& rect, bool, bool selected, int index) {
        drawn.push_back(index);
        if (selected)
            selectedRow = rect.top / 10;
    };
    list->Paint(nullptr);
    EXPECT_EQ(drawn, (std::vector<int>{5, 6, 7, 8}));
    EXPECT_EQ(selectedRow, 2);

    // The bar moved by its own arrows scrolls the list at the next tick.
    bar->SetPositionValue(0);
    bar->UpdatePosition(false);
    list->Tick();
    EXPECT_EQ(list->TopRow(), 0);
}
