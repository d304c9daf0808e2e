#include "platform/display/DirectDraw.h"
#include "tests/support/DisplayFixtures.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace Win32;
using namespace TestSupport;

namespace {

// A w x h 16-bit surface whose pixel (x, y) holds 10 y + x + 1 (never 0).
TRefPtr<IDirectDrawSurface7> Numbered(IDirectDraw7& dd, int w, int h) {
    auto surface = MakeSurface(dd, w, h, TPixelLayout::RGB565);
    std::vector<uint32_t> pixels;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            pixels.push_back(uint32_t(10 * y + x + 1));
    WritePixels(*surface, pixels);
    return surface;
}

} // namespace

TEST(DirectDrawSurface, LockGivesTheRectanglesFirstPixelAndLocksOnce) {
    auto dd = PrimaryDirectDraw();
    auto surface = MakeSurface(*dd, 5, 4, TPixelLayout::RGB565);
    DDSURFACEDESC2 whole, part;
    ASSERT_EQ(surface->Lock(nullptr, &whole, DDLOCK_WAIT, nullptr), DD_OK);
    EXPECT_GE(whole.lPitch, 10);
    EXPECT_EQ(whole.dwWidth, 5u);
    EXPECT_EQ(whole.ddpfPixelFormat.dwRBitMask, 0xF800u);
    EXPECT_EQ(surface->Lock(nullptr, &part, DDLOCK_WAIT, nullptr), DDERR_SURFACEBUSY);
    ASSERT_EQ(surface->Unlock(nullptr), DD_OK);
    EXPECT_EQ(surface->Unlock(nullptr), DDERR_NOTLOCKED);

    const RECT rect{2, 1, 4, 3};
    ASSERT_EQ(surface->Lock(&rect, &part, DDLOCK_WAIT, nullptr), DD_OK);
    EXPECT_EQ(static_cast<uint8_t*>(part.lpSurface),
              static_cast<uint8_t*>(whole.lpSurface) + whole.lPitch + 4);
    surface->Unlock(nullptr);
    for (const RECT bad : {RECT{0, 0, 6, 1}, RECT{-1, 0, 2, 2}, RECT{2, 2, 2, 3}})
        EXPECT_EQ(surface->Lock(&bad, &part, DDLOCK_WAIT, nullptr), DDERR_INVALIDRECT);
}

