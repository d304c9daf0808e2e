// Software glyph drawing, text layout on surfaces, and the filled and framed rectangles.
#include "engine/graphics/GfxFont.h"
#include "engine/graphics/GfxPixels.h"
#include "engine/graphics/GfxRects.h"
#include "tests/engine/graphics/FontTestSupport.h"
#include "tests/support/DisplayFixtures.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>

using namespace Gfx;
using namespace TestSupport;

namespace {

constexpr uint32_t Paper = 0xAAAA;

struct TCanvas {
    TCanvas(int w, int h, TPixelLayout layout = TPixelLayout::RGB565)
        : Width(w), Surface(MakeSurface(*DirectDraw, w, h, layout)) {
        FillSurface(*Surface, Paper);
    }
    uint32_t At(int x, int y) const { return ReadPixels(*Surface)[size_t(y * Width + x)]; }
    std::vector<uint32_t> Pixels() const { return ReadPixels(*Surface); }

    TRefPtr<IDirectDraw7> DirectDraw = PrimaryDirectDraw();
    int Width;
    TRefPtr<IDirectDrawSurface7> Surface;
};

// The test font's glyph g drawn at (x, y) in colour over paper, as expected: inked
// pixels become their value plus the colour; only the glyph's width is drawn.
std::vector<uint32_t> ExpectedGlyphs(int w, int h,
                                     const std::vector<std::tuple<int, int, int>>& glyphs,
                                     uint32_t colour, RECT visible) {
    std::vector<uint32_t> pixels(size_t(w * h), Paper);
    for (const auto& [gx, gy, width] : glyphs)
        for (int y = 0; y < TestCellHeight; ++y)
            for (int x = 0; x < width; ++x) {
                const int px = gx + x, py = gy + y;
                if (px < visible.left || px >= visible.right || py < visible.top ||
                    py >= visible.bottom || TestGlyphPixel(x, y) == FontKey)
                    continue;
                pixels[size_t(py * w + px)] = uint16_t(TestGlyphPixel(x, y) + colour);
            }
    return pixels;
}

class ScopedRGB555 {
public:
    ScopedRGB555() { IsDisplayRGB565 = false; }
    ~ScopedRGB555() { IsDisplayRGB565 = true; }
};

} // namespace

TEST(FontDrawing, GlyphsAreCutToTheSurfaceAndTheClip) {
    TFont font;
    MakeTestFont(font);
    const RECT whole{0, 0, 8, 6};
    const struct {
        int x, y;
        std::optional<RECT> clip;
        RECT visible;
    } cases[] = {
        {1, 1, {}, whole},  {-1, -2, {}, whole},
        {6, 4, {}, whole},  {1, 1, RECT{2, 0, 3, 6}, RECT{2, 0, 3, 6}},
        {20, 1, {}, whole}, {1, 1, RECT{5, 5, 2, 2}, RECT{}}, // an empty clip
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
        TCanvas canvas(8, 6);
        EXPECT_EQ(
            font.DrawGlyph(canvas.Surface.Get(), c.x, c.y, c.clip ? &*c.clip : nullptr, 0x100, 'a'),
            3);
        EXPECT_EQ(canvas.Pixels(), ExpectedGlyphs(8, 6, {{c.x, c.y, 3}}, 0x100, c.visible));
    }
}

TEST(FontDrawing, ColoursAreConvertedOnRGB555Displays) {
    TFont font;
    MakeTestFont(font);
    TCanvas canvas(4, 3);
    {
        ScopedRGB555 layout;
        font.DrawGlyph(canvas.Surface.Get(), 0, 0, nullptr, 0xF800, 'W');
    }
    EXPECT_EQ(canvas.At(0, 0), 1u + 0x7C00u);
    EXPECT_EQ(canvas.At(1, 0), Paper);
}

