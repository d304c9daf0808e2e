// MPEG audio (layers I to III) decoded by libmpg123 into 16-bit PCM at the
// file's own rate and channel count.
#pragma once

#include "engine/sound/AudioStream.h"

struct mpg123_handle_struct;

namespace Audio {

class TMP3Stream : public TAudioStream {
public:
    TMP3Stream() = default;
    ~TMP3Stream() override;

    // A stream in which no MPEG frame is found raises "Error opening MP3.". The
    // length is the exact number of decoded sample frames.
    void Open(std::unique_ptr<TStream> stream, uint32_t mode, const TAudioFormat& format) override;
    // Exact to the sample frame, also for variable bit rates and tagged files;
    // beyond the length raises "Reading past end of stream.".
    void Seek(uint32_t frame) override;
    // Fewer frames than asked at the end of the data.
    uint32_t Read(void* buffer, uint32_t frames) override;
    void Write(const void*, uint32_t) override {}
    void Close() override;

private:
    struct TDecoderDeleter {
        void operator()(mpg123_handle_struct* handle) const;
    };

    std::unique_ptr<TStream> FSource;
    std::unique_ptr<mpg123_handle_struct, TDecoderDeleter> FDecoder;
};

} // namespace Audio
