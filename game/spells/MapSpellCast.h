// One map spell landing: the caster, the units it reaches and what it changed. The
// rules run alike on the map and on the computer player's copies; only the contest
// (rolled or expected) and the random state differ.
#pragma once

#include "game/spells/EffectBuilder.h"
#include "game/spells/SpellFormulas.h"

#include "engine/core/Random.h"
#include "game/world/data/Prototypes.h"
#include "game/world/units/Unit.h"

#include <functional>
#include <vector>

namespace GameData {

class TGroup;
class TScenario;

constexpr int64_t UndeadCreatureType = 4;
// Spell rules read LEVEL and MORALE beside the ten statistics.
constexpr int StatLevel = -1;
constexpr int StatMorale = -2;

int64_t ValueOf(const TUnit& unit, int stat);
int64_t MaximumOf(const TUnit& unit, TUnitStat pool);

// A unit reached by an area spell: its offset from the target cell and its group's size.
struct TReachedUnit {
    TUnit& Unit;
    int DX;
    int DY;
    int64_t GroupCount;
};

class TMapCast {
public:
    TMapCast(TScenario& scenario, const Data2::TSpellPrototype& spell, TUnit& caster, int x, int y,
             bool predict, Base::TRandomSeed& random);

    // The rule of the spell's identifier; summons, moves and sight changes only on the map.
    void ApplyRule();

    TScenario& Scenario;
    const Data2::TSpellPrototype& Spell;
    TUnit& Caster;
    const int ID;
    const int X, Y;
    // On copies: contests by expectation, nothing beyond the units themselves.
    const bool Predict;
    Base::TRandomSeed& Random;
    const int64_t L;
    TGroup* Group = nullptr;   // on the target cell; none on copies
    std::vector<TUnit*> Units; // the target group's units in slot order
    // Every unit of an area around the target, groups in row order; on copies, Units.
    std::function<void(int radius, const std::function<void(const TReachedUnit&)>&)> ForArea;
    bool Affected = false;
    int64_t Dealt = 0;
    int RevealedRadius = 0; // spell 33

private:
    int64_t P(int k) const { return SpellParam(Spell, k + 1); }
    int64_t LP(int k) const { return Percent(L, P(k)); }
    int64_t N() const { return int64_t(Units.size()); }
    bool Beats(int64_t a, int64_t b, const TUnit& target) const;
    bool Contest(const TUnit& target, int casterStat, int targetStat) const;
    int64_t RandomBelow(int64_t n);
    void Damage(TUnit& unit, int64_t amount);
    TEffectBuilder Effect(TUnit& unit, int64_t duration);
    void Done(TEffectBuilder& effect);
    bool SameSide(const TUnit& unit, int8_t& relation) const;
    void ForEachTarget(const std::function<void(TUnit&)>& action, bool withImmune = false);
    void RecomputeOwnerSight();

    void ApplyMapOnlyRule();
    bool IsCellFree(int x, int y) const;
    void Heal();
    void Bolt();
    void Summon(int prototypeID, int64_t level, bool limited);
    void Mirror();
    void FillWithCopies();
    void Reveal();
    void Convert();
    void Displace();
    void Push();
    void MoraleWave();
    void Slow();
    void Storm();
    void Quake();
    void Ward();
    void Rally();
    void Shatter();
};

// The summoned unit joins its owner's group on the cell, or a new group there; a cell
// held by someone else takes nobody. A new object identifier either way.
bool PlaceSummonedUnit(TScenario& scenario, std::unique_ptr<TUnit> unit, int x, int y,
                       uint8_t ownerIndex);

} // namespace GameData
