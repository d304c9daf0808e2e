#include "platform/win32/AnsiText.h"

#include <cstdint>
#include <optional>

namespace Win32 {

namespace {

// Windows-1252 puts typographic characters where Latin-1 has its C1 controls.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

std::optional<char> AnsiFromCodePoint(char32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<char>(codePoint);
    for (unsigned i = 0; i < 32; ++i) {
        if (kHighControls[i] != 0 && kHighControls[i] == codePoint)
            return static_cast<char>(0x80 + i);
    }
    return std::nullopt;
}

// Decodes one UTF-8 sequence at text[pos], advancing pos past it; nullopt for
// a malformed sequence (pos then skips one byte).
std::optional<char32_t> NextCodePoint(std::string_view text, size_t& pos) {
    const auto lead = static_cast<uint8_t>(text[pos++]);
    if (lead < 0x80)
        return lead;
    int length = 0;
    char32_t codePoint = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 1;
        codePoint = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 2;
        codePoint = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 3;
        codePoint = lead & 0x07;
    } else {
        return std::nullopt;
    }
    if (text.size() - pos < static_cast<size_t>(length))
        return std::nullopt;
    for (int i = 0; i < length; ++i) {
        const auto next = static_cast<uint8_t>(text[pos]);
        if ((next & 0xC0) != 0x80)
            return std::nullopt;
        codePoint = (codePoint << 6) | (next & 0x3F);
        ++pos;
    }
    constexpr char32_t kShortest[] = {0, 0x80, 0x800, 0x10000};
    if (codePoint < kShortest[length] || codePoint > 0x10FFFF)
        return std::nullopt;
    return codePoint;
}

} // namespace

std::string AnsiFromUtf8(std::string_view text) {
    std::string result;
    size_t pos = 0;
    while (pos < text.size()) {
        const auto codePoint = NextCodePoint(text, pos);
        if (!codePoint)
            continue;
        if (const auto ansi = AnsiFromCodePoint(*codePoint))
            result += *ansi;
    }
    return result;
}

} // namespace Win32
