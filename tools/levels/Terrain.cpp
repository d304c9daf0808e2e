#include "tools/levels/Terrain.h"

#include <algorithm>
#include <cmath>

namespace Tools {

uint64_t TContentRandom::Next() {
    // splitmix64
    uint64_t z = (State += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

namespace {

constexpr int NoiseStep = 8; // cells between lattice points

// Smooth values 0..1: a lattice of random values blended with a cosine-like curve.
std::vector<double> SmoothNoise(int width, int height, TContentRandom& random) {
    const int columns = width / NoiseStep + 2;
    const int rows = height / NoiseStep + 2;
    std::vector<double> lattice(size_t(columns * rows));
    for (double& value : lattice)
        value = double(random.Below(1000)) / 999.0;
    const auto ease = [](double t) { return t * t * (3 - 2 * t); };
    std::vector<double> noise(size_t(width * height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int cx = x / NoiseStep, cy = y / NoiseStep;
            const double fx = ease(double(x % NoiseStep) / NoiseStep);
            const double fy = ease(double(y % NoiseStep) / NoiseStep);
            const auto at = [&](int i, int j) { return lattice[size_t(j * columns + i)]; };
            const double top = at(cx, cy) * (1 - fx) + at(cx + 1, cy) * fx;
            const double bottom = at(cx, cy + 1) * (1 - fx) + at(cx + 1, cy + 1) * fx;
            noise[size_t(y * width + x)] = top * (1 - fy) + bottom * fy;
        }
    return noise;
}

// Dry land around a place where something stands, with room to walk out.
void ClearAround(TTerrain& terrain, std::vector<uint8_t>& keep, int cx, int cy, int radius) {
    for (int y = cy - radius; y <= cy + radius; ++y)
        for (int x = cx - radius; x <= cx + radius; ++x)
            if (x >= 0 && y >= 0 && x < terrain.Width && y < terrain.Height)
                keep[size_t(terrain.Index(x, y))] = 1;
}

} // namespace

TTerrain GenerateTerrain(const TLevelDescription& level) {
    TTerrain terrain;
    terrain.Width = level.Width;
    terrain.Height = level.Height;
    const size_t cells = size_t(level.Width * level.Height);
    TContentRandom random(level.Seed);
    const std::vector<double> land = SmoothNoise(level.Width, level.Height, random);
    const std::vector<double> hills = SmoothNoise(level.Width, level.Height, random);

    std::vector<uint8_t> keep(cells, 0);
    for (const TLevelPlayer& player : level.Players)
        ClearAround(terrain, keep, player.StartX, player.StartY, 3);
    for (const TLevelGroup& group : level.Groups)
        ClearAround(terrain, keep, group.X, group.Y, 2);
    for (const TLevelCity& city : level.Cities)
        ClearAround(terrain, keep, city.X, city.Y + 1, 3);

    // The water share: the lowest cells of the land noise.
    std::vector<double> sorted = land;
    std::sort(sorted.begin(), sorted.end());
    const size_t waterCells = cells * size_t(level.WaterPercent) / 100;
    const double waterLevel = waterCells == 0 ? -1.0 : sorted[waterCells - 1];

    terrain.Heights.assign(cells, 0);
    terrain.Costs.assign(cells, 0);
    terrain.Water.assign(cells, 0);
    for (size_t i = 0; i < cells; ++i) {
        const bool water = land[i] <= waterLevel && !keep[i];
        terrain.Water[i] = water ? 1 : 0;
        const int height = water ? 0 : int(std::lround(hills[i] * level.Hilliness));
        terrain.Heights[i] = int16_t(keep[i] ? std::min(height, 1) : height);
        // A unit's day of action points (about 24) carries it four to eight cells.
        terrain.Costs[i] = water ? 255 : uint8_t(3 + terrain.Heights[i] / 2);
    }
    return terrain;
}

} // namespace Tools
