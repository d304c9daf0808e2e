// Putting units on the map and taking them off it: into the group or city at a cell,
// as a new group on the nearest cell that can take them, into a start area.
#include "game/world/scenario/UnitPlacement.h"

#include "game/world/cities/City.h"
#include "game/world/cities/Location.h"
#include "game/world/groups/Group.h"
#include "game/world/objects/MapGeometry.h"
#include "game/world/scenario/Scenario.h"
#include "platform/classlib/Exception.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace GameData {

namespace {

bool IsLocationCell(const TScenario& scenario, int x, int y) {
    for (const TMapObject* object : scenario.Objects)
        if ((object->Kind == okCity || object->Kind == okBuilding) &&
            static_cast<const TLocation*>(object)->Footprint.ContainsCell(x, y))
            return true;
    return false;
}

struct TCell {
    int X;
    int Y;
};

std::optional<TCell> NearestPlace(const TScenario& scenario, const TUnit& unit, uint8_t ownerIndex,
                                  bool allowJoin, int x, int y) {
    // Far enough to reach every cell of the map from a start beyond its edge.
    const int reach =
        std::max<int>(scenario.Width, scenario.Height) + std::max(std::abs(x), std::abs(y));
    for (int ring = 0; ring <= reach; ++ring) {
        std::optional<TCell> best;
        int bestDistance = 0;
        for (int dy = -ring; dy <= ring; ++dy)
            for (int dx = -ring; dx <= ring; ++dx) {
                if (std::max(std::abs(dx), std::abs(dy)) != ring ||
                    !scenario.CanPlaceUnitAt(unit, ownerIndex, allowJoin, x + dx, y + dy))
                    continue;
                const int distance = dx * dx + dy * dy;
                if (!best || distance < bestDistance) {
                    best = TCell{x + dx, y + dy};
                    bestDistance = distance;
                }
            }
        if (best)
            return best;
    }
    return std::nullopt;
}

TCell PlaceNear(const TScenario& scenario, const TUnit& unit, uint8_t ownerIndex, bool allowJoin,
                int x, int y) {
    const std::optional<TCell> cell = NearestPlace(scenario, unit, ownerIndex, allowJoin, x, y);
    if (!cell)
        throw ClassLib::Exception("There is no place for new unit in scenario!");
    return *cell;
}

// The first listed cell that can take the unit; else the last one listed, around
// which the nearest place is searched.
std::pair<TCell, bool> PlaceInArea(const TScenario& scenario, const TUnit& unit, uint8_t ownerIndex,
                                   bool allowJoin, const Data::TDynamicArray<TField>& cells) {
    TCell last{0, 0};
    for (const TField& cell : cells) {
        last = {cell.X, cell.Y};
        if (scenario.CanPlaceUnitAt(unit, ownerIndex, allowJoin, cell.X, cell.Y))
            return {last, true};
    }
    return {last, false};
}

TCity* CityDefendedBy(const TScenario& scenario, const TGroup& group) {
    for (TMapObject* object : scenario.Objects)
        if (object->Kind == okCity && static_cast<TCity*>(object)->DefenderGroup.get() == &group)
            return static_cast<TCity*>(object);
    return nullptr;
}

} // namespace

bool IsCellFree(const TScenario& scenario, int x, int y, const TGroup* ignore) {
    return scenario.IsCellOnMap(x, y) &&
           scenario.Costs[size_t(scenario.CellIndex(x, y))] != Impassable &&
           !scenario.GroupCoveringCell(x, y, ignore) && !IsLocationCell(scenario, x, y);
}

bool TScenario::CanPlaceUnitAt(const TUnit& unit, uint8_t ownerIndex, bool allowJoin, int x,
                               int y) const {
    // Nobody is put beyond the edge of the map or onto impassable ground.
    if (!IsCellOnMap(x, y) || Costs[size_t(CellIndex(x, y))] == Impassable)
        return false;
    const int index = ObjectIndexAtCell(x, y);
    if (index < 0 || IsCellFree(*this, x, y))
        return true;
    if (!allowJoin || Objects[index]->Kind != okGroup)
        return false;
    const auto* group = static_cast<const TGroup*>(Objects[index]);
    return group->UnitCount() < MaxGroupUnits && group->OwnerIndex == ownerIndex &&
           !(unit.IsHero && group->HasHero());
}

TUnit* TScenario::PlaceUnit(std::unique_ptr<TUnit> unit, int x, int y, TPlacementOptions options,
                            uint8_t ownerIndex) {
    TUnit* const registered = RegisterUnit(std::move(unit), options.NewID);
    try {
        return PlaceUnit(*registered, x, y, options, ownerIndex);
    } catch (...) {
        UnregisterUnit(registered); // a unit with no place goes
        throw;
    }
}

