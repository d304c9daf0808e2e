// The mini-map fits the map into its box, shows the terrain under the viewing player's
// fog with the map window's view framed (black for nobody), follows the fog as it
// changes, and moves the view where it is clicked or dragged while the local player
// may give commands.
#include "engine/graphics/GfxPixels.h"
#include "game/world/fog/Fog.h"
#include "tests/support/TinyWorld.h"
#include "tests/ui/widgets/GameWidgetFixture.h"
#include "ui/game/Game.h"
#include "ui/game/MapWindow.h"
#include "ui/game/SmallMapWindow.h"

#include <cstring>
#include <memory>

namespace {

using namespace Main;
using namespace GameData;

constexpr uint16_t Green565 = 0x07E0;

class MiniMap : public GameWidgetDrawingTest {
protected:
    static constexpr uint8_t Red = 0, Blue = 1;

    ~MiniMap() override { Main::Game.reset(); }

    // A game on a map of the size with a plain green thumbnail, red on turn and
    // seeing everything.
    void StartOn(int width, int height) {
        Main::Game.reset();
        TestSupport::TTinyWorldOptions options;
        options.Width = width;
        options.Height = height;
        TestSupport::TTinyWorld world(options);
        Main::Game = std::make_unique<TGame>(&Windows);
        Main::Game->Init();
        Main::Game->Scenario = std::move(world.Scenario);
        TScenario& s = *Main::Game->Scenario;
        s.Preview.CreateBlank(width * 2, height * 2, 16);
        for (size_t i = 0; i < s.Preview.Frames[0].Pixels.size(); i += 2)
            std::memcpy(&s.Preview.Frames[0].Pixels[i], &Green565, 2);
        s.CurrentPlayer = s.Players[Red];
        s.CurrentPlayerIndex = Red;
        s.Turn = 7;
        SetFog(Red, [](int, int) { return fsVisible; });
        Main::Game->MapWindow()->SetScenario(&s);
        Map().SetScenario(&s);
        Map().Show();
        Windows.ProcessRequests();
    }
    TSmallMapWindow& Map() { return *Main::Game->SmallMap(); }
    TScenario& Scenario() { return *Main::Game->Scenario; }
    void SetFog(int player, const std::function<uint8_t(int, int)>& state) {
        TFog& fog = *Scenario().Players[player]->Fog;
        for (int y = 0; y < fog.Height; ++y)
            for (int x = 0; x < fog.Width; ++x)
                fog.Cells[size_t(y * fog.Width + x)] = state(x, y);
        fog.UpdateImage();
    }
    Win32::RECT Area() { return Map().MapControl()->GetScreenRect(); }
    static uint16_t Grey(uint32_t colour) { return Gfx::PackColor565(colour); }
};

TEST_F(MiniMap, TheMapAreaIsFittedIntoItsBoxAndCentred) {
    const struct {
        int Width, Height;
        Win32::RECT Area; // window coordinates
    } cases[] = {
        {12, 12, {35, 18, 145, 128}},   // square: 110 high, so 110 wide
        {64, 32, {22, 39, 159, 107}},   // twice as wide: 137 x 68
        {32, 64, {63, 18, 118, 128}},   // twice as high: 55 x 110
        {128, 100, {22, 19, 159, 126}}, // 137 x 107
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.Width) + " x " + std::to_string(c.Height));
        StartOn(c.Width, c.Height);
        const DXWin::TDXControl& area = *Map().MapControl();
        EXPECT_TRUE(area.Visible());
        EXPECT_EQ(area.X(), c.Area.left);
        EXPECT_EQ(area.Y(), c.Area.top);
        EXPECT_EQ(area.X() + area.Width(), c.Area.right);
        EXPECT_EQ(area.Y() + area.Height(), c.Area.bottom);
    }
    Map().SetScenario(nullptr);
    EXPECT_FALSE(Map().MapControl()->Visible());
    EXPECT_EQ(Map().GetScreenRect().left, 617);
    EXPECT_EQ(Map().GetScreenRect().right, 800);
}

