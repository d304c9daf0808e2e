// What the mixer makes of the buffers, read from the manual output: cursors,
// sample types, channels, volume, clipping and resampling.
#include "SoundFixture.h"

#include <atomic>
#include <cmath>
#include <numbers>
#include <numeric>
#include <thread>

using namespace SoundTesting;

namespace {

std::vector<int16_t> Channel(const std::vector<int16_t>& stereo, size_t channel) {
    std::vector<int16_t> samples;
    for (size_t i = channel; i < stereo.size(); i += 2)
        samples.push_back(stereo[i]);
    return samples;
}

double RmsLevelDecibels(const std::vector<int16_t>& samples) {
    const double squares =
        std::accumulate(samples.begin(), samples.end(), 0.0,
                        [](double sum, int16_t s) { return sum + double(s) * s; });
    const double rms = std::sqrt(squares / double(samples.size()));
    // A full-scale sine has an RMS of 32768 / sqrt(2).
    return 20.0 * std::log10(rms * std::numbers::sqrt2 / 32768.0);
}

// From the first to the last rising zero crossing, each placed between its two samples.
double FrequencyByZeroCrossings(const std::vector<int16_t>& samples, double rate) {
    double first = -1;
    double last = -1;
    int crossings = 0;
    for (size_t i = 1; i < samples.size(); ++i) {
        if (samples[i - 1] < 0 && samples[i] >= 0) {
            const double at =
                double(i - 1) + double(-samples[i - 1]) / double(samples[i] - samples[i - 1]);
            if (first < 0)
                first = at;
            last = at;
            ++crossings;
        }
    }
    return crossings < 2 ? 0.0 : double(crossings - 1) * rate / (last - first);
}

} // namespace

