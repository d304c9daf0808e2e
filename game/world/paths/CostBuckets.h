// The work queue of the movement-cost fill: one bucket of cells per total cost
// 0..200, taken in rising order, so each cell is expanded once, at its cheapest
// total. A cell improved after it was queued is queued again under its new cost
// and its old entry skipped. Entries go to one pool sized for the worst case
// (every cell queued once from each neighbour and once at the start), so the fill
// cannot run out of room and never checks for it; each bucket is a chain through
// the pool.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace GameData {

class TCostBuckets {
public:
    static constexpr int MaxCost = 200;
    static constexpr int32_t NoEntry = -1;

    // Cells packed as (y << 8) | x: no division to unpack them.
    static int32_t Pack(int x, int y) { return (y << 8) | x; }
    // An entry: the packed cell and, above it, the total it was queued with.
    static int32_t Entry(int cost, int32_t packedCell) { return (cost << 16) | packedCell; }
    static int CostOf(int32_t entry) { return entry >> 16; }
    static int32_t CellOf(int32_t entry) { return entry & 0xFFFF; }

    // Empties the queue and makes room for a fill over this many cells.
    void Reset(size_t cells);
    // A starting cell.
    void Push(int cost, int32_t packedCell) { FEntries[FUsed++] = Entry(cost, packedCell); }

    // For the fill: the pool with one spare entry past the worst case, the chain
    // links beside it, and how many entries the starting cells took.
    int32_t* Entries() { return FEntries.data(); }
    int32_t* Links() { return FLinks.data(); }
    size_t Used() const { return FUsed; }
    void Finish(size_t used, int peak) {
        FUsed = used;
        FPeak = peak;
    }
    // The most entries held at once during the last fill.
    int Peak() const { return FPeak; }

    // The fill's own copy of the terrain costs, with the cells its player may not
    // enter raised to blocked: one byte per cell read instead of a pointer.
    std::vector<uint8_t>& EnterCosts() { return FEnterCosts; }

private:
    std::vector<int32_t> FEntries;
    std::vector<int32_t> FLinks;
    std::vector<uint8_t> FEnterCosts;
    size_t FUsed = 0;
    int FPeak = 0;
};

} // namespace GameData
