// The mini-map in the upper right corner: the terrain thumbnail under the viewing
// player's fog with the map window's view framed, and the gold, turn and player
// read-outs; clicking or dragging it moves the map window's view.
#pragma once

#include "ui/widgets/VRNWindow.h"

namespace GameData {
class TScenario;
}

namespace Main {

class TSmallMapWindow : public TVRNWindow {
public:
    explicit TSmallMapWindow(DXWin::TDXWindowSystem* windowSystem);
    ~TSmallMapWindow() override;

    void SetScenario(GameData::TScenario* scenario);

private:
    GameData::TScenario* FScenario = nullptr;
};

} // namespace Main
