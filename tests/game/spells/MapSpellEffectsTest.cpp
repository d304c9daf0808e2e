// Every map spell on the tiny world with fixed seeds, against values worked out from
// the rules and the records' parameters. The red mage is level 6 (L), attack 60,
// morale 90; knights have 40 hit points, 20 mana, 10 action points, attack 20,
// counterattack 10, defence 10, sight 3 and morale 50.
#include "tests/game/spells/MapSpellFixture.h"

#include "game/world/fog/Fog.h"
#include "game/world/units/Rolls.h"

#include <functional>
#include <string>
#include <vector>

namespace MapSpellTests {
namespace {

struct TEffectRow {
    int Spell;
    std::vector<int16_t> Params;
    std::vector<int> Targets; // blue group on (5, 5)
    // Before the cast: wounds, drained pools; after: the checks.
    std::function<void(std::vector<TUnit*>&)> Before;
    std::function<void(const std::vector<TUnit*>&, const TUnit& caster)> Check;
};

void Delta(const TUnit& unit, int kind, int duration,
           std::initializer_list<std::pair<TUnitStat, int>> changes, int morale = 0) {
    const TAfterEffect* effect = nullptr;
    for (const TAfterEffect* e : unit.Effects)
        if (e->Kind == kind)
            effect = e;
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->Duration, duration);
    for (const auto& [stat, change] : changes)
        EXPECT_EQ(effect->Delta.Value(stat), change) << "statistic " << int(stat);
    EXPECT_EQ(effect->Delta.Morale(), morale);
}

void NoEffect(const TUnit& unit, int kind) {
    for (const TAfterEffect* e : unit.Effects)
        EXPECT_NE(e->Kind, kind);
}

int Value(const TUnit& u, TUnitStat stat) {
    return u.Effective.Value(stat);
}

int HP(const TUnit* u) {
    return u->Effective.Value(HITPOINTS);
}

void Wound(TUnit* u, int to) {
    u->AddHitPoints(to - HP(u));
}

const std::vector<TEffectRow>& GroupRules() {
    static const std::vector<TEffectRow> rows = {
        // Pool 5 over three units at 30: 2, 2, 1 in slot order.
        {1,
         {5, 0},
         {Knight, Knight, Knight},
         [](auto& u) {
             for (TUnit* unit : u)
                 Wound(unit, 30);
         },
         [](auto& u, auto&) {
             EXPECT_EQ(HP(u[0]), 32);
             EXPECT_EQ(HP(u[1]), 32);
             EXPECT_EQ(HP(u[2]), 31);
         }},
        // DEFENCE + 6 x 50 % + 1, COUNTERATTACK + 6 x 30 % + 1.
        {2,
         {1, 50, 1, 30},
         {Knight},
         {},
         [](auto& u, auto&) {
             Delta(*u[0], 2, 1, {{DEFENCE, 4}, {COUNTERATTACK, 2}});
         }},
        // The living take heart (6 x 300 % + 5); the undead take 18.
        {3,
         {5, 300},
         {Knight, Ghoul},
         {},
         [](auto& u, auto&) {
             EXPECT_EQ(u[0]->Effective.Morale(), 73);
             EXPECT_EQ(HP(u[1]), 22);
         }},
        {4,
         {2, 50},
         {Knight},
         {},
         [](auto& u, auto&) {
             Delta(*u[0], 4, 1, {{ACTIONPOINTS, 5}});
         }},
        // Morale 90 beats defence 10; two units: (4 - 2) x 6 x 50 % + 8 = 14 each; the
        // caster loses 5 morale.
        {5,
         {100, 100, 8, 50, 5},
         {Knight, Knight},
         {},
         [](auto& u, auto& c) {
             EXPECT_EQ(HP(u[0]), 26);
             EXPECT_EQ(HP(u[1]), 26);
             EXPECT_EQ(c.Effective.Morale(), 85);
         }},
        // For 6 x 50 % = 3 turns: attack + 4, defence down to 50 %.
        {6,
         {1, 50, 50, 50},
         {Knight},
         {},
         [](auto& u, auto&) {
             Delta(*u[0], 6, 3, {{ATTACK, 4}, {DEFENCE, -5}});
         }},
        // Only the living: attack reads 1 and counterattack 2 for 6 x 50 % + 1 turns.
        {9,
         {100, 10, 1, 2, 50},
         {Wolf, Ghoul},
         {},
         [](auto& u, auto&) {
             Delta(*u[0], 9, 4, {{ATTACK, -19}, {COUNTERATTACK, -8}});
             NoEffect(*u[1], 9);
         }},
        // The undead fall to 5 hit points and the caster's mana becomes 7.
        {10,
         {100, 100, 5, 7},
         {Ghoul, Knight},
         {},
         [](auto& u, auto& c) {
             EXPECT_EQ(HP(u[0]), 5);
             EXPECT_EQ(HP(u[1]), 40);
             EXPECT_EQ(Value(c, MANA), 7);
         }},
        // An undead already below the 5 hit points the spell leaves is not mended.
        {10,
         {100, 100, 5, 7},
         {Ghoul},
         [](auto& u) { Wound(u[0], 2); },
         [](auto& u, auto&) { EXPECT_EQ(HP(u[0]), 2); }},
        {11,
         {},
         {Knight, Knight},
         {},
         [](auto& u, auto&) {
             Delta(*u[0], 11, 1, {});
             EXPECT_TRUE(u[1]->IsImmuneToSpell(40));
         }},
        {12,
         {},
         {Knight},
         [](auto& u) { Wound(u[0], 25); },
         [](auto& u, auto&) { EXPECT_EQ(HP(u[0]), 40); }},
        // Level 6 against level 1: sight, attack and counterattack fall to 50 %.
        {13,
         {100, 100, 50, 50, 50},
         {Knight},
         {},
         [](auto& u, auto&) {
             Delta(*u[0], 13, 1, {{SIGHT, -2}, {ATTACK, -10}, {COUNTERATTACK, -5}});
         }},
        {14,
         {6, 50},
         {Knight, Ghoul},
         {},
         [](auto& u, auto&) {
             EXPECT_EQ(HP(u[0]), 34);
             EXPECT_EQ(Value(*u[0], ACTIONPOINTS), 5);
             EXPECT_EQ(HP(u[1]), 40);
         }},
        {15,
         {50, 2},
         {Knight},
         {},
         [](auto& u, auto&) {
             Delta(*u[0], 15, 1, {{DEFENCE, 5}});
         }},
        // Sight becomes 1 for L turns.
        {16,
         {100, 10, 1},
         {Knight},
         {},
         [](auto& u, auto&) {
             Delta(*u[0], 16, 6, {{SIGHT, -2}});
         }},
        // 6 x 50 % + 5, no random part; defence - 3 for 6 / 4 + 1 turns.
        {17,
         {100, 100, 5, 50, 0, 50},
         {Knight},
         {},
         [](auto& u, auto&) {
             EXPECT_EQ(HP(u[0]), 32);
             Delta(*u[0], 17, 2, {{DEFENCE, -3}});
         }},
        // The living lose 3 hit points to the wounded caster, and 3 morale.
        {20,
         {50, 50, 50, 50, 50},
         {Knight, Ghoul},
         {},
         [](auto& u, auto& c) {
             EXPECT_EQ(HP(u[0]), 37);
             EXPECT_EQ(u[0]->Effective.Morale(), 47);
             EXPECT_EQ(HP(&c), 33);
             Delta(*u[0], 20, 4, {{ATTACK, -3}, {COUNTERATTACK, -3}});
             EXPECT_EQ(HP(u[1]), 40);
         }},
        {22,
         {},
         {Knight},
         [](auto& u) { u[0]->AddMana(-15); },
         [](auto& u, auto&) {
             EXPECT_EQ(Value(*u[0], MANA), 20);
             EXPECT_EQ(Value(*u[0], ACTIONPOINTS), 0);
         }},
        // (4 - 2) x defence 10 x 50 % = 10; attack and counterattack fall to 50 %.
        {24,
         {50, 50},
         {Knight, Ghoul},
         {},
         [](auto& u, auto&) {
             EXPECT_EQ(HP(u[0]), 30);
             Delta(*u[0], 24, 2, {{ATTACK, -10}, {COUNTERATTACK, -5}});
             NoEffect(*u[1], 24);
         }},
        {25,
         {50},
         {Knight},
         {},
         [](auto& u, auto&) {
             Delta(*u[0], 25, 6, {{SIGHT, 3}});
         }},
        {27,
         {50, 1, 50, 2, 50, 50},
         {Knight},
         {},
         [](auto& u, auto&) {
             EXPECT_EQ(u[0]->Effective.Morale(), 47);
             Delta(*u[0], 27, 1, {{ATTACK, -4}, {COUNTERATTACK, -5}, {ACTIONPOINTS, 3}});
         }},
        // Attack 60 against defence 10, unscaled: 3 action points and 3 hit points.
        {29,
         {1, 1, 50, 50},
         {Knight},
         {},
         [](auto& u, auto&) {
             EXPECT_EQ(Value(*u[0], ACTIONPOINTS), 7);
             EXPECT_EQ(HP(u[0]), 37);
         }},
        // 120 against morale 50: action points to 50 %, mana + 50 % of 20, hit points
        // + 3, morale + level 1 x 100 %.
        {30,
         {2, 1, 50, 50, 50, 100},
         {Knight},
         [](auto& u) {
             Wound(u[0], 30);
             u[0]->AddMana(-20);
         },
         [](auto& u, auto&) {
             EXPECT_EQ(Value(*u[0], ACTIONPOINTS), 5);
             EXPECT_EQ(Value(*u[0], MANA), 10);
             EXPECT_EQ(HP(u[0]), 33);
             EXPECT_EQ(u[0]->Effective.Morale(), 51);
         }},
        // Morale 90 against 25: 6 x 50 % + 6 x (90 - 50) x 10 % = 3 + 24.
        {31, {100, 50, 50, 10}, {Knight}, {}, [](auto& u, auto&) { EXPECT_EQ(HP(u[0]), 13); }},
        {32,
         {100, 50, 50, 50},
         {Knight},
         [](auto& u) {
             Wound(u[0], 30);
             u[0]->AddMana(-20);
             u[0]->AddActionPoints(-6);
             u[0]->ChangeMorale(-20);
         },
         [](auto& u, auto&) {
             EXPECT_EQ(Value(*u[0], ACTIONPOINTS), 5);
             EXPECT_EQ(Value(*u[0], MANA), 10);
             EXPECT_EQ(HP(u[0]), 33);
             EXPECT_EQ(u[0]->Effective.Morale(), 40);
         }},
        // Drain 20 x 6 x 10 % = 12 from the knight to the emptied caster.
        {34,
         {100, 50, 10},
         {Knight},
         {},
         [](auto& u, auto& c) {
             EXPECT_EQ(Value(*u[0], MANA), 8);
             EXPECT_EQ(Value(c, MANA), 12);
         }},
        // 10 x 6 x 20 / 100 = 12 asked of a unit that holds 10: it gives all it has
        // and no more.
        {34,
         {100, 50, 20},
         {Knight},
         [](auto& u) { u[0]->AddMana(-10); },
         [](auto& u, auto& c) {
             EXPECT_EQ(u[0]->Own.Value(MANA), 0);
             EXPECT_EQ(Value(c, MANA), 10);
         }},
        {35,
         {1, 50, 50},
         {Knight},
         {},
         [](auto& u, auto&) {
             EXPECT_EQ(Value(*u[0], ACTIONPOINTS), 5);
             Delta(*u[0], 35, 2, {{DEFENCE, 4}});
         }},
        // Sight + 50 x 6 % + 1 for 2 turns.
        {38,
         {1, 50, 2},
         {Knight},
         {},
         [](auto& u, auto&) {
             Delta(*u[0], 38, 2, {{SIGHT, 4}});
         }},
        {39,
         {2, 5, 50, 50, 50},
         {Knight},
         {},
         [](auto& u, auto&) {
             Delta(
                 *u[0], 39, 3,
                 {{ATTACK, 3}, {COUNTERATTACK, 3}, {ACTIONPOINTS, 2}, {SIGHT, 2}, {HITPOINTS, -20}},
                 -25);
         }},
        // Three attacks of 20: each unit is struck by the other two, 40 x 90 / 100 / 50
        // = 72 - 5, capped by its 40 hit points.
        {43,
         {100, 0, 50},
         {Knight, Knight, Knight},
         {},
         [](auto& u, auto&) {
             for (const TUnit* unit : u)
                 EXPECT_EQ(HP(unit), 0);
         }},
        {44,
         {3, 2, 1},
         {Knight},
         {},
         [](auto& u, auto& c) {
             EXPECT_EQ(Value(c, MANA), 3);
             Delta(*u[0], 44, 1, {{ACTIONPOINTS, -8}, {DEFENCE, -9}});
         }},
        {49, {}, {Knight}, {}, [](auto& u, auto&) { Delta(*u[0], 49, 1, {}); }},
        // A group of two loses 1 of each for 6 x 50 % + 1 turns.
        {51,
         {50, 100},
         {Knight, Knight},
         {},
         [](auto& u, auto&) {
             Delta(*u[1], 51, 4, {{ATTACK, -1}, {COUNTERATTACK, -1}, {DEFENCE, -1}});
         }},
        {52,
         {100, 100, 3, 50, 50},
         {Knight},
         {},
         [](auto& u, auto&) {
             EXPECT_EQ(Value(*u[0], ACTIONPOINTS), 1);
             Delta(*u[0], 52, 4, {{ACTIONPOINTS, -2}});
         }},
        // (4 - 2) x (2 + 6) = 16.
        {53,
         {100, 100, 50, 2},
         {Knight, Knight},
         {},
         [](auto& u, auto&) {
             EXPECT_EQ(Value(*u[0], ACTIONPOINTS), 5);
             EXPECT_EQ(HP(u[0]), 24);
         }},
        // The undead heal 50 x 6 x (4 - 2) / 100 = 6.
        {54,
         {50},
         {Ghoul, Knight},
         [](auto& u) {
             Wound(u[0], 10);
             Wound(u[1], 10);
         },
         [](auto& u, auto&) {
             EXPECT_EQ(HP(u[0]), 16);
             EXPECT_EQ(HP(u[1]), 10);
         }},
        {58,
         {7, 2, 50},
         {Knight},
         {},
         [](auto& u, auto&) {
             Delta(*u[0], 58, 4, {{SIGHT, 4}, {DEFENCE, 2}});
         }},
        {60, {5, 50, 0}, {Knight}, {}, [](auto& u, auto&) { EXPECT_EQ(HP(u[0]), 32); }},
    };
    return rows;
}

TEST(MapSpells, GroupSpellsChangeTheTargetGroupAsWorkedOut) {
    for (const TEffectRow& row : GroupRules()) {
        SCOPED_TRACE("spell " + std::to_string(row.Spell));
        TMapSpellWorld fresh; // a world of its own per spell
        fresh.Caster->AddHitPoints(-10);
        fresh.Caster->AddMana(-20);
        std::vector<int16_t> params = row.Params;
        Data2::TSpellPrototype& spell = fresh.AddSpell(row.Spell, {});
        for (size_t k = 0; k < params.size(); ++k)
            spell.Params[k] = params[k];
        TGroup* target = fresh.World->AddGroup(Blue, 5, 5);
        std::vector<TUnit*> units;
        for (const int prototype : row.Targets)
            units.push_back(fresh.AddUnit(target, prototype));
        if (row.Before)
            row.Before(units);
        CastMapSpell(*fresh.World->Scenario, *fresh.Caster, row.Spell, 5, 5);
        row.Check(units, *fresh.Caster);
    }
}

} // namespace
} // namespace MapSpellTests
