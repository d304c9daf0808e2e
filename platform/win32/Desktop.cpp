#include "platform/win32/Desktop.h"

#include "platform/NeverDestroyed.h"
#include "platform/win32/Clock.h"
#include "platform/win32/CloseSignals.h"
#include "platform/win32/DesktopState.h"
#include "platform/win32/WinInput.h"
#include "platform/win32/WinQueue.h"

#include <SDL2/SDL.h>

#include <atomic>

namespace Win32 {

TDesktop::TDesktop() : FState(std::make_unique<TState>()) {}
TDesktop::~TDesktop() = default;

namespace {
std::atomic<TDesktop*> currentDesktop{nullptr};

TDesktop& DefaultDesktop() {
    static TNeverDestroyed<TDesktop> desktop;
    return desktop.Get();
}
} // namespace

void SetDesktop(TDesktop* desktop) {
    currentDesktop.store(desktop);
}

TDesktop& CurrentDesktop() {
    TDesktop* desktop = currentDesktop.load();
    return desktop ? *desktop : DefaultDesktop();
}

TDesktop::TState::TState() : Cursor(LoadCursor(nullptr, IDC_ARROW)) {
    // Closing the window is the program's decision (WM_CLOSE), not SDL's: no
    // second quit request behind the window's own.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
}

std::optional<TWindow> TDesktop::TState::Find(HWND window) const {
    const std::lock_guard lock(Lock);
    const auto found = Windows.find(reinterpret_cast<uintptr_t>(window));
    if (found == Windows.end())
        return std::nullopt;
    return found->second;
}

bool TDesktop::TState::Exists(HWND window) const {
    const std::lock_guard lock(Lock);
    return Windows.contains(reinterpret_cast<uintptr_t>(window));
}

HWND TDesktop::TState::MainWindow() const {
    const std::lock_guard lock(Lock);
    if (Active && Windows.contains(reinterpret_cast<uintptr_t>(Active)))
        return Active;
    return Windows.empty() ? nullptr : reinterpret_cast<HWND>(Windows.begin()->first);
}

HWND TDesktop::TState::WindowForSdl(Uint32 windowId) const {
    if (windowId != 0) {
        const std::lock_guard lock(Lock);
        for (const auto& [handle, window] : Windows) {
            if (window.Sdl && SDL_GetWindowID(window.Sdl) == windowId)
                return reinterpret_cast<HWND>(handle);
        }
    }
    return MainWindow();
}

POINT TDesktop::TState::Origin(const TWindow& window) const {
    if (window.Sdl) {
        POINT origin;
        SDL_GetWindowPosition(window.Sdl, &origin.x, &origin.y);
        return origin;
    }
    return {window.Placement.left, window.Placement.top};
}

SIZE TDesktop::TState::PixelSize(const TWindow& window) const {
    if (window.Sdl) {
        SIZE size;
        SDL_GetWindowSize(window.Sdl, &size.cx, &size.cy);
        return size;
    }
    return {window.Placement.right - window.Placement.left,
            window.Placement.bottom - window.Placement.top};
}

SIZE TDesktop::TState::ClientSize(const TWindow& window) const {
    return window.Mapping.ClientSize ? window.Mapping.ClientSize() : PixelSize(window);
}

int TDesktop::TState::PumpSdl() {
    // A close asked for by a signal waits for a window to close.
    int posted = 0;
    if (CloseSignalPending())
        if (const HWND window = MainWindow(); window && TakeCloseSignal()) {
            PostMessage(window, WM_CLOSE, 0, 0);
            posted = 1;
        }
    if (SDL_WasInit(SDL_INIT_EVENTS) == 0)
        return posted;
    // Events are taken one at a time, so a window procedure that runs a loop
    // of its own while handling a sent message goes on with the next events.
    SDL_PumpEvents();
    int handled = 0;
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) {
        HandleSdlEvent(event);
        ++handled;
    }
    return handled + posted;
}

