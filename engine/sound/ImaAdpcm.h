// IMA/DVI ADPCM: 4 bits per 16-bit sample, one predictor and step index per channel.
#pragma once

#include <cstdint>

namespace Audio {

constexpr int32_t ImaMaxStepIndex = 88;

struct TImaState {
    int32_t Predictor = 0; // -32768..32767
    int32_t StepIndex = 0; // 0..ImaMaxStepIndex
};

// The next sample for a 4-bit code; state moves on.
int16_t DecodeImaSample(TImaState& state, uint8_t code);
// The 4-bit code that brings state closest to sample; state moves on exactly as
// the decoder's will.
uint8_t EncodeImaSample(TImaState& state, int16_t sample);

} // namespace Audio
