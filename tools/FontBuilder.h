// Fonts for the game rasterised from a TrueType font through FreeType: one glyph cell
// per byte value, drawn as the Latin-1 character of that value (blank where the font has
// none, and for the control characters), with proportional widths.
#pragma once

#include "engine/graphics/GfxFont.h"
#include "platform/classlib/AnsiString.h"

#include <cstdint>

namespace Tools {

using ClassLib::AnsiString;

// The free font the sample data is made from (Debian's fonts-dejavu-core).
inline const char* const DefaultFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

struct TFontBuildOptions {
    int PixelSize = 16;  // the em size in pixels, 4 to 200
    bool Bold = false;   // emboldened by FreeType, for faces without a bold cut
    bool Italic = false; // slanted by FreeType
    uint32_t Colour = 0; // 0x00RRGGBB of the glyph pixels
    uint32_t ID = 0;
};

// Cells are as high as the face's ascent and descent at that size and as wide as the
// widest glyph. Glyphs are rendered without anti-aliasing: the game draws them in any
// colour by adding the colour to their pixels, which only black ink keeps exact, so the
// default colour is black. 16-bit RGB565 pixels; the colour key is magenta (green when
// the ink is magenta). Raises ClassLib::Exception naming the file when it cannot be read.
void BuildFont(const AnsiString& fontFile, const TFontBuildOptions& options, Gfx::TFont& font);

} // namespace Tools
