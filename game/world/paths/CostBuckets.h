// The work queue of the movement-cost fill: one bucket of cells per total cost
// 0..200, taken in rising order, so each cell is expanded once, at its cheapest
// total. A cell improved after it was queued is queued again under its new cost
// and its old entry skipped; the buckets grow as needed and keep their room for
// the next fill, so they cannot overflow.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace GameData {

class TCostBuckets {
public:
    static constexpr int MaxCost = 200;

    // Entries are cells packed as (y << 8) | x: no division to unpack them.
    static int32_t Pack(int x, int y) { return (y << 8) | x; }

    void Reset();
    void Push(int cost, int32_t packedCell) {
        FBuckets[size_t(cost)].push_back(packedCell);
        if (++FHeld > FPeak)
            FPeak = FHeld;
    }
    // Cells may be pushed to later buckets while one is walked: steps cost at least 1.
    const std::vector<int32_t>& Bucket(int cost) const { return FBuckets[size_t(cost)]; }
    void ClearBucket(int cost);
    // The most entries held at once during the last fill.
    int Peak() const { return FPeak; }

private:
    std::array<std::vector<int32_t>, MaxCost + 1> FBuckets;
    int FHeld = 0;
    int FPeak = 0;
};

} // namespace GameData
