// The generated spell icons show the family the spell records give: a spell of each of a
// few families, map and battle, is drawn on its family's ground, found by the icon's
// dominant hue. A record that names no one family stops the generator.
#include "engine/core/Archive.h"
#include "engine/graphics/SpriteDrawing.h"
#include "engine/graphics/SpriteList.h"
#include "tests/support/TempDir.h"
#include "tests/tools/content/GeneratedContent.h"
#include "tests/tools/content/GlobalDataFiles.h"
#include "tools/content/SpellFamilies.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <optional>

namespace {

using TestSupport::GeneratedContent;

// Hue in degrees of an 8-bit RGB colour; none for greys and near-blacks, whose hue says
// nothing (the keyed-out background, rims, dots).
std::optional<double> Hue(int r, int g, int b) {
    const int high = std::max({r, g, b}), low = std::min({r, g, b});
    if (high - low < 24)
        return std::nullopt;
    const double chroma = high - low;
    double hue = high == r   ? (g - b) / chroma
                 : high == g ? 2 + (b - r) / chroma
                             : 4 + (r - g) / chroma;
    return std::fmod(hue * 60 + 360, 360);
}

double HueOf(uint32_t rgb) {
    return *Hue(int(rgb >> 16 & 0xFF), int(rgb >> 8 & 0xFF), int(rgb & 0xFF));
}

double HueDistance(double a, double b) {
    const double d = std::fabs(a - b);
    return std::min(d, 360 - d);
}

// The middle of the most common 10-degree hue band among the icon's coloured pixels.
double DominantHue(const ClassLib::TBitmap& icon) {
    std::array<int, 36> bands{};
    for (int y = 0; y < icon.Height(); ++y)
        for (int x = 0; x < icon.Width(); ++x) {
            const uint16_t pixel = icon.ScanLine(y)[x];
            const int r = (pixel >> 11) << 3, g = (pixel >> 5 & 0x3F) << 2, b = (pixel & 0x1F) << 3;
            if (const std::optional<double> hue = Hue(r, g, b))
                ++bands[size_t(*hue / 10) % bands.size()];
        }
    return double(std::max_element(bands.begin(), bands.end()) - bands.begin()) * 10 + 5;
}

} // namespace

TEST_F(GeneratedContent, SpellIconsAreDrawnInTheirRecordsFamily) {
    // Families whose grounds lie well apart in hue: fire, ice, holy light, darkness,
    // nature, healing.
    constexpr std::array<int, 6> FamilyNumbers{1, 2, 4, 5, 6, 9};
    const Data::TArchive graphics("graphics", Data::arAutomatic);
    Gfx::TSpriteList library(Gfx::slDirectory);
    library.LoadFromArchive(graphics, "spells.gfxl");
    const std::vector<TestSupport::TSpellRecord> spells = TestSupport::ReadSpells();
    for (const int family : FamilyNumbers)
        for (const int spellClass : {1, 2}) {
            // The first spell of the family and class in the records.
            const auto spell =
                std::find_if(spells.begin(), spells.end(), [&](const TestSupport::TSpellRecord& s) {
                    return s.Group == spellClass && s.CastSprite == 1000 + family;
                });
            ASSERT_NE(spell, spells.end()) << "family " << family << " class " << spellClass;
            const Content::TFamily& expected = Content::Families[size_t(family - 1)];
            SCOPED_TRACE(spell->Name + " (" + expected.Name + ")");
            Gfx::TSprite* icon = library.AcquireSpriteByID(uint32_t(spell->IconID));
            ClassLib::TBitmap bitmap(icon->Width, icon->Height);
            Gfx::DrawSpriteToBitmap(icon, &bitmap, 0, 0, 0, nullptr);
            library.ReleaseSpriteByPointer(icon);
            EXPECT_LE(HueDistance(DominantHue(bitmap), HueOf(expected.Ground)), 15);
        }
}

namespace {

// A spell file of one map spell with the given cast, flight and impact sprites.
std::string SpellFile(const std::string& sprites) {
    return "\"Spells\" 1\n"
           "7 1 \"Gale\" \"A gust.\" 1 1 4 6 4 3 7\n" +
           sprites + "\n6 300 0 0 0 0 0 0 0 0\n";
}

} // namespace

TEST(SpellFamilies, ComeFromTheEffectSpritesOrNameTheFileAndSpell) {
    struct TCase {
        const char* Sprites; // cast sprite, sound, ticks; flight x 4; impact x 3
        int Family;          // -1: an error
    };
    const TCase cases[] = {
        {"1010 327 3  0 0 0 0  1210 329 7", 9},
        {"1002 327 3  1102 0 0 0  1302 329 7", 1}, // a beam for its impact
        {"1002 327 3  0 0 0 0  1203 329 7", -1},   // two families
        {"0 327 3  0 0 0 0  0 329 7", -1},         // no effect sprite
        {"1011 327 3  0 0 0 0  1211 329 7", -1},   // no such family
    };
    const TestSupport::TempDir dir;
    const std::string file = dir.File("spells.txt");
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Sprites);
        std::ofstream(file, std::ios::binary | std::ios::trunc) << SpellFile(c.Sprites);
        if (c.Family >= 0) {
            EXPECT_EQ(Content::ReadSpellFamilies(file), (Content::TSpellFamilies{{7, c.Family}}));
            continue;
        }
        try {
            Content::ReadSpellFamilies(file);
            ADD_FAILURE() << "no error";
        } catch (const ClassLib::Exception& e) {
            EXPECT_NE(e.Message.find(file), std::string::npos) << e.Message;
            EXPECT_NE(e.Message.find("Spell 7 \"Gale\""), std::string::npos) << e.Message;
        }
    }
}
