// Volumes, fades and the sounds that wait on a reserved track for the one before
// them to fade out, followed pass by pass on the manual clock and at the output.
#include "SoundFrameworkFixture.h"

#include "engine/sound/AudioList.h"
#include "tools/AudioWriters.h"

using namespace SoundFrameworkTesting;

namespace {

constexpr int Music = 10;  // a steady level of 16,000
constexpr int Speech = 20; // a steady level of 8,000

// Outlives every framework of the tests: tracks read their sounds from it.
TAudioList& Library() {
    static TAudioList list;
    static const bool loaded = [] {
        Tools::TAudioListWriter writer;
        for (const auto& [id, level] : {std::pair{Music, 16000}, std::pair{Speech, 8000}}) {
            const std::vector<int16_t> samples(88200, static_cast<int16_t>(level));
            writer.Add(
                static_cast<uint32_t>(id), Audio::alAX,
                Tools::EncodeAX(samples.data(), 88200, {44100, 16, 1, 2}, Audio::omWritePCM));
        }
        list.LoadFromStream(std::make_unique<ClassLib::TMemoryStream>(writer.Build()), false);
        return true;
    }();
    EXPECT_TRUE(loaded);
    return list;
}

// The level heard at the end of a step, where the fade has been steady since the last pass.
int LastLevel(const std::vector<int16_t>& heard) {
    return heard.empty() ? 0 : heard[heard.size() - 2];
}

} // namespace

TEST_F(SoundFramework, ACrossFadeFollowsTheCurveAndStartsTheNextSoundInTheSamePass) {
    Start();
    TAudioList& list = Library();
    Sound->FadeToListStream(0, &list, Music, 100, 0, false, true);
    EXPECT_TRUE(Sound->Track(0).Pending);
    EXPECT_FALSE(Sound->TrackPlaying(0));
    Run();
    ASSERT_TRUE(Sound->TrackPlaying(0)) << "the waiting sound starts at the next pass";
    EXPECT_EQ(Sound->Track(0).CurrentSoundID, Music);
    EXPECT_EQ(LastLevel(Run()), 16000);

    Sound->FadeToListStream(0, &list, Music, 100, 0, false, true);
    EXPECT_FALSE(Sound->Track(0).State & tsFading) << "asking for what plays changes nothing";
    EXPECT_FALSE(Sound->Track(0).Pending);

    Sound->FadeToListStream(0, &list, Speech, 80, 0, true, true);
    EXPECT_TRUE(Sound->Track(0).Pending);
    EXPECT_EQ(Sound->Track(0).CurrentSoundID, Speech);
    int32_t before = 0;
    for (int step = 1; step < 30; ++step) {
        const std::vector<int16_t> heard = Run();
        EXPECT_EQ(Sound->Track(0).Attenuation, -3000 * step / 30) << step;
        EXPECT_NEAR(LastLevel(heard), 16000 * Gain(before), 2) << step;
        before = Sound->Track(0).Attenuation;
    }
    EXPECT_TRUE(Sound->Track(0).Pending);

    Run(); // 1,500 ms: the music stops and the speech fades in
    EXPECT_TRUE(Sound->TrackPlaying(0));
    EXPECT_FALSE(Sound->Track(0).Pending);
    EXPECT_EQ(Sound->Track(0).Attenuation, -3000);
    EXPECT_EQ(Sound->Track(0).FadeTo, VolumeToAttenuation(80));
    EXPECT_EQ(Sound->TracksInUse(), 1);
    for (int step = 1; step <= 30; ++step) {
        const std::vector<int16_t> heard = Run();
        EXPECT_EQ(Sound->Track(0).Attenuation, -3000 + 2840 * step / 30) << step;
        if (step > 1) {
            EXPECT_NEAR(LastLevel(heard), 8000 * Gain(before), 2) << step;
        }
        before = Sound->Track(0).Attenuation;
    }
    EXPECT_FALSE(Sound->Track(0).State & tsFading);
    EXPECT_NEAR(LastLevel(Run()), 8000 * Gain(-160), 2);
}

class SoundVolume : public SoundFramework {
protected:
    void ChangeVolume(bool deferred, int track, int volume) {
        if (deferred)
            Sound->SetVolumeDeferred(track, volume);
        else
            Sound->SetVolume(track, volume);
    }
};

