// Streaming through the tracks, heard at the output: loops without a seam, ends
// found only once played, failing streams, shared streams, and a real sound file.
#include "SoundFrameworkFixture.h"

#include "engine/sound/AudioList.h"
#include "engine/sound/WAVStream.h"
#include "tools/AudioWriters.h"

#include <cmath>
#include <numbers>

using namespace SoundFrameworkTesting;

namespace {

// At 44,100 Hz and full volume the output repeats the samples exactly.
void ExpectHeard(const std::vector<int16_t>& left, uint32_t frames, uint32_t loopLength,
                 const char* what) {
    for (uint32_t f = 0; f < left.size(); ++f) {
        const int16_t expected =
            f < frames ? TTestStream::Ramp(loopLength ? f % loopLength : f) : int16_t(0);
        if (left[f] != expected) {
            ADD_FAILURE() << what << ": frame " << f << " is " << left[f] << ", not " << expected;
            return;
        }
    }
}

} // namespace

TEST_F(SoundFramework, ALoopingStreamRepeatsSampleExactly) {
    Start();
    // 300 frames repeat 73.5 times in the first fill; 22,051 frames cross every
    // refill at a new place.
    for (const uint32_t length : {300u, 22051u, 1u}) {
        const int track =
            Sound->Play(Owned(std::make_unique<TTestStream>(length)), tsLoop, 100, false, false);
        ASSERT_EQ(track, 2);
        const std::vector<int16_t> heard = Left(Run(40));
        ExpectHeard(heard, static_cast<uint32_t>(heard.size()), length, "loop");
        EXPECT_TRUE(Sound->TrackPlaying(track));
        Sound->StopTrack(track);
    }
    // Nothing to repeat: the track ends as an empty sound does, instead of hanging.
    const int empty =
        Sound->Play(Owned(std::make_unique<TTestStream>(0)), tsLoop, 100, false, false);
    ASSERT_EQ(empty, 2);
    Run();
    EXPECT_FALSE(Sound->TrackPlaying(empty));
}

TEST_F(SoundFramework, AStreamEndsOnlyOnceItsLastSampleHasPlayed) {
    Start();
    struct TCase {
        const char* What;
        uint32_t Frames;
    };
    const TCase cases[] = {
        {"empty", 0},
        {"shorter than one step", 100},
        {"ends on a refill boundary", 3 * StepFrames},
        {"ends inside a refill", 30000},
        {"exactly one buffer", 22050},
        {"exactly two buffers", 44100},
    };
    for (const TCase& c : cases) {
        const int track =
            Sound->Play(Owned(std::make_unique<TTestStream>(c.Frames)), 0, 100, false, false);
        ASSERT_EQ(track, 2) << c.What;
        std::vector<int16_t> heard;
        int steps = 0;
        while (Sound->TrackPlaying(track) && steps < 100) {
            const std::vector<int16_t> step = Left(Run());
            heard.insert(heard.end(), step.begin(), step.end());
            ++steps;
        }
        EXPECT_FALSE(Sound->TrackPlaying(track)) << c.What << ": never ended";
        EXPECT_GE(heard.size(), c.Frames) << c.What << ": ended before it was heard";
        EXPECT_LT(heard.size(), c.Frames + StepFrames + 1) << c.What << ": ended late";
        ExpectHeard(heard, c.Frames, 0, c.What);
        EXPECT_EQ(Sound->TracksInUse(), 0) << c.What;
    }
}

TEST_F(SoundFramework, EightBitSoundsEndInTheirOwnSilence) {
    Start();
    const int track =
        Sound->Play(Owned(std::make_unique<TTestStream>(3000, 44100, 8, 1, Constant(0x1000))), 0,
                    100, false, false);
    ASSERT_GE(track, 0);
    const std::vector<int16_t> heard = Left(Run(2));
    EXPECT_EQ(heard[2999], 0x1000);
    for (size_t f = 3000; f < heard.size(); ++f)
        ASSERT_EQ(heard[f], 0) << "frame " << f << " is not silent";
    EXPECT_FALSE(Sound->TrackPlaying(track));
}

