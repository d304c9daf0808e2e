#include "game/world/data/LoadedGlobalData.h"
#include "game/world/units/Rolls.h"
#include "game/world/units/Unit.h"

namespace GameData {

namespace {

// -5 at morale 0, 0 at 45..54, +5 at 100.
int32_t MoraleTerm(const TUnitStats& stats) {
    return (stats.Morale() + 5) / 10 - 5;
}

int32_t ScaledForPlayer(const TUnit& unit, int64_t value) {
    const int32_t bounded = SaturateInt32(value);
    const TUnitPlayer* player = unit.GetPlayer();
    return player ? player->ApplyDifficulty(bounded) : bounded;
}

int16_t AttackCost() {
    return static_cast<int16_t>(Data2::GameConstant(Data2::gcLeastActionPoints));
}

int32_t KillMorale(const TUnit& victim, const TUnit& other) {
    const int64_t levels = int64_t(victim.Effective.Level()) - other.Effective.Level();
    return SaturateInt32(
        std::max<int64_t>(1, levels * Data2::GameConstant(Data2::gcKillMoralePerLevel) +
                                 Data2::GameConstant(Data2::gcKillMoraleBase)));
}

} // namespace

int16_t TUnit::DamageAgainst(const TUnit& target, TUnitStat rating, bool withDefenceBonus,
                             bool rolled) const {
    int32_t attack =
        ScaledForPlayer(*this, int64_t(Effective.Value(rating)) + MoraleTerm(Effective));
    if (rolled)
        attack = RollValue(Base::RandomSeed, attack);
    int64_t defence = target.Effective.Value(DEFENCE);
    if (withDefenceBonus)
        defence = defence * (100 + int64_t(target.DefenceBonus)) / 100;
    return SaturateWord(std::max<int64_t>(0, int64_t(attack) - ScaledForPlayer(target, defence)));
}

int16_t TUnit::AttackDamage(const TUnit& target) const {
    return DamageAgainst(target, ATTACK, true, true);
}

int16_t TUnit::CounterattackDamage(const TUnit& target) const {
    return DamageAgainst(target, COUNTERATTACK, false, true);
}

int16_t TUnit::ExpectedAttackDamage(const TUnit& target) const {
    return DamageAgainst(target, ATTACK, true, false);
}

int16_t TUnit::ExpectedCounterattackDamage(const TUnit& target) const {
    return DamageAgainst(target, COUNTERATTACK, false, false);
}

void TUnit::Attack(TUnit& target) {
    Strike(target, AttackDamage(target));
}

void TUnit::Counterattack(TUnit& target) {
    Strike(target, CounterattackDamage(target));
}

void TUnit::Strike(TUnit& target, int16_t damage) {
    int32_t dealt = 0;
    if (HasEffect(ekAttacksSelf))
        TakeDamage(damage);
    else
        dealt = target.TakeDamage(damage);
    Own.Value(ACTIONPOINTS) = SaturateWord(int64_t(Own.Value(ACTIONPOINTS)) - AttackCost());
    RecalculateStats(true);
    const int32_t victimLevel = target.Effective.Level();
    GainExperience(
        SaturateInt32(int64_t(Data2::GameConstant(Data2::gcExperiencePerDamageDealt)) * dealt),
        victimLevel);
    if (target.IsDead()) {
        GainExperience(Data2::GameConstant(Data2::gcKillExperience), victimLevel);
        GainMoraleForKill(target);
        target.DemoralizeGroupMates();
    }
}

void TUnit::SimulateAttack(TUnit& target) {
    SimulateStrike(target, ExpectedAttackDamage(target));
}

void TUnit::SimulateCounterattack(TUnit& target) {
    SimulateStrike(target, ExpectedCounterattackDamage(target));
}

void TUnit::SimulateStrike(TUnit& target, int16_t damage) {
    if (HasEffect(ekAttacksSelf))
        TakeDamage(damage);
    else
        target.TakeDamage(damage);
    Effective.Value(ACTIONPOINTS) =
        SaturateWord(int64_t(Effective.Value(ACTIONPOINTS)) - AttackCost());
}

int32_t TUnit::TakeDamage(int32_t amount) {
    const int32_t taken = std::min<int32_t>(Effective.Value(HITPOINTS), amount);
    if (taken > 0 && ShowWounds)
        Wounds.Add(TWoundInfo{taken, 0});
    GainExperience(
        SaturateInt32(int64_t(Data2::GameConstant(Data2::gcExperiencePerDamageTaken)) * taken), 1);
    const int64_t loss =
        DivideTowardLimit(int64_t(Data2::GameConstant(Data2::gcMoraleLossPerDamage)) * taken,
                          Effective.AtLevel(HITPOINTS));
    ChangeMorale(SaturateInt32(std::min<int64_t>(0, Effective.Level() - loss - 1)));
    Own.Value(HITPOINTS) = SaturateWord(int64_t(Own.Value(HITPOINTS)) - taken);
    RecalculateStats(true);
    return taken;
}

void TUnit::GainMoraleForKill(const TUnit& victim) {
    ChangeMorale(KillMorale(victim, *this));
}

void TUnit::DemoralizeGroupMates() {
    if (!Owner || !Owner->AsGroup())
        return;
    for (TUnit* mate : Owner->GroupUnits())
        if (mate && mate != this && !mate->IsDead())
            mate->ChangeMorale(SaturateInt32(-2 * int64_t(KillMorale(*this, *mate))));
}

} // namespace GameData
