#include "tests/platform/win32/DesktopFixture.h"
#include "tests/platform/win32/SdlEventBuilders.h"

#include <chrono>
#include <thread>

using namespace Win32;
using namespace std::chrono_literals;

TEST_F(DesktopTest, QuitComesOnlyAfterEveryOtherMessage) {
    const HWND window = CreateTestWindow();
    PostMessage(window, WM_USER, 1, 10);
    PostQuitMessage(5);
    PostMessage(nullptr, WM_USER + 1, 2, 20); // posted after the quit, still read before it

    MSG msg;
    for (int i = 0; i < 2; ++i) { // looking does not take
        ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE));
        EXPECT_EQ(msg.message, WM_USER);
    }
    ASSERT_EQ(GetMessage(&msg, nullptr, 0, 0), 1);
    EXPECT_EQ(msg.hwnd, window);
    EXPECT_EQ(msg.lParam, 10);
    ASSERT_EQ(GetMessage(&msg, nullptr, 0, 0), 1);
    EXPECT_EQ(msg.hwnd, nullptr);
    EXPECT_EQ(msg.message, WM_USER + 1);
    EXPECT_EQ(DispatchMessage(&msg), 0); // thread messages reach no procedure
    EXPECT_EQ(GetMessage(&msg, nullptr, 0, 0), 0);
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 5u);
    EXPECT_FALSE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(DesktopTest, FiltersPickMessagesByWindowAndCode) {
    const HWND first = CreateTestWindow();
    const HWND second = CreateTestWindow();
    PostMessage(first, WM_MOUSEMOVE, 0, 0);
    PostMessage(second, WM_KEYDOWN, 'A', 0);
    PostMessage(first, WM_KEYDOWN, 'B', 0);

    MSG msg;
    ASSERT_TRUE(PeekMessage(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE));
    EXPECT_EQ(msg.wParam, WPARAM{'A'});
    ASSERT_TRUE(PeekMessage(&msg, first, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE));
    EXPECT_EQ(msg.wParam, WPARAM{'B'});
    EXPECT_FALSE(PeekMessage(&msg, second, 0, 0, PM_REMOVE));
    PostQuitMessage(0);
    ASSERT_TRUE(PeekMessage(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_QUIT); // whatever the filter
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_MOUSEMOVE);
}

TEST_F(DesktopTest, DestroyedWindowsTakeNoMessages) {
    const HWND window = CreateTestWindow();
    PostMessage(window, WM_USER, 0, 0);
    PostMessage(nullptr, WM_USER, 0, 0);
    EXPECT_TRUE(DestroyWindow(window));
    EXPECT_FALSE(DestroyWindow(window));
    EXPECT_FALSE(PostMessage(window, WM_USER, 0, 0));
    EXPECT_EQ(SendMessage(window, WM_USER, 0, 0), 0);

    MSG msg;
    EXPECT_EQ(GetMessage(&msg, window, 0, 0), -1);
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, nullptr);
    EXPECT_FALSE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));

    // A new window never takes over the old one's handle.
    EXPECT_NE(CreateTestWindow(), window);
}

TEST_F(DesktopTest, WaitingEndsWhenAnotherThreadPostsOrInputArrives) {
    CreateTestWindow();
    std::thread poster([] {
        std::this_thread::sleep_for(20ms);
        PostMessage(nullptr, WM_APP, 7, 0);
    });
    EXPECT_TRUE(WaitMessage());
    poster.join();
    MSG msg;
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_APP);

    std::thread typist([] {
        std::this_thread::sleep_for(20ms);
        SDL_Event key = TestSdl::KeyDown(SDL_SCANCODE_Z);
        SDL_PushEvent(&key);
    });
    ASSERT_EQ(GetMessage(&msg, nullptr, 0, 0), 1);
    typist.join();
    EXPECT_EQ(msg.message, WM_KEYDOWN);
    EXPECT_EQ(msg.wParam, WPARAM{'Z'});

    // A filter waits for what it asks for, not for the first thing posted.
    PostMessage(nullptr, WM_USER, 0, 0);
    std::thread late([] {
        std::this_thread::sleep_for(20ms);
        PostMessage(nullptr, WM_APP, 0, 0);
    });
    ASSERT_EQ(GetMessage(&msg, nullptr, WM_APP, WM_APP), 1);
    late.join();
    EXPECT_EQ(msg.message, WM_APP);
}
