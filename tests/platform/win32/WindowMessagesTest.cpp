#include "platform/win32/VirtualKeys.h"
#include "tests/platform/win32/DesktopFixture.h"
#include "tests/platform/win32/SdlEventBuilders.h"

using namespace Win32;
using namespace TestSdl;

TEST_F(DesktopTest, ScriptedSdlEventsArriveAsMessagesInTheQueue) {
    const HWND window = CreateTestWindow();
    Push(KeyDown(SDL_SCANCODE_A, SDLK_a));
    Push(Text("a"));
    MSG msg;
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, WM_KEYDOWN);
    EXPECT_LT(GetAsyncKeyState('A'), 0); // the input has it down...
    EXPECT_EQ(GetKeyState('A'), 0);      // ...the program has not read it yet

    Push(KeyUp(SDL_SCANCODE_A, SDLK_a));
    Push(Motion(30, 40));
    Push(ButtonDown(SDL_BUTTON_LEFT, 30, 40));
    Push(ButtonUp(SDL_BUTTON_LEFT, 31, 40));
    Push(Wheel(-1));

    const std::vector<MSG> read = DispatchAll();
    std::vector<UINT> codes;
    for (const MSG& m : read) {
        EXPECT_EQ(m.hwnd, window);
        EXPECT_EQ(m.time, 1000u);
        codes.push_back(m.message);
    }
    EXPECT_EQ(codes, (std::vector<UINT>{WM_KEYDOWN, WM_CHAR, WM_KEYUP, WM_MOUSEMOVE, WM_LBUTTONDOWN,
                                        WM_LBUTTONUP, WM_MOUSEWHEEL}));
    EXPECT_EQ(read[0].lParam, 0x001E0001);
    EXPECT_EQ(read[1].wParam, WPARAM{'a'});
    EXPECT_EQ(read[5].lParam, MAKELPARAM(31, 40));
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(read[6].wParam), -120);
    EXPECT_EQ(GetKeyState('A'), 1); // read up again, toggled once

    // The procedure was asked for its cursor before each button and move, and
    // the default answer set the class cursor.
    EXPECT_EQ(ReceivedCount(WM_SETCURSOR), 3);
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_ARROW));
}

TEST_F(DesktopTest, KeyStateFollowsTheMessagesAsTheyAreRead) {
    CreateTestWindow();
    Push(KeyDown(SDL_SCANCODE_LCTRL));
    Push(KeyDown(SDL_SCANCODE_RALT));
    MSG msg;
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_LT(GetKeyState(VK_CONTROL), 0);
    EXPECT_LT(GetKeyState(VK_LCONTROL), 0);
    EXPECT_GE(GetKeyState(VK_MENU), 0);
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_LT(GetKeyState(VK_MENU), 0);
    EXPECT_LT(GetKeyState(VK_RMENU), 0);
    EXPECT_GE(GetKeyState(VK_LMENU), 0);
    // Messages posted by the program move it too, so tests can script keys.
    PostMessage(nullptr, WM_KEYUP, VK_CONTROL, LParamFromBits(0xC01D0001));
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_GE(GetKeyState(VK_CONTROL), 0);
}

