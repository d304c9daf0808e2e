// Loading and saving the largest campaign level (level 3, 128 x 128 cells with its
// 1024-tile background) as the game does: from the generated "scenario" archive beside
// the program, with the generated global data loaded, warm in the page cache; and saved
// through the scrambling stream into a file of a save folder. References: reading the
// level's files whole through the archive, and the same save written to memory.
#include "bench/RatioReporter.h"
#include "engine/core/Archive.h"
#include "engine/core/CryptoStream.h"
#include "game/world/data/DataArchives.h"
#include "game/world/data/GlobalData.h"
#include "game/world/data/MainData.h"
#include "game/world/scenario/Scenario.h"
#include "platform/classlib/Streams.h"
#include "tests/support/TempDir.h"
#include "tools/levels/LevelServices.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr const char* LevelFile = "level3.scn";
// A saved game's fixed header (signature, level, name, turn, gold, flags and the
// thumbnail) comes before the scenario.
constexpr size_t SaveHeaderSize = 26148;

struct TGeneratedLevel {
    TGeneratedLevel() {
        Data::DataPath = VRN_PROGRAM_DIR "/";
        Data2::OpenDataArchives();
        Data2::CreateMainData();
        Data2::CreateGlobalData();
        Scenario = Load();
        for (const std::string& name :
             {std::string(LevelFile), Scenario->BackgroundFileName, Scenario->PrototypeFileName,
              Scenario->SpriteLibraryName, Scenario->PlayerSpriteLibraryName})
            if (!name.empty())
                Names.push_back(name);
        std::memcpy(SaveHeader.data(), "SAVE", 4);
    }
    ~TGeneratedLevel() {
        Scenario.reset();
        Data2::FreeGlobalData();
        Data2::FreeMainData();
        Data2::CloseDataArchives();
    }

    static std::unique_ptr<GameData::TScenario> Load() {
        const auto file = Data2::ScenarioArchive->OpenFile(LevelFile);
        return Tools::LoadLevel(*file);
    }

    std::unique_ptr<GameData::TScenario> Scenario;
    std::vector<std::string> Names;
    std::vector<uint8_t> SaveHeader = std::vector<uint8_t>(SaveHeaderSize);
    TestSupport::TempDir SaveFolder;
};

// Made on first use; freed before the program's statics, which its sprites still use.
std::unique_ptr<TGeneratedLevel>& Generated() {
    static std::unique_ptr<TGeneratedLevel> level;
    return level;
}

TGeneratedLevel& Level() {
    if (!Generated())
        Generated() = std::make_unique<TGeneratedLevel>();
    return *Generated();
}

void BM_LoadLevel3(benchmark::State& state) {
    Level();
    for (auto _ : state) {
        auto scenario = TGeneratedLevel::Load();
        benchmark::DoNotOptimize(scenario.get());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LoadLevel3)->Unit(benchmark::kMillisecond);

// The level's files read whole through the archive: the floor of any load.
void BM_ReadLevel3Files(benchmark::State& state) {
    TGeneratedLevel& level = Level();
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

// A saved game as the game writes one: its header and the scenario gathered in memory,
// then scrambled into a file of the save folder in one pass, replaced at every save. The
// scenario's field-by-field writes straight into the file would cost a system call each.
void BM_SaveLevel3ToFile(benchmark::State& state) {
    TGeneratedLevel& level = Level();
    const std::string name = level.SaveFolder.File("autosave.sav");
    int64_t size = 0;
    for (auto _ : state) {
        ClassLib::TMemoryStream bytes;
        bytes.WriteBuffer(level.SaveHeader.data(), int64_t(level.SaveHeader.size()));
        level.Scenario->SaveToStream(&bytes);
        Data::TCryptoStream file(name, ClassLib::fmCreate);
        file.WriteBuffer(bytes.Memory(), bytes.GetSize());
        size = file.GetSize();
    }
    state.counters["bytes"] = double(size);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SaveLevel3ToFile)->Unit(benchmark::kMillisecond);

// The same bytes into memory: what the save costs without the file.
void BM_SaveLevel3ToMemory(benchmark::State& state) {
    TGeneratedLevel& level = Level();
    for (auto _ : state) {
        ClassLib::TMemoryStream stream;
        stream.WriteBuffer(level.SaveHeader.data(), int64_t(level.SaveHeader.size()));
        level.Scenario->SaveToStream(&stream);
        benchmark::DoNotOptimize(stream.Memory());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SaveLevel3ToMemory)->Unit(benchmark::kMillisecond);

void PrintTime(Bench::TRatioReporter& r, const char* name, const char* target) {
    const Bench::TSpread time = r.Time(name);
    std::printf("  %-28s best %.2f ms, median %.2f ms%s\n", name, time.Min, time.Median, target);
}

} // namespace

int main(int argc, char** argv) {
    const int result = Bench::RunWithRatios(argc, argv, [](Bench::TRatioReporter& r) {
        r.Ratio("BM_LoadLevel3", "BM_ReadLevel3Files", 0.3);
        r.Ratio("BM_SaveLevel3ToFile", "BM_SaveLevel3ToMemory", 0);
        PrintTime(r, "BM_LoadLevel3", " (target at most 100 ms quiet, 200 ms busy)");
        PrintTime(r, "BM_ReadLevel3Files", "");
        PrintTime(r, "BM_SaveLevel3ToFile", " (target under 100 ms)");
        PrintTime(r, "BM_SaveLevel3ToMemory", "");
    });
    Generated().reset();
    return result;
}
