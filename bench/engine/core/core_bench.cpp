// The text data reader against reading the same file's bytes plainly (block reads and
// one byte per call), archive reads against reading the same bytes from a plain file (in
// 64 KB blocks and in 4-byte fields, as loaders do), and the seeded generator. The ratios
// are printed after the table.
#include "bench/RatioReporter.h"
#include "engine/core/Archive.h"
#include "engine/core/Random.h"
#include "engine/core/TextReader.h"
#include "platform/classlib/Files.h"
#include "tools/ArchiveWriter.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>

namespace {

using Tools::TBytes;

constexpr int32_t ChunkBytes = 64 * 1024;

// About 10 MB of prototype-like lines: numbers, quoted names, masks and comments.
const std::string& TextFile() {
    static const std::string path = [] {
        ClassLib::TMemoryStream s;
        const char* line = "12 -345 \"Fire Drake\" 0101100111 1 ; a comment\r\n";
        const auto length = static_cast<int64_t>(std::strlen(line));
        while (s.GetSize() < 10 * 1024 * 1024)
            s.WriteBuffer(line, length);
        const std::string name =
            (std::filesystem::temp_directory_path() / "vrn-bench-text.txt").string();
        s.SaveToFile(name);
        return name;
    }();
    return path;
}

void BM_ReadFileBytes(benchmark::State& state) {
    ClassLib::TFileStream file(TextFile(), ClassLib::fmOpenRead | ClassLib::fmShareDenyWrite);
    std::vector<char> buffer(4096);
    for (auto _ : state) {
        file.SetPosition(0);
        int64_t checksum = 0;
        while (const int32_t got = file.Read(buffer.data(), static_cast<int32_t>(buffer.size())))
            checksum += buffer[static_cast<size_t>(got - 1)];
        benchmark::DoNotOptimize(checksum);
    }
    state.SetBytesProcessed(state.iterations() * file.GetSize());
}

// The cost a reader pays that takes the file one byte per call.
void BM_ReadFileByteByByte(benchmark::State& state) {
    ClassLib::TFileStream file(TextFile(), ClassLib::fmOpenRead | ClassLib::fmShareDenyWrite);
    for (auto _ : state) {
        file.SetPosition(0);
        const int64_t size = file.GetSize();
        int64_t checksum = 0;
        for (int64_t i = 0; i < size; ++i)
            checksum += file.ReadValue<uint8_t>();
        benchmark::DoNotOptimize(checksum);
    }
    state.SetBytesProcessed(state.iterations() * file.GetSize());
}

// A whole file through one reader, as the loaders read.
void BM_ReadTokens(benchmark::State& state) {
    ClassLib::TFileStream file(TextFile(), ClassLib::fmOpenRead | ClassLib::fmShareDenyWrite);
    ClassLib::AnsiString token;
    int64_t tokens = 0;
    for (auto _ : state) {
        file.SetPosition(0);
        Data::TTextReader reader(file);
        while (!reader.AtEnd()) {
            reader.ReadToken(token, 0);
            ++tokens;
        }
        benchmark::DoNotOptimize(token);
    }
    state.SetBytesProcessed(state.iterations() * file.GetSize());
    state.counters["tokens/s"] =
        benchmark::Counter(static_cast<double>(tokens), benchmark::Counter::kIsRate);
}

// The same without copying each token: what the typed reads (numbers, masks, names into
// fixed buffers) cost.
void BM_ReadTokenViews(benchmark::State& state) {
    ClassLib::TFileStream file(TextFile(), ClassLib::fmOpenRead | ClassLib::fmShareDenyWrite);
    size_t characters = 0;
    for (auto _ : state) {
        file.SetPosition(0);
        Data::TTextReader reader(file);
        while (!reader.AtEnd())
            characters += reader.ReadTokenView(0).size();
    }
    benchmark::DoNotOptimize(characters);
    state.SetBytesProcessed(state.iterations() * file.GetSize());
}

// One token per call straight from the stream, as files read a token or two at a time.
void BM_ReadTokenCalls(benchmark::State& state) {
    ClassLib::TFileStream file(TextFile(), ClassLib::fmOpenRead | ClassLib::fmShareDenyWrite);
    ClassLib::AnsiString token;
    for (auto _ : state) {
        file.SetPosition(0);
        const int64_t size = file.GetSize();
        while (file.GetPosition() < size)
            Data::ReadToken(&file, token, 0);
        benchmark::DoNotOptimize(token);
    }
    state.SetBytesProcessed(state.iterations() * file.GetSize());
}

const std::string& Folder() {
    static const std::string folder = [] {
        const auto path = std::filesystem::temp_directory_path() / "vrn-bench-archive/";
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

void BM_NextRandom(benchmark::State& state) {
    Base::TRandomSeed seed;
    for (auto _ : state)
        benchmark::DoNotOptimize(Base::NextRandom(seed));
    state.SetItemsProcessed(state.iterations());
}

} // namespace

BENCHMARK(BM_ReadFileBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadFileByteByByte)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadTokens)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadTokenViews)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadTokenCalls)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NextRandom);

int main(int argc, char** argv) {
    return Bench::RunWithRatios(argc, argv, [](Bench::TRatioReporter& r) {
        r.Slowdown("BM_ReadTokens", "BM_ReadFileBytes", 10);
        r.Slowdown("BM_ReadTokenViews", "BM_ReadFileBytes", 10);
        r.Slowdown("BM_ReadTokenCalls", "BM_ReadFileBytes", 0);
        r.Slowdown("BM_ReadFileByteByByte", "BM_ReadFileBytes", 0);
        r.Ratio("BM_ReadArchiveFile", "BM_ReadPlainFile", 0);
        r.Ratio("BM_ReadArchiveFields", "BM_ReadPlainFields", 0);
    });
}
