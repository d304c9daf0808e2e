// Two peers loaded from the same level, each with its own game object, fed the same
// seeded actions (selections, group moves, splits and merges, town moves, purchases,
// ends of turn) through the game's executor stay in step: their saved bytes agree
// after every action whatever the C runtime's own generator holds on each machine,
// refused actions change nothing, a replay of the recorded actions from the level
// file ends in the same state, and every state reached saves and loads back to the
// same bytes.
#include "game/world/cities/City.h"
#include "game/world/groups/Group.h"
#include "platform/win32/Desktop.h"
#include "tests/support/StateDigest.h"
#include "tests/tools/LevelFixture.h"
#include "tests/tools/LockstepHarness.h"
#include "ui/screens/FightDialog.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace LevelTests {
namespace {

using namespace GameData;
using TestSupport::SavedBytes;
using TestSupport::StateDigest;

constexpr int ActionCount = 260; // ten rounds of three players' turns, with room
constexpr int MinimumTurns = 10;
constexpr int RoundTripEvery = 40;

class Lockstep : public ::testing::Test {
protected:
    Win32::TDesktop Desktop;
    Win32::TScopedDesktop ScopedDesktop{Desktop};
};

TEST_F(Lockstep, TwoPeersAgreeAfterEveryActionAndAReplayEndsAlike) {
    const std::vector<uint8_t>& file = TLevelSet::Get().ScenarioFile(1);
    TPeer firstPeer(LoadedScenario(file));
    TPeer secondPeer(LoadedScenario(file));
    TScenario* first = &firstPeer.Scenario();
    TScenario* second = &secondPeer.Scenario();
    ASSERT_EQ(SavedBytes(*second), SavedBytes(*first));
    const uint16_t firstTurn = first->Turn;

    TActionDriver driver(0x5EED0022);
    std::vector<TPlayerAction> recorded;
    int refused = 0;
    int taken = 0;
    for (int step = 0; step < ActionCount; ++step) {
        const TPlayerAction action = driver.Next(*first);
        recorded.push_back(action);
        const uint64_t before = StateDigest(*first);
        // Each machine's runtime generator stands wherever its own past left it.
        std::srand(unsigned(step));
        const TPeer::TOutcome outcomeFirst = firstPeer.Execute(action);
        std::srand(~unsigned(step));
        const TPeer::TOutcome outcomeSecond = secondPeer.Execute(action);
        ASSERT_TRUE(outcomeFirst == outcomeSecond) << step;
        const bool doneFirst = !outcomeFirst.Refused;
        const std::vector<uint8_t> saved = SavedBytes(*first);
        ASSERT_TRUE(SavedBytes(*second) == saved) << "step " << step << " code " << action.Code;
        const uint64_t after = StateDigest(*first);
        if (!doneFirst) {
            ASSERT_EQ(after, before)
                << "a refused action changed the game at step " << step << " code " << action.Code;
            ++refused;
        } else {
            ++taken;
        }
        if (step % RoundTripEvery == 0) {
            const std::vector<uint8_t> bytes = SavedBytes(*first);
            ASSERT_TRUE(SavedBytes(*LoadedScenario(bytes)) == bytes) << step;
        }
    }
    EXPECT_GE(first->Turn - firstTurn, MinimumTurns);
    EXPECT_GT(refused, 20);
    EXPECT_GT(taken, 40);

    TPeer replay(LoadedScenario(file));
    for (size_t step = 0; step < recorded.size(); ++step)
        replay.Execute(recorded[step]);
    EXPECT_EQ(StateDigest(replay.Scenario()), StateDigest(*first));
}

TEST_F(Lockstep, MalformedActionsAreRefusedAlikeAndChangeNothing) {
    const std::vector<uint8_t>& file = TLevelSet::Get().ScenarioFile(1);
    TPeer first(LoadedScenario(file));
    TPeer second(LoadedScenario(file));
    const uint64_t digest = StateDigest(first.Scenario());
    TActionDriver driver(77);
    for (int i = 0; i < 100; ++i) {
        const TPlayerAction action = driver.Malformed(first.Scenario());
        EXPECT_TRUE(first.Execute(action).Refused) << action.Code;
        EXPECT_TRUE(second.Execute(action).Refused) << action.Code;
    }
    EXPECT_EQ(StateDigest(first.Scenario()), digest);
    EXPECT_EQ(StateDigest(second.Scenario()), digest);
}

// A group of another player than the one on turn, with units, on the map.
TGroup* EnemyGroup(const TScenario& scenario) {
    for (TMapObject* object : scenario.Objects)
        if (object->Kind == okGroup) {
            auto* group = static_cast<TGroup*>(object);
            if (group->OwnerIndex != scenario.CurrentPlayerIndex && group->UnitCount() > 0 &&
                group->GetOwner())
                return group;
        }
    return nullptr;
}

bool SameSlots(const std::array<TCombatantSlot, BattleSlotCount>& a,
               const std::array<TCombatantSlot, BattleSlotCount>& b) {
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].Occupied != b[i].Occupied || a[i].Command != b[i].Command ||
            a[i].SpellID != b[i].SpellID || a[i].TargetSlot != b[i].TargetSlot)
            return false;
    return true;
}

