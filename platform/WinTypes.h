// The basic Win32 types of windows and messages, and the helpers that pack and
// unpack message parameters. Parameters keep the 32-bit packing of Windows: an
// lParam is a sign-extended 32-bit value, so a key-up or a point above the
// window reads as negative just as it does there.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>

namespace Win32 {

using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using UINT = uint32_t;
using LONG = int32_t;
using SHORT = int16_t;
using BOOL = int;
using ATOM = uint16_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;

constexpr BOOL FALSE = 0;
constexpr BOOL TRUE = 1;

// Opaque handles: windows are numbered and never reuse a number, so a stale
// handle is recognised as invalid instead of naming a newer window.
struct HWND__;
struct HINSTANCE__;
struct HICON__;
struct HCURSOR__;
struct HBRUSH__;
using HWND = HWND__*;
using HINSTANCE = HINSTANCE__*;
using HICON = HICON__*;
using HCURSOR = HCURSOR__*;
using HBRUSH = HBRUSH__*;

struct POINT {
    LONG x = 0;
    LONG y = 0;
    friend bool operator==(const POINT&, const POINT&) = default;
};

struct SIZE {
    LONG cx = 0;
    LONG cy = 0;
    friend bool operator==(const SIZE&, const SIZE&) = default;
};

struct RECT {
    LONG left = 0;
    LONG top = 0;
    LONG right = 0;
    LONG bottom = 0;
    friend bool operator==(const RECT&, const RECT&) = default;
};

// Right and bottom are exclusive: a rectangle without width or height covers nothing.
inline bool IsEmpty(const RECT& r) {
    return r.left >= r.right || r.top >= r.bottom;
}
// The part both rectangles cover; empty when they do not meet.
inline RECT Intersect(const RECT& a, const RECT& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

struct MSG {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    DWORD time = 0;
    POINT pt;
};

using WNDPROC = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;

constexpr WORD LOWORD(uintptr_t value) {
    return static_cast<WORD>(value & 0xFFFF);
}
constexpr WORD HIWORD(uintptr_t value) {
    return static_cast<WORD>((value >> 16) & 0xFFFF);
}
constexpr DWORD MAKELONG(uint32_t low, uint32_t high) {
    return (low & 0xFFFF) | ((high & 0xFFFF) << 16);
}
constexpr WPARAM MAKEWPARAM(uint32_t low, uint32_t high) {
    return MAKELONG(low, high);
}
constexpr LPARAM MAKELPARAM(uint32_t low, uint32_t high) {
    return static_cast<int32_t>(MAKELONG(low, high));
}
// Packs a 32-bit parameter the way a 32-bit LPARAM holds it (bit 31 = sign).
constexpr LPARAM LParamFromBits(uint32_t bits) {
    return static_cast<int32_t>(bits);
}

// Mouse coordinates are signed 16-bit values: while the mouse is captured a
// point left of or above the window is negative. Never read them with LOWORD.
constexpr int GET_X_LPARAM(LPARAM lParam) {
    return static_cast<SHORT>(LOWORD(static_cast<uintptr_t>(lParam)));
}
constexpr int GET_Y_LPARAM(LPARAM lParam) {
    return static_cast<SHORT>(HIWORD(static_cast<uintptr_t>(lParam)));
}
constexpr POINT PointFromLParam(LPARAM lParam) {
    return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}
constexpr LPARAM PointToLParam(int x, int y) {
    return MAKELPARAM(static_cast<uint32_t>(x), static_cast<uint32_t>(y));
}
constexpr int GET_WHEEL_DELTA_WPARAM(WPARAM wParam) {
    return static_cast<SHORT>(HIWORD(wParam));
}
constexpr WORD GET_KEYSTATE_WPARAM(WPARAM wParam) {
    return LOWORD(wParam);
}

} // namespace Win32
