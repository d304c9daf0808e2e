#include "engine/graphics/Sprite.h"
#include "tests/engine/graphics/SpriteFixtures.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace Gfx;
using namespace SpriteTests;

namespace {

// Options of every storage a sprite of pixels can have.
std::vector<std::pair<const char*, TSpriteOptions>> EveryKind() {
    std::vector<std::pair<const char*, TSpriteOptions>> kinds;
    for (int kind = 0; kind <= 3; ++kind) {
        TSpriteOptions options;
        options.ID = 100 + uint32_t(kind);
        options.Kind = kind;
        kinds.emplace_back(kind == 0   ? "raw"
                           : kind == 1 ? "RunLineA"
                           : kind == 2 ? "RunLineB"
                                       : "compressed rows",
                           options);
    }
    TSpriteOptions wide;
    wide.Bits = 24;
    kinds.emplace_back("24-bit", wide);
    wide.Bits = 32;
    wide.Kind = 3;
    kinds.emplace_back("32-bit compressed rows", wide);
    TSpriteOptions blended;
    blended.BlendMode = 0xFF;
    kinds.emplace_back("blended", blended);
    blended.Kind = 3;
    blended.BlendMode = 0xFE;
    kinds.emplace_back("blended compressed", blended);
    TSpriteOptions shadowed;
    shadowed.Kind = 1;
    shadowed.SubMode = 3;
    for (int i = 0; i < 2; ++i)
        shadowed.Shadows.push_back(
            Picture(12, 7, [](int x, int y) { return x > y ? 0xFF000000u : 0u; }));
    kinds.emplace_back("shadowed", shadowed);
    return kinds;
}

std::vector<TPicture> Frames(int count, int width, int height) {
    std::vector<TPicture> frames;
    for (int i = 0; i < count; ++i)
        frames.push_back(Checker(width, height, uint32_t(i)));
    return frames;
}

// Two 12 x 7 frames.
TBytes Record(const TSpriteOptions& options) {
    return Tools::EncodeSprite(Frames(2, 12, 7), options);
}

TSpriteHeader HeaderOf(const TBytes& record) {
    TSpriteHeader header;
    std::memcpy(&header, record.data() + 4, sizeof header);
    return header;
}

TBytes WithHeader(TBytes record, const std::function<void(TSpriteHeader&)>& change) {
    TSpriteHeader header = HeaderOf(record);
    change(header);
    std::memcpy(record.data() + 4, &header, sizeof header);
    return record;
}

} // namespace

TEST(Sprite, RecordsOfEveryKindRoundTripByteForByte) {
    for (const auto& [what, options] : EveryKind()) {
        const TBytes record = Record(options);
        const auto sprite = LoadSprite(record);
        EXPECT_EQ(sprite->FrameCount(), 2) << what;
        EXPECT_EQ(sprite->Width, 12) << what;
        EXPECT_EQ(SaveSprite(*sprite), record) << what;
    }
}

