// The adventure map window on a tiny world, headless: scrolling by drag, screen edge,
// keys and request, what the cursor shows and what clicks and keys post.
#include "ui/game/MapWindow.h"

#include "engine/app/DXApplication.h"
#include "engine/graphics/GfxPixels.h"
#include "engine/graphics/GfxRects.h"
#include "engine/graphics/Sprite.h"
#include "game/world/data/MainData.h"
#include "game/world/fog/Fog.h"
#include "game/world/scenario/ScriptRecords.h"
#include "tests/engine/graphics/SpriteFixtures.h"
#include "tests/engine/widgets/WidgetFixture.h"
#include "tests/support/DisplayFixtures.h"
#include "tests/support/GlobalDataFixture.h"
#include "tests/support/TinyWorld.h"
#include "tests/support/UnitBuilder.h"
#include "tools/SpriteWriter.h"
#include "ui/game/Game.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace GameData;
using Main::TMapWindow;
using TestSupport::TTinyWorld;

constexpr int Soldier = 1;
constexpr int Red = 0, Blue = 1, Green = 2;

TestSupport::TTinyWorldOptions Sized(int width, int height) {
    TestSupport::TTinyWorldOptions options;
    options.Width = width;
    options.Height = height;
    return options;
}

class MapWindowTest : public WidgetTest {
protected:
    explicit MapWindowTest(TestSupport::TTinyWorldOptions options = Sized(40, 32))
        : World(options) {
        TUnitStats& stats = GameData.AddUnitPrototype(Soldier, "Soldier").Stats;
        TestSupport::SetStat(stats, ACTIONPOINTS, 100);
        TestSupport::SetStat(stats, HITPOINTS, 20);
        TestSupport::SetStat(stats, SIGHT, 60);
        // Units may climb the tiny world's small steps.
        for (int i = 0; i < 3; ++i)
            GameData.SetConstant(Data2::gcFirstStepHeight + i, 10 * (i + 1));
        DXApp::Application = &App;
        Data2::CreateMainData();
        // Cursors told apart by their slot.
        for (int slot = 0; slot < Data2::MainSpriteCount; ++slot) {
            Cursors.push_back(std::make_unique<Gfx::TSprite>());
            Data2::MainData->Sprites[slot] = Cursors.back().get();
        }
        Main::Game = std::make_unique<Main::TGame>(&Windows);
        Main::Game->Init();
        Map = Main::Game->MapWindow();
        Map->Show();
        Windows.ProcessRequests();
        Bound = World.Scenario.get();
        Map->SetScenario(Bound);
        RedGroup = World.AddGroup(Red, 5, 5);
        Hero = AddUnit(*RedGroup);
        Scenario().BeginTurnOf(Red);
        Player(Red).SelectObject(RedGroup);
        MoveTo(400, 300);
    }
    ~MapWindowTest() override {
        Main::Game.reset();
        Data2::FreeMainData();
        DXApp::Application = nullptr;
    }

    // Every player sees what its groups see, after the test placed them.
    void Look() {
        Scenario().RebuildTerrainGrids();
        Scenario().RebuildOccupancyGrid();
        Scenario().UpdateAllVisibility();
        Player(Red).SelectObject(Player(Red).Selection);
    }

    // The tiny world's scenario, also once a test has handed it to the game.
    TScenario& Scenario() { return *Bound; }
    TPlayer& Player(int index) { return *Scenario().Players[index]; }
    TUnit* AddUnit(TGroup& group, uint32_t id = 0) {
        auto unit = TestSupport::MakeUnit(Soldier, 20);
        unit->ID = id;
        return group.AddUnit(std::move(unit), id == 0, false);
    }
    // The screen point over the centre of a cell.
    int ScreenX(int cellX) { return cellX * 40 + 20 - Map->ViewX(); }
    int ScreenY(int cellY) { return cellY * 40 + 20 - Map->ViewY(); }

