// The up/down and toggle state of every virtual key, kept the way GetKeyState
// reports it: Shift, Ctrl and Alt are down while either of their two keys is.
#pragma once

#include "platform/WinTypes.h"

#include <array>

namespace Win32 {

class TKeyState {
public:
    // Follows a key or mouse-button message; other messages change nothing.
    void Apply(UINT message, WPARAM wParam, LPARAM lParam);
    void Press(UINT virtualKey);
    void Release(UINT virtualKey);
    bool IsDown(UINT virtualKey) const;
    // Negative while the key is down; bit 0 toggles at every press.
    SHORT Get(UINT virtualKey) const;
    void Clear() { FKeys.fill(0); }

private:
    static constexpr BYTE kDown = 0x80;
    static constexpr BYTE kToggled = 0x01;
    void SetDown(UINT virtualKey, bool down);
    std::array<BYTE, 256> FKeys{};
};

} // namespace Win32
