// RIFF/WAVE files holding PCM, read and written.
#pragma once

#include "engine/sound/AudioStream.h"

namespace Audio {

class TWAVStream : public TAudioStream {
public:
    TWAVStream() = default;
    ~TWAVStream() override;

    // Reading refuses compressed files with "Compressed WAV files are not
    // supported." and anything else malformed with "Invalid WAV file.". Writing
    // leaves room for the header, which Close fills in.
    void Open(std::unique_ptr<TStream> stream, uint32_t mode, const TAudioFormat& format) override;
    void Seek(uint32_t frame) override;
    // Raises "Reading past end of stream." unless all frames are there.
    uint32_t Read(void* buffer, uint32_t frames) override;
    void Write(const void* buffer, uint32_t frames) override;
    void Close() override;

private:
    void OpenForReading();
    void WriteHeader();

    std::unique_ptr<TStream> FStream;
    int64_t FDataStart = 0;
    bool FWriting = false;
};

} // namespace Audio
