#include "engine/sound/AXStream.h"

#include "engine/core/InvalidData.h"

#include <algorithm>
#include <cstring>

namespace Audio {

namespace {

constexpr uint32_t BlockBytes = 4096;
constexpr int64_t HeaderSize = sizeof(TAXHeader);
constexpr int64_t MaxFrames = INT32_MAX;

[[noreturn]] void RaiseInvalidAX() {
    throw EAudioStreamError("Invalid AX file.");
}

void CheckAX(bool condition) {
    if (!condition)
        RaiseInvalidAX();
}

int16_t LoadSample(const uint8_t* bytes) {
    return static_cast<int16_t>(bytes[0] | (bytes[1] << 8));
}

void StoreSample(uint8_t* bytes, int16_t sample) {
    bytes[0] = static_cast<uint8_t>(sample & 0xFF);
    bytes[1] = static_cast<uint8_t>((sample >> 8) & 0xFF);
}

bool IsValidState(int32_t predictor, int32_t stepIndex) {
    return predictor >= -32768 && predictor <= 32767 && stepIndex >= 0 &&
           stepIndex <= ImaMaxStepIndex;
}

TAXSeekEntry SeekEntry(const TImaState& left, const TImaState& right) {
    return {static_cast<int16_t>(left.Predictor), static_cast<int16_t>(left.StepIndex),
            static_cast<int16_t>(right.Predictor), static_cast<int16_t>(right.StepIndex)};
}

} // namespace

TAXStream::~TAXStream() {
    try {
        Close();
    } catch (...) {
        // A file that cannot be finished here is lost; Close reports it when called.
    }
}

uint64_t TAXStream::DataBytes(uint64_t frames) const {
    return IsADPCM() ? (frames * FChannels + 1) / 2 : frames * FFrameBytes;
}

void TAXStream::Open(std::unique_ptr<TStream> stream, uint32_t mode, const TAudioFormat& format) {
    Close();
    FStream = std::move(stream);
    FStreamSize = FStream->GetSize();
    FLeft = {};
    FRight = {};
    try {
        if (mode & omWrite)
            OpenForWriting(mode, format);
        else
            OpenForReading(mode);
    } catch (...) {
        Release();
        FHeader = {};
        throw;
    }
}

void TAXStream::OpenForReading(uint32_t mode) {
    TStream& stream = *FStream;
    CheckAX(FStreamSize >= HeaderSize);
    stream.SetPosition(0);
    stream.ReadBuffer(&FHeader, HeaderSize);
    const TAXHeader& h = FHeader;
    CheckAX(std::memcmp(h.Signature, "AUDX", 4) == 0 && h.Frames >= 0);
    CheckAX(h.Compression == axPCM || h.Compression == axADPCM);
    CheckAX(h.Compression == axPCM || h.BitsPerSample == 16);
    CheckAX(IsSupportedFormat(h.SampleRate, h.BitsPerSample, h.Channels));
    SetFormat(h.SampleRate, h.BitsPerSample, h.Channels);
    const auto frames = static_cast<uint32_t>(h.Frames);
    CheckAX(h.DataSize == DataBytes(frames));
    const uint32_t seekEntries =
        IsADPCM() && frames > 0 ? (frames + AXSeekInterval - 1) / AXSeekInterval : 0;
    CheckAX(FStreamSize - HeaderSize >=
            int64_t(h.DataSize) + int64_t(seekEntries) * int64_t(sizeof(TAXSeekEntry)));
    FLength = frames;
    FDataStart = HeaderSize;

    if (seekEntries > 0 && !(mode & omNoSeekTable)) {
        FSeekTable.resize(seekEntries);
        stream.SetPosition(FDataStart + h.DataSize);
        stream.ReadBuffer(FSeekTable.data(), int64_t(seekEntries) * int64_t(sizeof(TAXSeekEntry)));
        for (const TAXSeekEntry& e : FSeekTable)
            CheckAX(IsValidState(e.LeftPredictor, e.LeftStepIndex) &&
                    IsValidState(e.RightPredictor, e.RightStepIndex));
    }

    FBlockSize = IsADPCM() ? BlockBytes * 2 / FChannels : BlockBytes / FFrameBytes;
    stream.SetPosition(FDataStart);
    if (FBlockSize > FLength || (mode & omWholeData)) {
        FBlockSize = FLength;
        FBlockFrames = FLength;
        FBlock.resize(h.DataSize);
        stream.ReadBuffer(FBlock.data(), h.DataSize);
        FStream.reset();
        FWholeData = true;
    } else {
        FBlock.resize(BlockBytes);
    }
}

void TAXStream::OpenForWriting(uint32_t mode, const TAudioFormat& format) {
    const bool pcm = mode & omWritePCM;
    if ((!pcm || (mode & omOnly16Bit)) && format.BitsPerSample != 16)
        throw EAudioStreamError("Only 16-bit wave can be encoded.");
    CheckAX(IsSupportedFormat(format.SampleRate, format.BitsPerSample, format.Channels));
    FHeader = {};
    std::memcpy(FHeader.Signature, "AUDX", 4);
    FHeader.Compression = pcm ? axPCM : axADPCM;
    FHeader.SampleRate = format.SampleRate;
    FHeader.Channels = format.Channels;
    FHeader.BitsPerSample = format.BitsPerSample;
    SetFormat(format.SampleRate, format.BitsPerSample, format.Channels);
    FSeekTable.assign(1, TAXSeekEntry{});
    FBlock.assign(BlockBytes, 0);
    FBlockSize = IsADPCM() ? BlockBytes * 2 / FChannels : BlockBytes / FFrameBytes;
    FDataStart = HeaderSize;
    FStream->SetPosition(HeaderSize);
    FWriting = true;
}

void TAXStream::LoadNextBlock() {
    FBlockFirst += FBlockFrames;
    FBlockPosition = 0;
    FBlockFrames = std::min(FBlockSize, FLength - FBlockFirst);
    if (!FStream || FBlockFrames == 0)
        RaisePastEnd();
    FStream->ReadBuffer(FBlock.data(), static_cast<int64_t>(DataBytes(FBlockFrames)));
}

void TAXStream::DecodeFrames(uint8_t* out, uint32_t count) {
    const uint32_t end = FBlockPosition + count;
    if (FChannels == 1) {
        for (uint32_t f = FBlockPosition; f < end; ++f) {
            const uint8_t byte = FBlock[f >> 1];
            const int16_t sample = DecodeImaSample(FLeft, (f & 1) ? byte >> 4 : byte & 15);
            if (out) {
                StoreSample(out, sample);
                out += 2;
            }
        }
    } else {
        for (uint32_t f = FBlockPosition; f < end; ++f) {
            const uint8_t byte = FBlock[f];
            const int16_t left = DecodeImaSample(FLeft, byte & 15);
            const int16_t right = DecodeImaSample(FRight, byte >> 4);
            if (out) {
                StoreSample(out, left);
                StoreSample(out + 2, right);
                out += 4;
            }
        }
    }
}

void TAXStream::Advance(uint8_t* out, uint32_t frames) {
    while (frames > 0) {
        if (FBlockPosition >= FBlockFrames)
            LoadNextBlock();
        const uint32_t n = std::min(frames, FBlockFrames - FBlockPosition);
        if (IsADPCM())
            DecodeFrames(out, n);
        else if (out)
            std::memcpy(out, FBlock.data() + size_t(FBlockPosition) * FFrameBytes,
                        size_t(n) * FFrameBytes);
        if (out)
            out += size_t(n) * FFrameBytes;
        FBlockPosition += n;
        FPosition += n;
        frames -= n;
    }
}

uint32_t TAXStream::Read(void* buffer, uint32_t frames) {
    if (FWriting || uint64_t(FPosition) + frames > FLength)
        RaisePastEnd();
    Advance(static_cast<uint8_t*>(buffer), frames);
    return frames;
}

void TAXStream::ReachFrame(uint32_t frame) {
    if (FWholeData || (frame >= FBlockFirst && frame - FBlockFirst <= FBlockFrames)) {
        FBlockPosition = frame - FBlockFirst;
        return;
    }
    FBlockFirst = frame;
    FBlockFrames = 0;
    FBlockPosition = 0;
    FStream->SetPosition(FDataStart + static_cast<int64_t>(DataBytes(frame)));
}

void TAXStream::Seek(uint32_t frame) {
    if (FWriting || frame > FLength)
        RaisePastEnd();
    if (frame == FPosition)
        return;
    if (!IsADPCM()) {
        ReachFrame(frame);
        FPosition = frame;
        return;
    }
    // Decode forward from the nearest known state: a seek-table entry, the
    // current position, or the start.
    uint32_t base = 0;
    TImaState left, right;
    if (!FSeekTable.empty()) {
        const size_t index = std::min<size_t>(frame / AXSeekInterval, FSeekTable.size() - 1);
        const TAXSeekEntry& e = FSeekTable[index];
        base = static_cast<uint32_t>(index) * AXSeekInterval;
        left = {e.LeftPredictor, e.LeftStepIndex};
        right = {e.RightPredictor, e.RightStepIndex};
    }
    if (FPosition >= base && FPosition <= frame) {
        base = FPosition;
        left = FLeft;
        right = FRight;
    }
    if (base != FPosition)
        ReachFrame(base);
    FPosition = base;
    FLeft = left;
    FRight = right;
    Advance(nullptr, frame - base);
}

void TAXStream::EncodeFrames(const uint8_t* in, uint32_t count) {
    const uint32_t end = FBlockFrames + count;
    for (uint32_t f = FBlockFrames; f < end; ++f) {
        if (FChannels == 1) {
            const uint8_t code = EncodeImaSample(FLeft, LoadSample(in));
            in += 2;
            if (f & 1)
                FBlock[f >> 1] = static_cast<uint8_t>(FBlock[f >> 1] | (code << 4));
            else
                FBlock[f >> 1] = code;
        } else {
            const uint8_t left = EncodeImaSample(FLeft, LoadSample(in));
            const uint8_t right = EncodeImaSample(FRight, LoadSample(in + 2));
            in += 4;
            FBlock[f] = static_cast<uint8_t>(left | (right << 4));
        }
    }
}

void TAXStream::FlushBlock() {
    FStream->WriteBuffer(FBlock.data(), static_cast<int64_t>(DataBytes(FBlockFrames)));
    FBlockFrames = 0;
}

void TAXStream::Write(const void* buffer, uint32_t frames) {
    if (!FWriting)
        return;
    if (int64_t(FLength) + frames > MaxFrames || DataBytes(uint64_t(FLength) + frames) > UINT32_MAX)
        throw EAudioStreamError("Sound data too large.");
    const auto* in = static_cast<const uint8_t*>(buffer);
    while (frames > 0) {
        uint32_t n = std::min(frames, FBlockSize - FBlockFrames);
        if (IsADPCM()) {
            // A seek-table state is taken exactly at every multiple of the interval.
            n = std::min(n, AXSeekInterval - FLength % AXSeekInterval);
            EncodeFrames(in, n);
        } else {
            std::memcpy(FBlock.data() + size_t(FBlockFrames) * FFrameBytes, in,
                        size_t(n) * FFrameBytes);
        }
        in += size_t(n) * FFrameBytes;
        FBlockFrames += n;
        FLength += n;
        FPosition = FLength;
        frames -= n;
        if (IsADPCM() && FLength % AXSeekInterval == 0)
            FSeekTable.push_back(SeekEntry(FLeft, FRight));
        if (FBlockFrames == FBlockSize)
            FlushBlock();
    }
}

void TAXStream::FinishWriting() {
    if (FBlockFrames > 0)
        FlushBlock();
    if (IsADPCM() && FLength > 0) {
        const size_t entries = (size_t(FLength) + AXSeekInterval - 1) / AXSeekInterval;
        FStream->WriteBuffer(FSeekTable.data(), int64_t(entries * sizeof(TAXSeekEntry)));
    }
    FHeader.Frames = static_cast<int32_t>(FLength);
    FHeader.DataSize = static_cast<uint32_t>(DataBytes(FLength));
    FStream->SetPosition(0);
    FStream->WriteBuffer(&FHeader, HeaderSize);
}

void TAXStream::Close() {
    const bool writing = FWriting && FStream;
    FWriting = false;
    try {
        if (writing)
            FinishWriting();
    } catch (...) {
        Release();
        throw;
    }
    Release();
}

void TAXStream::Release() {
    FStream.reset();
    FBlock.clear();
    FBlock.shrink_to_fit();
    FSeekTable.clear();
    FWholeData = false;
    FLength = FPosition = 0;
    FBlockFirst = FBlockFrames = FBlockPosition = 0;
}

void TAXStream::SaveState(TAudioStreamState& state) const {
    state = {};
    state.Values[0] = FPosition;
    state.Values[1] = FBlockPosition;
    state.Values[2] = static_cast<uint32_t>(FLeft.Predictor);
    state.Values[3] = static_cast<uint32_t>(FLeft.StepIndex);
    state.Values[4] = static_cast<uint32_t>(FRight.Predictor);
    state.Values[5] = static_cast<uint32_t>(FRight.StepIndex);
}

void TAXStream::RestoreState(const TAudioStreamState& state) {
    const uint32_t position = state.Values[0];
    const uint32_t blockPosition = state.Values[1];
    const TImaState left{static_cast<int32_t>(state.Values[2]),
                         static_cast<int32_t>(state.Values[3])};
    const TImaState right{static_cast<int32_t>(state.Values[4]),
                          static_cast<int32_t>(state.Values[5])};
    Data::CheckData(!FWriting && position <= FLength && blockPosition <= FBlockFrames &&
                    uint64_t(FBlockFirst) + blockPosition == position &&
                    IsValidState(left.Predictor, left.StepIndex) &&
                    IsValidState(right.Predictor, right.StepIndex));
    FPosition = position;
    FBlockPosition = blockPosition;
    FLeft = left;
    FRight = right;
}

} // namespace Audio
