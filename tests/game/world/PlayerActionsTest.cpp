// The pending-action slot, its validation, relations and the sighting queue.
#include "engine/core/Random.h"
#include "game/world/players/ActionValidation.h"
#include "game/world/players/ComputerPlayer.h"
#include "game/world/players/ThreadTermination.h"
#include "game/world/scenario/GameSettings.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/TinyWorld.h"
#include "tests/support/UnitBuilder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace GameData;
using TestSupport::ErrorOf;
using TestSupport::TTestExecutor;
using TestSupport::TTinyWorld;
using TestSupport::TTinyWorldOptions;

TEST(PlayerActions, TheSlotCyclesAndEveryPostTakesTheNextNumber) {
    TTinyWorld world;
    TPlayer& red = world.Player(0);
    world.Scenario->BeginTurnOf(0);
    EXPECT_EQ(red.GetActionResult(), arDone);
    EXPECT_FALSE(world.Scenario->IsBusy());
    red.PostAction(false, MakeAction(acSelectObject, 1234));
    EXPECT_EQ(red.GetActionResult(), arPending);
    EXPECT_TRUE(world.Scenario->IsBusy());
    EXPECT_EQ(world.Scenario->ActionCounter.load(), 1u);

    // The main thread cannot wait for itself: a second post is refused, the first kept.
    EXPECT_EQ(ErrorOf([&] { red.PostAction(false, MakeAction(acEndTurn)); }),
              "An action is still pending.");
    EXPECT_EQ(world.Scenario->ActionCounter.load(), 1u);

    const TPlayerAction taken = red.TakeAction();
    EXPECT_EQ(taken.Code, uint32_t(acSelectObject));
    EXPECT_EQ(taken.P[0], 1234u);
    EXPECT_EQ(red.TakeAction().Code, uint32_t(acNone));
    red.SetActionResult(arBlocked);
    EXPECT_EQ(red.GetActionResult(), arBlocked);
    EXPECT_FALSE(world.Scenario->IsBusy());
    world.Scenario->DeathsPending = 1;
    EXPECT_TRUE(world.Scenario->IsBusy());
    world.Scenario->DeathsPending = 0;
    red.PostReport(arSpotted);
    EXPECT_EQ(red.TakeAction().P[0], uint32_t(arSpotted));
    EXPECT_EQ(world.Scenario->ActionCounter.load(), 2u);
}

namespace {

// Posts two actions without waiting in between, then ends its turn.
class TTwoPostsPlanner : public TComputerPlayer {
public:
    explicit TTwoPostsPlanner(TPlayer& player) : Player(player) {}
    void PlayTurn() override {
        Player.PostAction(false, MakeAction(acReport, arSpotted));
        SecondPosting = true;
        Player.PostAction(false, MakeAction(acReport, arBlocked));
        Player.WaitForAction();
        Player.PostAction(false, MakeAction(acEndTurn));
        Player.WaitUntilActionTaken();
    }
    bool AddAIUnit(TUnit&) override { return true; }
    bool RemoveAIUnit(TUnit&, bool) override { return false; }
    TPlayer& Player;
    std::atomic<bool> SecondPosting{false};
};

// Posts nothing: a next player's worker must not move the action counter while the
// test reads it.
class TSilentPlanner : public TComputerPlayer {
public:
    void PlayTurn() override {}
    bool AddAIUnit(TUnit&) override { return true; }
    bool RemoveAIUnit(TUnit&, bool) override { return false; }
};

} // namespace

