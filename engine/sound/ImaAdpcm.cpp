#include "engine/sound/ImaAdpcm.h"

#include <algorithm>
#include <array>

namespace Audio {

namespace {

constexpr std::array<int32_t, ImaMaxStepIndex + 1> StepSizes = {
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,   21,    23,
    25,    28,    31,    34,    37,    41,    45,    50,    55,    60,    66,   73,    80,
    88,    97,    107,   118,   130,   143,   157,   173,   190,   209,   230,  253,   279,
    307,   337,   371,   408,   449,   494,   544,   598,   658,   724,   796,  876,   963,
    1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,  2272,  2499,  2749, 3024,  3327,
    3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,  9493, 10442, 11487,
    12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};

constexpr std::array<int32_t, 16> IndexAdjust = {-1, -1, -1, -1, 2, 4, 6, 8,
                                                 -1, -1, -1, -1, 2, 4, 6, 8};

// Every step and code turned into its signed difference, so decoding is one look-up.
constexpr auto BuildDifferences() {
    std::array<std::array<int32_t, 16>, ImaMaxStepIndex + 1> table{};
    for (size_t index = 0; index < StepSizes.size(); ++index) {
        const int32_t step = StepSizes[index];
        for (int32_t code = 0; code < 8; ++code) {
            int32_t difference = step >> 3;
            if (code & 4)
                difference += step;
            if (code & 2)
                difference += step >> 1;
            if (code & 1)
                difference += step >> 2;
            table[index][static_cast<size_t>(code)] = difference;
            table[index][static_cast<size_t>(code + 8)] = -difference;
        }
    }
    return table;
}

constexpr auto Differences = BuildDifferences();

void Apply(TImaState& state, uint8_t code) {
    state.Predictor =
        std::clamp(state.Predictor + Differences[static_cast<size_t>(state.StepIndex)][code & 15],
                   -32768, 32767);
    state.StepIndex = std::clamp(state.StepIndex + IndexAdjust[code & 15], 0, ImaMaxStepIndex);
}

} // namespace

int16_t DecodeImaSample(TImaState& state, uint8_t code) {
    Apply(state, code);
    return static_cast<int16_t>(state.Predictor);
}

uint8_t EncodeImaSample(TImaState& state, int16_t sample) {
    const int32_t step = StepSizes[static_cast<size_t>(state.StepIndex)];
    int32_t difference = sample - state.Predictor;
    uint8_t code = 0;
    if (difference < 0) {
        code = 8;
        difference = -difference;
    }
    if (difference >= step) {
        code |= 4;
        difference -= step;
    }
    if (difference >= step >> 1) {
        code |= 2;
        difference -= step >> 1;
    }
    if (difference >= step >> 2)
        code |= 1;
    Apply(state, code);
    return code;
}

} // namespace Audio
