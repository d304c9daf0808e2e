#include "platform/win32/WinQueue.h"

#include "platform/win32/Clock.h"
#include "platform/win32/DesktopState.h"

namespace Win32 {

namespace {

// How often a waiting thread looks at SDL's events; posted messages wake it at once.
constexpr std::chrono::milliseconds kSdlPollInterval{5};

TDesktop::TState& State() {
    return CurrentDesktop().State();
}

std::optional<MSG> Take(TDesktop::TState& state, HWND window, UINT first, UINT last, bool remove) {
    state.PumpSdl();
    auto msg = state.Queue.Peek(window, first, last, remove);
    if (!msg)
        return std::nullopt;
    if (msg->message == WM_QUIT) {
        msg->time = timeGetTime();
        const std::lock_guard lock(state.Lock);
        msg->pt = state.CursorScreen;
    }
    // Windows moves the thread's key state along as it reads input.
    if (remove)
        state.Keys.Apply(msg->message, msg->wParam, msg->lParam);
    return msg;
}

} // namespace

BOOL PeekMessage(MSG* msg, HWND window, UINT first, UINT last, UINT removeFlags) {
    auto& state = State();
    if (!msg || (window && !state.Exists(window)))
        return FALSE;
    const auto taken = Take(state, window, first, last, (removeFlags & PM_REMOVE) != 0);
    if (!taken)
        return FALSE;
    *msg = *taken;
    return TRUE;
}

BOOL GetMessage(MSG* msg, HWND window, UINT first, UINT last) {
    auto& state = State();
    if (!msg || (window && !state.Exists(window)))
        return -1;
    for (;;) {
        const uint64_t posted = state.Queue.PostCount();
        if (const auto taken = Take(state, window, first, last, true)) {
            *msg = *taken;
            return taken->message == WM_QUIT ? 0 : 1;
        }
        // Only something new can match the filter.
        while (state.Queue.PostCount() == posted && state.PumpSdl() == 0)
            state.Queue.WaitForPost(posted, kSdlPollInterval);
    }
}

BOOL WaitMessage() {
    auto& state = State();
    for (;;) {
        // Sent messages count: an activation must wake an inactive loop.
        if (state.PumpSdl() > 0 || state.Queue.HasMessages())
            return TRUE;
        state.Queue.WaitFor(kSdlPollInterval);
    }
}

BOOL PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto& state = State();
    if (window && !state.Exists(window))
        return FALSE;
    MSG msg;
    msg.hwnd = window;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = timeGetTime();
    {
        const std::lock_guard lock(state.Lock);
        msg.pt = state.CursorScreen;
    }
    state.Queue.Post(msg);
    return TRUE;
}

void PostQuitMessage(int exitCode) {
    State().Queue.PostQuit(exitCode);
}

BOOL TranslateMessage(const MSG* msg) {
    if (!msg)
        return FALSE;
    switch (msg->message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
        return TRUE;
    default:
        return FALSE;
    }
}

LRESULT DispatchMessage(const MSG* msg) {
    if (!msg || !msg->hwnd)
        return 0;
    return SendMessage(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

} // namespace Win32
