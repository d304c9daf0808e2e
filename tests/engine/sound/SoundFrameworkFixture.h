// The sound framework on the manual clock and the manual output: the test plays
// the output and runs the update passes itself, 50 ms at a time, as the update
// thread and the audio device would.
#pragma once

#include "engine/sound/DSFramework.h"
#include "platform/sound/SoundOutput.h"
#include "platform/win32/Clock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <vector>

namespace SoundFrameworkTesting {

using namespace DSFrame;

// Sample frames of known values: frame f holds Value(f) on every channel (8-bit
// streams hold its top byte). It keeps its place in a shared state as the real
// streams do, can fail after a given frame, and reports its deletion.
class TTestStream : public Audio::TAudioStream {
public:
    using TValue = std::function<int16_t(uint32_t frame)>;

    explicit TTestStream(uint32_t frames, uint32_t rate = 44100, uint32_t bits = 16,
                         uint32_t channels = 1, TValue value = Ramp)
        : FValue(std::move(value)) {
        SetFormat(rate, bits, channels);
        FLength = frames;
    }
    ~TTestStream() override {
        if (Deleted)
            *Deleted = true;
    }

    // Never 0, and different for every frame of a short stretch.
    static int16_t Ramp(uint32_t frame) { return static_cast<int16_t>(1000 + frame % 20000); }

    void Open(std::unique_ptr<ClassLib::TStream>, uint32_t, const Audio::TAudioFormat&) override {}
    void Seek(uint32_t frame) override {
        if (frame > FLength)
            RaisePastEnd();
        FPosition = frame;
    }
    uint32_t Read(void* buffer, uint32_t frames) override {
        if (FPosition + frames > FailFrom)
            throw Audio::EAudioStreamError("Test stream failed.");
        frames = std::min(frames, FLength - FPosition);
        auto* bytes = static_cast<uint8_t*>(buffer);
        for (uint32_t f = 0; f < frames; ++f) {
            const int16_t value = FValue(FPosition + f);
            for (uint32_t c = 0; c < FChannels; ++c) {
                if (FBitsPerSample == 8) {
                    *bytes++ = static_cast<uint8_t>(0x80 + (value >> 8));
                } else {
                    *bytes++ = static_cast<uint8_t>(value & 0xFF);
                    *bytes++ = static_cast<uint8_t>(static_cast<uint16_t>(value) >> 8);
                }
            }
        }
        FPosition += frames;
        return frames;
    }
    void Write(const void*, uint32_t) override {}
    void Close() override {}
    void SaveState(Audio::TAudioStreamState& state) const override { state.Values[0] = FPosition; }
    void RestoreState(const Audio::TAudioStreamState& state) override {
        FPosition = state.Values[0];
    }

    uint32_t FailFrom = UINT32_MAX;
    bool* Deleted = nullptr;

private:
    TValue FValue;
};

inline TAudioStreamPtr Owned(std::unique_ptr<Audio::TAudioStream> stream) {
    return TAudioStreamPtr(stream.release(), {true});
}

inline TTestStream::TValue Constant(int16_t value) {
    return [value](uint32_t) { return value; };
}

// The gain an attenuation gives, as the mixer applies it.
inline double Gain(int32_t attenuation) {
    return std::pow(10.0, attenuation / 2000.0);
}

// Left channel of interleaved stereo.
inline std::vector<int16_t> Left(const std::vector<int16_t>& stereo) {
    std::vector<int16_t> left;
    for (size_t i = 0; i < stereo.size(); i += 2)
        left.push_back(stereo[i]);
    return left;
}

class SoundFramework : public testing::Test {
protected:
    static constexpr uint32_t Step = 50;         // ms between passes
    static constexpr uint32_t StepFrames = 2205; // output frames in one step

    void Start(uint32_t flags = dsoPlayPrimary | dsoExclusiveLevel, int tracks = 6,
               int reserved = 2, int bufferMilliseconds = 500) {
        Sound = std::make_unique<TDSFramework>(nullptr);
        Sound->Init(-1, flags, tracks, reserved, bufferMilliseconds, 44100, 16, 2);
    }

    // Plays one step of output, lets the time pass and runs one update pass;
    // returns what was heard, interleaved stereo.
    std::vector<int16_t> Run() {
        std::vector<int16_t> heard = Output.RenderMilliseconds(Step);
        Clock.Advance(Step);
        Sound->UpdateTracks();
        return heard;
    }
    std::vector<int16_t> Run(int steps) {
        std::vector<int16_t> heard;
        for (int i = 0; i < steps; ++i) {
            const std::vector<int16_t> step = Run();
            heard.insert(heard.end(), step.begin(), step.end());
        }
        return heard;
    }

    Win32::TManualClock Clock{100000};
    Win32::TScopedClock UseClock{Clock};
    Win32::TManualSoundOutput Output;
    Win32::TScopedSoundOutput UseOutput{Output};
    std::unique_ptr<TDSFramework> Sound;
};

} // namespace SoundFrameworkTesting
