// Reproducible visual variety: a fixed-seed generator with its own arithmetic, so every
// machine draws the same content.
#pragma once

#include <cstdint>
#include <random>

namespace Content {

class TVariety {
public:
    explicit TVariety(uint32_t seed) : FEngine(seed) {}
    // Uniform in [low, high).
    double Real(double low, double high) {
        return low + (high - low) * double(FEngine() >> 8) / double(1u << 24);
    }
    int Int(int low, int high) { return low + int(FEngine() % uint32_t(high - low + 1)); }

private:
    std::mt19937 FEngine;
};

} // namespace Content
