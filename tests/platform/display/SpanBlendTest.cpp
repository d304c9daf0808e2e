// The device's blend stage on its own: spans of sampled sources and spans under one
// source, in every layout it renders to, against the blend worked out pixel by pixel;
// and textured quads drawn the same whether the texture's runs of equal texels are known.
#include "platform/display/D3DRasterizer.h"
#include "platform/display/TexelRuns.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

using namespace Win32;

uint32_t Mul255(uint32_t x, uint32_t f) {
    const uint32_t t = x * f + 128;
    return (t + (t >> 8)) >> 8;
}

uint32_t Factor(TBlendFactor factor, uint32_t channel, uint32_t alpha) {
    switch (factor) {
    case TBlendFactor::Zero:
        return 0;
    case TBlendFactor::One:
        return channel;
    case TBlendFactor::SrcAlpha:
        return Mul255(channel, alpha);
    case TBlendFactor::InvSrcAlpha:
        break;
    }
    return Mul255(channel, 255 - alpha);
}

// One pixel of the layout under source s, channel by channel through 0xAARRGGBB.
void ReferenceBlend(TPixelLayout layout, const TRasterStates& states, uint8_t* pixel, uint32_t s) {
    const int bytes = BytesPerPixel(layout);
    const uint32_t d = PixelToArgb(layout, pixel);
    const uint32_t a = s >> 24;
    uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8)
        result |= std::min(Factor(states.Source, s >> shift & 0xFF, a) +
                               Factor(states.Dest, d >> shift & 0xFF, a),
                           255u)
                  << shift;
    StorePixel(pixel, bytes, ArgbToPixel(layout, result));
}

struct TRandom {
    uint32_t State = 2463534242u;
    uint32_t Next() {
        State ^= State << 13;
        State ^= State >> 17;
        State ^= State << 5;
        return State;
    }
    // Clear, opaque and in-between sources alike.
    uint32_t Source() {
        const uint32_t kind = Next() % 4;
        const uint32_t colour = Next() & 0x00FFFFFF;
        return kind == 0 ? 0 : kind == 1 ? 0xFF000000 | colour : Next();
    }
};

TEST(SpanBlend, SpansAndSpansOfOneSourceBlendAsPixelByPixel) {
    const TPixelLayout layouts[] = {TPixelLayout::RGB565, TPixelLayout::RGB555,
                                    TPixelLayout::ARGB8888};
    const TBlendFactor factors[] = {TBlendFactor::One, TBlendFactor::SrcAlpha,
                                    TBlendFactor::InvSrcAlpha, TBlendFactor::Zero};
    TRandom random;
    for (const TPixelLayout layout : layouts)
        for (const TBlendFactor source : factors)
            for (const TBlendFactor dest : factors) {
                TRasterStates states;
                states.AlphaBlend = true;
                states.Source = source;
                states.Dest = dest;
                const TSpanWriter writer = ChooseSpanWriter(layout, states);
                ASSERT_TRUE(writer.Span && writer.Constant);
                const int bytes = BytesPerPixel(layout);
                for (int count = 1; count <= 37; count += 3) {
                    SCOPED_TRACE(testing::Message() << int(layout) << " " << int(source) << " "
                                                    << int(dest) << " count " << count);
                    std::vector<uint8_t> target(size_t(count + 2) * size_t(bytes));
                    for (uint8_t& byte : target)
                        byte = uint8_t(random.Next());
                    std::vector<uint32_t> sources(static_cast<size_t>(count), 0u);
                    for (uint32_t& s : sources)
                        s = random.Source();
                    // Spans start off the first pixel, and the pixel after them stays.
                    std::vector<uint8_t> expected = target, spanned = target, constant = target;
                    for (int i = 0; i < count; ++i)
                        ReferenceBlend(layout, states, expected.data() + (i + 1) * bytes,
                                       sources[size_t(i)]);
                    writer.Span(spanned.data() + bytes, sources.data(), count);
                    EXPECT_EQ(spanned, expected);
                    std::vector<uint8_t> expectedConstant = target;
                    for (int i = 0; i < count; ++i)
                        ReferenceBlend(layout, states, expectedConstant.data() + (i + 1) * bytes,
                                       sources[0]);
                    writer.Constant(constant.data() + bytes, sources[0], count);
                    EXPECT_EQ(constant, expectedConstant);
                }
            }
}

TEST(SpanBlend, QuadsDrawTheSameWithTheTexelRunsKnown) {
    // A 64 x 64 texture: rows of one colour, rows in stretches, rows that vary.
    constexpr int Side = 64;
    std::vector<uint32_t> texels(Side * Side);
    TRandom random;
    for (int y = 0; y < Side; ++y)
        for (int x = 0; x < Side; ++x)
            texels[size_t(y * Side + x)] = y % 3 == 0   ? 0x8C040408
                                           : y % 3 == 1 ? (x < 20 ? 0xFF080810 : 0)
                                                        : random.Source();
    const TPixelView texturePixels{reinterpret_cast<uint8_t*>(texels.data()), Side * 4, Side, Side,
                                   4};
    const TTexelRuns runs(texturePixels);
    TRasterStates states;
    states.AlphaBlend = true;
    states.Source = TBlendFactor::One;
    states.Dest = TBlendFactor::InvSrcAlpha;
    // Whole, shifted by a fraction of a texel, and clipped quads.
    const float places[][4] = {{3, 5, 43, 45}, {0, 0, 40, 40}, {-7, 2, 33, 42}, {10, 10, 90, 50}};
    for (const TPixelLayout layout : {TPixelLayout::RGB565, TPixelLayout::ARGB8888})
        for (const auto& place : places) {
            const int bytes = BytesPerPixel(layout);
            std::vector<uint8_t> plain(size_t(100 * 60 * bytes));
            for (uint8_t& byte : plain)
                byte = uint8_t(random.Next());
            std::vector<uint8_t> withRuns = plain;
            const float u = (40 - 0.01f) / Side;
            const D3DTLVERTEX quad[4] = {{place[0], place[1], 0, 1, 0x00FFFFFF, 0, 0, 0},
                                         {place[2], place[1], 0, 1, 0x00FFFFFF, 0, u, 0},
                                         {place[2], place[3], 0, 1, 0x00FFFFFF, 0, u, u},
                                         {place[0], place[3], 0, 1, 0x00FFFFFF, 0, 0, u}};
            TRasterTexture texture{texturePixels, TPixelLayout::ARGB8888};
            DrawTriangleFan({{plain.data(), 100 * bytes, 100, 60, bytes}, layout, {0, 0, 100, 60}},
                            &texture, states, quad, 4);
            texture.Runs = &runs;
            DrawTriangleFan(
                {{withRuns.data(), 100 * bytes, 100, 60, bytes}, layout, {0, 0, 100, 60}}, &texture,
                states, quad, 4);
            EXPECT_EQ(withRuns, plain) << int(layout) << " at " << place[0] << ", " << place[1];
        }
}

} // namespace
