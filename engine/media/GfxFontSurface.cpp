// The glyph surface: the 256 cells side by side, drawn once in the prepared colour so
// that text in that colour is blitted.
#include "engine/media/GfxFont.h"

namespace Gfx {

void TFont::FreeSurface() {
    FGlyphSurface.Reset();
    FBuilt = false;
}

} // namespace Gfx
