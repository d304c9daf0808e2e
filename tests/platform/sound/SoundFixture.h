// A DirectSound device on the manual output, with helpers to make and fill buffers.
#pragma once

#include "platform/sound/DirectSound.h"
#include "platform/sound/SoundOutput.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace SoundTesting {

using namespace Win32;

struct TReleaseBuffer {
    void operator()(IDirectSoundBuffer* buffer) const { buffer->Release(); }
};
using TBufferPtr = std::unique_ptr<IDirectSoundBuffer, TReleaseBuffer>;

inline WAVEFORMATEX PcmFormat(uint32_t rate, uint16_t bits, uint16_t channels) {
    WAVEFORMATEX format;
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = channels;
    format.nSamplesPerSec = rate;
    format.wBitsPerSample = bits;
    format.nBlockAlign = static_cast<uint16_t>(channels * bits / 8);
    format.nAvgBytesPerSec = rate * format.nBlockAlign;
    return format;
}

inline DSBUFFERDESC BufferDescription(const WAVEFORMATEX* format, uint32_t bytes,
                                      uint32_t flags = DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLPAN |
                                                       DSBCAPS_GETCURRENTPOSITION2) {
    DSBUFFERDESC description;
    description.dwSize = sizeof(DSBUFFERDESC);
    description.dwFlags = flags;
    description.dwBufferBytes = bytes;
    description.lpwfxFormat = format;
    return description;
}

// 16-bit samples as the little-endian bytes a buffer holds.
inline std::vector<uint8_t> Pcm16(const std::vector<int16_t>& samples) {
    std::vector<uint8_t> bytes;
    for (const int16_t sample : samples) {
        const auto value = static_cast<uint16_t>(sample);
        bytes.push_back(static_cast<uint8_t>(value & 0xFF));
        bytes.push_back(static_cast<uint8_t>(value >> 8));
    }
    return bytes;
}

class SoundFixture : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(DirectSoundCreate(nullptr, &Sound, nullptr), DS_OK);
        ASSERT_EQ(Sound->SetCooperativeLevel(nullptr, DSSCL_PRIORITY), DS_OK);
    }
    void TearDown() override {
        if (Sound)
            Sound->Release();
    }

    TBufferPtr CreateBuffer(uint32_t rate, uint16_t bits, uint16_t channels, uint32_t bytes) {
        const WAVEFORMATEX format = PcmFormat(rate, bits, channels);
        const DSBUFFERDESC description = BufferDescription(&format, bytes);
        IDirectSoundBuffer* buffer = nullptr;
        EXPECT_EQ(Sound->CreateSoundBuffer(&description, &buffer, nullptr), DS_OK);
        return TBufferPtr(buffer);
    }

    // Writes through Lock and Unlock, wrapping past the end as the buffer does.
    static void Write(IDirectSoundBuffer& buffer, uint32_t offset,
                      const std::vector<uint8_t>& bytes) {
        void* part1 = nullptr;
        void* part2 = nullptr;
        uint32_t bytes1 = 0;
        uint32_t bytes2 = 0;
        ASSERT_EQ(buffer.Lock(offset, static_cast<uint32_t>(bytes.size()), &part1, &bytes1, &part2,
                              &bytes2, 0),
                  DS_OK);
        std::memcpy(part1, bytes.data(), bytes1);
        if (bytes2 > 0)
            std::memcpy(part2, bytes.data() + bytes1, bytes2);
        ASSERT_EQ(buffer.Unlock(part1, bytes1, part2, bytes2), DS_OK);
    }

    // Reads the buffer's bytes back through a lock of the whole buffer.
    static std::vector<uint8_t> Contents(IDirectSoundBuffer& buffer) {
        void* part1 = nullptr;
        uint32_t bytes1 = 0;
        EXPECT_EQ(buffer.Lock(0, 0, &part1, &bytes1, nullptr, nullptr, DSBLOCK_ENTIREBUFFER),
                  DS_OK);
        const auto* begin = static_cast<const uint8_t*>(part1);
        std::vector<uint8_t> bytes(begin, begin + bytes1);
        EXPECT_EQ(buffer.Unlock(part1, 0, nullptr, 0), DS_OK);
        return bytes;
    }

    static uint32_t PlayCursor(IDirectSoundBuffer& buffer) {
        uint32_t play = 0;
        EXPECT_EQ(buffer.GetCurrentPosition(&play, nullptr), DS_OK);
        return play;
    }

    TManualSoundOutput Output;
    TScopedSoundOutput UseOutput{Output};
    IDirectSound* Sound = nullptr;
};

} // namespace SoundTesting
