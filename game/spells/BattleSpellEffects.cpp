// What each battle spell does once it has taken hold, and the caster's reward.
#include "game/spells/Battle.h"
#include "game/spells/EffectBuilder.h"
#include "game/spells/SpellFormulas.h"

#include "game/world/data/LoadedGlobalData.h"
#include "game/world/units/Rolls.h"
#include "game/world/units/Unit.h"

#include <cstring>

namespace GameData {

namespace {

constexpr int BattleSpellClass = 2;
constexpr int UndeadCreatureType = 4;
// The kill reward of a unit's statistics: a base and a part per level of the victim.
constexpr int swKillExperienceBase = swSpare;
constexpr int swKillExperiencePerLevel = swSpare + 1;

// One cast: the caster, its target, the caster's level and the damage dealt.
struct TCast {
    TBattle& Battle;
    const Data2::TSpellPrototype& Spell;
    int CasterSlot;
    TUnit& Caster;
    TUnit* Target;
    int64_t L;
    int64_t Dealt = 0;

    int64_t P(int k) const { return SpellParam(Spell, k); }
    // L x Pk / 100.
    int64_t LP(int k) const { return Percent(L, P(k)); }
    int64_t Value(TUnitStat stat) const { return Target->Effective.Value(stat); }

    // Spell damage lands on the caster instead while it turns its own blows on itself.
    void Damage(int64_t amount) {
        if (amount <= 0)
            return;
        const int32_t bounded = SaturateInt32(amount);
        if (Caster.HasEffect(ekAttacksSelf))
            Caster.TakeDamage(bounded);
        else
            Dealt += Target->TakeDamage(bounded);
    }
    // random(n): 0 when n is 0 or below.
    int64_t RandomBelow(int64_t n) const {
        if (n <= 0)
            return 0;
        return Base::NextRandom(*Battle.Random) % uint64_t(std::min<int64_t>(n, INT32_MAX));
    }
    TEffectBuilder Effect(int32_t duration = 0) const {
        return TEffectBuilder(*Target, Spell.ID, duration);
    }
    void SetPool(TUnit& unit, TUnitStat pool, int64_t value) const {
        const int64_t change = value - unit.Effective.Value(pool);
        if (pool == HITPOINTS)
            unit.AddHitPoints(SaturateInt32(change));
        else if (pool == MANA)
            unit.AddMana(SaturateInt32(change));
        else
            unit.AddActionPoints(SaturateInt32(change));
    }
    void SetOwn(TUnit& unit, TUnitStat stat, int64_t value) const {
        unit.Own.Value(stat) = SaturateWord(value);
        unit.RecalculateStats(true);
    }
    // The rolled blow of 104-106; the damage it dealt.
    int64_t Blow() {
        const int64_t morale = (int64_t(Caster.Effective.Morale()) + 5) / 10 - 5;
        const int64_t attack = (P(1) / 100) * Caster.Effective.Value(ATTACK) + morale;
        const int32_t rolled = RollValue(*Battle.Random, ScaledForPlayer(Caster, attack));
        const int64_t defence =
            (P(2) / 100) * Value(DEFENCE) * (100 + int64_t(Target->DefenceBonus)) / 100;
        const int64_t damage = int64_t(rolled) - ScaledForPlayer(*Target, defence);
        if (damage < 1)
            return 0;
        const int64_t before = Dealt;
        Damage(damage);
        return Caster.HasEffect(ekAttacksSelf) ? damage : Dealt - before;
    }
    void Apply();
    void Transform();
    void Decoy();
    void Discord();
    void CopyCaster();
};

void TCast::Transform() {
    const Data2::TUnitPrototype* form = Data2::FindUnitPrototypeByID(int(P(3)));
    if (!form)
        return;
    TEffectBuilder effect = Effect();
    TUnitStats shape = form->Stats;
    shape.Level() = Target->Effective.Level();
    for (int k = 0; k < UnitStatCount; ++k) {
        const auto stat = TUnitStat(k);
        TUnitStats& delta = effect.Delta().Delta;
        const TUnitStats& now = Target->Effective;
        delta.Value(stat) = SaturateWord(int64_t(shape.AtLevel(stat)) - now.Value(stat));
        delta.Base(stat) = SaturateWord(int64_t(shape.Base(stat)) - now.Base(stat));
        delta.Delta(stat) = SaturateWord(int64_t(shape.Delta(stat)) - now.Delta(stat));
        delta.Every(stat) = SaturateWord(int64_t(shape.Every(stat)) - now.Every(stat));
    }
    // A second transformation keeps the first one's original to come back to.
    if (!Target->SavedPrototype)
        Target->SavedPrototype = Target->Prototype;
    Target->Prototype = form;
    Target->Name.assign(form->Name, strnlen(form->Name, sizeof form->Name));
    effect.Apply();
}

void TCast::Decoy() {
    const int decoy = Battle.SlotOfUnit(Target);
    const bool decoyAttacks = IsAttackerSlot(decoy);
    const int first = decoyAttacks ? FirstDefenderSlot : 0;
    for (int slot = first; slot < first + SideSlotCount; ++slot) {
        TCombatantSlot& command = Battle.Slots[slot];
        const bool aimsAtDecoySide =
            decoyAttacks ? IsAttackerSlot(command.TargetSlot) : IsDefenderSlot(command.TargetSlot);
        if (Battle.IsSlotAlive(slot) && aimsAtDecoySide)
            command.TargetSlot = decoy;
    }
}

void TCast::Discord() {
    const TUnitStats& c = Caster.Effective;
    if (int64_t(c.Morale()) * P(3) <= P(4) * Target->Effective.Morale())
        return;
    const int targetSlot = Battle.SlotOfUnit(Target);
    const int first = IsAttackerSlot(targetSlot) ? 0 : FirstDefenderSlot;
    int mates[SideSlotCount];
    int count = 0;
    for (int slot = first; slot < first + SideSlotCount; ++slot)
        if (slot != targetSlot && Battle.IsSlotAlive(slot))
            mates[count++] = slot;
    TCombatantSlot& command = Battle.Slots[targetSlot];
    if (count == 0) {
        command = {command.Occupied, bcNone, -1, -1};
        return;
    }
    command = {command.Occupied, bcAttack, -1, mates[RandomBelow(count)]};
}

void TCast::CopyCaster() {
    const int targetSlot = Battle.SlotOfUnit(Target);
    TBattleSide* side = IsAttackerSlot(targetSlot) ? Battle.Attackers : Battle.Defenders;
    // Without a registry a copy could not be given an identifier: none is made.
    if (!side || !Battle.Registry || !Caster.Prototype)
        return;
    while (side->UnitCount() < SideSlotCount) {
        auto copy = std::make_unique<TUnit>();
        copy->Prototype = Caster.Prototype;
        copy->Name.assign(Caster.Prototype->Name,
                          strnlen(Caster.Prototype->Name, sizeof Caster.Prototype->Name));
        copy->CreatureType = Caster.Prototype->CreatureType;
        copy->IsHero = 0;
        copy->ShowWounds = Caster.ShowWounds;
        copy->Own = Caster.Effective;
        copy->Own.RandomizeBase(*Battle.Random);
        auto marker = std::make_unique<TAfterEffect>();
        marker->Kind = ekBattleCopy;
        for (int word = 0; word < 4; ++word)
            marker->Delta.Words[swFirstStat + 4 * HITPOINTS + word] =
                Caster.Effective.Words[swFirstStat + 4 * HITPOINTS + word];
        copy->Effects.Add(marker.release());
        copy->RecalculateStats(true);
        TUnit* registered = Battle.Registry->Register(std::move(copy));
        if (!side->AddUnit(*registered)) {
            Battle.Registry->Unregister(*registered);
            return;
        }
        const int slot = (side == Battle.Attackers ? 0 : FirstDefenderSlot) + side->UnitCount() - 1;
        Battle.Slots[slot].Occupied = 1;
    }
}

void TCast::Apply() {
    TUnit& t = *Target;
    switch (Spell.ID) {
    case 65:
        t.AddHitPoints(SaturateInt32(LP(2) + P(1)));
        break;
    case 66:
        Effect().Add(DEFENCE, LP(2) + P(1)).Add(COUNTERATTACK, LP(4) + P(3)).Apply();
        break;
    case 67:
        Effect().Add(ATTACK, LP(2) + P(1)).Apply();
        t.ChangeMorale(SaturateInt32(LP(3)));
        break;
    case 68:
    case 102: {
        const int64_t n = LP(2) + P(1);
        Effect(Spell.ID == 68 ? 1 : 0).Add(ACTIONPOINTS, n).AddBase(ACTIONPOINTS, n).Apply();
        break;
    }
    case 69:
        Damage(LP(4) + P(3));
        break;
    case 70:
        Effect()
            .Add(ATTACK, LP(2) + P(1))
            .Add(DEFENCE, -(Value(DEFENCE) - Percent(Value(DEFENCE), P(3))))
            .Apply();
        break;
    case 71:
        t.ChangeMorale(SaturateInt32(LP(1)));
        break;
    case 72: {
        const int64_t ap = Value(ACTIONPOINTS);
        t.AddActionPoints(SaturateInt32(Percent((P(1) - L) * ap, P(2)) - ap));
        break;
    }
    case 73:
        Effect()
            .Add(ATTACK, P(3) - Value(ATTACK))
            .Add(COUNTERATTACK, P(4) - Value(COUNTERATTACK))
            .Apply();
        break;
    case 74:
        if (t.CreatureType == UndeadCreatureType &&
            RolledContest(*Battle.Random, ScaledForPlayer(Caster, LP(1)),
                          ScaledForPlayer(t, Percent(t.Effective.Level(), P(2))))) {
            Damage(Value(HITPOINTS) + P(3));
            SetPool(Caster, MANA, P(4));
        }
        break;
    case 75:
    case 100:
    case 113:
        Effect().Apply();
        break;
    case 76:
        if (t.Own.Value(HITPOINTS) > P(3))
            SetOwn(t, HITPOINTS, P(3));
        break;
    case 77:
        if (t.CreatureType == UndeadCreatureType)
            Damage(RandomBelow(LP(4)) + P(3));
        else
            Damage(RandomBelow(LP(6)) + P(5));
        break;
    case 78:
    case 124:
        Damage(RandomBelow(LP(2)) + LP(2) + P(1));
        break;
    case 79:
        Effect().Add(DEFENCE, LP(2) + P(1)).Apply();
        break;
    case 80: {
        // A level of 0 would divide by 0: the level counts as at least 1.
        const int64_t divisor = std::max<int64_t>(L, 1) * 100;
        Effect()
            .Become(ATTACK, Value(ATTACK) * P(3) / divisor)
            .Become(COUNTERATTACK, Percent(Value(COUNTERATTACK), P(4)))
            .Apply();
        break;
    }
    case 81:
        Damage(RandomBelow(LP(5)) + LP(4) + P(3));
        Effect().Add(DEFENCE, -LP(6)).Apply();
        break;
    case 82:
        Damage(LP(1) - Percent(Value(DEFENCE), P(2)));
        Effect()
            .Become(DEFENCE, Percent(Value(DEFENCE), P(3)))
            .Become(ACTIONPOINTS, Percent(Value(ACTIONPOINTS), P(4)))
            .Apply();
        break;
    case 83:
        Damage(RandomBelow(LP(3)) + LP(2) + P(1));
        Effect().Add(COUNTERATTACK, -LP(4)).Apply();
        break;
    case 84: {
        const int64_t before = Dealt;
        Damage(LP(1));
        Caster.AddHitPoints(SaturateInt32(Dealt - before));
        t.ChangeMorale(SaturateInt32(-LP(4)));
        Effect().Add(ATTACK, -LP(2)).Add(COUNTERATTACK, -LP(3)).Apply();
        break;
    }
    case 85:
        SetPool(t, MANA, 0);
        break;
    case 86:
        SetPool(t, MANA, t.Effective.AtLevel(MANA));
        SetPool(t, ACTIONPOINTS, 0);
        break;
    case 87:
        Transform();
        break;
    case 88:
        Decoy();
        break;
    case 89:
        Effect().Add(ATTACK, -(LP(4) + P(3))).Add(COUNTERATTACK, -(LP(6) + P(5))).Apply();
        break;
    case 90:
        Effect()
            .Add(DEFENCE, LP(2) + P(1))
            .Add(ATTACK, -(LP(4) + P(3)))
            .Add(COUNTERATTACK, -(LP(4) + P(3)))
            .Apply();
        break;
    case 91:
        Effect()
            .AddMorale(-LP(1))
            .Add(ATTACK, -(LP(3) + P(2)))
            .Add(COUNTERATTACK, -(LP(5) + P(4)))
            .Add(ACTIONPOINTS, LP(6))
            .Apply();
        break;
    case 92: {
        const int64_t k1 = LP(4);
        const int64_t k2 = LP(5);
        Effect()
            .Become(ATTACK, Percent((P(3) - k1) * Value(ATTACK), P(6)))
            .Become(COUNTERATTACK, Percent((P(3) - k1) * Value(COUNTERATTACK), P(6)))
            .Apply();
        const int64_t hp = Value(HITPOINTS);
        Damage(hp - Percent((P(3) - k2) * hp, P(6)));
        break;
    }
    case 93:
        t.AddActionPoints(SaturateInt32(-LP(3)));
        Damage(LP(4));
        Effect().Add(COUNTERATTACK, -LP(5)).Apply();
        break;
    case 94: {
        TCombatantSlot& command = Battle.Slots[Battle.SlotOfUnit(&t)];
        if (command.TargetSlot == CasterSlot)
            command = {command.Occupied, bcNone, -1, -1};
        break;
    }
    case 95: {
        const int64_t d = int64_t(Caster.Effective.Morale()) - t.Effective.Morale();
        if (d < 0) {
            const int64_t amount = Percent(LP(1) * -d, P(2));
            if (amount > 0)
                Caster.TakeDamage(SaturateInt32(amount));
        } else {
            Damage(Percent(Percent(t.Effective.Level(), P(1)) * d, P(2)));
        }
        break;
    }
    case 96: {
        const int64_t ap = Caster.Effective.Value(ACTIONPOINTS);
        Caster.AddHitPoints(SaturateInt32(Percent(ap, P(1))));
        Caster.AddMana(SaturateInt32(Percent(ap, P(2))));
        SetOwn(Caster, ACTIONPOINTS, P(3));
        break;
    }
    case 97:
        SetOwn(t, ACTIONPOINTS, P(3));
        break;
    case 98: {
        // A drain takes no more than the target holds.
        const int64_t mana = Value(MANA);
        const int64_t amount = std::min(mana, Percent(mana * L, P(3)));
        t.AddMana(SaturateInt32(-amount));
        Caster.AddMana(SaturateInt32(amount));
        break;
    }
    case 99:
        Effect()
            .Add(DEFENCE, Percent(t.Effective.Level(), P(2)) + P(1))
            .Become(ACTIONPOINTS, Percent(Value(ACTIONPOINTS), P(3)))
            .Apply();
        break;
    case 101:
        t.ChangeMorale(SaturateInt32(Caster.Effective.Morale() - P(1)));
        break;
    case 103:
        Effect()
            .Add(ATTACK, P(1))
            .Add(COUNTERATTACK, P(2))
            .Add(ACTIONPOINTS, P(5))
            .Become(HITPOINTS, Percent(Value(HITPOINTS), P(3)))
            .AddMorale(Percent(t.Effective.Morale(), P(4)) - t.Effective.Morale())
            .Apply();
        break;
    case 104:
        Blow();
        break;
    case 105:
        if (Blow() > 0)
            Effect().Add(DEFENCE, -LP(3)).Apply();
        break;
    case 106:
        if (Blow() > 0)
            Effect()
                .Become(ATTACK, (9 - LP(3)) * Value(ATTACK) / 10)
                .Become(COUNTERATTACK, (9 - LP(4)) * Value(COUNTERATTACK) / 10)
                .Apply();
        break;
    case 107:
        Damage(Percent(Value(DEFENCE), P(1)));
        Effect()
            .Become(ATTACK, Percent(Value(ATTACK), P(2)))
            .Become(COUNTERATTACK, Percent(Value(COUNTERATTACK), P(3)))
            .Become(DEFENCE, P(4))
            .Apply();
        break;
    case 108:
        for (int slot = 0; slot < BattleSlotCount; ++slot)
            if (slot != CasterSlot && Battle.IsSlotAlive(slot))
                SetPool(*Battle.UnitAt(slot), ACTIONPOINTS, 0);
        SetPool(Caster, MANA, 0);
        break;
    case 109:
        Effect()
            .Become(ATTACK, Percent(Value(ATTACK), P(1)))
            .Become(COUNTERATTACK, Percent(Value(COUNTERATTACK), P(2)))
            .Add(DEFENCE, P(3))
            .Apply();
        break;
    case 110:
        t.ChangeMorale(SaturateInt32(P(1)));
        Effect().Add(ATTACK, P(2)).Add(COUNTERATTACK, P(3)).Apply();
        break;
    case 111:
        t.ChangeMorale(SaturateInt32(-P(1)));
        Damage(P(5));
        Effect().Add(ATTACK, P(2)).Add(COUNTERATTACK, P(3)).Add(DEFENCE, P(4)).Apply();
        break;
    case 112:
        Damage(Percent(Value(DEFENCE), P(1)));
        Effect()
            .Become(ATTACK, Percent(Value(ATTACK), P(2)))
            .Become(COUNTERATTACK, Percent(Value(COUNTERATTACK), P(3)))
            .Apply();
        break;
    case 114:
        t.Own.RecalcValues();
        t.RecalculateStats(true);
        SetPool(Caster, MANA, 0);
        break;
    case 115:
        Effect().Add(ATTACK, -P(3)).Add(COUNTERATTACK, -P(4)).Add(DEFENCE, -P(5)).Apply();
        break;
    case 116: {
        // A divisor of 0 or below would slow nothing down: the points stay as they are.
        const int64_t divisor = LP(3);
        if (divisor > 0)
            SetPool(t, ACTIONPOINTS, Value(ACTIONPOINTS) / divisor);
        Effect().Add(DEFENCE, -P(4)).Apply();
        break;
    }
    case 117:
        SetPool(t, ACTIONPOINTS, Percent(Value(ACTIONPOINTS), P(3)));
        Damage(LP(5) + P(4));
        break;
    case 118:
        t.AddHitPoints(SaturateInt32(LP(1)));
        break;
    case 119: {
        const int64_t k1 = LP(3);
        const int64_t k2 = LP(4);
        const int64_t k3 = LP(5);
        Effect()
            .Become(ATTACK, (9 - k1) * Value(ATTACK) / 10)
            .Become(COUNTERATTACK, (9 - k2) * Value(COUNTERATTACK) / 10)
            .Apply();
        const int64_t hp = Value(HITPOINTS);
        Damage(hp - (9 - k3) * hp / 10);
        break;
    }
    case 121:
        Damage(RandomBelow(LP(5)) + LP(4) + P(3));
        Effect().Add(ATTACK, -LP(6)).Add(COUNTERATTACK, -LP(7)).Apply();
        break;
    case 122:
        Discord();
        break;
    case 123:
        SetPool(Caster, MANA, 0);
        Damage(Value(HITPOINTS));
        break;
    case 125:
        CopyCaster();
        break;
    default: // 120: no immediate effect
        break;
    }
}

} // namespace

void TBattle::ApplyBattleSpell(int slot, const Data2::TSpellPrototype* prototype) {
    if (!prototype && slot >= 0 && slot < BattleSlotCount)
        prototype = Data2::FindSpellByID(Slots[slot].SpellID);
    if (!prototype || !IsSlotAlive(slot) || prototype->Group != BattleSpellClass ||
        prototype->ID < FirstBattleSpell || prototype->ID > LastBattleSpell)
        return;
    TUnit& caster = *UnitAt(slot);
    TUnit* target = UnitAt(Slots[slot].TargetSlot);
    // Every effect but the ones on the caster or the whole field needs a target.
    if (!target)
        return;
    std::array<bool, BattleSlotCount> aliveBefore{};
    for (int s = 0; s < BattleSlotCount; ++s)
        aliveBefore[s] = IsSlotAlive(s);
    TCast cast{*this, *prototype, slot, caster, target, caster.Effective.Level()};
    cast.Apply();

    const int32_t spellLevel = prototype->MinLevel;
    caster.GainExperience(prototype->CastExperience, spellLevel);
    caster.GainExperience(
        SaturateInt32(int64_t(Data2::GameConstant(Data2::gcExperiencePerDamageDealt)) * cast.Dealt),
        spellLevel);
    for (int s = 0; s < BattleSlotCount; ++s) {
        if (!aliveBefore[s] || IsSlotAlive(s))
            continue;
        const TUnit& victim = *UnitAt(s);
        const TUnitStats& v = victim.Effective;
        const int64_t reward = int64_t(v.Words[swKillExperiencePerLevel]) * (v.Level() - 1) +
                               v.Words[swKillExperienceBase];
        caster.GainExperience(SaturateInt32(reward), v.Level());
        caster.GainMoraleForKill(victim);
    }
}

} // namespace GameData
