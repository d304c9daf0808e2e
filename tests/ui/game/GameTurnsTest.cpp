// Starting a game and passing the turn round: players and seeds by mode, the viewing
// player, the computer players' turns ending at once, the turn message said once.
#include "engine/core/Random.h"
#include "tests/ui/game/GameFixture.h"

namespace {

using namespace GameData;

TEST_F(GameTest, StartingAGameHandsThePlayersTheirControlAndStartsTurnOne) {
    AddGroup(1, 2, 2, 1);
    TScenario& scenario = TakeWorld();
    Main::TGameParams params = CampaignParams();
    params.Players[1].Name = "Alda";
    params.LocalPlayerNumber = 7;
    Game->StartGame(params);

    EXPECT_TRUE(Game->Active);
    EXPECT_EQ(scenario.Turn, 1);
    EXPECT_EQ(scenario.CurrentPlayerIndex, 0);
    EXPECT_EQ(scenario.LocalPlayerID, 7u);
    EXPECT_EQ(Player(0).Type, ptComputer);
    EXPECT_EQ(Player(1).Type, ptLocal);
    EXPECT_EQ(Player(1).Name, "Alda");
    EXPECT_EQ(scenario.ViewingPlayer(), &Player(1));
    EXPECT_EQ(Game->CurrentPlayerColor(), 0xC8C8C8u);
}

TEST_F(GameTest, EndOfTurnPassesRoundTheComputerPlayersAndBack) {
    AddGroup(1, 2, 2, 1);
    TScenario& scenario = TakeWorld();
    Game->StartGame(CampaignParams());
    TPlayer& local = Player(1);
    ASSERT_TRUE(UpdateUntil(
        [&] { return scenario.CurrentPlayerIndex == 1 && local.GetActionResult() == arDone; }));
    EXPECT_EQ(CountMessages("Turn number 1 started. Player 1 is on turn."), 1);
    EXPECT_EQ(scenario.ViewingPlayer(), &local);

    local.PostAction(true, MakeAction(acEndTurn));
    ASSERT_TRUE(UpdateUntil([&] {
        return scenario.Turn == 2 && scenario.CurrentPlayerIndex == 1 &&
               local.GetActionResult() == arDone;
    }));
    EXPECT_EQ(CountMessages("Turn number 2 started. Player 1 is on turn."), 1);
    EXPECT_EQ(CountMessages("Turn number 1 started. Player 1 is on turn."), 1);
    // The computer players' turns say nothing on this machine's message line.
    for (const ClassLib::AnsiString& line : Game->Messages())
        EXPECT_EQ(line.find("Player 0"), ClassLib::AnsiString::npos) << line;
    EXPECT_EQ(Game->CurrentPlayerColor(), 0x0083E9u);
}

TEST_F(GameTest, TheEndOfTheLastPlayersTurnRaisesTheTurnNumber) {
    TScenario& scenario = TakeWorld();
    Game->StartGame(AllLocal());
    for (int expectedTurn : {1, 1, 1, 2}) {
        EXPECT_EQ(scenario.Turn, expectedTurn);
        TPlayer& onTurn = Player(scenario.CurrentPlayerIndex);
        ASSERT_TRUE(UpdateUntil([&] { return onTurn.GetActionResult() == arDone; }));
        onTurn.PostAction(false, MakeAction(acEndTurn));
        ASSERT_TRUE(UpdateUntil([&] { return scenario.CurrentPlayer != &onTurn; }));
    }
    // Hot seat: each local player on turn is the one the screens show.
    EXPECT_EQ(scenario.ViewingPlayer(), scenario.CurrentPlayer);
}

// The game's states after StartGame: seeded as the mode says, then the first turn's
// start (player 0, a computer player) draws once and seeds the computer's state.
struct TSeedCase {
    Main::TGameMode Mode;
    bool FromClock;
    bool AllSeeded;
    int Viewer; // -1 none
};

TEST_F(GameTest, TheGeneratorsAreSeededByMode) {
    constexpr uint32_t Tick = 0xBEEF;
    const TSeedCase cases[] = {
        {Main::gmSingle, true, false, 1},
        {Main::gmNetwork, false, true, 1},
        {Main::gmNoLocalPlayer, true, false, -1},
        {Main::gmSpectator, false, true, 0},
    };
    for (const TSeedCase& c : cases) {
        SCOPED_TRACE(int(c.Mode));
        World = std::make_unique<TestSupport::TTinyWorld>();
        TakeWorld();
        Clock.Set(Tick);
        const Base::TRandomSeed untouched{0x1234, 0x5678};
        Base::SavedRandomSeed = untouched;
        Main::TGameParams params = CampaignParams();
        params.Mode = c.Mode;
        Game->StartGame(params);

        Base::TRandomSeed game{c.FromClock ? Tick : 0, 0};
        Base::NextRandom(game);
        Base::TRandomSeed saved = untouched;
        if (c.AllSeeded) {
            saved = {0, 0};
            Base::NextRandom(saved);
        }
        Base::TRandomSeed computer{Base::NextRandom(game), 0};
        Base::NextRandom(computer);
        EXPECT_EQ(Base::RandomSeed.Low, game.Low);
        EXPECT_EQ(Base::RandomSeed.High, game.High);
        EXPECT_EQ(Base::AIRandomSeed.Low, computer.Low);
        EXPECT_EQ(Base::AIRandomSeed.High, computer.High);
        EXPECT_EQ(Base::SavedRandomSeed.Low, saved.Low);
        EXPECT_EQ(Base::SavedRandomSeed.High, saved.High);
        EXPECT_EQ(Scenario().ViewingPlayer(), c.Viewer < 0 ? nullptr : &Player(c.Viewer));
        EXPECT_EQ(Game->Mode, c.Mode);
        Game->CloseGame();
    }
}

TEST_F(GameTest, ClosingTheGameLeavesNoScenarioAndSingleMode) {
    TakeWorld();
    Main::TGameParams params = CampaignParams();
    params.Mode = Main::gmNetwork;
    Game->StartGame(params);
    Game->CloseGame();
    EXPECT_FALSE(Game->HoldsScenario());
    EXPECT_EQ(Game->Mode, Main::gmSingle);
    EXPECT_EQ(Game->CurrentPlayerColor(), 0u);
    Game->Update(); // nothing to update, nothing to execute
}

} // namespace

