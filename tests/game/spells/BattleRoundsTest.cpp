#include "tests/game/spells/BattleFixture.h"

#include <array>

namespace TestSupport {
namespace {

using namespace GameData;

struct TCommand {
    int32_t Command;
    int32_t Target;
};
constexpr TCommand None{bcNone, -1};
constexpr TCommand Attack(int target) {
    return {bcAttack, target};
}
constexpr TCommand Guard(int target) {
    return {bcGuard, target};
}

struct TGuardCase {
    const char* Name;
    std::array<TCommand, 6> Before;
    std::array<TCommand, 6> After;
};

class GuardResolution : public TBattleTest, public ::testing::WithParamInterface<TGuardCase> {};

TEST_P(GuardResolution, GuardsInterceptTheAttackersOfWhatTheyProtect) {
    const TGuardCase& c = GetParam();
    Start();
    for (int slot = 0; slot < 6; ++slot)
        Battle.Slots[slot] = {1, c.Before[slot].Command, -1, c.Before[slot].Target};
    Battle.ResolveGuardCommands();
    for (int slot = 0; slot < 6; ++slot) {
        EXPECT_EQ(Battle.Slots[slot].Command, c.After[slot].Command) << c.Name << " slot " << slot;
        EXPECT_EQ(Battle.Slots[slot].TargetSlot, c.After[slot].Target)
            << c.Name << " slot " << slot;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, GuardResolution,
    ::testing::Values(
        // Two guards of slot 3 claim its two attackers; the third attacker keeps its aim.
        TGuardCase{"two guards, two attackers",
                   {Attack(3), Attack(3), Attack(5), Attack(0), Guard(3), Guard(3)},
                   {Attack(4), Attack(5), Attack(5), Attack(0), Attack(0), Attack(1)}},
        // Nobody attacks the protected slot: each guard answers whoever attacks the guard.
        TGuardCase{"guards fall back on their own attackers",
                   {Attack(4), Attack(3), None, Guard(5), Guard(5), None},
                   {Attack(4), Attack(3), None, Attack(1), Attack(0), None}},
        // A guard with nothing to answer stands down; one aimed below 3 is left alone.
        TGuardCase{"idle guards",
                   {None, None, None, Guard(1), Guard(5), None},
                   {None, None, None, Guard(1), None, None}},
        // A third guard finds both attackers of slot 3 claimed and none on itself.
        TGuardCase{"third guard of a claimed pair",
                   {Attack(3), Attack(3), None, Guard(3), Guard(3), Guard(3)},
                   {Attack(3), Attack(4), None, Attack(0), Attack(1), None}}));

TEST_F(TBattleTest, AttacksOnTheDeadOrByUnitsThatCannotActAreDropped) {
    Start();
    Unit(3).TakeDamage(1000);
    Unit(1).AddActionPoints(-20);
    Battle.SetAttackCommand(0, 3);
    Battle.SetAttackCommand(1, 4);
    Battle.SetAttackCommand(2, 4);
    Battle.ResolveGuardCommands();
    EXPECT_EQ(Battle.Slots[0].Command, bcNone);
    EXPECT_EQ(Battle.Slots[1].Command, bcNone);
    EXPECT_EQ(Battle.Slots[2].Command, bcAttack);
}

TEST_F(TBattleTest, ExpectedBlowsAndCounterblowsFollowTheDefenceBonus) {
    Start();
    Battle.SetDefenceBonus(20);
    EXPECT_EQ(Unit(0).DefenceBonus, 0);
    EXPECT_EQ(Unit(3).DefenceBonus, 20);
    Battle.SetAttackCommand(0, 3);
    Battle.SetAttackCommand(3, 0);
    Battle.SimulateAttacks();
    // Attack 20 against defence 10 raised by 20 %: 8; the blow costs the least action points, 4.
    EXPECT_EQ(Unit(3).Effective.Value(HITPOINTS), 92);
    EXPECT_EQ(Unit(0).Effective.Value(ACTIONPOINTS), 16);
    Battle.SimulateCounterattacks();
    // Counterattack 10 against the plain defence of 10: nothing.
    EXPECT_EQ(Unit(0).Effective.Value(HITPOINTS), 100);
    EXPECT_EQ(Unit(3).Effective.Value(ACTIONPOINTS), 16);
}

TEST_F(TBattleTest, ATargetKilledEarlierInThePassIsSpared) {
    Add(Attackers, Brute);
    Start();
    Battle.SetAttackCommand(0, 3);
    Battle.SetAttackCommand(1, 3);
    Battle.SetAttackCommand(3, 1);
    Battle.SetAttackCommand(4, 1);
    Battle.ExecuteAttacks();
    EXPECT_TRUE(Unit(3).IsDead());
    // The second attacker struck nothing and paid nothing.
    EXPECT_EQ(Unit(1).Effective.Value(ACTIONPOINTS), 20);
    Battle.ExecuteCounterattacks();
    // The dead defender does not strike back; the live one does and pays for it.
    EXPECT_EQ(Unit(3).Effective.Value(ACTIONPOINTS), 20);
    EXPECT_EQ(Unit(4).Effective.Value(ACTIONPOINTS), 16);
}

TEST_F(TBattleTest, TheFightEndsWithASideDeadOrNobodyAbleToAct) {
    Start(1, 2);
    EXPECT_FALSE(Battle.IsOver());
    for (const int slot : {0, 3, 4})
        Unit(slot).AddActionPoints(-20);
    EXPECT_TRUE(Battle.IsOver());
    EXPECT_FALSE(Battle.AttackersDefeated());
    Unit(3).TakeDamage(1000);
    Unit(4).TakeDamage(1000);
    EXPECT_TRUE(Battle.DefendersDefeated());
}

TEST_F(TBattleTest, SlotsFollowTheGroups) {
    Start(2, 1);
    EXPECT_EQ(Battle.Slots[1].Occupied, 1);
    EXPECT_EQ(Battle.Slots[2].Occupied, 0);
    EXPECT_TRUE(Battle.IsValidSlot(3));
    EXPECT_FALSE(Battle.IsValidSlot(4));
    EXPECT_FALSE(Battle.IsValidSlot(6));
    EXPECT_EQ(Battle.SlotOfUnit(&Unit(3)), 3);
    EXPECT_EQ(Battle.SlotOfUnit(nullptr), -1);
}

struct TCommandCase {
    int Slot;
    TCombatantSlot Command;
    bool Accepted;
};

class CommandChecks : public TBattleTest, public ::testing::WithParamInterface<TCommandCase> {};

TEST_P(CommandChecks, CommandsFromPeersOrStoredDataAreChecked) {
    const TCommandCase& c = GetParam();
    Start();
    Battle.SetAttackCommand(3, 0);
    const TCombatantSlot before =
        Battle.IsValidSlot(c.Slot) ? Battle.Slots[c.Slot] : TCombatantSlot{};
    bool accepted = false;
    switch (c.Command.Command) {
    case bcAttack:
        accepted = Battle.SetAttackCommand(c.Slot, c.Command.TargetSlot);
        break;
    case bcGuard:
        accepted = Battle.SetGuardCommand(c.Slot, c.Command.TargetSlot);
        break;
    default:
        accepted = Battle.SetSpellCommand(c.Slot, c.Command.SpellID, c.Command.TargetSlot);
        break;
    }
    EXPECT_EQ(accepted, c.Accepted);
    EXPECT_EQ(Battle.IsValidCommand(c.Slot, c.Command), c.Accepted);
    if (!accepted && c.Slot >= 0 && c.Slot < 6) {
        EXPECT_EQ(Battle.Slots[c.Slot].Command, before.Command);
        EXPECT_EQ(Battle.Slots[c.Slot].TargetSlot, before.TargetSlot);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, CommandChecks,
                         ::testing::Values(TCommandCase{0, {0, bcAttack, -1, 3}, true},
                                           TCommandCase{-1, {0, bcAttack, -1, 3}, false},
                                           TCommandCase{6, {0, bcAttack, -1, 3}, false},
                                           TCommandCase{3, {0, bcAttack, -1, 6}, false},
                                           TCommandCase{3, {0, bcAttack, -1, -1}, false},
                                           TCommandCase{4, {0, bcGuard, -1, 3}, true},
                                           TCommandCase{1, {0, bcGuard, -1, 0}, false},
                                           TCommandCase{0, {0, bcCastSpell, 104, 3}, true},
                                           TCommandCase{0, {0, bcCastSpell, 64, 3}, false},
                                           TCommandCase{0, {0, bcCastSpell, 126, 3}, false},
                                           TCommandCase{0, {0, bcCastSpell, 0, 3}, false},
                                           TCommandCase{3, {0, bcCastSpell, 104, 7}, false}));

} // namespace
} // namespace TestSupport
