// Turns SDL's keyboard and mouse events into the window messages Windows would
// produce for them, with their parameters packed as Windows packs them.
// Internal to platform/: the desktop feeds it and delivers what it returns.
#pragma once

#include "platform/WinTypes.h"
#include "platform/win32/KeyState.h"

#include <SDL2/SDL_events.h>

#include <functional>
#include <vector>

namespace Win32 {

// What the translation needs to know about the window the event is for.
struct TInputWindow {
    HWND Window = nullptr;
    bool DoubleClicks = false; // its class asks for double-clicks (CS_DBLCLKS)
    bool Captured = false;     // it holds the mouse capture
    POINT Origin;              // screen position of its top-left window pixel
    SIZE ClientSize;           // 0 x 0 when unknown
    // Window pixels to client coordinates; identity when empty.
    std::function<POINT(POINT)> ToClient;
    DWORD Time = 0;
};

// Posted messages go through the queue; sent ones straight to the window
// procedure, as Windows sends WM_SETCURSOR.
enum class TDelivery { Post, Send };

struct TInputMessage {
    TDelivery Delivery = TDelivery::Post;
    MSG Msg;
};

class TSdlInput {
public:
    static constexpr DWORD kDoubleClickTime = 500; // ms between the two presses
    static constexpr int kDoubleClickSize = 4;     // pixels: the presses lie in a 4 x 4 square

    std::vector<TInputMessage> Translate(const SDL_Event& event, const TInputWindow& window);

    // The keys and buttons as the events so far have left them.
    const TKeyState& Keys() const { return FKeys; }
    // The last mouse position SDL reported, in window pixels.
    POINT MousePosition() const { return FMouse; }
    // After the program moved the cursor itself.
    void SetMousePosition(POINT windowPixels) { FMouse = windowPixels; }
    // Forgets held keys and buttons and any half-made double-click.
    void Reset();

private:
    struct TPress {
        int Button = -1;
        POINT Point;
        DWORD Time = 0;
    };

    void TranslateKey(const SDL_KeyboardEvent& key, const TInputWindow& window,
                      std::vector<TInputMessage>& out);
    void TranslateText(const SDL_TextInputEvent& text, const TInputWindow& window,
                       std::vector<TInputMessage>& out);
    void TranslateMotion(const SDL_MouseMotionEvent& motion, const TInputWindow& window,
                         std::vector<TInputMessage>& out);
    void TranslateButton(const SDL_MouseButtonEvent& button, const TInputWindow& window,
                         std::vector<TInputMessage>& out);
    void TranslateWheel(const SDL_MouseWheelEvent& wheel, const TInputWindow& window,
                        std::vector<TInputMessage>& out);

    bool IsDoubleClick(int button, POINT point, DWORD time);
    WPARAM MouseKeyFlags() const;
    POINT ClientPoint(const TInputWindow& window) const;
    void AddMouseMessage(UINT message, WPARAM wParam, const TInputWindow& window,
                         std::vector<TInputMessage>& out) const;
    TInputMessage MakeMessage(TDelivery delivery, const TInputWindow& window, UINT message,
                              WPARAM wParam, LPARAM lParam) const;

    TKeyState FKeys;
    POINT FMouse;
    TPress FLastPress;
    uint32_t FLastKeyDownBits = 1; // lParam of the last key press, copied into its characters
    float FWheelRest = 0;          // wheel motion finer than one unit of the 120 per notch
};

} // namespace Win32
