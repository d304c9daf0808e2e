// The battle decisions' scratch battles: they judge every action as the real battle
// does, and a decision on the worker thread keeps to its own copy of the random state
// while the main thread goes on drawing from the game's.
#include "game/spells/ScratchBattle.h"
#include "game/spells/BattleDecisions.h"

#include "engine/core/Random.h"
#include "tests/support/BattleBuilder.h"
#include "tests/support/SampleBestiary.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <set>

namespace TestSupport {
namespace {

using namespace GameData;

constexpr int Wizard = 10;    // hero, living (creature type 1)
constexpr int Priestess = 11; // hero, living
constexpr int Orc = 7;        // creature type 1
constexpr int Wolf = 4;       // creature type 2
constexpr int Skeleton = 6;   // creature type 4, undead
constexpr int Troll = 8;      // creature type 8

class ScratchBattle : public ::testing::Test {
protected:
    ScratchBattle() {
        AddSampleBestiary(Data);
        Battle.Registry = &Registry;
    }
    // Every unit at level 8 knows every battle spell.
    void Start(std::array<int, 3> attackers, std::array<int, 3> defenders) {
        for (int i = 0; i < 3; ++i) {
            Attackers.AddUnit(*Registry.Register(MakeUnitAtLevel(attackers[size_t(i)], 8, true)));
            Defenders.AddUnit(*Registry.Register(MakeUnitAtLevel(defenders[size_t(i)], 8, true)));
        }
        Battle.SetGroups(&Attackers, &Defenders);
        for (int slot = 0; slot < BattleSlotCount; ++slot) {
            TUnit& unit = *Battle.UnitAt(slot);
            unit.Own.LearnableSpells = unit.Own.Spells = ~uint64_t(0);
            unit.RecalculateStats(true);
        }
    }

