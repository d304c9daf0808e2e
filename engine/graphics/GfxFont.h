// Bitmap fonts of 256 glyphs (one per byte value) with a proportional width each, read
// from a "FONT" record. Text is drawn onto DirectDraw surfaces either by blitting from a
// glyph surface prepared for one colour, or by drawing the glyph pixels in software into
// the locked target in any colour. Fonts also measure, word-wrap and shorten text.
#pragma once

#include "engine/core/DataObject.h"
#include "engine/graphics/GfxSurfaces.h"
#include "platform/display/DirectDrawSurface.h"

#include <array>
#include <cstdint>
#include <vector>

namespace Gfx {

using ClassLib::AnsiString;
using Win32::IDirectDrawSurface7;
using Win32::RECT;

constexpr int GlyphCount = 256;

#pragma pack(push, 1)
// The stored header after the object's identifier.
struct TFontHeader {
    char Signature[4];
    uint16_t BitsPerPixel;
    int16_t GlyphWidths[GlyphCount];
    int16_t CellWidth;
    int16_t CellHeight;
    uint32_t ColourKey;
};
#pragma pack(pop)
static_assert(sizeof(TFontHeader) == 526);

class TFont : public Data::TDataObject, public TRegisteredSurfaces {
public:
    TFont();
    ~TFont() override;

    // Copies the glyphs, their sizes and the colour key; not the spacings or the surface.
    void Assign(const Data::TDataObject* source) override;
    // Malformed records are "Invalid data.": the depth, the cell sizes, every glyph
    // width and the size of the pixel block are checked before anything is kept.
    void LoadFromStream(ClassLib::TStream* stream) override;
    void SaveToStream(ClassLib::TStream* stream) const override;
    // Also releases the glyph surface, whose cells would no longer match the font's.
    void Clear() override;

    // Makes the font from glyph cells in memory (cell after cell, rows of cellWidth
    // pixels at bitsPerPixel), checked as a stored record is.
    void SetGlyphs(uint16_t bitsPerPixel, int16_t cellWidth, int16_t cellHeight,
                   const std::array<int16_t, GlyphCount>& widths, uint32_t colourKey,
                   std::vector<uint8_t> pixels);
    // Converts the pixels to a display of the given RGB bit count and 16-bit layout;
    // raises EGraphicsError "Unsupported pixel format conversion." when there is no rule
    // (the font keeps its pixels). Loading does this for the display of the Direct3D
    // framework, when there is one.
    void ConvertToDisplayFormat(uint32_t displayBits, bool displayRGB565);

    // Draws one glyph at (x, y) and returns its width.
    int32_t DrawGlyph(IDirectDrawSurface7* target, int32_t x, int32_t y, const RECT* clip,
                      uint32_t colour, uint8_t glyph) const;
    // LF and CR each start a new line (so CR LF gives two).
    void DrawString(IDirectDrawSurface7* target, int32_t x, int32_t y, const RECT* clip,
                    uint32_t colour, const AnsiString& text) const;

    int32_t TextWidth(const AnsiString& text) const;
    int32_t MaxLineWidth(const AnsiString& text) const;
    int32_t TextHeight(const AnsiString& text) const;

    // Word wrapping (GfxFontWrapping.cpp). Lines are rect.top + n x cell height apart;
    // clip null clips to rect.
    void DrawWrappedText(IDirectDrawSurface7* target, const RECT& rect, const RECT* clip,
                         uint32_t colour, const AnsiString& text) const;
    // The text as drawn wrapped: CR at every soft break, the text's own breaks kept.
    AnsiString WrapText(int32_t width, const AnsiString& text) const;
    // WrapText for text continuing a line already x pixels wide; x becomes the width of
    // the last line and y grows by the cell height for every line begun.
    AnsiString WrapTextFrom(int32_t width, const AnsiString& text, int32_t& x, int32_t& y) const;
    int32_t WrappedTextHeight(const AnsiString& text, int32_t width) const;

    // Shorten text with "..." after position characters (negative: the end) until it fits.
    void FitTextToWidth(AnsiString& text, int32_t width, int32_t position) const;
    void FitTextToHeight(AnsiString& text, int32_t width, int32_t position, int32_t height) const;

    // The glyph surface (GfxFontSurface.cpp): made only while the Direct3D framework
    // exists; text drawn in textColour is then blitted from it. A font with a glyph
    // surface is in the font registry, which frees and rebuilds the surface around
    // display changes.
    void PrepareSurface(uint32_t textColour, uint32_t backgroundColour);
    void ReleaseSurface();
    void RecreateSurface();
    void RestoreSurface();
    void ReleaseRegisteredSurfaces() override; // the surface goes, the font stays registered
    void RecreateRegisteredSurfaces() override;
    void RestoreRegisteredSurfaces() override;

    int16_t CellWidth() const { return FCellWidth; }
    int16_t CellHeight() const { return FCellHeight; }
    int16_t GlyphWidth(uint8_t glyph) const { return FGlyphWidths[glyph]; }
    uint16_t BitsPerPixel() const { return FBitsPerPixel; }
    uint32_t ColourKey() const { return FColourKey; }
    const std::vector<uint8_t>& Pixels() const { return FPixels; }
    bool SurfaceBuilt() const { return FBuilt; }
    IDirectDrawSurface7* GlyphSurface() const { return FGlyphSurface.Get(); }

    // Set by the font's owner; 0 after Clear.
    int32_t CharacterSpacing = 0; // after every glyph
    int32_t LineSpacing = 0;      // between lines of DrawString and TextHeight

private:
    void CheckGlyphs(uint16_t bitsPerPixel, int16_t cellWidth, int16_t cellHeight,
                     const int16_t* widths) const;
    int64_t PixelBlockSize() const;
    const uint8_t* GlyphRow(uint8_t glyph, int32_t row) const;
    void DrawGlyphPixels(IDirectDrawSurface7* target, const RECT& cover, int32_t x, int32_t y,
                         uint32_t colour, uint8_t glyph) const;
    void ConvertForDisplay();
    void BuildSurface();
    void FreeSurface();

    std::vector<uint8_t> FPixels;
    int16_t FCellHeight = 0;
    std::array<int16_t, GlyphCount> FGlyphWidths{};
    int16_t FCellWidth = 0;
    uint16_t FBitsPerPixel = 0;
    uint32_t FColourKey = 0;

    Win32::TRefPtr<IDirectDrawSurface7> FGlyphSurface;
    bool FBuilt = false;
    uint32_t FSurfaceTextColour = 0;
    uint32_t FSurfaceBackgroundColour = 0;
};

} // namespace Gfx