TEST(PlayerActions, AWorkerPostWaitsForTheSlotInsteadOfOverwriting) {
    TTwoPostsPlanner* planner = nullptr;
    TTinyWorldOptions options;
    options.PlannerFactory = [&](TPlayer& player) -> std::unique_ptr<TComputerPlayer> {
        if (player.Scenario->PlayerCount() != 1)
            return std::make_unique<TSilentPlanner>();
        auto made = std::make_unique<TTwoPostsPlanner>(player);
        planner = made.get();
        return made;
    };
    TTinyWorld world(options);
    world.Scenario->BeginTurnOf(1);
    // Let the worker reach its second post before the main thread takes anything.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!planner->SecondPosting && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    TTestExecutor executor(*world.Scenario);
    // Blue's end of turn hands it to green.
    ASSERT_TRUE(executor.RunUntil([&] { return world.Scenario->CurrentPlayerIndex == 2; }));
    ASSERT_EQ(executor.Taken.size(), 3u);
    EXPECT_EQ(executor.Taken[0].P[0], uint32_t(arSpotted));
    EXPECT_EQ(executor.Taken[1].P[0], uint32_t(arBlocked));
    EXPECT_EQ(executor.Taken[2].Code, uint32_t(acEndTurn));
    EXPECT_EQ(world.Scenario->ActionCounter.load(), 3u);
}

TEST(PlayerActions, InvalidActionsAreRefusedWithoutChangingAnything) {
    TTinyWorld world;
    TScenario& s = *world.Scenario;
    TMapObject* tree = world.AddDoodle(TTinyWorld::Tree, 1, 1);
    s.BeginTurnOf(0);
    TPlayer& red = world.Player(0);
    TTestExecutor executor(s);

    struct TCase {
        TPlayerAction Action;
        bool Valid;
    } cases[] = {
        {MakeAction(acSelectObject, tree->ID), true},
        {MakeAction(acSelectObject, 0), true},
        {MakeAction(acSelectObject, 99999), false},
        {MakeAction(acAttackGroup, tree->ID), false}, // not a group
        {MakeAction(acEnterCity, 99999), false},
        {MakeAction(acMoveGroup, 12, 3), false},
        {MakeAction(acMoveGroup, 3, uint32_t(-1)), false},
        {MakeAction(acCastSpell, 1, 5, 0, 12), false},
        {MakeAction(acReport, 9), false},
        {MakeAction(acVisitMerchant, 4), false},
        {MakeAction(acMoveCityUnit, 0, 1, 4), false},
        {MakeAction(acFightCommands, 2), false},
        {MakeAction(acMerchantPurchase, 0, 0, 3), false},
        {MakeAction(19), false},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(ValidateAction(s, c.Action), c.Valid ? 0 : arCannotGoThere) << c.Action.Code;
        if (c.Valid)
            continue;
        red.SelectObject(tree);
        const uint16_t turn = s.Turn;
        red.PostAction(false, c.Action);
        EXPECT_FALSE(executor.Step());
        // Fight commands answer nobody: the result stays the attack's.
        EXPECT_EQ(red.GetActionResult(),
                  c.Action.Code == acFightCommands ? arPending : arCannotGoThere);
        EXPECT_EQ(red.Selection, tree);
        EXPECT_EQ(s.Turn, turn);
        EXPECT_EQ(s.CurrentPlayer, &red);
    }
}

TEST(PlayerActions, ActionsNamingUnitsNeedRegisteredUnits) {
    TestSupport::TTestGameData data;
    data.AddUnitPrototype(3);
    TTinyWorld world;
    TScenario& s = *world.Scenario;
    TCity* city = world.AddCity(0, 6, 6);
    TGroup* group = world.AddGroup(0, 6, 8);
    const uint32_t unit = group->AddUnit(TestSupport::MakeUnit(3), true, true)->ID;
    s.BeginTurnOf(0);
    // Town actions wait until the acting player's group has entered the town.
    EXPECT_EQ(ValidateAction(s, MakeAction(acMoveCityUnit, 0, unit, 2, uint32_t(-1))),
              arCannotGoThere);
    city->EnterGroup(*group);
    EXPECT_EQ(ValidateAction(s, MakeAction(acMoveCityUnit, 0, unit, 2, uint32_t(-1))), 0);
    EXPECT_EQ(ValidateAction(s, MakeAction(acMoveCityUnit, 0, unit + 1, 2)), arCannotGoThere);
    EXPECT_EQ(ValidateAction(s, MakeAction(acMerchantPurchase, 1, unit, 0, 5)), 0);
    // The buyer pays with its own gold only.
    EXPECT_EQ(ValidateAction(s, MakeAction(acMerchantPurchase, 1, unit, 1, 5)), arCannotGoThere);
    EXPECT_EQ(ValidateAction(s, MakeAction(acMerchantPurchase, 1, 4242, 1, 5)), arCannotGoThere);
}