    // The slot of the cursor the window system would draw now.
    int CursorSlot() {
        Windows.Draw(nullptr);
        for (int slot = 0; slot < Data2::MainSpriteCount; ++slot)
            if (Windows.CurrentCursor() == Data2::MainData->Sprites[slot])
                return slot;
        return -1;
    }
    void Tick() {
        ++App.TickCount;
        Windows.Tick();
        Pump();
    }
    // The action the player on turn posted, taken off its slot and answered.
    TPlayerAction Posted() {
        TPlayer& player = *Scenario().CurrentPlayer;
        const TPlayerAction action = player.TakeAction();
        if (action.Code != acNone)
            player.SetActionResult(arDone);
        return action;
    }
    void ClickCell(int cellX, int cellY, Win32::UINT down = Win32::WM_LBUTTONDOWN,
                   Win32::UINT up = Win32::WM_LBUTTONUP) {
        MoveTo(ScreenX(cellX), ScreenY(cellY));
        Mouse(down, ScreenX(cellX), ScreenY(cellY));
        Mouse(up, ScreenX(cellX), ScreenY(cellY));
    }

    TestSupport::TInstalledData Installed{TestSupport::TGlobalDataFixture{}};
    TestSupport::TTestGameData GameData;
    TTinyWorld World;
    TScenario* Bound = nullptr;
    DXApp::TDXApplication App;
    std::vector<std::unique_ptr<Gfx::TSprite>> Cursors;
    TMapWindow* Map = nullptr;
    TGroup* RedGroup = nullptr;
    TUnit* Hero = nullptr;
};

TEST_F(MapWindowTest, TheViewStaysOnTheMapAndMayShowThePanelStripPastItsRightEdge) {
    Map->SetView(100000, 100000);
    EXPECT_EQ(Map->ViewX(), 40 * 40 - 800 + 230);
    EXPECT_EQ(Map->ViewY(), 32 * 40 - 600);
    Map->SetView(-5, -5);
    EXPECT_EQ(Map->ViewX(), 0);
    EXPECT_EQ(Map->ViewY(), 0);

    // Pressed against the right edge, the view goes no further.
    Map->SetView(100000, 0);
    MoveTo(797, 300);
    Tick();
    EXPECT_EQ(Map->ViewX(), 40 * 40 - 800 + 230);
    // Arrow keys move by a cell.
    Key(Win32::VK_LEFT);
    Key(Win32::VK_DOWN);
    EXPECT_EQ(Map->ViewX(), 40 * 40 - 800 + 230 - 40);
    EXPECT_EQ(Map->ViewY(), 40);
}

TEST_F(MapWindowTest, AtTheScreenEdgesTheViewScrollsFivePixelsATickUnderTheEdgesArrow) {
    Map->SetView(200, 200);
    MoveTo(2, 2);
    Tick();
    EXPECT_EQ(Map->ViewX(), 195);
    EXPECT_EQ(Map->ViewY(), 195);
    EXPECT_EQ(CursorSlot(), Main::msFirstScrollCursor + 5) << "the up-left arrow";
    MoveTo(797, 300);
    Tick();
    EXPECT_EQ(Map->ViewX(), 200);
    EXPECT_EQ(Map->ViewY(), 195);
    EXPECT_EQ(CursorSlot(), Main::msFirstScrollCursor + 2) << "the right arrow";
    const struct {
        int X, Y, Edge;
    } edges[] = {{400, 2, 1}, {797, 300, 2}, {400, 597, 3}, {2, 300, 4},   {2, 2, 5},
                 {797, 2, 6}, {2, 597, 7},   {797, 597, 8}, {400, 300, 0}, {5, 5, 0}};
    for (const auto& e : edges)
        EXPECT_EQ(TMapWindow::EdgeAt(e.X, e.Y), e.Edge) << e.X << "," << e.Y;
}

