#include "tests/game/world/TextMap.h"

#include "game/world/players/Player.h"

namespace TestSupport {

using namespace GameData;

std::unique_ptr<TScenario> MakeTextMapScenario(const TTextRows& terrain, const TTextRows& heights,
                                               int heightStep) {
    auto scenario = std::make_unique<TScenario>();
    const int height = int(terrain.size());
    const int width = int(terrain[0].size());
    scenario->SetMapSize(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const char c = terrain[size_t(y)][size_t(x)];
            const size_t cell = size_t(scenario->CellIndex(x, y));
            scenario->BaseCosts[cell] = c == '#' ? 255 : c == 'o' ? 1 : 10;
            if (c >= '0' && c <= '9')
                scenario->BaseHeights[cell] = int16_t((c - '0') * heightStep);
            if (!heights.empty())
                scenario->BaseHeights[cell] =
                    int16_t((heights[size_t(y)][size_t(x)] - '0') * heightStep);
        }
    scenario->RebuildTerrainGrids();
    for (int i = 0; i < MinPlayers; ++i)
        scenario->AddPlayer(std::make_unique<TPlayer>(scenario.get()));
    return scenario;
}

} // namespace TestSupport
