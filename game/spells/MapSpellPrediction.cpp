// Whether a map spell would take effect on a cell: judged by expectation, with no
// random draw and nothing changed, for the computer player's worker thread.
#include "game/spells/MapSpellCast.h"
#include "game/spells/MapSpells.h"

#include "game/world/data/LoadedGlobalData.h"
#include "game/world/groups/Group.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/units/Rolls.h"

#include <algorithm>
#include <functional>

namespace GameData {

namespace {

constexpr int W1[5][5] = {
    {2, 2, 2, 2, 2}, {2, 5, 5, 5, 2}, {2, 5, 8, 5, 2}, {2, 5, 5, 5, 2}, {2, 2, 2, 2, 2}};
constexpr int W2[5][5] = {
    {1, 2, 2, 2, 1}, {2, 3, 5, 3, 2}, {2, 5, 10, 5, 2}, {1, 2, 2, 2, 1}, {2, 3, 5, 3, 2}};
constexpr int W3[5][5] = {
    {5, 4, 4, 4, 5}, {4, 3, 2, 3, 4}, {4, 2, 1, 2, 4}, {5, 4, 4, 4, 5}, {4, 3, 2, 3, 4}};

struct TPrediction {
    const TScenario& Scenario;
    const TUnit& Caster;
    const Data2::TSpellPrototype& Spell;
    const int ID;
    const int X, Y;
    std::vector<const TUnit*> Units;

    int64_t P(int k) const { return SpellParam(Spell, k + 1); }
    bool Immune(const TUnit& u) const { return u.IsImmuneToSpell(ID); }
    bool Has(const TUnit& u) const { return u.HasEffect(ID); }
    bool Beat(int64_t a, int64_t b, const TUnit& target) const {
        return ExpectedContest(ScaledForPlayer(Caster, a), ScaledForPlayer(target, b));
    }

    bool Any(const std::function<bool(const TUnit&)>& counts = {}) const {
        return std::any_of(Units.begin(), Units.end(),
                           [&](const TUnit* u) { return !Immune(*u) && (!counts || counts(*u)); });
    }
    bool First(const std::function<bool(const TUnit&)>& canGiveTrue = {}) const {
        for (const TUnit* u : Units) {
            if (Has(*u))
                return false;
            if (!Immune(*u) && (!canGiveTrue || canGiveTrue(*u)))
                return true;
        }
        return false;
    }
    bool NoneHas() const {
        return std::none_of(Units.begin(), Units.end(), [&](const TUnit* u) { return Has(*u); });
    }
    bool Contest(int x, int y, bool stopAtHas = false,
                 const std::function<bool(const TUnit&)>& counts = {}) const {
        for (const TUnit* u : Units) {
            if (stopAtHas && Has(*u))
                return false;
            if (!Immune(*u) && (!counts || counts(*u)) &&
                Beat(Percent(ValueOf(Caster, x), P(0)), Percent(ValueOf(*u, y), P(1)), *u))
                return true;
        }
        return false;
    }
    bool RawContest(int x, int y, bool stopAtHas) const {
        for (const TUnit* u : Units) {
            if (stopAtHas && Has(*u))
                return false;
            if (!Immune(*u) && Beat(ValueOf(Caster, x) * P(0), ValueOf(*u, y) * P(1), *u))
                return true;
        }
        return false;
    }
    bool Damage(int64_t bonus) const {
        const int64_t attack = ValueOf(Caster, ATTACK) + bonus;
        const int64_t morale = ValueOf(Caster, StatMorale);
        return Any([&](const TUnit& u) {
            const int64_t damage = P(0) * attack * morale / 100 / 50 + (P(1) * attack / 2) / 100 -
                                   Percent(ValueOf(u, DEFENCE), P(2));
            return damage > 0;
        });
    }
    // Every unit of the groups standing within the square, rows outer.
    bool Area(int radius, const std::function<bool(const TUnit&, int dx, int dy)>& gives) const {
        for (int dy = -radius; dy <= radius; ++dy)
            for (int dx = -radius; dx <= radius; ++dx) {
                if (!Scenario.IsCellOnMap(X + dx, Y + dy))
                    continue;
                for (const TMapObject* object : Scenario.Objects) {
                    if (object->Kind != okGroup || object->CellX() != X + dx ||
                        object->CellY() != Y + dy)
                        continue;
                    for (const TUnit* u : static_cast<const TGroup*>(object)->Units)
                        if (u && gives(*u, dx, dy))
                            return true;
                }
            }
        return false;
    }
    bool AreaFirst(int radius) const {
        // The walk stops at the first unit that decides either way.
        bool decided = false, answer = false;
        Area(radius, [&](const TUnit& u, int, int) {
            if (Has(u) || !Immune(u)) {
                decided = true;
                answer = !Has(u);
            }
            return decided;
        });
        return answer;
    }
    bool ConvertGroup() const {
        if (Units.empty())
            return false;
        int64_t sum = 0;
        for (const TUnit* u : Units) {
            sum += ValueOf(*u, StatMorale);
            if (Immune(*u) || u->IsHero)
                sum = 10000;
        }
        return Beat(Percent(ValueOf(Caster, StatMorale), P(0)), Percent(sum, P(1)), *Units.front());
    }

