// The retained map view of an 800 x 600 window on campaign level 3 (128 x 128 cells)
// with its scenery, groups and cities and the first player's fog edges: a full
// redraw with the fog, and a scroll by a quarter of the view, each against a memcpy
// of one frame measured in the same run.
#include "bench/RatioReporter.h"
#include "game/world/data/GlobalData.h"
#include "game/world/fog/Fog.h"
#include "game/world/players/Player.h"
#include "platform/classlib/Streams.h"
#include "platform/display/DirectDraw.h"
#include "tools/levels/LevelBuilder.h"
#include "tools/levels/SeedLevel.h"
#include "tools/maptest/MapTestArt.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

using namespace GameData;

namespace {

constexpr int ViewWidth = 800;
constexpr int ViewHeight = 600;
// Over the first player's start: its groups and city, and the fog's edges around them.
constexpr int ViewLeft = 200;
constexpr int ViewTop = 200;

// Level 3 as the sample levels' builder composes it, with the map test's pictures
// for groups, markers, decorations and the fog-edge table, seen by its first player.
struct TBenchMap {
    TBenchMap() {
        Tools::InstallSeedGlobalData();
        Tools::InstallMapTestArt();
        Scenario = std::move(
            Tools::BuildLevel(Tools::ReadLevelDescriptionFile(std::string(VRN_SOURCE_DIR) +
                                                              "/data/levels/level3.txt"))
                .Scenario);
        Scenario->BeginTurnOf(0);
        // Explored land around the view's centre, as after some turns, so the view
        // shows terrain, scenery, groups and a city with the fog's edges through it.
        GameData::TPlayer& player = *Scenario->Players[0];
        GameData::TFog& fog = *player.Fog;
        for (int y = 0; y < fog.Height; ++y)
            for (int x = 0; x < fog.Width; ++x) {
                const int dx = x - (ViewLeft + ViewWidth / 2) / 40;
                const int dy = y - (ViewTop + ViewHeight / 2) / 40;
                uint8_t& cell = fog.Cells[size_t(y * fog.Width + x)];
                if (dx * dx + dy * dy < 11 * 11)
                    cell = std::max<uint8_t>(cell, GameData::fsExplored);
            }
        Scenario->UpdatePlayerVisibility(&player);
        Win32::DirectDrawCreateEx(nullptr, DirectDraw);
        Win32::DDSURFACEDESC2 desc;
        desc.dwSize = Win32::DDSURFACEDESC2_SIZE;
        desc.dwFlags =
            Win32::DDSD_CAPS | Win32::DDSD_WIDTH | Win32::DDSD_HEIGHT | Win32::DDSD_PIXELFORMAT;
        desc.dwWidth = ViewWidth;
        desc.dwHeight = ViewHeight;
        desc.ddpfPixelFormat = Win32::PixelFormatOf(Win32::TPixelLayout::RGB565);
        desc.ddsCaps.dwCaps = Win32::DDSCAPS_OFFSCREENPLAIN;
        DirectDraw->CreateSurface(desc, Retained);
    }

    std::unique_ptr<GameData::TScenario> Scenario;
    Win32::TRefPtr<Win32::IDirectDraw7> DirectDraw;
    Win32::TRefPtr<Win32::IDirectDrawSurface7> Retained;
};

TBenchMap& Map() {
    static TBenchMap map;
    return map;
}

const RECT Clip{0, 0, ViewWidth, ViewHeight};
constexpr int32_t AllOptions = TScenario::roBackground | TScenario::roObjects;

void BM_MapFullRedrawWithFog(benchmark::State& state) {
    TBenchMap& map = Map();
    for (auto _ : state) {
        map.Scenario->RedrawMapView(map.Retained.Get(), ViewLeft, true, AllOptions, Clip, ViewTop);
        map.Scenario->DrawFog(map.Retained.Get(), ViewLeft, Clip, ViewTop);
    }
    state.SetItemsProcessed(int64_t(state.iterations()));
}
BENCHMARK(BM_MapFullRedrawWithFog)->Unit(benchmark::kMillisecond);

void BM_MapScrollQuarterView(benchmark::State& state) {
    TBenchMap& map = Map();
    TScenario& s = *map.Scenario;
    s.RedrawMapView(map.Retained.Get(), ViewLeft, true, AllOptions, Clip, ViewTop);
    int step = 0;
    for (auto _ : state) {
        const int left = ViewLeft + (step++ % 2 ? 0 : ViewWidth / 4);
        s.RedrawMapView(map.Retained.Get(), left, false, AllOptions, Clip, ViewTop);
    }
    state.SetItemsProcessed(int64_t(state.iterations()));
}
BENCHMARK(BM_MapScrollQuarterView)->Unit(benchmark::kMillisecond);

void BM_FrameMemcpy(benchmark::State& state) {
    std::vector<uint8_t> source(size_t(ViewWidth * ViewHeight * 2), 0x5A);
    std::vector<uint8_t> target(source.size());
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), source.size());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(int64_t(state.iterations()));
}
BENCHMARK(BM_FrameMemcpy)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return Bench::RunWithRatios(argc, argv, [](Bench::TRatioReporter& r) {
        r.Ratio("BM_MapFullRedrawWithFog", "BM_FrameMemcpy", 0.0);
        r.Ratio("BM_MapScrollQuarterView", "BM_FrameMemcpy", 0.0);
        const Bench::TSpread redraw = r.Rate("BM_MapFullRedrawWithFog");
        const Bench::TSpread scroll = r.Rate("BM_MapScrollQuarterView");
        std::printf("  full redraw with fog best %.2f ms, median %.2f ms (target under 8 ms)\n",
                    1000.0 / redraw.Max, 1000.0 / redraw.Median);
        std::printf("  quarter-view scroll best %.2f ms, median %.2f ms (target under 2 ms)\n",
                    1000.0 / scroll.Max, 1000.0 / scroll.Median);
    });
}
