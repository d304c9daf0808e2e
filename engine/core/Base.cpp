#include "engine/core/Base.h"

#include "platform/classlib/Exception.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fnmatch.h>
#include <new>
#include <unistd.h>

namespace Base {

using ClassLib::Format;

AnsiString ProgramFileName;
AnsiString ProgramPath;

namespace {
[[noreturn]] void RaiseOutOfMemory() {
    throw ClassLib::EOutOfMemory();
}
} // namespace

void InitBaseUnit() {
    std::set_new_handler(RaiseOutOfMemory);
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    char path[4096];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    ProgramFileName = length > 0 ? AnsiString(path, static_cast<size_t>(length)) : AnsiString();
    ProgramPath = ClassLib::ExtractFilePath(ProgramFileName);
    if (ProgramPath.empty())
        ProgramPath = "./";
}

void CopyStringBounded(char* dest, const char* src, unsigned size) {
    if (size == 0)
        return;
    unsigned i = 0;
    for (; i + 1 < size && src[i] != '\0'; ++i)
        dest[i] = src[i];
    dest[i] = '\0';
}

void FormatStringBounded(char* dest, unsigned size, const char* format, ...) {
    if (size == 0)
        return;
    va_list args;
    va_start(args, format);
    std::vsnprintf(dest, size, format, args);
    va_end(args);
}

void AddTrailingBackslash(AnsiString& path) {
    if (!path.empty() && path.back() != PathDelimiter && path.back() != '\\')
        path += PathDelimiter;
}

int EnumerateFiles(const AnsiString& pattern, TEnumFilesCallback callback, void* context) {
    if (pattern.size() >= 261)
        return 0;
    const AnsiString native = ClassLib::NativePath(pattern);
    const AnsiString folder = ClassLib::ExtractFilePath(native);
    const AnsiString mask = ClassLib::ExtractFileName(native);
    int reported = 0;
    for (const TFindData& entry : ClassLib::ListDirectory(folder.empty() ? "." : folder)) {
        if (entry.IsDirectory || ::fnmatch(mask.c_str(), entry.Name.c_str(), FNM_CASEFOLD) != 0)
            continue;
        callback(folder + entry.Name, entry, context);
        ++reported;
    }
    return reported;
}

uint64_t StrToBinary64(std::string_view digits) {
    const auto invalid = [&] {
        return ClassLib::EConvertError(
            Format("'%s' is not a valid binary value.", ClassLib::AnsiString(digits)));
    };
    if (digits.empty())
        throw invalid();
    uint64_t value = 0;
    for (const char c : digits) {
        if (c != '0' && c != '1')
            throw invalid();
        if (value >> 63)
            throw invalid();
        value = (value << 1) | uint64_t(c - '0');
    }
    return value;
}

bool IsNullTerminated(const char* buffer, int size) {
    for (int i = 0; i < size; ++i)
        if (buffer[i] == '\0')
            return true;
    return false;
}

Win32::HMODULE LoadLibraryChecked(const char* name) {
    Win32::HMODULE module = Win32::LoadLibrary(name);
    if (!module)
        throw ClassLib::Exception(
            Format("Load library '%s' failed (%s).", name, LastErrorMessage()));
    return module;
}

void* GetProcAddressChecked(Win32::HMODULE module, const char* name) {
    void* address = Win32::GetProcAddress(module, name);
    if (!address)
        throw ClassLib::Exception(
            Format("Function '%s' not found in library (%s).", name, LastErrorMessage()));
    return address;
}

void FreeLibraryChecked(Win32::HMODULE module) {
    if (module)
        Win32::FreeLibrary(module);
}

AnsiString LastErrorMessage() {
    return Win32::LastErrorText();
}

} // namespace Base
