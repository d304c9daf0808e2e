#include "engine/sound/AXStream.h"
#include "tests/engine/sound/AudioTestSupport.h"
#include "tests/support/Tone.h"
#include "tools/AudioWriters.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace Audio;
using namespace TestSupport;

namespace {

const TAudioFormat Stereo16{44100, 16, 2, 4};
const TAudioFormat Mono16{22050, 16, 1, 2};

Bytes ADPCM(const std::vector<int16_t>& tone, const TAudioFormat& format) {
    return Tools::EncodeAX(tone.data(), static_cast<uint32_t>(tone.size() / format.Channels),
                           format, 0);
}

TAXHeader HeaderOf(const Bytes& file) {
    TAXHeader header;
    std::memcpy(&header, file.data(), sizeof header);
    return header;
}

// Signal to noise ratio of decoded against original, in dB.
double SNR(const std::vector<int16_t>& original, const std::vector<int16_t>& decoded) {
    double signal = 0, noise = 0;
    for (size_t i = 0; i < original.size(); ++i) {
        signal += double(original[i]) * original[i];
        noise += (double(original[i]) - decoded[i]) * (double(original[i]) - decoded[i]);
    }
    return 10 * std::log10(signal / std::max(noise, 1.0));
}

} // namespace

TEST(ImaAdpcm, FollowsTheStandardTables) {
    TImaState state;
    EXPECT_EQ(DecodeImaSample(state, 7), 11); // step 7: 7/8 + 7 + 7/2 + 7/4
    EXPECT_EQ(state.StepIndex, 8);
    EXPECT_EQ(DecodeImaSample(state, 15), -19); // step 16, negative: 2 + 16 + 8 + 4
    EXPECT_EQ(state.StepIndex, 16);
    EXPECT_EQ(DecodeImaSample(state, 0), -15); // step 34: 34/8
    EXPECT_EQ(state.StepIndex, 15);
    TImaState top{32760, 88};
    EXPECT_EQ(DecodeImaSample(top, 7), 32767);
    EXPECT_EQ(top.StepIndex, 88);
    TImaState bottom{0, 0};
    DecodeImaSample(bottom, 8);
    EXPECT_EQ(bottom.StepIndex, 0);
    // The encoder lands where the decoder does.
    TImaState encoder, decoder;
    for (const int16_t sample : MakeTone(500, 1))
        EXPECT_EQ(DecodeImaSample(decoder, EncodeImaSample(encoder, sample)), encoder.Predictor);
}

TEST(AXStream, PCMRoundTripsWholeAndStreamed) {
    const auto tone = MakeTone(5000, 2);
    const Bytes file = Tools::EncodeAX(tone.data(), 5000, Stereo16, omWritePCM);
    const TAXHeader header = HeaderOf(file);
    EXPECT_EQ(header.Compression, axPCM);
    EXPECT_EQ(header.Frames, 5000);
    EXPECT_EQ(header.DataSize, 20000u);
    EXPECT_EQ(file.size(), 64u + 20000);

    for (const uint32_t mode : {omRead, omRead | omWholeData}) {
        auto ax = OpenStream<TAXStream>(file, mode);
        EXPECT_EQ(ax->HoldsWholeData(), mode != omRead);
        EXPECT_EQ(ax->Length(), 5000u);
        EXPECT_EQ(ReadToEnd(*ax), tone);
        for (const uint32_t frame : {4999u, 0u, 1024u, 1023u, 2500u, 1030u}) {
            ax->Seek(frame);
            EXPECT_EQ(ReadSamples(*ax, 1), Slice(tone, 2, frame, 1)) << frame;
        }
        ax->Seek(5000);
        EXPECT_EQ(ErrorOf([&] { ReadSamples(*ax, 1); }), "Reading past end of stream.");
        EXPECT_EQ(ErrorOf([&] { ax->Seek(5001); }), "Reading past end of stream.");
    }

    Bytes bytes8(3000);
    for (size_t i = 0; i < bytes8.size(); ++i)
        bytes8[i] = static_cast<uint8_t>(i * 7);
    auto mono8 =
        OpenStream<TAXStream>(Tools::EncodeAX(bytes8.data(), 3000, {8000, 8, 1, 1}, omWritePCM));
    EXPECT_TRUE(mono8->HoldsWholeData()); // shorter than one block
    Bytes back(3000);
    mono8->Read(back.data(), 3000);
    EXPECT_EQ(back, bytes8);
}

