#include "game/world/scenario/UnitPlacement.h"

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

std::optional<TCell> NearestFreeCell(const TScenario& scenario, int x, int y) {
    const int reach =
        std::max<int>(scenario.Width, scenario.Height) + std::max(std::abs(x), std::abs(y));
    for (int ring = 0; ring <= reach; ++ring) {
        std::optional<TCell> best;
        int bestDistance = 0;
        for (int dy = -ring; dy <= ring; ++dy)
            for (int dx = -ring; dx <= ring; ++dx) {
                if (std::max(std::abs(dx), std::abs(dy)) != ring ||
                    !IsCellFree(scenario, x + dx, y + dy))
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

} // namespace

bool IsCellFree(const TScenario& scenario, int x, int y, const TGroup* ignore) {
    return scenario.IsCellOnMap(x, y) &&
           scenario.Costs[size_t(scenario.CellIndex(x, y))] != Impassable &&
           !scenario.GroupCoveringCell(x, y, ignore) && !IsLocationCell(scenario, x, y);
}

TGroup* PlaceNewUnit(TScenario& scenario, uint8_t player, int x, int y,
                     std::unique_ptr<TUnit> unit) {
    const std::optional<TCell> cell = NearestFreeCell(scenario, x, y);
    if (!cell)
        throw ClassLib::Exception("There is no place for new unit in scenario!");
    auto group = std::make_unique<TGroup>(&scenario);
    const TPoint centre = CellToPixelCentre(cell->X, cell->Y);
    group->X = static_cast<int16_t>(centre.X);
    group->Y = static_cast<int16_t>(centre.Y);
    group->OwnerIndex = player;
    auto* placed = static_cast<TGroup*>(scenario.AddObject(std::move(group)));
    try {
        placed->AddUnit(std::move(unit), false, true);
    } catch (...) {
        // A refused unit leaves no empty group behind.
        scenario.RemoveObject(placed, 0);
        throw;
    }
    scenario.RebuildOccupancyGrid();
    return placed;
}

} // namespace GameData
