// Ctrl+C and SIGTERM become the main window's close request at the next look at the
// messages; one that comes before any window waits for one; a second signal while the
// first waits ends the process as the signal's default would.
#include "platform/win32/CloseSignals.h"
#include "platform/win32/WinMessages.h"
#include "tests/platform/win32/DesktopFixture.h"

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Puts the test process's own handlers back.
class CloseSignalsTest : public DesktopTest {
protected:
    CloseSignalsTest() {
        sigaction(SIGINT, nullptr, &FInt);
        sigaction(SIGTERM, nullptr, &FTerm);
        Win32::InstallCloseSignals();
    }
    ~CloseSignalsTest() override {
        Win32::TakeCloseSignal();
        sigaction(SIGINT, &FInt, nullptr);
        sigaction(SIGTERM, &FTerm, nullptr);
    }

    int CloseRequests() const {
        return int(std::count_if(Received.begin(), Received.end(),
                                 [](const auto& m) { return m.message == Win32::WM_CLOSE; }));
    }

private:
    struct sigaction FInt {};
    struct sigaction FTerm {};
};

TEST_F(CloseSignalsTest, EachSignalClosesTheMainWindowOnce) {
    Handler = [](Win32::HWND, Win32::UINT m, Win32::WPARAM, Win32::LPARAM) {
        // The program decides; here the window stays.
        return m == Win32::WM_CLOSE ? std::optional<Win32::LRESULT>(0) : std::nullopt;
    };
    const Win32::HWND window = CreateTestWindow();
    for (const int signal : {SIGTERM, SIGINT}) {
        std::raise(signal);
        DispatchAll();
        DispatchAll();
    }
    EXPECT_EQ(CloseRequests(), 2);
    EXPECT_TRUE(Win32::IsWindow(window));
    EXPECT_FALSE(Win32::CloseSignalPending());
}

TEST_F(CloseSignalsTest, ARequestBeforeAnyWindowWaitsForOne) {
    std::raise(SIGTERM);
    DispatchAll();
    EXPECT_TRUE(Win32::CloseSignalPending());
    const Win32::HWND window = CreateTestWindow();
    DispatchAll();
    EXPECT_EQ(CloseRequests(), 1);
    EXPECT_FALSE(Win32::IsWindow(window)); // DefWindowProc destroys it
}

TEST_F(CloseSignalsTest, ASecondSignalWhileTheFirstWaitsEndsTheProcess) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::raise(SIGTERM); // recorded
        std::raise(SIGTERM); // the default: the end
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGTERM);
}

} // namespace
