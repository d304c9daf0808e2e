// The game object headless on the tiny world, with two computer players' line-ups of
// the sample bestiary facing each other out of the third player's sight, and the fight
// dialog installed: the start of fights that tests and benchmarks play both ways.
#pragma once

#include "engine/widgets/DXWindowSystem.h"
#include "game/world/groups/Group.h"
#include "game/world/scenario/Scenario.h"
#include "platform/win32/Desktop.h"
#include "tests/support/BattleBuilder.h"
#include "tests/support/SampleBestiary.h"
#include "tests/support/TinyWorld.h"
#include "tests/support/UnitBuilder.h"
#include "ui/game/Game.h"
#include "ui/screens/FightDialog.h"

#include <array>
#include <chrono>
#include <memory>
#include <thread>

namespace TestSupport {

using TLineUp = std::array<int, 3>;

class TFightWorld {
public:
    TFightWorld(const TLineUp& attackers, const TLineUp& defenders, int level) {
        AddSampleBestiary(Data);
        TTinyWorld world;
        Attacker = AddLineUp(world, 0, 2, 2, attackers, level);
        Defender = AddLineUp(world, 1, 3, 2, defenders, level);
        Game = std::make_unique<Main::TGame>(&Windows);
        Game->Init();
        Game->Scenario = std::move(world.Scenario);
        GameData::TScenario& scenario = *Game->Scenario;
        for (int i = 0; i < 2; ++i)
            scenario.Players[i]->Type = GameData::ptComputer;
        scenario.CurrentPlayerIndex = 0;
        scenario.CurrentPlayer = scenario.Players[0];
        scenario.SetViewingPlayer(scenario.Players[2]);
        scenario.CurrentPlayer->SelectObject(Attacker);
        auto dialog = std::make_unique<Main::TFightDialog>(&Windows, *Game);
        Dialog = dialog.get();
        Game->FightDialog = std::move(dialog);
    }

    static GameData::TGroup* AddLineUp(TTinyWorld& world, uint8_t owner, int x, int y,
                                       const TLineUp& lineUp, int level) {
        GameData::TGroup* group = world.AddGroup(owner, x, y);
        for (const int id : lineUp)
            group->AddUnit(MakeUnitAtLevel(id, level, true), true, false);
        return group;
    }

    // The fight played on the dialog tick by tick, as the screen shows it, the game
    // executing the sides' posted commands between the ticks; false when it has not
    // ended within two minutes (a hang, not a speed test).
    bool PlayShown() {
        Dialog->StartGroupFight(Attacker, Defender);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
        while (Dialog->Fighting()) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            Game->ExecuteAction();
            Dialog->Tick();
            if (Dialog->Battle.IsAIThreadRunning())
                std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        return true;
    }

    Win32::TDesktop Desktop;
    Win32::TScopedDesktop ScopedDesktop{Desktop};
    TTestGameData Data;
    DXWin::TDXWindowSystem Windows;
    std::unique_ptr<Main::TGame> Game;
    GameData::TGroup* Attacker = nullptr;
    GameData::TGroup* Defender = nullptr;
    Main::TFightDialog* Dialog = nullptr;
};

} // namespace TestSupport
