// Text widgets draw where they may: a yes/no question too long for one line is
// wrapped into the unrolled part, a label without a clip handler stays inside its
// bounds, and answer choices show only in a game, in the player colour under the mouse.
#include "engine/graphics/GfxPixels.h"
#include "tests/ui/widgets/GameWidgetFixture.h"
#include "ui/widgets/GameView.h"
#include "ui/widgets/ScrollDialogs.h"
#include "ui/widgets/TextControls.h"
#include "ui/widgets/VRNLabel.h"
#include "ui/widgets/WidgetArt.h"

#include <algorithm>
#include <string>

namespace {

using namespace Main;

using TextDrawing = GameWidgetDrawingTest;

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
