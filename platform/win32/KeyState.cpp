#include "platform/win32/KeyState.h"

#include "platform/win32/VirtualKeys.h"
#include "platform/win32/WinMessages.h"

namespace Win32 {

namespace {

constexpr BYTE kRightShiftScanCode = 0x36;

// The left or right key behind a generic Shift, Ctrl or Alt message.
UINT SidedKey(UINT virtualKey, LPARAM lParam) {
    const auto bits = static_cast<uint32_t>(lParam);
    const bool extended = (bits & KeyFlagBits(KF_EXTENDED)) != 0;
    switch (virtualKey) {
    case VK_SHIFT:
        return ((bits >> 16) & 0xFF) == kRightShiftScanCode ? VK_RSHIFT : VK_LSHIFT;
    case VK_CONTROL:
        return extended ? VK_RCONTROL : VK_LCONTROL;
    case VK_MENU:
        return extended ? VK_RMENU : VK_LMENU;
    default:
        return virtualKey;
    }
}

} // namespace

void TKeyState::Apply(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        Press(SidedKey(static_cast<UINT>(wParam & 0xFF), lParam));
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        Release(SidedKey(static_cast<UINT>(wParam & 0xFF), lParam));
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        Press(VK_LBUTTON);
        break;
    case WM_LBUTTONUP:
        Release(VK_LBUTTON);
        break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        Press(VK_RBUTTON);
        break;
    case WM_RBUTTONUP:
        Release(VK_RBUTTON);
        break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        Press(VK_MBUTTON);
        break;
    case WM_MBUTTONUP:
        Release(VK_MBUTTON);
        break;
    default:
        break;
    }
}

void TKeyState::Press(UINT virtualKey) {
    if (virtualKey >= FKeys.size())
        return;
    if (!IsDown(virtualKey))
        FKeys[virtualKey] ^= kToggled;
    SetDown(virtualKey, true);
}

void TKeyState::Release(UINT virtualKey) {
    if (virtualKey < FKeys.size())
        SetDown(virtualKey, false);
}

void TKeyState::SetDown(UINT virtualKey, bool down) {
    BYTE& key = FKeys[virtualKey];
    key = static_cast<BYTE>(down ? (key | kDown) : (key & ~kDown));
    const auto generic = [this](UINT genericKey, UINT left, UINT right) {
        const bool either = ((FKeys[left] | FKeys[right]) & kDown) != 0;
        BYTE& state = FKeys[genericKey];
        if (either && (state & kDown) == 0)
            state ^= kToggled;
        state = static_cast<BYTE>(either ? (state | kDown) : (state & ~kDown));
    };
    if (virtualKey == VK_LSHIFT || virtualKey == VK_RSHIFT)
        generic(VK_SHIFT, VK_LSHIFT, VK_RSHIFT);
    else if (virtualKey == VK_LCONTROL || virtualKey == VK_RCONTROL)
        generic(VK_CONTROL, VK_LCONTROL, VK_RCONTROL);
    else if (virtualKey == VK_LMENU || virtualKey == VK_RMENU)
        generic(VK_MENU, VK_LMENU, VK_RMENU);
}

bool TKeyState::IsDown(UINT virtualKey) const {
    return virtualKey < FKeys.size() && (FKeys[virtualKey] & kDown) != 0;
}

SHORT TKeyState::Get(UINT virtualKey) const {
    if (virtualKey >= FKeys.size())
        return 0;
    const BYTE key = FKeys[virtualKey];
    return static_cast<SHORT>(((key & kDown) ? 0xFF80 : 0) | (key & kToggled));
}

} // namespace Win32
