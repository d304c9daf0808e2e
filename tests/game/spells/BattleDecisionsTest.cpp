#include "tests/game/spells/BattleFixture.h"

#include "game/spells/BattleDecisions.h"
#include "game/world/data/LoadedGlobalData.h"

namespace TestSupport {
namespace {

using namespace GameData;

struct TValueCase {
    double CostA, ValueA, CostB, ValueB;
    bool Better;
};

class ValueForCost : public ::testing::TestWithParam<TValueCase> {};

TEST_P(ValueForCost, Table) {
    const TValueCase& c = GetParam();
    EXPECT_EQ(IsBetterValueForCost(c.CostA, c.ValueA, c.CostB, c.ValueB), c.Better);
}

INSTANTIATE_TEST_SUITE_P(Table, ValueForCost,
                         ::testing::Values(TValueCase{5, 10, 5, 9, true}, // equal cost: value alone
                                           TValueCase{5, 9, 5, 10, false},  //
                                           TValueCase{5, 10, 5, 10, false}, //
                                           TValueCase{3, 10, 5, 10, true},  // cheaper and not lower
                                           TValueCase{3, 9, 5, 10, false},  //
                                           TValueCase{10, 20, 5, 10, true}, // 400 / 10 > 100 / 5
                                           TValueCase{10, 14, 5, 10, false}, // 19.6 < 20
                                           TValueCase{10, 10, 5, 10, false}, // dearer and no better
                                           TValueCase{1, 10, 0, 5,
                                                      true}, // a cost of 0 counts as 1: 100 > 25
                                           TValueCase{2, 6, -1, 5, false}, // 18 < 25
                                           TValueCase{1000000, 0, 0, 0, false}));

TEST_F(TBattleTest, AnActionIsWorthTheHitPointsOrAKill) {
    Add(Attackers, PlainFighter);
    Add(Attackers, Brute);
    Add(Defenders, PlainFighter);
    Add(Defenders, HeroFighter);
    Start(2, 2);
    struct TCase {
        int Attacker, Target;
        bool Counter;
        int32_t Value;
    };
    // Attack 20 against defence 10: 10 hit points; a brute kills; a counter of 10 does nothing.
    for (const TCase c : {TCase{0, 3, false, 10}, TCase{0, 4, false, 20}, TCase{1, 3, false, 100},
                          TCase{1, 4, false, 150}, TCase{0, 3, true, 0}}) {
        const int32_t value =
            EvaluateAction(Unit(c.Attacker), Unit(c.Target), c.Counter, Battle, -1);
        EXPECT_EQ(value, c.Value) << c.Attacker << " on " << c.Target;
        EXPECT_EQ(Unit(c.Target).Effective.Value(HITPOINTS), 100);
        EXPECT_EQ(Unit(c.Attacker).Effective.Value(ACTIONPOINTS), 20);
    }
}

TEST_F(TBattleTest, WhenNothingIsWorthAnythingTheGreedyChooserStrikesTheLowestDefence) {
    Start();
    for (const int slot : {0, 1, 2}) {
        Unit(slot).Own.Value(ATTACK) = 0;
        Unit(slot).RecalculateStats(true);
    }
    for (const int slot : {4, 5}) {
        Unit(slot).Own.Value(DEFENCE) = 5;
        Unit(slot).RecalculateStats(true);
    }
    ChooseAttackersGreedy(Battle, true);
    for (const int slot : {0, 1, 2}) {
        EXPECT_EQ(Battle.Slots[slot].Command, bcAttack);
        EXPECT_EQ(Battle.Slots[slot].TargetSlot, 4);
    }
}

TEST_F(TBattleTest, GreedyUnitsChooseAgainstWhatTheUnitsBeforeThemDid) {
    Start();
    Unit(5).AddHitPoints(-95);
    ChooseAttackersGreedy(Battle, false);
    // The first kills slot 5 (100 against 10); the others find it dead and take slot 3.
    EXPECT_EQ(Battle.Slots[0].TargetSlot, 5);
    EXPECT_EQ(Battle.Slots[1].TargetSlot, 3);
    EXPECT_EQ(Battle.Slots[2].TargetSlot, 3);
    EXPECT_EQ(Unit(5).Effective.Value(HITPOINTS), 5);
    EXPECT_EQ(Unit(0).Effective.Value(ACTIONPOINTS), 20);
}

class PlanSpell : public TBattleTest, public ::testing::WithParamInterface<int> {};

// Word of death: caster level x 100 % against target level x 200 %. At level 1 it
// is not expected to take hold, and the plan with it must lose to a plain blow.
TEST_P(PlanSpell, APlanWithASpellNotExpectedToSucceedNeverWins) {
    const int casterLevel = GetParam();
    auto& spells = Data2::LoadedGlobalData().SpellPrototypes;
    spells[Data2::LoadedGlobalData().FindSpell(123)].MinLevel = 1;
    Add(Attackers, PlainFighter, casterLevel);
    Start(1, 1);
    Learn(0, 123);
    ChooseAttackersByPlan(Battle);
    if (casterLevel == 1) {
        EXPECT_EQ(Battle.Slots[0].Command, bcAttack);
    } else {
        EXPECT_EQ(Battle.Slots[0].Command, bcCastSpell);
        EXPECT_EQ(Battle.Slots[0].SpellID, 123);
    }
    EXPECT_EQ(Battle.Slots[0].TargetSlot, 3);
}

INSTANTIATE_TEST_SUITE_P(CasterLevels, PlanSpell, ::testing::Values(1, 5));

TEST_F(TBattleTest, ThePlanSearchEnumeratesOnlyTheSlotsItMay) {
    struct TCase {
        int Attackers;
        bool ThirdDead;
        int64_t Combinations;
    };
    // Each live unit that can act: nothing, or a blow at one of three defenders.
    for (const TCase c :
         {TCase{1, false, 4}, TCase{2, false, 16}, TCase{3, true, 16}, TCase{3, false, 64}}) {
        TTestBattleSide attackers(&PlayerA);
        for (int i = 0; i < c.Attackers; ++i)
            Add(attackers);
        Start(0, 3);
        Battle.SetGroups(&attackers, &Defenders);
        if (c.ThirdDead)
            Unit(2).TakeDamage(1000);
        const TPlanSearchStats stats = ChooseAttackersByPlan(Battle);
        EXPECT_EQ(stats.Combinations, c.Combinations) << c.Attackers;
        EXPECT_EQ(stats.PlansScored, c.Combinations);
    }
}

TEST_F(TBattleTest, ACappedSearchKeepsEverySlotsLikeliestOptions) {
    Start();
    // 4 x 4 x 4 combinations cut to 2 x 2 x 2: nothing, or a blow at the first defender.
    const TPlanSearchStats stats = ChooseAttackersByPlan(Battle, {{}, 8});
    EXPECT_EQ(stats.PlansScored, 8);
    EXPECT_EQ(stats.Combinations, 8);
    for (const int slot : {0, 1, 2}) {
        EXPECT_EQ(Battle.Slots[slot].Command, bcAttack);
        EXPECT_EQ(Battle.Slots[slot].TargetSlot, 3);
    }
}

TEST_F(TBattleTest, DefendersGuardAFriendWhenThatIsWorthMost) {
    Add(Attackers, Brute);
    Start(1, 2);
    Unit(4).Own.Value(DEFENCE) = 2000; // the brute cannot hurt slot 4
    Unit(4).RecalculateStats(true);
    Battle.SetAttackCommand(0, 3);
    ChooseDefendersByPlan(Battle);
    // Slot 4 guarding slot 3 takes the brute's blow; slot 3 survives the round.
    EXPECT_EQ(Battle.Slots[4].Command, bcGuard);
    EXPECT_EQ(Battle.Slots[4].TargetSlot, 3);
}

TEST_F(TBattleTest, TheChoiceLeavesTheGameAndTheUnitsAsItFoundThem) {
    Start();
    for (const int slot : {0, 1, 2}) {
        Learn(slot, 78);  // random damage
        Learn(slot, 125); // copies
        Unit(slot).Own.Level() = 8;
        Unit(slot).RecalculateStats(true);
    }
    const Base::TRandomSeed seed = Base::RandomSeed;
    std::vector<TUnitStats> before;
    for (int slot = 0; slot < 6; ++slot)
        before.push_back(Unit(slot).Own);
    ChooseBattleCommands(Battle, true);
    ChooseBattleCommands(Battle, false);
    EXPECT_EQ(Base::RandomSeed.Low, seed.Low);
    EXPECT_EQ(Base::RandomSeed.High, seed.High);
    for (int slot = 0; slot < 6; ++slot) {
        EXPECT_EQ(std::memcmp(&before[slot], &Unit(slot).Own, sizeof(TUnitStats)), 0) << slot;
        EXPECT_TRUE(Unit(slot).Effects.Count() == 0) << slot;
    }
    EXPECT_EQ(Attackers.UnitCount(), 3);
    EXPECT_EQ(Registry.Count(), 6);
    for (int slot = 0; slot < 3; ++slot)
        EXPECT_NE(Battle.Slots[slot].Command, bcNone) << slot;
}

TEST_F(TBattleTest, APersonsSideChosenAutomaticallyCastsOnlyWhenTheSettingSaysSo) {
    TTestBattleSide person(&PlayerA, true);
    Add(person, PlainFighter, 8);
    Start(0, 1);
    Battle.SetGroups(&person, &Defenders);
    Learn(0, 123); // certain death: 8 x 100 % against 1 x 200 %
    ChooseBattleCommands(Battle, true);
    EXPECT_EQ(Battle.Slots[0].Command, bcAttack);
    Battle.CastInAutomaticCombat = true;
    ChooseBattleCommands(Battle, true);
    EXPECT_EQ(Battle.Slots[0].Command, bcCastSpell);
    EXPECT_EQ(Battle.Slots[0].SpellID, 123);
}

} // namespace
} // namespace TestSupport
