// The class library's 8-bit string and the string routines the engine calls.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <string>
#include <string_view>

namespace ClassLib {

using AnsiString = std::string;

AnsiString FormatV(const char* format, va_list args);
AnsiString FormatC(const char* format, ...) __attribute__((format(printf, 1, 2)));

namespace detail {
inline const char* FormatArg(const AnsiString& s) {
    return s.c_str();
}
template <typename T>
T FormatArg(T value) {
    return value;
}
} // namespace detail

// printf-style formatting that also takes AnsiString arguments for "%s".
template <typename... Args>
AnsiString Format(const char* format, const Args&... args) {
    if constexpr (sizeof...(Args) == 0) {
        return AnsiString(format);
    } else {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#pragma GCC diagnostic ignored "-Wformat-security"
        return FormatC(format, detail::FormatArg(args)...);
#pragma GCC diagnostic pop
    }
}

AnsiString IntToStr(int64_t value);
// A decimal integer with an optional sign that fits 32 bits, else EConvertError
// "'%s' is not a valid integer value".
int StrToInt(std::string_view s);
int StrToIntDef(std::string_view s, int defaultValue);
bool TryStrToInt(std::string_view s, int& value);

AnsiString Trim(std::string_view s);
AnsiString LowerCase(std::string_view s);
AnsiString UpperCase(std::string_view s);
// Compares ignoring ASCII letter case; negative, zero or positive.
int CompareText(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);

// Path parts; both "/" and "\" separate folders.
AnsiString ExtractFileName(std::string_view path);
AnsiString ExtractFilePath(std::string_view path);
AnsiString ExtractFileExt(std::string_view path);

} // namespace ClassLib