TEST_F(SoundVolume, AVolumeChangeLetsAWaitingSoundStart) {
    Start();
    TAudioList& list = Library();
    for (const bool deferred : {false, true}) {
        Sound->PlayListStream(1, &list, Music, 100, 0, false, true);
        Sound->FadeToListStream(1, &list, Speech, 100, 0, false, true);
        Run(10);
        ChangeVolume(deferred, 1, 50);
        EXPECT_TRUE(Sound->Track(1).State & tsFading) << deferred;
        EXPECT_EQ(Sound->Track(1).Request.Volume, 50);
        Run(20);
        EXPECT_EQ(Sound->Track(1).CurrentSoundID, Speech);
        EXPECT_TRUE(Sound->TrackPlaying(1)) << deferred;
        EXPECT_EQ(Sound->Track(1).Attenuation, -1000);
        EXPECT_NEAR(LastLevel(Run()), 8000 * Gain(-1000), 2);
    }
}

TEST_F(SoundVolume, SetVolumeEndsAPlainFade) {
    Start();
    TAudioList& list = Library();
    for (const bool deferred : {false, true}) {
        Sound->PlayListStream(0, &list, Music, 100, 0, false, true);
        Sound->FadeOutTrack(0);
        Run(5);
        ChangeVolume(deferred, 0, 60);
        EXPECT_FALSE(Sound->Track(0).State & tsFading);
        EXPECT_EQ(Sound->Track(0).Attenuation, VolumeToAttenuation(60));
        Run(40);
        EXPECT_TRUE(Sound->TrackPlaying(0));
        EXPECT_NEAR(LastLevel(Run()), 16000 * Gain(VolumeToAttenuation(60)), 2);
    }
}

TEST_F(SoundFramework, FadedOutEffectsAreFreedAndReservedTracksFallSilent) {
    Start();
    TAudioList& list = Library();
    const int effect = Sound->Play(list.FindStream(Speech), tsLoop, 100, false, false);
    ASSERT_EQ(effect, 2);
    Sound->PlayListStream(1, &list, Music, 100, 0, false, true);
    Sound->FadeOut(effect);
    Sound->FadeOutTrack(1);
    Run(15);
    const uint32_t started = Sound->Track(1).FadeStart;
    Sound->FadeOutTrack(1);
    EXPECT_EQ(Sound->Track(1).FadeStart, started) << "a fade-out is not started again";
    Run(14);
    EXPECT_TRUE(Sound->TrackPlaying(effect));
    EXPECT_TRUE(Sound->TrackPlaying(1));

    Run();
    EXPECT_FALSE(Sound->TrackPlaying(effect));
    EXPECT_FALSE(Sound->Track(effect).State & tsUsed);
    EXPECT_FALSE(Sound->TrackPlaying(1));
    EXPECT_TRUE(Sound->Track(1).State & tsUsed) << "a reserved track keeps its sound";
    EXPECT_EQ(Sound->TracksInUse(), 1);
    EXPECT_EQ(LastLevel(Run(3)), 0);
    Sound->StopTrack(1);
    EXPECT_EQ(Sound->TracksInUse(), 0);
}

TEST_F(SoundFramework, FadesInToTheVolumeAsked) {
    Start();
    TAudioList& list = Library();
    for (const int volume : {0, 10, 50, 100}) {
        Sound->PlayListStream(0, &list, Music, volume, 0, true, true);
        const int32_t target = VolumeToAttenuation(volume);
        EXPECT_EQ(Sound->Track(0).Attenuation, std::min(-3000, target)) << volume;
        Run(30);
        EXPECT_FALSE(Sound->Track(0).State & tsFading);
        EXPECT_EQ(Sound->Track(0).Attenuation, target) << volume;
        EXPECT_NEAR(LastLevel(Run()), 16000 * Gain(target), 2) << volume;
    }
}

TEST_F(SoundFramework, StoppingDropsWaitingSoundsAndBadRequestsAreDropped) {
    Start();
    TAudioList& list = Library();
    Sound->FadeToListStream(0, &list, Music, 100, 0, false, true);
    Sound->FadeToListStream(1, &list, Speech, 100, 0, false, true);
    Sound->StopAll();
    Run();
    EXPECT_FALSE(Sound->IsPlaying(0));
    EXPECT_FALSE(Sound->IsPlaying(1));

    Sound->FadeToListStream(0, &list, Music, 100, 0, false, true);
    Sound->StopTrack(0);
    Run();
    EXPECT_FALSE(Sound->IsPlaying(0));

    // An unknown sound and a start past the end: nothing plays, nothing breaks.
    Sound->FadeToListStream(0, &list, 99, 100, 0, false, true);
    Sound->FadeToListStream(1, &list, Speech, 100, 1000000, false, true);
    const int effect = Sound->Play(list.FindStream(Music), tsLoop, 100, false, false);
    Run();
    EXPECT_FALSE(Sound->IsPlaying(0));
    EXPECT_FALSE(Sound->IsPlaying(1));
    EXPECT_FALSE(Sound->Track(1).Pending);
    EXPECT_TRUE(Sound->IsPlaying(effect));
    EXPECT_EQ(Sound->TracksInUse(), 1);
}
