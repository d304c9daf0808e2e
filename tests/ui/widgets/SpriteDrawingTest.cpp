// Sprite scroll bars and sprite buttons show the sprite of each part's state.
#include "engine/app/DXApplication.h"
#include "engine/graphics/GfxPixels.h"
#include "tests/ui/widgets/GameWidgetFixture.h"
#include "ui/widgets/SpriteButton.h"
#include "ui/widgets/SpriteScrollBar.h"

#include <array>

namespace {

using namespace Main;

// A different opaque colour for every sprite.
uint32_t SpriteColour(int index) {
    return 0xFF004040u | uint32_t(16 * (index + 1)) << 16;
}
uint16_t Packed(int index) {
    return Gfx::PackColor565(SpriteColour(index) & 0xFFFFFF);
}

class SpriteDrawing : public GameWidgetDrawingTest {
protected:
    SpriteDrawing() { DXApp::Application = &App; }
    ~SpriteDrawing() override { DXApp::Application = nullptr; }

    Gfx::TSprite* Solid(int index, int width, int height, int frames = 1) {
        return MakeSprite(width, height, frames, SpriteColour(index));
    }
    // The mouse as the window system and the application's frame step see it.
    void Point(int x, int y) {
        App.CursorX = x;
        App.CursorY = y;
        MoveTo(x, y);
    }

    DXApp::TDXApplication App;
};

TEST_F(SpriteDrawing, AScrollBarShowsEachPartInItsState) {
    DXWin::TDXWindow* window = MakeWindow(0, 0, 200, 200);
    auto* bar = new TSpriteScrollBar(window, DXWin::sbVertical, 16, 20);
    bar->SetBoundsRect({10, 10, 26, 110});
    bar->SetRange(0, 10);
    std::array<Gfx::TSprite*, ScrollBarSpriteCount> sprites{};
    for (int i = 0; i < ScrollBarSpriteCount; ++i) {
        const bool arrow = i <= sbsDownDisabled;
        sprites[size_t(i)] = Solid(i, 16, arrow ? 16 : i == sbsTrack ? 68 : 20);
    }
    bar->SetSprites(sprites);
    // Up arrow, down arrow, thumb and bare track.
    const auto parts = [&] {
        DrawFrame();
        return std::array<uint16_t, 4>{At(18, 18), At(18, 102), At(18, 36), At(18, 90)};
    };
    using TParts = std::array<uint16_t, 4>;
    const uint16_t track = Packed(sbsTrack);

    Point(150, 150);
    Windows.Tick();
    EXPECT_EQ(parts(),
              (TParts{Packed(sbsUpNormal), Packed(sbsDownNormal), Packed(sbsThumbNormal), track}));
    Point(18, 18);
    Windows.Tick();
    EXPECT_EQ(parts()[0], Packed(sbsUpHover));
    Mouse(Win32::WM_LBUTTONDOWN, 18, 18, Win32::MK_LBUTTON);
    Windows.Tick();
    EXPECT_EQ(parts()[0], Packed(sbsUpPressed));
    Mouse(Win32::WM_LBUTTONUP, 18, 18);
    Point(18, 36);
    Windows.Tick();
    EXPECT_EQ(parts(),
              (TParts{Packed(sbsUpNormal), Packed(sbsDownNormal), Packed(sbsThumbHover), track}));
    Mouse(Win32::WM_LBUTTONDOWN, 18, 36, Win32::MK_LBUTTON);
    Point(150, 36); // dragging off the bar keeps the thumb pressed
    Windows.Tick();
    EXPECT_EQ(parts()[2], Packed(sbsThumbPressed));
    Mouse(Win32::WM_LBUTTONUP, 150, 36);

    bar->Disable();
    Windows.Tick();
    EXPECT_EQ(parts(), (TParts{Packed(sbsUpDisabled), Packed(sbsDownDisabled), track, track}));
}

TEST_F(SpriteDrawing, ASpriteButtonShowsTheSpriteOfItsState) {
    DXWin::TDXWindow* window = MakeWindow(0, 0, 200, 200);
    auto* button = new TSpriteButton(window, window);
    button->SetBoundsRect({10, 10, 30, 30});
    button->SetSprites(Solid(0, 20, 20), Solid(1, 20, 20, 3), Solid(4, 20, 20), Solid(5, 20, 20));
    DrawFrame();
    EXPECT_EQ(At(20, 20), Packed(0));
    Point(20, 20);
    for (int i = 0; i < 10; ++i)
        Windows.Tick();
    DrawFrame();
    // The second frame of the hover sprite: each frame 16 steps bluer.
    EXPECT_EQ(At(20, 20), Gfx::PackColor565((SpriteColour(1) + 16) & 0xFFFFFF));
    Mouse(Win32::WM_LBUTTONDOWN, 20, 20, Win32::MK_LBUTTON);
    DrawFrame();
    EXPECT_EQ(At(20, 20), Packed(4));
    Mouse(Win32::WM_LBUTTONUP, 20, 20);
    button->Disable();
    DrawFrame();
    EXPECT_EQ(At(20, 20), Packed(5));
}

} // namespace
