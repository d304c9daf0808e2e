// What a desktop holds. Internal to platform/: the Win32 calls reach it
// through CurrentDesktop().State().
#pragma once

#include "platform/win32/Desktop.h"
#include "platform/win32/KeyState.h"
#include "platform/win32/MessageQueue.h"
#include "platform/win32/SdlInput.h"
#include "platform/win32/WinWindow.h"

#include <SDL2/SDL_events.h>

#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace Win32 {

struct TWindowClass {
    UINT Style = 0;
    WNDPROC Procedure;
    HCURSOR Cursor = nullptr;
};

struct TWindow {
    WNDPROC Procedure;
    UINT ClassStyle = 0;
    HCURSOR ClassCursor = nullptr;
    std::string ClassName;
    DWORD Style = 0; // without the state bits WS_VISIBLE, WS_MINIMIZE, WS_MAXIMIZE
    DWORD ExStyle = 0;
    RECT Placement; // screen rectangle while no SDL window is attached
    bool Visible = false;
    bool Minimized = false;
    bool Maximized = false;
    bool Destroying = false;
    SDL_Window* Sdl = nullptr;
    TClientMapping Mapping;
};

struct TDesktop::TState {
    TState();

    // Guards the class and window tables, which other threads consult when
    // they post; window procedures and SDL are never called under it.
    mutable std::mutex Lock;
    std::map<std::string, TWindowClass> Classes; // by lower-case name
    std::map<uintptr_t, TWindow> Windows;
    uintptr_t NextWindow = 1;
    ATOM NextAtom = 0xC000;
    POINT CursorScreen; // for messages posted from other threads

    TMessageQueue Queue;
    TKeyState Keys; // as of the messages read from the queue
    TSdlInput Input;
    HWND Capture = nullptr;
    HWND Focus = nullptr;
    HWND Active = nullptr;
    int CursorCounter = 0;
    HCURSOR Cursor;

    // A copy of the window's record; nullopt for an invalid handle.
    std::optional<TWindow> Find(HWND window) const;
    bool Exists(HWND window) const;
    template <typename Change>
    bool Update(HWND window, Change change) {
        const std::lock_guard lock(Lock);
        const auto found = Windows.find(reinterpret_cast<uintptr_t>(window));
        if (found == Windows.end())
            return false;
        change(found->second);
        return true;
    }
    // The window that gets input not addressed to one: the active window, else
    // the oldest.
    HWND MainWindow() const;
    HWND WindowForSdl(Uint32 windowId) const;

    POINT Origin(const TWindow& window) const;
    SIZE PixelSize(const TWindow& window) const;
    SIZE ClientSize(const TWindow& window) const;

    // Feeds SDL's waiting events to the windows; returns how many it handled.
    int PumpSdl();
    void HandleSdlEvent(const SDL_Event& event);
    void HandleWindowEvent(const SDL_WindowEvent& event);
    void SetMinimized(HWND window, bool minimized);
    void SetMaximized(HWND window, bool maximized);
    void SendSize(HWND window);
    void ApplyCursor() const;
};

} // namespace Win32
