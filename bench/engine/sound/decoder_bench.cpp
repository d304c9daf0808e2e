// Archive reads against reading the same bytes from a plain file, and the sound
// decoders against their references: compare bytes_per_second of
// BM_ReadArchiveFile with BM_ReadPlainFile (64 KB blocks) and of
// BM_ReadArchiveFields with BM_ReadPlainFields (4-byte fields), items_per_second (sample frames) of
// BM_DecodeMP3Stream with BM_DecodeMP3Straight (libmpg123 alone), and of
// BM_DecodeAXADPCM with BM_ReadAXPCM.
#include "engine/core/Archive.h"
#include "engine/sound/AXStream.h"
#include "engine/sound/MP3Stream.h"
#include "platform/classlib/Files.h"
#include "tools/ArchiveWriter.h"
#include "tools/AudioWriters.h"

#include <benchmark/benchmark.h>
#include <mpg123.h>

#include <cmath>
#include <filesystem>

namespace {

using Tools::TBytes;

constexpr uint32_t SoundFrames = 20 * 44100;
constexpr int32_t ChunkBytes = 64 * 1024;

std::vector<int16_t> Tone(uint32_t frames) {
    std::vector<int16_t> samples(size_t(frames) * 2);
    for (uint32_t f = 0; f < frames; ++f) {
        const double t = f / 44100.0;
        samples[2 * f] = static_cast<int16_t>(12000 * std::sin(2 * 3.14159 * 440 * t));
        samples[2 * f + 1] = static_cast<int16_t>(9000 * std::sin(2 * 3.14159 * 660 * t));
    }
    return samples;
}

const std::string& Folder() {
    static const std::string folder = [] {
        const auto path = std::filesystem::temp_directory_path() / "vrn-bench-media/";
        std::filesystem::create_directories(path);
        return path.string();
    }();
    return folder;
}

// 16 MB of bytes, as a plain file and packed into "bench.dat".
const TBytes& Payload() {
    static const TBytes bytes = [] {
        TBytes data(16 << 20);
        for (size_t i = 0; i < data.size(); ++i)
            data[i] = static_cast<uint8_t>(i * 2654435761u >> 24);
        ClassLib::WriteFileAtomically(Folder() + "plain.bin", data.data(), data.size());
        Tools::TArchiveWriter writer;
        writer.AddFile("payload.bin", data);
        writer.SaveToFile(Folder() + "bench.dat");
        Data::DataPath = Folder();
        return data;
    }();
    return bytes;
}

const TBytes& MP3File() {
    static const TBytes bytes = [] {
        const auto tone = Tone(SoundFrames);
        return Tools::EncodeMP3(tone.data(), SoundFrames, {44100, 2, true, 4, 128, ""});
    }();
    return bytes;
}

void ReadAll(ClassLib::TStream& stream, benchmark::State& state) {
    std::vector<uint8_t> buffer(ChunkBytes);
    int64_t checksum = 0;
    stream.SetPosition(0);
    while (const int32_t got = stream.Read(buffer.data(), ChunkBytes))
        checksum += buffer[static_cast<size_t>(got - 1)];
    benchmark::DoNotOptimize(checksum);
    state.SetBytesProcessed(state.bytes_processed() + stream.GetSize());
}

void BM_ReadPlainFile(benchmark::State& state) {
    Payload();
    ClassLib::TFileStream file(Folder() + "plain.bin",
                               ClassLib::fmOpenRead | ClassLib::fmShareDenyWrite);
    for (auto _ : state)
        ReadAll(file, state);
}
BENCHMARK(BM_ReadPlainFile)->Unit(benchmark::kMillisecond);

void BM_ReadArchiveFile(benchmark::State& state) {
    Payload();
    const Data::TArchive archive("bench", Data::arPacked);
    const auto stream = archive.OpenFile("payload.bin");
    for (auto _ : state)
        ReadAll(*stream, state);
}
BENCHMARK(BM_ReadArchiveFile)->Unit(benchmark::kMillisecond);

// What loaders do: one small field after another.
void ReadFields(ClassLib::TStream& stream, benchmark::State& state) {
    constexpr int64_t bytes = 1 << 20;
    uint32_t checksum = 0;
    stream.SetPosition(0);
    for (int64_t at = 0; at < bytes; at += 4)
        checksum += stream.ReadValue<uint32_t>();
    benchmark::DoNotOptimize(checksum);
    state.SetBytesProcessed(state.bytes_processed() + bytes);
}

void BM_ReadPlainFields(benchmark::State& state) {
    Payload();
    ClassLib::TFileStream file(Folder() + "plain.bin",
                               ClassLib::fmOpenRead | ClassLib::fmShareDenyWrite);
    for (auto _ : state)
        ReadFields(file, state);
}
BENCHMARK(BM_ReadPlainFields)->Unit(benchmark::kMillisecond);

void BM_ReadArchiveFields(benchmark::State& state) {
    Payload();
    const Data::TArchive archive("bench", Data::arPacked);
    const auto stream = archive.OpenFile("payload.bin");
    for (auto _ : state)
        ReadFields(*stream, state);
}
BENCHMARK(BM_ReadArchiveFields)->Unit(benchmark::kMillisecond);

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

BENCHMARK_MAIN();
