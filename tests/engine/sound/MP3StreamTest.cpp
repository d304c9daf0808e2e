#include "engine/sound/MP3Stream.h"
#include "tests/engine/sound/AudioTestSupport.h"
#include "tests/support/Tone.h"
#include "tools/AudioWriters.h"

#include <gtest/gtest.h>

using namespace Audio;
using namespace TestSupport;

namespace {

struct TMP3Case {
    const char* what;
    Tools::TMP3Options options;
    uint32_t frames;
    // The encoder's header frame tells the exact length; a frame too small for
    // it leaves the decoder the whole frames with the encoder's delay and padding.
    bool exactLength;
};

const TMP3Case Cases[] = {
    {"VBR stereo with an ID3 tag", {44100, 2, true, 4, 128, "Varnholt test"}, 100000, true},
    {"CBR stereo", {44100, 2, false, 4, 128, ""}, 30011, true},
    {"CBR mono without a length header", {22050, 1, false, 4, 32, ""}, 30011, false},
    {"VBR 48 kHz, low quality", {48000, 2, true, 9, 128, ""}, 20000, true},
};

// Decoder rounding after a seek may differ from a straight run by one step.
constexpr int Rounding = 1;

Bytes Encode(const TMP3Case& c) {
    const auto tone = MakeTone(c.frames, c.options.Channels, c.options.SampleRate);
    return Tools::EncodeMP3(tone.data(), c.frames, c.options);
}

} // namespace

TEST(MP3Stream, DecodesTheWholeLengthAndSeeksToTheSample) {
    for (const TMP3Case& c : Cases) {
        SCOPED_TRACE(c.what);
        const Bytes file = Encode(c);
        if (!c.options.Title.empty()) {
            EXPECT_EQ(std::string(file.begin(), file.begin() + 3), "ID3");
        }
        auto mp3 = OpenStream<TMP3Stream>(file);
        EXPECT_EQ(mp3->SampleRate(), c.options.SampleRate);
        EXPECT_EQ(mp3->Channels(), c.options.Channels);
        EXPECT_EQ(mp3->BitsPerSample(), 16u);
        EXPECT_EQ(mp3->FrameBytes(), 2 * c.options.Channels);
        if (c.exactLength)
            EXPECT_EQ(mp3->Length(), c.frames); // without the encoder's delay and padding
        else
            EXPECT_EQ(mp3->Length() % 576, 0u);
        EXPECT_GE(mp3->Length(), c.frames);
        EXPECT_EQ(mp3->StreamSize(), static_cast<int64_t>(file.size()));

        const uint32_t channels = c.options.Channels;
        const auto decoded = ReadToEnd(*mp3);
        ASSERT_EQ(decoded.size(), size_t(mp3->Length()) * channels);
        EXPECT_EQ(mp3->Position(), mp3->Length());
        for (uint32_t frame = 0; frame + 100 <= c.frames; frame += c.frames / 37 + 1) {
            mp3->Seek(frame);
            EXPECT_EQ(mp3->Position(), frame);
            EXPECT_LE(MaxDifference(ReadSamples(*mp3, 100), Slice(decoded, channels, frame, 100)),
                      Rounding)
                << frame;
        }
    }
}

TEST(MP3Stream, ReadsStopAtTheEnd) {
    const Bytes file = Encode(Cases[2]);
    auto mp3 = OpenStream<TMP3Stream>(file);
    mp3->Seek(mp3->Length() - 10);
    std::vector<int16_t> buffer(1000);
    EXPECT_EQ(mp3->Read(buffer.data(), 1000), 10u);
    EXPECT_EQ(mp3->Position(), mp3->Length());
    EXPECT_EQ(mp3->Read(buffer.data(), 1000), 0u);
    EXPECT_EQ(mp3->Position(), mp3->Length());
    EXPECT_EQ(ErrorOf([&] { mp3->Seek(mp3->Length() + 1); }), "Reading past end of stream.");
    mp3->Seek(0); // rewinding after the end, as looping does
    EXPECT_EQ(mp3->Read(buffer.data(), 10), 10u);
}

TEST(MP3Stream, OtherFilesAreRefused) {
    const auto tone = MakeTone(4000, 2);
    Bytes noise(20000);
    uint32_t seed = 12345;
    for (uint8_t& b : noise) {
        seed = seed * 1103515245u + 12345u;
        b = static_cast<uint8_t>(seed >> 24);
    }
    const Bytes mp3 = Encode(Cases[2]);
    const struct {
        const char* what;
        Bytes bytes;
    } cases[] = {
        {"empty", {}},
        {"text", Bytes(500, 'x')},
        {"silence", Bytes(20000, 0)},
        {"WAV", Tools::EncodeWAV(tone.data(), 4000, {44100, 16, 2, 4})},
        {"noise", noise},
        {"one byte of a frame", Bytes(mp3.begin(), mp3.begin() + 1)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ErrorOf([&] { OpenStream<TMP3Stream>(c.bytes); }), "Error opening MP3.")
            << c.what;
}
