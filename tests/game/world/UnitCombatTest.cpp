// Blows between units: damage values with the morale term, the difficulty scaling
// and the rolled attack, and what a blow does to both sides. The rolls use state 1,
// whose Gaussian deviate is 1.36993327 (see RollsTest.cpp): a value v rolls to
// floor(v + 1.36993327 * v / 8 + 0.5).
#include "tests/game/world/UnitFixture.h"

#include "engine/core/Random.h"

namespace UnitTests {
namespace {

constexpr Base::TRandomSeed SeedOne{1, 0};

// Constants: 2 experience per point dealt, 1 per point taken, 20 for a kill; morale
// loss factor 10; kill morale 3 per level of difference plus 2; a blow costs 4 action
// points. The guard: level 2, DEFENCE 10, 30 hit points, level 3 at 2000 experience.
class UnitCombatTest : public UnitTest {
protected:
    static constexpr int GuardID = 2;

    UnitCombatTest() {
        Data.SetConstant(Data2::gcExperiencePerDamageDealt, 2);
        Data.SetConstant(Data2::gcExperiencePerDamageTaken, 1);
        Data.SetConstant(Data2::gcKillExperience, 20);
        Data.SetConstant(Data2::gcMoraleLossPerDamage, 10);
        Data.SetConstant(Data2::gcKillMoralePerLevel, 3);
        Data.SetConstant(Data2::gcKillMoraleBase, 2);
        Data.SetConstant(Data2::gcLeastActionPoints, 4);
        TUnitStats& guard = Data.AddUnitPrototype(GuardID, "Guard").Stats;
        guard.Level() = 2;
        TestSupport::SetStat(guard, HITPOINTS, 30);
        TestSupport::SetStat(guard, ACTIONPOINTS, 10);
        TestSupport::SetStat(guard, DEFENCE, 10);
        guard.ExperienceBase() = 1000;
        Attacker = TestSupport::MakeUnit(SoldierID);
        Target = TestSupport::MakeUnit(GuardID);
        Target->DefenceBonus = 50;
    }