TEST_F(DesktopTest, TheCloseButtonClosesTheWindowThroughTheDefaultProcedure) {
    const HWND window = CreateTestWindow();
    Handler = [](HWND w, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m != WM_DESTROY)
            return std::nullopt;
        PostQuitMessage(3);
        EXPECT_TRUE(IsWindow(w)); // still there while it is being destroyed
        return 0;
    };
    Push(Window(SDL_WINDOWEVENT_CLOSE));
    MSG msg;
    EXPECT_EQ(GetMessage(&msg, nullptr, 0, 0), 0);
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_EQ(ReceivedCodes(),
              (std::vector<UINT>{WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY, WM_NCDESTROY}));
    EXPECT_EQ(Received[0].wParam, SC_CLOSE);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(DesktopTest, AltF4AsksToCloseAndTheWindowMayRefuse) {
    const HWND window = CreateTestWindow();
    bool refuse = true;
    Handler = [&](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_CLOSE && refuse)
            return 0;
        return std::nullopt;
    };
    Push(KeyDown(SDL_SCANCODE_LALT));
    Push(KeyDown(SDL_SCANCODE_F4));
    Push(KeyUp(SDL_SCANCODE_F4));
    DispatchAll();
    EXPECT_EQ(ReceivedCodes(), (std::vector<UINT>{WM_SYSKEYDOWN, WM_SYSKEYDOWN, WM_SYSCOMMAND,
                                                  WM_CLOSE, WM_SYSKEYUP}));
    EXPECT_TRUE(IsWindow(window));

    refuse = false;
    Push(KeyDown(SDL_SCANCODE_F4));
    DispatchAll();
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(DesktopTest, SdlQuitAsksTheWindowToClose) {
    CreateTestWindow();
    Handler = [](HWND, UINT, WPARAM, LPARAM) -> std::optional<LRESULT> { return 0; };
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    Push(quit);
    DispatchAll();
    EXPECT_EQ(ReceivedCodes(), (std::vector<UINT>{WM_CLOSE}));
}

TEST_F(DesktopTest, ActivationAndMinimisingFollowTheSdlWindow) {
    const HWND window = CreateTestWindow();
    Push(Window(SDL_WINDOWEVENT_FOCUS_GAINED));
    EXPECT_TRUE(WaitMessage()); // sent messages wake a waiting loop
    EXPECT_EQ(ReceivedCodes(), (std::vector<UINT>{WM_ACTIVATEAPP, WM_ACTIVATE, WM_SETFOCUS}));
    EXPECT_EQ(Received[0].wParam, WPARAM{TRUE});
    EXPECT_EQ(Received[1].wParam, MAKEWPARAM(WA_ACTIVE, 0));
    EXPECT_EQ(GetActiveWindow(), window);
    EXPECT_EQ(GetFocus(), window);

    Received.clear();
    Push(Window(SDL_WINDOWEVENT_MINIMIZED));
    Push(Window(SDL_WINDOWEVENT_FOCUS_LOST));
    DispatchAll();
    EXPECT_TRUE(IsIconic(window));
    EXPECT_EQ(ReceivedCodes(),
              (std::vector<UINT>{WM_SIZE, WM_ACTIVATE, WM_ACTIVATEAPP, WM_KILLFOCUS}));
    EXPECT_EQ(Received[0].wParam, SIZE_MINIMIZED);
    EXPECT_EQ(Received[1].wParam, MAKEWPARAM(WA_INACTIVE, 1));
    EXPECT_EQ(Received[2].wParam, WPARAM{FALSE});
    EXPECT_EQ(GetActiveWindow(), nullptr);

    Received.clear();
    Push(Window(SDL_WINDOWEVENT_RESTORED));
    DispatchAll();
    EXPECT_FALSE(IsIconic(window));
    ASSERT_EQ(ReceivedCodes(), (std::vector<UINT>{WM_SIZE}));
    EXPECT_EQ(Received[0].wParam, SIZE_RESTORED);
    EXPECT_EQ(Received[0].lParam, MAKELPARAM(640, 480));
}

TEST_F(DesktopTest, TheCaptureKeepsTheMouseOutsideTheWindow) {
    const HWND first = CreateTestWindow();
    const HWND second = CreateTestWindow();
    EXPECT_EQ(SetCapture(second), nullptr);
    EXPECT_EQ(SetCapture(first), second);
    EXPECT_EQ(Received.back().hwnd, second);
    EXPECT_EQ(Received.back().message, WM_CAPTURECHANGED);
    EXPECT_EQ(GetCapture(), first);

    Received.clear();
    Push(ButtonDown(SDL_BUTTON_LEFT, 10, 10));
    Push(Motion(-20, -30));
    Push(ButtonUp(SDL_BUTTON_LEFT, -20, -30));
    const std::vector<MSG> read = DispatchAll();
    ASSERT_EQ(read.size(), 3u);
    for (const MSG& msg : read)
        EXPECT_EQ(msg.hwnd, first);
    EXPECT_EQ(read[2].message, WM_LBUTTONUP);
    EXPECT_EQ(PointFromLParam(read[2].lParam), (POINT{-20, -30}));
    EXPECT_EQ(ReceivedCount(WM_SETCURSOR), 0);

    Received.clear();
    EXPECT_TRUE(ReleaseCapture());
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(ReceivedCodes(), (std::vector<UINT>{WM_CAPTURECHANGED}));
}

