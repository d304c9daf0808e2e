#include "engine/core/Random.h"

#include <initializer_list>

namespace Base {

TRandomSeed RandomSeed;
TRandomSeed AIRandomSeed;
TRandomSeed SavedRandomSeed;

uint32_t NextRandom(uint32_t* low, uint32_t* high) {
    uint64_t state = (uint64_t(*high) << 32) | *low;
    state = state * 0x0000015A00004E35ull + 1;
    *low = static_cast<uint32_t>(state);
    *high = static_cast<uint32_t>(state >> 32);
    return *high & 0x7FFFFFFFu;
}

void InitRandomStates() {
    for (TRandomSeed* seed : {&RandomSeed, &AIRandomSeed, &SavedRandomSeed}) {
        *seed = TRandomSeed{};
        NextRandom(*seed);
    }
}

} // namespace Base
