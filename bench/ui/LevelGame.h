// The game on a campaign level of the generated data, as start-up leaves it: a 16-bit
// 800 x 600 display, the archives, main and global data, and the game object with the
// level started (its briefing left out, which would wait for a reader). Benchmarks of
// the screens measure their frames on it.
#pragma once

#include "engine/app/D3DFramework.h"
#include "engine/app/DXApplication.h"
#include "engine/core/Archive.h"
#include "engine/core/Base.h"
#include "engine/graphics/GfxSurfaces.h"
#include "engine/widgets/DXWindowSystem.h"
#include "game/world/data/DataArchives.h"
#include "game/world/data/GlobalData.h"
#include "game/world/data/MainData.h"
#include "platform/win32/Clock.h"
#include "platform/win32/Desktop.h"
#include "ui/game/Game.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace Bench {

class TLevelGame {
public:
    static constexpr int ScreenWidth = 800;
    static constexpr int ScreenHeight = 600;

    // programDir holds the generated data.
    TLevelGame(const char* programDir, int level) {
        DXApp::Application = &Application;
        D3DFrame::D3DFramework = std::make_unique<D3DFrame::TD3DFramework>(
            nullptr, "Varnholt", 0x03, ScreenWidth, ScreenHeight, 16, Accept16);
        D3DFrame::D3DFramework->SetFullScreen(-1, -1, -1);
        Gfx::CalibrateRenderer();
        Base::ProgramPath = std::string(programDir) + "/";
        Data::ReadDataPath();
        Data2::OpenDataArchives();
        Data2::CreateMainData();
        Data2::CreateGlobalData();
        Data2::GlobalData->PrepareSurfaces();
        if (Data2::GlobalData->LevelCount < level)
            throw std::runtime_error("the campaign has no level " + std::to_string(level));
        Main::Game = std::make_unique<Main::TGame>(&Windows);
        Main::Game->Init();
        Main::Game->Screens.ScenarioBook = nullptr;
        Main::Game->LoadScenario(Data2::GlobalData->LevelFiles[level - 1], level);
        Main::TGameParams params;
        params.Reset();
        Main::Game->StartGame(params);
    }
    ~TLevelGame() {
        Main::Game.reset();
        Data2::GlobalData.reset();
        Data2::FreeMainData();
        Data2::CloseDataArchives();
        Gfx::FreeGraphicsRegistries();
        D3DFrame::D3DFramework.reset();
        DXApp::Application = nullptr;
    }
    TLevelGame(const TLevelGame&) = delete;
    TLevelGame& operator=(const TLevelGame&) = delete;

    Win32::TDesktop Desktop;
    Win32::TScopedDesktop ScopedDesktop{Desktop};
    Win32::TManualClock Clock{1000};
    Win32::TScopedClock ScopedClock{Clock};
    DXApp::TDXApplication Application;
    DXWin::TDXWindowSystem Windows;

private:
    static bool Accept16(const Win32::DDSURFACEDESC2& mode) {
        return mode.ddpfPixelFormat.dwRGBBitCount == 16;
    }
};

// The reference the screens' frames are measured against: a memcpy of the 16-bit back
// buffer.
inline void MeasureBackBufferMemcpy(benchmark::State& state) {
    std::vector<uint8_t> source(size_t(TLevelGame::ScreenWidth * TLevelGame::ScreenHeight * 2),
                                0x5A);
    std::vector<uint8_t> target(source.size());
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), source.size());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(int64_t(state.iterations()));
}

} // namespace Bench
