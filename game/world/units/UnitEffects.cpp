#include "game/world/data/LoadedGlobalData.h"
#include "game/world/units/Unit.h"

#include <bitset>

namespace GameData {

namespace {

constexpr int FixedMoraleCreatureType = 4;

// Immunities: skills that ward off spells below a level (or all), effects that ward
// off every spell or those cast in the second battle phase.
constexpr int skWardBelowLevel3 = 45;
constexpr int skWardBelowLevel5 = 46;
constexpr int skWardBelowLevel7 = 47;
constexpr int skWardAll = 48;
constexpr int32_t WardAllEffects[] = {11, 75, 44};
constexpr int32_t WardPhase2Effects[] = {49, 114};
constexpr int WardedPhase = 2;

bool IsSpellKind(int32_t kind) {
    return kind >= ekFirstSpell && kind <= ekLastSpell;
}

bool IsBattleSpellKind(int32_t kind) {
    return kind >= ekFirstBattleSpell && kind <= ekLastSpell;
}

} // namespace

void TUnit::RecalculateStats(bool clamp) {
    Effective = Own;
    std::bitset<ekLastSpell + 1> counted;
    for (int i = Effects.Count() - 1; i >= 0; --i) {
        const TAfterEffect& effect = *Effects[i];
        if (IsSpellKind(effect.Kind)) {
            if (counted[size_t(effect.Kind)])
                continue;
            counted[size_t(effect.Kind)] = true;
        }
        Effective.AddStats(effect.Delta);
    }
    if (clamp) {
        for (const TUnitStat rating :
             {ACTIONPOINTS, HITPOINTS, MANA, ATTACK, COUNTERATTACK, DEFENCE, SIGHT})
            Effective.Value(rating) = std::max<int16_t>(Effective.Value(rating), 0);
        Effective.Morale() = std::clamp<int16_t>(Effective.Morale(), 0, 100);
        // The excess goes from both records, so the effective one stays own plus effects.
        for (const TUnitStat pool : {HITPOINTS, MANA, ACTIONPOINTS}) {
            const int16_t maximum = Effective.AtLevel(pool);
            const int excess = Effective.Value(pool) - maximum;
            if (excess > 0) {
                Own.Value(pool) = SaturateWord(int64_t(Own.Value(pool)) - excess);
                Effective.Value(pool) = maximum;
            }
        }
    }
    if (Prototype && Prototype->CreatureType == FixedMoraleCreatureType)
        Effective.Morale() = SaturateWord(Data2::GameConstant(Data2::gcDefaultMorale));
}

void TUnit::AddEffect(std::unique_ptr<TAfterEffect> effect) {
    Effects.Add(effect.release());
    RecalculateStats(true);
}

void TUnit::RemoveEffectsOfKind(int32_t kind) {
    for (int i = Effects.Count() - 1; i >= 0; --i)
        if (Effects[i]->Kind == kind)
            Effects.Delete(i);
    RecalculateStats(true);
}

void TUnit::ClearEffects() {
    Effects.Clear();
    RecalculateStats(true);
}

bool TUnit::HasEffect(int32_t kind) const {
    for (const TAfterEffect* effect : Effects)
        if (effect->Kind == kind)
            return true;
    return false;
}

void TUnit::MarkEffectsRenewed() {
    for (TAfterEffect* effect : Effects)
        effect->Renewed = 1;
}

void TUnit::DropUnrenewedEffects() {
    for (int i = Effects.Count() - 1; i >= 0; --i) {
        TAfterEffect& effect = *Effects[i];
        if (effect.Renewed) {
            effect.Renewed = 0;
        } else if (effect.Kind == ekLeavesGroup) {
            if (Owner)
                Owner->TakeOutOfGroup(*this);
        } else {
            Effects.Delete(i);
        }
    }
}

void TUnit::AgeEffects() {
    for (int i = Effects.Count() - 1; i >= 0; --i) {
        // Compared before the step down, so a stored duration of INT32_MIN cannot wrap.
        TAfterEffect& effect = *Effects[i];
        if (effect.Duration <= 1)
            Effects.Delete(i);
        else
            --effect.Duration;
    }
    RecalculateStats(false);
}

void TUnit::RemoveBattleEffects() {
    // Every battle effect goes, even past one that sends the unit away; the unit
    // leaves its group only once its statistics are whole again.
    bool leaves = false;
    for (int i = Effects.Count() - 1; i >= 0; --i) {
        const int32_t kind = Effects[i]->Kind;
        if (kind == ekLeavesGroup) {
            leaves = true;
            continue;
        }
        if (!IsBattleSpellKind(kind))
            continue;
        // A unit loaded while transformed has no saved prototype: it stays as it is.
        if (kind == ekTransformation && SavedPrototype) {
            Prototype = SavedPrototype;
            SavedPrototype = nullptr;
            Name.assign(Prototype->Name, strnlen(Prototype->Name, sizeof Prototype->Name));
        }
        Effects.Delete(i);
    }
    RecalculateStats(true);
    if (leaves && Owner)
        Owner->TakeOutOfGroup(*this);
}

bool TUnit::IsImmuneToSpell(int id) const {
    const Data2::TSpellPrototype* spell = Data2::FindSpellByID(id);
    if (spell) {
        if ((HasSkill(skWardBelowLevel3) && spell->MinLevel < 3) ||
            (HasSkill(skWardBelowLevel5) && spell->MinLevel < 5) ||
            (HasSkill(skWardBelowLevel7) && spell->MinLevel < 7))
            return true;
    }
    if (HasSkill(skWardAll))
        return true;
    for (const int32_t kind : WardAllEffects)
        if (HasEffect(kind))
            return true;
    if (spell && spell->Phase == WardedPhase)
        for (const int32_t kind : WardPhase2Effects)
            if (HasEffect(kind))
                return true;
    return false;
}

} // namespace GameData
