// Loading a whole global data set of the size the game ships (20 creature kinds, 125
// spells, 64 skills, 1142 distinct common sprites) from folders standing in for the
// archives, warm in the page cache; against reading every byte of the same files through
// the archives' scrambled streams.
#include "bench/RatioReporter.h"
#include "engine/core/Archive.h"
#include "game/world/data/DataArchives.h"
#include "game/world/data/GlobalData.h"
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
    sizes.CommonSprites = 1142;
    sizes.SpriteSize = 32;
    return sizes;
}

TestSupport::TInstalledData& Installed() {
    static const TestSupport::TGlobalDataFixture fixture(ShippedSizes());
    static TestSupport::TInstalledData data(fixture);
    return data;
}

void BM_LoadGlobalData(benchmark::State& state) {
    Installed();
    for (auto _ : state) {
        Data2::CreateGlobalData();
        benchmark::DoNotOptimize(Data2::GlobalData.get());
        Data2::FreeGlobalData();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LoadGlobalData)->Unit(benchmark::kMillisecond);

// Every file of the three archives the global data read, read whole.
void BM_ReadDataFiles(benchmark::State& state) {
    Installed();
    std::vector<uint8_t> buffer;
    for (auto _ : state) {
        for (const auto* archive : {Data2::GlobalsArchive.get(), Data2::GraphicsArchive.get(),
                                    Data2::SoundsArchive.get()})
            for (int i = 0; i < archive->Count(); ++i) {
                const auto stream = archive->OpenFile(archive->GetFileName(i));
                buffer.resize(size_t(stream->GetSize()));
                stream->ReadBuffer(buffer.data(), int64_t(buffer.size()));
                benchmark::DoNotOptimize(buffer.data());
            }
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ReadDataFiles)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return Bench::RunWithRatios(argc, argv, [](Bench::TRatioReporter& r) {
        r.Ratio("BM_LoadGlobalData", "BM_ReadDataFiles", 0.1);
        const Bench::TSpread load = r.Time("BM_LoadGlobalData");
        std::printf("  %-28s best %.1f ms, median %.1f ms (target under 200 ms)\n",
                    "BM_LoadGlobalData", load.Min, load.Median);
    });
}
