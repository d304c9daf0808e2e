// The message line: a new text lands on the last of four lines, older ones move up and
// drop off; once a text has stood for 100 ticks the lines scroll up a pixel every fifth
// tick and the top line goes when a whole line has scrolled; an outcome is said once.
#include "tests/ui/game/GameFixture.h"

namespace {

using namespace GameData;
using Lines = std::vector<ClassLib::AnsiString>;

Lines LinesOf(const Main::TGame& game) {
    return {game.Messages().begin(), game.Messages().end()};
}

// Without the global data's font the lines are 16 pixels high.
constexpr int LineHeight = 16;

class MessageLineTest : public GameTest {
protected:
    MessageLineTest() {
        RedGroup = AddGroup(0, 2, 2, 1);
        BlueGroup = AddGroup(1, 9, 9, 1);
        TakeWorld();
        // A networked game: no autosave speaks up at the start of the turn.
        Main::TGameParams params = AllLocal();
        params.Mode = Main::gmNetwork;
        Game->StartGame(params);
        Game->Update(); // the turn's opening report
    }
    TGroup* RedGroup = nullptr;
    TGroup* BlueGroup = nullptr;

    // Updates at each tick from the application's counter on.
    void UpdateTicks(uint32_t ticks) {
        for (uint32_t i = 0; i < ticks; ++i) {
            ++App.TickCount;
            Game->Update();
        }
    }
};

TEST_F(MessageLineTest, NewTextsLandOnTheLastLineAndTheOldestDropOff) {
    App.TickCount = 1000;
    Game->ShowMessage("a");
    // Blank lines above the first text; the turn's own message went before it.
    EXPECT_EQ(LinesOf(*Game), (Lines{"", "", "Turn number 1 started. Player 0 is on turn.", "a"}));
    for (const char* text : {"b", "c", "d", "e"})
        Game->ShowMessage(text);
    EXPECT_EQ(LinesOf(*Game), (Lines{"b", "c", "d", "e"}));
    EXPECT_EQ(Game->LastMessageTick, 1000u);
}

TEST_F(MessageLineTest, LinesScrollOnlyAfterTheNewestHasStoodAHundredTicks) {
    App.TickCount = 1000;
    for (const char* text : {"a", "b", "c", "d"})
        Game->ShowMessage(text);
    UpdateTicks(100); // up to tick 1100: not yet more than 100 ticks
    EXPECT_EQ(Game->MessageScroll, 0);
    UpdateTicks(5); // tick 1105, a multiple of five
    EXPECT_EQ(Game->MessageScroll, 1);
    UpdateTicks(4); // ticks 1106..1109: no multiple of five
    EXPECT_EQ(Game->MessageScroll, 1);
    UpdateTicks(5 * (LineHeight - 2));
    EXPECT_EQ(Game->MessageScroll, LineHeight - 1);
    EXPECT_EQ(LinesOf(*Game), (Lines{"a", "b", "c", "d"}));
    UpdateTicks(5); // a whole line has scrolled: the top line goes
    EXPECT_EQ(Game->MessageScroll, 0);
    EXPECT_EQ(LinesOf(*Game), (Lines{"b", "c", "d"}));
}

TEST_F(MessageLineTest, ATextArrivingMidScrollKeepsABlankLineAboveIt) {
    App.TickCount = 1000;
    for (const char* text : {"a", "b", "c", "d"})
        Game->ShowMessage(text);
    UpdateTicks(100 + 5 * (LineHeight + 3)); // one line gone, three pixels into the next
    ASSERT_EQ(LinesOf(*Game), (Lines{"b", "c", "d"}));
    ASSERT_EQ(Game->MessageScroll, 3);
    Game->ShowMessage("e");
    EXPECT_EQ(LinesOf(*Game), (Lines{"c", "d", "", "e"}));
    EXPECT_EQ(Game->MessageScroll, 0);
}

TEST_F(MessageLineTest, AnOutcomeIsSaidOnceAndOnlyToTheViewingPlayer) {
    GameData::TScenario& scenario = Scenario();
    TPlayer& red = Player(0);
    ASSERT_EQ(scenario.ViewingPlayer(), &red);
    App.TickCount = 5000;
    red.PostAction(false, MakeAction(acMoveGroup, 99, 99)); // off the map: refused
    for (int i = 0; i < 50; ++i)
        Game->Update();
    EXPECT_EQ(red.GetActionResult(), arCannotGoThere);
    EXPECT_EQ(CountMessages("Cannot go there!"), 1);

    // The same refusal for a player the screens do not show says nothing.
    red.PostAction(false, MakeAction(acEndTurn));
    Game->Update();
    Game->Update(); // blue's opening report
    scenario.SetViewingPlayer(nullptr);
    TPlayer& blue = Player(1);
    blue.PostAction(false, MakeAction(acMoveGroup, 99, 99));
    for (int i = 0; i < 50; ++i)
        Game->Update();
    EXPECT_EQ(blue.GetActionResult(), arCannotGoThere);
    EXPECT_EQ(CountMessages("Cannot go there!"), 1);
}

TEST_F(MessageLineTest, ALevelUpOfTheViewersUnitIsAnnouncedOnce) {
    TUnit* own = RedGroup->Units[0];
    TUnit* foreign = BlueGroup->Units[0];
    own->LevelledUp = 1;
    foreign->LevelledUp = 1;
    for (int i = 0; i < 10; ++i)
        Game->Update();
    EXPECT_EQ(CountMessages("Walker gained level 1."), 1);
    EXPECT_EQ(own->LevelledUp, 0);
    EXPECT_EQ(foreign->LevelledUp, 0);
}

} // namespace
