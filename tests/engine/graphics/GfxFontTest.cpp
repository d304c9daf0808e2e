#include "engine/graphics/GfxFont.h"
#include "engine/core/GraphicsError.h"
#include "tests/engine/graphics/FontTestSupport.h"
#include "tests/support/ErrorOf.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

using namespace Gfx;
using namespace TestSupport;

namespace {

// The record of the test font with identifier 7.
std::vector<uint8_t> TestRecord() {
    TFont font;
    MakeTestFont(font);
    font.ID = 7;
    return SavedBytes(font);
}

void LoadBytes(TFont& font, const std::vector<uint8_t>& bytes) {
    ClassLib::TMemoryStream stream(bytes);
    font.LoadFromStream(&stream);
}

// Header fields by their offset in the record (after the 4-byte identifier).
constexpr size_t BitsAt = 4 + 4, WidthsAt = 4 + 6, CellWidthAt = 4 + 518, CellHeightAt = 4 + 520,
                 KeyAt = 4 + 522, PixelsAt = 4 + 526;

void Put16(std::vector<uint8_t>& bytes, size_t at, int value) {
    bytes[at] = static_cast<uint8_t>(value);
    bytes[at + 1] = static_cast<uint8_t>(value >> 8);
}

} // namespace

TEST(Font, RecordLayoutAndByteForByteRoundTrip) {
    const std::vector<uint8_t> record = TestRecord();
    ASSERT_EQ(record.size(), PixelsAt + size_t(TestCellWidth) * 256 * TestCellHeight * 2);
    EXPECT_EQ(record[0], 7);
    EXPECT_EQ(std::memcmp(&record[4], "FONT", 4), 0);
    EXPECT_EQ(record[BitsAt], 16);
    EXPECT_EQ(record[WidthsAt + 2 * 'W'], 4);
    EXPECT_EQ(record[CellWidthAt], TestCellWidth);
    EXPECT_EQ(record[CellHeightAt], TestCellHeight);
    EXPECT_EQ(record[KeyAt] | record[KeyAt + 1] << 8, FontKey);
    // Glyph 1, row 0, column 0: the cell after glyph 0's three rows.
    const size_t glyph1 = PixelsAt + size_t(TestCellWidth) * TestCellHeight * 2;
    EXPECT_EQ(record[glyph1], 1);

    TFont font;
    LoadBytes(font, record);
    EXPECT_EQ(font.ID, 7u);
    EXPECT_EQ(font.GlyphWidth('W'), 4);
    EXPECT_EQ(font.ColourKey(), FontKey);
    EXPECT_EQ(SavedBytes(font), record);
}

