#include "tools/FontBuilder.h"

#include "engine/graphics/GfxPixels.h"
#include "platform/classlib/Exception.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

namespace Tools {

using ClassLib::Format;

namespace {

constexpr uint16_t MagentaKey = 0xF81F, GreenKey = 0x07E0;

struct TFreeTypeDeleter {
    void operator()(FT_Library library) const { FT_Done_FreeType(library); }
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using TLibrary = std::unique_ptr<FT_LibraryRec_, TFreeTypeDeleter>;
using TFace = std::unique_ptr<FT_FaceRec_, TFreeTypeDeleter>;

// One glyph rendered: its one-bit rows placed at (Left, Top) of the cell.
struct TGlyphImage {
    int Advance = 0;
    int Left = 0;
    int Top = 0; // rows from the top of the cell
    int Width = 0, Rows = 0;
    std::vector<uint8_t> Ink; // Width x Rows, 1 = inked

    int Extent() const { return std::max(Advance, Left + Width); }
};

bool IsControlCharacter(int code) {
    return code < 0x20 || (code >= 0x7F && code < 0xA0);
}

TGlyphImage RenderGlyph(FT_Face face, int code, int ascent, const TFontBuildOptions& options,
                        const AnsiString& fontFile) {
    TGlyphImage image;
    const FT_UInt index = IsControlCharacter(code) ? 0 : FT_Get_Char_Index(face, FT_ULong(code));
    if (index == 0)
        return image;
    const auto check = [&](FT_Error error) {
        if (error)
            throw ClassLib::Exception(
                Format("Cannot render character %d of the font '%s'.", code, fontFile));
    };
    check(FT_Load_Glyph(face, index, FT_LOAD_TARGET_MONO | FT_LOAD_NO_BITMAP));
    if (options.Bold)
        FT_GlyphSlot_Embolden(face->glyph);
    check(FT_Render_Glyph(face->glyph, FT_RENDER_MODE_MONO));
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    image.Advance = int((slot->advance.x + 32) >> 6);
    // Ink reaching left of the pen is moved right rather than cut off.
    image.Left = std::max(slot->bitmap_left, 0);
    image.Top = ascent - slot->bitmap_top;
    image.Width = int(bitmap.width);
    image.Rows = int(bitmap.rows);
    image.Ink.resize(size_t(image.Width) * size_t(image.Rows));
    for (int y = 0; y < image.Rows; ++y) {
        const uint8_t* row = bitmap.buffer + y * bitmap.pitch;
        for (int x = 0; x < image.Width; ++x)
            image.Ink[size_t(y * image.Width + x)] = (row[x >> 3] >> (7 - (x & 7))) & 1;
    }
    return image;
}

} // namespace

void BuildFont(const AnsiString& fontFile, const TFontBuildOptions& options, Gfx::TFont& font) {
    if (options.PixelSize < 4 || options.PixelSize > 200)
        throw ClassLib::Exception(Format("Font size %d is outside 4 to 200.", options.PixelSize));
    FT_Library rawLibrary = nullptr;
    if (FT_Init_FreeType(&rawLibrary))
        throw ClassLib::Exception("FreeType cannot start.");
    const TLibrary library(rawLibrary);
    FT_Face rawFace = nullptr;
    if (FT_New_Face(library.get(), fontFile.c_str(), 0, &rawFace))
        throw ClassLib::Exception(Format("Cannot read the font file '%s'.", fontFile));
    const TFace face(rawFace);
    if (!FT_IS_SCALABLE(face.get()) ||
        FT_Set_Pixel_Sizes(face.get(), 0, FT_UInt(options.PixelSize)))
        throw ClassLib::Exception(Format("The font '%s' cannot be scaled.", fontFile));
    if (options.Italic) {
        FT_Matrix slant{0x10000, 0x366A, 0, 0x10000}; // about 12 degrees
        FT_Set_Transform(face.get(), &slant, nullptr);
    }

    const FT_Size_Metrics& metrics = face->size->metrics;
    const int ascent = int((metrics.ascender + 63) >> 6);
    const int cellHeight = ascent + int((-metrics.descender + 63) >> 6);
    std::vector<TGlyphImage> glyphs;
    int cellWidth = 1;
    for (int code = 0; code < Gfx::GlyphCount; ++code) {
        glyphs.push_back(RenderGlyph(face.get(), code, ascent, options, fontFile));
        cellWidth = std::max(cellWidth, glyphs.back().Extent());
    }

    const uint16_t ink = Gfx::PackColor565(options.Colour);
    const uint16_t key = ink == MagentaKey ? GreenKey : MagentaKey;
    std::vector<uint16_t> cells(size_t(cellWidth) * Gfx::GlyphCount * size_t(cellHeight), key);
    std::array<int16_t, Gfx::GlyphCount> widths{};
    for (int g = 0; g < Gfx::GlyphCount; ++g) {
        const TGlyphImage& glyph = glyphs[size_t(g)];
        widths[size_t(g)] = static_cast<int16_t>(glyph.Extent());
        for (int y = 0; y < glyph.Rows; ++y) {
            const int row = glyph.Top + y;
            if (row < 0 || row >= cellHeight) // beyond the face's ascent or descent
                continue;
            uint16_t* cellRow =
                &cells[(size_t(g) * size_t(cellHeight) + size_t(row)) * size_t(cellWidth)];
            for (int x = 0; x < glyph.Width; ++x)
                if (glyph.Ink[size_t(y * glyph.Width + x)])
                    cellRow[glyph.Left + x] = ink;
        }
    }
    std::vector<uint8_t> pixels(cells.size() * 2);
    for (size_t i = 0; i < cells.size(); ++i) {
        pixels[2 * i] = static_cast<uint8_t>(cells[i]);
        pixels[2 * i + 1] = static_cast<uint8_t>(cells[i] >> 8);
    }
    font.SetGlyphs(16, static_cast<int16_t>(cellWidth), static_cast<int16_t>(cellHeight), widths,
                   key, std::move(pixels));
    font.ID = options.ID;
}

} // namespace Tools