TUnit* TScenario::PlaceUnit(TUnit& unit, int x, int y, TPlacementOptions options,
                            uint8_t ownerIndex) {
    // A unit in two places would be freed twice.
    if (unit.Owner)
        throw ClassLib::Exception("Error placing unit!");
    const int index = ObjectIndexAtPixel(x, y);
    TMapObject* const object = index >= 0 ? Objects[index] : nullptr;
    if (object && object->Kind == okGroup) {
        static_cast<TGroup*>(object)->AddUnit(&unit, options.GiveToAI);
    } else if (object && object->Kind == okCity) {
        unit.Marker = CityOwnerByte;
        static_cast<TCity*>(object)->AddOtherUnit(&unit, options.GiveToAI);
    } else {
        auto group = std::make_unique<TGroup>(this);
        const TPoint centre = SnapToCellCentre(x, y);
        group->X = static_cast<int16_t>(centre.X);
        group->Y = static_cast<int16_t>(centre.Y);
        group->OwnerIndex = ownerIndex;
        TGroup* placed = nullptr;
        try {
            placed = static_cast<TGroup*>(AddObject(std::move(group)));
            placed->AddUnit(&unit, options.GiveToAI);
        } catch (...) {
            if (placed)
                RemoveObject(placed, 0);
            throw ClassLib::Exception("Error placing unit!");
        }
    }
    LooseUnits.Remove(&unit);
    RebuildOccupancyGrid();
    return &unit;
}

TUnit* TScenario::PlaceNewUnit(uint8_t ownerIndex, int x, int y, TPlacementOptions options,
                               std::unique_ptr<TUnit> unit) {
    const TCell cell = PlaceNear(*this, *unit, ownerIndex, options.AllowJoin, x, y);
    const TPoint centre = CellToPixelCentre(cell.X, cell.Y);
    return PlaceUnit(std::move(unit), centre.X, centre.Y, options, ownerIndex);
}

TUnit* TScenario::PlaceNewUnit(uint8_t ownerIndex, int x, int y, TPlacementOptions options,
                               TUnit& unit) {
    const TCell cell = PlaceNear(*this, unit, ownerIndex, options.AllowJoin, x, y);
    const TPoint centre = CellToPixelCentre(cell.X, cell.Y);
    return PlaceUnit(unit, centre.X, centre.Y, options, ownerIndex);
}

TUnit* TScenario::PlaceUnitInArea(std::unique_ptr<TUnit> unit, uint8_t ownerIndex,
                                  TPlacementOptions options,
                                  const Data::TDynamicArray<TField>& cells) {
    const auto [cell, fits] = PlaceInArea(*this, *unit, ownerIndex, options.AllowJoin, cells);
    if (!fits)
        return PlaceNewUnit(ownerIndex, cell.X, cell.Y, options, std::move(unit));
    const TPoint centre = CellToPixelCentre(cell.X, cell.Y);
    return PlaceUnit(std::move(unit), centre.X, centre.Y, options, ownerIndex);
}

TUnit* TScenario::PlaceUnitInArea(TUnit& unit, uint8_t ownerIndex, TPlacementOptions options,
                                  const Data::TDynamicArray<TField>& cells) {
    const auto [cell, fits] = PlaceInArea(*this, unit, ownerIndex, options.AllowJoin, cells);
    if (!fits)
        return PlaceNewUnit(ownerIndex, cell.X, cell.Y, options, unit);
    const TPoint centre = CellToPixelCentre(cell.X, cell.Y);
    return PlaceUnit(unit, centre.X, centre.Y, options, ownerIndex);
}

bool TScenario::IsGateGroup(const TUnit& unit) const {
    const TGroup* group = unit.Owner ? unit.Owner->AsGroup() : nullptr;
    if (!group)
        return false;
    for (const TMapObject* object : Objects)
        if (object->Kind == okCity && static_cast<const TCity*>(object)->GateGroup.get() == group)
            return true;
    return false;
}

void TScenario::RemoveUnit(TUnit* unit, bool deleteUnit, bool withAI) {
    if (!unit)
        return;
    TUnitOwner* const owner = unit->Owner;
    TGroup* const group = owner ? owner->AsGroup() : nullptr;
    if (TCity* fighting = group ? CityDefendedBy(*this, *group) : nullptr) {
        // Defenders stand in their city's fighting group only while they fight; their
        // place in the city goes with them.
        group->RemoveUnit(unit, false, false);
        fighting->RemoveUnit(unit, deleteUnit, withAI);
    } else if (group) {
        const bool gate = IsGateGroup(*unit);
        group->RemoveUnit(unit, deleteUnit, withAI);
        if (group->UnitCount() == 0 && !gate)
            RemoveObject(group, 0);
    } else if (TCity* city = owner ? owner->AsCity() : nullptr) {
        city->RemoveUnit(unit, deleteUnit, withAI);
    } else {
        LooseUnits.Remove(unit);
        if (deleteUnit)
            UnregisterUnit(unit);
    }
}

void TScenario::ValidateUnitSpells() {
    for (TUnit* unit : Units)
        unit->ForgetSpellsAboveLevel();
}

} // namespace GameData
