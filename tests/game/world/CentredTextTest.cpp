#include "game/world/objects/CentredText.h"
#include "tests/engine/graphics/FontTestSupport.h"
#include "tests/support/DisplayFixtures.h"

#include <gtest/gtest.h>

using namespace TestSupport;

namespace {

struct TCanvas {
    TCanvas() : Surface(MakeSurface(*DirectDraw, 40, 8, TPixelLayout::RGB565)) {
        FillSurface(*Surface, 0xAAAA);
    }
    Win32::TRefPtr<Win32::IDirectDraw7> DirectDraw = PrimaryDirectDraw();
    Win32::TRefPtr<Win32::IDirectDrawSurface7> Surface;
};

} // namespace

TEST(CentredText, StartsHalfTheTextWidthLeftOfThePointRoundedTowardZero) {
    Gfx::TFont font;
    MakeTestFont(font);
    const Win32::RECT clip{0, 0, 40, 8};
    // "abc" is 9 pixels wide: 4 to the left of the point.
    for (const auto& [x, left] : {std::pair{20, 16}, std::pair{3, -1}}) {
        TCanvas centred;
        TCanvas placed;
        GameData::DrawTextCentred(&font, centred.Surface.Get(), x, clip, 2, "abc", 0xFFFFFF);
        font.DrawString(placed.Surface.Get(), left, 2, &clip, 0xFFFFFF, "abc");
        EXPECT_EQ(ReadPixels(*centred.Surface), ReadPixels(*placed.Surface)) << x;
        EXPECT_NE(ReadPixels(*centred.Surface), ReadPixels(*TCanvas().Surface)) << x;
    }
}