    std::unique_ptr<TUnit> Attacker;
    std::unique_ptr<TUnit> Target;
};

TEST_F(UnitCombatTest, MoraleTermOfTheExpectedDamage) {
    // Against no defence the expected damage is ATTACK 20 + (MORALE + 5) / 10 - 5.
    Target->Own.Value(DEFENCE) = 0;
    Target->RecalculateStats(true);
    const std::pair<int16_t, int16_t> cases[] = {{0, 15},  {44, 19}, {45, 20},
                                                 {54, 20}, {55, 21}, {100, 25}};
    for (const auto& [morale, damage] : cases) {
        Attacker->Own.Morale() = morale;
        Attacker->RecalculateStats(true);
        EXPECT_EQ(Attacker->ExpectedAttackDamage(*Target), damage) << morale;
    }
    // Never below 0: ATTACK 3 at morale 0 is -2.
    Attacker->Own.Value(ATTACK) = 3;
    Attacker->Own.Morale() = 0;
    Attacker->RecalculateStats(true);
    EXPECT_EQ(Attacker->ExpectedAttackDamage(*Target), 0);
}

TEST_F(UnitCombatTest, DamageValues) {
    // Expected: attack 20 against DEFENCE 10 * (100 + 50) / 100 = 15; counterattack
    // 12 against DEFENCE 10 without the bonus. Neither draws.
    Base::RandomSeed = SeedOne;
    EXPECT_EQ(Attacker->ExpectedAttackDamage(*Target), 5);
    EXPECT_EQ(Attacker->ExpectedCounterattackDamage(*Target), 2);
    EXPECT_EQ(Base::RandomSeed.Low, 1u);

    // Rolled: 20 -> floor(20 + 3.42483 + 0.5) = 23, less 15.
    Base::RandomSeed = SeedOne;
    EXPECT_EQ(Attacker->AttackDamage(*Target), 8);
    // 12 -> floor(12 + 2.05490 + 0.5) = 14, less 10.
    Base::RandomSeed = SeedOne;
    EXPECT_EQ(Attacker->CounterattackDamage(*Target), 4);

    // Difficulty: the attacker's player at 150 %: floor(20 * 1.5 + 0.5) = 30, rolled
    // floor(30 + 5.13725 + 0.5) = 35; the target's at 50 %: floor(15 * 0.5 + 0.5) = 8.
    TestSupport::TTestPlayer hard, easy;
    hard.DifficultyPercent = 150;
    easy.DifficultyPercent = 50;
    TestSupport::TTestOwner attackers, defenders;
    attackers.Player = &hard;
    defenders.Player = &easy;
    attackers.Add(*Attacker);
    defenders.Add(*Target);
    Base::RandomSeed = SeedOne;
    EXPECT_EQ(Attacker->AttackDamage(*Target), 27);
    EXPECT_EQ(Attacker->ExpectedAttackDamage(*Target), 22); // 30 - 8
}

TEST_F(UnitCombatTest, DamageSticksAtTheWordsEnd) {
    Attacker->Own.Value(ATTACK) = 30000;
    Attacker->RecalculateStats(true);
    TestSupport::TTestPlayer player;
    player.DifficultyPercent = 200;
    TestSupport::TTestOwner group;
    group.Player = &player;
    group.Add(*Attacker);
    Target->Own.Value(DEFENCE) = 0;
    Target->RecalculateStats(true);
    EXPECT_EQ(Attacker->ExpectedAttackDamage(*Target), 32767); // 60000 does not fit
}

TEST_F(UnitCombatTest, ABlowHurtsTeachesAndTires) {
    Base::RandomSeed = SeedOne;
    Attacker->Attack(*Target); // 8 damage, as above
    // Target: 30 - 8 hit points; 8 * 1 / level 2 = 4 experience; morale loss
    // 10 * 8 / 30 = 2, change min(0, 2 - 2 - 1) = -1.
    EXPECT_EQ(Target->Own.Value(HITPOINTS), 22);
    ASSERT_EQ(Target->Wounds.Count(), 1);
    EXPECT_EQ(Target->Wounds[0].Damage, 8);
    EXPECT_EQ(Target->Wounds[0].Age, 0);
    EXPECT_EQ(Target->Own.Experiences(), 1004);
    EXPECT_EQ(Target->Own.Morale(), 49);
    // Attacker: 10 - 4 action points; 2 * 8 * target level 2 / own level 1 = 32.
    EXPECT_EQ(Attacker->Own.Value(ACTIONPOINTS), 6);
    EXPECT_EQ(Attacker->Own.Experiences(), 32);
    EXPECT_EQ(Attacker->Own.Morale(), 50);
}

TEST_F(UnitCombatTest, AKillRewardsTheKillerAndShakesTheGroup) {
    TestSupport::TTestOwner guards;
    const auto mate = TestSupport::MakeUnit(SoldierID);
    const auto fallen = TestSupport::MakeUnit(SoldierID);
    guards.Add(*Target);
    guards.Add(*mate);
    guards.Add(*fallen);
    fallen->AddHitPoints(-30);
    fallen->ChangeMorale(-20);
    Target->AddHitPoints(-25);
    Base::RandomSeed = SeedOne;
    Attacker->Attack(*Target); // a blow of 8 on 5 hit points
    // Target: takes 5; 5 / 2 = 2 experience; loss 50 / 30 = 1, change min(0, 0) = 0.
    ASSERT_EQ(Target->Wounds.Count(), 1);
    EXPECT_EQ(Target->Wounds[0].Damage, 5);
    EXPECT_TRUE(Target->IsDead());
    EXPECT_EQ(Target->Own.Experiences(), 1002);
    EXPECT_EQ(Target->Own.Morale(), 50);
    // Attacker: 2 * 5 * 2 = 20, then the kill bonus 20 * 2 = 40; morale
    // max(1, (2 - 1) * 3 + 2) = 5.
    EXPECT_EQ(Attacker->Own.Experiences(), 60);
    EXPECT_EQ(Attacker->Own.Morale(), 55);
    // The living mate loses 2 * 5; the dead one is spared.
    EXPECT_EQ(mate->Own.Morale(), 40);
    EXPECT_EQ(fallen->Own.Morale(), 30);
}

TEST_F(UnitCombatTest, AnAttackerUnderSelfHarmHurtsItself) {
    Attacker->AddEffect(Effect(ekAttacksSelf, 2, [](TUnitStats&) {}));
    Base::RandomSeed = SeedOne;
    Attacker->Attack(*Target); // 8 damage, on itself
    EXPECT_EQ(Target->Own.Value(HITPOINTS), 30);
    EXPECT_EQ(Target->Wounds.Count(), 0);
    // 30 - 8; only the experience for damage taken: 8 * 1 / 1; morale loss
    // 10 * 8 / 30 = 2, change min(0, 1 - 2 - 1) = -2.
    EXPECT_EQ(Attacker->Own.Value(HITPOINTS), 22);
    EXPECT_EQ(Attacker->Own.Experiences(), 8);
    EXPECT_EQ(Attacker->Own.Morale(), 48);
    EXPECT_EQ(Attacker->Own.Value(ACTIONPOINTS), 6);
}

TEST_F(UnitCombatTest, KillMoraleIsAtLeastOne) {
    Attacker->Own.Level() = 5;
    Attacker->RecalculateStats(true);
    const auto victim = TestSupport::MakeUnit(SoldierID);
    Attacker->GainMoraleForKill(*victim); // max(1, (1 - 5) * 3 + 2 = -10)
    EXPECT_EQ(Attacker->Own.Morale(), 51);
}

TEST_F(UnitCombatTest, TakingDamage) {
    Target->ShowWounds = 0;
    EXPECT_EQ(Target->TakeDamage(12), 12);
    EXPECT_EQ(Target->Wounds.Count(), 0);
    EXPECT_EQ(Target->TakeDamage(40), 18); // no more than it has
    EXPECT_TRUE(Target->IsDead());
    EXPECT_EQ(Target->TakeDamage(5), 0);

    // A maximum of 0 hit points, seen by a record not yet recomputed: the morale loss
    // 10 * 4 / 0 tends to no bound, and morale goes to 0.
    const auto ghost = TestSupport::MakeUnit(SoldierID);
    ghost->Own.Base(HITPOINTS) = 0;
    ghost->Own.Every(HITPOINTS) = 0;
    EXPECT_EQ(ghost->TakeDamage(4), 4);
    EXPECT_EQ(ghost->Own.Morale(), 0);
}

TEST_F(UnitCombatTest, SimulatedBlowsUseTheExpectedDamageAndDrawNothing) {
    Base::RandomSeed = SeedOne;
    Attacker->SimulateAttack(*Target); // 5
    EXPECT_EQ(Base::RandomSeed.Low, 1u);
    EXPECT_EQ(Target->Own.Value(HITPOINTS), 25);
    EXPECT_EQ(Attacker->Effective.Value(ACTIONPOINTS), 6);
    EXPECT_EQ(Attacker->Own.Value(ACTIONPOINTS), 10);
    EXPECT_EQ(Attacker->Own.Experiences(), 0);
    Attacker->SimulateCounterattack(*Target); // 2
    EXPECT_EQ(Target->Own.Value(HITPOINTS), 23);
    EXPECT_EQ(Attacker->Effective.Value(ACTIONPOINTS), 2);
}

TEST_F(UnitCombatTest, SameSeedSameFight) {
    const auto fight = [this] {
        const auto attacker = TestSupport::MakeUnit(SoldierID);
        const auto target = TestSupport::MakeUnit(GuardID);
        Base::RandomSeed = {0x89ABCDEF, 0x01234567};
        for (int round = 0; round < 3; ++round) {
            attacker->Attack(*target);
            target->Counterattack(*attacker);
        }
        std::vector<uint8_t> bytes(2 * sizeof(TUnitStats));
        std::memcpy(bytes.data(), &attacker->Own, sizeof(TUnitStats));
        std::memcpy(bytes.data() + sizeof(TUnitStats), &target->Own, sizeof(TUnitStats));
        return bytes;
    };
    EXPECT_EQ(fight(), fight());
}

} // namespace
} // namespace UnitTests