TPlayerAction FightCommands(uint32_t answer, std::initializer_list<uint32_t> words) {
    TPlayerAction action = MakeAction(acFightCommands, answer);
    int i = 1;
    for (uint32_t word : words)
        action.P[i++] = word;
    return action;
}

// Commands a peer might send for the attackers, each broken one way: unknown answers,
// a slot's occupancy misstated, an unknown command or spell, targets off the field, a
// guard by an attacker.
std::vector<TPlayerAction> MalformedFightCommands() {
    const uint32_t wild = 0xFFFFFFFFu;
    return {
        FightCommands(0, {1, bcAttack, 0, 3}),
        FightCommands(1, {1, bcAttack, 0, 3}),
        FightCommands(4, {1, bcAttack, 0, 3}),
        FightCommands(wild, {1, bcAttack, 0, 3}),
        FightCommands(3, {0, bcAttack, 0, 3}),
        FightCommands(3, {1, 7, 0, 3}),
        FightCommands(3, {1, bcAttack, 0, 9}),
        FightCommands(3, {1, bcAttack, 0, wild}),
        FightCommands(3, {1, bcCastSpell, 9999, 3}),
        FightCommands(3, {1, bcCastSpell, wild, 0}),
        FightCommands(3, {1, bcGuard, 0, 1}),
        FightCommands(3, {1, bcAttack, 0, 3, wild, wild, wild, wild}),
    };
}

TEST_F(Lockstep, MalformedFightCommandsChangeNothingOnEitherPeer) {
    const std::vector<uint8_t>& file = TLevelSet::Get().ScenarioFile(1);
    TPeer first(LoadedScenario(file));
    TPeer second(LoadedScenario(file));
    Main::TFightDialog* dialogs[] = {&first.InstallFightDialog(), &second.InstallFightDialog()};
    TPeer* peers[] = {&first, &second};
    const TGroup* target = EnemyGroup(first.Scenario());
    ASSERT_NE(target, nullptr);
    const uint32_t targetID = target->ID;
    for (TPeer* peer : peers) {
        // The player on turn sits at the screen: the fight is shown, and stays in its
        // attackers' prompt while nothing ticks the dialog.
        peer->Scenario().SetViewingPlayer(peer->Scenario().CurrentPlayer);
        ASSERT_NE(peer->Scenario().CurrentPlayer->GetSelectedGroup(), nullptr);
        peer->Execute(MakeAction(acAttackGroup, targetID));
    }
    for (Main::TFightDialog* dialog : dialogs)
        ASSERT_TRUE(dialog->Fighting());
    const uint64_t digest = StateDigest(first.Scenario());
    ASSERT_EQ(StateDigest(second.Scenario()), digest);
    const auto slots = dialogs[0]->Battle.Slots;

    for (const TPlayerAction& action : MalformedFightCommands()) {
        const TPeer::TOutcome outcome = first.Execute(action);
        EXPECT_TRUE(second.Execute(action) == outcome) << action.P[0] << " " << action.P[2];
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(StateDigest(peers[i]->Scenario()), digest) << i;
            EXPECT_TRUE(SameSlots(dialogs[i]->Battle.Slots, slots)) << i << " " << action.P[2];
            EXPECT_EQ(dialogs[i]->Request, Main::frNone) << i;
            EXPECT_EQ(dialogs[i]->Phase, Main::fpAttackerCommands) << i;
        }
    }
    for (Main::TFightDialog* dialog : dialogs)
        dialog->FinishFight();
    EXPECT_EQ(StateDigest(first.Scenario()), StateDigest(second.Scenario()));
}

