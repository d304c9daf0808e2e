#include "game/world/paths/CostBuckets.h"

namespace GameData {

void TCostBuckets::Reset() {
    for (std::vector<int32_t>& bucket : FBuckets)
        bucket.clear();
    FHeld = 0;
    FPeak = 0;
}

void TCostBuckets::ClearBucket(int cost) {
    FHeld -= int(FBuckets[size_t(cost)].size());
    FBuckets[size_t(cost)].clear();
}

} // namespace GameData
