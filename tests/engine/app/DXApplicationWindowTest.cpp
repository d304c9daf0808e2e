// The window procedure: input reaching the game, closing, activation and the
// messages it answers itself. Input is scripted through SDL's own event queue.
#include "platform/win32/VirtualKeys.h"
#include "tests/engine/app/ApplicationFixture.h"
#include "tests/platform/win32/SdlEventBuilders.h"

using namespace DXApp;
using namespace Win32;
using namespace TestSdl;

TEST_F(ApplicationTest, CreateMakesTheWindowOrSaysWhyNot) {
    WNDCLASS taken;
    taken.lpfnWndProc = DefWindowProc;
    taken.lpszClassName = "VRNWindow";
    ASSERT_NE(RegisterClass(taken), 0);
    try {
        Create();
        ADD_FAILURE() << "no error";
    } catch (const ClassLib::Exception& e) {
        EXPECT_EQ(e.Message, "Register class failed.");
    }
    EXPECT_EQ(App.Window, nullptr);

    TDXApplication app;
    app.Create(nullptr, std::string(100, 'x'), "Other", 0xA0, 5000, nullptr, nullptr, nullptr,
               nullptr, nullptr, nullptr, nullptr, nullptr);
    EXPECT_TRUE(IsWindow(app.Window));
    EXPECT_FALSE(IsWindowVisible(app.Window)); // shown by the first presentation
    EXPECT_EQ(app.Title, std::string(79, 'x'));
    EXPECT_EQ(app.StepMs, 1u);
    EXPECT_FALSE(app.Switching);
    EXPECT_TRUE(app.ResetTiming);
}

TEST_F(ApplicationTest, ScriptedInputArrivesAtTheGameUnchanged) {
    Create(0xA0);
    StartWindowed();
    Push(KeyDown(SDL_SCANCODE_A, SDLK_a));
    Push(Text("a"));
    Push(Motion(30, 40));
    Push(ButtonDown(SDL_BUTTON_LEFT, 30, 40));
    Push(Motion(-5, -7)); // dragged past the top left corner
    Push(ButtonUp(SDL_BUTTON_LEFT, -5, -7));
    Push(Wheel(1));
    DispatchAll();
    EXPECT_EQ(App.KeyDown['A'], 1); // still held
    PostMessage(App.Window, WM_USER + 7, 3, 4);
    Push(KeyUp(SDL_SCANCODE_A, SDLK_a));
    DispatchAll();
    EXPECT_EQ(App.KeyDown['A'], 0);

    std::vector<UINT> codes;
    for (const TInput& input : Inputs)
        codes.push_back(input.Message);
    ASSERT_EQ(codes,
              (std::vector<UINT>{WM_KEYDOWN, WM_CHAR, WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_MOUSEMOVE,
                                 WM_LBUTTONUP, WM_MOUSEWHEEL, WM_USER + 7, WM_KEYUP}));
    EXPECT_EQ(Inputs[0].WParam, WPARAM{'A'});
    EXPECT_EQ(Inputs[1].WParam, WPARAM{'a'});
    EXPECT_EQ(Inputs[2].LParam, PointToLParam(30, 40));
    // The button took the mouse, so the drag outside still belongs to the window.
    EXPECT_EQ(Inputs[4].Capture, App.Window);
    EXPECT_EQ(GET_X_LPARAM(Inputs[4].LParam), -5);
    EXPECT_EQ(GET_Y_LPARAM(Inputs[5].LParam), -7);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(Inputs[6].WParam), 120);
    EXPECT_EQ(Inputs[7].WParam, 3u);
    EXPECT_EQ(Inputs[7].LParam, 4);
    // The game draws its own cursor: the system's is hidden over the window.
    EXPECT_EQ(GetCursor(), nullptr);
}

TEST_F(ApplicationTest, AnErrorInACallbackIsShownAndTheProgramGoesOn) {
    Create(0xA0);
    StartWindowed();
    InputFails = true;
    Push(KeyDown(SDL_SCANCODE_A, SDLK_a));
    Push(KeyUp(SDL_SCANCODE_A, SDLK_a));
    DispatchAll();
    const auto boxes = Boxes.Calls();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "Input failed.");
    EXPECT_EQ(boxes[0].Caption, "Varnholt");
    EXPECT_EQ(boxes[0].Type, MB_ICONERROR);
    EXPECT_EQ(boxes[0].Owner, App.Window);
    ASSERT_EQ(Inputs.size(), 2u);
    EXPECT_EQ(Inputs[1].Message, WM_KEYUP);

    // A destroy callback that fails still ends the loop.
    App.OnDestroy = [] { throw ClassLib::Exception("Shutdown failed."); };
    App.Terminate();
    EXPECT_EQ(App.RunMessageLoop(), 0);
    EXPECT_EQ(Boxes.Calls().back().Text, "Shutdown failed.");
}

namespace {
struct TCloseCase {
    bool FullScreen;
    uint32_t Options;
    bool Closes;
};
} // namespace

class AltF4 : public ApplicationTest, public ::testing::WithParamInterface<TCloseCase> {};

