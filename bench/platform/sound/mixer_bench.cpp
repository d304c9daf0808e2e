// The mixer: one second of 44.1 kHz stereo from 16 looping buffers of mixed
// formats, most of them resampled; the target is under 10 ms (1% of real time).
// The reference copies the same 16 seconds of output-format audio with memcpy,
// the least any mixer touching every track's samples could do.
#include "bench/RatioReporter.h"
#include "platform/sound/DirectSound.h"
#include "platform/sound/SoundOutput.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <numbers>
#include <vector>

namespace {

using namespace Win32;

struct TTrackFormat {
    uint32_t Rate;
    uint16_t Bits;
    uint16_t Channels;
};

// What a game's sounds come as: speech and effects at low rates, music at CD rate.
constexpr TTrackFormat kFormats[] = {
    {22050, 8, 1},  {11025, 8, 1},  {22050, 16, 1}, {44100, 16, 2},
    {48000, 16, 2}, {32000, 16, 1}, {8000, 8, 1},   {22050, 16, 2},
};

void BM_Mix16TracksOneSecond(benchmark::State& state) {
    TManualSoundOutput output;
    const TScopedSoundOutput use(output);
    IDirectSound* sound = nullptr;
    if (DirectSoundCreate(nullptr, &sound, nullptr) != DS_OK) {
        state.SkipWithError("DirectSoundCreate failed");
        return;
    }
    std::vector<IDirectSoundBuffer*> buffers;
    for (int track = 0; track < 16; ++track) {
        const TTrackFormat& f = kFormats[track % std::size(kFormats)];
        WAVEFORMATEX format;
        format.wFormatTag = WAVE_FORMAT_PCM;
        format.nChannels = f.Channels;
        format.nSamplesPerSec = f.Rate;
        format.wBitsPerSample = f.Bits;
        format.nBlockAlign = static_cast<uint16_t>(f.Channels * f.Bits / 8);
        format.nAvgBytesPerSec = f.Rate * format.nBlockAlign;
        DSBUFFERDESC description;
        description.dwSize = sizeof(description);
        description.dwFlags = DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLPAN | DSBCAPS_GETCURRENTPOSITION2;
        description.dwBufferBytes = f.Rate / 2 * format.nBlockAlign; // 500 ms
        description.lpwfxFormat = &format;
        IDirectSoundBuffer* buffer = nullptr;
        sound->CreateSoundBuffer(&description, &buffer, nullptr);

        void* data = nullptr;
        uint32_t bytes = 0;
        buffer->Lock(0, 0, &data, &bytes, nullptr, nullptr, DSBLOCK_ENTIREBUFFER);
        auto* p = static_cast<uint8_t*>(data);
        for (uint32_t i = 0; i < bytes; ++i) // a rough tone, different per track
            p[i] = static_cast<uint8_t>(128 + 60 * std::sin(i * 0.01 * (track + 1)));
        buffer->Unlock(data, bytes, nullptr, 0);
        buffer->SetVolume(-100 * track);
        buffer->Play(0, 0, DSBPLAY_LOOPING);
        buffers.push_back(buffer);
    }

    for (auto _ : state)
        benchmark::DoNotOptimize(output.Render(TSoundMixer::OutputRate));
    state.SetItemsProcessed(state.iterations() * TSoundMixer::OutputRate);

    for (IDirectSoundBuffer* buffer : buffers)
        buffer->Release();
    sound->Release();
}
BENCHMARK(BM_Mix16TracksOneSecond)->Unit(benchmark::kMillisecond);

void BM_ReferenceCopy16SecondsOfOutput(benchmark::State& state) {
    const size_t secondBytes = TSoundMixer::OutputRate * 4;
    const std::vector<uint8_t> source(16 * secondBytes, 1);
    std::vector<uint8_t> target(secondBytes);
    for (auto _ : state) {
        for (int track = 0; track < 16; ++track)
            std::memcpy(target.data(), source.data() + track * secondBytes, secondBytes);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ReferenceCopy16SecondsOfOutput)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return Bench::RunWithRatios(argc, argv, [](Bench::TRatioReporter& r) {
        r.Slowdown("BM_Mix16TracksOneSecond", "BM_ReferenceCopy16SecondsOfOutput", 0);
        const auto mix = r.Time("BM_Mix16TracksOneSecond");
        std::printf("One second of 16 tracks mixed: best %.2f ms, median %.2f ms (target under "
                    "10 ms)\n",
                    mix.Min, mix.Median);
    });
}
