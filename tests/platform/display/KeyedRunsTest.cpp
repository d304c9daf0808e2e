#include "platform/display/KeyedRuns.h"
#include "platform/display/DirectDraw.h"
#include "platform/display/PixelLayout.h"
#include "tests/support/DisplayFixtures.h"

#include <gtest/gtest.h>

#include <random>

using namespace Win32;
using namespace TestSupport;

namespace {

// Pixels in memory of their own, with a view onto them.
struct TPixels {
    std::vector<uint8_t> Bytes;
    TPixelView View;

    TPixels(int32_t width, int32_t height, int32_t bytesPerPixel)
        : Bytes(size_t(width + 3) * size_t(bytesPerPixel) * size_t(height)) {
        View = {Bytes.data(), (width + 3) * bytesPerPixel, width, height, bytesPerPixel};
    }
};

// Runs of keyed and drawn pixels of random lengths, single pixels included, so spans
// start and end at every column.
void FillSprite(TPixels& sprite, uint32_t key, std::mt19937& random) {
    const uint32_t mask =
        sprite.View.BytesPerPixel == 4 ? 0xFFFFFFFFu : (1u << (8 * sprite.View.BytesPerPixel)) - 1;
    for (int32_t y = 0; y < sprite.View.Height; ++y) {
        bool keyed = random() % 2 == 0;
        int32_t left = 0;
        for (int32_t x = 0; x < sprite.View.Width; ++x) {
            if (left-- == 0) {
                keyed = !keyed;
                left = int32_t(random() % 5);
            }
            const uint32_t drawn = random() & mask;
            StorePixel(sprite.View.At(x, y), sprite.View.BytesPerPixel,
                       keyed          ? key
                       : drawn == key ? key ^ 1
                                      : drawn);
        }
    }
}

void FillRandom(TPixels& pixels, std::mt19937& random) {
    for (uint8_t& byte : pixels.Bytes)
        byte = uint8_t(random());
}

} // namespace

// Every source rectangle that cuts the sprite at any of its edges, starting in any block
// of the row index, for each pixel size.
TEST(KeyedRuns, DrawWhatThePlainKeyedCopyDraws) {
    std::mt19937 random(13);
    constexpr int32_t Width = 75, Height = 7; // three blocks of the row index
    for (const int32_t bytes : {2, 3, 4}) {
        const uint32_t key = bytes == 2 ? 0xF81F : bytes == 3 ? 0xFF00FF : 0x00FF00FF;
        TPixels sprite(Width, Height, bytes);
        FillSprite(sprite, key, random);
        const TKeyedRuns runs(sprite.View, key);
        for (const int32_t left : {0, 1, 31, 32, 33, 64})
            for (const int32_t right : {Width, Width - 1, 12, 40, 65})
                for (const int32_t top : {0, 1, 3})
                    for (const int32_t bottom : {Height, Height - 1, 4}) {
                        if (left >= right || top >= bottom)
                            continue;
                        SCOPED_TRACE(testing::Message() << bytes << " bytes, rect " << left << ","
                                                        << top << "-" << right << "," << bottom);
                        const RECT rect{left, top, right, bottom};
                        TPixels plain(80, 12, bytes), spans(80, 12, bytes);
                        FillRandom(plain, random);
                        spans.Bytes = plain.Bytes;
                        spans.View.Bits = spans.Bytes.data();
                        CopyPixels(plain.View, 3, 2, sprite.View, rect, key);
                        runs.Copy(spans.View, 3, 2, sprite.View, rect);
                        ASSERT_EQ(spans.Bytes, plain.Bytes);
                    }
    }
}

// The run-length form is built by the first keyed blit and must follow every change
// of the source's pixels or key after it.
TEST(KeyedRuns, SurfaceNeverDrawsFromStaleRuns) {
    auto dd = PrimaryDirectDraw();
    constexpr uint32_t Key = 0xF81F;
    constexpr int Side = 8;
    auto source = MakeSurface(*dd, Side, Side, TPixelLayout::RGB565);
    auto other = MakeSurface(*dd, Side, Side, TPixelLayout::RGB565);
    auto target = MakeSurface(*dd, Side, Side, TPixelLayout::RGB565);
    std::vector<uint32_t> sprite;
    for (int i = 0; i < Side * Side; ++i)
        sprite.push_back(i % 3 == 0 ? Key : uint32_t(i + 1));
    WritePixels(*source, sprite);
    WritePixels(*other, std::vector<uint32_t>(Side * Side, 0x1234));
    DDCOLORKEY key{Key, Key};
    ASSERT_EQ(source->SetColorKey(DDCKEY_SRCBLT, &key), DD_OK);

    // Blits the source keyed onto a cleared target and compares with what the source's
    // current pixels and key say, read without disturbing the source.
    const auto blitAndCheck = [&](uint32_t flags, uint32_t blitKey, const char* after) {
        SCOPED_TRACE(after);
        FillSurface(*target, 7);
        DDBLTFX fx = Fx();
        fx.ddckSrcColorkey = {blitKey, blitKey};
        ASSERT_EQ(target->Blt(nullptr, source.Get(), nullptr, flags, &fx), DD_OK);
        EXPECT_TRUE(source->HasKeyedRuns());
        std::vector<uint32_t> expected = ReadPixels(*source, DDLOCK_READONLY);
        for (uint32_t& pixel : expected)
            pixel = pixel == blitKey ? 7 : pixel;
        EXPECT_EQ(ReadPixels(*target), expected);
    };

    blitAndCheck(DDBLT_KEYSRC, Key, "the first keyed blit");
    EXPECT_TRUE(source->HasKeyedRuns());
    ReadPixels(*source, DDLOCK_READONLY);
    EXPECT_TRUE(source->HasKeyedRuns()) << "reading keeps the runs";

    WritePixels(*source, std::vector<uint32_t>(Side * Side, Key));
    EXPECT_FALSE(source->HasKeyedRuns());
    blitAndCheck(DDBLT_KEYSRC, Key, "a locked write");

    const RECT fillRect{1, 1, 6, 3};
    DDBLTFX fill = Fx();
    fill.dwFillColor = 0x4321;
    ASSERT_EQ(source->Blt(&fillRect, nullptr, nullptr, DDBLT_COLORFILL, &fill), DD_OK);
    EXPECT_FALSE(source->HasKeyedRuns());
    blitAndCheck(DDBLT_KEYSRC, Key, "a fill");

    const RECT part{2, 4, 8, 8};
    ASSERT_EQ(source->Blt(&part, other.Get(), &part, 0, nullptr), DD_OK);
    EXPECT_FALSE(source->HasKeyedRuns());
    blitAndCheck(DDBLT_KEYSRC, Key, "a blit into it");

    HDC dc = nullptr;
    ASSERT_EQ(source->GetDC(&dc), DD_OK);
    for (int x = 0; x < Side; ++x)
        Store16(dc->Bits + 2 * x, Key);
    source->ReleaseDC(dc);
    EXPECT_FALSE(source->HasKeyedRuns());
    blitAndCheck(DDBLT_KEYSRC, Key, "drawing through its device context");

    blitAndCheck(DDBLT_KEYSRCOVERRIDE, 0x1234, "an override key");
    blitAndCheck(DDBLT_KEYSRC, Key, "the surface's key again");
    const DDCOLORKEY otherKey{0x4321, 0x4321};
    ASSERT_EQ(source->SetColorKey(DDCKEY_SRCBLT, &otherKey), DD_OK);
    blitAndCheck(DDBLT_KEYSRC, 0x4321, "a new surface key");
}
