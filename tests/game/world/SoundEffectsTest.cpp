// Effects play once on a free track at the volume asked, and the interface volume is
// the global data's percentage of the effect volume option.
#include "game/world/sound/SoundEffects.h"
#include "engine/sound/SoundStartup.h"
#include "game/world/data/GlobalData.h"
#include "tests/engine/sound/SoundFrameworkFixture.h"

#include <gtest/gtest.h>

namespace {

using namespace SoundFrameworkTesting;

class SoundEffects : public SoundFramework {
protected:
    SoundEffects() {
        Start();
        Main::DSFramework = std::move(Sound);
    }
    ~SoundEffects() override { Main::DSFramework.reset(); }
};

TEST_F(SoundEffects, PlayEffectStartsTheStreamOnceAndLeavesItToItsLender) {
    TTestStream stream(1000);
    GameData::PlayEffect(&stream, 0);
    GameData::PlayEffect(nullptr, 80);
    EXPECT_EQ(Main::DSFramework->TracksInUse(), 0);

    GameData::PlayEffect(&stream, 80);
    ASSERT_EQ(Main::DSFramework->TracksInUse(), 1);
    const TTrackRecord& track = Main::DSFramework->Track(2); // the first unreserved
    EXPECT_EQ(track.Volume, 80);
    EXPECT_FALSE(track.State.load() & tsLoop);
    EXPECT_FALSE(track.Stream.get_deleter().Owns);
}

TEST(EffectVolume, IsTheInterfacePercentageOfTheEffectOption) {
    EXPECT_EQ(GameData::GetEffectVolume(), 0); // no global data, no interface volume
    Data2::GlobalData = std::make_unique<Data2::TGlobalData>(Data2::TEmptyGlobalData{});
    Data2::GlobalData->GameConstants[Data2::gcInterfaceVolume] = 41;
    // The settings' default effect volume is 100.
    EXPECT_EQ(GameData::GetEffectVolume(), 41);
    Data2::GlobalData.reset();
}

} // namespace
