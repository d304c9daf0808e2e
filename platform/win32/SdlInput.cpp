#include "platform/win32/SdlInput.h"

#include "platform/win32/AnsiText.h"
#include "platform/win32/SdlKeys.h"
#include "platform/win32/VirtualKeys.h"
#include "platform/win32/WinMessages.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace Win32 {

namespace {

struct TButtonMessages {
    UINT Down, Up, DoubleClick;
};

// Mouse buttons in the order left, right, middle; SDL numbers them left,
// middle, right.
constexpr TButtonMessages kButtonMessages[3] = {
    {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK},
    {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK},
    {WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK},
};

std::optional<int> ButtonIndex(Uint8 sdlButton) {
    switch (sdlButton) {
    case SDL_BUTTON_LEFT:
        return 0;
    case SDL_BUTTON_RIGHT:
        return 1;
    case SDL_BUTTON_MIDDLE:
        return 2;
    default:
        return std::nullopt;
    }
}

// The character Windows makes of a key that types no text: Backspace, Tab,
// Enter and Escape, and the control characters of Ctrl with a letter.
std::optional<char> ControlCharacter(UINT virtualKey, bool ctrl, bool alt) {
    if (ctrl && alt) // AltGr: a layout's third level, never a control character
        return std::nullopt;
    switch (virtualKey) {
    case VK_BACK:
        return ctrl ? '\x7F' : '\b';
    case VK_TAB:
        return ctrl ? std::nullopt : std::optional<char>('\t');
    case VK_RETURN:
        return ctrl ? '\n' : '\r';
    case VK_ESCAPE:
        return '\x1B';
    default:
        if (ctrl && virtualKey >= 'A' && virtualKey <= 'Z')
            return static_cast<char>(virtualKey - 'A' + 1);
        return std::nullopt;
    }
}

} // namespace

std::vector<TInputMessage> TSdlInput::Translate(const SDL_Event& event,
                                                const TInputWindow& window) {
    std::vector<TInputMessage> out;
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        TranslateKey(event.key, window, out);
        break;
    case SDL_TEXTINPUT:
        TranslateText(event.text, window, out);
        break;
    case SDL_MOUSEMOTION:
        TranslateMotion(event.motion, window, out);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        TranslateButton(event.button, window, out);
        break;
    case SDL_MOUSEWHEEL:
        TranslateWheel(event.wheel, window, out);
        break;
    default:
        break;
    }
    return out;
}

void TSdlInput::Reset() {
    FKeys.Clear();
    FLastPress = {};
    FWheelRest = 0;
}

void TSdlInput::TranslateKey(const SDL_KeyboardEvent& key, const TInputWindow& window,
                             std::vector<TInputMessage>& out) {
    const TWindowsKey windowsKey = WindowsKeyFromSdl(key.keysym);
    const UINT vk = windowsKey.VirtualKey;
    if (vk == 0)
        return;
    const bool down = key.type == SDL_KEYDOWN;
    // A key pressed with Alt held is a system key, unless Ctrl is held too
    // (AltGr); a key released is one when Alt was held as it went up. F10 is
    // always one.
    const bool altBefore = FKeys.IsDown(VK_MENU);
    const bool ctrlBefore = FKeys.IsDown(VK_CONTROL);

    uint32_t bits = 1 | (static_cast<uint32_t>(windowsKey.ScanCode) << 16);
    if (windowsKey.Extended)
        bits |= KeyFlagBits(KF_EXTENDED);
    if (!down)
        bits |= KeyFlagBits(KF_REPEAT | KF_UP);
    else if (key.repeat != 0)
        bits |= KeyFlagBits(KF_REPEAT);
    FKeys.Apply(down ? WM_KEYDOWN : WM_KEYUP, vk, LParamFromBits(bits));
    const bool alt = FKeys.IsDown(VK_MENU);
    const bool ctrl = FKeys.IsDown(VK_CONTROL);
    // The context bit tells whether Alt is down once the key has moved, so
    // releasing Alt itself clears it.
    if (alt)
        bits |= KeyFlagBits(KF_ALTDOWN);

    const bool system = vk == VK_F10 || (down ? alt && !ctrl : altBefore && !ctrlBefore);
    const UINT message =
        down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    const LPARAM lParam = LParamFromBits(bits);
    out.push_back(MakeMessage(TDelivery::Post, window, message, vk, lParam));
    if (!down)
        return;

    FLastKeyDownBits = bits;
    if (const auto character = ControlCharacter(vk, ctrl, alt)) {
        const UINT charMessage = alt ? WM_SYSCHAR : WM_CHAR;
        out.push_back(MakeMessage(TDelivery::Post, window, charMessage,
                                  static_cast<BYTE>(*character), lParam));
    }
}

void TSdlInput::TranslateText(const SDL_TextInputEvent& text, const TInputWindow& window,
                              std::vector<TInputMessage>& out) {
    // The right Alt types a layout's third level here (AltGr, which Windows
    // reports as Ctrl+Alt), so only the left one makes system characters.
    const bool system = FKeys.IsDown(VK_LMENU) && !FKeys.IsDown(VK_CONTROL);
    const UINT message = system ? WM_SYSCHAR : WM_CHAR;
    for (const char character : AnsiFromUtf8(text.text)) {
        out.push_back(MakeMessage(TDelivery::Post, window, message, static_cast<BYTE>(character),
                                  LParamFromBits(FLastKeyDownBits)));
    }
}

