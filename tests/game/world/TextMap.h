// Small maps drawn as text for the path and fog tests: one string per row, one
// character per cell.
#pragma once

#include "game/world/scenario/Scenario.h"

#include <memory>
#include <string>
#include <vector>

namespace TestSupport {

using TTextRows = std::vector<std::string>;

// A scenario with three players (relations all neutral; the tests look through the
// first) sized to the rows. Terrain:
// '.' cost 10, '#' impassable, 'o' cost 1, digits cost 10 with height digit x
// HeightStep; with heights given, their digits set the heights instead.
std::unique_ptr<GameData::TScenario>
MakeTextMapScenario(const TTextRows& terrain, const TTextRows& heights = {}, int heightStep = 10);

// The rows of any per-cell grid, each cell drawn by draw(index).
template <typename TDraw>
TTextRows DrawGrid(const GameData::TScenario& scenario, TDraw draw) {
    TTextRows rows;
    for (int y = 0; y < scenario.Height; ++y) {
        std::string row;
        for (int x = 0; x < scenario.Width; ++x)
            row += draw(scenario.CellIndex(x, y));
        rows.push_back(row);
    }
    return rows;
}

} // namespace TestSupport
