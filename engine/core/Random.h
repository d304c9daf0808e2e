// The seeded generator behind every random decision of the game rules. All
// peers of a networked game hold the same states and draw in the same order,
// so their games stay identical without exchanging results.
#pragma once

#include <cstdint>

namespace Base {

struct TRandomSeed {
    uint32_t Low = 0;
    uint32_t High = 0;
};

// state = state * 0x0000015A00004E35 + 1 (mod 2^64); returns the new high half's low 31 bits.
uint32_t NextRandom(uint32_t* low, uint32_t* high);
inline uint32_t NextRandom(TRandomSeed& seed) {
    return NextRandom(&seed.Low, &seed.High);
}

// The game's state, the computer player's state and a third, spare state. (A battle
// decision on its worker thread draws from a copy of its own, never from these.)
extern TRandomSeed RandomSeed;
extern TRandomSeed AIRandomSeed;
extern TRandomSeed SavedRandomSeed;

// Sets each state to 0 and advances it once, as at program start.
void InitRandomStates();

} // namespace Base
