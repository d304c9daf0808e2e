// A playable source of 8- or 16-bit PCM sample frames: what the sound
// framework streams into its buffers.
#pragma once

#include "engine/core/AudioStreamError.h"
#include "platform/classlib/Streams.h"

#include <cstdint>
#include <memory>

namespace Audio {

using Base::EAudioStreamError;
using ClassLib::AnsiString;
using ClassLib::TStream;

// Open mode bits.
constexpr uint32_t omRead = 0x1;
constexpr uint32_t omWrite = 0x2;
constexpr uint32_t omWholeData = 0x4;       // AX: read all sample data at once
constexpr uint32_t omNoSeekTable = 0x10000; // AX: seek by decoding from the start
constexpr uint32_t omWritePCM = 0x20000;    // AX: store PCM instead of IMA ADPCM
constexpr uint32_t omOnly16Bit = 0x40000;   // AX: accept only 16-bit input

struct TAudioFormat {
    uint32_t SampleRate = 44100;
    uint32_t BitsPerSample = 16;
    uint32_t Channels = 2;
    uint32_t FrameBytes = 4;
};

// Where a stream shared between players keeps each player's place: the owner
// saves it after a read and restores it before the next.
struct TAudioStreamState {
    uint32_t Values[16] = {};
};
static_assert(sizeof(TAudioStreamState) == 64);

constexpr uint32_t MaxSampleRate = 96000;
// True for 1..96000 Hz, 8 or 16 bits and one or two channels.
bool IsSupportedFormat(uint32_t rate, uint32_t bits, uint32_t channels);

int SamplesToMilliseconds(int samples, int rate);
int MillisecondsToSamples(int milliseconds, int rate);

class TAudioStream {
public:
    TAudioStream() = default;
    TAudioStream(const TAudioStream&) = delete;
    TAudioStream& operator=(const TAudioStream&) = delete;
    virtual ~TAudioStream() = default;

    // Takes the stream. Reading (omRead) checks the data and takes the format
    // from it; writing (omWrite) takes the format from format.
    virtual void Open(std::unique_ptr<TStream> stream, uint32_t mode,
                      const TAudioFormat& format) = 0;
    // Moves to a sample frame; beyond the length raises "Reading past end of stream.".
    virtual void Seek(uint32_t frame) = 0;
    // Fills buffer with up to frames sample frames and returns how many it gave.
    virtual uint32_t Read(void* buffer, uint32_t frames) = 0;
    virtual void Write(const void* buffer, uint32_t frames) = 0;
    // Finishes a written file and lets go of the stream.
    virtual void Close() = 0;
    virtual void SaveState(TAudioStreamState&) const {}
    virtual void RestoreState(const TAudioStreamState&) {}

    TAudioFormat Format() const { return {FSampleRate, FBitsPerSample, FChannels, FFrameBytes}; }
    uint32_t SampleRate() const { return FSampleRate; }
    uint32_t BitsPerSample() const { return FBitsPerSample; }
    uint32_t Channels() const { return FChannels; }
    uint32_t FrameBytes() const { return FFrameBytes; }
    // In sample frames.
    uint32_t Length() const { return FLength; }
    uint32_t Position() const { return FPosition; }
    // Bytes in the underlying stream.
    int64_t StreamSize() const { return FStreamSize; }

protected:
    void SetFormat(uint32_t rate, uint32_t bits, uint32_t channels);
    [[noreturn]] static void RaisePastEnd();

    uint32_t FSampleRate = 44100;
    uint32_t FBitsPerSample = 16;
    uint32_t FChannels = 2;
    uint32_t FFrameBytes = 4;
    uint32_t FLength = 0;
    uint32_t FPosition = 0;
    int64_t FStreamSize = 0;
};

} // namespace Audio
