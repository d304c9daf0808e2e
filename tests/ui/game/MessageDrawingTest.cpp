// The message line drawn into the back buffer: each line at x 10 one line height below
// the last, the newest at the bottom, moved up by the scroll; nothing while the game
// is not active.
#include "tests/ui/widgets/GameWidgetFixture.h"
#include "ui/game/Game.h"

namespace {

class MessageDrawing : public GameWidgetDrawingTest {
protected:
    // White text pixels in the rows [top, bottom) of the message area.
    int TextPixels(int top, int bottom) const {
        int count = 0;
        for (int y = std::max(top, 0); y < bottom; ++y)
            for (int x = 0; x < 620; ++x)
                count += At(x, y) == 0xFFFF ? 1 : 0;
        return count;
    }

    // A black ground (the light text shows on it), then the game's message line alone,
    // read back.
    void DrawGame() {
        DrawOnPaper([this](Win32::IDirectDrawSurface7* back) {
            Gfx::FillRect(back, 0, 0, 800, 600, 0, nullptr);
            Game.Draw(back);
        });
    }

    Main::TGame Game{&Windows};
};

TEST_F(MessageDrawing, TheNewestLineIsDrawnAtTheBottomAndScrollsUp) {
    const int height = UseFont(0, 14).CellHeight();
    Game.Init();
    Game.ShowMessage("Turn number 1 started. Player 1 is on turn.");

    DrawGame();
    EXPECT_EQ(TextPixels(0, 600), 0) << "not active: nothing drawn";

    Game.Activate();
    DrawGame();
    EXPECT_EQ(TextPixels(0, 3 * height), 0);
    const int lastLine = TextPixels(3 * height, 4 * height);
    EXPECT_GT(lastLine, 0);
    EXPECT_EQ(TextPixels(4 * height, 600), 0);

    Game.MessageScroll = 5;
    DrawGame();
    EXPECT_EQ(TextPixels(3 * height - 5, 4 * height - 5), lastLine);
    EXPECT_EQ(TextPixels(4 * height - 5, 600), 0);
}

} // namespace
