// Sound files made from 16- or 8-bit PCM through the game's own stream writers,
// sound libraries ("AUDL") and MP3 files.
#pragma once

#include "engine/sound/AudioStream.h"
#include "tools/ArchiveWriter.h"

#include <cstdint>
#include <vector>

namespace Tools {

// A WAV file of frames sample frames in format.
TBytes EncodeWAV(const void* samples, uint32_t frames, const Audio::TAudioFormat& format);
// An AX file: IMA ADPCM, or PCM when mode holds Audio::omWritePCM.
TBytes EncodeAX(const void* samples, uint32_t frames, const Audio::TAudioFormat& format,
                uint32_t mode);

struct TMP3Options {
    uint32_t SampleRate = 44100;
    uint32_t Channels = 2;
    // Variable bit rate by quality (0 best .. 9), else a constant bit rate in kbit/s.
    bool VariableBitRate = true;
    int Quality = 4;
    int BitRate = 128;
    // When not empty, an ID3v2 tag with this title goes in front.
    AnsiString Title;
};
// An MP3 file of interleaved 16-bit samples, with the encoder's header frame
// that tells decoders the exact length.
TBytes EncodeMP3(const int16_t* samples, uint32_t frames, const TMP3Options& options);

// Builds a sound library: entries sorted by ID (equal IDs keep their order),
// each sound's bytes after the directory in the same order.
class TAudioListWriter {
public:
    // type is Audio::alAX or Audio::alMP3.
    void Add(uint32_t id, uint8_t type, TBytes data);
    TBytes Build() const;

private:
    struct TSound {
        uint32_t ID;
        uint8_t Type;
        TBytes Data;
    };
    std::vector<TSound> FSounds;
};

} // namespace Tools
