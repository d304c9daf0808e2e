#include "engine/sound/MP3Stream.h"

#include <mpg123.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <mutex>

namespace Audio {

namespace {

[[noreturn]] void RaiseOpenError() {
    throw EAudioStreamError("Error opening MP3.");
}

void InitLibrary() {
    static std::once_flag once;
    std::call_once(once, [] { mpg123_init(); });
}

// libmpg123 reads the source through these.
ssize_t ReadSource(void* handle, void* buffer, size_t count) {
    const auto chunk = static_cast<int32_t>(std::min<size_t>(count, INT32_MAX));
    return static_cast<TStream*>(handle)->Read(buffer, chunk);
}

off_t SeekSource(void* handle, off_t offset, int whence) {
    auto* stream = static_cast<TStream*>(handle);
    const ClassLib::TSeekOrigin origin = whence == SEEK_SET   ? ClassLib::soFromBeginning
                                         : whence == SEEK_CUR ? ClassLib::soFromCurrent
                                                              : ClassLib::soFromEnd;
    const int64_t position = stream->Seek(offset, origin);
    return position < 0 || position > stream->GetSize() ? -1 : static_cast<off_t>(position);
}

} // namespace

void TMP3Stream::TDecoderDeleter::operator()(mpg123_handle_struct* handle) const {
    mpg123_close(handle);
    mpg123_delete(handle);
}

TMP3Stream::~TMP3Stream() {
    Close();
}

void TMP3Stream::Open(std::unique_ptr<TStream> stream, uint32_t, const TAudioFormat&) {
    Close();
    InitLibrary();
    FStreamSize = stream->GetSize();
    int error = MPG123_OK;
    FDecoder.reset(mpg123_new(nullptr, &error));
    if (!FDecoder)
        RaiseOpenError();
    mpg123_handle* decoder = FDecoder.get();
    // Whatever the file holds, 16-bit samples at its own rate and channel count.
    mpg123_param(decoder, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS, 0);
    // A layer III frame may take its data from up to 511 (MPEG-2: 255) bytes of
    // earlier frames, which at the lowest bit rates span about a dozen frames:
    // after a seek that many are decoded first, so the output matches what
    // playing from the start gives.
    mpg123_param(decoder, MPG123_PREFRAMES, 12, 0);
    mpg123_format_none(decoder);
    const long* rates = nullptr;
    size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (size_t i = 0; i < rateCount; ++i)
        mpg123_format(decoder, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_replace_reader_handle(decoder, ReadSource, SeekSource, nullptr) != MPG123_OK ||
        mpg123_open_handle(decoder, stream.get()) != MPG123_OK ||
        mpg123_getformat(decoder, &rate, &channels, &encoding) != MPG123_OK ||
        encoding != MPG123_ENC_SIGNED_16 || (channels != 1 && channels != 2) ||
        !IsSupportedFormat(static_cast<uint32_t>(rate), 16, static_cast<uint32_t>(channels))) {
        FDecoder.reset();
        RaiseOpenError();
    }
    // A later frame in another format is converted to the first one's.
    mpg123_format_none(decoder);
    mpg123_format(decoder, rate, channels, MPG123_ENC_SIGNED_16);
    const off_t length = mpg123_scan(decoder) == MPG123_OK ? mpg123_length(decoder) : -1;
    if (length <= 0) {
        FDecoder.reset();
        RaiseOpenError();
    }
    FSource = std::move(stream);
    SetFormat(static_cast<uint32_t>(rate), 16, static_cast<uint32_t>(channels));
    FLength = static_cast<uint32_t>(std::min<off_t>(length, UINT32_MAX));
    FPosition = 0;
}

void TMP3Stream::Seek(uint32_t frame) {
    if (!FDecoder || frame > FLength)
        RaisePastEnd();
    const off_t reached = mpg123_seek(FDecoder.get(), static_cast<off_t>(frame), SEEK_SET);
    if (reached < 0)
        RaisePastEnd();
    FPosition = static_cast<uint32_t>(reached);
}

uint32_t TMP3Stream::Read(void* buffer, uint32_t frames) {
    if (!FDecoder)
        return 0;
    frames = std::min(frames, FLength - FPosition);
    auto* out = static_cast<uint8_t*>(buffer);
    const size_t wanted = size_t(frames) * FFrameBytes;
    size_t total = 0;
    int idleCalls = 0;
    while (total < wanted) {
        size_t done = 0;
        const int status = mpg123_read(FDecoder.get(), out + total, wanted - total, &done);
        total += done;
        if (done > 0)
            idleCalls = 0;
        else if ((status != MPG123_OK && status != MPG123_NEW_FORMAT) || ++idleCalls > 4)
            break; // the end of the data, or nothing more can be decoded
    }
    const auto read = static_cast<uint32_t>(total / FFrameBytes);
    FPosition += read;
    return read;
}

void TMP3Stream::Close() {
    FDecoder.reset();
    FSource.reset();
}

} // namespace Audio
