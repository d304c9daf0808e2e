// The command bar at the lower right of the adventure screen: end of turn, next group,
// next group with action points, deploy or pack, creature encyclopedia, diary and main
// menu. The map window's hot keys call the same click handlers.
#pragma once

#include "ui/widgets/VRNWindow.h"

namespace GameData {
class TScenario;
}

namespace Main {

class TButtonWindow : public TVRNWindow {
public:
    explicit TButtonWindow(DXWin::TDXWindowSystem* windowSystem);
    ~TButtonWindow() override;

    void SetScenario(GameData::TScenario* scenario);

    void EndTurnClick();
    void NextGroupClick();
    void NextGroupWithAPsClick();
    void DeployPackClick();
    void DiaryClick();
    void MainMenuClick();

private:
    GameData::TScenario* FScenario = nullptr;
};

} // namespace Main
