// The game's own "AUDX" sounds: PCM or IMA ADPCM, with a table of decoder
// states every 65536 frames so that seeking in ADPCM never decodes more than that.
#pragma once

#include "engine/sound/AudioStream.h"
#include "engine/sound/ImaAdpcm.h"

#include <vector>

namespace Audio {

constexpr uint32_t axPCM = 1;
constexpr uint32_t axADPCM = 2;
constexpr uint32_t AXSeekInterval = 65536;

struct TAXHeader {
    char Signature[4]; // "AUDX"
    uint32_t Compression;
    uint32_t SampleRate;
    uint32_t Channels;
    uint32_t BitsPerSample;
    int32_t Frames;
    uint32_t DataSize;
    uint8_t Reserved[36];
};
static_assert(sizeof(TAXHeader) == 64);

// The decoder state at a multiple of AXSeekInterval frames.
struct TAXSeekEntry {
    int16_t LeftPredictor;
    int16_t LeftStepIndex;
    int16_t RightPredictor;
    int16_t RightStepIndex;
};
static_assert(sizeof(TAXSeekEntry) == 8);

class TAXStream : public TAudioStream {
public:
    TAXStream() = default;
    ~TAXStream() override;

    // Reading refuses malformed files with "Invalid AX file."; sounds shorter
    // than one block are read whole and need no stream afterwards. Writing
    // stores IMA ADPCM unless omWritePCM is set, and ADPCM only from 16-bit
    // samples ("Only 16-bit wave can be encoded.").
    void Open(std::unique_ptr<TStream> stream, uint32_t mode, const TAudioFormat& format) override;
    void Seek(uint32_t frame) override;
    // Raises "Reading past end of stream." unless all frames are there.
    uint32_t Read(void* buffer, uint32_t frames) override;
    void Write(const void* buffer, uint32_t frames) override;
    void Close() override;
    // Position, position in the block and both channels' decoder states.
    void SaveState(TAudioStreamState& state) const override;
    // A state this stream did not save (or that no longer fits its block) is "Invalid data.".
    void RestoreState(const TAudioStreamState& state) override;

    const TAXHeader& Header() const { return FHeader; }
    bool IsADPCM() const { return FHeader.Compression == axADPCM; }
    // True when all sample data was read at Open and no stream is kept.
    bool HoldsWholeData() const { return FWholeData; }

private:
    void OpenForReading(uint32_t mode);
    void OpenForWriting(uint32_t mode, const TAudioFormat& format);
    uint64_t DataBytes(uint64_t frames) const;
    void ReachFrame(uint32_t frame);
    void LoadNextBlock();
    // Moves on by frames, copying or decoding them into out unless it is null.
    void Advance(uint8_t* out, uint32_t frames);
    void DecodeFrames(uint8_t* out, uint32_t count);
    void EncodeFrames(const uint8_t* in, uint32_t count);
    void FlushBlock();
    void FinishWriting();
    void Release();

    TAXHeader FHeader{};
    std::unique_ptr<TStream> FStream;
    int64_t FDataStart = 0;
    bool FWriting = false;
    bool FWholeData = false;
    std::vector<uint8_t> FBlock;
    uint32_t FBlockSize = 0;     // frames in a full block
    uint32_t FBlockFrames = 0;   // frames in the current block
    uint32_t FBlockPosition = 0; // frames of it already used
    uint32_t FBlockFirst = 0;    // frame number of its first frame
    std::vector<TAXSeekEntry> FSeekTable;
    TImaState FLeft;
    TImaState FRight;
};

} // namespace Audio
