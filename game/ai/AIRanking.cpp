#include "game/ai/AIRanking.h"

#include "game/ai/AIHandler.h"
#include "game/ai/AITask.h"
#include "game/world/scenario/Scenario.h"

#include <functional>

namespace AIHandler {

namespace {

// Keys of units that may not be recruited: each ranking puts them last.
constexpr int32_t FarAway = 1000;
constexpr int32_t UnfitScout = -10000;
constexpr int32_t UnfitDefender = -1000;
constexpr int32_t UnfitBesieger = -10000;

int CompareAscending(const TAIUnit* a, const TAIUnit* b) {
    return a->Rating < b->Rating ? -1 : a->Rating > b->Rating ? 1 : 0;
}

int CompareDescending(const TAIUnit* a, const TAIUnit* b) {
    return CompareAscending(b, a);
}

// Fitness less an eighth of the way to the target, for candidates.
void RankByFitness(TAIVirtualUnitList& units, const TAITaskHeader& header, int32_t unfit,
                   int32_t (TAIUnit::*fitness)(const TAITaskHeader&)) {
    for (TAIUnit* unit : units)
        unit->Rating = unit->IsCandidate()
                           ? std::invoke(fitness, unit, header) - unit->TargetDistance(header) / 8
                           : unfit;
    units.Sort(CompareDescending);
}

} // namespace

void RankByDistance(TAIVirtualUnitList& units, int x, int y) {
    if (units.Count() == 0)
        return;
    TAIHandler* handler = units[0]->Handler;
    if (handler)
        handler->Scenario.FillDistanceMap(x, y, TravelLimit, &handler->Player);
    for (TAIUnit* unit : units)
        unit->Rating = handler && unit->IsCandidate()
                           ? handler->Scenario.DistanceAt(unit->CellX(), unit->CellY())
                           : FarAway;
    units.Sort(CompareAscending);
}

void RankByScouting(TAIVirtualUnitList& units, const TAITaskHeader& header) {
    RankByFitness(units, header, UnfitScout, &TAIUnit::ScoutFitness);
}

void RankByDefence(TAIVirtualUnitList& units, const TAITaskHeader& header) {
    RankByFitness(units, header, UnfitDefender, &TAIUnit::DefenceFitness);
}

void RankBySiege(TAIVirtualUnitList& units, const TAITaskHeader& header) {
    RankByFitness(units, header, UnfitBesieger, &TAIUnit::SiegeFitness);
}

void SortByRating(TAIVirtualUnitList& units) {
    units.Sort(CompareAscending);
}

} // namespace AIHandler
