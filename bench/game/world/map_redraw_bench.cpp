// The adventure map as the game draws it: campaign level 3 from the archives the build
// generates, at 800 x 600 on the display device, with its scenery, groups, decorated
// cities and the first player's explored land and fog edges. A full redraw (the retained
// image from scratch, copied to the back buffer, overlays and fog over it) and a
// scrolling frame (8 pixels each way: the image shifted, its strips drawn, copied, and
// overlays and fog over it), each against a memcpy of one frame measured in the same run;
// then both again with the map holding more and more objects outside the view.
#include "bench/RatioReporter.h"
#include "engine/app/D3DFramework.h"
#include "engine/graphics/GfxSurfaces.h"
#include "game/world/data/LoadedGlobalData.h"
#include "game/world/objects/Doodle.h"
#include "game/world/objects/MapGeometry.h"
#include "tools/maptest/MapTestScene.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

using namespace GameData;

namespace {

constexpr int ScrollStep = 8;     // pixels per frame each way, as the map tool scrolls
constexpr int ScrollFrames = 32;  // then back again
constexpr int OutsideMargin = 12; // cells around the view kept free of added objects
const int ObjectCounts[] = {750, 1500, 3000, 6000, 12000};

bool Accept16(const Win32::DDSURFACEDESC2& mode) {
    return mode.ddpfPixelFormat.dwRGBBitCount == 16;
}

struct TBenchDisplay {
    TBenchDisplay() {
        D3DFrame::D3DFramework = std::make_unique<D3DFrame::TD3DFramework>(
            nullptr, "Varnholt", 0x03, Tools::MapViewWidth, Tools::MapViewHeight, 16, Accept16);
        D3DFrame::D3DFramework->SetFullScreen(-1, -1, -1);
        Gfx::CalibrateRenderer();
        Tools::OpenGameData(VRN_PROGRAM_DIR);
    }
    ~TBenchDisplay() {
        Tools::CloseGameData();
        D3DFrame::D3DFramework.reset();
    }
};

// The level as the map tool shows it, and a second copy whose objects outside the view
// are made as many as a growth step asks.
struct TBenchMap {
    TBenchDisplay Display;
    Tools::TMapTestScene Scene;
    Tools::TMapTestScene Grown;
    int LevelObjects = Scene.Scenario->Objects.Count();
    uint32_t Seed = 12345;

    bool Outside(const TMapObject& object) const {
        const int margin = OutsideMargin * 40;
        return object.X < Grown.ViewX - margin ||
               object.X >= Grown.ViewX + Tools::MapViewWidth + margin ||
               object.Y < Grown.ViewY - margin ||
               object.Y >= Grown.ViewY + Tools::MapViewHeight + margin;
    }

