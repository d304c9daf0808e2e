// Helpers shared by the sound tests: opening streams over bytes, reading them
// whole, and catching the audio errors' messages.
#pragma once

#include "engine/sound/AudioStream.h"
#include "platform/classlib/Exception.h"
#include "tests/support/ErrorOf.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace TestSupport {

using Bytes = std::vector<uint8_t>;

inline std::unique_ptr<ClassLib::TMemoryStream> MemoryStream(Bytes bytes) {
    return std::make_unique<ClassLib::TMemoryStream>(std::move(bytes));
}

template <typename Stream>
std::unique_ptr<Stream> OpenStream(Bytes bytes, uint32_t mode = Audio::omRead) {
    auto stream = std::make_unique<Stream>();
    stream->Open(MemoryStream(std::move(bytes)), mode, Audio::TAudioFormat{});
    return stream;
}

// frames sample frames from the current position, as 16-bit samples.
inline std::vector<int16_t> ReadSamples(Audio::TAudioStream& stream, uint32_t frames) {
    std::vector<int16_t> samples(size_t(frames) * stream.Channels());
    const uint32_t got = stream.Read(samples.data(), frames);
    samples.resize(size_t(got) * stream.Channels());
    return samples;
}

inline std::vector<int16_t> ReadToEnd(Audio::TAudioStream& stream) {
    return ReadSamples(stream, stream.Length() - stream.Position());
}

inline std::vector<int16_t> Slice(const std::vector<int16_t>& samples, uint32_t channels,
                                  uint32_t first, uint32_t frames) {
    const auto begin = samples.begin() + ptrdiff_t(first) * channels;
    return {begin, begin + ptrdiff_t(frames) * channels};
}

// The largest difference between two equally long sample runs; a run shifted by
// even one frame of a tone differs by far more than decoder rounding.
inline int MaxDifference(const std::vector<int16_t>& a, const std::vector<int16_t>& b) {
    if (a.size() != b.size())
        return 65536;
    int most = 0;
    for (size_t i = 0; i < a.size(); ++i)
        most = std::max(most, std::abs(int(a[i]) - int(b[i])));
    return most;
}

template <typename T>
void Put(Bytes& bytes, size_t offset, T value) {
    std::memcpy(bytes.data() + offset, &value, sizeof value);
}

} // namespace TestSupport