    TTestGameData Data;
    TTestUnitRegistry Registry;
    TTestPlayer PlayerA;
    TTestPlayer PlayerB;
    TTestBattleSide Attackers{&PlayerA};
    TTestBattleSide Defenders{&PlayerB};
    TBattle Battle;
};

// Whether a spell may be cast, whether it is expected to hold, and what an action is
// worth. A copy that lost its creature type rated Life Drain (84) on a living target
// at 0, and misjudged every spell that asks for a creature type.
TEST_F(ScratchBattle, RatesEveryActionAsTheRealBattleDoes) {
    Start({Wizard, Skeleton, Wolf}, {Priestess, Skeleton, Orc});
    // The contested spells need casters above their targets' levels, and the
    // skeletons' ward would keep the low spells off them.
    for (const int slot : {1, 2, 4, 5}) {
        TUnit& unit = *Battle.UnitAt(slot);
        unit.Own.Level() = 2;
        unit.Own.RecalcValues();
        unit.Own.Skills = 0;
        unit.RecalculateStats(true);
    }
    const Base::TRandomSeed seed{0x2468, 0x1357};
    // Whether the spell may be cast and is expected to hold, in a battle.
    const auto holds = [](TBattle& battle, int slot, int id, int target) {
        if (!battle.CanCastSpellAt(slot, id, target))
            return false;
        const TCombatantSlot saved = battle.Slots[slot];
        battle.Slots[slot] = {1, bcCastSpell, id, target};
        const bool expected = battle.RollSpellSuccess(slot, nullptr, true, 0, 0);
        battle.Slots[slot] = saved;
        return expected;
    };
    std::set<int> expectedToHold;
    std::set<int> ratedSpells;
    int castable = 0;
    int rated = 0;
    for (int slot = 0; slot < BattleSlotCount; ++slot)
        for (int target = 0; target < BattleSlotCount; ++target)
            for (int i = -1; i < SampleBattleSpellCount; ++i) {
                const int id = i < 0 ? -1 : SampleBattleSpells[i].ID;
                const int spell = i < 0 ? -1 : id - BattleSpellIndexBase;
                SCOPED_TRACE(testing::Message()
                             << "slot " << slot << ", target " << target << ", spell " << id);
                TScratchBattle scratch(Battle, seed);
                TBattle& copy = scratch.Battle;
                if (id > 0) {
                    const bool real = holds(Battle, slot, id, target);
                    EXPECT_EQ(copy.CanCastSpellAt(slot, id, target),
                              Battle.CanCastSpellAt(slot, id, target));
                    EXPECT_EQ(holds(copy, slot, id, target), real);
                    castable += Battle.CanCastSpellAt(slot, id, target);
                    if (real)
                        expectedToHold.insert(id);
                }
                const bool counter = IsDefenderSlot(slot);
                Base::RandomSeed = seed;
                const int32_t real = EvaluateAction(*Battle.UnitAt(slot), *Battle.UnitAt(target),
                                                    counter, Battle, spell);
                EXPECT_EQ(
                    EvaluateAction(*copy.UnitAt(slot), *copy.UnitAt(target), counter, copy, spell),
                    real);
                if (real > 0 && id > 0) {
                    ++rated;
                    ratedSpells.insert(id);
                }
            }
    // The comparison means something: many actions are expected to hold and are worth
    // something, among them the spells that ask for a creature type.
    EXPECT_GT(castable, 150);
    EXPECT_GT(rated, 25);
    for (const int spell : {73, 74, 77, 84, 87, 92, 118})
        EXPECT_TRUE(expectedToHold.count(spell)) << spell;
    for (const int spell : {77, 84, 92})
        EXPECT_TRUE(ratedSpells.count(spell)) << spell;
}

TEST_F(ScratchBattle, CopiesEveryFieldButTheSprites) {
    Start({Wizard, Skeleton, Orc}, {Priestess, Wolf, Troll});
    TUnit& skeleton = *Battle.UnitAt(1);
    skeleton.Marker = 3;
    skeleton.SortKey = 12;
    skeleton.DefenceBonus = 25;
    const TScratchBattle scratch(Battle, Base::TRandomSeed{});
    for (int slot = 0; slot < BattleSlotCount; ++slot) {
        const TUnit& real = *Battle.UnitAt(slot);
        const TUnit& copy = *scratch.Battle.UnitAt(slot);
        EXPECT_NE(&copy, &real);
        EXPECT_EQ(copy.ID, real.ID);
        EXPECT_EQ(copy.Prototype, real.Prototype);
        EXPECT_EQ(copy.CreatureType, real.CreatureType) << slot;
        EXPECT_EQ(copy.IsHero, real.IsHero);
        EXPECT_EQ(copy.Name, real.Name);
        EXPECT_EQ(copy.Marker, real.Marker);
        EXPECT_EQ(copy.SortKey, real.SortKey);
        EXPECT_EQ(copy.DefenceBonus, real.DefenceBonus);
        EXPECT_EQ(std::memcmp(&copy.Own, &real.Own, sizeof(TUnitStats)), 0);
        EXPECT_EQ(std::memcmp(&copy.Effective, &real.Effective, sizeof(TUnitStats)), 0);
        EXPECT_EQ(copy.Portrait(), nullptr);
        // The copies answer to the scratch sides, with the real sides' players.
        EXPECT_NE(copy.Owner, real.Owner);
        EXPECT_EQ(copy.GetPlayer(), real.GetPlayer());
    }
}

// The decision on the worker used to set the game's state aside, draw from it and put
// it back when it ended, so whatever the main thread drew meanwhile was undone (and
// the two threads drew from one state at once).
TEST_F(ScratchBattle, ADecisionOnTheWorkerLeavesTheGamesStateToTheMainThread) {
    Start({Wizard, Priestess, Wizard}, {Skeleton, Orc, Wolf});
    const Base::TRandomSeed start{0x5EED, 0x42};
    Base::RandomSeed = start;
    ChooseBattleCommands(Battle, true);
    const auto single = Battle.Slots;
    ASSERT_EQ(Base::RandomSeed.Low, start.Low);
    ASSERT_EQ(Base::RandomSeed.High, start.High);
    Battle.ClearCommands();

    Battle.StartAttackerAIThread();
    uint64_t draws = 0;
    do {
        Base::NextRandom(Base::RandomSeed);
        ++draws;
    } while (Battle.IsAIThreadRunning());
    Battle.FreeAIThread();
    Base::TRandomSeed expected = start;
    for (uint64_t i = 0; i < draws; ++i)
        Base::NextRandom(expected);
    EXPECT_EQ(Base::RandomSeed.Low, expected.Low);
    EXPECT_EQ(Base::RandomSeed.High, expected.High);
    EXPECT_EQ(Battle.AIDone.load(), 1);
    // The same commands as on one thread, whatever the main thread drew.
    for (int slot = 0; slot < BattleSlotCount; ++slot) {
        EXPECT_EQ(Battle.Slots[slot].Command, single[slot].Command) << slot;
        EXPECT_EQ(Battle.Slots[slot].SpellID, single[slot].SpellID) << slot;
        EXPECT_EQ(Battle.Slots[slot].TargetSlot, single[slot].TargetSlot) << slot;
    }
}

} // namespace
} // namespace TestSupport
