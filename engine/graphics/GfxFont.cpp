#include "engine/graphics/GfxFont.h"

#include "engine/core/GraphicsError.h"
#include "engine/graphics/GfxKeyedRows.h"
#include "engine/graphics/GfxPixels.h"
#include "engine/graphics/GfxText.h"

#include <algorithm>
#include <cstring>

namespace Gfx {

using Data::CheckData;
using Win32::Intersect;
using Win32::IsEmpty;

namespace {

// The part of the glyph box inside the target and the clip.
RECT CoveredRect(IDirectDrawSurface7* target, int32_t x, int32_t y, int32_t width, int32_t height,
                 const RECT* clip) {
    if (!target)
        return {};
    // Boxes reaching past the coordinate range are cut at its end.
    RECT cover =
        Intersect({x, y, ClampToInt32(int64_t(x) + width), ClampToInt32(int64_t(y) + height)},
                  {0, 0, target->Width(), target->Height()});
    if (clip)
        cover = Intersect(cover, *clip);
    return cover;
}

} // namespace

TFont::TFont() = default;

TFont::~TFont() {
    ReleaseSurface();
}

void TFont::Clear() {
    ReleaseSurface();
    FPixels.clear();
    FPixels.shrink_to_fit();
    FCellHeight = 0;
    FGlyphWidths.fill(0);
    FCellWidth = 0;
    FBitsPerPixel = 0;
    FColourKey = 0;
    CharacterSpacing = 0;
    LineSpacing = 0;
}

void TFont::Assign(const Data::TDataObject* source) {
    const auto* other = dynamic_cast<const TFont*>(source);
    if (!other) {
        TDataObject::Assign(source);
        return;
    }
    Clear();
    FCellHeight = other->FCellHeight;
    FGlyphWidths = other->FGlyphWidths;
    FCellWidth = other->FCellWidth;
    FBitsPerPixel = other->FBitsPerPixel;
    // Without its key a copy would draw the transparent part of every cell.
    FColourKey = other->FColourKey;
    FPixels = other->FPixels;
}

void TFont::CheckGlyphs(uint16_t bitsPerPixel, int16_t cellWidth, int16_t cellHeight,
                        const int16_t* widths) const {
    CheckData(bitsPerPixel == 16 || bitsPerPixel == 24 || bitsPerPixel == 32);
    CheckData(cellWidth >= 0 && cellHeight >= 0);
    for (int g = 0; g < GlyphCount; ++g)
        CheckData(widths[g] >= 0 && widths[g] <= cellWidth);
}

int64_t TFont::PixelBlockSize() const {
    return int64_t(FCellWidth) * GlyphCount * FCellHeight * (FBitsPerPixel / 8);
}

void TFont::LoadFromStream(ClassLib::TStream* stream) {
    TDataObject::LoadFromStream(stream);
    TFontHeader header;
    CheckData(stream->Remaining() >= int64_t(sizeof header));
    stream->ReadBuffer(&header, sizeof header);
    CheckData(std::memcmp(header.Signature, "FONT", 4) == 0);
    CheckGlyphs(header.BitsPerPixel, header.CellWidth, header.CellHeight, header.GlyphWidths);
    const int64_t size =
        int64_t(header.CellWidth) * GlyphCount * header.CellHeight * (header.BitsPerPixel / 8);
    CheckData(stream->Remaining() >= size);
    std::vector<uint8_t> pixels(static_cast<size_t>(size));
    stream->ReadBuffer(pixels.data(), size);

    FPixels = std::move(pixels);
    FBitsPerPixel = header.BitsPerPixel;
    std::copy(std::begin(header.GlyphWidths), std::end(header.GlyphWidths), FGlyphWidths.begin());
    FCellWidth = header.CellWidth;
    FCellHeight = header.CellHeight;
    FColourKey = header.ColourKey;
    ConvertForDisplay();
}

void TFont::SaveToStream(ClassLib::TStream* stream) const {
    TDataObject::SaveToStream(stream);
    TFontHeader header;
    std::memcpy(header.Signature, "FONT", 4);
    header.BitsPerPixel = FBitsPerPixel;
    std::copy(FGlyphWidths.begin(), FGlyphWidths.end(), std::begin(header.GlyphWidths));
    header.CellWidth = FCellWidth;
    header.CellHeight = FCellHeight;
    header.ColourKey = FColourKey;
    stream->WriteValue(header);
    if (!FPixels.empty())
        stream->WriteBuffer(FPixels.data(), int64_t(FPixels.size()));
}

void TFont::SetGlyphs(uint16_t bitsPerPixel, int16_t cellWidth, int16_t cellHeight,
                      const std::array<int16_t, GlyphCount>& widths, uint32_t colourKey,
                      std::vector<uint8_t> pixels) {
    CheckGlyphs(bitsPerPixel, cellWidth, cellHeight, widths.data());
    CheckData(int64_t(pixels.size()) ==
              int64_t(cellWidth) * GlyphCount * cellHeight * (bitsPerPixel / 8));
    Clear();
    FBitsPerPixel = bitsPerPixel;
    FCellWidth = cellWidth;
    FCellHeight = cellHeight;
    FGlyphWidths = widths;
    FColourKey = colourKey;
    FPixels = std::move(pixels);
}

void TFont::ConvertToDisplayFormat(uint32_t displayBits, bool displayRGB565) {
    const auto unsupported = [] {
        throw Base::EGraphicsError("Unsupported pixel format conversion.");
    };
    const int rows = GlyphCount * FCellHeight;
    if (FBitsPerPixel == 16) {
        if (displayBits != 16)
            unsupported();
        if (displayRGB565)
            return;
        if (FCellWidth > 0 && rows > 0)
            ConvertRow565To555(FPixels.data(), FPixels.data(), FCellWidth, rows, FCellWidth * 2,
                               FCellWidth * 2);
        if (FColourKey <= 0xFFFF) // a wider key matches no pixel either way
            FColourKey = ConvertPixel565To555(static_cast<uint16_t>(FColourKey));
        return;
    }
    if (displayBits != 24 && displayBits != 32)
        unsupported();
    if (FBitsPerPixel == displayBits)
        return;
    // The depth recorded follows the pixels, so drawing, copying and saving size them right.
    const uint16_t bits = static_cast<uint16_t>(displayBits);
    std::vector<uint8_t> converted(size_t(FCellWidth) * size_t(rows) * (bits / 8));
    if (FCellWidth > 0 && rows > 0) {
        if (bits == 32)
            ConvertRow24To32(FPixels.data(), converted.data(), FCellWidth, rows, FCellWidth * 3,
                             FCellWidth * 4);
        else
            ConvertRow32To24(FPixels.data(), converted.data(), FCellWidth, rows, FCellWidth * 4,
                             FCellWidth * 3);
    }
    if (bits == 24)
        FColourKey &= 0xFFFFFF;
    FPixels = std::move(converted);
    FBitsPerPixel = bits;
}

const uint8_t* TFont::GlyphRow(uint8_t glyph, int32_t row) const {
    const int64_t index = (int64_t(glyph) * FCellHeight + row) * FCellWidth;
    return FPixels.data() + index * (FBitsPerPixel / 8);
}

int32_t TFont::DrawGlyph(IDirectDrawSurface7* target, int32_t x, int32_t y, const RECT* clip,
                         uint32_t colour, uint8_t glyph) const {
    const int32_t width = FGlyphWidths[glyph];
    const RECT cover = CoveredRect(target, x, y, width, FCellHeight, clip);
    if (IsEmpty(cover))
        return width;
    if (FBuilt && FGlyphSurface && colour == FSurfaceTextColour) {
        const int32_t left = glyph * FCellWidth + (cover.left - x);
        const RECT from{left, cover.top - y, left + (cover.right - cover.left), cover.bottom - y};
        RECT to = cover;
        target->Blt(&to, FGlyphSurface.Get(), &from, Win32::DDBLT_KEYSRC | Win32::DDBLT_WAIT,
                    nullptr);
        return width;
    }
    DrawGlyphPixels(target, cover, x, y, colour, glyph);
    return width;
}

void TFont::DrawGlyphPixels(IDirectDrawSurface7* target, const RECT& cover, int32_t x, int32_t y,
                            uint32_t colour, uint8_t glyph) const {
    Win32::DDSURFACEDESC2 desc;
    RECT area = cover;
    if (target->Lock(&area, &desc, Win32::DDLOCK_WAIT, nullptr) != Win32::DD_OK)
        return;
    // A font not converted for this target would write pixels of the wrong size.
    if (desc.ddpfPixelFormat.dwRGBBitCount == FBitsPerPixel) {
        uint32_t add = colour;
        if (FBitsPerPixel == 16 && !IsDisplayRGB565)
            add = ConvertPixel565To555(static_cast<uint16_t>(colour));
        const int bytes = FBitsPerPixel / 8;
        const int32_t count = cover.right - cover.left;
        const int32_t skip = cover.left - x;
        auto* row = static_cast<uint8_t*>(desc.lpSurface);
        for (int32_t r = cover.top - y; r < cover.bottom - y; ++r, row += desc.lPitch) {
            const uint8_t* source = GlyphRow(glyph, r) + skip * bytes;
            if (bytes == 2)
                BlitKeyedTintRow16(source, row, count, FColourKey, add);
            else if (bytes == 3)
                BlitKeyedTintRow24(source, row, count, FColourKey, add);
            else
                BlitKeyedTintRow32(source, row, count, FColourKey, add);
        }
    }
    target->Unlock(&area);
}

void TFont::DrawString(IDirectDrawSurface7* target, int32_t x, int32_t y, const RECT* clip,
                       uint32_t colour, const AnsiString& text) const {
    int64_t penX = x, penY = y;
    for (const char c : text) {
        if (IsLineBreak(c)) {
            penY += int64_t(FCellHeight) + LineSpacing;
            penX = x;
            continue;
        }
        penX += DrawGlyph(target, ClampToInt32(penX), ClampToInt32(penY), clip, colour,
                          static_cast<uint8_t>(c)) +
                int64_t(CharacterSpacing);
    }
}

int32_t TFont::TextWidth(const AnsiString& text) const {
    int64_t width = 0;
    for (const char c : text)
        width += int64_t(FGlyphWidths[static_cast<uint8_t>(c)]) + CharacterSpacing;
    return ClampToInt32(width);
}

int32_t TFont::MaxLineWidth(const AnsiString& text) const {
    int64_t widest = std::numeric_limits<int64_t>::min(), line = 0;
    for (const char c : text) {
        if (IsLineBreak(c)) {
            widest = std::max(widest, line);
            line = 0;
        } else {
            line += int64_t(FGlyphWidths[static_cast<uint8_t>(c)]) + CharacterSpacing;
        }
    }
    return ClampToInt32(std::max(widest, line));
}

int32_t TFont::TextHeight(const AnsiString& text) const {
    const auto breaks = std::count_if(text.begin(), text.end(), IsLineBreak);
    return ClampToInt32(FCellHeight + int64_t(breaks) * (int64_t(FCellHeight) + LineSpacing));
}

} // namespace Gfx
