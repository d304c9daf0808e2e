// One planning pass of a computer player, from refreshing its units to building the
// multitasks it would run, on each campaign level as the build generates it: the
// third player's pass once its tasks stand (the steady pass of every turn after the
// first), with the level's fog as it starts (no enemy in sight: nothing to recruit)
// and with the whole map in sight (every enemy unit a live target, the busiest pass).
// Reference: one distance fill over the same map, the step planning repeats most; the
// ratio says how many fills a pass costs.
#include "bench/RatioReporter.h"
#include "engine/core/Archive.h"
#include "game/ai/AIHandler.h"
#include "game/world/data/DataArchives.h"
#include "game/world/data/GlobalData.h"
#include "game/world/data/MainData.h"
#include "game/world/fog/Fog.h"
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
    GameData::TScenario& Level(int level, bool allInSight) {
        std::unique_ptr<GameData::TScenario>& scenario =
            Levels[size_t(level - 1) * 2 + (allInSight ? 1 : 0)];
        if (!scenario) {
            const auto file =
                Data2::ScenarioArchive->OpenFile("level" + std::to_string(level) + ".scn");
            scenario = Tools::LoadLevel(*file);
            AIHandler::GiveUnitsToPlanners(*scenario); // as a new game does
            scenario->UpdateAllVisibility();
            if (allInSight) {
                GameData::TArea map;
                for (int y = 0; y < scenario->Height; ++y)
                    for (int x = 0; x < scenario->Width; ++x)
                        map.AddCell({int16_t(x), int16_t(y)});
                scenario->Players[PlannedPlayer]->Fog->RaiseArea(&map, GameData::fsVisible);
            }
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

    std::array<std::unique_ptr<GameData::TScenario>, LevelCount * 2> Levels;
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

void MeasurePass(benchmark::State& state, bool allInSight) {
    GameData::TScenario& scenario = Data().Level(int(state.range(0)), allInSight);
    AIHandler::TAIHandler& planner = TGeneratedData::Planner(scenario);
    bool planned = false;
    for (auto _ : state)
        planned = TGeneratedData::Pass(planner);
    int assigned = 0;
    for (const AIHandler::TAIUnit* unit : planner.AIUnits)
        assigned += unit->Assigned;
    state.counters["own_units"] = double(planner.AIUnits.Count());
    state.counters["assigned"] = double(assigned);
    state.counters["map_units"] = double(scenario.Units.Count());
    state.counters["tasks"] = double(planner.Tasks.Count());
    state.counters["multitasks"] = planned ? double(planner.MultiTasks.Count()) : 0.0;
    state.SetItemsProcessed(state.iterations());
}

void BM_PlanningPass(benchmark::State& state) {
    MeasurePass(state, false);
}
BENCHMARK(BM_PlanningPass)->DenseRange(1, LevelCount)->Unit(benchmark::kMillisecond);

void BM_PlanningPassAllInSight(benchmark::State& state) {
    MeasurePass(state, true);
}
BENCHMARK(BM_PlanningPassAllInSight)->DenseRange(1, LevelCount)->Unit(benchmark::kMillisecond);

void BM_DistanceFill(benchmark::State& state) {
    GameData::TScenario& scenario = Data().Level(int(state.range(0)), false);
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
            const std::string fill = "BM_DistanceFill/" + std::to_string(level);
            for (const char* kind : {"BM_PlanningPass/", "BM_PlanningPassAllInSight/"}) {
                const std::string pass = kind + std::to_string(level);
                r.Slowdown(pass.c_str(), fill.c_str(), 0);
                const Bench::TSpread time = r.Time(pass);
                std::printf("    a pass best %.3f ms, median %.3f ms; %.0f own units (%.0f in "
                            "tasks) of %.0f on the map, %.0f tasks, %.0f multitasks\n",
                            time.Min, time.Median, r.Counter(pass, "own_units").Max,
                            r.Counter(pass, "assigned").Max, r.Counter(pass, "map_units").Max,
                            r.Counter(pass, "tasks").Max, r.Counter(pass, "multitasks").Max);
            }
        }
    });
    Generated().reset();
    return result;
}
