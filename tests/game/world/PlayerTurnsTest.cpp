// Turns in list order, the one draw from the game's state per turn start, computer
// turns on worker threads and stopping a waiting worker.
#include "engine/core/Random.h"
#include "game/world/players/ComputerPlayer.h"
#include "game/world/players/ThreadTermination.h"
#include "tests/support/TinyWorld.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace GameData;
using TestSupport::TTestExecutor;
using TestSupport::TTinyWorld;
using TestSupport::TTinyWorldOptions;

namespace {

// Ends its turn after noting the thread it runs on and the computer player's state.
class TRecordingPlanner : public TComputerPlayer {
public:
    explicit TRecordingPlanner(TPlayer& player) : Player(player) {}
    void PlayTurn() override {
        ThreadID = std::this_thread::get_id();
        SeedAtStart = Base::AIRandomSeed;
        ++Turns;
        Player.PostAction(true, MakeAction(acEndTurn));
        Player.WaitUntilActionTaken();
    }
    bool AddAIUnit(TUnit&) override { return true; }
    bool RemoveAIUnit(TUnit&, bool) override { return false; }
    TPlayer& Player;
    std::thread::id ThreadID;
    Base::TRandomSeed SeedAtStart;
    int Turns = 0;
};

// Posts an action and waits for a result that never comes.
class TWaitingPlanner : public TComputerPlayer {
public:
    explicit TWaitingPlanner(TPlayer& player) : Player(player) {}
    void PlayTurn() override {
        Player.PostAction(true, MakeAction(acReport, arDone));
        Waiting = true;
        try {
            Player.WaitForAction();
        } catch (const EThreadTermination&) {
            Terminated = true;
            throw;
        }
    }
    bool AddAIUnit(TUnit&) override { return true; }
    bool RemoveAIUnit(TUnit&, bool) override { return false; }
    TPlayer& Player;
    std::atomic<bool> Waiting{false};
    std::atomic<bool> Terminated{false};
};

// Fails in its turn, before or after posting its end.
class TFailingPlanner : public TComputerPlayer {
public:
    explicit TFailingPlanner(TPlayer& player) : Player(player) {}
    void PlayTurn() override {
        Player.PostAction(true, MakeAction(acReport, arDone));
        Player.WaitForAction();
        if (AfterEnd) {
            Player.PostAction(true, MakeAction(acEndTurn));
            Player.WaitUntilActionTaken();
        }
        throw ClassLib::Exception("The planner lost its way.");
    }
    bool AddAIUnit(TUnit&) override { return true; }
    bool RemoveAIUnit(TUnit&, bool) override { return false; }
    TPlayer& Player;
    bool AfterEnd = false;
};

template <typename Planner>
TTinyWorldOptions WithPlanner(Planner*& second) {
    TTinyWorldOptions options;
    options.PlannerFactory = [&second](TPlayer& player) -> std::unique_ptr<TComputerPlayer> {
        auto planner = std::make_unique<Planner>(player);
        if (player.Scenario->PlayerCount() == 1)
            second = planner.get();
        return planner;
    };
    return options;
}

} // namespace

TEST(PlayerTurns, PlayersTakeTurnsInListOrderAndEachStartDrawsOneNumber) {
    TRecordingPlanner* blueAI = nullptr;
    TTinyWorld world(WithPlanner(blueAI));
    TScenario& s = *world.Scenario;
    TTestExecutor executor(s);

    Base::RandomSeed = {12345, 678};
    Base::TRandomSeed expected = Base::RandomSeed;
    s.BeginTurnOf(0);
    Base::NextRandom(expected);
    EXPECT_EQ(Base::RandomSeed.Low, expected.Low);
    EXPECT_EQ(Base::RandomSeed.High, expected.High);

    for (int round = 0; round < 3; ++round) {
        ASSERT_EQ(s.CurrentPlayer, &world.Player(0));
        EXPECT_EQ(s.Turn, round);
        // Blue's start draws one number and seeds the computer player's state with it;
        // so does green's.
        Base::TRandomSeed game = Base::RandomSeed;
        Base::TRandomSeed ai{Base::NextRandom(game), 0};
        Base::NextRandom(ai);
        Base::NextRandom(game); // green's start
        Base::NextRandom(game); // red's next start

        world.Player(0).PostAction(true, MakeAction(acEndTurn));
        ASSERT_TRUE(executor.RunUntil([&] { return s.Turn == round + 1; }));
        EXPECT_EQ(blueAI->Turns, round + 1);
        EXPECT_NE(blueAI->ThreadID, std::this_thread::get_id());
        EXPECT_EQ(blueAI->SeedAtStart.Low, ai.Low);
        EXPECT_EQ(blueAI->SeedAtStart.High, ai.High);
        EXPECT_EQ(Base::RandomSeed.Low, game.Low);
        EXPECT_EQ(Base::RandomSeed.High, game.High);
        EXPECT_FALSE(world.Player(1).IsThreadRunning());
    }
    std::vector<uint32_t> codes;
    for (const TPlayerAction& action : executor.Taken)
        codes.push_back(action.Code);
    EXPECT_EQ(codes, std::vector<uint32_t>(9, acEndTurn));
}

