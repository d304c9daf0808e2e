#include "engine/graphics/GfxRunLength.h"

#include <gtest/gtest.h>

#include <vector>

using namespace Gfx;

namespace {

// Builds rows byte by byte: control bytes and 16-bit little-endian pixels.
struct TRow {
    std::vector<uint8_t> Bytes;

    TRow& C(int value) {
        Bytes.push_back(static_cast<uint8_t>(value));
        return *this;
    }
    TRow& P(uint16_t pixel) {
        Bytes.push_back(static_cast<uint8_t>(pixel));
        Bytes.push_back(static_cast<uint8_t>(pixel >> 8));
        return *this;
    }
    // For RunLineB and shadow rows: the leading byte length, counting itself.
    TRow& WithLength() {
        const auto length = static_cast<uint16_t>(Bytes.size() + 2);
        Bytes.insert(Bytes.begin(), {uint8_t(length), uint8_t(length >> 8)});
        return *this;
    }
    const uint8_t* Begin() const { return Bytes.data(); }
    const uint8_t* End() const { return Bytes.data() + Bytes.size(); }
};

// A destination of width pixels of 9 between guards that must stay 0xDEAD.
struct TTarget {
    std::vector<uint16_t> Pixels;
    explicit TTarget(int width) : Pixels(size_t(width) + 2, 9) {
        Pixels.front() = Pixels.back() = 0xDEAD;
    }
    uint16_t* Row() { return Pixels.data() + 1; }
    std::vector<uint16_t> Visible() const { return {Pixels.begin() + 1, Pixels.end() - 1}; }
    bool GuardsIntact() const { return Pixels.front() == 0xDEAD && Pixels.back() == 0xDEAD; }
};

constexpr uint16_t A = 0x1111, B = 0x2222, K = 0xF81F, F = 0xFFFF;

} // namespace

TEST(RunLineA, DecodesLiteralsAndRepeats) {
    // Two literal pixels, then K twice, then the end; and a second row after it.
    const TRow row = TRow().C(2).P(A).P(B).C(-2).P(K).C(0).C(1).P(A).C(0);
    TTarget target(4);
    EXPECT_EQ(DecodeRleLine16(row.Begin(), row.End(), target.Row(), 4), row.Begin() + 9);
    EXPECT_EQ(target.Visible(), (std::vector<uint16_t>{A, B, K, K}));
    TTarget keyed(4);
    EXPECT_EQ(DecodeRleLine16Keyed(row.Begin(), row.End(), keyed.Row(), 4, K), row.Begin() + 9);
    EXPECT_EQ(keyed.Visible(), (std::vector<uint16_t>{A, B, 9, 9}));
}

TEST(RunLineA, ClippedDrawsEnterAndCutItems) {
    // A, B, K, K, K, A: the window straddles the literal and the repeat.
    const TRow row = TRow().C(2).P(A).P(B).C(-3).P(K).C(1).P(A).C(0);
    const struct {
        int skip, count;
        uint32_t key;
        std::vector<uint16_t> expected;
    } cases[] = {
        {1, 3, 0xFFFFFFFF, {B, K, K}}, {1, 3, K, {B, 9, 9}},
        {4, 2, 0xFFFFFFFF, {K, A}},    {0, 6, 0xFFFFFFFF, {A, B, K, K, K, A}},
        {5, 3, 0xFFFFFFFF, {A, 9, 9}}, // the row ends inside the window
    };
    for (const auto& c : cases) {
        TTarget target(c.count);
        EXPECT_EQ(
            BlitRleLine16Clipped(row.Begin(), row.End(), target.Row(), c.skip, c.count, c.key),
            row.End());
        EXPECT_EQ(target.Visible(), c.expected) << c.skip << "+" << c.count;
    }
}

