// Orders unit lists for recruitment and for the executors: every unit's Rating is
// set, then the list is sorted on it.
#pragma once

#include "game/ai/AIUnit.h"

namespace AIHandler {

class TAITaskHeader;

// Candidates by travel distance from the cell, others keyed 1000; ascending.
void RankByDistance(TAIVirtualUnitList& units, int x, int y);
// Candidates by scout, defence or siege fitness less a eighth of their distance to
// the header's target; others keyed last; descending.
void RankByScouting(TAIVirtualUnitList& units, const TAITaskHeader& header);
void RankByDefence(TAIVirtualUnitList& units, const TAITaskHeader& header);
void RankBySiege(TAIVirtualUnitList& units, const TAITaskHeader& header);
// By the Rating already set, lowest first.
void SortByRating(TAIVirtualUnitList& units);

} // namespace AIHandler
