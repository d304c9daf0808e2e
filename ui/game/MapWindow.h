// The full-screen adventure map behind every other game screen: draws the scenario,
// scrolls the view, chooses the cursor and hover text, shows the planned path with its
// cost, and turns clicks and keys into player actions. It only posts actions.
#pragma once

#include "engine/widgets/DXWindow.h"

#include <cstdint>

namespace GameData {
class TScenario;
}

namespace Main {

class TMapWindow : public DXWin::TDXWindow {
public:
    explicit TMapWindow(DXWin::TDXWindowSystem* windowSystem);
    ~TMapWindow() override;

    void SetScenario(GameData::TScenario* scenario);
    void Invalidate();
    void ReleaseSurfaces();
    void RecreateSurfaces();
    // Scrolls so that map pixel (x, y) comes to the centre of the screen left of the
    // side panels; with report, the player on turn's result is set to 1 when it ends.
    void CenterOn(int32_t x, int32_t y, bool report, int32_t steps);
    bool IsOnScreen(int32_t x, int32_t y) const;
    void HideMarker();
    // Clamped to the map (230 pixels past its right edge); moves the scenario's view.
    void SetView(int32_t x, int32_t y);
    int32_t ViewX() const;
    int32_t ViewY() const;
    static constexpr int32_t ViewWidth = 800;
    static constexpr int32_t ViewHeight = 600;

private:
    GameData::TScenario* FScenario = nullptr;
};

} // namespace Main