TEST(RunLineA, MalformedRowsAreAbandonedInsideTheirBounds) {
    const struct {
        const char* why;
        TRow row;
        int width;
    } cases[] = {
        {"literal past the block", TRow().C(3).P(A).P(B), 3},
        {"repeat without its pixel", TRow().C(-2), 2},
        {"no end mark", TRow().C(1).P(A), 1},
        {"more pixels than the width", TRow().C(-100).P(A).C(0), 4},
        {"fewer pixels than the width", TRow().C(2).P(A).P(B).C(0), 3},
        {"empty block", TRow(), 1},
    };
    for (const auto& c : cases) {
        TTarget target(c.width);
        EXPECT_EQ(DecodeRleLine16(c.row.Begin(), c.row.End(), target.Row(), c.width), nullptr)
            << c.why;
        EXPECT_EQ(DecodeRleLine16Keyed(c.row.Begin(), c.row.End(), target.Row(), c.width, K),
                  nullptr)
            << c.why;
        EXPECT_TRUE(target.GuardsIntact()) << c.why;
        TRow copy = c.row;
        if (std::string(c.why).find("width") == std::string::npos) {
            EXPECT_EQ(ConvertRleLine565To555(copy.Bytes.data(), copy.End()), nullptr) << c.why;
        }
    }
    TTarget target(2);
    EXPECT_EQ(BlitRleLine16Clipped(nullptr, nullptr, target.Row(), 0, 2, K), nullptr);
    const TRow unterminated = TRow().C(-100).P(A);
    EXPECT_EQ(BlitRleLine16Clipped(unterminated.Begin(), unterminated.End(), target.Row(), 50, 2,
                                   0xFFFFFFFF),
              nullptr);
    EXPECT_EQ(target.Visible(), (std::vector<uint16_t>{A, A}));
    EXPECT_TRUE(target.GuardsIntact());
}

TEST(RunLineA, ConvertsOnlyPixelValues) {
    TRow row = TRow().C(1).P(0xF81F).C(-5).P(0x07E0).C(0);
    TRow expected = TRow().C(1).P(0x7C1F).C(-5).P(0x03E0).C(0);
    EXPECT_EQ(ConvertRleLine565To555(row.Bytes.data(), row.End()), row.End());
    EXPECT_EQ(row.Bytes, expected.Bytes);
}

TEST(RunLineB, DecodesLiteralsRepeatsAndTransparentRuns) {
    // Word (2 literals, 3 repeats), their data, word (2 transparent, end).
    const TRow row = TRow().C(2).C(-3).P(A).P(B).P(K).C(-34).C(0).WithLength();
    TTarget filled(7);
    EXPECT_EQ(DecodeRle2Line16(row.Begin(), row.End(), filled.Row(), 7, F), row.End());
    EXPECT_EQ(filled.Visible(), (std::vector<uint16_t>{A, B, K, K, K, F, F}));
    TTarget keyed(7);
    EXPECT_EQ(DecodeRle2Line16Keyed(row.Begin(), row.End(), keyed.Row(), 7), row.End());
    EXPECT_EQ(keyed.Visible(), (std::vector<uint16_t>{A, B, K, K, K, 9, 9}));
    // The rest of a row that ends early is transparent too.
    TTarget wider(9);
    EXPECT_EQ(DecodeRle2Line16(row.Begin(), row.End(), wider.Row(), 9, F), row.End());
    EXPECT_EQ(wider.Visible(), (std::vector<uint16_t>{A, B, K, K, K, F, F, F, F}));
    // Clipped: from pixel 3, three pixels; then the key leaves the repeat out.
    TTarget clipped(3);
    EXPECT_EQ(BlitRle2Line16Clipped(row.Begin(), row.End(), clipped.Row(), 3, 3, 0xFFFFFFFF),
              row.End());
    EXPECT_EQ(clipped.Visible(), (std::vector<uint16_t>{K, K, 9}));
    TTarget clippedKeyed(3);
    EXPECT_EQ(BlitRle2Line16Clipped(row.Begin(), row.End(), clippedKeyed.Row(), 0, 3, K),
              row.End());
    EXPECT_EQ(clippedKeyed.Visible(), (std::vector<uint16_t>{A, B, 9}));

    // A zero low byte does nothing; a row of length 2 is wholly transparent.
    const TRow padded = TRow().C(0).C(1).P(A).C(0).C(0).WithLength();
    TTarget one(1);
    EXPECT_EQ(DecodeRle2Line16(padded.Begin(), padded.End(), one.Row(), 1, F), padded.End());
    EXPECT_EQ(one.Visible(), (std::vector<uint16_t>{A}));
    const TRow empty = TRow().WithLength();
    TTarget blank(3);
    EXPECT_EQ(DecodeRle2Line16(empty.Begin(), empty.End(), blank.Row(), 3, 0xFFFF), empty.End());
    EXPECT_EQ(blank.Visible(), (std::vector<uint16_t>{F, F, F}));
    TTarget untouched(3);
    EXPECT_EQ(DecodeRle2Line16Keyed(empty.Begin(), empty.End(), untouched.Row(), 3), empty.End());
    EXPECT_EQ(untouched.Visible(), (std::vector<uint16_t>{9, 9, 9}));
}