namespace {

TEST_F(GameTest, TheSaveAndLoadPagesOpenOnlyInAGameOfThisMachinesOwn) {
    using Main::mpLoad;
    using Main::mpMain;
    using Main::mpOptions;
    using Main::mpSave;
    EXPECT_FALSE(Game->MayOpenMenuPage(mpSave)); // no game runs
    EXPECT_FALSE(Game->MayOpenMenuPage(mpLoad));
    EXPECT_TRUE(Game->MayOpenMenuPage(mpMain));
    TakeWorld();
    Main::TGameParams params = AllLocal();
    params.Mode = Main::gmNetwork;
    Game->StartGame(params);
    EXPECT_FALSE(Game->MayOpenMenuPage(mpSave));
    EXPECT_FALSE(Game->MayOpenMenuPage(mpLoad));
    EXPECT_TRUE(Game->MayOpenMenuPage(mpOptions));
    Game->OpenMainMenu(mpSave); // refused: the page is not even looked for
    EXPECT_EQ(CountMessages("The main menu is not available yet."), 0);
    Game->CloseGame();

    World = std::make_unique<TestSupport::TTinyWorld>();
    TakeWorld();
    Game->StartGame(AllLocal());
    EXPECT_TRUE(Game->MayOpenMenuPage(mpSave));
    EXPECT_TRUE(Game->MayOpenMenuPage(mpLoad));
    Game->OpenMainMenu(mpLoad);
    EXPECT_EQ(CountMessages("The main menu is not available yet."), 1);
}

} // namespace

namespace {

// The encyclopedia is the viewing player's, whoever is on turn, and the map screen comes
// back once it closes.
TEST_F(GameTest, TheEncyclopediaOpensForTheViewingPlayer) {
    AddGroup(1, 2, 2, 1);
    TakeWorld();
    Game->StartGame(CampaignParams());
    ASSERT_EQ(Scenario().CurrentPlayerIndex, 0);
    const TPlayer* shownFor = nullptr;
    bool activeWhileShown = true;
    Game->Screens.CreaturePedia = [&](const TPlayer* viewer) {
        shownFor = viewer;
        activeWhileShown = Game->Active;
    };
    Game->OpenCreaturePedia();
    EXPECT_EQ(shownFor, &Player(1));
    EXPECT_FALSE(activeWhileShown);
    EXPECT_TRUE(Game->Active);
    EXPECT_EQ(CountMessages("The creature encyclopedia is not available yet."), 0);
}

} // namespace

namespace {

// A turn that starts while its player's action slot is still taken reports once the
// slot is free, rather than failing on the main thread.
TEST_F(GameTest, TheTurnReportWaitsForAFreeActionSlot) {
    AddGroup(0, 2, 2, 1);
    TakeWorld();
    Game->StartGame(AllLocal());
    TPlayer& first = Player(0);
    ASSERT_EQ(first.TakeAction().Code, acReport);
    first.PostAction(false, MakeAction(acEndTurn, 0));
    Scenario().CurrentPlayerIndex = 0;
    EXPECT_NO_THROW(Game->StartTurn());
    EXPECT_EQ(first.TakeAction().Code, acEndTurn);
    Game->Update();
    EXPECT_EQ(first.TakeAction().Code, acReport);
}

} // namespace
