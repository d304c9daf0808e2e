// Text from the desktop (UTF-8) as the 8-bit Windows-1252 characters that the
// program's strings and fonts use.
#pragma once

#include <string>
#include <string_view>

namespace Win32 {

// Each character of the UTF-8 text as one Windows-1252 byte. Characters that
// code page lacks, and malformed sequences, are dropped.
std::string AnsiFromUtf8(std::string_view text);

} // namespace Win32