TEST_P(AltF4, ClosesTheGameOnlyWhereItMay) {
    const TCloseCase c = GetParam();
    Create(c.Options);
    c.FullScreen ? StartFullScreen() : StartWindowed();
    Push(KeyDown(SDL_SCANCODE_LALT));
    Push(KeyDown(SDL_SCANCODE_F4));
    Push(KeyUp(SDL_SCANCODE_F4));
    Push(KeyUp(SDL_SCANCODE_LALT));
    DispatchAll();
    EXPECT_EQ(IsWindow(App.Window) != 0, !c.Closes);
    EXPECT_EQ(Count("destroy"), c.Closes ? 1 : 0);
    EXPECT_EQ(Count("alt down"), 1);
    EXPECT_EQ(App.Quit, c.Closes);
}

INSTANTIATE_TEST_SUITE_P(Application, AltF4,
                         ::testing::Values(TCloseCase{true, 0xA0, false},
                                           TCloseCase{false, 0xA0, true},
                                           TCloseCase{true, 0xA1, true}));

TEST_F(ApplicationTest, TheCloseButtonEndsTheLoopCleanly) {
    Create(0xA0);
    StartWindowed();
    App.OnUpdate = [&] {
        if (App.TickCount == 3)
            Push(Window(SDL_WINDOWEVENT_CLOSE));
    };
    EXPECT_EQ(App.RunMessageLoop(), 0);
    EXPECT_EQ(Count("destroy"), 1);
    EXPECT_FALSE(IsWindow(App.Window));
}

TEST_F(ApplicationTest, ActivationFollowsTheWindow) {
    Create(0xA0);
    StartFullScreen();
    App.ResetTiming = false;
    SendMessage(App.Window, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0);
    EXPECT_FALSE(App.Active);
    SendMessage(App.Window, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 1), 0); // minimised
    EXPECT_FALSE(App.Active);
    SendMessage(App.Window, WM_ACTIVATE, MAKEWPARAM(WA_CLICKACTIVE, 0), 0);
    EXPECT_TRUE(App.Active);
    EXPECT_TRUE(App.ResetTiming); // the time away is not caught up
    SendMessage(App.Window, WM_ACTIVATEAPP, FALSE, 0);
    SendMessage(App.Window, WM_ACTIVATEAPP, TRUE, 0);
    EXPECT_EQ(Calls, (TCalls{"after device change", "deactivate", "activate"}));

    SendMessage(App.Window, WM_SIZE, SIZE_MINIMIZED, 0);
    EXPECT_FALSE(App.Active);
    SendMessage(App.Window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(800, 600));
    EXPECT_TRUE(App.Active);
    // Switching ignores them.
    App.Switching = true;
    SendMessage(App.Window, WM_SIZE, SIZE_MINIMIZED, 0);
    SendMessage(App.Window, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0);
    EXPECT_TRUE(App.Active);
}

TEST_F(ApplicationTest, TheWindowAnswersTheSystemItself) {
    Create(0xA0);
    StartFullScreen();
    EXPECT_EQ(SendMessage(App.Window, WM_POWERBROADCAST, 0, 0), BROADCAST_QUERY_DENY);
    MINMAXINFO info;
    EXPECT_EQ(SendMessage(App.Window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info)), 0);
    EXPECT_EQ(info.ptMinTrackSize, (POINT{100, 100}));

    // Full screen refuses to be maximised, moved or sized.
    SendMessage(App.Window, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    EXPECT_FALSE(IsZoomed(App.Window));

    App.ResetTiming = false;
    SendMessage(App.Window, WM_NCRBUTTONDOWN, 0, 0);
    EXPECT_TRUE(App.ResetTiming);

    // Alt alone is swallowed in full screen.
    Calls.clear();
    EXPECT_EQ(SendMessage(App.Window, WM_SYSKEYDOWN, VK_MENU, LParamFromBits(0x20380001)), 0);
    EXPECT_EQ(App.KeyDown[VK_MENU], 1);
    SendMessage(App.Window, WM_SYSKEYUP, VK_MENU, LParamFromBits(0xC0380001));
    EXPECT_EQ(App.KeyDown[VK_MENU], 0);
    EXPECT_EQ(Calls, (TCalls{"alt down", "alt up"}));

    App.Switching = true;
    SendMessage(App.Window, WM_ENTERSIZEMOVE, 0, 0);
    EXPECT_TRUE(App.Active);
    App.Switching = false;
    SendMessage(App.Window, WM_ENTERMENULOOP, 0, 0);
    EXPECT_FALSE(App.Active);
}

TEST_F(ApplicationTest, TheCursorIsHiddenAsTheOptionsSay) {
    const struct {
        uint32_t options;
        bool fullScreen;
        bool hidden;
    } cases[] = {
        {0x00, false, false}, {0x20, false, true},  {0x00, true, true},
        {0x10, true, false},  {0x30, false, false},
    };
    Create(0x00);
    StartWindowed();
    const HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
    for (const auto& c : cases) {
        App.Options = c.options;
        if (c.fullScreen != App.IsFullScreen())
            c.fullScreen ? App.ToggleToFullscreen() : App.ToggleToWindowed();
        SetCursor(arrow);
        SendMessage(App.Window, WM_SETCURSOR, reinterpret_cast<WPARAM>(App.Window),
                    MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(GetCursor() == nullptr, c.hidden) << c.options << " " << c.fullScreen;
    }
}

TEST_F(ApplicationTest, TheCursorIsReadAndSetInClientCoordinates) {
    Create(0xA0);
    StartWindowed();
    App.SetCursorPos(10, 20);
    POINT screen;
    GetCursorPos(&screen);
    EXPECT_EQ(screen, (POINT{310, 190}));
    App.RunFrame();
    EXPECT_EQ(App.CursorX, 10);
    EXPECT_EQ(App.CursorY, 20);
}
