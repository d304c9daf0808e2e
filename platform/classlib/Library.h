// Loading shared libraries at run time, with the thread's last error text
// as Windows keeps it for the caller to report.
#pragma once

#include "platform/classlib/AnsiString.h"

namespace Win32 {

using HMODULE = void*;

HMODULE LoadLibrary(const char* name);
void* GetProcAddress(HMODULE module, const char* name);
bool FreeLibrary(HMODULE module);

// The message of the calling thread's last failed call of this layer.
ClassLib::AnsiString LastErrorText();
void SetLastErrorText(ClassLib::AnsiString text);

} // namespace Win32
