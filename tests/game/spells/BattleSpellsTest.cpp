#include "tests/game/spells/BattleFixture.h"

#include "game/world/data/LoadedGlobalData.h"

#include <functional>
#include <string>
#include <vector>

namespace TestSupport {
namespace {

using namespace GameData;

Data2::TSpellPrototype& Spell(int id) {
    auto& spells = Data2::LoadedGlobalData().SpellPrototypes;
    return spells[Data2::LoadedGlobalData().FindSpell(id)];
}

// A level 5 caster in slot 0 against the plain fighter in slot 3 (100 hit points,
// 20 action points, 30 mana, attack 20, counterattack 10, defence 10).
class BattleSpell : public TBattleTest {
protected:
    void SetUp() override {
        Add(Attackers, PlainFighter, 5);
        Start(1, 2);
    }
    void Cast(int spellID, int target = 3) {
        Battle.Slots[0] = {1, bcCastSpell, spellID, target};
        Battle.ApplyBattleSpell(0, nullptr);
    }
    int Stat(int slot, TUnitStat stat) { return Unit(slot).Effective.Value(stat); }
};

struct TEffectCase {
    int Spell;
    int HitPoints, ActionPoints, Mana, Attack, Counterattack, Defence;
};

class SpellEffects : public BattleSpell, public ::testing::WithParamInterface<TEffectCase> {};

// Worked out from the sample parameters with the caster at level 5 (L).
TEST_P(SpellEffects, TargetAfterTheSpell) {
    const TEffectCase& c = GetParam();
    Unit(3).AddHitPoints(-40); // 60 of 100, so healing shows
    Unit(3).AddMana(-20);      // 10 of 30, so refills show
    Cast(c.Spell);
    EXPECT_EQ(Stat(3, HITPOINTS), c.HitPoints) << c.Spell;
    EXPECT_EQ(Stat(3, ACTIONPOINTS), c.ActionPoints) << c.Spell;
    EXPECT_EQ(Stat(3, MANA), c.Mana) << c.Spell;
    EXPECT_EQ(Stat(3, ATTACK), c.Attack) << c.Spell;
    EXPECT_EQ(Stat(3, COUNTERATTACK), c.Counterattack) << c.Spell;
    EXPECT_EQ(Stat(3, DEFENCE), c.Defence) << c.Spell;
}

INSTANTIATE_TEST_SUITE_P(
    Table, SpellEffects,
    ::testing::Values(
        TEffectCase{65, 75, 20, 10, 20, 10, 10},   // + L x 200 % + 5 = 15 hit points
        TEffectCase{66, 60, 20, 10, 20, 13, 14},   // defence + 2 + 2, counter + 2 + 1
        TEffectCase{70, 60, 20, 10, 25, 10, 6},    // attack + 2 + 3; defence to 60 %
        TEffectCase{73, 60, 20, 10, 1, 1, 10},     // attack and counter become 1 and 1
        TEffectCase{76, 1, 20, 10, 20, 10, 10},    // hit points down to 1
        TEffectCase{79, 60, 20, 10, 20, 10, 14},   // defence + 2 + 2
        TEffectCase{80, 60, 20, 10, 8, 7, 10},     // attack 20 x 200 / 500, counter 70 %
        TEffectCase{85, 60, 20, 0, 20, 10, 10},    // all mana gone
        TEffectCase{86, 60, 0, 30, 20, 10, 10},    // mana refilled, action points 0
        TEffectCase{89, 60, 20, 10, 17, 7, 10},    // attack and counter - (1 + 2)
        TEffectCase{97, 60, 0, 10, 20, 10, 10},    // action points := 0
        TEffectCase{98, 60, 20, 8, 20, 10, 10},    // drain 10 x 5 x 5 % = 2
        TEffectCase{99, 60, 10, 10, 20, 10, 13},   // defence + 1 x 50 % + 3; points halved
        TEffectCase{107, 50, 20, 10, 16, 8, 0},    // damage 10; 80 %, 80 %, defence 0
        TEffectCase{109, 60, 20, 10, 18, 9, 13},   // 90 %, 90 %, defence + 3
        TEffectCase{112, 50, 20, 10, 18, 9, 10},   // damage 10; 90 %, 90 %
        TEffectCase{115, 60, 20, 10, 18, 8, 8},    // - 2 each
        TEffectCase{116, 60, 4, 10, 20, 10, 8},    // points / (L x 100 %); defence - 2
        TEffectCase{117, 46, 10, 10, 20, 10, 10},  // points halved; damage L x 200 % + 4
        TEffectCase{119, 54, 20, 10, 18, 9, 10},   // 9/10 of attack, counter, hit points
        TEffectCase{123, 0, 20, 10, 20, 10, 10})); // every hit point gone

TEST_F(BattleSpell, ADivisorOfZeroLeavesTheActionPointsAlone) {
    Spell(116).Params[2] = 10; // L x 10 % = 0 at level 5
    Cast(116);
    EXPECT_EQ(Stat(3, ACTIONPOINTS), 20);
    EXPECT_EQ(Stat(3, DEFENCE), 8);
    Unit(0).Own.Level() = 0;
    Unit(0).RecalculateStats(true);
    Cast(80); // attack x P3 / (L x 100) with L = 0
    EXPECT_GE(Stat(3, ATTACK), 0);
}

TEST_F(BattleSpell, SpellDamageEarnsExperienceUnlessTheCasterStrikesItself) {
    Data.SetConstant(Data2::gcExperiencePerDamageDealt, 2);
    const int experience = Unit(0).Own.Experiences();
    Cast(69); // damage L x 300 % + 6 = 21
    EXPECT_EQ(Stat(3, HITPOINTS), 79);
    // 12 for casting and 2 x 21 for the damage, each x spell level 3 / caster level 5.
    EXPECT_EQ(Unit(0).Own.Experiences() - experience, 12 * 3 / 5 + 42 * 3 / 5);

    auto turned = std::make_unique<TAfterEffect>();
    turned->Kind = ekAttacksSelf;
    Unit(0).AddEffect(std::move(turned));
    const int before = Unit(0).Own.Experiences();
    Cast(69);
    EXPECT_EQ(Stat(3, HITPOINTS), 79);
    EXPECT_EQ(Stat(0, HITPOINTS), 79);
    EXPECT_EQ(Unit(0).Own.Experiences() - before, 12 * 3 / 5);
}

TEST_F(BattleSpell, RandomDamageStaysWithinItsRange) {
    for (int i = 0; i < 20; ++i) {
        const int before = Stat(3, HITPOINTS);
        Cast(78); // random(L x 150 %) + L x 150 % + 3: 10 to 16
        const int dealt = before - Stat(3, HITPOINTS);
        ASSERT_GE(dealt, 10);
        ASSERT_LE(dealt, 16);
        Unit(3).AddHitPoints(100);
    }
}

TEST_F(BattleSpell, KillingASpellTargetRewardsTheCaster) {
    Unit(3).Own.Words[swSpare] = 30;    // kill reward base
    Unit(3).Own.Words[swSpare + 1] = 4; // per level
    Unit(3).RecalculateStats(true);
    const int experience = Unit(0).Own.Experiences();
    const int morale = Unit(0).Effective.Morale();
    Cast(123);
    EXPECT_TRUE(Unit(3).IsDead());
    EXPECT_EQ(Unit(0).Effective.Value(MANA), 0);
    // 32 for casting at spell level 8, then 30 + 4 x 0 at the victim's level 1, over level 5.
    EXPECT_EQ(Unit(0).Own.Experiences() - experience, 32 * 8 / 5 + 30 * 1 / 5);
    EXPECT_GT(Unit(0).Effective.Morale(), morale);
}

TEST_F(BattleSpell, ATransformationLastsForTheBattleAndNotBeyondASimulatedRound) {
    Spell(87).Params[2] = Brute;
    const Data2::TUnitPrototype* plain = Unit(3).Prototype;
    Battle.SnapshotStats();
    Cast(87);
    EXPECT_EQ(Unit(3).Prototype->ID, Brute);
    EXPECT_EQ(Stat(3, ATTACK), 1000);
    Battle.RestoreStats();
    EXPECT_EQ(Unit(3).Prototype, plain);
    EXPECT_EQ(Unit(3).SavedPrototype, nullptr);
    EXPECT_EQ(Stat(3, ATTACK), 20);

    Cast(87);
    EXPECT_EQ(Unit(3).SavedPrototype, plain);
    Battle.RemoveBattleEffects();
    EXPECT_EQ(Unit(3).Prototype, plain);
    EXPECT_EQ(Stat(3, ATTACK), 20);
}

// The plan search restores every unit after each of thousands of simulated rounds,
// and only recomputes those a round changed: whatever a round changed, and however
// the rounds follow one another, each ends with the units as they were.
TEST_F(BattleSpell, EverySimulatedRoundEndsWithTheUnitsAsTheyWere) {
    struct TRound {
        const char* What;
        std::function<void()> Change;
    };
    const std::vector<TRound> rounds = {
        {"nothing", [] {}},
        {"an effect", [&] { Cast(66); }},
        {"a blow, which spends effective action points only",
         [&] { Unit(0).SimulateAttack(Unit(3)); }},
        {"own hit points", [&] { Unit(3).AddHitPoints(-30); }},
        {"a transformation",
         [&] {
             Spell(87).Params[2] = Brute;
             Cast(87);
         }},
    };
    const auto bytes = [](const TUnitStats& stats) {
        const auto* first = reinterpret_cast<const uint8_t*>(&stats);
        return std::vector<uint8_t>(first, first + sizeof stats);
    };
    std::vector<std::vector<uint8_t>> own, effective;
    for (const int slot : {0, 3, 4}) {
        own.push_back(bytes(Unit(slot).Own));
        effective.push_back(bytes(Unit(slot).Effective));
    }
    for (const TRound& changed : rounds)
        for (const TRound& then : rounds)
            for (const TRound* round : {&changed, &then, &changed}) {
                SCOPED_TRACE(std::string(changed.What) + ", then " + then.What);
                Battle.SnapshotStats();
                round->Change();
                Battle.RestoreStats();
                int k = 0;
                for (const int slot : {0, 3, 4}) {
                    EXPECT_EQ(bytes(Unit(slot).Own), own[size_t(k)]) << slot;
                    EXPECT_EQ(bytes(Unit(slot).Effective), effective[size_t(k)]) << slot;
                    EXPECT_EQ(Unit(slot).Effects.Count(), 0) << slot;
                    EXPECT_EQ(Unit(slot).Prototype->ID, PlainFighter) << slot;
                    ++k;
                }
            }
}

TEST_F(BattleSpell, CommandSpellsRedirectOrStopBlows) {
    Battle.SetAttackCommand(3, 0);
    Battle.SetAttackCommand(4, 0);
    Cast(94); // deep sleep: the target's blow at the caster stops
    EXPECT_EQ(Battle.Slots[3].Command, bcNone);
    Battle.SetAttackCommand(3, 0);
    Add(Attackers);
    Battle.SetGroups(&Attackers, &Defenders);
    Battle.Slots[0] = {1, bcCastSpell, 88, 1};
    Battle.ApplyBattleSpell(0, nullptr); // slot 1 becomes the decoy
    EXPECT_EQ(Battle.Slots[3].TargetSlot, 1);
    EXPECT_EQ(Battle.Slots[4].TargetSlot, 1);
    // Discord needs the caster's morale above the target's (P3 = P4 = 1): 50 is not.
    Cast(122);
    EXPECT_EQ(Battle.Slots[3].TargetSlot, 1);
    Unit(0).ChangeMorale(30);
    Cast(122); // slot 3's only live friend is slot 4
    EXPECT_EQ(Battle.Slots[3].Command, bcAttack);
    EXPECT_EQ(Battle.Slots[3].TargetSlot, 4);
    Unit(4).TakeDamage(1000);
    Cast(122);
    EXPECT_EQ(Battle.Slots[3].Command, bcNone);
}

TEST_F(BattleSpell, CopiesOfTheCasterAreRegisteredAndLeaveWithTheBattle) {
    const int registered = Registry.Count();
    Cast(125, 0);
    ASSERT_EQ(Attackers.UnitCount(), 3);
    EXPECT_EQ(Registry.Count(), registered + 2);
    EXPECT_EQ(Battle.Slots[1].Occupied, 1);
    EXPECT_EQ(Battle.Slots[2].Occupied, 1);
    for (const int slot : {1, 2}) {
        EXPECT_NE(Unit(slot).ID, 0u);
        EXPECT_NE(Unit(slot).ID, Unit(0).ID);
        EXPECT_EQ(Unit(slot).Prototype, Unit(0).Prototype);
        EXPECT_EQ(Unit(slot).IsHero, 0);
        EXPECT_TRUE(Unit(slot).HasEffect(ekBattleCopy));
        EXPECT_TRUE(Registry.Holds(&Unit(slot)));
    }
    EXPECT_NE(Unit(1).ID, Unit(2).ID);
    Battle.RemoveBattleEffects();
    EXPECT_EQ(Attackers.UnitCount(), 1);
    EXPECT_EQ(Registry.Count(), registered);
    EXPECT_EQ(Battle.Slots[1].Occupied, 0);
}

TEST_F(BattleSpell, WithoutARegistryNoCopyIsMade) {
    Battle.Registry = nullptr;
    Cast(125, 0);
    EXPECT_EQ(Attackers.UnitCount(), 1);
}

TEST_F(BattleSpell, ContestsWithoutAValueNeverFailUnlessTheTargetIsImmune) {
    Battle.Slots[0] = {1, bcCastSpell, 65, 3};
    EXPECT_TRUE(Battle.RollSpellSuccess(0, nullptr, false, 0, 0));
    auto shield = std::make_unique<TAfterEffect>();
    shield->Kind = 75;
    Unit(3).AddEffect(std::move(shield));
    EXPECT_FALSE(Battle.RollSpellSuccess(0, nullptr, false, 0, 0));
    // Expected contests: level 5 x 100 % against level 1 x 100 % holds; 1 against 5 not.
    Battle.Slots[0] = {1, bcCastSpell, 85, 4};
    EXPECT_TRUE(Battle.RollSpellSuccess(0, nullptr, true, 0, 0));
    Battle.Slots[3] = {1, bcCastSpell, 85, 0};
    EXPECT_FALSE(Battle.RollSpellSuccess(3, nullptr, true, 0, 0));
    // Creature types: turning undead fails against people.
    Battle.Slots[0] = {1, bcCastSpell, 118, 4};
    EXPECT_FALSE(Battle.RollSpellSuccess(0, nullptr, true, 0, 0));
}

// Casting order: phases 1, 3, 2; in a phase attackers before defenders.
class SpellRounds : public TBattleTest {
protected:
    void SetUp() override {
        Add(Attackers, PlainFighter, 8);
        Start(1, 2);
    }
};

TEST_F(SpellRounds, AManaBurnInTheSamePhaseGoesFirstForTheAttackers) {
    Learn(0, 85);
    Learn(3, 104);
    Battle.SetSpellCommand(0, 85, 3);  // phase 2
    Battle.SetSpellCommand(3, 104, 0); // phase 2: no mana left when its turn comes
    const TSpellRound round = Battle.CastSpells(false);
    EXPECT_EQ(round.AttackerMana, 8);
    EXPECT_EQ(round.DefenderMana, 0);
    EXPECT_EQ(Unit(3).Effective.Value(MANA), 0);
}

TEST_F(SpellRounds, AnEarlierPhaseOfTheDefendersGoesBeforeTheAttackers) {
    Spell(104).Phase = 1;
    Learn(0, 85);
    Learn(3, 104);
    Battle.SetSpellCommand(0, 85, 3);
    Battle.SetSpellCommand(3, 104, 0);
    const TSpellRound round = Battle.CastSpells(false);
    EXPECT_EQ(round.AttackerMana, 8);
    EXPECT_EQ(round.DefenderMana, 4);
}

TEST_F(SpellRounds, ASpellOfAnyPhaseAndLevelIsCastOnceInTheFirstPass) {
    Spell(65).Phase = 0;
    Spell(65).MinLevel = 0;
    Learn(0, 65);
    Battle.SetSpellCommand(0, 65, 0);
    Unit(0).AddHitPoints(-50);
    const TSpellRound round = Battle.CastSpells(false);
    EXPECT_EQ(round.AttackerMana, 4);
    EXPECT_EQ(Unit(0).Effective.Value(MANA), 26);
    EXPECT_EQ(Unit(0).Effective.Value(ACTIONPOINTS), 16);
    EXPECT_TRUE(Battle.SpellMatchesPhase(0, &Spell(65), 1, 1));
    EXPECT_TRUE(Battle.SpellMatchesPhase(0, &Spell(65), 8, 2));
    EXPECT_FALSE(Battle.SpellMatchesPhase(0, &Spell(104), 1, 1));
    EXPECT_TRUE(Battle.SpellMatchesPhase(0, &Spell(104), 1, 2));
}

TEST_F(SpellRounds, ASpellAtADeadTargetCostsItsManaAndClearsTheFlag) {
    Learn(0, 104);
    Learn(3, 65);
    Battle.SetSpellCommand(0, 104, 4);
    Battle.SetSpellCommand(3, 65, 3);
    Unit(4).TakeDamage(1000);
    const TSpellRound round = Battle.CastSpells(false);
    EXPECT_EQ(round.AttackerMana, 4);
    EXPECT_FALSE(round.AttackersAllSucceeded);
    EXPECT_TRUE(round.DefendersAllSucceeded);
    EXPECT_EQ(Unit(0).Effective.Value(MANA), 26);
}

} // namespace
} // namespace TestSupport