TEST_F(SoundFixture, ThePlayCursorMovesWithTheDeviceClockAtTheBuffersOwnRate) {
    const TBufferPtr cd = CreateBuffer(44100, 16, 2, 4000);   // 1000 frames
    const TBufferPtr voice = CreateBuffer(22050, 8, 1, 1000); // 1000 frames
    const TBufferPtr phone = CreateBuffer(8000, 16, 1, 2000); // 1000 frames
    const TBufferPtr idle = CreateBuffer(22050, 8, 1, 1000);
    for (IDirectSoundBuffer* b : {cd.get(), voice.get(), phone.get()})
        ASSERT_EQ(b->Play(0, 0, DSBPLAY_LOOPING), DS_OK);

    Output.Render(441);
    EXPECT_EQ(PlayCursor(*cd), 441u * 4);
    EXPECT_EQ(PlayCursor(*voice), 220u) << "220.5 frames played";
    EXPECT_EQ(PlayCursor(*phone), 80u * 2);
    EXPECT_EQ(PlayCursor(*idle), 0u) << "a buffer that is not playing stays where it is";

    Output.Render(1059); // 1500 frames in all: the cd buffer has wrapped
    EXPECT_EQ(PlayCursor(*cd), 500u * 4);
    EXPECT_EQ(PlayCursor(*voice), 750u);
    // Ten renders of 10 ms are exactly 4410 frames however the rate divides.
    for (int i = 0; i < 10; ++i)
        Output.RenderMilliseconds(10);
    EXPECT_EQ(PlayCursor(*cd), (1500u + 4410) % 1000 * 4);
    EXPECT_EQ(PlayCursor(*phone), (1500u + 4410) * 8000 / 44100 % 1000 * 2);

    ASSERT_EQ(cd->Stop(), DS_OK);
    Output.Render(100);
    EXPECT_EQ(PlayCursor(*cd), 910u * 4) << "Stop keeps the position";
    ASSERT_EQ(cd->SetCurrentPosition(4 * 10 + 3), DS_OK);
    EXPECT_EQ(PlayCursor(*cd), 40u) << "positions fall to the start of their frame";
    ASSERT_EQ(cd->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    Output.Render(5);
    EXPECT_EQ(PlayCursor(*cd), 60u);
}

TEST_F(SoundFixture, ABufferPlayedOnceStopsAtItsEndAndRewinds) {
    const TBufferPtr buffer = CreateBuffer(44100, 16, 1, 8);
    Write(*buffer, 0, Pcm16({1000, 2000, 3000, 4000}));
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(Channel(Output.Render(6), 0), (std::vector<int16_t>{1000, 2000, 3000, 4000, 0, 0}));
    EXPECT_EQ(PlayCursor(*buffer), 0u);
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    EXPECT_EQ(Channel(Output.Render(6), 0),
              (std::vector<int16_t>{1000, 2000, 3000, 4000, 1000, 2000}));
}

TEST_F(SoundFixture, SampleTypesAndChannelsComeOutOnOneScaleInStereo) {
    struct TCase {
        const char* What;
        uint16_t Bits;
        uint16_t Channels;
        std::vector<uint8_t> Frame;
        int16_t Left;
        int16_t Right;
    };
    const TCase cases[] = {
        {"8-bit silence", 8, 1, {0x80}, 0, 0},
        {"8-bit top", 8, 1, {0xFF}, 32512, 32512},
        {"8-bit bottom", 8, 1, {0x00}, -32768, -32768},
        {"8-bit stereo", 8, 2, {0xC0, 0x40}, 16384, -16384},
        {"16-bit mono", 16, 1, Pcm16({-1234}), -1234, -1234},
        {"16-bit stereo", 16, 2, Pcm16({32767, -32768}), 32767, -32768},
    };
    for (const TCase& c : cases) {
        std::vector<uint8_t> bytes;
        for (int i = 0; i < 4; ++i)
            bytes.insert(bytes.end(), c.Frame.begin(), c.Frame.end());
        const TBufferPtr buffer = CreateBuffer(44100, c.Bits, c.Channels, uint32_t(bytes.size()));
        Write(*buffer, 0, bytes);
        ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
        const std::vector<int16_t> mixed = Output.Render(8);
        for (size_t i = 0; i < mixed.size(); i += 2) {
            EXPECT_EQ(mixed[i], c.Left) << c.What;
            EXPECT_EQ(mixed[i + 1], c.Right) << c.What;
        }
    }
}

TEST_F(SoundFixture, VolumeScalesByTenToTheAttenuationOver2000) {
    const TBufferPtr buffer = CreateBuffer(44100, 16, 1, 8);
    Write(*buffer, 0, Pcm16({20000, 20000, -20000, -20000}));
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    const struct {
        int32_t Attenuation;
        int16_t Expected;
    } cases[] = {{0, 20000}, {-600, 10024}, {-2000, 2000}, {DSBVOLUME_MIN, 0}};
    for (const auto& c : cases) {
        ASSERT_EQ(buffer->SetVolume(c.Attenuation), DS_OK);
        const std::vector<int16_t> mixed = Output.Render(4);
        EXPECT_NEAR(mixed[0], c.Expected, 1) << c.Attenuation;
        EXPECT_NEAR(mixed[6], -c.Expected, 1) << c.Attenuation;
    }
    EXPECT_EQ(buffer->SetVolume(1), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetVolume(DSBVOLUME_MIN - 1), DSERR_INVALIDPARAM);

    const WAVEFORMATEX format = PcmFormat(44100, 16, 1);
    const DSBUFFERDESC fixed = BufferDescription(&format, 8, 0);
    IDirectSoundBuffer* plain = nullptr;
    ASSERT_EQ(Sound->CreateSoundBuffer(&fixed, &plain, nullptr), DS_OK);
    const TBufferPtr owner(plain);
    EXPECT_EQ(plain->SetVolume(-600), DSERR_CONTROLUNAVAIL);
}

TEST_F(SoundFixture, TheSumOfBuffersIsClippedTo16Bits) {
    const TBufferPtr high = CreateBuffer(44100, 16, 2, 8);
    const TBufferPtr low = CreateBuffer(44100, 16, 2, 8);
    Write(*high, 0, Pcm16({30000, -30000, 30000, 100}));
    Write(*low, 0, Pcm16({30000, -30000, -30000, 200}));
    ASSERT_EQ(high->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    ASSERT_EQ(low->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    EXPECT_EQ(Output.Render(2), (std::vector<int16_t>{32767, -32768, 0, 300}));
}

TEST_F(SoundFixture, ResamplingInterpolatesBetweenSourceFrames) {
    const struct {
        uint32_t Rate;
        std::vector<int16_t> Expected;
    } cases[] = {
        {22050, {0, 500, 1000, 1500, 2000, 2500}},
        {11025, {0, 250, 500, 750, 1000, 1250}},
        {88200, {0, 2000, 4000, 6000, 8000, 10000}},
    };
    for (const auto& c : cases) {
        std::vector<int16_t> ramp(64);
        for (size_t i = 0; i < ramp.size(); ++i)
            ramp[i] = static_cast<int16_t>(1000 * i);
        const TBufferPtr buffer = CreateBuffer(c.Rate, 16, 1, 128);
        Write(*buffer, 0, Pcm16(ramp));
        ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
        EXPECT_EQ(Channel(Output.Render(6), 0), c.Expected) << c.Rate;
    }
}

TEST_F(SoundFixture, ASineKeepsItsLevelAndFrequencyThroughResampling) {
    constexpr double kFrequency = 1000;
    constexpr double kLevel = -6.0; // dB below full scale
    const struct {
        uint32_t Rate;
        uint16_t Bits;
        uint16_t Channels;
        double LevelTolerance; // dB; linear interpolation dulls a tone near the source's Nyquist
    } cases[] = {
        {22050, 8, 1, 0.1}, {11025, 16, 2, 0.3},  {44100, 16, 1, 0.02},
        {48000, 8, 2, 0.1}, {96000, 16, 2, 0.05},
    };
    for (const auto& c : cases) {
        // One second of the tone, a whole number of periods, so the loop is seamless.
        const double amplitude = std::pow(10.0, kLevel / 20.0);
        std::vector<uint8_t> bytes;
        for (uint32_t i = 0; i < c.Rate; ++i) {
            const double x = amplitude * std::sin(2 * std::numbers::pi * kFrequency * i / c.Rate);
            for (int channel = 0; channel < c.Channels; ++channel) {
                const double value = channel == 0 ? x : -x; // the right channel inverted
                if (c.Bits == 8)
                    bytes.push_back(static_cast<uint8_t>(128 + std::lround(value * 128)));
                else
                    for (const uint8_t byte : Pcm16({int16_t(std::lround(value * 32768))}))
                        bytes.push_back(byte);
            }
        }
        const TBufferPtr buffer = CreateBuffer(c.Rate, c.Bits, c.Channels, uint32_t(bytes.size()));
        Write(*buffer, 0, bytes);
        ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
        Output.Render(c.Rate / 3); // start mid-buffer so the wrap is heard too
        const std::vector<int16_t> mixed = Output.Render(TSoundMixer::OutputRate);
        const std::vector<int16_t> left = Channel(mixed, 0);
        const std::vector<int16_t> right = Channel(mixed, 1);

        EXPECT_NEAR(RmsLevelDecibels(left), kLevel, c.LevelTolerance) << c.Rate;
        EXPECT_NEAR(FrequencyByZeroCrossings(left, TSoundMixer::OutputRate), kFrequency, 0.1)
            << c.Rate;
        const double mean = std::accumulate(left.begin(), left.end(), 0.0) / double(left.size());
        EXPECT_NEAR(mean, 0.0, 20.0) << "no offset: " << c.Rate;
        for (size_t i = 0; i < left.size(); i += 997) {
            const int expectedRight = c.Channels == 1 ? left[i] : -left[i];
            EXPECT_NEAR(right[i], expectedRight, c.Bits == 8 ? 300 : 2) << c.Rate << " at " << i;
        }
        ASSERT_EQ(buffer->Stop(), DS_OK);
    }
}

// The audio thread mixes while the game thread writes, moves and replaces buffers.
// Meant to be run under ThreadSanitizer as well; here it must at least not fail.
TEST_F(SoundFixture, TheGameThreadAndTheAudioThreadShareBuffersSafely) {
    const TBufferPtr music = CreateBuffer(22050, 16, 2, 22048);
    ASSERT_EQ(music->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    std::atomic<bool> done{false};
    std::thread audio([&] {
        while (!done.load())
            Output.Render(256);
    });
    const std::vector<uint8_t> block(4000, 0x40);
    for (int i = 0; i < 300; ++i) {
        uint32_t play = 0;
        ASSERT_EQ(music->GetCurrentPosition(&play, nullptr), DS_OK);
        Write(*music, play, block);
        ASSERT_EQ(music->SetVolume(-(i % 50) * 100), DS_OK);
        const TBufferPtr effect = CreateBuffer(11025, 8, 1, 1000);
        ASSERT_EQ(effect->Play(0, 0, i % 2 ? DSBPLAY_LOOPING : 0), DS_OK);
        ASSERT_EQ(effect->SetCurrentPosition(uint32_t(i) % 1000), DS_OK);
        if (i % 7 == 0) {
            ASSERT_EQ(effect->Stop(), DS_OK);
        }
    }
    done.store(true);
    audio.join();
}
