// Virtual-key codes with the values Windows gives them. Letters and digits are
// their upper-case ASCII codes ('A' to 'Z', '0' to '9').
#pragma once

#include "platform/WinTypes.h"

namespace Win32 {

constexpr UINT VK_LBUTTON = 0x01;
constexpr UINT VK_RBUTTON = 0x02;
constexpr UINT VK_CANCEL = 0x03;
constexpr UINT VK_MBUTTON = 0x04;
constexpr UINT VK_BACK = 0x08;
constexpr UINT VK_TAB = 0x09;
constexpr UINT VK_CLEAR = 0x0C;
constexpr UINT VK_RETURN = 0x0D;
constexpr UINT VK_SHIFT = 0x10;
constexpr UINT VK_CONTROL = 0x11;
constexpr UINT VK_MENU = 0x12;
constexpr UINT VK_PAUSE = 0x13;
constexpr UINT VK_CAPITAL = 0x14;
constexpr UINT VK_ESCAPE = 0x1B;
constexpr UINT VK_SPACE = 0x20;
constexpr UINT VK_PRIOR = 0x21;
constexpr UINT VK_NEXT = 0x22;
constexpr UINT VK_END = 0x23;
constexpr UINT VK_HOME = 0x24;
constexpr UINT VK_LEFT = 0x25;
constexpr UINT VK_UP = 0x26;
constexpr UINT VK_RIGHT = 0x27;
constexpr UINT VK_DOWN = 0x28;
constexpr UINT VK_SNAPSHOT = 0x2C;
constexpr UINT VK_INSERT = 0x2D;
constexpr UINT VK_DELETE = 0x2E;
constexpr UINT VK_LWIN = 0x5B;
constexpr UINT VK_RWIN = 0x5C;
constexpr UINT VK_APPS = 0x5D;
constexpr UINT VK_NUMPAD0 = 0x60;
constexpr UINT VK_NUMPAD1 = 0x61;
constexpr UINT VK_NUMPAD2 = 0x62;
constexpr UINT VK_NUMPAD3 = 0x63;
constexpr UINT VK_NUMPAD4 = 0x64;
constexpr UINT VK_NUMPAD5 = 0x65;
constexpr UINT VK_NUMPAD6 = 0x66;
constexpr UINT VK_NUMPAD7 = 0x67;
constexpr UINT VK_NUMPAD8 = 0x68;
constexpr UINT VK_NUMPAD9 = 0x69;
constexpr UINT VK_MULTIPLY = 0x6A;
constexpr UINT VK_ADD = 0x6B;
constexpr UINT VK_SEPARATOR = 0x6C;
constexpr UINT VK_SUBTRACT = 0x6D;
constexpr UINT VK_DECIMAL = 0x6E;
constexpr UINT VK_DIVIDE = 0x6F;
constexpr UINT VK_F1 = 0x70;
constexpr UINT VK_F2 = 0x71;
constexpr UINT VK_F3 = 0x72;
constexpr UINT VK_F4 = 0x73;
constexpr UINT VK_F5 = 0x74;
constexpr UINT VK_F6 = 0x75;
constexpr UINT VK_F7 = 0x76;
constexpr UINT VK_F8 = 0x77;
constexpr UINT VK_F9 = 0x78;
constexpr UINT VK_F10 = 0x79;
constexpr UINT VK_F11 = 0x7A;
constexpr UINT VK_F12 = 0x7B;
constexpr UINT VK_NUMLOCK = 0x90;
constexpr UINT VK_SCROLL = 0x91;
constexpr UINT VK_LSHIFT = 0xA0;
constexpr UINT VK_RSHIFT = 0xA1;
constexpr UINT VK_LCONTROL = 0xA2;
constexpr UINT VK_RCONTROL = 0xA3;
constexpr UINT VK_LMENU = 0xA4;
constexpr UINT VK_RMENU = 0xA5;
constexpr UINT VK_OEM_1 = 0xBA;      // ;:
constexpr UINT VK_OEM_PLUS = 0xBB;   // =+
constexpr UINT VK_OEM_COMMA = 0xBC;  // ,<
constexpr UINT VK_OEM_MINUS = 0xBD;  // -_
constexpr UINT VK_OEM_PERIOD = 0xBE; // .>
constexpr UINT VK_OEM_2 = 0xBF;      // /?
constexpr UINT VK_OEM_3 = 0xC0;      // `~
constexpr UINT VK_OEM_4 = 0xDB;      // [{
constexpr UINT VK_OEM_5 = 0xDC;      // backslash |
constexpr UINT VK_OEM_6 = 0xDD;      // ]}
constexpr UINT VK_OEM_7 = 0xDE;      // '"
constexpr UINT VK_OEM_102 = 0xE2;    // the extra key beside the left Shift

} // namespace Win32