TEST(FontDrawing, TargetsTheFontCannotDrawIntoAreLeftAlone) {
    TFont font;
    MakeTestFont(font);
    // A 32-bit target would take 16-bit glyph rows as half as many pixels.
    TCanvas deep(8, 6, TPixelLayout::XRGB8888);
    EXPECT_EQ(font.DrawGlyph(deep.Surface.Get(), 0, 0, nullptr, 0, 'a'), 3);
    EXPECT_EQ(deep.Pixels(), std::vector<uint32_t>(48, Paper));
    // A target that cannot be locked skips the glyph.
    TCanvas busy(8, 6);
    DDSURFACEDESC2 desc;
    ASSERT_EQ(busy.Surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    EXPECT_EQ(font.DrawGlyph(busy.Surface.Get(), 0, 0, nullptr, 0, 'W'), 4);
    busy.Surface->Unlock(nullptr);
    EXPECT_EQ(busy.Pixels(), std::vector<uint32_t>(48, Paper));
    // A cleared font draws nothing and has no width.
    font.Clear();
    EXPECT_EQ(font.DrawGlyph(busy.Surface.Get(), 0, 0, nullptr, 0, 'W'), 0);
}

TEST(FontDrawing, StringsStartANewLineAtEveryLineBreak) {
    TFont font;
    MakeTestFont(font, 1, 2);
    TCanvas canvas(12, 16);
    font.DrawString(canvas.Surface.Get(), 1, 0, nullptr, 0, "ab\r\nW");
    // Line pitch 3 + 2; CR LF makes two lines; the spacing follows every glyph.
    EXPECT_EQ(canvas.Pixels(),
              ExpectedGlyphs(12, 16, {{1, 0, 3}, {5, 0, 3}, {1, 10, 4}}, 0, {0, 0, 12, 16}));
}

TEST(FontDrawing, WrappedTextKeepsToItsRectangle) {
    TFont font;
    MakeTestFont(font, 0, 5); // the line spacing plays no part in wrapped text
    TCanvas canvas(16, 12);
    const RECT rect{1, 1, 14, 7};
    font.DrawWrappedText(canvas.Surface.Get(), rect, nullptr, 0, "ab cd ef");
    // Lines "ab", "cd", "ef" 3 apart; the third lies below the rectangle.
    EXPECT_EQ(canvas.Pixels(),
              ExpectedGlyphs(16, 12, {{1, 1, 3}, {4, 1, 3}, {1, 4, 3}, {4, 4, 3}}, 0, rect));

    TCanvas clipped(16, 12);
    const RECT clip{0, 0, 3, 12};
    font.DrawWrappedText(clipped.Surface.Get(), rect, &clip, 0, "ab cd ef");
    EXPECT_EQ(clipped.Pixels(), ExpectedGlyphs(16, 12, {{1, 1, 3}, {1, 4, 3}, {1, 7, 3}}, 0, clip));
}

TEST(FontDrawing, FilledAndFramedRectangles) {
    const struct {
        const char* what;
        int x, y, w, h;
        std::optional<RECT> clip;
        RECT filled;
    } cases[] = {
        {"inside", 1, 1, 2, 3, {}, {1, 1, 3, 4}},
        {"no width", 1, 1, 0, 3, {}, {}},
        {"negative height", 1, 1, 2, -3, {}, {}},
        {"partly outside", -2, 4, 4, 9, {}, {0, 4, 2, 6}},
        {"wholly outside", 9, 0, 4, 4, {}, {}},
        {"clipped", 0, 0, 8, 6, RECT{2, 1, 4, 9}, {2, 1, 4, 6}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TCanvas canvas(8, 6);
        FillRect(canvas.Surface.Get(), c.x, c.y, c.w, c.h, 0x1234, c.clip ? &*c.clip : nullptr);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 8; ++x) {
                const bool in = x >= c.filled.left && x < c.filled.right && y >= c.filled.top &&
                                y < c.filled.bottom;
                EXPECT_EQ(canvas.At(x, y), in ? 0x1234u : Paper) << x << "," << y;
            }
    }

    TCanvas canvas(6, 5);
    {
        ScopedRGB555 layout;
        FrameRect(canvas.Surface.Get(), 1, 1, 4, 3, 0xFFFF, nullptr);
    }
    const std::vector<uint32_t> framed = canvas.Pixels();
    const char* picture = "......"
                          ".####."
                          ".#..#."
                          ".####."
                          "......";
    for (size_t i = 0; i < framed.size(); ++i)
        EXPECT_EQ(framed[i], picture[i] == '#' ? 0x7FFFu : Paper) << i;
}
