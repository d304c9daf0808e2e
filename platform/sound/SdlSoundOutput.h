// Plays the mixer through SDL2 audio: SDL's audio thread asks for 1024 frames at
// a time, and the buffers' play cursors move as it takes them. The driver is
// SDL's choice, or SDL_AUDIODRIVER's (dummy or disk on machines without sound).
#pragma once

#include "platform/sound/SoundOutput.h"

namespace Win32 {

class TSdlSoundOutput : public TSoundOutput {
public:
    ~TSdlSoundOutput() override;
    HRESULT Open(TSoundMixer& mixer) override;
    void Close() override;

private:
    uint32_t FDevice = 0; // SDL_AudioDeviceID; 0 while closed
};

} // namespace Win32
