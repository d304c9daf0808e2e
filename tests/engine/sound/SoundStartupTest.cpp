// Starting and stopping the program's sound: a machine without an audio device
// runs silently, and starting again replaces the framework.
#include "engine/sound/SoundStartup.h"
#include "platform/sound/SoundOutput.h"

#include <gtest/gtest.h>

using namespace Main;

TEST(SoundStartup, StartsTheFrameworkTheGameUsesAndStopsIt) {
    Win32::TManualSoundOutput output;
    const Win32::TScopedSoundOutput use(output);
    SoundWanted = false;
    StartSound(nullptr);
    ASSERT_NE(DSFramework, nullptr);
    EXPECT_TRUE(SoundWanted);
    EXPECT_TRUE(DSFramework->Initialized());
    EXPECT_EQ(DSFramework->Flags(), 0x2Cu);
    EXPECT_EQ(DSFramework->TrackCount(), 16);
    EXPECT_EQ(DSFramework->ReservedTrackCount(), 3);
    EXPECT_EQ(DSFramework->BufferLength(), 500);
    EXPECT_EQ(DSFramework->OutputFormat().SampleRate, 44100);
    EXPECT_EQ(DSFramework->OutputFormat().BitsPerSample, 16);
    EXPECT_EQ(DSFramework->OutputFormat().Channels, 2);

    // The output opens one device at a time: starting again must let go of the first.
    StartSound(nullptr);
    ASSERT_NE(DSFramework, nullptr);
    EXPECT_TRUE(DSFramework->Initialized());

    StopSound();
    EXPECT_EQ(DSFramework, nullptr);
    EXPECT_FALSE(output.IsOpen());
    StopSound();
    EXPECT_EQ(DSFramework, nullptr);
}

TEST(SoundStartup, WithoutAnAudioDeviceTheGameGoesOnSilently) {
    Win32::TManualSoundOutput missing(false);
    const Win32::TScopedSoundOutput use(missing);
    SoundWanted = false;
    StartSound(nullptr);
    EXPECT_EQ(DSFramework, nullptr);
    EXPECT_TRUE(SoundWanted) << "sound is still wanted when the device comes back";
    StopSound();
}