TEST_F(DesktopTest, TheCursorShowsWhileItsCounterIsNotNegativeAndOneIsSet) {
    CreateTestWindow();
    const auto shown = [] { return SDL_ShowCursor(SDL_QUERY) == SDL_ENABLE; };
    EXPECT_EQ(ShowCursor(FALSE), -1);
    EXPECT_FALSE(shown());
    EXPECT_EQ(ShowCursor(FALSE), -2);
    EXPECT_EQ(ShowCursor(TRUE), -1);
    EXPECT_FALSE(shown());
    EXPECT_EQ(ShowCursor(TRUE), 0);
    EXPECT_TRUE(shown());
    const HCURSOR arrow = SetCursor(nullptr);
    EXPECT_EQ(arrow, LoadCursor(nullptr, IDC_ARROW));
    EXPECT_FALSE(shown());
    SetCursor(arrow);
    EXPECT_TRUE(shown());
}

TEST_F(DesktopTest, TheCursorPositionIsInScreenCoordinates) {
    const HWND window = CreateTestWindow(CS_DBLCLKS, 200, 100);
    EXPECT_TRUE(SetCursorPos(260, 140));
    POINT point;
    EXPECT_TRUE(GetCursorPos(&point));
    EXPECT_EQ(point, (POINT{260, 140}));
    EXPECT_TRUE(ScreenToClient(window, &point));
    EXPECT_EQ(point, (POINT{60, 40}));

    Push(Wheel(1));
    const std::vector<MSG> read = DispatchAll();
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(PointFromLParam(read[0].lParam), (POINT{260, 140}));
    EXPECT_EQ(read[0].pt, (POINT{260, 140}));
}

TEST_F(DesktopTest, EventsOfAnAttachedSdlWindowGoToItsWindow) {
    SDL_Window* sdl = SDL_CreateWindow("Test", 40, 30, 320, 200, SDL_WINDOW_HIDDEN);
    ASSERT_NE(sdl, nullptr) << SDL_GetError();
    const HWND other = CreateTestWindow();
    const HWND window = CreateTestWindow();
    AttachSdlWindow(window, sdl);
    EXPECT_EQ(GetSdlWindow(window), sdl);
    DispatchAll(); // whatever SDL said about the new window

    SDL_Event key = KeyDown(SDL_SCANCODE_B);
    key.key.windowID = SDL_GetWindowID(sdl);
    Push(key);
    Push(KeyDown(SDL_SCANCODE_C)); // for no window in particular: the main one
    const std::vector<MSG> read = DispatchAll();
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].hwnd, window);
    EXPECT_EQ(read[1].hwnd, other);

    RECT rect;
    EXPECT_TRUE(GetWindowRect(window, &rect));
    EXPECT_EQ(rect, (RECT{40, 30, 360, 230}));
    SetClientMapping(window, {[](POINT p) {
                                  return POINT{p.x * 2, p.y * 2};
                              },
                              [](POINT p) {
                                  return POINT{p.x / 2, p.y / 2};
                              },
                              [] {
                                  return SIZE{640, 400};
                              }});
    EXPECT_TRUE(GetClientRect(window, &rect));
    EXPECT_EQ(rect, (RECT{0, 0, 640, 400}));
    POINT point{100, 60};
    EXPECT_TRUE(ClientToScreen(window, &point));
    EXPECT_EQ(point, (POINT{90, 60}));
    EXPECT_TRUE(ScreenToClient(window, &point));
    EXPECT_EQ(point, (POINT{100, 60}));

    DestroyWindow(window);
    EXPECT_NE(SDL_GetWindowID(sdl), 0u); // the display code's to destroy
    SDL_DestroyWindow(sdl);
}

