#include "engine/sound/WAVStream.h"

#include <cstring>

namespace Audio {

namespace {

constexpr int64_t HeaderSize = 44;

struct TChunkHeader {
    char ID[4];
    uint32_t Size;
};
static_assert(sizeof(TChunkHeader) == 8);

// The leading fields of the "fmt " chunk; a longer chunk carries more after them.
struct TWaveFormat {
    uint16_t FormatTag;
    uint16_t Channels;
    uint32_t SamplesPerSec;
    uint32_t AvgBytesPerSec;
    uint16_t BlockAlign;
    uint16_t BitsPerSample;
};
static_assert(sizeof(TWaveFormat) == 16);

struct TWaveHeader {
    TChunkHeader Riff;
    char Wave[4];
    TChunkHeader Fmt;
    TWaveFormat Format;
    TChunkHeader Data;
};
static_assert(sizeof(TWaveHeader) == HeaderSize);

[[noreturn]] void RaiseInvalidWAV() {
    throw EAudioStreamError("Invalid WAV file.");
}

void CheckWAV(bool condition) {
    if (!condition)
        RaiseInvalidWAV();
}

bool Is(const char (&id)[4], const char* expected) {
    return std::memcmp(id, expected, 4) == 0;
}

// Reads a chunk header when one fits before the end.
TChunkHeader ReadChunkHeader(TStream& stream) {
    CheckWAV(stream.Remaining() >= static_cast<int64_t>(sizeof(TChunkHeader)));
    return stream.ReadValue<TChunkHeader>();
}

// Chunk bodies are padded to an even size.
void SkipChunk(TStream& stream, uint32_t size) {
    const int64_t padded = int64_t(size) + (size & 1);
    CheckWAV(padded <= stream.Remaining());
    stream.Seek(padded, ClassLib::soFromCurrent);
}

} // namespace

TWAVStream::~TWAVStream() {
    try {
        Close();
    } catch (...) {
        // A header that cannot be written here is lost; Close reports it when called.
    }
}

void TWAVStream::Open(std::unique_ptr<TStream> stream, uint32_t mode, const TAudioFormat& format) {
    Close();
    FStream = std::move(stream);
    FStreamSize = FStream->GetSize();
    FLength = 0;
    FPosition = 0;
    try {
        if (mode & omWrite) {
            CheckWAV(IsSupportedFormat(format.SampleRate, format.BitsPerSample, format.Channels));
            SetFormat(format.SampleRate, format.BitsPerSample, format.Channels);
            FDataStart = HeaderSize;
            FStream->SetPosition(HeaderSize);
            FWriting = true;
        } else {
            OpenForReading();
        }
    } catch (...) {
        FStream.reset();
        throw;
    }
}

void TWAVStream::OpenForReading() {
    TStream& stream = *FStream;
    stream.SetPosition(0);
    const TChunkHeader riff = ReadChunkHeader(stream);
    CheckWAV(Is(riff.ID, "RIFF") && riff.Size <= stream.Remaining());
    CheckWAV(stream.Remaining() >= 4);
    char wave[4];
    stream.ReadBuffer(wave, 4);
    CheckWAV(Is(wave, "WAVE"));

    const TChunkHeader fmt = ReadChunkHeader(stream);
    CheckWAV(Is(fmt.ID, "fmt ") && fmt.Size >= sizeof(TWaveFormat) &&
             fmt.Size <= stream.Remaining());
    const int64_t fmtStart = stream.GetPosition();
    const auto format = stream.ReadValue<TWaveFormat>();
    if (format.FormatTag != 1)
        throw EAudioStreamError("Compressed WAV files are not supported.");
    stream.SetPosition(fmtStart);
    SkipChunk(stream, fmt.Size);

    TChunkHeader chunk = ReadChunkHeader(stream);
    while (!Is(chunk.ID, "data")) {
        SkipChunk(stream, chunk.Size);
        chunk = ReadChunkHeader(stream);
    }
    CheckWAV(chunk.Size <= stream.Remaining());
    CheckWAV(IsSupportedFormat(format.SamplesPerSec, format.BitsPerSample, format.Channels));
    SetFormat(format.SamplesPerSec, format.BitsPerSample, format.Channels);
    FLength = chunk.Size / FFrameBytes;
    FPosition = 0;
    FDataStart = stream.GetPosition();
    FWriting = false;
}

void TWAVStream::Seek(uint32_t frame) {
    if (frame > FLength && !FWriting)
        RaisePastEnd();
    FStream->SetPosition(FDataStart + int64_t(frame) * FFrameBytes);
    FPosition = frame;
}

uint32_t TWAVStream::Read(void* buffer, uint32_t frames) {
    if (uint64_t(FPosition) + frames > FLength)
        RaisePastEnd();
    FStream->ReadBuffer(buffer, int64_t(frames) * FFrameBytes);
    FPosition += frames;
    return frames;
}

void TWAVStream::Write(const void* buffer, uint32_t frames) {
    const int64_t bytes = int64_t(frames) * FFrameBytes;
    if ((int64_t(FPosition) + frames) * FFrameBytes > int64_t(UINT32_MAX) - 36)
        throw EAudioStreamError("WAV file too large.");
    FStream->WriteBuffer(buffer, bytes);
    FPosition += frames;
    FLength = FPosition;
}

void TWAVStream::WriteHeader() {
    const uint32_t dataBytes = FLength * FFrameBytes;
    TWaveHeader header{};
    std::memcpy(header.Riff.ID, "RIFF", 4);
    header.Riff.Size = dataBytes + 36;
    std::memcpy(header.Wave, "WAVE", 4);
    std::memcpy(header.Fmt.ID, "fmt ", 4);
    header.Fmt.Size = sizeof(TWaveFormat);
    header.Format.FormatTag = 1;
    header.Format.Channels = static_cast<uint16_t>(FChannels);
    header.Format.SamplesPerSec = FSampleRate;
    header.Format.AvgBytesPerSec = FSampleRate * FFrameBytes;
    header.Format.BlockAlign = static_cast<uint16_t>(FFrameBytes);
    header.Format.BitsPerSample = static_cast<uint16_t>(FBitsPerSample);
    std::memcpy(header.Data.ID, "data", 4);
    header.Data.Size = dataBytes;
    FStream->SetPosition(0);
    FStream->WriteBuffer(&header, sizeof header);
}

void TWAVStream::Close() {
    if (!FStream)
        return;
    if (FWriting) {
        FWriting = false;
        try {
            WriteHeader();
        } catch (...) {
            FStream.reset();
            throw;
        }
    }
    FStream.reset();
}

} // namespace Audio