void TSdlInput::TranslateMotion(const SDL_MouseMotionEvent& motion, const TInputWindow& window,
                                std::vector<TInputMessage>& out) {
    FMouse = {motion.x, motion.y};
    AddMouseMessage(WM_MOUSEMOVE, MouseKeyFlags(), window, out);
}

void TSdlInput::TranslateButton(const SDL_MouseButtonEvent& button, const TInputWindow& window,
                                std::vector<TInputMessage>& out) {
    const auto index = ButtonIndex(button.button);
    if (!index)
        return;
    FMouse = {button.x, button.y};
    const TButtonMessages& messages = kButtonMessages[*index];
    UINT message = messages.Up;
    if (button.type == SDL_MOUSEBUTTONDOWN) {
        message = window.DoubleClicks && IsDoubleClick(*index, FMouse, window.Time)
                      ? messages.DoubleClick
                      : messages.Down;
    }
    FKeys.Apply(message, 0, 0);
    AddMouseMessage(message, MouseKeyFlags(), window, out);
}

void TSdlInput::TranslateWheel(const SDL_MouseWheelEvent& wheel, const TInputWindow& window,
                               std::vector<TInputMessage>& out) {
    float notches = wheel.preciseY != 0 ? wheel.preciseY : static_cast<float>(wheel.y);
    if (wheel.direction == SDL_MOUSEWHEEL_FLIPPED)
        notches = -notches;
    const float units = notches * WHEEL_DELTA + FWheelRest;
    const float whole = std::trunc(units);
    FWheelRest = units - whole;
    const int delta = static_cast<int>(std::clamp(whole, -32768.0f, 32767.0f));
    if (delta == 0)
        return;
    // The wheel reports the cursor in screen coordinates.
    const POINT screen{window.Origin.x + FMouse.x, window.Origin.y + FMouse.y};
    out.push_back(MakeMessage(
        TDelivery::Post, window, WM_MOUSEWHEEL,
        MAKEWPARAM(static_cast<uint32_t>(MouseKeyFlags()), static_cast<uint32_t>(delta)),
        PointToLParam(screen.x, screen.y)));
}

bool TSdlInput::IsDoubleClick(int button, POINT point, DWORD time) {
    const int half = kDoubleClickSize / 2;
    const bool isDouble = FLastPress.Button == button &&
                          time - FLastPress.Time <= kDoubleClickTime &&
                          std::abs(point.x - FLastPress.Point.x) <= half &&
                          std::abs(point.y - FLastPress.Point.y) <= half;
    // A double-click ends the pair: the next press starts a new one.
    FLastPress = isDouble ? TPress{} : TPress{button, point, time};
    return isDouble;
}

WPARAM TSdlInput::MouseKeyFlags() const {
    WPARAM flags = 0;
    if (FKeys.IsDown(VK_LBUTTON))
        flags |= MK_LBUTTON;
    if (FKeys.IsDown(VK_RBUTTON))
        flags |= MK_RBUTTON;
    if (FKeys.IsDown(VK_MBUTTON))
        flags |= MK_MBUTTON;
    if (FKeys.IsDown(VK_SHIFT))
        flags |= MK_SHIFT;
    if (FKeys.IsDown(VK_CONTROL))
        flags |= MK_CONTROL;
    return flags;
}

POINT TSdlInput::ClientPoint(const TInputWindow& window) const {
    return window.ToClient ? window.ToClient(FMouse) : FMouse;
}

void TSdlInput::AddMouseMessage(UINT message, WPARAM wParam, const TInputWindow& window,
                                std::vector<TInputMessage>& out) const {
    const POINT client = ClientPoint(window);
    const bool known = window.ClientSize.cx > 0 && window.ClientSize.cy > 0;
    const bool inside =
        !known || (client.x >= 0 && client.y >= 0 && client.x < window.ClientSize.cx &&
                   client.y < window.ClientSize.cy);
    // Windows asks the window for its cursor before each mouse message, unless
    // the mouse is captured.
    if (!window.Captured && inside) {
        out.push_back(MakeMessage(TDelivery::Send, window, WM_SETCURSOR,
                                  reinterpret_cast<WPARAM>(window.Window),
                                  MAKELPARAM(HTCLIENT, message)));
    }
    out.push_back(
        MakeMessage(TDelivery::Post, window, message, wParam, PointToLParam(client.x, client.y)));
}

TInputMessage TSdlInput::MakeMessage(TDelivery delivery, const TInputWindow& window, UINT message,
                                     WPARAM wParam, LPARAM lParam) const {
    TInputMessage result;
    result.Delivery = delivery;
    result.Msg.hwnd = window.Window;
    result.Msg.message = message;
    result.Msg.wParam = wParam;
    result.Msg.lParam = lParam;
    result.Msg.time = window.Time;
    result.Msg.pt = {window.Origin.x + FMouse.x, window.Origin.y + FMouse.y};
    return result;
}

} // namespace Win32
