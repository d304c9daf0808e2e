#include "game/world/data/LoadedGlobalData.h"
#include "game/world/units/Unit.h"

#include <optional>

namespace GameData {

namespace {

constexpr int MoraleLimit = 100;
constexpr TUnitStat Pools[] = {HITPOINTS, MANA, ACTIONPOINTS};

} // namespace

void TUnit::AddToPool(TUnitStat pool, int32_t n) {
    int64_t change = n;
    if (change > 0) {
        const int64_t room = int64_t(Effective.AtLevel(pool)) - Effective.Value(pool);
        change = std::min(change, std::max<int64_t>(room, 0));
    }
    Own.Value(pool) = SaturateWord(Own.Value(pool) + change);
    RecalculateStats(true);
}

void TUnit::AddHitPoints(int32_t n) {
    AddToPool(HITPOINTS, n);
}

void TUnit::AddMana(int32_t n) {
    AddToPool(MANA, n);
}

void TUnit::AddActionPoints(int32_t n) {
    AddToPool(ACTIONPOINTS, n);
}

void TUnit::ChangeMorale(int32_t d) {
    const int64_t morale = Effective.Morale();
    const int64_t change = std::clamp<int64_t>(d, -morale, MoraleLimit - morale);
    Own.Morale() = SaturateWord(Own.Morale() + change);
    RecalculateStats(true);
}

void TUnit::GainExperience(int32_t amount, int32_t levelFactor) {
    std::optional<int64_t> cap;
    if (const TUnitPlayer* player = GetPlayer()) {
        const int maximumLevel = player->MaximumUnitLevel();
        if (maximumLevel > 0)
            cap = std::max<int64_t>(Own.ExperienceForLevel(maximumLevel), Own.Experiences());
    }
    int64_t experience =
        Own.Experiences() + DivideTowardLimit(int64_t(amount) * levelFactor, Effective.Level());
    if (cap)
        experience = std::min(experience, *cap);
    Own.Experiences() = SaturateWord(experience);
    RecalculateStats(true);
    LevelUp();
}

bool TUnit::CanLevelUp() const {
    return !IsDead() && Own.LevelForExperience(Effective.Experiences()) > Effective.Level();
}

void TUnit::LevelUp() {
    if (!CanLevelUp())
        return;
    int16_t oldMaxima[std::size(Pools)];
    for (size_t i = 0; i < std::size(Pools); ++i)
        oldMaxima[i] = Own.AtLevel(Pools[i]);
    Own.Level() = SaturateWord(Own.LevelForExperience(Own.Experiences()));
    for (size_t i = 0; i < std::size(Pools); ++i)
        Own.Value(Pools[i]) =
            SaturateWord(int64_t(Own.Value(Pools[i])) + Own.AtLevel(Pools[i]) - oldMaxima[i]);
    for (const TUnitStat rating :
         {ATTACK, COUNTERATTACK, DEFENCE, SIGHT, MANAREGENERATE, HPREGENERATE})
        Own.Value(rating) = Own.AtLevel(rating);
    RecalculateStats(true);
    LevelledUp = 1;
}

void TUnit::NewTurn() {
    const bool rested = Effective.AtLevel(ACTIONPOINTS) == Effective.Value(ACTIONPOINTS);
    AgeEffects();
    // Remembered after the clamping recompute: an excess it takes from the own record
    // must not count again as a change below.
    RecalculateStats(true);
    const TUnitStats before = Effective;

    const int64_t defaultMorale = Data2::GameConstant(Data2::gcDefaultMorale);
    Effective.Value(ACTIONPOINTS) = Effective.AtLevel(ACTIONPOINTS);
    if (Effective.Morale() > defaultMorale)
        Effective.Morale() = SaturateWord(Effective.Morale() - 1);
    else
        Effective.Morale() = SaturateWord(std::min<int64_t>(
            defaultMorale, int64_t(Effective.Morale()) + Effective.Value(MORALEREGENERATE)));

    const bool fullRest = rested && ((Owner && Owner->IsCampPitched()) || GetCity());
    const int manaDivisor = fullRest ? 1 : 2;
    const int hitPointDivisor = fullRest ? 1 : 3;
    Effective.Value(MANA) = SaturateWord(std::min<int64_t>(
        Effective.AtLevel(MANA),
        int64_t(Effective.Value(MANA)) + Effective.Value(MANAREGENERATE) / manaDivisor));
    Effective.Value(HITPOINTS) = SaturateWord(std::min<int64_t>(
        Effective.AtLevel(HITPOINTS),
        int64_t(Effective.Value(HITPOINTS)) + Effective.Value(HPREGENERATE) / hitPointDivisor));

    for (const TUnitStat pool : Pools)
        Own.Value(pool) =
            SaturateWord(int64_t(Own.Value(pool)) + Effective.Value(pool) - before.Value(pool));
    Own.Morale() = SaturateWord(int64_t(Own.Morale()) + Effective.Morale() - before.Morale());
    RecalculateStats(true);
}

bool TUnit::IsDead() const {
    return Effective.Value(HITPOINTS) < 1;
}

bool TUnit::CanAct() const {
    return !IsDead() &&
           Effective.Value(ACTIONPOINTS) >= Data2::GameConstant(Data2::gcLeastActionPoints);
}

bool TUnit::CanEnter(int32_t entryCost) const {
    return !IsDead() && entryCost <= Effective.Value(ACTIONPOINTS);
}

} // namespace GameData