namespace {

struct TFixedDifficulty : TGameSettings {
    TFixedDifficulty() { Difficulty = 2; }
};

} // namespace

TEST(PlayerActions, DifficultyScalesOnlyAHostileComputerPlayerInALocalGame) {
    TestSupport::TTestGameData data;
    data.SetConstant(Data2::gcFirstDifficulty + 2, 150);
    data.SetConstant(Data2::gcFirstDifficulty + 1, 100);
    TTinyWorld world;
    TScenario& s = *world.Scenario;
    TFixedDifficulty settings;
    TPlayer& red = world.Player(0);
    TPlayer& blue = world.Player(1);
    EXPECT_EQ(red.ApplyDifficulty(7), 7); // no settings

    s.Settings = &settings;
    red.Type = ptComputer;
    EXPECT_EQ(red.ApplyDifficulty(7), 11); // 10.5 rounds up
    EXPECT_EQ(red.ApplyDifficulty(-7), -10);
    EXPECT_EQ(blue.ApplyDifficulty(7), 7); // its relation to itself is not "enemy"
    settings.Difficulty = 1;
    EXPECT_EQ(red.ApplyDifficulty(7), 7);
    settings.Difficulty = 2;
    s.Networked = 1;
    EXPECT_EQ(red.ApplyDifficulty(7), 7);
    s.Networked = 0;
    red.Relations[1] = reFriendly;
    EXPECT_EQ(red.ApplyDifficulty(7), 7);
    s.MaxUnitLevel = 9;
    EXPECT_EQ(red.MaximumUnitLevel(), 9);
}

TEST(PlayerActions, BannerAndMetPrototypes) {
    TestSupport::TTestGameData data;
    data.AddUnitPrototype(3);
    data.AddUnitPrototype(4);
    TTinyWorld world;
    TPlayer& red = world.Player(0);
    world.Scenario->PlayerSpriteLibrary.OpenDirectory(
        std::make_unique<ClassLib::TMemoryStream>(TestSupport::TinySpriteLibrary()));
    red.SpriteID = TTinyWorld::FountainSprite;
    EXPECT_EQ(red.GetPlayerSprite(), nullptr); // not loaded yet
    Gfx::TSprite* banner = world.Scenario->PlayerSpriteLibrary.AcquireSpriteByID(red.SpriteID);
    EXPECT_EQ(red.GetPlayerSprite(), banner);

    for (int prototype : {3, 4, 3})
        red.AddMetPrototype(TestSupport::MakeUnit(prototype).get());
    red.AddMetPrototype(nullptr);
    ASSERT_EQ(red.MetPrototypes.Count(), 2);
    EXPECT_EQ(red.MetPrototypes[0], 3u);
    EXPECT_EQ(red.MetPrototypes[1], 4u);
}

TEST(PlayerActions, RelationsAndSightings) {
    TTinyWorld world;
    TPlayer& red = world.Player(0);
    TPlayer& blue = world.Player(1);
    TPlayer stranger(world.Scenario.get());
    EXPECT_EQ(red.GetRelation(&red), -2);
    EXPECT_EQ(uint8_t(red.GetRelation(&red)), 254);
    EXPECT_EQ(red.GetRelation(&blue), reEnemy);
    EXPECT_EQ(red.GetRelation(nullptr), -1);
    EXPECT_EQ(red.GetRelation(&stranger), -1);

    for (uint32_t unit : {7u, 8u, 9u}) {
        auto sighting = std::make_unique<TSighting>();
        sighting->Kind = skUnitSpotted;
        sighting->UnitID = unit;
        red.PushSighting(std::move(sighting));
    }
    EXPECT_EQ(red.SightingCount(), 3);
    EXPECT_EQ(red.GetSighting(1).UnitID, 8u);
    EXPECT_EQ(red.PopSighting()->UnitID, 7u);
    red.ClearSightings();
    EXPECT_EQ(red.PopSighting(), nullptr);
}
