// Whether a battle spell takes hold: the caster's value against the target's.
#include "game/spells/Battle.h"
#include "game/spells/SpellFormulas.h"

#include "game/world/data/LoadedGlobalData.h"
#include "game/world/units/Rolls.h"
#include "game/world/units/Unit.h"

namespace GameData {

namespace {

constexpr int FirstContestedSpell = 69;
constexpr int LastContestedSpell = 123;

struct TContest {
    int64_t CasterValue;
    int64_t TargetValue;
};
constexpr TContest Succeeds{1, 0};
constexpr TContest Fails{0, 1};

TContest ContestFor(const Data2::TSpellPrototype& spell, TUnit& caster, const TUnit& target) {
    const TUnitStats& c = caster.Effective;
    const TUnitStats& t = target.Effective;
    const int64_t type = target.CreatureType;
    const auto p = [&](int k) { return SpellParam(spell, k); };
    switch (spell.ID) {
    case 69:
        caster.Effective.Morale() = SaturateWord(std::max<int64_t>(0, c.Morale() - p(5)));
        return {c.Morale() * p(1) / 100, t.Value(DEFENCE) * p(2) / 100};
    case 71:
        return {c.Morale(), t.Morale() - 1};
    case 73:
    case 87:
        if (type != 1 && type != 2)
            return Fails;
        return {c.Level() * p(1) / 100,
                (spell.ID == 73 ? t.Value(DEFENCE) : t.Level()) * p(2) / 100};
    case 74:
        if (type != 4)
            return Fails;
        return {c.Level() * p(1) / 100, t.Level() * p(2) / 100};
    case 76:
    case 85:
    case 97:
    case 122:
    case 123:
        return {c.Level() * p(1) / 100, t.Level() * p(2) / 100};
    case 77:
    case 80:
    case 81:
    case 89:
    case 93:
    case 115:
    case 116:
    case 117:
    case 119:
    case 121:
        return {c.Value(ATTACK) * p(1) / 100, t.Value(DEFENCE) * p(2) / 100};
    case 84:
        return type == 1 || type == 2 ? Succeeds : Fails;
    case 92:
        if (type == 4)
            return Fails;
        return {c.Value(ATTACK) * p(1) / 100, t.Value(DEFENCE) * p(2) / 100};
    case 98:
        return {c.Value(ATTACK) * p(1) / 100, t.Morale() * p(2) / 100};
    case 118:
        return type == 4 ? Succeeds : Fails;
    default:
        return Succeeds;
    }
}

} // namespace

bool TBattle::SpellMatchesPhase(int slot, const Data2::TSpellPrototype* prototype, int level,
                                int phase) const {
    if (!prototype && slot >= 0 && slot < BattleSlotCount)
        prototype = Data2::FindSpellByID(Slots[slot].SpellID);
    // CastSpells casts a spell that belongs to several passes in the first.
    return prototype && IsSpellOfPass(*prototype, level, phase);
}

int32_t TBattle::PaySpellCost(int slot, const Data2::TSpellPrototype* prototype) {
    if (!prototype && slot >= 0 && slot < BattleSlotCount)
        prototype = Data2::FindSpellByID(Slots[slot].SpellID);
    TUnit* caster = UnitAt(slot);
    if (!prototype || !caster)
        return 0;
    caster->Own.Value(ACTIONPOINTS) =
        SaturateWord(int64_t(caster->Own.Value(ACTIONPOINTS)) - prototype->APCost);
    caster->Own.Value(MANA) = SaturateWord(int64_t(caster->Own.Value(MANA)) - prototype->ManaCost);
    caster->RecalculateStats(true);
    return prototype->ManaCost;
}

bool TBattle::RollSpellSuccess(int slot, const Data2::TSpellPrototype* prototype, bool predict,
                               int level, int phase) {
    if (!prototype && slot >= 0 && slot < BattleSlotCount)
        prototype = Data2::FindSpellByID(Slots[slot].SpellID);
    if (!prototype || !IsSlotAlive(slot) || !SpellMatchesPhase(slot, prototype, level, phase))
        return false;
    const int targetSlot = Slots[slot].TargetSlot;
    if (!IsSlotAlive(targetSlot))
        return false;
    TUnit& caster = *UnitAt(slot);
    const TUnit& target = *UnitAt(targetSlot);
    const bool contested =
        prototype->ID >= FirstContestedSpell && prototype->ID <= LastContestedSpell;
    TContest contest = contested ? ContestFor(*prototype, caster, target) : Succeeds;
    if (target.IsImmuneToSpell(prototype->ID))
        contest = Fails;
    if (contest.CasterValue == 0 && contest.TargetValue == 1)
        return false;
    if (contest.CasterValue == 1 && contest.TargetValue == 0)
        return true;
    const int32_t a = ScaledForPlayer(caster, contest.CasterValue);
    const int32_t b = ScaledForPlayer(target, contest.TargetValue);
    return predict ? ExpectedContest(a, b) : RolledContest(*Random, a, b);
}

} // namespace GameData