TEST(PlayerTurns, ThePlaceholderComputerPlayerEndsItsTurnAtOnce) {
    TTinyWorld world;
    TScenario& s = *world.Scenario;
    s.BeginTurnOf(1);
    TTestExecutor executor(s);
    // Blue's and green's placeholders each end their turn.
    ASSERT_TRUE(executor.RunUntil([&] { return s.CurrentPlayerIndex == 0; }));
    EXPECT_EQ(s.Turn, 1);
    ASSERT_EQ(executor.Taken.size(), 2u);
    EXPECT_EQ(executor.Taken[0].Code, uint32_t(acEndTurn));
    EXPECT_EQ(executor.Taken[1].Code, uint32_t(acEndTurn));
}

TEST(PlayerTurns, StoppingAWaitingPlayerEndsItsWorkerCleanly) {
    TWaitingPlanner* blueAI = nullptr;
    TTinyWorld world(WithPlanner(blueAI));
    TScenario& s = *world.Scenario;
    s.BeginTurnOf(1);
    TPlayer& blue = world.Player(1);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!blueAI->Waiting && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    ASSERT_TRUE(blueAI->Waiting);
    EXPECT_TRUE(blue.IsThreadRunning());
    blue.StopThread();
    EXPECT_TRUE(blueAI->Terminated);
    EXPECT_FALSE(blue.IsThreadRunning());
    // The stop ended the worker quietly: nothing went wrong.
    EXPECT_EQ(blue.TakeAction().Code, uint32_t(acReport));
}

TEST(PlayerTurns, TheSelectionIsRememberedAcrossTheTurn) {
    TTinyWorld world;
    TScenario& s = *world.Scenario;
    TMapObject* tree = world.AddDoodle(TTinyWorld::Tree, 4, 4);
    TTestExecutor executor(s);
    s.BeginTurnOf(0);
    TPlayer& red = world.Player(0);
    EXPECT_EQ(red.Selection, nullptr);
    red.PostAction(true, MakeAction(acSelectObject, tree->ID));
    ASSERT_TRUE(executor.RunUntil([&] { return red.GetActionResult() == arDone; }));
    EXPECT_EQ(tree->Selected, 1);

    red.PostAction(true, MakeAction(acEndTurn));
    ASSERT_TRUE(executor.RunUntil([&] { return s.Turn == 1; }));
    EXPECT_EQ(red.SavedSelectionID, tree->ID);
    EXPECT_EQ(red.Selection, tree);
    EXPECT_EQ(tree->Selected, 1);
}

TEST(PlayerTurns, AnErrorInAComputerTurnIsToldAndTheTurnEndsOnce) {
    for (const bool afterEnd : {false, true}) {
        SCOPED_TRACE(afterEnd ? "after its end" : "before its end");
        TFailingPlanner* blueAI = nullptr;
        TTinyWorldOptions options = WithPlanner(blueAI);
        options.ThirdPlayerType = ptLocal; // the turn passes to a player that waits
        TTinyWorld world(options);
        blueAI->AfterEnd = afterEnd;
        TScenario& s = *world.Scenario;
        TTestExecutor executor(s);
        testing::internal::CaptureStderr();
        s.BeginTurnOf(1);
        const bool ended = executor.RunUntil([&] { return s.CurrentPlayerIndex == 2; });
        const std::string logged = testing::internal::GetCapturedStderr();
        ASSERT_TRUE(ended);
        EXPECT_FALSE(world.Player(1).IsThreadRunning());
        EXPECT_NE(logged.find("The planner lost its way."), std::string::npos) << logged;
        EXPECT_EQ(world.Player(1).TakeTurnError(), "The planner lost its way.");
        EXPECT_EQ(world.Player(1).TakeTurnError(), "") << "taken once";
        std::vector<uint32_t> codes;
        for (const TPlayerAction& action : executor.Taken)
            codes.push_back(action.Code);
        EXPECT_EQ(codes, (std::vector<uint32_t>{acReport, acEndTurn}));
        EXPECT_EQ(s.CurrentPlayer->TakeAction().Code, uint32_t(acNone)) << "green's turn untouched";
    }
}
