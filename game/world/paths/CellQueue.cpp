#include "game/world/paths/CellQueue.h"

#include <algorithm>

namespace GameData {

void TCellQueue::Reset(int cellCount) {
    // The ring keeps one slot free.
    if (FQueue.Count() != cellCount + 1)
        FQueue.SetCount(cellCount + 1);
    FQueue.Head = FQueue.Tail = 0;
    FWaiting.assign(size_t(cellCount), 0);
    FCount = 0;
    FPeak = 0;
}

} // namespace GameData