TEST(AXStream, ADPCMKeepsTheSoundAndSeeksToTheFrame) {
    const uint32_t frames = 3 * AXSeekInterval + 12345;
    for (const TAudioFormat& format : {Stereo16, Mono16}) {
        const auto tone = MakeTone(frames, format.Channels, format.SampleRate);
        const Bytes file = ADPCM(tone, format);
        const TAXHeader header = HeaderOf(file);
        EXPECT_EQ(header.Compression, axADPCM);
        EXPECT_EQ(header.DataSize, (frames * format.Channels + 1) / 2);
        EXPECT_EQ(file.size(), 64u + header.DataSize + 4 * sizeof(TAXSeekEntry));

        auto ax = OpenStream<TAXStream>(file);
        EXPECT_FALSE(ax->HoldsWholeData());
        EXPECT_EQ(ax->FrameBytes(), 2 * format.Channels);
        const auto decoded = ReadToEnd(*ax);
        ASSERT_EQ(decoded.size(), tone.size());
        EXPECT_GT(SNR(tone, decoded), 25.0);

        // Every way of reaching a frame gives the frames a straight read gave.
        for (const uint32_t mode : {omRead, omRead | omNoSeekTable, omRead | omWholeData}) {
            auto seeker = OpenStream<TAXStream>(file, mode);
            for (const uint32_t frame :
                 {frames - 7, 1u, 65535u, 65536u, 65537u, 2 * AXSeekInterval + 8191, 8192u, 0u,
                  100000u, 100001u, 3 * AXSeekInterval}) {
                seeker->Seek(frame);
                EXPECT_EQ(ReadSamples(*seeker, 7), Slice(decoded, format.Channels, frame, 7))
                    << "frame " << frame << " mode " << mode;
            }
        }
    }
}

TEST(AXStream, MonoReadsContinueMidByte) {
    const auto tone = MakeTone(20001, 1, 22050);
    const Bytes file = ADPCM(tone, Mono16);
    auto whole = OpenStream<TAXStream>(file);
    const auto decoded = ReadToEnd(*whole);
    auto ax = OpenStream<TAXStream>(file);
    std::vector<int16_t> pieces;
    for (const uint32_t n : {1u, 2u, 8190u, 3u, 11805u}) {
        const auto part = ReadSamples(*ax, n);
        pieces.insert(pieces.end(), part.begin(), part.end());
    }
    EXPECT_EQ(pieces, decoded);
}

TEST(AXStream, SeekTableHasOneStatePerInterval) {
    for (const uint32_t frames : {1u, AXSeekInterval, AXSeekInterval + 1}) {
        const auto tone = MakeTone(frames, 1, 22050);
        const Bytes file = ADPCM(tone, Mono16);
        const size_t entries = (frames + AXSeekInterval - 1) / AXSeekInterval;
        EXPECT_EQ(file.size(), 64u + (frames + 1) / 2 + entries * 8) << frames;
        EXPECT_TRUE(std::all_of(file.end() - 8 * ptrdiff_t(entries),
                                file.end() - 8 * ptrdiff_t(entries - 1),
                                [](uint8_t b) { return b == 0; }));
    }
    EXPECT_EQ(Tools::EncodeAX(nullptr, 0, Mono16, 0).size(), 64u); // no table when empty
}

