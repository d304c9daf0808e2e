#include "tools/content/FontContent.h"

#include "platform/classlib/Exception.h"
#include "platform/classlib/Streams.h"
#include "tools/FontBuilder.h"
#include "tools/content/ContentIds.h"

#include <cstdio>

namespace Content {

namespace {

constexpr const char* FontFolder = "/usr/share/fonts/truetype/dejavu/";

struct TFontChoice {
    int ID;
    const char* Face;
    int PixelSize;
    uint32_t Ink = 0;
};

// The game builds font 3's glyph surface keyed on black, which would key black ink
// away: its ink is a black the key leaves alone.
constexpr uint32_t KeyProofBlack = 0x080808;

// Sizes for an 800 x 600 screen: body text 11-13 px, headings 15-16, titles larger.
constexpr TFontChoice Choices[] = {
    {1, "DejaVuSans.ttf", 12},
    {2, "DejaVuSans.ttf", 13},
    // The panels' and books' small print: four bar labels share 64 pixels.
    {3, "DejaVuSansCondensed.ttf", 11, KeyProofBlack},
    // The unit sheet: labels of up to "Counterattack:" in the 90 pixels before values.
    {4, "DejaVuSansCondensed.ttf", 12},
    {5, "DejaVuSans.ttf", 11},
    {6, "DejaVuSerif-Bold.ttf", 16},
    {7, "DejaVuSerif-Bold.ttf", 20},
    {8, "DejaVuSerif-Bold.ttf", 30},
    {9, "DejaVuSans.ttf", 12},
    {10, "DejaVuSans-Bold.ttf", 12},
    {11, "DejaVuSerif.ttf", 16},
    {12, "DejaVuSerif-Bold.ttf", 24},
    {21, "DejaVuSans.ttf", 11},
    {22, "DejaVuSans-Bold.ttf", 11},
    {23, "DejaVuSerif.ttf", 13},
    {24, "DejaVuSerif-Bold.ttf", 15},
    {25, "DejaVuSans.ttf", 14},
    {26, "DejaVuSans-Bold.ttf", 16},
    {27, "DejaVuSansCondensed.ttf", 10},
    {28, "DejaVuSerif-Italic.ttf", 14},
    {29, "DejaVuSerif-Bold.ttf", 18},
    {30, "DejaVuSerif-Bold.ttf", 40},
};
static_assert(std::size(Choices) == FontIDs.size());

} // namespace

std::string FontFileName(int descriptionID) {
    char name[16];
    std::snprintf(name, sizeof name, "font%02d.fnt", descriptionID);
    return name;
}

void AddFonts(Tools::TArchiveWriter& archive) {
    for (const TFontChoice& choice : Choices) {
        Tools::TFontBuildOptions options;
        options.PixelSize = choice.PixelSize;
        options.ID = uint32_t(choice.ID);
        options.Colour = choice.Ink;
        Gfx::TFont font;
        Tools::BuildFont(std::string(FontFolder) + choice.Face, options, font);
        ClassLib::TMemoryStream stream;
        font.SaveToStream(&stream);
        archive.AddFile(FontFileName(choice.ID), stream.Bytes());
    }
}

} // namespace Content
