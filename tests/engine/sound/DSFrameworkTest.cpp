// The sound framework's set-up and its tracks: devices, Init, volumes, the choice
// of track for effects, who deletes a stream, and the update thread.
#include "SoundFrameworkFixture.h"

#include "engine/core/DXErrors.h"
#include "tests/support/ErrorOf.h"

#include <chrono>
#include <thread>

using namespace SoundFrameworkTesting;
using TestSupport::ErrorOf;

TEST_F(SoundFramework, FindsTheDefaultOutputAndOpensItForAnyDeviceIndex) {
    struct TCase {
        int Device;
        int Milliseconds;
        int ExpectedMilliseconds;
    };
    const TCase cases[] = {{-1, 500, 500}, {0, 50, 50}, {1, 10, 50}, {99, -3, 50}, {-7, 51, 51}};
    for (const TCase& c : cases) {
        TDSFramework sound(nullptr);
        ASSERT_EQ(sound.DeviceCount(), 1);
        EXPECT_TRUE(sound.Device(0).Primary);
        EXPECT_STREQ(sound.Device(0).Description, "the default output");
        EXPECT_EQ(sound.DefaultDevice(), 0);
        sound.Init(c.Device, dsoPlayPrimary | dsoExclusiveLevel, 4, 1, c.Milliseconds, 22050, 8, 1);
        EXPECT_TRUE(sound.Initialized());
        EXPECT_EQ(sound.DeviceInUse(), 0) << c.Device;
        EXPECT_EQ(sound.BufferLength(), c.ExpectedMilliseconds) << c.Milliseconds;
        EXPECT_EQ(sound.OutputFormat().BlockAlign, 1);
        EXPECT_TRUE(Output.IsOpen());
    }
    EXPECT_FALSE(Output.IsOpen()) << "destroying the framework closes the device";
}

TEST_F(SoundFramework, InitAgainStartsOverOnTheSameDevice) {
    Start();
    ASSERT_EQ(Sound->Play(Owned(std::make_unique<TTestStream>(50000)), tsLoop, 100, false, false),
              2);
    EXPECT_EQ(Sound->TracksInUse(), 1);
    // The output takes one device at a time: this fails unless the first was closed.
    Sound->Init(-1, dsoNormalLevel, 3, 0, 200, 44100, 16, 2);
    EXPECT_EQ(Sound->TrackCount(), 3);
    EXPECT_EQ(Sound->ReservedTrackCount(), 0);
    EXPECT_EQ(Sound->TracksInUse(), 0);
    EXPECT_FALSE(Sound->TrackPlaying(2));
    EXPECT_EQ(Sound->Flags(), dsoNormalLevel);
}

TEST(SoundFrameworkDevice, WithoutAnAudioDeviceInitFailsWithTheDriverError) {
    Win32::TManualSoundOutput missing(false);
    const Win32::TScopedSoundOutput use(missing);
    TDSFramework sound(nullptr);
    EXPECT_EQ(ErrorOf([&] { sound.Init(-1, 0x2C, 16, 3, 500, 44100, 16, 2); }),
              "Error creating DirectSound (DSERR_NODRIVER).");
    EXPECT_FALSE(sound.Initialized());
    EXPECT_EQ(sound.Play(Owned(std::make_unique<TTestStream>(10)), 0, 100, false, false), -1);
}

TEST(SoundFrameworkVolume, VolumesBecomeAttenuations) {
    const std::pair<int, int32_t> cases[] = {{100, 0},     {50, -1000}, {0, -4000},
                                             {-20, -4000}, {150, 0},    {75, -250},
                                             {99, -0},     {1, -3920},  {13, -3027}};
    for (const auto& [volume, attenuation] : cases)
        EXPECT_EQ(VolumeToAttenuation(volume), attenuation) << volume;
}

TEST_F(SoundFramework, PlayTakesOnlyUnreservedTracksAndReportsWhenAllAreBusy) {
    Start(dsoPlayPrimary | dsoExclusiveLevel, 5, 2);
    for (const int expected : {2, 3, 4})
        EXPECT_EQ(Sound->Play(Owned(std::make_unique<TTestStream>(44100)), 0, 100, false, false),
                  expected);
    bool deleted = false;
    auto refused = std::make_unique<TTestStream>(44100);
    refused->Deleted = &deleted;
    EXPECT_EQ(Sound->Play(Owned(std::move(refused)), 0, 100, false, false), -1);
    EXPECT_TRUE(deleted) << "a stream handed over and refused is not lost";
    EXPECT_EQ(ErrorOf([&] {
                  Sound->Play(Owned(std::make_unique<TTestStream>(10)), 0, 100, false, true);
              }),
              "All tracks are used.");
    EXPECT_FALSE(Sound->TrackPlaying(0));
    EXPECT_FALSE(Sound->TrackPlaying(1));
    EXPECT_EQ(Sound->TracksInUse(), 3);
}

