#include "platform/sound/SoundMixer.h"

#include "platform/sound/DirectSound.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace Win32 {

namespace {

// Frames mixed per pass; the accumulator lives on the stack.
constexpr uint32_t kChunkFrames = 512;
// What follows the last frame of a buffer that does not loop.
constexpr uint8_t kSilence8[2] = {0x80, 0x80};
constexpr uint8_t kSilence16[4] = {0, 0, 0, 0};

template <uint32_t Bits>
float Sample(const uint8_t* p) {
    if constexpr (Bits == 8)
        return static_cast<float>(static_cast<int32_t>(p[0]) - 128) * 256.0f;
    else
        return static_cast<float>(static_cast<int16_t>(static_cast<uint16_t>(p[0] | p[1] << 8)));
}

template <uint32_t Bits, uint32_t Channels>
void MixVoice(TMixerVoice& voice, float* sum, uint32_t frames) {
    constexpr uint32_t sampleBytes = Bits / 8;
    constexpr uint32_t blockAlign = sampleBytes * Channels;
    constexpr uint32_t outputRate = TSoundMixer::OutputRate;
    constexpr float phaseScale = 1.0f / static_cast<float>(outputRate);
    const uint8_t* const data = voice.Data.data();
    const uint8_t* const silence = Bits == 8 ? kSilence8 : kSilence16;
    const uint32_t count = voice.Frames;
    const uint32_t wholeStep = voice.SampleRate / outputRate;
    const uint32_t phaseStep = voice.SampleRate % outputRate;
    const float gain = voice.Gain;
    const bool looping = voice.Looping;
    uint32_t frame = voice.Frame;
    uint32_t phase = voice.Phase;

    for (uint32_t i = 0; i < frames; ++i) {
        const float t = static_cast<float>(phase) * phaseScale;
        const uint8_t* const a = data + static_cast<size_t>(frame) * blockAlign;
        const uint8_t* const b = frame + 1 < count ? a + blockAlign : looping ? data : silence;
        const float left0 = Sample<Bits>(a);
        const float left = left0 + (Sample<Bits>(b) - left0) * t;
        float right = left;
        if constexpr (Channels == 2) {
            const float right0 = Sample<Bits>(a + sampleBytes);
            right = right0 + (Sample<Bits>(b + sampleBytes) - right0) * t;
        }
        sum[2 * i] += left * gain;
        sum[2 * i + 1] += right * gain;
        frame += wholeStep;
        phase += phaseStep;
        if (phase >= outputRate) {
            phase -= outputRate;
            ++frame;
        }
        if (frame >= count) {
            if (!looping) {
                voice.Playing = false;
                frame = 0;
                phase = 0;
                break;
            }
            frame %= count;
        }
    }
    voice.Frame = frame;
    voice.Phase = phase;
}

void MixAnyVoice(TMixerVoice& voice, float* sum, uint32_t frames) {
    if (voice.BitsPerSample == 8)
        voice.Channels == 1 ? MixVoice<8, 1>(voice, sum, frames)
                            : MixVoice<8, 2>(voice, sum, frames);
    else
        voice.Channels == 1 ? MixVoice<16, 1>(voice, sum, frames)
                            : MixVoice<16, 2>(voice, sum, frames);
}

} // namespace

void TMixerVoice::SetFormat(uint32_t sampleRate, uint32_t channels, uint32_t bitsPerSample) {
    SampleRate = sampleRate;
    Channels = channels;
    BitsPerSample = bitsPerSample;
    BlockAlign = channels * bitsPerSample / 8;
    Frames = static_cast<uint32_t>(Data.size() / BlockAlign);
}

void TSoundMixer::Attach(TMixerVoice& voice) {
    const std::scoped_lock lock(FMutex);
    FVoices.push_back(&voice);
}

void TSoundMixer::Detach(TMixerVoice& voice) {
    const std::scoped_lock lock(FMutex);
    std::erase(FVoices, &voice);
}

void TSoundMixer::Mix(int16_t* output, uint32_t frames) {
    std::array<float, kChunkFrames * OutputChannels> sum;
    const std::scoped_lock lock(FMutex);
    while (frames > 0) {
        const uint32_t chunk = std::min(frames, kChunkFrames);
        const uint32_t samples = chunk * OutputChannels;
        std::fill_n(sum.begin(), samples, 0.0f);
        for (TMixerVoice* voice : FVoices)
            if (voice->Playing && voice->Frames > 0)
                MixAnyVoice(*voice, sum.data(), chunk);
        for (uint32_t i = 0; i < samples; ++i)
            output[i] = static_cast<int16_t>(std::lrint(std::clamp(sum[i], -32768.0f, 32767.0f)));
        output += samples;
        frames -= chunk;
    }
}

float AttenuationToGain(int32_t attenuation) {
    if (attenuation <= DSBVOLUME_MIN)
        return 0.0f;
    return static_cast<float>(std::pow(10.0, attenuation / 2000.0));
}

} // namespace Win32
