// Shortening text with "..." to fit a width or a box.
#include "engine/graphics/GfxFont.h"
#include "engine/graphics/GfxText.h"

#include <algorithm>

namespace Gfx {

namespace {

constexpr char Ellipsis[] = "...";

// Inserts "..." after position characters (negative or past the end: at the end) and
// returns where it went.
size_t InsertEllipsis(AnsiString& text, int32_t position) {
    const size_t cut =
        position < 0 ? text.size() : std::min(static_cast<size_t>(position), text.size());
    text.insert(cut, Ellipsis);
    return cut;
}

} // namespace

void TFont::FitTextToWidth(AnsiString& text, int32_t width, int32_t position) const {
    if (MaxLineWidth(text) <= width)
        return;
    size_t cut = InsertEllipsis(text, position);
    while (cut > 0 && MaxLineWidth(text) > width) {
        --cut;
        text.erase(cut, 1);
    }
}

void TFont::FitTextToHeight(AnsiString& text, int32_t width, int32_t position,
                            int32_t height) const {
    if (TextHeight(text) <= height)
        return;
    size_t cut = InsertEllipsis(text, position);
    // Whole lines go first, from the cut point back.
    while (!text.empty() && TextHeight(text) > height) {
        const size_t lineBreak = cut == 0 ? AnsiString::npos : text.find_last_of("\n\r", cut - 1);
        if (lineBreak == AnsiString::npos) {
            text.clear();
            return;
        }
        text.erase(lineBreak, cut - lineBreak);
        cut = lineBreak;
    }
    // Then words, or characters of a line's only word.
    while (cut > 0 && MaxLineWidth(text) > width) {
        const size_t separator = text.find_last_of(" \n\r", cut - 1);
        if (separator != AnsiString::npos && IsLineBreak(text[separator])) {
            --cut;
            text.erase(cut, 1);
        } else {
            const size_t start = separator == AnsiString::npos ? 0 : separator;
            text.erase(start, cut - start);
            cut = start;
        }
    }
}

} // namespace Gfx