TEST_F(MapWindowTest, AMiddleDragMovesTheViewByTheOffsetAndFasterBeyondNineteenPixels) {
    Map->SetView(200, 200);
    Mouse(Win32::WM_MBUTTONDOWN, 400, 300, Win32::MK_MBUTTON);
    ASSERT_TRUE(Map->Dragging());
    Mouse(Win32::WM_MOUSEMOVE, 419, 300, Win32::MK_MBUTTON);
    Tick();
    EXPECT_EQ(Map->ViewX(), 219) << "19 pixels: only the held cursor's offset";
    EXPECT_EQ(Windows.MouseX(), 400) << "the cursor is held where the drag began";
    Mouse(Win32::WM_MOUSEMOVE, 650, 300, Win32::MK_MBUTTON);
    Tick();
    EXPECT_EQ(Map->ViewX(), 219 + 200 / 10 + 250) << "250 pixels count as 200 for the speed";
    Tick();
    EXPECT_EQ(Map->ViewX(), 489) << "a held cursor moves nothing";
    EXPECT_EQ(CursorSlot(), Data2::msPointerCursor);
    Mouse(Win32::WM_MBUTTONUP, 400, 300);
    EXPECT_FALSE(Map->Dragging());
}

TEST_F(MapWindowTest, TheTargetUnderTheMouseTellsWhatAClickWouldDo) {
    TGroup* friendGroup = World.AddGroup(Red, 8, 5);
    AddUnit(*friendGroup);
    TGroup* full = World.AddGroup(Red, 5, 9);
    for (int i = 0; i < 3; ++i)
        AddUnit(*full);
    TGroup* heroes = World.AddGroup(Red, 3, 9);
    AddUnit(*heroes)->IsHero = 1;
    Hero->IsHero = 1;
    TGroup* enemy = World.AddGroup(Blue, 11, 5);
    AddUnit(*enemy);
    TGroup* stranger = World.AddGroup(Green, 5, 12);
    AddUnit(*stranger);
    TGroup* talker = World.AddGroup(Green, 8, 12);
    const TUnit* speaker = AddUnit(*talker);
    auto conversation = std::make_unique<TScenarioConversation>();
    conversation->ID = 1;
    conversation->OwnerType = 2;
    conversation->OwnerID = int32_t(speaker->ID);
    conversation->TargetPlayers = 1 << Red;
    Scenario().Conversations.Add(std::move(conversation));
    TCity* defended = World.AddCity(Blue, 14, 5);
    defended->AddDefender(0, Scenario().RegisterUnit(TestSupport::MakeUnit(Soldier, 20), true),
                          false);
    TCity* open = World.AddCity(Blue, 10, 8);
    World.AddDoodle(TTinyWorld::Rock, 17, 3);
    Look();

    const struct {
        const char* What;
        int CellX, CellY;
        int32_t Code;
        const TMapObject* Object;
    } cases[] = {
        {"an empty cell", 6, 6, Main::tcMove, nullptr},
        {"the group itself", 5, 5, Main::tcNone, nullptr},
        {"an own group", 8, 5, Main::tcMerge, friendGroup},
        {"an own group too full to merge", 5, 9, Main::tcTooManyUnits, full},
        {"an own group with a second hero", 3, 9, Main::tcTwoHeroes, heroes},
        {"an enemy group", 11, 5, Main::tcAttack, enemy},
        {"a group at peace", 5, 12, Main::tcNone, stranger},
        {"a group with something to say", 8, 12, Main::tcTalk, talker},
        {"an enemy city with defenders", 14, 5, Main::tcAttackCity, defended},
        {"an enemy city without defenders", 10, 8, Main::tcEnter, open},
        {"a cell under a rock", 17, 3, Main::tcBlocked, nullptr},
    };
    for (const auto& c : cases) {
        const Main::TMapTarget target = Map->ClassifyTarget(ScreenX(c.CellX), ScreenY(c.CellY));
        EXPECT_EQ(target.Code, c.Code) << c.What;
        if (c.Object) {
            EXPECT_EQ(target.Object, c.Object) << c.What;
        }
    }
    EXPECT_EQ(Map->ClassifyTarget(ScreenX(6), ScreenY(5)).Code, Main::tcMove);
    EXPECT_EQ(Map->HoverCost(), 20) << "one cell of the tiny world's ground";
    Map->SetView(100000, 0);
    EXPECT_EQ(Map->ClassifyTarget(790, 100).Code, Main::tcNone) << "right of the map";

    // The cursor and the hover text follow the target.
    Map->SetView(0, 0);
    MoveTo(ScreenX(11), ScreenY(5));
    Tick();
    EXPECT_EQ(CursorSlot(), Main::msAttackCursor);
    EXPECT_EQ(Map->Hint(), enemy->Name);
    MoveTo(ScreenX(17), ScreenY(3));
    Tick();
    EXPECT_EQ(CursorSlot(), Main::msBlockedCursor);
}

