// Message boxes. Without a handler they show through SDL (or on standard error when no
// display is available); tests install a handler to see what the program says.
#pragma once

#include "platform/AnsiString.h"
#include "platform/Win32Types.h"

#include <cstdint>
#include <functional>

namespace Win32 {

constexpr uint32_t MB_OK = 0x0;
constexpr uint32_t MB_ICONERROR = 0x10;
constexpr uint32_t MB_ICONWARNING = 0x30;
constexpr uint32_t MB_ICONINFORMATION = 0x40;
constexpr int IDOK = 1;

using TMessageBoxHandler = std::function<int(HWND owner, const ClassLib::AnsiString& text,
                                             const ClassLib::AnsiString& caption, uint32_t type)>;

// Returns the button pressed (IDOK).
int MessageBoxA(HWND owner, const char* text, const char* caption, uint32_t type);
// Installs handler (empty: the default) and returns the one it replaces.
TMessageBoxHandler SetMessageBoxHandler(TMessageBoxHandler handler);

} // namespace Win32
