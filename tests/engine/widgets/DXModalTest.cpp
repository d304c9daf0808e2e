// Modal windows in the application's nested loop, with input posted to the queue
// the program reads and routed by the application's window procedure; and the
// scroll bar's arrow repeat on the application's ticks.
#include "engine/app/DXApplication.h"
#include "engine/widgets/DXScrollBar.h"
#include "tests/engine/widgets/WidgetFixture.h"

#include <functional>

using namespace DXWin;
using namespace Win32;

namespace {

class ModalTest : public WidgetTest {
protected:
    ModalTest() {
        DXApp::Application = &FApplication;
        App().Create(
            GetModuleHandle(nullptr), "Varnholt", "VRNWindow", 0xA0, 100, nullptr,
            [this] { Windows.Tick(); }, nullptr, nullptr, nullptr, nullptr, nullptr,
            [this](UINT msg, WPARAM wParam, LPARAM lParam) {
                Windows.HandleMessage(msg, wParam, lParam);
            });
        App().Active = true;
    }
    ~ModalTest() override { DXApp::Application = nullptr; }

    static DXApp::TDXApplication& App() { return *DXApp::Application; }
    static void Post(UINT msg, WPARAM wParam, LPARAM lParam) {
        PostMessage(App().Window, msg, wParam, lParam);
    }
    static void PostClick(int x, int y) {
        Post(WM_MOUSEMOVE, 0, PointToLParam(x, y));
        Post(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(x, y));
        Post(WM_LBUTTONUP, 0, PointToLParam(x, y));
    }

    // A modal dialog at (300, 200) with "OK" (result 1, default) and "Cancel"
    // (result 2, cancel) buttons.
    TDXWindow* MakeDialog(uint32_t options = woModal) {
        auto* dialog = new TDXWindow(&Windows, options, 0);
        dialog->SetBoundsRect({300, 200, 500, 300});
        TDXButton* ok = MakeButton(dialog, 10, 60, 80, 30);
        ok->SetModalResult(1);
        ok->SetDefault(true);
        TDXButton* cancel = MakeButton(dialog, 110, 60, 80, 30);
        cancel->SetModalResult(2);
        cancel->SetCancel(true);
        return dialog;
    }

    DXApp::TDXApplication FApplication;
};

} // namespace

TEST_F(ModalTest, AModalWindowReturnsTheResultOfItsKeysAndButtons) {
    const struct {
        const char* how;
        std::function<void()> post;
        int result;
    } cases[] = {
        {"Enter", [] { Post(WM_CHAR, 13, 1); }, 1},
        {"Escape", [] { Post(WM_CHAR, 27, 1); }, 2},
        {"OK clicked", [] { PostClick(320, 270); }, 1},
        {"Cancel clicked", [] { PostClick(420, 270); }, 2},
    };
    for (const auto& c : cases) {
        TDXWindow* dialog = MakeDialog();
        c.post();
        EXPECT_EQ(dialog->ShowModal(false), c.result) << c.how;
        EXPECT_FALSE(dialog->Visible());
        delete dialog;
    }
}

TEST_F(ModalTest, AModalWindowBlocksTheOthersWhileItsLoopRuns) {
    TDXWindow* main = MakeWindow(0, 0, 800, 600);
    TDXButton* behind = MakeButton(main, 0, 0, 100, 100);
    Record(behind, "behind");
    TDXWindow* dialog = MakeDialog();
    PostClick(50, 50);
    Post(WM_KEYDOWN, VK_TAB, 1);
    Post(WM_CHAR, 27, 1);
    EXPECT_EQ(dialog->ShowModal(false), 2);
    // Hover and focus move with the activation, but nothing behind was clicked.
    EXPECT_EQ(Calls, (TCalls{"behind enter", "behind lost", "behind leave", "behind got",
                             "behind enter"}));
    Windows.ProcessRequests();
    EXPECT_EQ(Windows.ActiveWindow(), main);
}