TEST_F(MiniMap, TerrainUnderTheFogWithTheViewFramedAndGreyLinesBesideANarrowArea) {
    StartOn(64, 32); // 137 x 68, 21 pixels free above and below
    // The left half unexplored.
    SetFog(Red, [](int x, int) { return x < 32 ? fsUnexplored : fsVisible; });
    DrawFrame();
    const Win32::RECT r = Area();
    EXPECT_EQ(At(r.right - 5, r.bottom - 5), Green565);
    EXPECT_EQ(At(r.left + 50, r.bottom - 5), 0);
    // The grey lines run one pixel outside the area, above and below it.
    EXPECT_EQ(At(r.left - 1, r.top - 1), Grey(0x606060));
    EXPECT_EQ(At(r.right, r.bottom), Grey(0x606060));
    EXPECT_EQ(At(r.left + 60, r.top - 2), Paper);
    // The view at the map's corner: 800 x 600 of 2560 x 1280 pixels is 43 x 32.
    EXPECT_EQ(At(r.left, r.top), Grey(0xA0A0A0));
    EXPECT_EQ(At(r.left + 42, r.top + 31), Grey(0xA0A0A0));
    EXPECT_EQ(At(r.left + 43, r.top + 31), 0);
    EXPECT_EQ(At(r.left + 42, r.top + 32), 0);
    EXPECT_EQ(At(r.left + 20, r.top + 20), 0);

    // The picture is kept while the fog stays, and follows it at the next draw.
    const int made = Map().PictureCompositions();
    DrawFrame();
    EXPECT_EQ(Map().PictureCompositions(), made);
    SetFog(Red, [](int, int) { return fsVisible; });
    DrawFrame();
    EXPECT_EQ(Map().PictureCompositions(), made + 1);
    EXPECT_EQ(At(r.left + 50, r.bottom - 5), Green565);
}

TEST_F(MiniMap, NobodyViewingShowsABlackArea) {
    StartOn(32, 32);
    Scenario().SetViewingPlayer(nullptr); // a game only computers play
    DrawFrame();
    const Win32::RECT r = Area();
    const auto [inside, outside] = CountInsideOutside(0, r);
    EXPECT_EQ(inside, (r.right - r.left) * (r.bottom - r.top));
    (void)outside;
}

TEST_F(MiniMap, AClickCentresTheViewAndADragFollowsWhileTheLocalPlayerMayAct) {
    StartOn(64, 64); // 110 x 110: a pixel is about 23 map pixels
    const Win32::RECT r = Area();
    const int midX = (r.left + r.right) / 2, midY = (r.top + r.bottom) / 2;
    TMapWindow& view = *Main::Game->MapWindow();

    MoveTo(midX, midY);
    Mouse(Win32::WM_LBUTTONDOWN, midX, midY, Win32::MK_LBUTTON);
    EXPECT_TRUE(Map().Dragging());
    EXPECT_EQ(view.ViewX(), 64 * 40 / 2 - 400);
    EXPECT_EQ(view.ViewY(), 64 * 40 / 2 - 300);
    MoveTo(r.left + 11, r.top + 22); // (256, 512)
    EXPECT_EQ(view.ViewX(), 0);
    EXPECT_EQ(view.ViewY(), 512 - 300);
    Mouse(Win32::WM_LBUTTONUP, r.left + 11, r.top + 22);
    EXPECT_FALSE(Map().Dragging());
    MoveTo(midX, midY);
    EXPECT_EQ(view.ViewY(), 512 - 300);

    const struct {
        const char* Name;
        std::function<void()> Set, Undo;
    } refusals[] = {
        {"an action waits for its result",
         [this] { Scenario().Players[Red]->PostAction(true, MakeAction(acReport, 1)); },
         [this] { Scenario().Players[Red]->TakeAction(); }},
        {"a computer on turn",
         [this] {
             Scenario().CurrentPlayer = Scenario().Players[Blue];
             Scenario().CurrentPlayerIndex = Blue;
         },
         [this] {
             Scenario().CurrentPlayer = Scenario().Players[Red];
             Scenario().CurrentPlayerIndex = Red;
         }},
    };
    for (const auto& refusal : refusals) {
        SCOPED_TRACE(refusal.Name);
        refusal.Set();
        ClickAt(midX, midY);
        EXPECT_EQ(view.ViewY(), 512 - 300);
        EXPECT_FALSE(Map().Dragging());
        refusal.Undo();
    }
}

TEST_F(MiniMap, ReadOutTooltipsFollowTheMouse) {
    StartOn(32, 32);
    Scenario().Players[Red]->Gold = 1234;
    const struct {
        int X, Y; // window coordinates
        const char* Hint;
    } cases[] = {
        {50, 139, "Gold: 1234"},
        {100, 131, "Turn: 7"},
        {180, 147, "Player: 0"},
        {86, 139, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Hint);
        MoveTo(617 + c.X, c.Y);
        Windows.Tick();
        EXPECT_EQ(Map().Hint(), c.Hint);
    }
    EXPECT_EQ(Map().MapControl()->Hint(), "Map of terrain");
}

} // namespace
