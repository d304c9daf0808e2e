// A plain generator for visual variety, in the manner of the C runtime's rand():
// its draws never touch the game's seeded states nor the runtime's own generator,
// so the weather cannot shift any other draw.
#pragma once

#include <cstdint>

namespace GameData {

class TPlainRandom {
public:
    explicit TPlainRandom(uint32_t seed = 1) : FState(seed) {}
    // 0 .. 32767.
    int Next() {
        FState = FState * 214013u + 2531011u;
        return int((FState >> 16) & 0x7fff);
    }
    // 0 .. n - 1; 0 when n is not positive.
    int Below(int n) { return n > 0 ? Next() % n : 0; }
    // What a stored game keeps, so that a loaded game draws on as the saved one would.
    uint32_t State() const { return FState; }

private:
    uint32_t FState;
};

} // namespace GameData