TEST(Sprite, HeadersOutsideTheFormatAreInvalidData) {
    const TBytes good = Record({});
    const struct {
        const char* what;
        std::function<void(TSpriteHeader&)> change;
        const char* error;
    } cases[] = {
        {"signature", [](TSpriteHeader& h) { h.Signature[3] = 'L'; }, "Invalid data."},
        {"kind 9", [](TSpriteHeader& h) { h.KindWord = 9; }, "Invalid data."},
        {"sub-mode 4", [](TSpriteHeader& h) { h.KindWord = 0x400; }, "Invalid data."},
        {"reserved word", [](TSpriteHeader& h) { h.Reserved1 = 1; }, "Invalid data."},
        {"8 bits", [](TSpriteHeader& h) { h.PixelWord = 8; }, "Invalid data."},
        {"no frames", [](TSpriteHeader& h) { h.FrameCount = 0; }, "Invalid data."},
        {"1025 frames", [](TSpriteHeader& h) { h.FrameCount = 1025; }, "Invalid data."},
        {"negative width", [](TSpriteHeader& h) { h.Width = -1; }, "Invalid data."},
        {"negative height", [](TSpriteHeader& h) { h.Height = -3; }, "Invalid data."},
        {"24-bit run-length rows", [](TSpriteHeader& h) { h.KindWord = 1, h.PixelWord = 24; },
         "Invalid data."},
        {"1024 frames but no data", [](TSpriteHeader& h) { h.FrameCount = 1024; },
         "Stream read error"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ErrorOfLoad(WithHeader(good, c.change)), c.error) << c.what;
}

TEST(Sprite, FramesDrawingCouldNotReadAreInvalidData) {
    const auto frame = [](int kind, int width, int height, TBytes pixels, TBytes shadow = {},
                          uint16_t pixelWord = 16, uint32_t key2 = NoColorKey) {
        TSpriteHeader header{};
        std::memcpy(header.Signature, "GFX ", 4);
        header.KindWord = uint16_t(kind);
        header.PixelWord = pixelWord;
        header.FrameCount = 1;
        header.Width = int16_t(width);
        header.Height = int16_t(height);
        header.ColorKey = NoColorKey;
        header.ColorKey2 = key2;
        TBytes record(4, 0);
        record.insert(record.end(), reinterpret_cast<uint8_t*>(&header),
                      reinterpret_cast<uint8_t*>(&header) + sizeof header);
        const TFrameHeader head{uint32_t(pixels.size()), uint32_t(shadow.size()), 0};
        record.insert(record.end(), reinterpret_cast<const uint8_t*>(&head),
                      reinterpret_cast<const uint8_t*>(&head) + sizeof head);
        record.insert(record.end(), pixels.begin(), pixels.end());
        record.insert(record.end(), shadow.begin(), shadow.end());
        return record;
    };
    const uint16_t row[3] = {1, 2, 3};
    const TBytes rowA = Tools::EncodeRunLineA(row, 3);
    const TBytes rowB = Tools::EncodeRunLineB(row, 3);
    const uint8_t darken[3] = {1, 1, 1};
    const TBytes shadowRow = Tools::EncodeShadowRow(darken, 3);
    const uint8_t raw[6] = {1, 0, 2, 0, 3, 0};
    const TBytes packed = Tools::EncodeCompressedRow(raw, 6);
    const struct {
        const char* what;
        TBytes record;
        bool valid;
    } cases[] = {
        {"raw rows", frame(0, 3, 2, TBytes(12)), true},
        {"raw rows one byte short", frame(0, 3, 2, TBytes(11)), false},
        {"RunLineA rows", frame(1, 3, 1, rowA), true},
        {"RunLineA row of another width", frame(1, 4, 1, rowA), false},
        {"RunLineA rows missing", frame(1, 3, 2, rowA), false},
        {"RunLineB row", frame(2, 3, 1, rowB), true},
        {"RunLineB row wider than the sprite", frame(2, 2, 1, rowB), false},
        {"compressed row", frame(3, 3, 1, packed), true},
        {"compressed row of another width", frame(3, 2, 1, packed), false},
        {"compressed row cut short", frame(3, 3, 1, TBytes(packed.begin(), packed.end() - 1)),
         false},
        {"shadow rows", frame(0, 3, 1, TBytes(6), shadowRow, 16, 0), true},
        {"shadow rows missing", frame(0, 3, 1, TBytes(6), {}, 16, 0), false},
        {"shadow row wider than the sprite", frame(0, 2, 1, TBytes(4), shadowRow, 16, 0), false},
        {"blended pixels short", frame(0, 2, 2, TBytes(15), {}, 0xFF20), false},
        {"blended compressed expands too far", frame(3, 2, 2, {2, 0, 0x80, 1}, {}, 0xFF20), false},
        {"empty sprite holds nothing", frame(1, 0, 5, {}), true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorOfLoad(c.record), c.valid ? "no error" : "Invalid data.") << c.what;
    }
    // A sprite that failed to load is left empty.
    TSprite sprite;
    ClassLib::TMemoryStream stream(frame(1, 4, 1, rowA));
    EXPECT_THROW(sprite.LoadFromStream(&stream), Data::EInvalidData);
    EXPECT_EQ(sprite.FrameCount(), 0);
    EXPECT_EQ(sprite.Width, 0);
}

TEST(Sprite, CopiesBlanksAndFrameCounts) {
    const auto source = LoadSprite(Record(EveryKind()[1].second));
    TSprite copy(sfConvert);
    copy.CopyFrom(source.get());
    EXPECT_EQ(copy.Flags, sfConvert);
    copy.ID = source->ID;
    EXPECT_EQ(SaveSprite(copy), SaveSprite(*source));
    copy.Frames[0].Pixels[0] ^= 1; // a deep copy
    EXPECT_NE(copy.Frames[0].Pixels, source->Frames[0].Pixels);

    copy.CreateBlank(5, 3, 32);
    EXPECT_EQ(copy.KindWord, 0);
    EXPECT_EQ(copy.FrameCount(), 1);
    EXPECT_EQ(copy.Frames[0].Pixels, TPixelBytes(5 * 3 * 4, 0));
    EXPECT_EQ(copy.ColorKey, NoColorKey);
    copy.SetFrameCount(3);
    EXPECT_TRUE(copy.Frames[2].Pixels.empty());
    copy.Clear();
    EXPECT_EQ(copy.FrameCount(), 0);
    EXPECT_EQ(copy.Flags, sfConvert);
}

TEST(Sprite, SurfaceDumpsNeedADisplay) {
    TSpriteOptions options;
    options.Kind = 4;
    EXPECT_EQ(ErrorOfLoad(Record(options)), "Surface sprite without a display.");
    // A dump of another size than the sprite's is rejected before that.
    EXPECT_EQ(ErrorOfLoad(WithHeader(Record(options), [](TSpriteHeader& h) { h.Width = 11; })),
              "Invalid data.");
}
