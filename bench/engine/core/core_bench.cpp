// The text data reader against reading the same file's bytes plainly, and the
// seeded generator. Compare the bytes_per_second of BM_ReadTokens with BM_ReadFileBytes
// (block reads) and BM_ReadFileByteByByte.
#include "engine/core/Random.h"
#include "engine/core/TextReader.h"
#include "platform/classlib/Files.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>

namespace {

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

void BM_ReadTokens(benchmark::State& state) {
    ClassLib::TFileStream file(TextFile(), ClassLib::fmOpenRead | ClassLib::fmShareDenyWrite);
    ClassLib::AnsiString token;
    int64_t tokens = 0;
    for (auto _ : state) {
        file.SetPosition(0);
        const int64_t size = file.GetSize();
        while (file.GetPosition() < size) {
            Data::ReadToken(&file, token, 0);
            ++tokens;
        }
        benchmark::DoNotOptimize(token);
    }
    state.SetBytesProcessed(state.iterations() * file.GetSize());
    state.counters["tokens/s"] =
        benchmark::Counter(static_cast<double>(tokens), benchmark::Counter::kIsRate);
}

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
BENCHMARK(BM_NextRandom);
BENCHMARK_MAIN();
