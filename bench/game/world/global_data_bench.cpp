// Loading the global data as the game does at start-up: from the archives the build
// generates beside the program (the sample's creatures, spells, skills, its common,
// picture, creature and spell sprites and its fonts), warm in the page cache; against
// reading every byte of the same files through the archives' scrambled streams. A
// synthetic set of the shipped counts with small 32-pixel sprites, made by the tests'
// writers, is the secondary figure.
#include "bench/RatioReporter.h"
#include "engine/core/Archive.h"
#include "game/world/data/DataArchives.h"
#include "game/world/data/GlobalData.h"
#include "game/world/data/MainData.h"
#include "tests/support/GlobalDataFixture.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

TestSupport::TGlobalDataSizes ShippedSizes() {
    TestSupport::TGlobalDataSizes sizes;
    sizes.Units = 20;
    sizes.Spells = 125;
    sizes.Skills = 64;
    sizes.CommonSprites = Data2::CommonSpriteCount;
    sizes.SpriteSize = 32;
    return sizes;
}

// The archives the build generated, opened as the game opens them, with its main data.
class TGeneratedData {
public:
    TGeneratedData() {
        Data::DataPath = VRN_PROGRAM_DIR "/";
        try {
            Data2::OpenDataArchives();
            Data2::CreateMainData();
        } catch (...) {
            Close();
            throw;
        }
    }
    ~TGeneratedData() { Close(); }
    TGeneratedData(const TGeneratedData&) = delete;
    TGeneratedData& operator=(const TGeneratedData&) = delete;

private:
    static void Close() {
        Data2::FreeGlobalData();
        Data2::FreeMainData();
        Data2::CloseDataArchives();
    }
};

enum class TDataSet { Generated, Synthetic };

// One set is installed at a time; the benchmarks' repetitions interleave, so each
// installs the set it measures (outside the timing).
struct TInstalled {
    TDataSet Set = TDataSet::Generated;
    std::unique_ptr<TGeneratedData> Generated;
    std::unique_ptr<TestSupport::TInstalledData> Synthetic;
};

TInstalled& Installed() {
    static TInstalled installed;
    return installed;
}

void Install(TDataSet set) {
    TInstalled& installed = Installed();
    if (set == installed.Set && (installed.Generated || installed.Synthetic))
        return;
    installed.Generated.reset();
    installed.Synthetic.reset();
    installed.Set = set;
    if (set == TDataSet::Generated) {
        installed.Generated = std::make_unique<TGeneratedData>();
        return;
    }
    static const TestSupport::TGlobalDataFixture fixture(ShippedSizes());
    installed.Synthetic = std::make_unique<TestSupport::TInstalledData>(fixture);
}

// The start-up's loading task: the global data made whole; freeing it is not timed.
void LoadGlobalData(benchmark::State& state, TDataSet set) {
    Install(set);
    for (auto _ : state) {
        auto data = std::make_unique<Data2::TGlobalData>();
        benchmark::DoNotOptimize(data.get());
        state.PauseTiming();
        data.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations());
}

// Every file of the three archives the global data read, read whole.
void ReadDataFiles(benchmark::State& state, TDataSet set) {
    Install(set);
    std::vector<uint8_t> buffer;
    int64_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        for (const auto* archive : {Data2::GlobalsArchive.get(), Data2::GraphicsArchive.get(),
                                    Data2::SoundsArchive.get()})
            for (int i = 0; i < archive->Count(); ++i) {
                const auto stream = archive->OpenFile(archive->GetFileName(i));
                buffer.resize(size_t(stream->GetSize()));
                stream->ReadBuffer(buffer.data(), int64_t(buffer.size()));
                benchmark::DoNotOptimize(buffer.data());
                bytes += int64_t(buffer.size());
            }
    }
    state.counters["bytes"] = double(bytes);
    state.SetItemsProcessed(state.iterations());
}

void BM_LoadGlobalData(benchmark::State& state) {
    LoadGlobalData(state, TDataSet::Generated);
}
BENCHMARK(BM_LoadGlobalData)->Unit(benchmark::kMillisecond);

void BM_ReadDataFiles(benchmark::State& state) {
    ReadDataFiles(state, TDataSet::Generated);
}
BENCHMARK(BM_ReadDataFiles)->Unit(benchmark::kMillisecond);

void BM_LoadSyntheticGlobalData(benchmark::State& state) {
    LoadGlobalData(state, TDataSet::Synthetic);
}
BENCHMARK(BM_LoadSyntheticGlobalData)->Unit(benchmark::kMillisecond);

void BM_ReadSyntheticDataFiles(benchmark::State& state) {
    ReadDataFiles(state, TDataSet::Synthetic);
}
BENCHMARK(BM_ReadSyntheticDataFiles)->Unit(benchmark::kMillisecond);

void PrintTime(Bench::TRatioReporter& r, const char* name, const char* target) {
    const Bench::TSpread time = r.Time(name);
    std::printf("  %-28s best %.2f ms, median %.2f ms%s\n", name, time.Min, time.Median, target);
}

} // namespace

int main(int argc, char** argv) {
    const int result = Bench::RunWithRatios(argc, argv, [](Bench::TRatioReporter& r) {
        r.Ratio("BM_LoadGlobalData", "BM_ReadDataFiles", 0.1);
        r.Ratio("BM_LoadSyntheticGlobalData", "BM_ReadSyntheticDataFiles", 0.1);
        PrintTime(r, "BM_LoadGlobalData", " (target under 200 ms)");
        PrintTime(r, "BM_ReadDataFiles", "");
        PrintTime(r, "BM_LoadSyntheticGlobalData", " (target under 200 ms)");
        PrintTime(r, "BM_ReadSyntheticDataFiles", "");
    });
    // The data go before the program's statics, which their sprites still use.
    Installed().Generated.reset();
    Installed().Synthetic.reset();
    return result;
}
