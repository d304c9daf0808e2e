// Map spells that move groups, change owners, reveal the map or bring new units.
#include "game/spells/MapSpellCast.h"
#include "game/spells/MapSpells.h"

#include "game/world/data/LoadedGlobalData.h"
#include "game/world/fog/Fog.h"
#include "game/world/groups/Group.h"
#include "game/world/objects/MapGeometry.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"

#include <algorithm>
#include <cmath>

namespace GameData {

namespace {

int CellCentre(int cell) {
    return cell * CellSize + HalfCell;
}

bool WithinRadius(int dx, int dy, int radius) {
    return std::sqrt(double(dx * dx + dy * dy)) <= radius + 0.5;
}

int16_t BoundedLevel(int64_t level) {
    return int16_t(std::clamp<int64_t>(level, 1, MaxUnitLevel));
}

void EmptyStatistic(TUnitStats& stats, TUnitStat stat) {
    stats.Value(stat) = 0;
    stats.Base(stat) = 0;
    stats.Delta(stat) = 0;
    stats.Every(stat) = 1;
}

void ClearMasks(TUnitStats& stats) {
    stats.LearnableSkills = stats.Skills = stats.LearnableSpells = stats.Spells = 0;
}

} // namespace

int RevealRadius(int p0, int p1, int level) {
    return std::max(0, (p0 - (8 - level) * p1 / 100) / 2);
}

bool PlaceSummonedUnit(TScenario& scenario, std::unique_ptr<TUnit> unit, int x, int y,
                       uint8_t ownerIndex) {
    if (!scenario.IsCellOnMap(x, y))
        return false;
    TGroup* group = scenario.GroupCoveringCell(x, y, nullptr);
    if (!group) {
        if (scenario.IsCellInAnyCity(x, y))
            return false;
        auto created = std::make_unique<TGroup>(&scenario);
        created->X = int16_t(CellCentre(x));
        created->Y = int16_t(CellCentre(y));
        created->OwnerIndex = ownerIndex;
        group = static_cast<TGroup*>(scenario.AddObject(std::move(created)));
    } else if (group->OwnerIndex != ownerIndex || group->UnitCount() >= MaxGroupUnits) {
        return false;
    }
    group->AddUnit(std::move(unit), true, true);
    scenario.UpdateVisibilityOfIndex(ownerIndex);
    return true;
}

bool TMapCast::IsCellFree(int x, int y) const {
    return Scenario.IsCellOnMap(x, y) &&
           Scenario.Costs[size_t(Scenario.CellIndex(x, y))] < Impassable &&
           !Scenario.GroupCoveringCell(x, y, nullptr) && !Scenario.IsCellInAnyCity(x, y);
}

void TMapCast::ApplyMapOnlyRule() {
    TGroup* const casterGroup = Caster.GetGroup();
    switch (ID) {
    case 21:
        if (!casterGroup)
            return;
        Scenario.MoveObject(Scenario.IndexOfObject(casterGroup), CellCentre(X), CellCentre(Y));
        casterGroup->UpdateOwnerVisibility();
        Affected = true;
        break;
    case 23: {
        const bool odd = (Base::NextRandom(Random) & 1) != 0;
        Summon(int(odd ? P(1) : P(0)), L / 2, false);
        break;
    }
    case 28:
        Mirror();
        break;
    case 33:
        Reveal();
        break;
    case 47:
    case 50:
        Summon(int(P(1)), LP(0), true);
        break;
    case 48:
        Displace();
        break;
    case 56:
        FillWithCopies();
        break;
    case 59:
    case 61:
        Summon(int(P(1)), P(0), true);
        break;
    default:
        break;
    }
}

// A summoned unit that lasts while its effect does: its own hit points stand 1000
// below nothing and the effect lifts them; when it ends the unit dies.
static void LimitLifetime(TUnit& unit, int32_t kind, int64_t duration, int64_t hitPoints,
                          int64_t hitPointsBase) {
    unit.Own.Value(HITPOINTS) = -1000;
    unit.Own.Base(HITPOINTS) = -1000;
    TEffectBuilder effect(unit, kind, SaturateInt32(std::max<int64_t>(duration, 1)));
    effect.Add(HITPOINTS, hitPoints + 1000).AddBase(HITPOINTS, hitPointsBase + 1000);
    effect.Apply();
}

void TMapCast::Summon(int prototypeID, int64_t level, bool limited) {
    const Data2::TUnitPrototype* prototype = Data2::FindUnitPrototypeByID(prototypeID);
    const TGroup* casterGroup = Caster.GetGroup();
    if (!prototype || !casterGroup)
        return;
    auto unit = std::make_unique<TUnit>();
    unit->InitFromPrototype(*prototype);
    unit->Own.Level() = BoundedLevel(level);
    unit->Own.RecalcValues();
    unit->Own.ResetExperience();
    unit->Own.ResetMorale();
    unit->Own.UpdateSpells();
    unit->Own.RandomizeBase();
    if (limited)
        LimitLifetime(*unit, ID, L - Spell.MinLevel + 1, unit->Own.Value(HITPOINTS),
                      unit->Own.Base(HITPOINTS));
    else
        unit->RecalculateStats(true);
    Affected =
        PlaceSummonedUnit(Scenario, std::move(unit), X, Y, casterGroup->OwnerIndex) || Affected;
}

void TMapCast::Mirror() {
    const TGroup* casterGroup = Caster.GetGroup();
    if (!Caster.Prototype || !casterGroup)
        return;
    auto unit = std::make_unique<TUnit>();
    unit->InitFromPrototype(*Caster.Prototype);
    unit->Own = Caster.Effective;
    unit->Own.Level() = BoundedLevel(unit->Own.Level());
    unit->Own.ResetMorale();
    ClearMasks(unit->Own);
    unit->IsHero = 0;
    LimitLifetime(*unit, ID, L - Spell.MinLevel + 1, Caster.Effective.Value(HITPOINTS),
                  Caster.Effective.Base(HITPOINTS));
    Affected =
        PlaceSummonedUnit(Scenario, std::move(unit), X, Y, casterGroup->OwnerIndex) || Affected;
}

// Spell 56: the copies' pools start empty and the effect lends them the caster's.
void TMapCast::FillWithCopies() {
    const TGroup* casterGroup = Caster.GetGroup();
    if (!Caster.Prototype || !casterGroup)
        return;
    for (int64_t k = N(); k <= 2; ++k) {
        auto unit = std::make_unique<TUnit>();
        unit->InitFromPrototype(*Caster.Prototype);
        unit->Own = Caster.Effective;
        unit->Own.Level() = BoundedLevel(unit->Own.Level());
        for (TUnitStat stat : {HITPOINTS, HPREGENERATE, MANA})
            EmptyStatistic(unit->Own, stat);
        ClearMasks(unit->Own);
        unit->IsHero = 0;
        unit->Own.RandomizeBase();
        TEffectBuilder effect(*unit, ID, 4);
        const TUnitStats& source = Caster.Effective;
        effect.Add(HITPOINTS, source.Value(HITPOINTS)).AddBase(HITPOINTS, source.Base(HITPOINTS));
        effect.Delta().Delta.Delta(HITPOINTS) = source.Delta(HITPOINTS);
        effect.Delta().Delta.Every(HITPOINTS) = SaturateWord(source.Every(HITPOINTS) - 1);
        effect.Apply();
        if (!PlaceSummonedUnit(Scenario, std::move(unit), X, Y, casterGroup->OwnerIndex))
            break;
        Affected = true;
    }
}

void TMapCast::Reveal() {
    const TGroup* casterGroup = Caster.GetGroup();
    TPlayer* owner = casterGroup ? casterGroup->GetOwner() : nullptr;
    RevealedRadius = RevealRadius(int(P(0)), int(P(1)), int(L));
    if (!owner || !owner->Fog)
        return;
    TFog& fog = *owner->Fog;
    const int r = RevealedRadius;
    for (int dy = -r; dy <= r; ++dy)
        for (int dx = -r; dx <= r; ++dx) {
            const int cx = X + dx, cy = Y + dy;
            if (!fog.IsOnGrid(cx, cy) || !WithinRadius(dx, dy, r))
                continue;
            uint8_t& cell = fog.Cells[size_t(cy * fog.Width + cx)];
            if (cell == fsUnexplored)
                cell = fsExplored;
        }
    casterGroup->UpdateOwnerVisibility();
    Affected = true;
}

// Spell 36: a hero or an immune unit in the group makes it all but unshakeable.
void TMapCast::Convert() {
    if (Units.empty())
        return;
    int64_t sum = 0;
    for (const TUnit* unit : Units) {
        sum += ValueOf(*unit, StatMorale);
        if (unit->IsImmuneToSpell(ID) || unit->IsHero)
            sum = 10000;
    }
    const TGroup* casterGroup = Caster.GetGroup();
    if (Predict || !Group || !casterGroup ||
        !Beats(Percent(ValueOf(Caster, StatMorale), P(0)), Percent(sum, P(1)), *Units.front()))
        return;
    Group->SetOwner(casterGroup->OwnerIndex);
    Affected = true;
}

void TMapCast::Displace() {
    ForEachTarget([&](TUnit& u) { Damage(u, Percent(ValueOf(u, DEFENCE), P(0))); }, true);
    if (Predict || !Group)
        return;
    std::vector<std::pair<int, int>> freeCells;
    for (int64_t dy = -L; dy <= L; ++dy)
        for (int64_t dx = -L; dx <= L; ++dx)
            if (WithinRadius(int(dx), int(dy), int(L)) && IsCellFree(X + int(dx), Y + int(dy)))
                freeCells.emplace_back(X + int(dx), Y + int(dy));
    const int64_t k = RandomBelow(int64_t(freeCells.size()));
    const auto [toX, toY] = freeCells.empty() ? std::pair{X, Y} : freeCells[size_t(k)];
    Scenario.MoveObject(Scenario.IndexOfObject(Group), CellCentre(toX), CellCentre(toY));
    Affected = true;
}

// Spell 57: a group that was hit is pushed a cell away from the caster, or, with no
// room behind it, is struck again.
void TMapCast::Push() {
    bool hit = false;
    ForEachTarget([&](TUnit& u) {
        if (!Contest(u, ATTACK, DEFENCE))
            return;
        Damage(u, LP(3) + P(2) + RandomBelow(LP(4)));
        TEffectBuilder e(u, ID, SaturateInt32(L / 4 + 1));
        e.Add(ATTACK, -LP(5)).Add(COUNTERATTACK, -LP(6));
        e.Apply();
        Affected = hit = true;
    });
    const TGroup* casterGroup = Caster.GetGroup();
    if (!hit || Predict || !Group || !casterGroup)
        return;
    const int direction =
        DirectionBetweenPoints(casterGroup->X, casterGroup->Y, Group->X, Group->Y);
    const int toX = Group->TMapObject::CellX() + NeighbourDX[direction];
    const int toY = Group->TMapObject::CellY() + NeighbourDY[direction];
    if (IsCellFree(toX, toY)) {
        Scenario.MoveObject(Scenario.IndexOfObject(Group), CellCentre(toX), CellCentre(toY));
        return;
    }
    ForEachTarget([&](TUnit& u) {
        if (Contest(u, ATTACK, DEFENCE))
            Damage(u, P(7) + LP(8) + RandomBelow(LP(9)));
    });
}

} // namespace GameData