TEST_F(SoundFramework, AStreamThatFailsLosesItsTrackAndTheOthersPlayOn) {
    Start();
    auto failing = std::make_unique<TTestStream>(100000);
    failing->FailFrom = 25000;
    const int bad = Sound->Play(Owned(std::move(failing)), 0, 100, false, false);
    const int good =
        Sound->Play(Owned(std::make_unique<TTestStream>(100000)), 0, 100, false, false);
    ASSERT_EQ(bad, 2);
    ASSERT_EQ(good, 3);
    Run(2); // the second refill reads past frame 25,000
    EXPECT_FALSE(Sound->TrackPlaying(bad));
    EXPECT_TRUE(Sound->TrackPlaying(good));
    EXPECT_EQ(Sound->TracksInUse(), 1);
    Run(4);
    EXPECT_EQ(Sound->GetTrackPosition(good), 22050 + 6 * static_cast<int>(StepFrames));
}

TEST_F(SoundFramework, TracksSharingAPreloadedSoundKeepTheirOwnPlaces) {
    Start(dsoPlayPrimary | dsoExclusiveLevel, 6, 3);
    const std::vector<int16_t> samples = [] {
        std::vector<int16_t> ramp(60000);
        for (uint32_t f = 0; f < ramp.size(); ++f)
            ramp[f] = TTestStream::Ramp(f);
        return ramp;
    }();
    Tools::TAudioListWriter writer;
    writer.Add(7, Audio::alAX,
               Tools::EncodeAX(samples.data(), 60000, {44100, 16, 1, 2}, Audio::omWritePCM));
    TAudioList list;
    list.LoadFromStream(std::make_unique<ClassLib::TMemoryStream>(writer.Build()), true);

    Sound->PlayListStream(0, &list, 7, 100, 0, false, false);
    Sound->PlayListStream(1, &list, 7, 100, 10000, false, false);
    EXPECT_FALSE(Sound->Track(0).State & tsOwnsStream) << "the library keeps its streams";
    for (int step = 1; step <= 5; ++step) {
        Run();
        const int expected = 22050 + step * static_cast<int>(StepFrames);
        EXPECT_EQ(Sound->GetTrackPosition(0), expected);
        EXPECT_EQ(Sound->GetTrackPosition(1), 10000 + expected);
    }
    EXPECT_EQ(Sound->Track(0).CurrentSoundID, 7);
}

// A 1 kHz tone at -6 dB, stored as a 22,050 Hz mono 8-bit WAV, comes out at
// 44,100 Hz stereo with its level and pitch.
TEST_F(SoundFramework, AnEightBitMonoWaveIsHeardAtItsLevelAndPitch) {
    Start();
    constexpr uint32_t frames = 22050 * 2;
    std::vector<uint8_t> tone(frames);
    for (uint32_t f = 0; f < frames; ++f)
        tone[f] = static_cast<uint8_t>(
            std::lround(128 + 63.5 * std::sin(2 * std::numbers::pi * 1000 * f / 22050.0)));
    auto wave = std::make_unique<Audio::TWAVStream>();
    wave->Open(std::make_unique<ClassLib::TMemoryStream>(
                   Tools::EncodeWAV(tone.data(), frames, {22050, 8, 1, 1})),
               Audio::omRead, {});
    ASSERT_EQ(Sound->Play(Owned(std::move(wave)), 0, 100, false, false), 2);

    const std::vector<int16_t> heard = Run(20); // one second, past several refills
    const std::vector<int16_t> left = Left(heard);
    int peak = 0;
    int crossings = 0;
    int lopsided = 0;
    for (size_t f = 0; f < left.size(); ++f) {
        peak = std::max(peak, std::abs(int(left[f])));
        lopsided += heard[2 * f] != heard[2 * f + 1];
        if (f > 0 && (left[f - 1] < 0) != (left[f] < 0))
            ++crossings;
    }
    EXPECT_EQ(lopsided, 0) << "mono reaches both sides alike";
    EXPECT_NEAR(peak, 16384, 400) << "half of full scale";
    EXPECT_NEAR(crossings, 2000, 4) << "1000 periods in the second";
}
