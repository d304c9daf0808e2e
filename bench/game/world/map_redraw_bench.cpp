// The retained map view of an 800 x 600 window on the largest map (128 x 128 cells)
// with scenery everywhere, groups of markers in view and fog edges: a full redraw
// with the fog, and a scroll by a quarter of the view, each against a memcpy of one
// frame measured in the same run.
#include "bench/RatioReporter.h"
#include "game/world/data/GlobalData.h"
#include "game/world/fog/Fog.h"
#include "platform/classlib/Streams.h"
#include "platform/display/DirectDraw.h"
#include "tests/support/TinyWorld.h"
#include "tests/support/UnitBuilder.h"
#include "tools/SpriteWriter.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

using namespace GameData;

namespace {

constexpr int ViewWidth = 800;
constexpr int ViewHeight = 600;
constexpr int MapCells = 128;
constexpr int EdgeSpriteCount = 16;

std::unique_ptr<Gfx::TSprite> MakeSprite(int width, int height, uint32_t id, bool ring) {
    Tools::TPicture picture{width, height, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool hole =
                ring && (x - width / 2) * (x - width / 2) + (y - height / 2) * (y - height / 2) <
                            width * width / 8;
            const uint32_t red = (uint32_t(x) * 5 + id * 31) & 0xFF;
            const uint32_t green = uint32_t(y) * 3 & 0xFF;
            const uint32_t blue = id * 17 & 0xFF;
            picture.Pixels.push_back(hole ? 0u : 0xFF000000u | red << 16 | green << 8 | blue);
        }
    Tools::TSpriteOptions options;
    options.ID = id;
    options.Keyed = ring;
    auto sprite = std::make_unique<Gfx::TSprite>();
    ClassLib::TMemoryStream stream(Tools::EncodeSprite({picture}, options));
    sprite->LoadFromStream(&stream);
    return sprite;
}

TestSupport::TTinyWorldOptions MapOptions() {
    TestSupport::TTinyWorldOptions options;
    options.Width = MapCells;
    options.Height = MapCells;
    return options;
}

struct TBenchMap {
    TBenchMap() : World(MapOptions()) {
        TScenario& s = *World.Scenario;
        std::vector<std::unique_ptr<Gfx::TSprite>> tiles;
        for (int i = 0; i < (MapCells / 4) * (MapCells / 4); ++i)
            tiles.push_back(MakeSprite(TileSize, TileSize, uint32_t(100 + i % 7), false));
        s.Background.SetTiles(MapCells / 4, MapCells / 4, std::move(tiles));
        // Scenery on about one cell in five.
        uint32_t seed = 7;
        for (int y = 0; y < MapCells; ++y)
            for (int x = 0; x < MapCells; ++x) {
                seed = seed * 1103515245u + 12345u;
                if ((seed >> 16) % 5 == 0)
                    World.AddDoodle((seed >> 20) % 4 == 0 ? TestSupport::TTinyWorld::Rock
                                                          : TestSupport::TTinyWorld::Tree,
                                    x, y);
            }
        // Fog: the view's middle seen, a ring around it explored, so edges run through it.
        for (int i = 0; i < EdgeSpriteCount; ++i)
            EdgeSprites.push_back(MakeSprite(40, 40, uint32_t(10 + i), true));
        for (int entry = 0; entry < 1024; ++entry)
            Data.Global().CommonSprites[10 + entry] =
                EdgeSprites[size_t(entry % EdgeSpriteCount)].get();
        s.CurrentPlayer = s.Players[0];
        TFog& fog = *s.CurrentPlayer->Fog;
        for (int y = 0; y < MapCells; ++y)
            for (int x = 0; x < MapCells; ++x) {
                const int d = std::max(std::abs(x - 30), std::abs(y - 22));
                fog.Cells[size_t(s.CellIndex(x, y))] = d < 6    ? fsVisible
                                                       : d < 12 ? fsExplored
                                                                : fsUnexplored;
            }
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
    ~TBenchMap() {
        for (int entry = 0; entry < 1024; ++entry)
            Data.Global().CommonSprites[10 + entry] = nullptr;
    }

    TestSupport::TTestGameData Data;
    TestSupport::TTinyWorld World;
    std::vector<std::unique_ptr<Gfx::TSprite>> EdgeSprites;
    Win32::TRefPtr<Win32::IDirectDraw7> DirectDraw;
    Win32::TRefPtr<Win32::IDirectDrawSurface7> Retained;
};

TBenchMap& Map() {
    static TBenchMap map;
    return map;
}

// The view starts at (800, 560): the fog's edges cross it.
constexpr int ViewLeft = 800;
constexpr int ViewTop = 560;
const RECT Clip{0, 0, ViewWidth, ViewHeight};
constexpr int32_t AllOptions = TScenario::roBackground | TScenario::roObjects;

void BM_MapFullRedrawWithFog(benchmark::State& state) {
    TBenchMap& map = Map();
    for (auto _ : state) {
        map.World.Scenario->RedrawMapView(map.Retained.Get(), ViewLeft, true, AllOptions, Clip,
                                          ViewTop);
        map.World.Scenario->DrawFog(map.Retained.Get(), ViewLeft, Clip, ViewTop);
    }
    state.SetItemsProcessed(int64_t(state.iterations()));
}
BENCHMARK(BM_MapFullRedrawWithFog)->Unit(benchmark::kMillisecond);

void BM_MapScrollQuarterView(benchmark::State& state) {
    TBenchMap& map = Map();
    TScenario& s = *map.World.Scenario;
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