TEST_F(MapWindowTest, ClicksPostTheOrdersOfTheTargetUnderThem) {
    TGroup* enemy = World.AddGroup(Blue, 9, 5);
    AddUnit(*enemy);
    TCity* open = World.AddCity(Blue, 11, 8);
    Look();

    ClickCell(7, 6);
    const TPlayerAction move = Posted();
    EXPECT_EQ(move.Code, acMoveGroup);
    const uint32_t expected[13] = {7, 6, 0, 0, 0, 0, 1};
    for (int i = 0; i < 13; ++i)
        EXPECT_EQ(move.P[i], expected[i]) << "parameter " << i + 1;
    EXPECT_TRUE(Map->MarkerVisible());
    EXPECT_EQ(Map->MarkerX(), 7 * 40 + 20);
    EXPECT_EQ(Map->MarkerY(), 6 * 40 + 20);

    ClickCell(9, 5);
    const TPlayerAction attack = Posted();
    EXPECT_EQ(attack.Code, acMoveGroup);
    EXPECT_EQ(attack.P[2], 1u);
    EXPECT_EQ(attack.P[5], enemy->ID);
    EXPECT_EQ(attack.P[6], 1u);

    ClickCell(11, 8);
    const TPlayerAction enter = Posted();
    EXPECT_EQ(enter.P[3], 0x100u);
    EXPECT_EQ(enter.P[5], open->ID);
    EXPECT_EQ(enter.P[0] + enter.P[1], 0u);

    // The right button lets go of the selection.
    ClickCell(7, 6, Win32::WM_RBUTTONDOWN, Win32::WM_RBUTTONUP);
    const TPlayerAction deselect = Posted();
    EXPECT_EQ(deselect.Code, acSelectObject);
    EXPECT_EQ(deselect.P[0], 0u);

    // Without a group of its own, a click selects what it hits.
    Player(Red).SelectObject(enemy);
    ClickCell(11, 8);
    const TPlayerAction select = Posted();
    EXPECT_EQ(select.Code, acSelectObject);
    EXPECT_EQ(select.P[0], open->ID);
}

TEST_F(MapWindowTest, ClickingTheSelectedTownWhileItsGateGroupIsActiveEntersIt) {
    TCity* town = World.AddCity(Red, 10, 10);
    AddUnit(*town->GateGroup);
    Look();
    Player(Red).SelectObject(town);
    ASSERT_EQ(Map->ActiveGroup(), town->GateGroup.get());
    EXPECT_TRUE(Map->HasMovableGroup());
    EXPECT_TRUE(Map->SelectedTownHasGateGroup());
    EXPECT_TRUE(Map->SelectedOwnCity());
    EXPECT_EQ(Map->ClassifyTarget(ScreenX(10), ScreenY(10)).Code, Main::tcEnterSelectedCity);
    ClickCell(10, 10);
    const TPlayerAction entry = Posted();
    EXPECT_EQ(entry.Code, acEnterCity);
    EXPECT_EQ(entry.P[0], town->ID);
    // The gate group walks from the town's exit.
    EXPECT_EQ(Map->PathCostTo(10, 12), 0);
    EXPECT_EQ(Map->PathCostTo(10, 13), 20);
}