TEST_F(DesktopTest, WindowsAreMadeFromRegisteredClasses) {
    const HWND window = CreateTestWindow(CS_DBLCLKS, 10, 20, 300, 200);
    WNDCLASS again;
    again.lpfnWndProc = DefWindowProc;
    again.lpszClassName = "testwindow"; // class names ignore case
    EXPECT_EQ(RegisterClass(again), 0);
    EXPECT_EQ(CreateWindowEx(0, "NoSuchClass", "", 0, 0, 0, 0, 0, nullptr, nullptr), nullptr);
    EXPECT_FALSE(UnregisterClass("TestWindow", nullptr)); // a window still uses it

    Handler = [](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_CREATE)
            return -1;
        return std::nullopt;
    };
    EXPECT_EQ(CreateWindowEx(0, "TestWindow", "", 0, 0, 0, 0, 0, nullptr, nullptr), nullptr);
    Handler = nullptr;

    SetWindowLong(window, GWL_STYLE, static_cast<LONG>(WS_POPUP | WS_SYSMENU));
    EXPECT_EQ(static_cast<DWORD>(GetWindowLong(window, GWL_STYLE)), WS_POPUP | WS_SYSMENU);
    EXPECT_FALSE(ShowWindow(window, SW_SHOW));
    EXPECT_EQ(static_cast<DWORD>(GetWindowLong(window, GWL_STYLE)),
              WS_POPUP | WS_SYSMENU | WS_VISIBLE);

    Received.clear();
    EXPECT_TRUE(MoveWindow(window, 50, 60, 400, 300, TRUE));
    EXPECT_EQ(ReceivedCodes(), (std::vector<UINT>{WM_MOVE, WM_SIZE}));
    EXPECT_EQ(Received[0].lParam, MAKELPARAM(50, 60));
    EXPECT_EQ(Received[1].lParam, MAKELPARAM(400, 300));
    RECT rect;
    EXPECT_TRUE(GetClientRect(window, &rect));
    EXPECT_EQ(rect, (RECT{0, 0, 400, 300}));
    POINT point{5, 6};
    EXPECT_TRUE(ClientToScreen(window, &point));
    EXPECT_EQ(point, (POINT{55, 66}));

    Received.clear();
    EXPECT_TRUE(ShowWindow(window, SW_MINIMIZE));
    EXPECT_TRUE(IsIconic(window));
    ShowWindow(window, SW_RESTORE);
    EXPECT_FALSE(IsIconic(window));
    EXPECT_EQ(ReceivedCodes(), (std::vector<UINT>{WM_SIZE, WM_SIZE}));
    EXPECT_EQ(Received[0].wParam, SIZE_MINIMIZED);
    EXPECT_EQ(Received[1].wParam, SIZE_RESTORED);
    EXPECT_EQ(GetSystemMetrics(SM_CXFIXEDFRAME), 0);
    EXPECT_GT(GetSystemMetrics(SM_CXSCREEN), 0);
}

TEST_F(DesktopTest, ALoopRunInsideASentMessageStillGetsTheInputAfterIt) {
    CreateTestWindow();
    std::vector<UINT> readInside;
    Handler = [&](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_ACTIVATEAPP) { // say, a dialog shown on activation
            MSG msg;
            while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
                readInside.push_back(msg.message);
        }
        return std::nullopt;
    };
    Push(Window(SDL_WINDOWEVENT_FOCUS_GAINED));
    Push(KeyDown(SDL_SCANCODE_ESCAPE));
    DispatchAll();
    EXPECT_EQ(readInside, (std::vector<UINT>{WM_KEYDOWN, WM_CHAR}));
}
