#include "platform/classlib/AnsiString.h"

#include "platform/classlib/Exception.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <limits>
#include <vector>

namespace ClassLib {

AnsiString FormatV(const char* format, va_list args) {
    char small[256];
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    if (needed < 0)
        return AnsiString(format);
    if (static_cast<size_t>(needed) < sizeof small)
        return AnsiString(small, static_cast<size_t>(needed));
    std::vector<char> big(static_cast<size_t>(needed) + 1);
    std::vsnprintf(big.data(), big.size(), format, args);
    return AnsiString(big.data(), static_cast<size_t>(needed));
}

AnsiString FormatC(const char* format, ...) {
    va_list args;
    va_start(args, format);
    AnsiString result = FormatV(format, args);
    va_end(args);
    return result;
}

AnsiString IntToStr(int64_t value) {
    return std::to_string(value);
}

bool TryStrToInt(std::string_view s, int& value) {
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    if (i == s.size())
        return false;
    int64_t magnitude = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9')
            return false;
        magnitude = magnitude * 10 + (s[i] - '0');
        if (magnitude > int64_t(std::numeric_limits<int>::max()) + 1)
            return false;
    }
    const int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue > std::numeric_limits<int>::max())
        return false;
    value = static_cast<int>(signedValue);
    return true;
}

int StrToInt(std::string_view s) {
    int value = 0;
    if (!TryStrToInt(s, value))
        throw EConvertError(Format("'%s' is not a valid integer value", AnsiString(s)));
    return value;
}

int StrToIntDef(std::string_view s, int defaultValue) {
    int value = 0;
    return TryStrToInt(s, value) ? value : defaultValue;
}

AnsiString Trim(std::string_view s) {
    size_t first = 0;
    size_t last = s.size();
    while (first < last && static_cast<unsigned char>(s[first]) <= ' ')
        ++first;
    while (last > first && static_cast<unsigned char>(s[last - 1]) <= ' ')
        --last;
    return AnsiString(s.substr(first, last - first));
}

AnsiString LowerCase(std::string_view s) {
    AnsiString result(s);
    std::transform(result.begin(), result.end(), result.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    });
    return result;
}

AnsiString UpperCase(std::string_view s) {
    AnsiString result(s);
    std::transform(result.begin(), result.end(), result.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    });
    return result;
}

int CompareText(std::string_view a, std::string_view b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned char ca = static_cast<unsigned char>(a[i]);
        unsigned char cb = static_cast<unsigned char>(b[i]);
        if (ca >= 'a' && ca <= 'z')
            ca -= 32;
        if (cb >= 'a' && cb <= 'z')
            cb -= 32;
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && CompareText(a, b) == 0;
}

static size_t NameStart(std::string_view path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string_view::npos ? 0 : slash + 1;
}

AnsiString ExtractFileName(std::string_view path) {
    return AnsiString(path.substr(NameStart(path)));
}

AnsiString ExtractFilePath(std::string_view path) {
    return AnsiString(path.substr(0, NameStart(path)));
}

AnsiString ExtractFileExt(std::string_view path) {
    const std::string_view name = path.substr(NameStart(path));
    const size_t dot = name.find_last_of('.');
    return dot == std::string_view::npos ? AnsiString() : AnsiString(name.substr(dot));
}

} // namespace ClassLib