TEST_F(MapWindowTest, DuringAComputerTurnTheWaitCursorShowsAndInputIsIgnored) {
    Map->SetView(200, 200);
    Scenario().BeginTurnOf(Blue);
    MoveTo(400, 300);
    Tick();
    EXPECT_EQ(CursorSlot(), Main::msWaitCursor);
    ClickCell(6, 6);
    Key(Win32::VK_LEFT);
    MoveTo(2, 2);
    Tick();
    // The computer's own worker may have ended its turn meanwhile; the map posted nothing.
    const uint32_t posted = Posted().Code;
    EXPECT_TRUE(posted == acNone || posted == acEndTurn) << posted;
    EXPECT_EQ(Map->ViewX(), 200);
    EXPECT_EQ(Map->ViewY(), 200);
    // No wait cursor over a fight, nor over the screens that hide the map.
    Scenario().InBattle = 1;
    Tick();
    EXPECT_NE(CursorSlot(), Main::msWaitCursor);
    Scenario().InBattle = 0;
    Tick();
    ASSERT_EQ(CursorSlot(), Main::msWaitCursor);
    Map->Hide();
    EXPECT_NE(CursorSlot(), Main::msWaitCursor);
}

TEST_F(MapWindowTest, CentringReportsWhenTheScrollEnds) {
    Map->SetView(0, 0);
    Player(Red).SetActionResult(arPending);
    Map->CenterOn(1000, 800, true, 3);
    EXPECT_TRUE(Map->Centring());
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Player(Red).GetActionResult(), arPending);
        Scenario().StepViewScroll();
        Tick();
    }
    EXPECT_FALSE(Map->Centring());
    EXPECT_EQ(Player(Red).GetActionResult(), arDone);
    EXPECT_EQ(Map->ViewX(), 1000 - (800 - 145) / 2);
    EXPECT_EQ(Map->ViewY(), 800 - 300);

    // Scripts centre on the whole view.
    Scenario().ViewScroller->CenterViewOn(1000, 800, 0);
    EXPECT_EQ(Map->ViewX(), 600);
    EXPECT_EQ(Map->ViewY(), 500);
}

TEST_F(MapWindowTest, HeroKeysSelectTheHerosGroupInASingleGame) {
    TGroup* second = World.AddGroup(Red, 9, 9);
    AddUnit(*second, 506);
    Look();
    Key(uint32_t('6')); // the key "6" is hero entry 6, unit 506
    const TPlayerAction select = Posted();
    EXPECT_EQ(select.Code, acSelectObject);
    EXPECT_EQ(select.P[0], second->ID);
    // With Ctrl held the map ignores keys, and in a networked game there are none.
    Send(Win32::WM_KEYDOWN, Win32::VK_CONTROL, 1);
    Key(uint32_t('6'));
    Send(Win32::WM_KEYUP, Win32::VK_CONTROL, Win32::LParamFromBits(0xC0000001));
    EXPECT_EQ(Posted().Code, acNone);
    Main::Game->Mode = Main::gmNetwork;
    Key(uint32_t('6'));
    EXPECT_EQ(Posted().Code, acNone);
}

