// A round's casts taken one at a time from the battle's walk, each paid, rolled and
// applied by its caller, end as the battle's own CastSpells ends them: the fight
// screen shows the same rounds a background fight plays.
#include "game/spells/Battle.h"
#include "game/spells/BattleDecisions.h"
#include "tests/support/BattleBuilder.h"
#include "tests/support/SampleBestiary.h"
#include "tests/support/UnitBuilder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace TestSupport {
namespace {

using namespace GameData;

constexpr int64_t PlanLimit = 500;
constexpr int MaxRounds = 12;

struct TWalkOutcome {
    uint64_t Digest = 0;
    Base::TRandomSeed Random{};
    int Casts = 0;
    int AttackerMana = 0;
    int DefenderMana = 0;
};

uint64_t Digest(uint64_t hash, const TUnit& unit) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(&unit.Own);
    for (size_t i = 0; i < sizeof(TUnitStats); ++i)
        hash = (hash ^ bytes[i]) * 0x100000001B3ULL;
    return (hash ^ uint64_t(unit.Effects.Count())) * 0x100000001B3ULL;
}

// One battle of sample creatures made from the seed, the computer choosing both
// sides; each round's casts either by CastSpells or step by step.
TWalkOutcome PlayBattle(uint32_t seed, bool stepByStep) {
    Base::TRandomSeed makeUp{seed, 0x51ED270Bu};
    const auto draw = [&](int n) { return int(Base::NextRandom(makeUp) % uint32_t(n)); };
    TTestUnitRegistry registry;
    TTestPlayer players[2];
    TTestBattleSide sides[2] = {TTestBattleSide(&players[0]), TTestBattleSide(&players[1])};
    for (TTestBattleSide& side : sides) {
        const int count = 1 + draw(3);
        for (int i = 0; i < count; ++i) {
            const int prototype = SampleUnits[draw(SampleUnitCount)].ID;
            side.AddUnit(*registry.Register(MakeUnitAtLevel(prototype, 1 + draw(8), true)));
        }
    }
    TBattle battle;
    battle.Registry = &registry;
    battle.SetGroups(&sides[0], &sides[1]);
    Base::RandomSeed = {seed, 7};
    TWalkOutcome outcome;
    for (int round = 0; round < MaxRounds && !battle.IsOver(); ++round) {
        battle.ClearCommands();
        for (const bool attackers : {true, false})
            ChooseBattleCommands(battle, attackers, {{}, PlanLimit});
        battle.ResolveGuardCommands();
        if (stepByStep) {
            TBattle::TCastWalk walk = battle.BeginCasts();
            for (int slot = battle.NextCaster(walk); slot >= 0; slot = battle.NextCaster(walk)) {
                ++outcome.Casts;
                const Data2::TSpellPrototype* spell = walk.Spells[size_t(slot)];
                (IsAttackerSlot(slot) ? outcome.AttackerMana : outcome.DefenderMana) +=
                    battle.PaySpellCost(slot, spell);
                if (battle.RollSpellSuccess(slot, spell, false, 0, 0))
                    battle.ApplyBattleSpell(slot, spell);
            }
        } else {
            const TSpellRound spells = battle.CastSpells(false);
            outcome.AttackerMana += spells.AttackerMana;
            outcome.DefenderMana += spells.DefenderMana;
        }
        for (int slot = 0; slot < FirstDefenderSlot; ++slot)
            if (!battle.IsSlotAlive(slot))
                battle.ClearCommand(slot);
        battle.ExecuteAttacks();
        battle.ExecuteCounterattacks();
    }
    battle.RemoveBattleEffects();
    for (const TTestBattleSide& side : sides)
        for (int i = 0; i < side.UnitCount(); ++i)
            outcome.Digest = Digest(outcome.Digest, *side.UnitAt(i));
    outcome.Random = Base::RandomSeed;
    return outcome;
}

class CastWalk : public ::testing::Test {
protected:
    CastWalk() { AddSampleBestiary(Data); }
    TTestGameData Data;
};