TEST_F(ModalTest, ADialogThatDeletesItselfIsDeletedOnlyAfterItsLoopAndTheClickThatOpenedIt) {
    TDXWindow* main = MakeWindow(0, 0, 800, 600, woDeleteOnClose);
    TDXButton* open = MakeButton(main, 0, 0, 100, 100);
    int result = 0;
    int windowsAfterLoop = 0;
    open->OnClick = [&](TDXControl*) {
        TDXWindow* dialog = MakeDialog(woModal | woDeleteOnClose);
        // OK closes the main window too: both wait until nothing of theirs runs.
        dialog->DefaultButton()->OnClick = [&](TDXControl*) { main->Close(); };
        Post(WM_CHAR, 27, 1); // dropped: it came before the dialog was there
        Post(WM_CHAR, 13, 1);
        result = dialog->ShowModal(true);
        windowsAfterLoop = Windows.WindowCount();
        EXPECT_EQ(dialog->ModalResult(), 1); // still there to be read
    };
    ClickAt(50, 50);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(windowsAfterLoop, 2);
    EXPECT_EQ(Windows.WindowCount(), 0);
    EXPECT_EQ(Windows.ActiveWindow(), nullptr);
}

TEST_F(ModalTest, QuittingEndsAModalLoopWithoutAResult) {
    TDXWindow* dialog = MakeDialog();
    App().Terminate();
    EXPECT_EQ(dialog->ShowModal(false), 0);
}

TEST_F(ModalTest, AHeldArrowStepsAtThePressThenEveryRepeatInterval) {
    TDXWindow* window = MakeWindow(0, 0, 300, 300);
    auto* bar = new TDXScrollBar(window, sbVertical, 10, 10);
    bar->SetBoundsRect({0, 0, 10, 100});
    bar->SetRange(0, 5);
    std::vector<uint32_t> changes; // tick of every change
    bar->OnChange = [&](TDXControl*) { changes.push_back(App().TickCount); };
    App().TickCount = 100;
    App().CursorX = 5;
    App().CursorY = 95;
    MoveTo(5, 95);
    Windows.Tick(); // the mouse rests on the down arrow
    Mouse(WM_LBUTTONDOWN, 5, 95, MK_LBUTTON);
    for (int i = 0; i < 45; ++i) {
        ++App().TickCount;
        Windows.Tick();
    }
    EXPECT_EQ(changes, (std::vector<uint32_t>{100, 120, 140}));
    // Off the arrow it stops; back on it, it steps at once. Never past the maximum.
    App().CursorY = 50;
    for (int i = 0; i < 30; ++i) {
        ++App().TickCount;
        Windows.Tick();
    }
    App().CursorY = 95;
    for (int i = 0; i < 200; ++i) {
        ++App().TickCount;
        Windows.Tick();
    }
    EXPECT_EQ(changes, (std::vector<uint32_t>{100, 120, 140, 176, 196}));
    EXPECT_EQ(bar->Position(), 5);
    Mouse(WM_LBUTTONUP, 5, 95);
    EXPECT_EQ(bar->DownState() & spPressed, 0u);
}

TEST_F(ModalTest, ADraggedThumbFollowsTheMouse) {
    TDXWindow* window = MakeWindow(0, 0, 300, 300);
    auto* bar = new TDXScrollBar(window, sbVertical, 10, 10);
    bar->SetBoundsRect({0, 0, 10, 110}); // track 10..100
    bar->SetRange(0, 9);
    App().CursorX = 5;
    App().CursorY = 12;
    MoveTo(5, 12);
    Mouse(WM_LBUTTONDOWN, 5, 12, MK_LBUTTON); // on the thumb at 11..21
    for (int y : {12, 60, 200, -50}) {
        App().CursorY = y;
        Windows.Tick();
        EXPECT_EQ(bar->Position(), bar->PositionFromPoint(5, y - 1)) << y;
    }
    EXPECT_EQ(bar->Position(), 0);
    App().CursorY = 200;
    Windows.Tick();
    EXPECT_EQ(bar->Position(), 9);
}