TEST_F(MapWindowTest, ASpellBeingTargetedIsCastByAClickOrCancelledByTheRightButton) {
    constexpr int AnyCell = 60, OwnGroup = 61;
    GameData.AddSpell(AnyCell, 0).TargetFlags = 0x08;
    GameData.AddSpell(OwnGroup, 0).TargetFlags = Main::SpellTargetsOwnGroup;
    for (const int id : {AnyCell, OwnGroup}) {
        Hero->Effective.LearnableSpells |= MaskBit(id);
        Hero->Effective.Spells |= MaskBit(id);
    }
    Main::Game->SpellBeingTargeted = AnyCell;
    Main::Game->Caster = 0;
    const int range = Hero->Effective.Level() + 2;
    MoveTo(ScreenX(5 + range), ScreenY(5));
    Tick();
    EXPECT_EQ(CursorSlot(), Main::msCanCastCursor);
    MoveTo(ScreenX(5 + range + 1), ScreenY(5));
    Tick();
    EXPECT_EQ(CursorSlot(), Main::msCannotCastCursor);
    ClickCell(5 + range + 1, 5);
    EXPECT_EQ(Posted().Code, acNone) << "out of range";
    ClickCell(5 + range, 5);
    const TPlayerAction cast = Posted();
    EXPECT_EQ(cast.Code, acCastSpell);
    EXPECT_EQ(cast.P[0], Hero->ID);
    EXPECT_EQ(cast.P[1], uint32_t(AnyCell));
    EXPECT_EQ(cast.P[2], uint32_t(5 + range));
    EXPECT_EQ(cast.P[3], 5u);
    EXPECT_EQ(Main::Game->SpellBeingTargeted, 0);
    EXPECT_TRUE(Map->MarkerVisible());

    // The right button gives the targeting up and posts nothing.
    Main::Game->SpellBeingTargeted = AnyCell;
    ClickCell(6, 6, Win32::WM_RBUTTONDOWN, Win32::WM_RBUTTONUP);
    EXPECT_EQ(Main::Game->SpellBeingTargeted, 0);
    EXPECT_EQ(Posted().Code, acNone);

    // A spell on the caster's own group needs no click.
    Main::Game->SpellBeingTargeted = OwnGroup;
    Tick();
    const TPlayerAction self = Posted();
    EXPECT_EQ(self.Code, acCastSpell);
    EXPECT_EQ(self.P[2], 5u);
    EXPECT_EQ(self.P[3], 5u);
}

TEST_F(MapWindowTest, TheClickMarkerPlaysItsFramesAndGoes) {
    const auto marker = std::make_unique<Gfx::TSprite>();
    marker->SetFrameCount(3);
    Data2::MainData->Sprites[Main::msMarker] = marker.get();
    App.TickCount = 0;
    ClickCell(7, 6);
    Posted();
    ASSERT_TRUE(Map->MarkerVisible());
    for (int tick = 1; tick <= 10; ++tick)
        Tick();
    EXPECT_EQ(Map->MarkerFrame(), 2) << "a frame every fifth tick";
    for (int tick = 11; tick <= 15; ++tick)
        Tick();
    EXPECT_FALSE(Map->MarkerVisible()) << "gone after its last frame";
    Map->ShowMarker(0, 0);
    Map->HideMarker();
    EXPECT_FALSE(Map->MarkerVisible());
    Data2::MainData->Sprites[Main::msMarker] = Cursors[Main::msMarker].get();
}

TEST_F(MapWindowTest, OnAnotherPlayersTurnTheViewFollowsItsSelectedGroup) {
    TGroup* blue = World.AddGroup(Blue, 30, 20);
    AddUnit(*blue);
    Look();
    Scenario().BeginTurnOf(Blue);
    Player(Blue).SelectObject(blue);
    Player(Red).Fog->Cells.assign(Player(Red).Fog->Cells.size(), fsUnexplored);
    Tick();
    EXPECT_EQ(Map->ViewX(), 0) << "red cannot see blue's group";
    Player(Red).Fog->Cells.assign(Player(Red).Fog->Cells.size(), fsVisible);
    Tick();
    EXPECT_EQ(Map->ViewX(), blue->X - (800 - 145) / 2);
    EXPECT_EQ(Map->ViewY(), blue->Y - 300);
}

TEST_F(MapWindowTest, AClickedMoveIsCarriedOutByTheGame) {
    Main::Game->Scenario = std::move(World.Scenario); // the map stays bound to it
    Main::Game->Active = true;
    ClickCell(8, 5);
    EXPECT_EQ(Player(Red).GetActionResult(), arPending);
    for (int update = 0; update < 2000 && RedGroup->X / 40 != 8; ++update)
        Main::Game->Update();
    EXPECT_EQ(RedGroup->X / 40, 8);
    EXPECT_EQ(RedGroup->Y / 40, 5);
}

