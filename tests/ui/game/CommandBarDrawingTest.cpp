// The command bar draws its background, each button's sprite with its hot spot on the
// button's centre (lit while hovered, a pixel further while pressed), and the banner
// of a computer player on turn.
#include "engine/graphics/GfxPixels.h"
#include "engine/widgets/DXButton.h"
#include "tests/support/TinyWorld.h"
#include "tests/ui/widgets/GameWidgetFixture.h"
#include "ui/game/ButtonWindow.h"

#include "platform/classlib/Streams.h"

#include <memory>

namespace {

using namespace Main;

constexpr uint32_t Normal = 0xFF2040A0, Lit = 0xFFE0C020, Background = 0xFF305030;

uint16_t Packed(uint32_t colour) {
    return Gfx::PackColor565(colour & 0xFFFFFF);
}

class CommandBarDrawing : public GameWidgetDrawingTest {
protected:
    CommandBarDrawing() {
        Data2::GlobalData->CommonSprites[1063] = MakeSprite(145, 145, 1, Background);
        // End of turn: 8 x 8, hot spot in its middle.
        for (const auto& [slot, colour] : {std::pair{1068, Normal}, std::pair{1069, Lit}}) {
            Gfx::TSprite* sprite = MakeSprite(8, 8, 1, colour);
            sprite->HotSpotX = 4;
            sprite->HotSpotY = 4;
            Data2::GlobalData->CommonSprites[slot] = sprite;
        }
        Bar = new TButtonWindow(&Windows);
        Bar->SetScenario(World.Scenario.get());
        Bar->Show();
        Windows.ProcessRequests();
        World.Scenario->CurrentPlayer = &World.Player(0);
        World.Scenario->CurrentPlayerIndex = 0;
        Windows.Tick();
    }

    TestSupport::TTinyWorld World;
    TButtonWindow* Bar = nullptr;
};

TEST_F(CommandBarDrawing, AButtonsSpriteFollowsItsState) {
    // End of turn's button covers (661, 481)-(701, 521): its centre is (681, 501).
    const Win32::RECT button = Bar->Button(cbEndTurn)->GetScreenRect();
    ASSERT_EQ(button.left, 661);
    ASSERT_EQ(button.top, 481);
    DrawFrame();
    EXPECT_EQ(At(655, 455), Packed(Background));
    EXPECT_EQ(At(677, 497), Packed(Normal));
    EXPECT_EQ(At(684, 504), Packed(Normal));
    EXPECT_EQ(At(685, 505), Packed(Background));

    MoveTo(681, 501);
    DrawFrame();
    EXPECT_EQ(At(677, 497), Packed(Lit));

    Mouse(Win32::WM_LBUTTONDOWN, 681, 501, Win32::MK_LBUTTON);
    DrawFrame();
    EXPECT_EQ(At(677, 497), Packed(Background));
    EXPECT_EQ(At(678, 498), Packed(Lit));
    EXPECT_EQ(At(685, 505), Packed(Lit));
}

TEST_F(CommandBarDrawing, AnotherPlayersTurnShowsOnlyTheBackgroundAndItsBanner) {
    // Blue's banner: the tiny world's rock, 80 x 80, drawn from (665, 465).
    GameData::TScenario& s = *World.Scenario;
    s.PlayerSpriteLibrary.OpenDirectory(
        std::make_unique<ClassLib::TMemoryStream>(TestSupport::TinySpriteLibrary()));
    Gfx::TSprite* rock =
        s.PlayerSpriteLibrary.AcquireSpriteByID(TestSupport::TTinyWorld::RockSprite);
    World.Player(1).SpriteID = TestSupport::TTinyWorld::RockSprite;
    s.CurrentPlayer = &World.Player(1);
    s.CurrentPlayerIndex = 1;
    Windows.Tick();
    DrawFrame();
    EXPECT_FALSE(Bar->Button(cbEndTurn)->Visible());
    const auto [onRock, offRock] = CountInsideOutside(Packed(Background), {665, 465, 745, 545});
    EXPECT_LT(onRock, 80 * 80);
    EXPECT_EQ(At(664, 500), Packed(Background));
    EXPECT_EQ(At(746, 500), Packed(Background));
    (void)offRock;
    s.PlayerSpriteLibrary.ReleaseSpriteByPointer(rock);
}

} // namespace
