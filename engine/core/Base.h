// Small utilities under the whole engine: the program's own location, bounded
// C-string routines, paths, file enumeration, binary digits and run-time library loading.
#pragma once

#include "platform/classlib/AnsiString.h"
#include "platform/classlib/Files.h"
#include "platform/classlib/Library.h"

#include <cstdint>

namespace Base {

using ClassLib::AnsiString;

// The program file and its folder (with the trailing folder separator), set by InitBaseUnit.
extern AnsiString ProgramFileName;
extern AnsiString ProgramPath;

constexpr char PathDelimiter = '/';

// Makes allocation failures raise the out-of-memory error, seeds the visual
// random generator from the clock and finds the program's file and folder.
void InitBaseUnit();

// Copies at most size - 1 characters and always terminates; size 0 does nothing.
void CopyStringBounded(char* dest, const char* src, unsigned size);
void FormatStringBounded(char* dest, unsigned size, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

// Appends the folder separator unless the path is empty or already ends in one.
void AddTrailingBackslash(AnsiString& path);

using TFindData = ClassLib::TDirectoryEntry;
using TEnumFilesCallback = void (*)(const AnsiString& path, const TFindData& data, void* context);
// Reports every file (not folder) matching pattern ("folder/*.sav"; "*" and "?"
// in the name part, matched ignoring case) and returns how many it reported.
int EnumerateFiles(const AnsiString& pattern, TEnumFilesCallback callback, void* context);

// "101" is 5: the last digit is bit 0. Anything but '0' and '1', no digits at all,
// or a 1 beyond bit 63 raises EConvertError "'%s' is not a valid binary value.".
uint64_t StrToBinary64(std::string_view digits);

// True when a NUL occurs within the first size bytes.
bool IsNullTerminated(const char* buffer, int size);

Win32::HMODULE LoadLibraryChecked(const char* name);
void* GetProcAddressChecked(Win32::HMODULE module, const char* name);
void FreeLibraryChecked(Win32::HMODULE module);
AnsiString LastErrorMessage();

} // namespace Base
