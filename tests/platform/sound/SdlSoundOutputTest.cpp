// The SDL2 output, lightly: the tests run on SDL's dummy audio driver.
#include "SoundFixture.h"

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

using namespace Win32;

TEST(SdlSoundOutput, PlaysBuffersOnTheAudioThread) {
    ASSERT_EQ(InstalledSoundOutput(), nullptr);
    IDirectSound* sound = nullptr;
    ASSERT_EQ(DirectSoundCreate(nullptr, &sound, nullptr), DS_OK);
    ASSERT_EQ(sound->SetCooperativeLevel(nullptr, DSSCL_EXCLUSIVE), DS_OK);
    const WAVEFORMATEX format = SoundTesting::PcmFormat(22050, 8, 1);
    const DSBUFFERDESC description = SoundTesting::BufferDescription(&format, 11025);
    IDirectSoundBuffer* buffer = nullptr;
    ASSERT_EQ(sound->CreateSoundBuffer(&description, &buffer, nullptr), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);

    // The cursor moves as SDL takes audio; give a loaded machine a few seconds.
    uint32_t play = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (play == 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        ASSERT_EQ(buffer->GetCurrentPosition(&play, nullptr), DS_OK);
    }
    EXPECT_GT(play, 0u);
    buffer->Release();
    EXPECT_EQ(sound->Release(), 0u);
}

TEST(SdlSoundOutput, NoUsableAudioDriverIsReportedAsNoDriver) {
    const char* const previous = std::getenv("SDL_AUDIODRIVER");
    const std::string saved = previous ? previous : "";
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    IDirectSound* sound = nullptr;
    EXPECT_EQ(DirectSoundCreate(nullptr, &sound, nullptr), DSERR_NODRIVER);
    EXPECT_EQ(sound, nullptr);
    if (previous)
        setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    else
        unsetenv("SDL_AUDIODRIVER");
}
