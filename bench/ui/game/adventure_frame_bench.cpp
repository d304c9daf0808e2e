// One frame of the adventure screen on campaign level 3 with the generated game data:
// the game's update (with the scenario's) and the render of the map window, mini-map,
// command bar and message line into the 800 x 600 back buffer, against a memcpy of the
// back buffer; and the mini-map's redraw after the viewing player's fog has changed.
#include "bench/RatioReporter.h"
#include "bench/ui/LevelGame.h"
#include "engine/app/D3DFramework.h"
#include "engine/app/DXApplication.h"
#include "engine/core/Archive.h"
#include "engine/core/Base.h"
#include "engine/graphics/GfxSurfaces.h"
#include "engine/widgets/DXWindowSystem.h"
#include "game/world/data/DataArchives.h"
#include "game/world/data/GlobalData.h"
#include "game/world/data/MainData.h"
#include "game/world/fog/Fog.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"
#include "platform/win32/Clock.h"
#include "platform/win32/Desktop.h"
#include "ui/game/Game.h"
#include "ui/game/SmallMapWindow.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <vector>

namespace {

constexpr int Level = 3;

// The game as start-up leaves it, on level 3 with the local player on turn.
struct TAdventureScreen : Bench::TLevelGame {
    TAdventureScreen() : TLevelGame(VRN_PROGRAM_DIR, Level) {
        // The computer players before the local one end their turns at once.
        for (int tick = 0; tick < 1000 && !LocalTurn(); ++tick)
            Frame();
        if (!LocalTurn())
            throw std::runtime_error("the local player's turn never came");
    }
    bool LocalTurn() const {
        const GameData::TScenario* s = Main::Game->Scenario.get();
        return s && s->CurrentPlayer && s->CurrentPlayer->Type == GameData::ptLocal &&
               s->CurrentPlayer == s->ViewingPlayer() && !s->IsBusy();
    }

    // What the application's update and render callbacks do for the adventure screen.
    void Frame() {
        ++Application.TickCount;
        Main::Game->Update();
        Windows.Tick();
        Win32::IDirect3DDevice7& device = *D3DFrame::D3DFramework->Device();
        Win32::IDirectDrawSurface7* back = D3DFrame::D3DFramework->BackBuffer();
        device.BeginScene();
        D3DFrame::D3DFramework->ClearBackBuffer();
        Windows.Draw(back);
        Main::Game->Draw(back);
        device.EndScene();
    }
};

TAdventureScreen& Screen() {
    static TAdventureScreen screen;
    return screen;
}

void BM_AdventureFrame(benchmark::State& state) {
    TAdventureScreen& screen = Screen();
    for (auto _ : state)
        screen.Frame();
    state.SetItemsProcessed(int64_t(state.iterations()));
}
BENCHMARK(BM_AdventureFrame)->Unit(benchmark::kMillisecond);

// One cell of the viewing player's fog image changes between redraws, as when a group
// moves; the picture under the frame is made again every time.
void BM_MiniMapRedrawAfterFogChange(benchmark::State& state) {
    TAdventureScreen& screen = Screen();
    Main::TSmallMapWindow& map = *Main::Game->SmallMap();
    GameData::TFog& fog = *Main::Game->Scenario->ViewingPlayer()->Fog;
    Win32::IDirectDrawSurface7* back = D3DFrame::D3DFramework->BackBuffer();
    uint8_t* pixel = fog.FogImage.Frames[0].Pixels.data();
    const int before = map.PictureCompositions();
    for (auto _ : state) {
        pixel[3] ^= 0x80;
        map.Paint(back);
    }
    if (map.PictureCompositions() - before != int(state.iterations()))
        state.SkipWithError("the picture was not made again after a fog change");
    (void)screen;
    state.SetItemsProcessed(int64_t(state.iterations()));
}
BENCHMARK(BM_MiniMapRedrawAfterFogChange)->Unit(benchmark::kMicrosecond);

void BM_MiniMapRedraw(benchmark::State& state) {
    Screen();
    Main::TSmallMapWindow& map = *Main::Game->SmallMap();
    Win32::IDirectDrawSurface7* back = D3DFrame::D3DFramework->BackBuffer();
    for (auto _ : state)
        map.Paint(back);
    state.SetItemsProcessed(int64_t(state.iterations()));
}
BENCHMARK(BM_MiniMapRedraw)->Unit(benchmark::kMicrosecond);

void BM_BackBufferMemcpy(benchmark::State& state) {
    Bench::MeasureBackBufferMemcpy(state);
}
BENCHMARK(BM_BackBufferMemcpy)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return Bench::RunWithRatios(argc, argv, [](Bench::TRatioReporter& r) {
        r.Ratio("BM_AdventureFrame", "BM_BackBufferMemcpy", 0.0);
        r.Ratio("BM_MiniMapRedrawAfterFogChange", "BM_BackBufferMemcpy", 0.0);
        r.Ratio("BM_MiniMapRedraw", "BM_BackBufferMemcpy", 0.0);
        const Bench::TSpread frame = r.Rate("BM_AdventureFrame");
        const Bench::TSpread fog = r.Rate("BM_MiniMapRedrawAfterFogChange");
        std::printf("  adventure frame best %.3f ms, median %.3f ms (target at most 2 ms)\n",
                    1000.0 / frame.Max, 1000.0 / frame.Median);
        std::printf("  mini-map redraw after a fog change best %.3f ms, median %.3f ms "
                    "(target at most 1 ms)\n",
                    1000.0 / fog.Max, 1000.0 / fog.Median);
    });
}