TEST_F(SoundFramework, PlayPrefersAFreeTrackWhoseBufferFitsTheStream) {
    struct TCase {
        uint32_t Flags;
        int Expected;
    };
    // Tracks 1 and 2 are left free with buffers of 22,050 Hz and 44,100 Hz.
    for (const TCase c : {TCase{0, 2}, TCase{dsoReleaseBuffers, 1}}) {
        Start(dsoPlayPrimary | dsoExclusiveLevel | c.Flags, 4, 1);
        ASSERT_EQ(
            Sound->Play(Owned(std::make_unique<TTestStream>(100, 22050)), 0, 100, false, false), 1);
        ASSERT_EQ(
            Sound->Play(Owned(std::make_unique<TTestStream>(100, 44100)), 0, 100, false, false), 2);
        Sound->StopTrack(1);
        Sound->StopTrack(2);
        EXPECT_EQ(Sound->Track(1).Buffer == nullptr, (c.Flags & dsoReleaseBuffers) != 0);
        EXPECT_EQ(
            Sound->Play(Owned(std::make_unique<TTestStream>(100, 44100)), 0, 100, false, false),
            c.Expected)
            << c.Flags;
    }
}

TEST_F(SoundFramework, TracksDeleteOnlyTheStreamsTheyOwn) {
    Start();
    bool ownedDeleted = false;
    bool lentDeleted = false;
    auto owned = std::make_unique<TTestStream>(1000);
    owned->Deleted = &ownedDeleted;
    TTestStream lent(1000);
    lent.Deleted = &lentDeleted;

    const int track = Sound->Play(Owned(std::move(owned)), 0, 100, false, false);
    ASSERT_GE(track, 0);
    EXPECT_TRUE(Sound->Track(track).State & tsOwnsStream);
    Sound->PlayStream(0, &lent, 100, 0, false, false);
    EXPECT_FALSE(Sound->Track(0).State & tsOwnsStream);
    Sound->StopAll();
    EXPECT_TRUE(ownedDeleted);
    EXPECT_FALSE(lentDeleted);
    EXPECT_EQ(Sound->TracksInUse(), 0);
}

TEST_F(SoundFramework, StreamsStartWhereAsked) {
    Start();
    TTestStream lent(30000);
    Sound->PlayStream(0, &lent, 100, 1000, false, false);
    EXPECT_EQ(Left(Output.Render(3)),
              (std::vector<int16_t>{TTestStream::Ramp(1000), TTestStream::Ramp(1001),
                                    TTestStream::Ramp(1002)}));
    Sound->StopAll();

    for (const bool keepPosition : {true, false}) {
        auto stream = std::make_unique<TTestStream>(30000);
        stream->Seek(500);
        const int track = Sound->Play(Owned(std::move(stream)), 0, 100, keepPosition, false);
        ASSERT_GE(track, 0);
        EXPECT_EQ(Left(Output.Render(1))[0], TTestStream::Ramp(keepPosition ? 500 : 0));
        Sound->StopTrack(track);
    }
}

TEST_F(SoundFramework, ABufferOfNoBytesIsRefusedAndTheTrackStaysFree) {
    Start(dsoPlayPrimary | dsoExclusiveLevel, 4, 1, 50);
    bool deleted = false;
    auto slow = std::make_unique<TTestStream>(100, 5); // 50 ms of 5 Hz is no frame at all
    slow->Deleted = &deleted;
    EXPECT_EQ(ErrorOf([&] { Sound->Play(Owned(std::move(slow)), 0, 100, false, false); }),
              "Error creating secondary buffer (DDERR_INVALIDPARAMS).");
    EXPECT_TRUE(deleted);
    EXPECT_EQ(Sound->TracksInUse(), 0);
    EXPECT_EQ(Sound->Play(Owned(std::make_unique<TTestStream>(100)), 0, 100, false, false), 1);
}

TEST_F(SoundFramework, TrackNumbersOutsideTheTracksAreIgnored) {
    Start();
    TTestStream lent(100);
    for (const int track : {-1, 6, 1000}) {
        Sound->PlayStream(track, &lent, 100, 0, false, false);
        Sound->SetVolume(track, 10);
        Sound->SetVolumeDeferred(track, 10);
        Sound->FadeOut(track);
        Sound->StopTrack(track);
        EXPECT_FALSE(Sound->IsPlaying(track));
        EXPECT_EQ(Sound->GetTrackPosition(track), 0);
    }
    EXPECT_EQ(Sound->TracksInUse(), 0);
}

// With the update thread the framework refills on its own, on the system clock.
TEST(SoundFrameworkThread, TheUpdateThreadRefillsAndStopsWithTheFramework) {
    Win32::TManualSoundOutput output;
    const Win32::TScopedSoundOutput use(output);
    auto sound = std::make_unique<TDSFramework>(nullptr);
    sound->Init(-1, dsoUpdateThread | dsoPlayPrimary | dsoExclusiveLevel, 4, 1, 100, 44100, 16, 2);
    TTestStream lent(1000000);
    sound->PlayStream(0, &lent, 100, 0, false, true);
    const int filled = sound->GetTrackPosition(0);
    EXPECT_EQ(filled, 4410) << "100 ms at 44,100 Hz";

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (sound->GetTrackPosition(0) == filled && std::chrono::steady_clock::now() < deadline) {
        output.RenderMilliseconds(5);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_GT(sound->GetTrackPosition(0), filled);
    EXPECT_TRUE(sound->IsTrackPlaying(0));
    sound.reset();
    EXPECT_FALSE(output.IsOpen());
}
