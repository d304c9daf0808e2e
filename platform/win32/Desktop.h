// The desktop of the program: its windows, the message queue of its window
// thread, and the keyboard, mouse and cursor state, over SDL2's video and
// events. The Win32 calls of WinWindow.h, WinQueue.h and WinInput.h work on the
// current desktop. The program uses the default one; a test installs its own
// with TScopedDesktop so that it starts from a clean slate.
#pragma once

#include <memory>

namespace Win32 {

class TDesktop {
public:
    TDesktop();
    ~TDesktop();
    TDesktop(const TDesktop&) = delete;
    TDesktop& operator=(const TDesktop&) = delete;

    struct TState; // platform/DesktopState.h
    TState& State() { return *FState; }

private:
    std::unique_ptr<TState> FState;
};

// Passing null restores the default desktop.
void SetDesktop(TDesktop* desktop);
TDesktop& CurrentDesktop();

class TScopedDesktop {
public:
    explicit TScopedDesktop(TDesktop& desktop) { SetDesktop(&desktop); }
    ~TScopedDesktop() { SetDesktop(nullptr); }
    TScopedDesktop(const TScopedDesktop&) = delete;
    TScopedDesktop& operator=(const TScopedDesktop&) = delete;
};

} // namespace Win32
