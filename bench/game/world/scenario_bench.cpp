// Loading and saving the largest campaign level (level 3, 128 x 128 cells with its
// 1024-tile background) from a folder standing in for the scenario archive, warm,
// against reading its files whole through the archive.
#include "bench/RatioReporter.h"
#include "engine/core/Archive.h"
#include "game/world/data/DataArchives.h"
#include "game/world/scenario/Scenario.h"
#include "platform/classlib/Streams.h"
#include "tests/support/TempDir.h"
#include "tools/ArchiveWriter.h"
#include "tools/levels/LevelBuilder.h"
#include "tools/levels/SeedLevel.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace {

struct TLevelThree {
    TLevelThree() {
        Tools::InstallSeedGlobalData();
        Tools::TBuiltLevel built = Tools::BuildLevel(Tools::ReadLevelDescriptionFile(
            std::string(VRN_SOURCE_DIR) + "/data/levels/level3.txt"));
        std::filesystem::create_directories(Folder.Path() + "scenario");
        for (const auto& [name, bytes] : built.Files)
            Tools::SaveLooseFile(Folder.Path() + "scenario/" + name, bytes);
        Data::DataPath = Folder.Path();
        Data2::ScenarioArchive = std::make_unique<Data::TArchive>("scenario", Data::arFolder);
        Scenario = std::move(built.Scenario);
        Names = {"level3.scn", "level3.bkg", Tools::SceneryPrototypeFile, Tools::ScenerySpriteFile,
                 Tools::BannerSpriteFile};
    }

    TestSupport::TempDir Folder;
    std::unique_ptr<GameData::TScenario> Scenario;
    std::vector<std::string> Names;
};

TLevelThree& Level() {
    static TLevelThree level;
    return level;
}

void BM_LoadLevel3(benchmark::State& state) {
    TLevelThree& level = Level();
    for (auto _ : state) {
        const auto file = Data2::ScenarioArchive->OpenFile("level3.scn");
        auto scenario = GameData::LoadScenario(*file, nullptr);
        benchmark::DoNotOptimize(scenario.get());
    }
    benchmark::DoNotOptimize(level.Scenario.get());
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LoadLevel3)->Unit(benchmark::kMillisecond);

void BM_SaveLevel3(benchmark::State& state) {
    TLevelThree& level = Level();
    for (auto _ : state) {
        ClassLib::TMemoryStream stream;
        level.Scenario->SaveToStream(&stream);
        benchmark::DoNotOptimize(stream.Memory());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SaveLevel3)->Unit(benchmark::kMillisecond);

// The level's files read whole through the archive: the floor of any load.
void BM_ReadLevel3Files(benchmark::State& state) {
    TLevelThree& level = Level();
    std::vector<uint8_t> buffer;
    for (auto _ : state)
        for (const std::string& name : level.Names) {
            const auto stream = Data2::ScenarioArchive->OpenFile(name);
            buffer.resize(size_t(stream->GetSize()));
            stream->ReadBuffer(buffer.data(), int64_t(buffer.size()));
            benchmark::DoNotOptimize(buffer.data());
        }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ReadLevel3Files)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return Bench::RunWithRatios(argc, argv, [](Bench::TRatioReporter& r) {
        r.Ratio("BM_LoadLevel3", "BM_ReadLevel3Files", 0.3);
        const Bench::TSpread load = r.Time("BM_LoadLevel3");
        const Bench::TSpread save = r.Time("BM_SaveLevel3");
        std::printf("  %-28s best %.1f ms, median %.1f ms (target under 200 ms)\n", "BM_LoadLevel3",
                    load.Min, load.Median);
        std::printf("  %-28s best %.1f ms, median %.1f ms (target under 100 ms)\n", "BM_SaveLevel3",
                    save.Min, save.Median);
    });
}