void TDesktop::TState::HandleSdlEvent(const SDL_Event& event) {
    if (event.type == SDL_WINDOWEVENT) {
        HandleWindowEvent(event.window);
        return;
    }
    if (event.type == SDL_QUIT) {
        if (const HWND window = MainWindow())
            SendMessage(window, WM_CLOSE, 0, 0);
        return;
    }
    Uint32 windowId = 0;
    bool mouse = false;
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        windowId = event.key.windowID;
        break;
    case SDL_TEXTINPUT:
        windowId = event.text.windowID;
        break;
    case SDL_MOUSEMOTION:
        windowId = event.motion.windowID;
        mouse = true;
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        windowId = event.button.windowID;
        mouse = true;
        break;
    case SDL_MOUSEWHEEL:
        windowId = event.wheel.windowID;
        mouse = true;
        break;
    default:
        return;
    }
    const HWND target = mouse && Exists(Capture) ? Capture : WindowForSdl(windowId);
    const auto window = Find(target);
    if (!window)
        return;
    TInputWindow input;
    input.Window = target;
    input.DoubleClicks = (window->ClassStyle & CS_DBLCLKS) != 0;
    input.Captured = Capture == target;
    input.Origin = Origin(*window);
    input.ClientSize = ClientSize(*window);
    input.ToClient = window->Mapping.FromWindow;
    input.Time = timeGetTime();
    const auto messages = Input.Translate(event, input);
    {
        const std::lock_guard lock(Lock);
        CursorScreen = {input.Origin.x + Input.MousePosition().x,
                        input.Origin.y + Input.MousePosition().y};
    }
    for (const TInputMessage& message : messages) {
        if (message.Delivery == TDelivery::Send)
            SendMessage(message.Msg.hwnd, message.Msg.message, message.Msg.wParam,
                        message.Msg.lParam);
        else
            Queue.Post(message.Msg);
    }
}

void TDesktop::TState::HandleWindowEvent(const SDL_WindowEvent& event) {
    const HWND window = WindowForSdl(event.windowID);
    const auto record = Find(window);
    if (!record)
        return;
    const WPARAM minimizedFlag = record->Minimized ? 1 : 0;
    switch (event.event) {
    case SDL_WINDOWEVENT_CLOSE:
        SendMessage(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        if (Active != window) {
            Active = window;
            SendMessage(window, WM_ACTIVATEAPP, TRUE, 0);
            SendMessage(window, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, minimizedFlag), 0);
        }
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        if (Active == window) {
            Active = nullptr;
            SendMessage(window, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, minimizedFlag), 0);
            SendMessage(window, WM_ACTIVATEAPP, FALSE, 0);
            if (Focus == window)
                SetFocus(nullptr);
        }
        break;
    case SDL_WINDOWEVENT_MINIMIZED:
        SetMinimized(window, true);
        break;
    case SDL_WINDOWEVENT_MAXIMIZED:
        SetMaximized(window, true);
        break;
    case SDL_WINDOWEVENT_RESTORED:
        if (record->Minimized)
            SetMinimized(window, false);
        else
            SetMaximized(window, false);
        break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        if (!record->Minimized)
            SendSize(window);
        break;
    case SDL_WINDOWEVENT_MOVED:
        SendMessage(window, WM_MOVE, 0, PointToLParam(event.data1, event.data2));
        break;
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_HIDDEN:
        Update(window, [&](TWindow& w) { w.Visible = event.event == SDL_WINDOWEVENT_SHOWN; });
        break;
    default:
        break;
    }
}

void TDesktop::TState::SetMinimized(HWND window, bool minimized) {
    bool changed = false;
    Update(window, [&](TWindow& w) {
        changed = w.Minimized != minimized;
        w.Minimized = minimized;
    });
    if (!changed)
        return;
    if (minimized)
        SendMessage(window, WM_SIZE, SIZE_MINIMIZED, 0);
    else
        SendSize(window);
}

void TDesktop::TState::SetMaximized(HWND window, bool maximized) {
    bool changed = false;
    Update(window, [&](TWindow& w) {
        changed = w.Maximized != maximized || w.Minimized;
        w.Maximized = maximized;
        w.Minimized = false;
    });
    if (changed)
        SendSize(window);
}

void TDesktop::TState::SendSize(HWND window) {
    const auto record = Find(window);
    if (!record)
        return;
    const SIZE size = ClientSize(*record);
    const WPARAM kind = record->Maximized ? SIZE_MAXIMIZED : SIZE_RESTORED;
    SendMessage(window, WM_SIZE, kind,
                MAKELPARAM(static_cast<uint32_t>(size.cx), static_cast<uint32_t>(size.cy)));
}

void TDesktop::TState::ApplyCursor() const {
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0)
        return;
    SDL_ShowCursor(CursorCounter >= 0 && Cursor ? SDL_ENABLE : SDL_DISABLE);
}

} // namespace Win32