TEST_F(CastWalk, CastsTakenOneAtATimeEndAsCastSpellsEndsThem) {
    int casts = 0;
    for (uint32_t seed = 1; seed <= 10; ++seed) {
        const TWalkOutcome whole = PlayBattle(seed, false);
        const TWalkOutcome steps = PlayBattle(seed, true);
        EXPECT_EQ(steps.Digest, whole.Digest) << "seed " << seed;
        EXPECT_EQ(std::memcmp(&steps.Random, &whole.Random, sizeof whole.Random), 0)
            << "seed " << seed;
        EXPECT_EQ(steps.AttackerMana, whole.AttackerMana) << "seed " << seed;
        EXPECT_EQ(steps.DefenderMana, whole.DefenderMana) << "seed " << seed;
        casts += steps.Casts;
    }
    // The table must hold casts for the comparison to mean anything.
    EXPECT_GT(casts, 5);
}

// A cast judged when the walk reaches it: a caster the casts before it left without
// mana is passed over, and no slot casts twice in a round.
class CastWalkOrder : public ::testing::Test {
protected:
    CastWalkOrder() {
        Data2::TUnitPrototype& prototype = Data.AddUnitPrototype(1, "Fighter");
        SetStat(prototype.Stats, HITPOINTS, 100);
        SetStat(prototype.Stats, ACTIONPOINTS, 20);
        SetStat(prototype.Stats, MANA, 30);
        prototype.CreatureType = 1;
        prototype.Stats.LearnableSpells = ~uint64_t(0);
        prototype.Stats.ExperienceBase() = 1000;
        Data.SetConstant(Data2::gcLeastActionPoints, 4);
        for (int i = 0; i < SampleBattleSpellCount; ++i)
            AddSampleSpell(Data, SampleBattleSpells[i]);
        // Level 8 casters against level 1: the contests go the casters' way.
        for (int i = 0; i < 2; ++i) {
            Attackers.AddUnit(*Registry.Register(MakeUnitAtLevel(1, 8, false)));
            Defenders.AddUnit(*Registry.Register(MakeUnitAtLevel(1, 1, false)));
        }
        Base::RandomSeed = {0x1234, 0x5678};
        Battle.Registry = &Registry;
        Battle.SetGroups(&Attackers, &Defenders);
    }
    TUnit& Unit(int slot) { return *Battle.UnitAt(slot); }

    TTestGameData Data;
    TTestUnitRegistry Registry;
    TTestBattleSide Attackers;
    TTestBattleSide Defenders;
    TBattle Battle;
};

TEST_F(CastWalkOrder, EachCasterIsJudgedWhenItsTurnComes) {
    // Mana burn (phase 2) of attacker 0 on defender 3, whose own phase 2 spell comes
    // after it and finds no mana left; attacker 1 heals itself in phase 3, which goes
    // before phase 2.
    Unit(0).LearnSpell(85);
    Unit(1).LearnSpell(65);
    Unit(3).LearnSpell(104);
    Battle.SetSpellCommand(0, 85, 3);
    Battle.SetSpellCommand(1, 65, 1);
    Battle.SetSpellCommand(3, 104, 0);
    TBattle::TCastWalk walk = Battle.BeginCasts();
    std::vector<int> order;
    for (int slot = Battle.NextCaster(walk); slot >= 0; slot = Battle.NextCaster(walk)) {
        order.push_back(slot);
        const Data2::TSpellPrototype* spell = walk.Spells[size_t(slot)];
        Battle.PaySpellCost(slot, spell);
        if (Battle.RollSpellSuccess(slot, spell, false, 0, 0))
            Battle.ApplyBattleSpell(slot, spell);
    }
    EXPECT_EQ(order, (std::vector<int>{1, 0}));
    EXPECT_EQ(Battle.NextCaster(walk), -1);
    EXPECT_EQ(Unit(3).Effective.Value(MANA), 0);
}

} // namespace
} // namespace TestSupport
