// Windows and the window system: dragging, default and cancel keys, stacking,
// modal blocking, and activations and deletions carried out after delivery.
#include "tests/engine/widgets/WidgetFixture.h"

using namespace DXWin;
using namespace Win32;

TEST_F(WidgetTest, ADragStartsOnlyAfterMoreThanThreePixelsAndKeepsTheGrabbedPoint) {
    TDXWindow* window = MakeWindow(100, 100, 200, 150, woDraggable, 20);
    MoveTo(110, 105);
    Mouse(WM_LBUTTONDOWN, 110, 105, MK_LBUTTON);
    EXPECT_TRUE(window->HasState(csDragPending));
    Mouse(WM_MOUSEMOVE, 113, 108, MK_LBUTTON);
    EXPECT_EQ(window->X(), 100);
    EXPECT_FALSE(window->HasState(csDragging));
    Mouse(WM_MOUSEMOVE, 114, 105, MK_LBUTTON);
    EXPECT_TRUE(window->HasState(csDragging));
    EXPECT_EQ(window->X(), 104);
    // Past the screen's left and top edge: the coordinates are signed.
    Mouse(WM_MOUSEMOVE, -30, -2, MK_LBUTTON);
    EXPECT_EQ(window->X(), -40);
    EXPECT_EQ(window->Y(), -7);
    Mouse(WM_LBUTTONUP, -30, -2);
    EXPECT_FALSE(window->HasState(csDragging | csDragPending));
    MoveTo(0, 0);
    EXPECT_EQ(window->X(), -40);
}

TEST_F(WidgetTest, APressBelowTheDragBandOrInAFixedWindowDoesNotDrag) {
    TDXWindow* banded = MakeWindow(0, 0, 100, 100, woDraggable, 20);
    MoveTo(50, 30);
    Mouse(WM_LBUTTONDOWN, 50, 30, MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, 80, 60, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 80, 60);
    EXPECT_EQ(banded->X(), 0);
    TDXWindow* fixed = MakeWindow(200, 0, 100, 100, 0, 20);
    MoveTo(210, 5);
    Mouse(WM_LBUTTONDOWN, 210, 5, MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, 250, 50, MK_LBUTTON);
    EXPECT_EQ(fixed->X(), 200);
}

TEST_F(WidgetTest, EnterAndEscapePressTheDefaultAndCancelButtons) {
    TDXWindow* window = MakeWindow(0, 0, 300, 300);
    TDXCheckBox* box = new TDXCheckBox(window, window); // takes no focus
    TDXButton* ok = MakeButton(window, 0, 0, 10, 10, 0);
    TDXButton* cancel = MakeButton(window, 20, 0, 10, 10, 0);
    ok->SetDefault(true);
    cancel->SetCancel(true);
    Record(ok, "ok");
    Record(cancel, "cancel");
    Char('\r');
    Char(27);
    Char('x');
    EXPECT_EQ(Calls, (TCalls{"ok click", "cancel click"}));
    // A disabled default button is not pressed by Enter.
    Calls.clear();
    ok->Disable();
    Char('\r');
    EXPECT_TRUE(Calls.empty());
    EXPECT_FALSE(box->Checked());
}

TEST_F(WidgetTest, EnterTakenByAFocusedButtonDoesNotAlsoPressTheDefault) {
    TDXWindow* window = MakeWindow(0, 0, 300, 300);
    TDXButton* other = MakeButton(window, 0, 0, 10, 10);
    TDXButton* ok = MakeButton(window, 20, 0, 10, 10);
    ok->SetDefault(true);
    Record(other, "other");
    Record(ok, "ok");
    ASSERT_EQ(window->FocusedControl(), other);
    Char('\r');
    EXPECT_EQ(Calls, TCalls{"other click"});
}

TEST_F(WidgetTest, NewWindowsGoBehindTheOthersButInFrontOfBackgroundWindows) {
    TDXWindow* background = MakeWindow(0, 0, 800, 600, woBackground);
    TDXWindow* first = MakeWindow(10, 10, 100, 100);
    EXPECT_EQ(Windows.IndexOf(first), 0); // activated, so in front
    auto* second = new TDXWindow(&Windows, 0, 0);
    EXPECT_EQ(Windows.IndexOf(second), 1);
    EXPECT_EQ(Windows.IndexOf(background), 2);
    second->SetBoundsRect({50, 50, 150, 150});
    second->Show();
    EXPECT_EQ(Windows.ActiveWindow(), first); // only requested so far
    Windows.ProcessRequests();
    EXPECT_EQ(Windows.ActiveWindow(), second);
    EXPECT_EQ(Windows.IndexOf(second), 0);
    EXPECT_FALSE(first->Active());
    // A click on the background window activates it but leaves it at the back.
    ClickAt(700, 500);
    EXPECT_EQ(Windows.ActiveWindow(), background);
    EXPECT_EQ(Windows.IndexOf(background), 2);
}