    bool Rule() const;
};

bool IsLiving(const TUnit& u) {
    return u.CreatureType == 1 || u.CreatureType == 2;
}

bool TPrediction::Rule() const {
    switch (ID) {
    case 1:
    case 60:
        return Any();
    case 2:
    case 3:
    case 4:
    case 6:
    case 12:
    case 15:
    case 22:
    case 25:
    case 27:
    case 32:
    case 35:
    case 38:
    case 39:
    case 44:
    case 58: // the owner's sight is left alone: this runs on the computer's thread
        return First();
    case 5:
        return Contest(StatMorale, DEFENCE);
    case 7:
        return Area(2, [&](const TUnit& u, int, int) {
            return !Immune(u) && Beat(ValueOf(Caster, StatMorale) + 1, ValueOf(u, StatMorale), u);
        });
    case 8:
    case 45:
        return Area(2, [&](const TUnit& u, int, int) { return !Immune(u); });
    case 9:
        return Contest(StatLevel, DEFENCE, false, IsLiving);
    case 10:
        return Contest(StatLevel, StatLevel, false,
                       [](const TUnit& u) { return u.CreatureType == UndeadCreatureType; });
    case 11:
    case 49:
        return NoneHas();
    case 13:
        return Contest(StatLevel, StatLevel, true);
    case 14:
        return Any([](const TUnit& u) { return u.CreatureType != UndeadCreatureType; });
    case 16:
        return Contest(StatLevel, DEFENCE, true);
    case 17:
    case 52:
    case 53:
    case 57:
        return Contest(ATTACK, DEFENCE);
    case 18:
    case 21:
    case 23:
    case 28:
    case 33:
    case 47:
    case 48:
    case 50:
    case 56:
    case 61:
        return true;
    case 19:
        return Area(2, [&](const TUnit& u, int dx, int dy) {
            return !Immune(u) &&
                   Beat(W1[dx + 2][dy + 2] * ValueOf(Caster, StatLevel), ValueOf(u, DEFENCE), u);
        });
    case 20:
        return Any(IsLiving);
    case 24:
        return First([](const TUnit& u) { return u.CreatureType != UndeadCreatureType; });
    case 26:
    case 46:
        return AreaFirst(1);
    case 29:
        return RawContest(ATTACK, DEFENCE, false);
    case 30:
        return RawContest(ATTACK, StatMorale, true);
    case 31:
        return Contest(StatMorale, StatMorale);
    case 34:
        return Contest(ATTACK, StatMorale);
    case 36:
        return ConvertGroup();
    case 37:
        return Area(1, [&](const TUnit& u, int, int) { return !Immune(u); });
    case 40:
        return Damage(0);
    case 41:
    case 42:
        return Damage(Percent(ValueOf(Caster, StatLevel), P(3)));
    case 43:
        return Units.size() != 1 && Any();
    case 51:
        return Contest(ATTACK, DEFENCE, true);
    case 54:
        return First([](const TUnit& u) { return (u.CreatureType & UndeadCreatureType) != 0; });
    case 55:
        return Area(2, [&](const TUnit& u, int dx, int dy) {
            return !Immune(u) && u.CreatureType != UndeadCreatureType &&
                   Beat(W2[dx + 2][dy + 2] * ValueOf(Caster, ATTACK),
                        W3[dx + 2][dy + 2] * ValueOf(u, DEFENCE), u);
        });
    default: // 0, 59 and unknown identifiers
        return false;
    }
}

} // namespace

bool CanCastMapSpell(TScenario& scenario, const TUnit& caster, int spellID, int x, int y) {
    if (spellID < 0 || spellID > LastMapSpell)
        return false;
    const Data2::TSpellPrototype* spell = Data2::FindSpellByID(spellID);
    if (!spell)
        return false;
    TPrediction prediction{scenario, caster, *spell, spellID, x, y, {}};
    if (scenario.IsCellOnMap(x, y))
        if (const TGroup* group = scenario.GroupAtCell(x, y, nullptr))
            for (const TUnit* unit : group->Units)
                if (unit)
                    prediction.Units.push_back(unit);
    const bool everyUnitHasIt = !prediction.Units.empty() &&
                                std::all_of(prediction.Units.begin(), prediction.Units.end(),
                                            [&](const TUnit* u) { return u->HasEffect(spellID); });
    if (spellID != 17 && everyUnitHasIt)
        return false;
    return prediction.Rule();
}

} // namespace GameData
