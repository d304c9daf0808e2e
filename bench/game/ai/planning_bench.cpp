// One planning pass of a computer player, from refreshing its units to building the
// multitasks it would run, on each campaign level as the build generates it: the
// third player's pass once its tasks stand (the steady pass of every turn after the
// first). Reference: one distance fill over the same map, the step planning repeats
// most; the ratio says how many fills a pass costs.
#include "bench/RatioReporter.h"
#include "engine/core/Archive.h"
#include "game/ai/AIHandler.h"
#include "game/world/data/DataArchives.h"
#include "game/world/data/GlobalData.h"
#include "game/world/data/MainData.h"
#include "game/world/scenario/Scenario.h"
#include "tools/levels/LevelServices.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <memory>
#include <string>

namespace {

constexpr int LevelCount = 3;
constexpr int PlannedPlayer = 2;

struct TGeneratedData {
    TGeneratedData() {
        Data::DataPath = VRN_PROGRAM_DIR "/";
        Data2::OpenDataArchives();
        Data2::CreateMainData();
        Data2::CreateGlobalData();
    }
    ~TGeneratedData() {
        for (auto& scenario : Levels)
            scenario.reset();
        Data2::FreeGlobalData();
        Data2::FreeMainData();
        Data2::CloseDataArchives();
    }

    // The level loaded with computer players, every fog computed, the planner's tasks
    // made by a first pass.
    GameData::TScenario& Level(int level) {
        std::unique_ptr<GameData::TScenario>& scenario = Levels[size_t(level - 1)];
        if (!scenario) {
            const auto file =
                Data2::ScenarioArchive->OpenFile("level" + std::to_string(level) + ".scn");
            scenario = Tools::LoadLevel(*file);
            scenario->UpdateAllVisibility();
            Pass(Planner(*scenario));
        }
        return *scenario;
    }

    static AIHandler::TAIHandler& Planner(GameData::TScenario& scenario) {
        return static_cast<AIHandler::TAIHandler&>(*scenario.Players[PlannedPlayer]->AI);
    }

    // A pass's planning steps, in the turn's order, without acting.
    static bool Pass(AIHandler::TAIHandler& planner) {
        planner.FreeRemovedUnits();
        planner.ExecuteScriptCommands();
        planner.RefreshUnits();
        if (planner.Available.Count() == 0)
            return false;
        planner.UpdateTaskTargets();
        if (!planner.UpdateTasks())
            return false;
        planner.ProcessSightings();
        planner.UpdateTaskTargets();
        planner.AssignTasks();
        return planner.BuildMultiTasks();
    }

    std::array<std::unique_ptr<GameData::TScenario>, LevelCount> Levels;
};

// Made on first use; freed before the program's statics, which its sprites still use.
std::unique_ptr<TGeneratedData>& Generated() {
    static std::unique_ptr<TGeneratedData> data;
    return data;
}

TGeneratedData& Data() {
    if (!Generated())
        Generated() = std::make_unique<TGeneratedData>();
    return *Generated();
}

void BM_PlanningPass(benchmark::State& state) {
    GameData::TScenario& scenario = Data().Level(int(state.range(0)));
    AIHandler::TAIHandler& planner = TGeneratedData::Planner(scenario);
    bool planned = false;
    for (auto _ : state)
        planned = TGeneratedData::Pass(planner);
    state.counters["own_units"] = double(planner.AIUnits.Count());
    state.counters["map_units"] = double(scenario.Units.Count());
    state.counters["tasks"] = double(planner.Tasks.Count());
    state.counters["multitasks"] = planned ? double(planner.MultiTasks.Count()) : 0.0;
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PlanningPass)->DenseRange(1, LevelCount)->Unit(benchmark::kMillisecond);

void BM_DistanceFill(benchmark::State& state) {
    GameData::TScenario& scenario = Data().Level(int(state.range(0)));
    for (auto _ : state) {
        scenario.FillDistanceMap(scenario.Width / 2, scenario.Height / 2, 10000,
                                 scenario.Players[PlannedPlayer]);
        benchmark::DoNotOptimize(scenario.Distances.data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DistanceFill)->DenseRange(1, LevelCount)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    const int result = Bench::RunWithRatios(argc, argv, [](Bench::TRatioReporter& r) {
        for (int level = 1; level <= LevelCount; ++level) {
            const std::string pass = "BM_PlanningPass/" + std::to_string(level);
            const std::string fill = "BM_DistanceFill/" + std::to_string(level);
            r.Slowdown(pass.c_str(), fill.c_str(), 0);
            const Bench::TSpread time = r.Time(pass);
            std::printf("  level %d: a pass best %.3f ms, median %.3f ms; %.0f own units of "
                        "%.0f on the map, %.0f tasks, %.0f multitasks\n",
                        level, time.Min, time.Median, r.Counter(pass, "own_units").Max,
                        r.Counter(pass, "map_units").Max, r.Counter(pass, "tasks").Max,
                        r.Counter(pass, "multitasks").Max);
        }
    });
    Generated().reset();
    return result;
}
