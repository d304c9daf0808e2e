// The device end of our DirectSound: something that takes mixed audio from a mixer
// at its own pace. The program plays through SDL2 audio; tests install a manual
// output whose clock moves only when the test renders.
#pragma once

#include "platform/ResultCodes.h"
#include "platform/sound/SoundMixer.h"

#include <cstdint>
#include <mutex>
#include <vector>

namespace Win32 {

class TSoundOutput {
public:
    virtual ~TSoundOutput() = default;
    // Starts taking audio from `mixer`, which stays alive until Close.
    // DSERR_NODRIVER when no device can be opened.
    virtual HRESULT Open(TSoundMixer& mixer) = 0;
    virtual void Close() = 0;
};

// The output the next DirectSoundCreate plays through; null (the default) opens
// the SDL2 audio device. The output must outlive the devices created on it.
void SetSoundOutput(TSoundOutput* output);
TSoundOutput* InstalledSoundOutput();

class TScopedSoundOutput {
public:
    explicit TScopedSoundOutput(TSoundOutput& output) { SetSoundOutput(&output); }
    ~TScopedSoundOutput() { SetSoundOutput(nullptr); }
    TScopedSoundOutput(const TScopedSoundOutput&) = delete;
    TScopedSoundOutput& operator=(const TScopedSoundOutput&) = delete;
};

// A device whose clock is the test's: each Render plays that many output frames
// and hands back what was heard. One device may be open on it at a time. Render
// may run on another thread, as an audio thread would; Close waits for it.
class TManualSoundOutput : public TSoundOutput {
public:
    // An unavailable output fails to open, like a machine without sound.
    explicit TManualSoundOutput(bool available = true) : FAvailable(available) {}
    ~TManualSoundOutput() override;

    HRESULT Open(TSoundMixer& mixer) override;
    void Close() override;
    bool IsOpen();

    // Interleaved stereo, 2 x `frames` samples; silence while nothing is open.
    std::vector<int16_t> Render(uint32_t frames);
    // As many frames as `milliseconds` take at 44,100 Hz; the fractions carry over,
    // so ten renders of 1 ms play 441 frames.
    std::vector<int16_t> RenderMilliseconds(uint32_t milliseconds);

private:
    std::vector<int16_t> MixFrames(uint32_t frames); // with FMutex held

    const bool FAvailable;
    std::mutex FMutex;
    TSoundMixer* FMixer = nullptr;
    uint32_t FMillisecondRemainder = 0; // in 1/1000 frames
};

} // namespace Win32
