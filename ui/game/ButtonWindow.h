// The command bar at the lower right of the adventure screen: end of turn, next group,
// next group with action points, deploy or pack, creature encyclopedia, diary and main
// menu. The map window's hot keys call the same click handlers.
#pragma once

#include "ui/widgets/VRNWindow.h"

#include <array>
#include <functional>

namespace GameData {
class TScenario;
class TPlayer;
} // namespace GameData
namespace DXWin {
class TDXButton;
}

namespace Main {

// The bar's buttons, in the order they are made.
enum TCommandButton : int {
    cbEndTurn,
    cbNextGroup,
    cbNextGroupWithAPs,
    cbDeployPack,
    cbCreaturePedia,
    cbDiary,
    cbMainMenu,
    CommandButtonCount
};

class TButtonWindow : public TVRNWindow {
public:
    static constexpr int Left = 655;
    static constexpr int Top = 455;
    static constexpr int Size = 145;
    static constexpr int ButtonSize = 40;

    explicit TButtonWindow(DXWin::TDXWindowSystem* windowSystem);
    ~TButtonWindow() override;

    void SetScenario(GameData::TScenario* scenario);
    GameData::TScenario* Scenario() const { return FScenario; }

    void EndTurnClick();
    void NextGroupClick();
    void NextGroupWithAPsClick();
    void DeployPackClick();
    void DiaryClick();
    void MainMenuClick();

    DXWin::TDXButton* Button(TCommandButton button) const { return FButtons[size_t(button)]; }

    // Whether End of turn asks "End turn?" first: the game's ConfirmEndTurn setting,
    // unless a test answers in its place.
    std::function<bool()> ConfirmEndTurn;

private:
    void MakeButton(TCommandButton index);
    void DrawBackground(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) const;
    void UpdateButtons();
    // The player on turn when it is the viewing player and plays at this machine;
    // null otherwise.
    GameData::TPlayer* CommandingPlayer() const;
    // The same, and only while the scenario takes a new action: a hot key pressed
    // while the last one waits for its result posts nothing.
    GameData::TPlayer* PlayerFreeToAct() const;
    void SelectNextGroup(bool withActionPoints);

    GameData::TScenario* FScenario = nullptr;
    std::array<DXWin::TDXButton*, CommandButtonCount> FButtons{};
};

} // namespace Main
