// What each map spell does to the units it reaches.
#include "game/spells/MapSpellCast.h"
#include "game/spells/MapSpells.h"

#include "game/world/data/LoadedGlobalData.h"
#include "game/world/groups/Group.h"
#include "game/world/objects/MapGeometry.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/units/Rolls.h"

#include <algorithm>
#include <cstdlib>

namespace GameData {

namespace {

int Ring(int dx, int dy) {
    return std::max(std::abs(dx), std::abs(dy));
}

// Cell classes of the 3 x 3 block: 0 centre, 1 straight neighbour, 2 corner.
int BlockClass(int dx, int dy) {
    return std::abs(dx) + std::abs(dy);
}

bool IsLiving(const TUnit& unit) {
    return unit.CreatureType == 1 || unit.CreatureType == 2;
}

} // namespace

int64_t ValueOf(const TUnit& unit, int stat) {
    if (stat == StatLevel)
        return unit.Effective.Level();
    if (stat == StatMorale)
        return unit.Effective.Morale();
    return unit.Effective.Value(TUnitStat(stat));
}

int64_t MaximumOf(const TUnit& unit, TUnitStat pool) {
    return unit.Effective.AtLevel(pool);
}

TMapCast::TMapCast(TScenario& scenario, const Data2::TSpellPrototype& spell, TUnit& caster, int x,
                   int y, bool predict, Base::TRandomSeed& random)
    : Scenario(scenario), Spell(spell), Caster(caster), ID(spell.ID), X(x), Y(y), Predict(predict),
      Random(random), L(caster.Effective.Level()) {}

bool TMapCast::Beats(int64_t a, int64_t b, const TUnit& target) const {
    const int32_t scaledA = ScaledForPlayer(Caster, a);
    const int32_t scaledB = ScaledForPlayer(target, b);
    return Predict ? ExpectedContest(scaledA, scaledB) : RolledContest(scaledA, scaledB);
}

bool TMapCast::Contest(const TUnit& target, int casterStat, int targetStat) const {
    return Beats(Percent(ValueOf(Caster, casterStat), P(0)),
                 Percent(ValueOf(target, targetStat), P(1)), target);
}

int64_t TMapCast::RandomBelow(int64_t n) {
    return n > 0 ? int64_t(Base::NextRandom(Random)) % n : 0;
}

void TMapCast::Damage(TUnit& unit, int64_t amount) {
    if (amount <= 0)
        return;
    Dealt += unit.TakeDamage(SaturateInt32(amount));
    Affected = true;
}

TEffectBuilder TMapCast::Effect(TUnit& unit, int64_t duration) {
    return TEffectBuilder(unit, ID, SaturateInt32(duration));
}

void TMapCast::Done(TEffectBuilder& effect) {
    effect.Apply();
    Affected = true;
}

// Same side (itself or a friend) or an enemy; false for neutral units and copies
// without an owner, which count as enemies.
bool TMapCast::SameSide(const TUnit& unit, int8_t& relation) const {
    const TGroup* casterGroup = Caster.GetGroup();
    const TGroup* group = unit.GetGroup();
    if (!casterGroup || !group || !casterGroup->GetOwner()) {
        relation = reEnemy;
        return false;
    }
    relation = casterGroup->GetOwner()->GetRelationToGroup(group);
    return relation == RelationSelf || relation == reFriendly;
}

void TMapCast::ForEachTarget(const std::function<void(TUnit&)>& action, bool withImmune) {
    for (TUnit* unit : Units)
        if (withImmune || !unit->IsImmuneToSpell(ID))
            action(*unit);
}

void TMapCast::RecomputeOwnerSight() {
    if (!Predict && Group)
        Group->UpdateOwnerVisibility();
}

void TMapCast::Heal() {
    int64_t pool = LP(1) + P(0);
    while (pool >= 1) {
        bool healed = false;
        for (TUnit* unit : Units) {
            if (pool < 1 || unit->IsImmuneToSpell(ID))
                continue;
            if (unit->Effective.Value(HITPOINTS) < MaximumOf(*unit, HITPOINTS)) {
                unit->AddHitPoints(1);
                --pool;
                healed = Affected = true;
            }
        }
        if (!healed)
            break;
    }
}

// Spells 40-42: a rolled blow of the caster's attack against the target's defence.
void TMapCast::Bolt() {
    const int64_t morale = (ValueOf(Caster, StatMorale) + 5) / 10 - 5;
    ForEachTarget([&](TUnit& unit) {
        const int32_t attack = RollValue(
            Random, ScaledForPlayer(Caster, Percent(ValueOf(Caster, ATTACK), P(0)) + morale));
        const int64_t defence = ScaledForPlayer(unit, Percent(ValueOf(unit, DEFENCE), P(1)) *
                                                          (100 + int64_t(unit.DefenceBonus)) / 100);
        if (attack - defence <= 0)
            return;
        Damage(unit, attack - defence);
        if (ID == 41) {
            TEffectBuilder effect = Effect(unit, LP(4) + P(3));
            effect.Add(DEFENCE, -LP(2));
            Done(effect);
        } else if (ID == 42) {
            TEffectBuilder effect = Effect(unit, LP(5) + P(4));
            effect.Add(ATTACK, -LP(2)).Add(COUNTERATTACK, -LP(3));
            Done(effect);
        }
    });
}

// Spells 8 and 45: action points fall to the ring's percentage, then damage.
void TMapCast::Slow() {
    ForArea(2, [&](const TReachedUnit& reached) {
        TUnit& unit = reached.Unit;
        if (unit.IsImmuneToSpell(ID))
            return;
        const int ring = Ring(reached.DX, reached.DY);
        const int64_t points = ValueOf(unit, ACTIONPOINTS);
        unit.AddActionPoints(SaturateInt32(P(ring) * points / 100 - points));
        Affected = true;
        Damage(unit, (L + 3 - reached.GroupCount) * P(3 + ring) / 100);
    });
}

// Spell 18: no immunity and no contest.
void TMapCast::Storm() {
    ForArea(2, [&](const TReachedUnit& reached) {
        TUnit& unit = reached.Unit;
        const int ring = Ring(reached.DX, reached.DY);
        const int64_t a = P(ring), b = P(3 + ring), c = P(6 + ring);
        const int64_t points = ValueOf(unit, ACTIONPOINTS);
        const int64_t hitPoints = ValueOf(unit, HITPOINTS);
        const int64_t counter = ValueOf(unit, COUNTERATTACK);
        unit.AddActionPoints(SaturateInt32(c * points / 100 - points));
        Affected = true;
        Damage(unit, hitPoints - a * hitPoints / 100);
        TEffectBuilder effect = Effect(unit, 1);
        effect.Add(DEFENCE, -b).Add(COUNTERATTACK, c * counter / 100 - counter);
        Done(effect);
    });
}

// Spell 19.
void TMapCast::Quake() {
    static constexpr int W1[5][5] = {
        {2, 2, 2, 2, 2}, {2, 5, 5, 5, 2}, {2, 5, 8, 5, 2}, {2, 5, 5, 5, 2}, {2, 2, 2, 2, 2}};
    ForArea(2, [&](const TReachedUnit& reached) {
        TUnit& unit = reached.Unit;
        const int dx = reached.DX, dy = reached.DY;
        if (unit.IsImmuneToSpell(ID) ||
            !Beats(W1[dx + 2][dy + 2] * L, ValueOf(unit, DEFENCE), unit))
            return;
        const int adx = std::abs(dx), ady = std::abs(dy);
        const int cellClass = adx == 0 && ady == 0   ? 0
                              : adx == 1 && ady == 1 ? 1
                              : adx == 2 && ady == 2 ? 2
                              : adx + ady == 1       ? 3
                                                     : 4;
        const int64_t counter = ValueOf(unit, COUNTERATTACK);
        Damage(unit, P(cellClass) + L + RandomBelow(2 * L));
        TEffectBuilder effect = Effect(unit, 1);
        effect.Add(COUNTERATTACK, Percent(counter, P(5 + cellClass)) - counter);
        Done(effect);
    });
}

// Spell 26.
void TMapCast::Ward() {
    ForArea(1, [&](const TReachedUnit& reached) {
        if (reached.Unit.IsImmuneToSpell(ID))
            return;
        const int cellClass = BlockClass(reached.DX, reached.DY);
        const int64_t t1 = P(cellClass == 0 ? 3 : cellClass == 1 ? 2 : 1);
        const int64_t t2 = P(cellClass == 0 ? 6 : cellClass == 1 ? 5 : 4);
        TEffectBuilder effect = Effect(reached.Unit, 1);
        effect.Add(DEFENCE, LP(0) + t1).Add(ATTACK, -t2).Add(COUNTERATTACK, -t2);
        Done(effect);
    });
}

// Spell 7: friends take heart and enemies lose it; neutral units are untouched.
void TMapCast::MoraleWave() {
    ForArea(2, [&](const TReachedUnit& reached) {
        TUnit& unit = reached.Unit;
        int8_t relation = 0;
        const bool friendly = SameSide(unit, relation);
        if ((!friendly && relation != reEnemy) || unit.IsImmuneToSpell(ID) ||
            !Beats(ValueOf(Caster, StatMorale) + 1, ValueOf(unit, StatMorale), unit))
            return;
        const int64_t change = L * reached.GroupCount * P(Ring(reached.DX, reached.DY)) / 100;
        unit.ChangeMorale(SaturateInt32(friendly ? change : -change));
        Affected = true;
    });
}

// Spell 37: each group's share grows with its size and the caster's morale.
void TMapCast::Rally() {
    ForArea(1, [&](const TReachedUnit& reached) {
        TUnit& unit = reached.Unit;
        int8_t relation = 0;
        const bool friendly = SameSide(unit, relation);
        if ((!friendly && relation != reEnemy) || unit.IsImmuneToSpell(ID))
            return;
        const int cellClass = BlockClass(reached.DX, reached.DY);
        const int64_t weight = P(cellClass == 0 ? 1 : cellClass == 1 ? 2 : 3);
        const int64_t share = reached.GroupCount * P(0) / 100 + ValueOf(Caster, StatMorale) - 50;
        const int64_t change = weight * share / 100;
        TEffectBuilder effect = Effect(unit, P(4));
        effect.AddMorale(friendly ? change : -change);
        Done(effect);
    });
}

// Spell 55.
void TMapCast::Shatter() {
    static constexpr int W2[5][5] = {
        {1, 2, 2, 2, 1}, {2, 3, 5, 3, 2}, {2, 5, 10, 5, 2}, {1, 2, 2, 2, 1}, {2, 3, 5, 3, 2}};
    static constexpr int W3[5][5] = {
        {5, 4, 4, 4, 5}, {4, 3, 2, 3, 4}, {4, 2, 1, 2, 4}, {5, 4, 4, 4, 5}, {4, 3, 2, 3, 4}};
    ForArea(2, [&](const TReachedUnit& reached) {
        TUnit& unit = reached.Unit;
        const int i = reached.DX + 2, j = reached.DY + 2;
        if (unit.IsImmuneToSpell(ID) || unit.CreatureType == UndeadCreatureType ||
            !Beats(W2[i][j] * ValueOf(Caster, ATTACK), W3[i][j] * ValueOf(unit, DEFENCE), unit))
            return;
        const int64_t attack = ValueOf(unit, ATTACK), counter = ValueOf(unit, COUNTERATTACK);
        const int64_t hitPoints = ValueOf(unit, HITPOINTS);
        TEffectBuilder effect = Effect(unit, 1);
        effect.Add(ATTACK, (9 - LP(0)) * attack / 10 - attack)
            .Add(COUNTERATTACK, (9 - LP(1)) * counter / 10 - counter);
        Done(effect);
        Damage(unit, hitPoints - (9 - LP(2)) * hitPoints / 10);
    });
}

void TMapCast::ApplyRule() {
    switch (ID) {
    case 1:
        Heal();
        break;
    case 2:
        ForEachTarget([&](TUnit& u) {
            TEffectBuilder e = Effect(u, 1);
            e.Add(DEFENCE, LP(1) + P(0)).Add(COUNTERATTACK, LP(3) + P(2));
            Done(e);
        });
        break;
    case 3:
        ForEachTarget([&](TUnit& u) {
            if (u.CreatureType == UndeadCreatureType)
                u.TakeDamage(SaturateInt32(LP(1)));
            else
                u.ChangeMorale(SaturateInt32(LP(1) + P(0)));
            Affected = true;
        });
        break;
    case 4:
        ForEachTarget([&](TUnit& u) {
            TEffectBuilder e = Effect(u, 1);
            e.Add(ACTIONPOINTS, LP(1) + P(0));
            Done(e);
        });
        break;
    case 5:
        ForEachTarget([&](TUnit& u) {
            if (Contest(u, StatMorale, DEFENCE))
                Damage(u, Percent((4 - N()) * L, P(3)) + P(2));
        });
        Caster.ChangeMorale(SaturateInt32(-P(4)));
        break;
    case 6:
        ForEachTarget([&](TUnit& u) {
            const int64_t defence = ValueOf(u, DEFENCE);
            TEffectBuilder e = Effect(u, LP(3));
            e.Add(ATTACK, LP(1) + P(0)).Add(DEFENCE, -(defence - Percent(defence, P(2))));
            Done(e);
        });
        break;
    case 7:
        MoraleWave();
        break;
    case 8:
    case 45:
        Slow();
        break;
    case 9:
        ForEachTarget([&](TUnit& u) {
            if (!IsLiving(u) || !Contest(u, StatLevel, DEFENCE))
                return;
            TEffectBuilder e = Effect(u, LP(4) + 1);
            e.Become(ATTACK, P(2)).Become(COUNTERATTACK, P(3));
            Done(e);
        });
        break;
    case 10:
        ForEachTarget([&](TUnit& u) {
            if (u.CreatureType != UndeadCreatureType || !Contest(u, StatLevel, StatLevel))
                return;
            // One already weaker than what the spell leaves is not mended by it.
            u.TakeDamage(SaturateInt32(std::max<int64_t>(0, ValueOf(u, HITPOINTS) - P(2))));
            Caster.AddMana(SaturateInt32(P(3) - ValueOf(Caster, MANA)));
            Affected = true;
        });
        break;
    case 11:
    case 49:
        ForEachTarget(
            [&](TUnit& u) {
                TEffectBuilder e = Effect(u, 1);
                Done(e);
            },
            true);
        break;
    case 12:
        ForEachTarget([&](TUnit& u) {
            u.AddHitPoints(SaturateInt32(MaximumOf(u, HITPOINTS) - ValueOf(u, HITPOINTS)));
            Affected = true;
        });
        break;
    case 13:
        ForEachTarget([&](TUnit& u) {
            if (!Contest(u, StatLevel, StatLevel))
                return;
            TEffectBuilder e = Effect(u, 1);
            e.Become(SIGHT, Percent(ValueOf(u, SIGHT), P(2)))
                .Become(ATTACK, Percent(ValueOf(u, ATTACK), P(3)))
                .Become(COUNTERATTACK, Percent(ValueOf(u, COUNTERATTACK), P(4)));
            Done(e);
        });
        RecomputeOwnerSight();
        break;
    case 14:
        ForEachTarget([&](TUnit& u) {
            if (u.CreatureType == UndeadCreatureType)
                return;
            Damage(u, P(0));
            u.AddActionPoints(SaturateInt32(-Percent(ValueOf(u, ACTIONPOINTS), P(1))));
            Affected = true;
        });
        break;
    case 15:
        ForEachTarget([&](TUnit& u) {
            TEffectBuilder e = Effect(u, 1);
            e.Add(DEFENCE, LP(0) + P(1));
            Done(e);
        });
        break;
    case 16:
        ForEachTarget([&](TUnit& u) {
            if (!Contest(u, StatLevel, DEFENCE))
                return;
            TEffectBuilder e = Effect(u, L);
            e.Become(SIGHT, P(2));
            Done(e);
        });
        RecomputeOwnerSight();
        break;
    case 17:
        ForEachTarget([&](TUnit& u) {
            if (!Contest(u, ATTACK, DEFENCE))
                return;
            Damage(u, LP(3) + P(2) + RandomBelow(LP(4)));
            TEffectBuilder e = Effect(u, L / 4 + 1);
            e.Add(DEFENCE, -LP(5));
            Done(e);
        });
        break;
    case 18:
        Storm();
        break;
    case 19:
        Quake();
        break;
    case 20:
        ForEachTarget([&](TUnit& u) {
            if (!IsLiving(u))
                return;
            const int32_t dealt = u.TakeDamage(SaturateInt32(LP(0)));
            Dealt += dealt;
            u.ChangeMorale(SaturateInt32(-LP(3)));
            Caster.AddHitPoints(dealt);
            TEffectBuilder e = Effect(u, LP(4) + 1);
            e.Add(ATTACK, -LP(1)).Add(COUNTERATTACK, -LP(2));
            Done(e);
        });
        break;
    case 22:
        ForEachTarget([&](TUnit& u) {
            u.AddMana(SaturateInt32(MaximumOf(u, MANA) - ValueOf(u, MANA)));
            u.AddActionPoints(SaturateInt32(-ValueOf(u, ACTIONPOINTS)));
            Affected = true;
        });
        break;
    case 24:
        ForEachTarget([&](TUnit& u) {
            if (u.CreatureType == UndeadCreatureType)
                return;
            const int64_t attack = ValueOf(u, ATTACK), counter = ValueOf(u, COUNTERATTACK);
            Damage(u, Percent((4 - N()) * ValueOf(u, DEFENCE), P(0)));
            TEffectBuilder e = Effect(u, L / 4 + 1);
            e.Add(ATTACK, Percent(attack, P(1)) - attack)
                .Add(COUNTERATTACK, Percent(counter, P(1)) - counter);
            Done(e);
        });
        break;
    case 25:
        ForEachTarget([&](TUnit& u) {
            TEffectBuilder e = Effect(u, L);
            e.Add(SIGHT, LP(0));
            Done(e);
        });
        // The owner sees the new reach now, not when the group next moves.
        RecomputeOwnerSight();
        break;
    case 26:
        Ward();
        break;
    case 27:
        ForEachTarget([&](TUnit& u) {
            u.ChangeMorale(SaturateInt32(-LP(0)));
            TEffectBuilder e = Effect(u, 1);
            e.Add(ATTACK, -(LP(2) + P(1)))
                .Add(COUNTERATTACK, -(LP(4) + P(3)))
                .Add(ACTIONPOINTS, LP(5));
            Done(e);
        });
        break;
    case 29:
        ForEachTarget([&](TUnit& u) {
            if (!Beats(ValueOf(Caster, ATTACK) * P(0), ValueOf(u, DEFENCE) * P(1), u))
                return;
            u.AddActionPoints(SaturateInt32(-LP(2)));
            Affected = true;
            Damage(u, LP(3));
        });
        break;
    case 30:
        ForEachTarget([&](TUnit& u) {
            if (!Beats(ValueOf(Caster, ATTACK) * P(0), ValueOf(u, StatMorale) * P(1), u))
                return;
            const int64_t points = ValueOf(u, ACTIONPOINTS);
            u.AddActionPoints(SaturateInt32(Percent(points, P(2)) - points));
            u.AddMana(SaturateInt32(Percent(MaximumOf(u, MANA), P(3))));
            u.AddHitPoints(SaturateInt32(LP(4)));
            u.ChangeMorale(SaturateInt32(Percent(ValueOf(u, StatLevel), P(5))));
            Affected = true;
        });
        break;
    case 31:
        ForEachTarget([&](TUnit& u) {
            if (Contest(u, StatMorale, StatMorale))
                Damage(u, LP(2) + Percent(L * (ValueOf(Caster, StatMorale) - 50), P(3)));
        });
        break;
    case 32:
        ForEachTarget([&](TUnit& u) {
            u.AddActionPoints(SaturateInt32(Percent(ValueOf(u, StatLevel), P(0))));
            u.AddMana(SaturateInt32(Percent(MaximumOf(u, MANA), P(1))));
            u.AddHitPoints(SaturateInt32(LP(2)));
            u.ChangeMorale(SaturateInt32(Percent(50 - ValueOf(u, StatMorale), P(3))));
            Affected = true;
        });
        break;
    case 34:
        ForEachTarget([&](TUnit& u) {
            if (!Contest(u, ATTACK, StatMorale))
                return;
            // A high level or parameter asks for more than the unit holds: it gives all
            // it has, and the caster gains no mana from nothing.
            const int64_t mana = ValueOf(u, MANA);
            const int64_t drained = std::min(mana, mana * L * P(2) / 100);
            u.AddMana(SaturateInt32(-drained));
            Caster.AddMana(SaturateInt32(drained));
            Affected = true;
        });
        break;
    case 35:
        ForEachTarget([&](TUnit& u) {
            const int64_t points = ValueOf(u, ACTIONPOINTS);
            u.AddActionPoints(SaturateInt32(-(points - Percent(points, P(2)))));
            TEffectBuilder e = Effect(u, L / 4 + 1);
            e.Add(DEFENCE, LP(1) + P(0));
            Done(e);
        });
        break;
    case 36:
        Convert();
        break;
    case 37:
        Rally();
        break;
    case 38:
        ForEachTarget([&](TUnit& u) {
            TEffectBuilder e = Effect(u, P(2));
            e.Add(SIGHT, Percent(P(1), L) + P(0));
            Done(e);
        });
        RecomputeOwnerSight();
        break;
    case 39:
        ForEachTarget([&](TUnit& u) {
            const int64_t hitPoints = ValueOf(u, HITPOINTS), morale = ValueOf(u, StatMorale);
            TEffectBuilder e = Effect(u, LP(4));
            e.Add(ATTACK, 3)
                .Add(COUNTERATTACK, 3)
                .Add(ACTIONPOINTS, P(0))
                .Become(SIGHT, P(1))
                .Add(HITPOINTS, Percent(hitPoints, P(2)) - hitPoints)
                .AddMorale(Percent(morale, P(3)) - morale);
            Done(e);
        });
        RecomputeOwnerSight();
        break;
    case 40:
    case 41:
    case 42:
        Bolt();
        break;
    case 43: {
        int64_t total = 0;
        for (const TUnit* u : Units)
            total += ValueOf(*u, ATTACK);
        ForEachTarget([&](TUnit& u) {
            const int64_t others = total - ValueOf(u, ATTACK);
            const int64_t amount = RandomBelow(P(1) * others) / 100 +
                                   P(0) * others * ValueOf(Caster, StatMorale) / 100 / 50 -
                                   Percent(ValueOf(u, DEFENCE), P(2));
            Damage(u, amount);
        });
        break;
    }
    case 44:
        Caster.AddMana(SaturateInt32(P(0) - ValueOf(Caster, MANA)));
        ForEachTarget([&](TUnit& u) {
            TEffectBuilder e = Effect(u, 1);
            e.Add(ACTIONPOINTS, P(1) - MaximumOf(u, ACTIONPOINTS)).Become(DEFENCE, P(2));
            Done(e);
        });
        break;
    case 46:
        ForArea(1, [&](const TReachedUnit& reached) {
            if (reached.Unit.IsImmuneToSpell(ID))
                return;
            reached.Unit.ChangeMorale(SaturateInt32(P(0)));
            Affected = true;
        });
        break;
    case 51:
        ForEachTarget([&](TUnit& u) {
            if (!Contest(u, ATTACK, DEFENCE))
                return;
            TEffectBuilder e = Effect(u, LP(0) + 1);
            e.Add(ATTACK, N() - 3).Add(COUNTERATTACK, N() - 3).Add(DEFENCE, N() - 3);
            Done(e);
        });
        break;
    case 52:
        ForEachTarget([&](TUnit& u) {
            if (!Contest(u, ATTACK, DEFENCE))
                return;
            u.AddActionPoints(SaturateInt32(P(2) - ValueOf(u, ACTIONPOINTS)));
            const int64_t points = ValueOf(u, ACTIONPOINTS);
            TEffectBuilder e = Effect(u, LP(4) + 1);
            e.Add(ACTIONPOINTS, -(points - Percent(points, P(3))));
            Done(e);
        });
        break;
    case 53:
        ForEachTarget([&](TUnit& u) {
            if (!Contest(u, ATTACK, DEFENCE))
                return;
            const int64_t points = ValueOf(u, ACTIONPOINTS);
            u.AddActionPoints(SaturateInt32(-(points - Percent(points, P(2)))));
            Affected = true;
            Damage(u, (4 - N()) * (P(3) + L));
        });
        break;
    case 54:
        ForEachTarget([&](TUnit& u) {
            if ((u.CreatureType & UndeadCreatureType) == 0)
                return;
            u.AddHitPoints(SaturateInt32(P(0) * L * (4 - N()) / 100));
            Affected = true;
        });
        break;
    case 55:
        Shatter();
        break;
    case 57:
        Push();
        break;
    case 58:
        ForEachTarget([&](TUnit& u) {
            TEffectBuilder e = Effect(u, LP(2) + 1);
            e.Become(SIGHT, P(0)).Add(DEFENCE, P(1));
            Done(e);
        });
        RecomputeOwnerSight();
        break;
    case 60:
        ForEachTarget([&](TUnit& u) { Damage(u, P(0) + LP(1) + RandomBelow(LP(2))); });
        break;
    default:
        if (!Predict)
            ApplyMapOnlyRule();
        break;
    }
}

} // namespace GameData
