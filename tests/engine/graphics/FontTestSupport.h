// Small fonts built in code for the font and colour-text tests.
#pragma once

#include "engine/graphics/GfxFont.h"
#include "platform/classlib/Streams.h"

#include <cstdint>
#include <vector>

namespace TestSupport {

constexpr uint16_t FontKey = 0xF81F;
constexpr int16_t TestCellWidth = 4, TestCellHeight = 3;

// Glyphs 3 pixels wide, except ' ' 2, '.' and 'i' 1, 'W' 4, LF and CR 0. Every cell holds
// the pixel value 10 y + x + 1 at columns and rows where (x + y) is even, the key elsewhere.
inline std::array<int16_t, Gfx::GlyphCount> TestGlyphWidths() {
    std::array<int16_t, Gfx::GlyphCount> widths;
    widths.fill(3);
    widths[' '] = 2;
    widths['.'] = 1;
    widths['i'] = 1;
    widths['W'] = 4;
    widths['\n'] = 0;
    widths['\r'] = 0;
    return widths;
}

inline uint16_t TestGlyphPixel(int x, int y) {
    return (x + y) % 2 == 0 ? static_cast<uint16_t>(10 * y + x + 1) : FontKey;
}

inline void MakeTestFont(Gfx::TFont& font, int32_t characterSpacing = 0, int32_t lineSpacing = 0) {
    std::vector<uint8_t> pixels;
    for (int g = 0; g < Gfx::GlyphCount; ++g)
        for (int y = 0; y < TestCellHeight; ++y)
            for (int x = 0; x < TestCellWidth; ++x) {
                const uint16_t p = TestGlyphPixel(x, y);
                pixels.push_back(static_cast<uint8_t>(p));
                pixels.push_back(static_cast<uint8_t>(p >> 8));
            }
    font.SetGlyphs(16, TestCellWidth, TestCellHeight, TestGlyphWidths(), FontKey,
                   std::move(pixels));
    font.CharacterSpacing = characterSpacing;
    font.LineSpacing = lineSpacing;
}

inline std::vector<uint8_t> SavedBytes(const Gfx::TFont& font) {
    ClassLib::TMemoryStream stream;
    font.SaveToStream(&stream);
    return stream.Bytes();
}

} // namespace TestSupport