TEST_F(MapWindowTest, AClickStopsAWalkingGroupAndOrdersNothing) {
    Main::Game->Scenario = std::move(World.Scenario);
    Main::Game->Active = true;
    ClickCell(10, 5);
    for (int update = 0; update < 2000 && RedGroup->Activity != gaMove; ++update)
        Main::Game->Update();
    ASSERT_EQ(RedGroup->Activity, gaMove);
    ASSERT_EQ(Player(Red).GetActionResult(), arPending);
    ClickCell(7, 9);
    EXPECT_EQ(RedGroup->Activity, gaStopRequest);
    for (int update = 0; update < 2000 && Player(Red).GetActionResult() == arPending; ++update)
        Main::Game->Update();
    EXPECT_LT(RedGroup->X / 40, 10) << "stopped short";
    EXPECT_EQ(Player(Red).TakeAction().Code, acNone) << "the stopping click orders nothing";
}

TEST_F(MapWindowTest, KeysOfScreensNotBuiltYetAreRefusedOnTheMessageLine) {
    const auto said = [](const char* text) {
        const auto& lines = Main::Game->Messages();
        return std::count(lines.begin(), lines.end(), ClassLib::AnsiString(text));
    };
    Main::Game->Scenario = std::move(World.Scenario);
    Key(uint32_t('C'));
    EXPECT_EQ(said("The creature encyclopedia is not available yet."), 1);
    Key(Win32::VK_ESCAPE);
    Key(Win32::VK_F6);
    EXPECT_EQ(said("The main menu is not available yet."), 2);
    Main::Game->Mode = Main::gmNetwork;
    Key(Win32::VK_F7);
    EXPECT_EQ(said("The main menu is not available yet."), 2) << "no saved games in a network game";
    EXPECT_EQ(Posted().Code, acNone);
}

class HotSeatMapWindowTest : public MapWindowTest {
protected:
    static TestSupport::TTinyWorldOptions HotSeat() {
        TestSupport::TTinyWorldOptions options = Sized(40, 32);
        options.SecondPlayerType = ptLocal;
        return options;
    }
    HotSeatMapWindowTest() : MapWindowTest(HotSeat()) {}
};

TEST_F(HotSeatMapWindowTest, EachLocalPlayerIsInCommandOnItsOwnTurn) {
    TGroup* blue = World.AddGroup(Blue, 12, 12);
    AddUnit(*blue);
    Look();
    Scenario().SetViewingPlayer(&Player(Red));
    EXPECT_TRUE(Map->InCommand());
    // The game hands the screen to the player on turn.
    Scenario().BeginTurnOf(Blue);
    Scenario().SetViewingPlayer(&Player(Blue));
    Player(Blue).SelectObject(blue);
    EXPECT_TRUE(Map->InCommand());
    Tick();
    EXPECT_NE(CursorSlot(), Main::msWaitCursor);
    ClickCell(13, 12);
    const TPlayerAction move = Player(Blue).TakeAction();
    EXPECT_EQ(move.Code, acMoveGroup);
    EXPECT_EQ(move.P[0], 13u);
    // Red's screen while blue plays: red is not in command.
    Scenario().SetViewingPlayer(&Player(Red));
    EXPECT_FALSE(Map->InCommand());
}

class TinyMapWindowTest : public MapWindowTest {
protected:
    TinyMapWindowTest() : MapWindowTest(Sized(12, 12)) {}
};

TEST_F(TinyMapWindowTest, AMapSmallerThanTheViewIsShownFromItsCorner) {
    Map->SetView(100, 100);
    EXPECT_EQ(Map->ViewX(), 0);
    EXPECT_EQ(Map->ViewY(), 0);
    MoveTo(797, 597);
    Tick();
    EXPECT_EQ(Map->ViewX(), 0);
    EXPECT_EQ(Map->ViewY(), 0);
}

