// The PCM format record Windows describes sound buffers with.
#pragma once

#include <cstdint>

namespace Win32 {

constexpr uint16_t WAVE_FORMAT_PCM = 1;

struct WAVEFORMATEX {
    uint16_t wFormatTag = 0;
    uint16_t nChannels = 0;
    uint32_t nSamplesPerSec = 0;
    uint32_t nAvgBytesPerSec = 0;
    uint16_t nBlockAlign = 0;
    uint16_t wBitsPerSample = 0;
    uint16_t cbSize = 0;
};

} // namespace Win32