TEST(DirectDrawSurface, ColourFillCoversTheRectangleOnly) {
    auto dd = PrimaryDirectDraw();
    auto surface = MakeSurface(*dd, 4, 3, TPixelLayout::RGB565);
    DDBLTFX fx = Fx();
    fx.dwFillColor = 0x1234F800; // only the pixel's 16 bits count
    const RECT rect{1, 1, 3, 2};
    ASSERT_EQ(surface->Blt(&rect, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
    EXPECT_EQ(ReadPixels(*surface), (std::vector<uint32_t>{0, 0, 0, 0,           //
                                                           0, 0xF800, 0xF800, 0, //
                                                           0, 0, 0, 0}));

    auto wide = MakeSurface(*dd, 2, 2, TPixelLayout::XRGB8888);
    FillSurface(*wide, 0x00123456);
    EXPECT_EQ(ReadPixels(*wide), std::vector<uint32_t>(4, 0x00123456));
    auto deep = MakeSurface(*dd, 3, 1, TPixelLayout::RGB888);
    FillSurface(*deep, 0xFFABCDEF);
    EXPECT_EQ(ReadPixels(*deep), std::vector<uint32_t>(3, 0xABCDEF));
}

TEST(DirectDrawSurface, SourceColourKeyLeavesKeyedPixels) {
    auto dd = PrimaryDirectDraw();
    // 19 pixels: whole vector steps and a tail.
    constexpr uint32_t Key = 0xF81F;
    auto source = MakeSurface(*dd, 19, 1, TPixelLayout::RGB565);
    auto target = MakeSurface(*dd, 19, 1, TPixelLayout::RGB565);
    std::vector<uint32_t> sprite, expected;
    for (uint32_t i = 0; i < 19; ++i) {
        sprite.push_back(i % 3 == 0 ? Key : i);
        expected.push_back(i % 3 == 0 ? 7 : i);
    }
    WritePixels(*source, sprite);
    FillSurface(*target, 7);
    EXPECT_EQ(target->Blt(nullptr, source.Get(), nullptr, DDBLT_KEYSRC, nullptr), DDERR_NOCOLORKEY);
    DDCOLORKEY key{Key, Key};
    ASSERT_EQ(source->SetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
    ASSERT_EQ(target->Blt(nullptr, source.Get(), nullptr, DDBLT_KEYSRC | DDBLT_WAIT, nullptr),
              DD_OK);
    EXPECT_EQ(ReadPixels(*target), expected);

    // An override key replaces the surface's; 32-bit pixels.
    auto source32 = MakeSurface(*dd, 3, 1, TPixelLayout::XRGB8888);
    auto target32 = MakeSurface(*dd, 3, 1, TPixelLayout::XRGB8888);
    WritePixels(*source32, {5, 6, 5});
    FillSurface(*target32, 9);
    DDBLTFX fx = Fx();
    fx.ddckSrcColorkey = {5, 5};
    ASSERT_EQ(target32->Blt(nullptr, source32.Get(), nullptr, DDBLT_KEYSRCOVERRIDE, &fx), DD_OK);
    EXPECT_EQ(ReadPixels(*target32), (std::vector<uint32_t>{9, 6, 9}));
}

TEST(DirectDrawSurface, StretchTakesThePixelUnderEachTargetPixelsCentre) {
    auto dd = PrimaryDirectDraw();
    auto source = Numbered(*dd, 2, 2); // 1 2 / 11 12
    auto target = MakeSurface(*dd, 4, 4, TPixelLayout::RGB565);
    ASSERT_EQ(target->Blt(nullptr, source.Get(), nullptr, DDBLT_WAIT, nullptr), DD_OK);
    EXPECT_EQ(ReadPixels(*target), (std::vector<uint32_t>{1, 1, 2, 2,     //
                                                          1, 1, 2, 2,     //
                                                          11, 11, 12, 12, //
                                                          11, 11, 12, 12}));
    // Halving a row of 4 takes the pixels whose centres lie under 0.5 and 1.5 of 2: 1 and 3.
    auto row = Numbered(*dd, 4, 1);
    auto half = MakeSurface(*dd, 2, 1, TPixelLayout::RGB565);
    ASSERT_EQ(half->Blt(nullptr, row.Get(), nullptr, DDBLT_WAIT, nullptr), DD_OK);
    EXPECT_EQ(ReadPixels(*half), (std::vector<uint32_t>{2, 4}));
}

TEST(DirectDrawSurface, OverlappingBlitsOnOneSurfaceScrollItsContents) {
    auto dd = PrimaryDirectDraw();
    const struct {
        RECT from;
        int toX, toY;
        bool keyed;
    } cases[] = {
        {{0, 0, 4, 4}, 1, 1, false}, // down and right
        {{1, 1, 5, 5}, 0, 0, false}, // up and left
        {{0, 0, 4, 5}, 1, 0, false}, // right within the same rows
        {{1, 0, 5, 5}, 0, 0, false}, // left within the same rows
        {{0, 0, 5, 4}, 0, 1, false}, // down, whole rows
        {{0, 0, 4, 4}, 1, 1, true},  // keyed, down and right
    };
    for (const auto& c : cases) {
        auto surface = Numbered(*dd, 5, 5);
        const std::vector<uint32_t> before = ReadPixels(*surface);
        const RECT to{c.toX, c.toY, c.toX + c.from.right - c.from.left,
                      c.toY + c.from.bottom - c.from.top};
        DDBLTFX fx = Fx();
        fx.ddckSrcColorkey = {13, 13}; // pixel (2, 1)
        ASSERT_EQ(surface->Blt(&to, surface.Get(), &c.from,
                               c.keyed ? DDBLT_KEYSRCOVERRIDE : DDBLT_WAIT, &fx),
                  DD_OK);
        const std::vector<uint32_t> after = ReadPixels(*surface);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 5; ++x) {
                uint32_t expected = before[size_t(5 * y + x)];
                if (x >= to.left && x < to.right && y >= to.top && y < to.bottom) {
                    const uint32_t moved =
                        uint32_t(10 * (y - to.top + c.from.top) + (x - to.left + c.from.left) + 1);
                    if (!c.keyed || moved != 13)
                        expected = moved;
                }
                EXPECT_EQ(after[size_t(5 * y + x)], expected)
                    << "case to " << c.toX << "," << c.toY << " pixel " << x << "," << y;
            }
    }
}

TEST(DirectDrawSurface, QuarterTurnStandsARowUpright) {
    auto dd = PrimaryDirectDraw();
    auto source = Numbered(*dd, 2, 1); // 1 2
    auto target = MakeSurface(*dd, 4, 3, TPixelLayout::RGB565);
    DDBLTFX fx = Fx();
    fx.dwRotationAngle = 9000;
    // The rectangle (1, 1)-(3, 2) turned a quarter clockwise about (2, 1.5) covers the
    // pixel centres (2.5, 0.5) and (2.5, 1.5): pixels (2, 0) and (2, 1), the left end on top.
    const RECT to{1, 1, 3, 2};
    ASSERT_EQ(target->Blt(&to, source.Get(), nullptr, DDBLT_ROTATIONANGLE | DDBLT_WAIT, &fx),
              DD_OK);
    EXPECT_EQ(ReadPixels(*target), (std::vector<uint32_t>{0, 0, 1, 0, //
                                                          0, 0, 2, 0, //
                                                          0, 0, 0, 0}));
    // Three quarters the other way round is the same turn.
    auto again = MakeSurface(*dd, 4, 3, TPixelLayout::RGB565);
    fx.dwRotationAngle = static_cast<uint32_t>(-27000);
    ASSERT_EQ(again->Blt(&to, source.Get(), nullptr, DDBLT_ROTATIONANGLE, &fx), DD_OK);
    EXPECT_EQ(ReadPixels(*again), ReadPixels(*target));
    // A half turn mirrors both ways; near the corner the turned image is cut at the edges.
    auto square = Numbered(*dd, 2, 2);
    auto small = MakeSurface(*dd, 2, 2, TPixelLayout::RGB565);
    fx.dwRotationAngle = 18000;
    ASSERT_EQ(small->Blt(nullptr, square.Get(), nullptr, DDBLT_ROTATIONANGLE, &fx), DD_OK);
    EXPECT_EQ(ReadPixels(*small), (std::vector<uint32_t>{12, 11, 2, 1}));
    const RECT corner{-1, -1, 1, 1};
    ASSERT_EQ(small->Blt(&corner, square.Get(), nullptr, DDBLT_ROTATIONANGLE, &fx), DD_OK);
    EXPECT_EQ(ReadPixels(*small), (std::vector<uint32_t>{1, 11, 2, 1}));
    // A zero angle is a plain stretch.
    fx.dwRotationAngle = 0;
    ASSERT_EQ(small->Blt(nullptr, square.Get(), nullptr, DDBLT_ROTATIONANGLE, &fx), DD_OK);
    EXPECT_EQ(ReadPixels(*small), (std::vector<uint32_t>{1, 2, 11, 12}));
}

TEST(DirectDrawSurface, RectanglesOutsideTheSurfaceNeedAClipper) {
    auto dd = PrimaryDirectDraw();
    auto source = Numbered(*dd, 3, 1);
    auto target = MakeSurface(*dd, 3, 1, TPixelLayout::RGB565);
    const RECT left{-1, 0, 2, 1};
    EXPECT_EQ(target->Blt(&left, source.Get(), nullptr, DDBLT_WAIT, nullptr), DDERR_INVALIDRECT);
    const RECT outside{0, 0, 4, 1};
    EXPECT_EQ(target->Blt(nullptr, source.Get(), &outside, DDBLT_WAIT, nullptr), DDERR_INVALIDRECT);
    EXPECT_EQ(ReadPixels(*target), std::vector<uint32_t>(3, 0));

    TRefPtr<IDirectDrawClipper> clipper;
    ASSERT_EQ(dd->CreateClipper(0, clipper), DD_OK);
    ASSERT_EQ(target->SetClipper(clipper.Get()), DD_OK);
    ASSERT_EQ(target->Blt(&left, source.Get(), nullptr, DDBLT_WAIT, nullptr), DD_OK);
    EXPECT_EQ(ReadPixels(*target), (std::vector<uint32_t>{2, 3, 0}));
    const RECT right{2, 0, 5, 1};
    ASSERT_EQ(target->Blt(&right, source.Get(), nullptr, DDBLT_WAIT, nullptr), DD_OK);
    EXPECT_EQ(ReadPixels(*target), (std::vector<uint32_t>{2, 3, 1}));
}

TEST(DirectDrawSurface, RefusesWhatItCannotDo) {
    auto dd = PrimaryDirectDraw();
    auto source = MakeSurface(*dd, 2, 2, TPixelLayout::XRGB8888);
    auto target = MakeSurface(*dd, 2, 2, TPixelLayout::RGB565);
    EXPECT_EQ(target->Blt(nullptr, source.Get(), nullptr, DDBLT_WAIT, nullptr),
              DDERR_INVALIDPIXELFORMAT);
    EXPECT_EQ(target->Blt(nullptr, nullptr, nullptr, DDBLT_WAIT, nullptr), DDERR_INVALIDPARAMS);

    auto other = MakeSurface(*dd, 2, 2, TPixelLayout::RGB565);
    DDSURFACEDESC2 desc;
    ASSERT_EQ(other->Lock(nullptr, &desc, 0, nullptr), DD_OK);
    EXPECT_EQ(target->Blt(nullptr, other.Get(), nullptr, DDBLT_WAIT, nullptr), DDERR_SURFACEBUSY);
    other->Unlock(nullptr);

    HDC dc = nullptr, second = nullptr;
    ASSERT_EQ(other->GetDC(&dc), DD_OK);
    EXPECT_EQ(dc->Width, 2);
    EXPECT_EQ(dc->BitsPerPixel, 16);
    EXPECT_EQ(other->GetDC(&second), DDERR_DCALREADYCREATED);
    EXPECT_EQ(other->Lock(nullptr, &desc, 0, nullptr), DDERR_SURFACEBUSY);
    EXPECT_EQ(other->ReleaseDC(dc), DD_OK);
    EXPECT_EQ(other->ReleaseDC(dc), DDERR_NODC);

    DDSURFACEDESC2 huge;
    huge.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    huge.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    huge.dwWidth = 100000;
    huge.dwHeight = 1;
    TRefPtr<IDirectDrawSurface7> none;
    EXPECT_EQ(dd->CreateSurface(huge, none), DDERR_INVALIDPARAMS);
    huge.dwWidth = 4;
    huge.dwFlags |= DDSD_PIXELFORMAT;
    huge.ddpfPixelFormat = RgbFormat(16, 0, 0xF00, 0xF0, 0xF);
    EXPECT_EQ(dd->CreateSurface(huge, none), DDERR_INVALIDPIXELFORMAT);
}

TEST(DirectDrawSurface, LostSurfacesRefuseWorkUntilRestored) {
    auto dd = PrimaryDirectDraw();
    auto surface = MakeSurface(*dd, 2, 2, TPixelLayout::RGB565);
    dd->SimulateDisplayTaken();
    EXPECT_EQ(dd->TestCooperativeLevel(), DDERR_EXCLUSIVEMODEALREADYSET);
    EXPECT_EQ(surface->IsLost(), DDERR_SURFACELOST);
    DDSURFACEDESC2 desc;
    EXPECT_EQ(surface->Lock(nullptr, &desc, 0, nullptr), DDERR_SURFACELOST);
    EXPECT_EQ(dd->RestoreAllSurfaces(), DDERR_EXCLUSIVEMODEALREADYSET);
    dd->SimulateDisplayReturned();
    EXPECT_EQ(dd->TestCooperativeLevel(), DD_OK);
    EXPECT_EQ(surface->IsLost(), DDERR_SURFACELOST);
    EXPECT_EQ(dd->RestoreAllSurfaces(), DD_OK);
    EXPECT_EQ(surface->IsLost(), DD_OK);
}