// The map window drawn on a display: the spell's range in the player's colour and the path arrows
// by what they cost.
class MapWindowDrawingTest : public TinyMapWindowTest {
protected:
    static constexpr uint32_t ArrowColours[3] = {0x00FF00, 0xFFFF00, 0xFF0000};

    MapWindowDrawingTest() {
        Scenario().CreateSurfaces();
        for (int i = 0; i < 3; ++i) {
            const uint32_t colour = 0xFF000000 | ArrowColours[i];
            // Blended, as the game's arrows: they turn with each step.
            Tools::TSpriteOptions options;
            options.Kind = 3;
            options.BlendMode = 0xFF;
            options.Bits = 32;
            options.HotSpotX = options.HotSpotY = 5;
            Arrows.push_back(SpriteTests::LoadSprite(Tools::EncodeSprite(
                {SpriteTests::Picture(10, 10, [colour](int, int) { return colour; })}, options)));
            Arrows.back()->PrepareSurfaces(false);
            GameData.Global().CommonSprites[Main::cgPathArrow + i] = Arrows.back().get();
        }
    }
    ~MapWindowDrawingTest() override {
        for (int i = 0; i < 3; ++i)
            GameData.Global().CommonSprites[Main::cgPathArrow + i] = nullptr;
    }
    uint32_t Pixel(int x, int y) {
        return Gfx::UnpackColor16(
            uint16_t(TestSupport::ReadPixels(*Display.BackBuffer())[size_t(y) * 800 + size_t(x)]));
    }
    void DrawFrame() {
        Gfx::FillRect(Display.BackBuffer(), 0, 0, 800, 600, 0xFFFF, nullptr);
        Windows.Draw(Display.BackBuffer());
    }

    SpriteTests::TScopedDisplay Display;
    std::vector<std::unique_ptr<Gfx::TSprite>> Arrows;
};

TEST_F(MapWindowDrawingTest, TheMapWithItsStripTheSpellRangeAndThePathByCost) {
    Look();
    // A spell's range around the selected group, in the colour of the player on turn.
    GameData.AddSpell(60, 1).TargetFlags = 2;
    Main::Game->SpellBeingTargeted = 60;
    Main::Game->Caster = 0;
    DrawFrame();
    const int radius = (Hero->Effective.Level() + 2) * 40 + 20;
    const uint32_t red = Gfx::UnpackColor16(Gfx::PackColor16(Main::TGame::PlayerColor(Red)));
    EXPECT_EQ(Pixel(RedGroup->X + radius, RedGroup->Y), red);
    EXPECT_EQ(Pixel(RedGroup->X, RedGroup->Y - radius), red);
    Main::Game->SpellBeingTargeted = 0;

    // Hovering three cells right: 20 action points a cell, 100 to spend, a reserve of 70
    // leaves the first step green and the next two amber; with 50 points the third is red.
    GameData.SetConstant(Data2::gcLeastActionPoints, 70);
    const auto arrowAt = [this](int cellX) { return Pixel(cellX * 40 + 20, 5 * 40 + 20); };
    const auto colour = [](uint32_t rgb) { return Gfx::UnpackColor16(Gfx::PackColor16(rgb)); };
    MoveTo(ScreenX(8), ScreenY(5));
    Tick();
    ASSERT_EQ(Map->HoverCost(), 60);
    DrawFrame();
    EXPECT_EQ(arrowAt(6), colour(ArrowColours[0]));
    EXPECT_EQ(arrowAt(7), colour(ArrowColours[1]));
    EXPECT_EQ(arrowAt(8), colour(ArrowColours[1]));
    Hero->Effective.Value(ACTIONPOINTS) = 50;
    Tick();
    DrawFrame();
    EXPECT_EQ(arrowAt(8), colour(ArrowColours[2]));
}

} // namespace