TEST(AXStream, SharedStreamsKeepEachReadersPlace) {
    const auto tone = MakeTone(3000, 2);
    const Bytes file = ADPCM(tone, Stereo16);
    auto reference = OpenStream<TAXStream>(file);
    const auto decoded = ReadToEnd(*reference);

    auto shared = OpenStream<TAXStream>(file, omRead | omWholeData);
    TAudioStreamState first, second;
    shared->SaveState(first);
    shared->Seek(1000);
    shared->SaveState(second);
    std::vector<int16_t> a, b;
    for (int round = 0; round < 4; ++round) {
        shared->RestoreState(first);
        const auto pa = ReadSamples(*shared, 250);
        a.insert(a.end(), pa.begin(), pa.end());
        shared->SaveState(first);
        shared->RestoreState(second);
        const auto pb = ReadSamples(*shared, 300);
        b.insert(b.end(), pb.begin(), pb.end());
        shared->SaveState(second);
    }
    EXPECT_EQ(a, Slice(decoded, 2, 0, 1000));
    EXPECT_EQ(b, Slice(decoded, 2, 1000, 1200));

    TAudioStreamState bad = first;
    bad.Values[3] = 89; // step index out of range
    EXPECT_EQ(ErrorOf([&] { shared->RestoreState(bad); }), "Invalid data.");
    bad = first;
    bad.Values[1] = 7; // position in the block does not match the position
    EXPECT_EQ(ErrorOf([&] { shared->RestoreState(bad); }), "Invalid data.");
}

TEST(AXStream, WritingRefusesWhatCannotBeStored) {
    const Bytes samples(100, 0);
    const struct {
        TAudioFormat format;
        uint32_t mode;
        const char* message;
    } cases[] = {
        {{44100, 8, 1, 1}, 0, "Only 16-bit wave can be encoded."},
        {{44100, 8, 1, 1}, omWritePCM | omOnly16Bit, "Only 16-bit wave can be encoded."},
        {{96001, 16, 1, 2}, 0, "Invalid AX file."},
        {{44100, 16, 3, 6}, omWritePCM, "Invalid AX file."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ErrorOf([&] { Tools::EncodeAX(samples.data(), 10, c.format, c.mode); }),
                  c.message);
    EXPECT_NO_THROW(Tools::EncodeAX(samples.data(), 10, {44100, 8, 1, 1}, omWritePCM));
}

TEST(AXStream, BadFilesAreRefused) {
    const auto tone = MakeTone(70000, 1, 22050);
    const Bytes good = ADPCM(tone, Mono16);
    auto with = [&](size_t offset, uint32_t value) {
        Bytes bytes = good;
        Put<uint32_t>(bytes, offset, value);
        return bytes;
    };
    Bytes badStep = good;
    Put<int16_t>(badStep, badStep.size() - 6, 90); // second seek entry's step index
    const struct {
        const char* what;
        Bytes bytes;
    } cases[] = {
        {"empty", {}},
        {"short header", Bytes(good.begin(), good.begin() + 63)},
        {"signature", with(0, 0x58445541 + 1)},
        {"compression", with(4, 3)},
        {"rate", with(8, 96001)},
        {"channels", with(12, 3)},
        {"ADPCM of 8 bits", with(16, 8)},
        {"negative frames", with(20, 0x80000000)},
        {"data size too small", with(24, (70000 + 1) / 2 - 1)},
        {"data size too large", with(24, (70000 + 1) / 2 + 1)},
        {"frames not matching the data", with(20, 70002)},
        {"truncated seek table", Bytes(good.begin(), good.end() - 1)},
        {"truncated data", Bytes(good.begin(), good.begin() + 1000)},
        {"seek table step index", badStep},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ErrorOf([&] { OpenStream<TAXStream>(c.bytes); }), "Invalid AX file.") << c.what;
    // Without the table a file is read as far as its data go.
    EXPECT_NO_THROW(OpenStream<TAXStream>(badStep, omRead | omNoSeekTable));
}
