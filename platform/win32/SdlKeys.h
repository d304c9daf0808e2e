// How SDL's keys read as Windows keys: a virtual-key code, the set-1 scan code
// and the extended-key flag that key messages carry. Internal to platform/.
#pragma once

#include "platform/WinTypes.h"

#include <SDL2/SDL_keyboard.h>

namespace Win32 {

struct TWindowsKey {
    UINT VirtualKey = 0; // 0: Windows has no key for it
    BYTE ScanCode = 0;
    bool Extended = false;
    friend bool operator==(const TWindowsKey&, const TWindowsKey&) = default;
};

// Letters follow the keyboard layout (the key that types "a" is VK 'A'), every
// other key its position, as Windows does; the numeric keypad gives VK_NUMPAD0
// to VK_NUMPAD9 and VK_DECIMAL with Num Lock on and the navigation keys without.
TWindowsKey WindowsKeyFromSdl(const SDL_Keysym& key);

} // namespace Win32
