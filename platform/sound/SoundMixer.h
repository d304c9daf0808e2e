// Mixes every playing sound buffer into the output format: 44,100 Hz, 16-bit
// stereo. Sources of any rate are resampled by linear interpolation, 8-bit unsigned
// and 16-bit signed samples are brought to one scale, mono is spread to both
// channels, each voice is scaled by its gain, and the sum is clipped to 16 bits.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

namespace Win32 {

// One buffer's sound and where the mixer is in it. Every field is guarded by the
// mutex of the mixer the voice is attached to.
struct TMixerVoice {
    std::vector<uint8_t> Data; // whole frames, little-endian
    uint32_t SampleRate = 0;
    uint32_t Channels = 0;      // 1 or 2
    uint32_t BitsPerSample = 0; // 8 (unsigned) or 16 (signed)
    uint32_t BlockAlign = 0;
    uint32_t Frames = 0;
    // Where the mixer is: a frame and how far past it, in 1/44,100 of a source frame,
    // so that any number of output frames moves it by an exact amount.
    uint32_t Frame = 0;
    uint32_t Phase = 0;
    float Gain = 1.0f;
    bool Playing = false;
    bool Looping = false;

    // Takes the format of the bytes in Data: block align and frame count.
    void SetFormat(uint32_t sampleRate, uint32_t channels, uint32_t bitsPerSample);
};

class TSoundMixer {
public:
    static constexpr uint32_t OutputRate = 44100;
    static constexpr uint32_t OutputChannels = 2;
    static constexpr uint32_t OutputBits = 16;

    // Guards the voices and their fields; taken by Mix and by whoever changes a voice.
    std::mutex& Mutex() { return FMutex; }

    // The voice must stay alive until it is detached.
    void Attach(TMixerVoice& voice);
    void Detach(TMixerVoice& voice);

    // Fills `frames` frames of interleaved stereo and moves every playing voice on.
    // A voice that is not looping stops at its end and goes back to its start.
    void Mix(int16_t* output, uint32_t frames);

private:
    std::mutex FMutex;
    std::vector<TMixerVoice*> FVoices;
};

// 10^(attenuation / 2000): hundredths of a decibel to an amplitude factor;
// DSBVOLUME_MIN (-10000) and below are silence.
float AttenuationToGain(int32_t attenuation);

} // namespace Win32
