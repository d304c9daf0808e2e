#include "platform/sound/SdlSoundOutput.h"

#include <SDL.h>

namespace Win32 {

namespace {

constexpr uint16_t kCallbackFrames = 1024;

void FillFromMixer(void* mixer, Uint8* stream, int bytes) {
    const auto frames = static_cast<uint32_t>(bytes) / (TSoundMixer::OutputChannels * 2);
    static_cast<TSoundMixer*>(mixer)->Mix(reinterpret_cast<int16_t*>(stream), frames);
}

} // namespace

TSdlSoundOutput::~TSdlSoundOutput() {
    Close();
}

HRESULT TSdlSoundOutput::Open(TSoundMixer& mixer) {
    if (FDevice != 0)
        return DSERR_ALLOCATED;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return DSERR_NODRIVER;
    SDL_AudioSpec wanted{};
    wanted.freq = TSoundMixer::OutputRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = TSoundMixer::OutputChannels;
    wanted.samples = kCallbackFrames;
    wanted.callback = FillFromMixer;
    wanted.userdata = &mixer;
    // No changes allowed: SDL converts to whatever the device wants.
    FDevice = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (FDevice == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return DSERR_NODRIVER;
    }
    SDL_PauseAudioDevice(FDevice, 0);
    return DS_OK;
}

void TSdlSoundOutput::Close() {
    if (FDevice == 0)
        return;
    // Returns once the callback has finished; the mixer is not touched after this.
    SDL_CloseAudioDevice(FDevice);
    FDevice = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

} // namespace Win32
