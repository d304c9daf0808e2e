// Controls and groups: mouse routing, the handled flag, wheel steps, hit tests and
// the focus list, driven through the message queue.
#include "tests/engine/widgets/WidgetFixture.h"

using namespace DXWin;
using namespace Win32;

TEST_F(WidgetTest, AClickNeedsPressAndReleaseInsideButTheReleaseAlwaysArrives) {
    TDXWindow* window = MakeWindow(100, 100, 200, 100);
    TDXButton* button = MakeButton(window, 10, 10, 50, 20);
    Record(button, "button");
    int releases = 0;
    button->OnMouseUp = [&](int, TShiftState, int, int) { ++releases; };

    MoveTo(115, 115);
    Mouse(WM_LBUTTONDOWN, 115, 115, MK_LBUTTON);
    EXPECT_TRUE(button->Pressed());
    MoveTo(250, 180); // still in the window, off the button
    Mouse(WM_LBUTTONUP, 250, 180);
    EXPECT_FALSE(button->Pressed());
    EXPECT_EQ(releases, 1);
    EXPECT_EQ(Calls, (TCalls{"button enter", "button leave"}));

    Calls.clear();
    ClickAt(120, 115);
    EXPECT_EQ(Calls, (TCalls{"button enter", "button click"}));
}

TEST_F(WidgetTest, OnlyTheTopOfTwoOverlappingChildrenGetsTheClick) {
    TDXWindow* window = MakeWindow(0, 0, 300, 300);
    TDXButton* lower = MakeButton(window, 10, 10, 100, 100);
    TDXButton* upper = MakeButton(window, 50, 50, 100, 100);
    Record(lower, "lower");
    Record(upper, "upper");
    MoveTo(20, 20); // over the lower one only
    Calls.clear();
    ClickAt(60, 60); // where they overlap
    // The top child sees the press first; the one below loses its hover and focus.
    EXPECT_EQ(Calls,
              (TCalls{"upper enter", "lower leave", "lower lost", "upper got", "upper click"}));
    EXPECT_FALSE(lower->Hovered());
}

TEST_F(WidgetTest, WheelDeltasAccumulateIntoStepsOnlyOverTheControl) {
    const struct {
        std::vector<int> deltas;
        bool over;
        int ups, downs;
    } cases[] = {
        {{240}, true, 2, 0},  {{60, 60}, true, 1, 0},    {{60}, true, 0, 0},   {{-120}, true, 0, 1},
        {{-360}, true, 0, 3}, {{100, -220}, true, 0, 1}, {{240}, false, 0, 0},
    };
    for (const auto& c : cases) {
        TDXWindow* window = MakeWindow(0, 0, 300, 300);
        TDXButton* button = MakeButton(window, 10, 10, 100, 100);
        int ups = 0, downs = 0;
        button->OnWheelUp = [&](TDXControl*) { ++ups; };
        button->OnWheelDown = [&](TDXControl*) { ++downs; };
        MoveTo(c.over ? 50 : 200, 50);
        for (int delta : c.deltas)
            Wheel(delta);
        EXPECT_EQ(ups, c.ups) << c.deltas.size() << " " << c.deltas[0];
        EXPECT_EQ(downs, c.downs) << c.deltas.size() << " " << c.deltas[0];
        window->Close();
        window->SetRequestBits(wsDeleteRequested, true);
        Windows.ProcessRequests();
    }
    EXPECT_EQ(Windows.WindowCount(), 0);
}

TEST_F(WidgetTest, ADisabledControlTracksTheMouseButGetsNoClicksOrKeys) {
    TDXWindow* window = MakeWindow(0, 0, 300, 300);
    TDXButton* button = MakeButton(window, 10, 10, 100, 100);
    Record(button, "button");
    int keys = 0;
    button->OnKeyDown = [&](WPARAM&, TShiftState) { ++keys; };
    button->Disable();
    Calls.clear();
    ClickAt(50, 50);
    Key('A');
    MoveTo(200, 200);
    EXPECT_EQ(Calls, (TCalls{"button enter", "button leave"}));
    EXPECT_EQ(keys, 0);
}

TEST_F(WidgetTest, HitTestsSeeThroughGroupsOfNoSize) {
    TDXWindow* window = MakeWindow(0, 0, 300, 300);
    auto* group = new TDXGroup(window, window, csEnabled | csVisible);
    group->SetPosition(100, 100);
    TDXButton* button = MakeButton(window, 0, 0, 20, 20);
    window->RemoveChild(button);
    group->AddChild(button);
    EXPECT_EQ(Windows.ControlAt(110, 110), button);
    EXPECT_EQ(Windows.ControlAt(130, 130), window); // the empty group is never hit
    group->SetSize(50, 50);
    EXPECT_EQ(Windows.ControlAt(130, 130), group);
    EXPECT_EQ(Windows.ControlAt(310, 10), nullptr);
}

