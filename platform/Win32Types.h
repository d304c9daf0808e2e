// Small Win32 value types shared by the window, GDI and DirectX stand-ins.
#pragma once

#include <cstdint>

namespace Win32 {

class SdlWindow;
// A window is our SDL-backed window object; null means no window (headless use).
using HWND = SdlWindow*;

struct RECT {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

inline bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// The pixels a device context draws into: the locked memory of a surface.
struct TDeviceContext {
    uint8_t* Bits = nullptr;
    int32_t Pitch = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t BitsPerPixel = 0;
};
using HDC = TDeviceContext*;

struct GUID {
    uint32_t Data1 = 0;
    uint16_t Data2 = 0;
    uint16_t Data3 = 0;
    uint8_t Data4[8] = {};
};

inline bool operator==(const GUID& a, const GUID& b) {
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3)
        return false;
    for (int i = 0; i < 8; ++i)
        if (a.Data4[i] != b.Data4[i])
            return false;
    return true;
}

} // namespace Win32
