// Text widgets draw where they may: a yes/no question too long for one line is
// wrapped into the unrolled part, a label without a clip handler stays inside its
// bounds, and answer choices show only in a game, in the player colour under the mouse.
#include "engine/graphics/GfxPixels.h"
#include "engine/graphics/GfxRects.h"
#include "tests/ui/widgets/GameWidgetFixture.h"
#include "ui/widgets/GameView.h"
#include "ui/widgets/ScrollDialogs.h"
#include "ui/widgets/TextControls.h"
#include "ui/widgets/VRNLabel.h"
#include "ui/widgets/WidgetArt.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

using namespace Main;

constexpr uint16_t Paper = 0xFFFF;

class TextDrawing : public GameWidgetTest {
protected:
    // Draws the windows on white and reads the frame back.
    void DrawFrame() {
        Win32::IDirectDrawSurface7* back = Display.BackBuffer();
        Gfx::FillRect(back, 0, 0, 800, 600, Paper, nullptr);
        Windows.Draw(back);
        Win32::DDSURFACEDESC2 desc;
        ASSERT_EQ(back->Lock(nullptr, &desc, 0, nullptr), Win32::DD_OK);
        Pixels.assign(800 * 600, 0);
        for (int y = 0; y < 600; ++y)
            std::memcpy(&Pixels[size_t(y) * 800],
                        static_cast<const uint8_t*>(desc.lpSurface) + y * desc.lPitch, 800 * 2);
        back->Unlock(nullptr);
    }
    uint16_t At(int x, int y) const { return Pixels[size_t(y) * 800 + size_t(x)]; }
    // Pixels of the colour inside and outside a rectangle.
    std::pair<int, int> CountInsideOutside(uint16_t colour, const Win32::RECT& r) const {
        int inside = 0, outside = 0;
        for (int y = 0; y < 600; ++y)
            for (int x = 0; x < 800; ++x)
                if (At(x, y) == colour)
                    ++(x >= r.left && x < r.right && y >= r.top && y < r.bottom ? inside : outside);
        return {inside, outside};
    }

    SpriteTests::TScopedDisplay Display;
    std::vector<uint16_t> Pixels;
};

TEST_F(TextDrawing, ALongYesNoQuestionIsWrappedIntoTheUnrolledPart) {
    UseFont(0, 12);
    const Gfx::TFont& font = UseFont(1, 14);
    // The dialog is a window onto the middle of a parchment at least as wide as it.
    UsePictures({{pgHorizParchment, 600, 100}});
    auto* dialog = new THorizYesNoDialog(&Windows);
    const std::string question = "Your heroes have not moved this turn and three of your "
                                 "cities still have gold to spend. End the turn all the same?";
    dialog->SetText(question);
    ASSERT_EQ(dialog->Width(), 572);
    ASSERT_GT(font.TextWidth(question), 572);
    const uint32_t opened = Clock.Now();
    dialog->Show();
    TickAt(opened, 2 * 572 + 1);
    dialog->YesButton()->Hide();
    dialog->NoButton()->Hide();
    DrawFrame();

    const auto [inside, outside] = CountInsideOutside(0, dialog->GetVisibleRect());
    EXPECT_GT(inside, 0);
    EXPECT_EQ(outside, 0);
    // Rows of ink, in separate bands for separate lines.
    const Win32::RECT r = dialog->GetScreenRect();
    int bands = 0;
    bool inBand = false;
    for (int y = r.top; y < r.bottom; ++y) {
        bool ink = false;
        for (int x = r.left; x < r.right && !ink; ++x)
            ink = At(x, y) == 0;
        bands += ink && !inBand;
        inBand = ink;
    }
    const AnsiString wrapped = font.WrapText(572 - 100, question);
    const int lines = 1 + int(std::count(wrapped.begin(), wrapped.end(), '\r'));
    EXPECT_GE(lines, 2);
    EXPECT_EQ(bands, lines);
}

TEST_F(TextDrawing, ALabelWithoutAClipHandlerStaysInItsBounds) {
    UseFont(1, 14);
    DXWin::TDXWindow* window = MakeWindow(100, 100, 400, 200);
    auto* label = new TVRNLabel(window, window);
    label->SetFont(Data2::GlobalData->UIFonts[1]);
    label->SetText("A label far longer than the little room it was given");
    label->SetBoundsRect({20, 20, 120, 30});
    DrawFrame();
    const auto [inside, outside] = CountInsideOutside(0, label->GetScreenRect());
    EXPECT_GT(inside, 0);
    EXPECT_EQ(outside, 0);
}

class TTestGame : public TGameView {
public:
    bool HoldsScenario() const override { return Scenario; }
    uint32_t CurrentPlayerColor() const override { return 0xC8302C; }
    bool Scenario = false;
};

TEST_F(TextDrawing, ChoicesShowOnlyInAGameInThePlayerColourUnderTheMouse) {
    UseFont(1, 14);
    DXWin::TDXWindow* window = MakeWindow(100, 100, 400, 200);
    auto* choice = new TVRNChoice(window, window);
    choice->SetFont(Data2::GlobalData->UIFonts[1]);
    choice->SetText("Ask about the bridge");
    choice->SetBoundsRect({20, 20, 300, 40});
    const uint16_t blue = Gfx::PackColor565(0x0000A0);
    const uint16_t red = Gfx::PackColor16(0xC8302C);
    const Win32::RECT bounds = choice->GetScreenRect();

    DrawFrame();
    EXPECT_EQ(CountInsideOutside(blue, bounds).first, 0); // no game

    TTestGame game;
    GameView = &game;
    DrawFrame();
    EXPECT_EQ(CountInsideOutside(blue, bounds).first, 0); // a game without a scenario
    game.Scenario = true;
    DrawFrame();
    EXPECT_GT(CountInsideOutside(blue, bounds).first, 0);
    EXPECT_EQ(CountInsideOutside(red, bounds).first, 0);
    MoveTo(bounds.left + 2, bounds.top + 2);
    DrawFrame();
    EXPECT_EQ(CountInsideOutside(blue, bounds).first, 0);
    EXPECT_GT(CountInsideOutside(red, bounds).first, 0);
    GameView = nullptr;
}

} // namespace
