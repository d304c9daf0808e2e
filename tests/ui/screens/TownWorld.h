// The town window on the tiny world, headless: red's town with its merchants, red's
// group of two walkers before its gate, two more walkers among the town's other units,
// and the window installed in the game as the program installs it. Input goes through
// the window system's message queue; the executor carries out what the window posts.
#pragma once

#include "game/world/cities/City.h"
#include "game/world/groups/Group.h"
#include "game/world/units/Unit.h"
#include "tests/ui/game/GameFixture.h"
#include "ui/screens/CityWindow.h"
#include "ui/screens/FaceControl.h"

#include <array>

class TownTest : public GameTest {
protected:
    // Window pixels: cell centres of the collapsed panels.
    static constexpr int CellCentreY = 470 + 51;
    static constexpr int GateX(int column) { return column * 94 + 49; }
    static constexpr int DefenderX(int column) { return 377 + column * 94 + 49; }
    static constexpr int OtherX = 674 + 49;

    TownTest() {
        Group = AddGroup(0, 8, 10, 2);
        for (int i = 0; i < int(Spares.size()); ++i)
            Spares[size_t(i)] = AddGroup(0, 2 + i, 2, 1);
        Town = World->AddCity(0, 8, 8, "Redhaven");
        for (int i = 0; i < 2; ++i)
            Town->AddOtherUnit(TestSupport::MakeUnit(WalkerID), true, false)->Marker =
                GameData::CityOwnerByte;
        Town->Innkeeper.Enabled = 1;
        Town->Innkeeper.Text1 = "Hilda";
        TakeWorld();
        // Headless: a modal window shows and returns at once.
        DXApp::Application = nullptr;
        auto window = std::make_unique<Main::TCityWindow>(&Windows, *Game);
        Window = window.get();
        Game->TownWindow = std::move(window);
        Window->SetScenario(&Scenario());
        SetTurn(0, GameData::ptLocal, &Player(0));
    }

    void SetTurn(int current, uint8_t type, GameData::TPlayer* viewer) {
        Player(current).Type = type;
        Scenario().CurrentPlayerIndex = int16_t(current);
        Scenario().CurrentPlayer = &Player(current);
        Scenario().SetViewingPlayer(viewer);
        // As a turn's start does: the map's occupants as the player on turn sees them.
        Scenario().RebuildOccupancyGrid();
    }
    // The player on turn posts the action and the executor carries it out.
    int32_t Execute(const GameData::TPlayerAction& action) {
        Scenario().CurrentPlayer->PostAction(false, action);
        return Run();
    }
    // Carries out what the window posted; the acting player's result.
    int32_t Run() {
        GameData::TPlayer& player = *Scenario().CurrentPlayer;
        // A report the action leaves (the entry's, a visit's) carries its outcome; it is
        // taken as the next update would.
        do
            Game->ExecuteAction();
        while (player.HasPendingAction());
        return player.GetActionResult();
    }
    void Enter() {
        Player(0).SelectObject(Group);
        ASSERT_EQ(Execute(GameData::MakeAction(GameData::acEnterCity, Town->ID)), GameData::arDone);
        Windows.ProcessRequests();
    }
    void Drag(int fromX, int fromY, int toX, int toY) {
        MoveTo(fromX, fromY);
        Mouse(Win32::WM_LBUTTONDOWN, fromX, fromY, Win32::MK_LBUTTON);
        MoveTo((fromX + toX) / 2, (fromY + toY) / 2);
        MoveTo(toX, toY);
        Mouse(Win32::WM_LBUTTONUP, toX, toY);
    }
    void DoubleClick(int x, int y) {
        ClickAt(x, y);
        Mouse(Win32::WM_LBUTTONDBLCLK, x, y, Win32::MK_LBUTTON);
        Mouse(Win32::WM_LBUTTONUP, x, y);
    }
    bool Posted() const { return Scenario().CurrentPlayer->HasPendingAction(); }

    GameData::TGroup* Group = nullptr;
    // Red's groups of one walker each, for more visits.
    std::array<GameData::TGroup*, 3> Spares{};
    GameData::TCity* Town = nullptr;
    Main::TCityWindow* Window = nullptr;
};
