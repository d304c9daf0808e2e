// A game object on the tiny world, headless: the window system on the manual clock,
// the application's tick counter set by hand, and the computer players' placeholder
// planners on their worker threads.
#pragma once

#include "engine/app/DXApplication.h"
#include "game/world/scenario/Scenario.h"
#include "tests/engine/widgets/WidgetFixture.h"
#include "tests/support/StateDigest.h"
#include "tests/support/TinyWorld.h"
#include "tests/support/UnitBuilder.h"
#include "ui/game/Game.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

class GameTest : public WidgetTest {
protected:
    static constexpr int WalkerID = 4; // ACTIONPOINTS 100, SIGHT 3

    GameTest() {
        DXApp::Application = &App;
        Data2::TUnitPrototype& walker = Data.AddUnitPrototype(WalkerID, "Walker");
        TestSupport::SetStat(walker.Stats, GameData::HITPOINTS, 30);
        TestSupport::SetStat(walker.Stats, GameData::ACTIONPOINTS, 100);
        TestSupport::SetStat(walker.Stats, GameData::SIGHT, 3);
        Data.SetConstant(Data2::gcSightDistanceScale, 1);
        for (int i = 0; i < 3; ++i)
            Data.SetConstant(Data2::gcFirstStepHeight + i, 10 * (i + 1));
        World = std::make_unique<TestSupport::TTinyWorld>();
        Game = std::make_unique<Main::TGame>(&Windows);
        Game->Init();
    }
    ~GameTest() override {
        Game.reset();
        DXApp::Application = nullptr;
    }

    // Gives the application a window and a loop that ticks the window system, so that
    // modal windows run and read what the test posts to App.Window.
    void RunModalLoops() {
        App.Create(
            Win32::GetModuleHandle(nullptr), "Varnholt", "VRNWindow", 0xA0, 100, nullptr,
            [this] { Windows.Tick(); }, nullptr, nullptr, nullptr, nullptr, nullptr,
            [this](Win32::UINT msg, Win32::WPARAM wParam, Win32::LPARAM lParam) {
                Windows.HandleMessage(msg, wParam, lParam);
            });
        App.Active = true;
    }

    // Hands the tiny world to the game; every player's script global says it plays on.
    GameData::TScenario& TakeWorld() {
        Game->Scenario = std::move(World->Scenario);
        GameData::TScenario& scenario = *Game->Scenario;
        for (int i = 0; i < scenario.PlayerCount(); ++i)
            scenario.Globals[size_t(i)] = 1;
        return scenario;
    }
    GameData::TScenario& Scenario() const { return *Game->Scenario; }
    GameData::TPlayer& Player(int index) const { return *Game->Scenario->Players[index]; }

    GameData::TGroup* AddGroup(uint8_t owner, int x, int y, int units) {
        GameData::TGroup* group = World->AddGroup(owner, x, y);
        for (int i = 0; i < units; ++i)
            group->AddUnit(TestSupport::MakeUnit(WalkerID), true, false);
        return group;
    }

    // Player 1 at this machine, the others computer players, as a campaign starts.
    static Main::TGameParams CampaignParams() {
        Main::TGameParams params;
        params.Reset();
        return params;
    }
    static Main::TGameParams AllLocal() {
        Main::TGameParams params;
        params.Reset();
        for (Main::TPlayerParams& player : params.Players)
            player.Control = Main::pcLocal;
        return params;
    }

    // Updates until done() holds; false when the time runs out (a hang, not a speed test).
    bool UpdateUntil(const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            Game->Update();
            std::this_thread::yield();
        }
        return true;
    }

    int CountMessages(const ClassLib::AnsiString& text) const {
        const auto& messages = Game->Messages();
        return int(std::count(messages.begin(), messages.end(), text));
    }

    TestSupport::TTestGameData Data;
    DXApp::TDXApplication App;
    std::unique_ptr<TestSupport::TTinyWorld> World;
    std::unique_ptr<Main::TGame> Game;
};