TEST(Font, MalformedRecordsAreInvalidDataAndLeaveNothingHalfLoaded) {
    const struct {
        const char* what;
        std::function<void(std::vector<uint8_t>&)> damage;
    } cases[] = {
        {"signature", [](auto& b) { b[4] = 'X'; }},
        {"8 bits per pixel", [](auto& b) { Put16(b, BitsAt, 8); }},
        {"0 bits per pixel", [](auto& b) { Put16(b, BitsAt, 0); }},
        {"negative cell width", [](auto& b) { Put16(b, CellWidthAt, -4); }},
        {"negative cell height", [](auto& b) { Put16(b, CellHeightAt, -1); }},
        {"glyph wider than its cell", [](auto& b) { Put16(b, WidthsAt + 2 * 'a', 5); }},
        {"negative glyph width", [](auto& b) { Put16(b, WidthsAt + 2 * 255, -1); }},
        {"cell wider than the pixels", [](auto& b) { Put16(b, CellWidthAt, 5); }},
        {"huge cells",
         [](auto& b) { Put16(b, CellWidthAt, 32767), Put16(b, CellHeightAt, 32767); }},
        {"24-bit cells in 16-bit pixels", [](auto& b) { Put16(b, BitsAt, 24); }},
        {"pixels cut short", [](auto& b) { b.pop_back(); }},
        {"header cut short", [](auto& b) { b.resize(KeyAt + 2); }},
        {"identifier only", [](auto& b) { b.resize(4); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> record = TestRecord();
        c.damage(record);
        TFont font;
        MakeTestFont(font, 1, 2);
        EXPECT_EQ(ErrorOf([&] { LoadBytes(font, record); }), "Invalid data.");
        EXPECT_TRUE(font.Pixels().empty());
        EXPECT_EQ(font.CellWidth(), 0);
        EXPECT_EQ(font.GlyphWidth('a'), 0);
        EXPECT_EQ(font.TextWidth("abc"), 0);
    }
}

TEST(Font, BuildingFromCellsIsCheckedLikeLoading) {
    TFont font;
    auto widths = TestGlyphWidths();
    EXPECT_EQ(ErrorOf([&] { font.SetGlyphs(16, 4, 3, widths, 0, std::vector<uint8_t>(10)); }),
              "Invalid data.");
    widths['x'] = 9;
    EXPECT_EQ(
        ErrorOf([&] { font.SetGlyphs(16, 4, 3, widths, 0, std::vector<uint8_t>(4 * 3 * 512)); }),
        "Invalid data.");
}

TEST(Font, ClearAndAssign) {
    TFont source;
    MakeTestFont(source, 3, 4);
    source.ID = 9;
    TFont copy;
    copy.Assign(&source);
    EXPECT_EQ(copy.Pixels(), source.Pixels());
    EXPECT_EQ(copy.CellWidth(), TestCellWidth);
    EXPECT_EQ(copy.CellHeight(), TestCellHeight);
    EXPECT_EQ(copy.GlyphWidth('W'), 4);
    EXPECT_EQ(copy.BitsPerPixel(), 16);
    EXPECT_EQ(copy.ColourKey(), FontKey);
    EXPECT_EQ(copy.CharacterSpacing, 0); // spacings belong to the owner
    EXPECT_EQ(copy.LineSpacing, 0);

    source.Clear();
    EXPECT_TRUE(source.Pixels().empty());
    EXPECT_EQ(source.GlyphWidth('W'), 0);
    EXPECT_EQ(source.ColourKey(), 0u);
    EXPECT_EQ(source.CharacterSpacing, 0);
    EXPECT_EQ(source.LineSpacing, 0);
    EXPECT_EQ(source.BitsPerPixel(), 0);
}

TEST(Font, ConvertsToTheDisplaysPixelFormat) {
    // 16 bits on an RGB555 display: pixels and key lose the lowest green bit.
    TFont font;
    MakeTestFont(font);
    font.ConvertToDisplayFormat(16, false);
    EXPECT_EQ(font.ColourKey(), 0x7C1Fu);
    uint16_t first;
    std::memcpy(&first, font.Pixels().data() + 2, 2); // row 0, column 1: the key
    EXPECT_EQ(first, 0x7C1F);

    // Other depths for 16-bit fonts have no rule; the pixels stay as they were.
    MakeTestFont(font);
    const auto pixels = font.Pixels();
    for (const uint32_t bits : {24u, 32u}) {
        EXPECT_EQ(ErrorOf([&] { font.ConvertToDisplayFormat(bits, true); }),
                  "Unsupported pixel format conversion.");
        EXPECT_EQ(font.Pixels(), pixels);
    }
    EXPECT_THROW(font.ConvertToDisplayFormat(24, true), Base::EGraphicsError);
    font.ConvertToDisplayFormat(16, true);
    EXPECT_EQ(font.Pixels(), pixels);

    // 24 bits widened for a 32-bit display record their new depth, so they save and
    // reload as what they hold.
    std::vector<uint8_t> cells24(size_t(2) * 256 * 1 * 3);
    for (size_t i = 0; i < cells24.size(); ++i)
        cells24[i] = static_cast<uint8_t>(i);
    std::array<int16_t, GlyphCount> widths;
    widths.fill(2);
    font.SetGlyphs(24, 2, 1, widths, 0x030405, cells24);
    EXPECT_EQ(ErrorOf([&] { font.ConvertToDisplayFormat(16, true); }),
              "Unsupported pixel format conversion.");
    font.ConvertToDisplayFormat(24, true);
    EXPECT_EQ(font.Pixels(), cells24);
    font.ConvertToDisplayFormat(32, true);
    EXPECT_EQ(font.BitsPerPixel(), 32);
    ASSERT_EQ(font.Pixels().size(), cells24.size() / 3 * 4);
    EXPECT_EQ(font.Pixels()[4], 3);
    EXPECT_EQ(font.Pixels()[7], 0);
    TFont reloaded;
    LoadBytes(reloaded, SavedBytes(font));
    EXPECT_EQ(reloaded.Pixels(), font.Pixels());

    // 32 bits narrowed for a 24-bit display; the key loses its top byte.
    font.SetGlyphs(32, 2, 1, widths, 0xFF010203, std::vector<uint8_t>(2 * 256 * 4, 0xAB));
    font.ConvertToDisplayFormat(24, true);
    EXPECT_EQ(font.BitsPerPixel(), 24);
    EXPECT_EQ(font.ColourKey(), 0x010203u);
    EXPECT_EQ(font.Pixels(), std::vector<uint8_t>(2 * 256 * 3, 0xAB));
}
