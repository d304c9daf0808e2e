// The generated ground of a level: heights, water and the cost of crossing each cell.
#pragma once

#include "tools/levels/LevelDescription.h"

#include <cstdint>
#include <vector>

namespace Tools {

struct TTerrain {
    int Width = 0;
    int Height = 0;
    std::vector<int16_t> Heights; // row by row
    std::vector<uint8_t> Costs;   // 255 under water
    std::vector<uint8_t> Water;   // 1 under water

    int Index(int x, int y) const { return y * Width + x; }
    bool IsWater(int x, int y) const { return Water[size_t(Index(x, y))] != 0; }
};

// The same description always gives the same ground: smooth hills up to the
// level's hilliness and lakes covering its water share, kept away from every start,
// group and city so that each stands on dry, passable land.
TTerrain GenerateTerrain(const TLevelDescription& level);

// A small generator of its own for the content: the same sequence on every machine.
class TContentRandom {
public:
    explicit TContentRandom(uint64_t seed) : State(seed) {}
    uint64_t Next();
    int Below(int n) { return static_cast<int>(Next() % uint64_t(n)); }

private:
    uint64_t State;
};

} // namespace Tools
