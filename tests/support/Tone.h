// Deterministic test sounds: a gliding tone with a little harmonic content,
// interleaved 16-bit samples.
#pragma once

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace TestSupport {

inline std::vector<int16_t> MakeTone(uint32_t frames, uint32_t channels, uint32_t rate = 44100) {
    std::vector<int16_t> samples(size_t(frames) * channels);
    double phase = 0;
    for (uint32_t f = 0; f < frames; ++f) {
        const double frequency = 220.0 + 660.0 * f / (frames ? frames : 1);
        phase += 2 * std::numbers::pi * frequency / rate;
        const double value = 0.6 * std::sin(phase) + 0.2 * std::sin(3 * phase);
        for (uint32_t c = 0; c < channels; ++c)
            samples[size_t(f) * channels + c] =
                static_cast<int16_t>(std::lround(value * (c == 0 ? 20000 : 14000)));
    }
    return samples;
}

inline std::vector<uint8_t> AsBytes(const std::vector<int16_t>& samples) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(samples.data());
    return {bytes, bytes + samples.size() * sizeof(int16_t)};
}

} // namespace TestSupport
