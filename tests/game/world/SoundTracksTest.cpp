// Music, speech and interface sounds on their reserved tracks, effects by identifier,
// and scenery's ambient sound through the sound framework.
#include "game/world/sound/SoundTracks.h"
#include "engine/sound/SoundStartup.h"
#include "game/world/data/GlobalData.h"
#include "tests/engine/sound/SoundFrameworkFixture.h"
#include "tests/support/TinyWorld.h"
#include "tests/support/Tone.h"
#include "tools/AudioWriters.h"

#include <gtest/gtest.h>

namespace {

using namespace SoundFrameworkTesting;
using namespace GameData;

std::unique_ptr<ClassLib::TMemoryStream> Library(std::initializer_list<uint32_t> ids) {
    Tools::TAudioListWriter writer;
    const auto tone = TestSupport::MakeTone(44100, 2);
    for (uint32_t id : ids)
        writer.Add(id, Audio::alAX,
                   Tools::EncodeAX(tone.data(), 44100, {44100, 16, 2, 4}, Audio::omWritePCM));
    return std::make_unique<ClassLib::TMemoryStream>(writer.Build());
}

class SoundTracks : public SoundFramework {
protected:
    SoundTracks() {
        Start(dsoPlayPrimary | dsoExclusiveLevel, 8, 3);
        Main::DSFramework = std::move(Sound);
        Data2::GlobalData = std::make_unique<Data2::TGlobalData>(Data2::TEmptyGlobalData{});
        Data2::GlobalData->MusicList.LoadFromStream(Library({1, 2}), false);
        Data2::GlobalData->SpeechList.LoadFromStream(Library({5}), false);
        Data2::GlobalData->EffectSounds.LoadFromStream(
            Library({3, TestSupport::TTinyWorld::AmbientSoundID}), true);
    }
    ~SoundTracks() override {
        Main::DSFramework.reset();
        Data2::GlobalData.reset();
    }
    DSFrame::TDSFramework& Framework() { return *Main::DSFramework; }
    bool Busy(int track) { return Framework().Track(track).Stream != nullptr; }
    // Update passes of the framework, which now lives behind the global pointer.
    void Pass(int count) {
        for (int i = 0; i < count; ++i) {
            Output.RenderMilliseconds(Step);
            Clock.Advance(Step);
            Framework().UpdateTracks();
        }
    }
};

TEST_F(SoundTracks, MusicSpeechAndInterfaceSoundsUseTheirOwnTracks) {
    PlayMusic(1, 0, true, 0);
    EXPECT_FALSE(Busy(MusicTrack));
    PlayMusic(1, 60, true, 0);
    PlaySpeech(5);
    PlayInterfaceSound(3, 40, false);
    Pass(1); // a sound faded in after the track's last one starts with the next pass
    EXPECT_TRUE(Busy(MusicTrack));
    EXPECT_EQ(Framework().Track(MusicTrack).Volume, 60);
    EXPECT_TRUE(Busy(SpeechTrack));
    EXPECT_EQ(Framework().Track(SpeechTrack).Volume, 100); // the speech volume option
    EXPECT_TRUE(IsInterfaceSoundPlaying());
    EXPECT_EQ(Framework().Track(InterfaceTrack).Volume, 40);
    EXPECT_EQ(Framework().TracksInUse(), 3);

    StopInterfaceSound(false);
    EXPECT_FALSE(IsInterfaceSoundPlaying());
    StopMusic();
    StopSpeech();
    Pass(30);
    EXPECT_FALSE(Framework().IsTrackPlaying(MusicTrack));
    EXPECT_FALSE(Framework().IsTrackPlaying(SpeechTrack));
}

TEST_F(SoundTracks, EffectsByIdentifierTakeAFreeTrack) {
    PlayEffectByID(&Data2::GlobalData->EffectSounds, 99, 70);
    PlayEffectByID(&Data2::GlobalData->EffectSounds, 3, 0);
    EXPECT_EQ(Framework().TracksInUse(), 0);
    PlayEffectByID(&Data2::GlobalData->EffectSounds, 3, 70);
    ASSERT_EQ(Framework().TracksInUse(), 1);
    EXPECT_EQ(Framework().Track(3).Volume, 70); // the first unreserved track
    // A list that does not preload hands the track a stream of its own.
    PlayEffectByID(&Data2::GlobalData->MusicList, 2, 50);
    ASSERT_EQ(Framework().TracksInUse(), 2);
    EXPECT_TRUE(Framework().Track(4).Stream.get_deleter().Owns);
}

TEST_F(SoundTracks, SceneryPlaysItsAmbientSoundThroughTheFramework) {
    TestSupport::TTinyWorld world;
    TDoodle* fountain = world.AddDoodle(TestSupport::TTinyWorld::Fountain, 0, 0);
    world.Scenario->View.Left = 20 - 285; // listener right on the fountain
    world.Scenario->View.Top = 20 - 300;
    fountain->Tick();
    ASSERT_EQ(fountain->SoundTrack, 3);
    EXPECT_EQ(Framework().Track(3).Volume, 100);
    world.Scenario->View.Top += 250;
    fountain->Tick();
    EXPECT_EQ(Framework().Track(3).Volume, 80);
    fountain->StopSound();
    EXPECT_EQ(fountain->SoundTrack, -1);
}

TEST(SoundTracksWithoutFramework, DoNothing) {
    PlayMusic(1, 50, false, 0);
    StopMusic();
    PlaySpeech(1);
    PlayInterfaceSound(1, 50, true);
    StopInterfaceSound(true);
    EXPECT_FALSE(IsInterfaceSoundPlaying());
    TestSupport::TTinyWorld world;
    TDoodle* fountain = world.AddDoodle(TestSupport::TTinyWorld::Fountain, 0, 0);
    fountain->Tick();
    EXPECT_EQ(fountain->SoundTrack, -1);
}

} // namespace
