// The work queue of the cost fills: cell indices first in, first out. A cell waits
// in it at most once at a time (a cell improved while waiting is not queued again:
// it is taken with its newest value), so it never holds more than the map's cells
// and cannot overflow.
#pragma once

#include "engine/core/Queue.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace GameData {

class TCellQueue {
public:
    // Empties the queue for a map of that many cells.
    void Reset(int cellCount);
    // Does nothing for a cell already waiting.
    void Push(int cell) {
        if (FWaiting[size_t(cell)])
            return;
        FWaiting[size_t(cell)] = 1;
        FQueue.Push(cell);
        if (++FCount > FPeak)
            FPeak = FCount;
    }
    int Pop() {
        const int cell = FQueue.Pop();
        FWaiting[size_t(cell)] = 0;
        --FCount;
        return cell;
    }
    bool IsEmpty() const { return FQueue.IsEmpty(); }
    // The most cells waiting at once during the last fill.
    int Peak() const { return FPeak; }

private:
    Data::TQueue<int32_t> FQueue;
    std::vector<uint8_t> FWaiting;
    int FCount = 0;
    int FPeak = 0;
};

} // namespace GameData