    // Scenery taken away or added on cells well outside the view until the map holds count
    // objects.
    void SetObjectCount(int count) {
        TScenario& s = *Grown.Scenario;
        for (int i = s.Objects.Count() - 1; i >= 0 && s.Objects.Count() > count; --i)
            if (s.Objects[i]->Kind == okDoodle && Outside(*s.Objects[i]))
                s.RemoveObjectAt(i, 0);
        while (s.Objects.Count() < count) {
            Seed = Seed * 1103515245u + 12345u;
            const TPoint centre =
                CellToPixelCentre(int(Seed >> 8) % s.Width, int(Seed >> 20) % s.Height);
            auto doodle = std::make_unique<TDoodle>(&s);
            doodle->X = int16_t(centre.X);
            doodle->Y = int16_t(centre.Y);
            if (!Outside(*doodle))
                continue;
            doodle->SetPrototype(
                &s.DoodlePrototypes[int(Seed % uint32_t(s.DoodlePrototypes.Count()))]);
            s.AddObject(std::move(doodle));
        }
        Grown.Frame(0, 0, true);
    }
};

TBenchMap& Map() {
    static TBenchMap map;
    return map;
}

void FullRedraws(benchmark::State& state, Tools::TMapTestScene& scene) {
    for (auto _ : state)
        scene.Frame(0, 0, true);
    state.SetItemsProcessed(int64_t(state.iterations()));
}

void ScrollingFrames(benchmark::State& state, Tools::TMapTestScene& scene) {
    const int startX = scene.ViewX, startY = scene.ViewY;
    scene.Frame(0, 0, true);
    int step = 0;
    for (auto _ : state) {
        const int d = step++ / ScrollFrames % 2 ? -ScrollStep : ScrollStep;
        scene.Frame(d, d);
    }
    scene.ViewX = startX;
    scene.ViewY = startY;
    state.SetItemsProcessed(int64_t(state.iterations()));
}

void BM_MapFullRedraw(benchmark::State& state) {
    FullRedraws(state, Map().Scene);
}
BENCHMARK(BM_MapFullRedraw)->Unit(benchmark::kMillisecond);

void BM_MapScrollingFrame(benchmark::State& state) {
    ScrollingFrames(state, Map().Scene);
}
BENCHMARK(BM_MapScrollingFrame)->Unit(benchmark::kMillisecond);

void BM_MapFullRedrawObjects(benchmark::State& state) {
    Map().SetObjectCount(int(state.range(0)));
    FullRedraws(state, Map().Grown);
}
void BM_MapScrollingFrameObjects(benchmark::State& state) {
    Map().SetObjectCount(int(state.range(0)));
    ScrollingFrames(state, Map().Grown);
}
void ObjectCountArgs(benchmark::internal::Benchmark* b) {
    for (const int count : ObjectCounts)
        b->Arg(count);
}
BENCHMARK(BM_MapFullRedrawObjects)->Apply(ObjectCountArgs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MapScrollingFrameObjects)->Apply(ObjectCountArgs)->Unit(benchmark::kMillisecond);

void BM_FrameMemcpy(benchmark::State& state) {
    std::vector<uint8_t> source(size_t(Tools::MapViewWidth * Tools::MapViewHeight * 2), 0x5A);
    std::vector<uint8_t> target(source.size());
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), source.size());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(int64_t(state.iterations()));
}
BENCHMARK(BM_FrameMemcpy)->Unit(benchmark::kMillisecond);

void PrintAgainstMemcpy(Bench::TRatioReporter& r, const std::string& name, double target) {
    const Bench::TSpread ours = r.Time(name), memcpy = r.Time("BM_FrameMemcpy");
    if (ours.Min <= 0 || memcpy.Min <= 0) {
        std::printf("  %-36s not measured\n", name.c_str());
        return;
    }
    std::printf("  %-36s best %.3f ms (%.0fx a frame's memcpy), median %.3f ms (%.0fx)",
                name.c_str(), ours.Min, ours.Min / memcpy.Min, ours.Median,
                ours.Median / memcpy.Median);
    if (target > 0)
        std::printf(" target at most %.2f ms: %s", target, ours.Min <= target ? "met" : "NOT met");
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    const int result = Bench::RunWithRatios(argc, argv, [](Bench::TRatioReporter& r) {
        const Bench::TSpread memcpy = r.Time("BM_FrameMemcpy");
        std::printf("  %-36s best %.3f ms, median %.3f ms\n", "BM_FrameMemcpy", memcpy.Min,
                    memcpy.Median);
        PrintAgainstMemcpy(r, "BM_MapFullRedraw", 1.0);
        PrintAgainstMemcpy(r, "BM_MapScrollingFrame", 0.5);
        std::printf("  level 3 holds %d objects; the growth curve adds scenery outside the view\n",
                    Map().LevelObjects);
        for (const char* name : {"BM_MapFullRedrawObjects", "BM_MapScrollingFrameObjects"})
            for (const int count : ObjectCounts)
                PrintAgainstMemcpy(r, std::string(name) + "/" + std::to_string(count), 0.0);
    });
    return result;
}