// A town to enter, the player's own when it has one (an enemy's it takes on entering),
// and a group of the player on turn with units.
std::pair<TCity*, TGroup*> TownAndGroup(const TScenario& scenario) {
    TCity* town = nullptr;
    TGroup* group = nullptr;
    for (TMapObject* object : scenario.Objects) {
        if (object->Kind == okCity && !static_cast<TCity*>(object)->HasScriptedEntry()) {
            auto* city = static_cast<TCity*>(object);
            if (!town || (city->Owner == scenario.CurrentPlayerIndex &&
                          town->Owner != scenario.CurrentPlayerIndex))
                town = city;
        }
        if (object->Kind == okGroup &&
            static_cast<TGroup*>(object)->OwnerIndex == scenario.CurrentPlayerIndex &&
            static_cast<TGroup*>(object)->UnitCount() > 0)
            group = group ? group : static_cast<TGroup*>(object);
    }
    return {town, group};
}

// Every unit the town holds with its place, gate group first.
std::vector<std::pair<uint32_t, uint32_t>> TownUnits(const TCity& town) {
    std::vector<std::pair<uint32_t, uint32_t>> units;
    for (const TUnit* unit : town.GateGroup->Units)
        if (unit)
            units.emplace_back(cpGateGroup, unit->ID);
    for (const TUnit* unit : town.DefenderSlots)
        if (unit)
            units.emplace_back(cpDefenders, unit->ID);
    for (const TUnit* unit : town.OtherUnits)
        units.emplace_back(cpOtherUnits, unit->ID);
    for (const TUnit* unit : town.Civilians)
        units.emplace_back(cpCivilians, unit->ID);
    return units;
}

TEST_F(Lockstep, UnitMovesInATownKeepBothPeersInStep) {
    const std::vector<uint8_t>& file = TLevelSet::Get().ScenarioFile(1);
    TPeer first(LoadedScenario(file));
    TPeer second(LoadedScenario(file));
    TPeer* peers[] = {&first, &second};
    for (TPeer* peer : peers)
        peer->InstallTownWindow();
    const auto [town, group] = TownAndGroup(first.Scenario());
    ASSERT_NE(town, nullptr);
    ASSERT_NE(group, nullptr);
    const uint32_t townID = town->ID;
    for (const TPlayerAction& action :
         {MakeAction(acSelectObject, group->ID), MakeAction(acEnterCity, townID)}) {
        const TPeer::TOutcome outcome = first.Execute(action);
        ASSERT_FALSE(outcome.Refused) << action.Code;
        ASSERT_TRUE(second.Execute(action) == outcome) << action.Code;
    }
    ASSERT_EQ(first.Scenario().InCity, 1);

    // Every place, row and unit of the town, a foreign or unknown unit now and then:
    // valid moves and refused ones alike.
    uint64_t state = 0x70A7;
    const auto below = [&state](uint32_t n) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return uint32_t(state >> 33) % n;
    };
    int refused = 0, taken = 0;
    for (int step = 0; step < 200; ++step) {
        const auto units = TownUnits(*town);
        ASSERT_FALSE(units.empty());
        auto [place, unitID] = units[below(uint32_t(units.size()))];
        if (below(10) == 0)
            unitID = below(2) ? 0xFFFFFFFFu
                              : first.Scenario()
                                    .Units[int(below(uint32_t(first.Scenario().Units.Count())))]
                                    ->ID;
        if (below(10) == 0)
            place = below(4);
        const TPlayerAction action =
            MakeAction(acMoveCityUnit, place, unitID, below(5), uint32_t(int32_t(below(4)) - 1));
        const uint64_t before = StateDigest(first.Scenario());
        const TPeer::TOutcome outcome = first.Execute(action);
        ASSERT_TRUE(second.Execute(action) == outcome) << step;
        ASSERT_TRUE(SavedBytes(second.Scenario()) == SavedBytes(first.Scenario())) << step;
        if (outcome.Refused) {
            ASSERT_EQ(StateDigest(first.Scenario()), before) << step;
            ++refused;
        } else {
            ++taken;
        }
    }
    EXPECT_GT(refused, 20);
    EXPECT_GT(taken, 20);
    const TPeer::TOutcome left = first.Execute(MakeAction(acLeaveCity));
    EXPECT_FALSE(left.Refused);
    EXPECT_TRUE(second.Execute(MakeAction(acLeaveCity)) == left);
    EXPECT_TRUE(SavedBytes(second.Scenario()) == SavedBytes(first.Scenario()));
}

} // namespace
} // namespace LevelTests
