#include "game/world/paths/CostBuckets.h"

namespace GameData {

void TCostBuckets::Reset(size_t cells) {
    // Each cell is expanded once and queues each of its 8 neighbours at most once;
    // the starting cells come on top, and the fill writes one entry past the last.
    const size_t room = 9 * cells + 1;
    if (FEntries.size() < room) {
        FEntries.resize(room);
        FLinks.resize(room);
    }
    FUsed = 0;
    FPeak = 0;
}

} // namespace GameData
