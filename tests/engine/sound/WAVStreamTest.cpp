#include "engine/sound/WAVStream.h"
#include "tests/engine/sound/AudioTestSupport.h"
#include "tests/support/Tone.h"
#include "tools/AudioWriters.h"

#include <gtest/gtest.h>

using namespace Audio;
using namespace TestSupport;

namespace {

void Append(Bytes& bytes, const char* id, uint32_t size, const Bytes& body) {
    bytes.insert(bytes.end(), id, id + 4);
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<uint8_t>(size >> (8 * i)));
    bytes.insert(bytes.end(), body.begin(), body.end());
}

Bytes FmtBody(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, size_t extra = 0) {
    Bytes body(16 + extra, 0xEE);
    const auto frameBytes = static_cast<uint16_t>(channels * bits / 8);
    Put<uint16_t>(body, 0, tag);
    Put<uint16_t>(body, 2, channels);
    Put<uint32_t>(body, 4, rate);
    Put<uint32_t>(body, 8, rate * frameBytes);
    Put<uint16_t>(body, 12, frameBytes);
    Put<uint16_t>(body, 14, bits);
    return body;
}

// A RIFF file of the given chunks; riffSize 0 means the true size.
Bytes Riff(const Bytes& chunks, uint32_t riffSize = 0) {
    Bytes bytes;
    Bytes body{'W', 'A', 'V', 'E'};
    body.insert(body.end(), chunks.begin(), chunks.end());
    Append(bytes, "RIFF", riffSize ? riffSize : static_cast<uint32_t>(body.size()), body);
    return bytes;
}

} // namespace

TEST(WAVStream, WrittenFilesHaveTheStandardHeaderAndReadBack) {
    const auto tone = MakeTone(1000, 2);
    const Bytes file = Tools::EncodeWAV(tone.data(), 1000, {44100, 16, 2, 4});
    ASSERT_EQ(file.size(), 44u + 4000);
    uint32_t riffSize = 0, dataSize = 0;
    std::memcpy(&riffSize, file.data() + 4, 4);
    std::memcpy(&dataSize, file.data() + 40, 4);
    EXPECT_EQ(riffSize, 4036u);
    EXPECT_EQ(dataSize, 4000u);

    auto wav = OpenStream<TWAVStream>(file);
    EXPECT_EQ(wav->SampleRate(), 44100u);
    EXPECT_EQ(wav->FrameBytes(), 4u);
    EXPECT_EQ(wav->Length(), 1000u);
    EXPECT_EQ(wav->StreamSize(), 4044);
    EXPECT_EQ(ReadToEnd(*wav), tone);
    wav->Seek(250);
    EXPECT_EQ(ReadSamples(*wav, 10), Slice(tone, 2, 250, 10));
    wav->Seek(990);
    EXPECT_EQ(ReadSamples(*wav, 10).size(), 20u); // exactly to the end
    EXPECT_EQ(ErrorOf([&] { ReadSamples(*wav, 1); }), "Reading past end of stream.");
    EXPECT_EQ(ErrorOf([&] { wav->Seek(1001); }), "Reading past end of stream.");
}

TEST(WAVStream, ChunksAreSkippedByTheirRealSizes) {
    Bytes chunks;
    Append(chunks, "fmt ", 20, FmtBody(1, 1, 22050, 8, 4)); // a format chunk with extra bytes
    Append(chunks, "LIST", 3, {'a', 'b', 'c', 0});          // odd size, padded
    Append(chunks, "data", 5, {1, 2, 3, 4, 5});
    auto wav = OpenStream<TWAVStream>(Riff(chunks));
    EXPECT_EQ(wav->SampleRate(), 22050u);
    EXPECT_EQ(wav->Channels(), 1u);
    EXPECT_EQ(wav->BitsPerSample(), 8u);
    EXPECT_EQ(wav->FrameBytes(), 1u);
    EXPECT_EQ(wav->Length(), 5u);
    uint8_t bytes[5];
    wav->Read(bytes, 5);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[4], 5);
}

TEST(WAVStream, BadFilesAreRefused) {
    auto file = [](const Bytes& fmt, uint32_t fmtSize, uint32_t dataSize, size_t dataBytes) {
        Bytes chunks;
        Append(chunks, "fmt ", fmtSize, fmt);
        Append(chunks, "data", dataSize, Bytes(dataBytes, 0));
        return Riff(chunks);
    };
    const Bytes good = file(FmtBody(1, 2, 44100, 16), 16, 8, 8);
    Bytes bigRiff = good;
    Put<uint32_t>(bigRiff, 4, 1000);
    Bytes notWave = good;
    notWave[8] = 'X';
    Bytes listFirst;
    Append(listFirst, "LIST", 0, {});
    Append(listFirst, "fmt ", 16, FmtBody(1, 2, 44100, 16));
    Bytes oddChunkAtEnd;
    Append(oddChunkAtEnd, "fmt ", 16, FmtBody(1, 2, 44100, 16));
    Append(oddChunkAtEnd, "junk", 0x7FFFFFF0, {});

    const struct {
        const char* what;
        Bytes bytes;
        const char* message;
    } cases[] = {
        {"compressed", file(FmtBody(2, 2, 44100, 4), 16, 8, 8),
         "Compressed WAV files are not supported."},
        {"empty", {}, "Invalid WAV file."},
        {"truncated", Bytes(good.begin(), good.begin() + 20), "Invalid WAV file."},
        {"RIFF size beyond the file", bigRiff, "Invalid WAV file."},
        {"not WAVE", notWave, "Invalid WAV file."},
        {"format chunk not first", Riff(listFirst), "Invalid WAV file."},
        {"format chunk too short", file(Bytes(14, 0), 14, 8, 8), "Invalid WAV file."},
        {"format chunk beyond the file", file(FmtBody(1, 2, 44100, 16), 4000, 8, 8),
         "Invalid WAV file."},
        {"chunk beyond the file", Riff(oddChunkAtEnd), "Invalid WAV file."},
        {"no data chunk", Riff(Bytes(good.begin() + 12, good.begin() + 36)), "Invalid WAV file."},
        {"data beyond the file", file(FmtBody(1, 2, 44100, 16), 16, 9, 8), "Invalid WAV file."},
        {"96001 Hz", file(FmtBody(1, 2, 96001, 16), 16, 8, 8), "Invalid WAV file."},
        {"0 Hz", file(FmtBody(1, 2, 0, 16), 16, 8, 8), "Invalid WAV file."},
        {"24 bits", file(FmtBody(1, 2, 44100, 24), 16, 12, 12), "Invalid WAV file."},
        {"3 channels", file(FmtBody(1, 3, 44100, 16), 16, 12, 12), "Invalid WAV file."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ErrorOf([&] { OpenStream<TWAVStream>(c.bytes); }), c.message) << c.what;
    EXPECT_NO_THROW(OpenStream<TWAVStream>(good));
}
