// The sound decoders against their references, in sample frames per second: the MP3
// stream against libmpg123 decoding the same bytes alone, and IMA ADPCM decoding of an AX
// file against reading the same sound stored as plain PCM. The ratios are printed after
// the table.
#include "bench/RatioReporter.h"
#include "engine/sound/AXStream.h"
#include "engine/sound/MP3Stream.h"
#include "tools/AudioWriters.h"

#include <benchmark/benchmark.h>
#include <mpg123.h>

#include <cmath>

namespace {

using Tools::TBytes;

constexpr uint32_t SoundFrames = 20 * 44100;

std::vector<int16_t> Tone(uint32_t frames) {
    std::vector<int16_t> samples(size_t(frames) * 2);
    for (uint32_t f = 0; f < frames; ++f) {
        const double t = f / 44100.0;
        samples[2 * f] = static_cast<int16_t>(12000 * std::sin(2 * 3.14159 * 440 * t));
        samples[2 * f + 1] = static_cast<int16_t>(9000 * std::sin(2 * 3.14159 * 660 * t));
    }
    return samples;
}

const TBytes& MP3File() {
    static const TBytes bytes = [] {
        const auto tone = Tone(SoundFrames);
        return Tools::EncodeMP3(tone.data(), SoundFrames, {44100, 2, true, 4, 128, ""});
    }();
    return bytes;
}

// libmpg123 decoding from memory with no stream layer around it.
void BM_DecodeMP3Straight(benchmark::State& state) {
    const TBytes& file = MP3File();
    mpg123_init();
    std::vector<uint8_t> buffer(4096 * 4);
    for (auto _ : state) {
        mpg123_handle* decoder = mpg123_new(nullptr, nullptr);
        mpg123_param(decoder, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
        mpg123_open_feed(decoder);
        mpg123_feed(decoder, file.data(), file.size());
        size_t total = 0, done = 0;
        int status = MPG123_OK;
        do {
            status = mpg123_read(decoder, buffer.data(), buffer.size(), &done);
            total += done;
        } while (status == MPG123_OK || status == MPG123_NEW_FORMAT);
        mpg123_delete(decoder);
        state.SetItemsProcessed(state.items_processed() + int64_t(total / 4));
    }
}
BENCHMARK(BM_DecodeMP3Straight)->Unit(benchmark::kMillisecond);

void BM_DecodeMP3Stream(benchmark::State& state) {
    const TBytes& file = MP3File();
    std::vector<int16_t> buffer(4096 * 2);
    for (auto _ : state) {
        Audio::TMP3Stream mp3;
        mp3.Open(std::make_unique<ClassLib::TMemoryStream>(file), Audio::omRead, {});
        uint32_t total = 0;
        while (const uint32_t got = mp3.Read(buffer.data(), 4096))
            total += got;
        state.SetItemsProcessed(state.items_processed() + total);
    }
}
BENCHMARK(BM_DecodeMP3Stream)->Unit(benchmark::kMillisecond);

void DecodeAX(benchmark::State& state, uint32_t mode) {
    const auto tone = Tone(SoundFrames);
    const TBytes file = Tools::EncodeAX(tone.data(), SoundFrames, {44100, 16, 2, 4}, mode);
    std::vector<int16_t> buffer(4096 * 2);
    for (auto _ : state) {
        Audio::TAXStream ax;
        ax.Open(std::make_unique<ClassLib::TMemoryStream>(file), Audio::omRead, {});
        for (uint32_t done = 0; done < ax.Length();)
            done += ax.Read(buffer.data(), std::min(4096u, ax.Length() - done));
        state.SetItemsProcessed(state.items_processed() + ax.Length());
    }
}

void BM_ReadAXPCM(benchmark::State& state) {
    DecodeAX(state, Audio::omWritePCM);
}
BENCHMARK(BM_ReadAXPCM)->Unit(benchmark::kMillisecond);

void BM_DecodeAXADPCM(benchmark::State& state) {
    DecodeAX(state, 0);
}
BENCHMARK(BM_DecodeAXADPCM)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return Bench::RunWithRatios(argc, argv, [](Bench::TRatioReporter& r) {
        r.Ratio("BM_DecodeMP3Stream", "BM_DecodeMP3Straight", 0);
        r.Ratio("BM_DecodeAXADPCM", "BM_ReadAXPCM", 0);
    });
}