TEST_F(WidgetTest, TabMovesFocusForwardAndShiftTabBackButNotWithCtrlOrAlt) {
    const struct {
        std::vector<UINT> held;
        bool alt;            // Alt arrives in the key message itself
        const char* focused; // after one Tab from the middle button
    } cases[] = {
        {{}, false, "c"},
        {{VK_SHIFT}, false, "a"},
        {{VK_CONTROL}, false, "b"},
        {{VK_MENU}, true, "b"},
    };
    for (const auto& c : cases) {
        TDXWindow* window = MakeWindow(0, 0, 300, 300);
        TDXButton* a = MakeButton(window, 0, 0, 10, 10);
        TDXButton* b = MakeButton(window, 20, 0, 10, 10);
        TDXButton* c3 = MakeButton(window, 40, 0, 10, 10);
        window->SetFocusIndex(b->FocusIndex());
        for (UINT vk : c.held)
            Send(WM_KEYDOWN, vk, 1);
        if (c.alt)
            Send(WM_SYSKEYDOWN, VK_TAB, LParamFromBits(0x20000001));
        else
            Send(WM_KEYDOWN, VK_TAB, 1);
        const TDXControl* expected = c.focused[0] == 'a' ? a : c.focused[0] == 'b' ? b : c3;
        EXPECT_EQ(window->FocusedControl(), expected) << c.focused;
        EXPECT_TRUE(expected->Focused());
        for (UINT vk : c.held)
            Send(WM_KEYUP, vk, LParamFromBits(0xC0000001));
        window->SetRequestBits(wsDeleteRequested, true);
        Windows.ProcessRequests();
    }
}

TEST_F(WidgetTest, FocusWrapsRoundAndSkipsControlsThatCannotTakeIt) {
    TDXWindow* window = MakeWindow(0, 0, 300, 300);
    TDXButton* a = MakeButton(window, 0, 0, 10, 10);
    TDXButton* b = MakeButton(window, 20, 0, 10, 10);
    TDXButton* c = MakeButton(window, 40, 0, 10, 10);
    EXPECT_EQ(window->FocusedControl(), a);
    b->Disable();
    Key(VK_TAB);
    EXPECT_EQ(window->FocusedControl(), c);
    Key(VK_TAB);
    EXPECT_EQ(window->FocusedControl(), a);
    b->Enable();
    Key(VK_TAB);
    EXPECT_EQ(window->FocusedControl(), b);
}

TEST_F(WidgetTest, HidingTheFocusedControlOrItsGroupMovesFocusToTheFirstFocusable) {
    TDXWindow* window = MakeWindow(0, 0, 300, 300);
    TDXButton* first = MakeButton(window, 0, 0, 10, 10);
    auto* group = new TDXGroup(window, window, csEnabled | csVisible);
    auto* inner = new TDXButton(group, window, csTakesFocus);
    Record(inner, "inner");
    window->SetFocusIndex(inner->FocusIndex());
    EXPECT_TRUE(inner->Focused());
    group->Hide();
    EXPECT_EQ(window->FocusedControl(), first);
    EXPECT_FALSE(inner->Focused());
    EXPECT_EQ(Calls, (TCalls{"inner got", "inner lost"}));
    group->Show();
    EXPECT_EQ(window->FocusSlot(inner->FocusIndex()), inner);
}

TEST_F(WidgetTest, ADestroyedControlLeavesTheFocusListAndTheDefaultAndCancelLinks) {
    TDXWindow* window = MakeWindow(0, 0, 300, 300);
    TDXButton* ok = MakeButton(window, 0, 0, 10, 10);
    TDXButton* cancel = MakeButton(window, 20, 0, 10, 10);
    ok->SetDefault(true);
    cancel->SetCancel(true);
    EXPECT_EQ(window->FocusedControl(), ok);
    const int okSlot = ok->FocusIndex();
    delete ok;
    delete cancel;
    EXPECT_EQ(window->FocusSlot(okSlot), nullptr);
    EXPECT_EQ(window->FocusedControl(), nullptr);
    EXPECT_EQ(window->DefaultButton(), nullptr);
    EXPECT_EQ(window->CancelButton(), nullptr);
    EXPECT_EQ(window->ChildCount(), 0);
    Char('\r'); // no button to press any more
    Char(27);
    Key(VK_TAB);
}