TEST(RunLineB, MalformedRowsAreAbandonedInsideTheirBounds) {
    TRow longer = TRow().C(1).C(0).P(A).WithLength();
    longer.Bytes[0] = 40; // claims more than the block holds
    TRow tooShort = TRow().C(1).C(0).P(A);
    tooShort.Bytes.insert(tooShort.Bytes.begin(), {1, 0});
    TRow dataPastLength = TRow().C(3).C(0).P(A).WithLength();
    dataPastLength.Bytes.insert(dataPastLength.Bytes.end(), {0, 0, 0, 0}); // beyond L
    const struct {
        const char* why;
        TRow row;
        int width;
    } cases[] = {
        {"length beyond the block", longer, 1},
        {"length below 2", tooShort, 1},
        {"literal past the row's length", dataPastLength, 3},
        {"no end mark", TRow().C(1).C(1).P(A).P(A).WithLength(), 2},
        {"more pixels than the width", TRow().C(-90).C(0).WithLength(), 4},
        {"one byte", TRow().C(2), 1},
    };
    for (const auto& c : cases) {
        TTarget target(c.width);
        EXPECT_EQ(DecodeRle2Line16(c.row.Begin(), c.row.End(), target.Row(), c.width, F), nullptr)
            << c.why;
        EXPECT_EQ(DecodeRle2Line16Keyed(c.row.Begin(), c.row.End(), target.Row(), c.width), nullptr)
            << c.why;
        EXPECT_TRUE(target.GuardsIntact()) << c.why;
    }
    TTarget target(2);
    EXPECT_EQ(BlitRle2Line16Clipped(longer.Begin(), longer.End(), target.Row(), 0, 2, K), nullptr);
    EXPECT_EQ(ConvertRle2Line565To555(longer.Bytes.data(), longer.End()), nullptr);
}

TEST(RunLineB, ConvertsOnlyPixelValues) {
    TRow row = TRow().C(1).C(-2).P(0xF81F).P(0x07E0).C(-40).C(0).WithLength();
    TRow expected = TRow().C(1).C(-2).P(0x7C1F).P(0x03E0).C(-40).C(0).WithLength();
    EXPECT_EQ(ConvertRle2Line565To555(row.Bytes.data(), row.End()), row.End());
    EXPECT_EQ(row.Bytes, expected.Bytes);
}

TEST(ShadowRows, DarkenTheBackgroundToHalf) {
    const TRow row = TRow().C(1).C(-2).WithLength(); // leave 1, darken 2
    TTarget target(4);
    std::fill(target.Row(), target.Row() + 4, 0xFFFF);
    EXPECT_EQ(ShadowLine16(row.Begin(), row.End(), target.Row(), 4, 0xF7DE), row.End());
    EXPECT_EQ(target.Visible(), (std::vector<uint16_t>{0xFFFF, 0x7BEF, 0x7BEF, 0xFFFF}));
    TTarget narrow(1);
    narrow.Row()[0] = 0x7FFF;
    EXPECT_EQ(ShadowLine16Clipped(row.Begin(), row.End(), narrow.Row(), 2, 1, 0x7BDE), row.End());
    EXPECT_EQ(narrow.Visible(), (std::vector<uint16_t>{0x3DEF})); // (0x7FFF & 0x7BDE) >> 1

    const TRow tooLong = TRow().C(-5).WithLength();
    TTarget small(2);
    EXPECT_EQ(ShadowLine16(tooLong.Begin(), tooLong.End(), small.Row(), 2, 0xF7DE), nullptr);
    EXPECT_TRUE(small.GuardsIntact());
    TRow cut = tooLong;
    cut.Bytes[0] = 9;
    EXPECT_EQ(ShadowLine16(cut.Begin(), cut.End(), small.Row(), 2, 0xF7DE), nullptr);
    EXPECT_EQ(ShadowLine16Clipped(cut.Begin(), cut.End(), small.Row(), 0, 2, 0xF7DE), nullptr);
}