TEST_F(WidgetTest, ActivationByAClickHappensAfterTheMessageHasBeenDelivered) {
    TDXWindow* back = MakeWindow(0, 0, 200, 200);
    TDXWindow* front = MakeWindow(100, 100, 200, 200);
    TDXButton* button = MakeButton(back, 10, 10, 50, 50);
    TDXWindow* activeDuringClick = nullptr;
    button->OnClick = [&](TDXControl*) { activeDuringClick = Windows.ActiveWindow(); };
    MoveTo(20, 20);
    Mouse(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
    EXPECT_EQ(Windows.ActiveWindow(), back);
    EXPECT_EQ(Windows.IndexOf(back), 0);
    Mouse(WM_LBUTTONUP, 20, 20);
    EXPECT_EQ(activeDuringClick, back);
    // Keys go to the active window only.
    int keys = 0;
    front->OnKeyDown = [&](WPARAM&, TShiftState) { ++keys; };
    Key('A');
    EXPECT_EQ(keys, 0);
}

TEST_F(WidgetTest, HidingTheActiveWindowActivatesTheFrontMostOtherVisibleWindow) {
    TDXWindow* a = MakeWindow(0, 0, 100, 100);
    TDXWindow* hidden = MakeWindow(0, 0, 100, 100);
    TDXWindow* b = MakeWindow(0, 0, 100, 100);
    hidden->Hide();
    Windows.ProcessRequests();
    EXPECT_EQ(Windows.ActiveWindow(), b);
    b->Hide();
    Windows.ProcessRequests();
    EXPECT_EQ(Windows.ActiveWindow(), a);
    EXPECT_TRUE(a->Active());
    EXPECT_FALSE(b->Active());
}

TEST_F(WidgetTest, AModalWindowTakesAllInputAndStaysInFrontOfWindowsShownAfterIt) {
    TDXWindow* main = MakeWindow(0, 0, 800, 600);
    TDXButton* mainButton = MakeButton(main, 0, 0, 100, 100);
    TDXWindow* dialog = MakeWindow(300, 200, 200, 200, woModal);
    EXPECT_EQ(Windows.ActiveWindow(), dialog);
    Record(mainButton, "main");
    ClickAt(50, 50);
    Key(VK_TAB);
    EXPECT_TRUE(Calls.empty());
    EXPECT_EQ(Windows.ControlAt(50, 50), nullptr); // nothing behind the dialog is hit
    EXPECT_EQ(Windows.WindowAt(50, 50), dialog);

    TDXWindow* late = MakeWindow(0, 0, 100, 100);
    EXPECT_EQ(Windows.ActiveWindow(), dialog);
    EXPECT_EQ(Windows.IndexOf(dialog), 0);
    EXPECT_EQ(Windows.IndexOf(late), 1);
    EXPECT_TRUE(late->HasState(wsActivateRequested)); // tried again at every pass
    dialog->Close();
    Windows.ProcessRequests();
    EXPECT_EQ(Windows.ActiveWindow(), late);
    ClickAt(50, 50);
    EXPECT_EQ(Calls, TCalls{}); // the late window lies over the button now
    EXPECT_EQ(Windows.ControlAt(150, 150), main);
}

TEST_F(WidgetTest, AWindowClosedDuringDeliveryOrATickIsDeletedAfterwards) {
    const bool inTick[] = {false, true};
    for (bool tick : inTick) {
        TDXWindow* below = MakeWindow(0, 0, 800, 600);
        TDXWindow* window = MakeWindow(0, 0, 200, 200, woDeleteOnClose);
        TDXButton* button = MakeButton(window, 0, 0, 50, 50);
        bool existedAfterClose = false;
        const auto close = [&](TDXControl*) {
            window->Close();
            existedAfterClose = Windows.IndexOf(window) >= 0 && button->Parent() == window;
        };
        if (tick)
            button->OnTick = close;
        else
            button->OnClick = close;
        if (tick)
            Windows.Tick();
        else
            ClickAt(10, 10);
        EXPECT_TRUE(existedAfterClose);
        EXPECT_EQ(Windows.WindowCount(), 1) << tick;
        EXPECT_EQ(Windows.ActiveWindow(), below);
        below->SetRequestBits(wsDeleteRequested, true);
        Windows.ProcessRequests();
        EXPECT_EQ(Windows.WindowCount(), 0);
        EXPECT_EQ(Windows.ActiveWindow(), nullptr);
    }
}

TEST_F(WidgetTest, AButtonWithAModalResultClosesItsWindowWithIt) {
    TDXWindow* dialog = MakeWindow(0, 0, 200, 200, woModal);
    TDXButton* yes = MakeButton(dialog, 0, 0, 50, 50);
    yes->SetModalResult(6);
    ClickAt(10, 10);
    EXPECT_EQ(dialog->ModalResult(), 6);
    EXPECT_TRUE(dialog->Done());
    EXPECT_FALSE(dialog->Visible());
}

TEST_F(WidgetTest, ACheckBoxHandlerSeesTheStateBeforeTheClick) {
    TDXWindow* window = MakeWindow(0, 0, 200, 200);
    auto* box = new TDXCheckBox(window, window);
    box->SetSize(20, 20);
    std::vector<bool> seen;
    box->OnClick = [&](TDXControl*) { seen.push_back(box->Checked()); };
    ClickAt(5, 5);
    ClickAt(5, 5);
    EXPECT_EQ(seen, (std::vector<bool>{false, true}));
    EXPECT_FALSE(box->Checked());
}

TEST_F(WidgetTest, ACentredWindowIsPlacedInTheMiddleOfTheDisplayWhenShown) {
    auto* window = new TDXWindow(&Windows, woCentered, 0);
    window->SetBoundsRect({0, 0, 201, 101});
    window->Show();
    EXPECT_EQ(window->X(), (800 - 201) / 2);
    EXPECT_EQ(window->Y(), (600 - 101) / 2);
}
