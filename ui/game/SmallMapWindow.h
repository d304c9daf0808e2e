// The mini-map in the upper right corner: the terrain thumbnail under the viewing
// player's fog with the map window's view framed, and the gold, turn and player
// read-outs; clicking or dragging it moves the map window's view.
#pragma once

#include "ui/game/SmallMapPicture.h"
#include "ui/widgets/VRNWindow.h"

namespace GameData {
class TScenario;
}

namespace Main {

class TMapWindow;

class TSmallMapWindow : public TVRNWindow {
public:
    static constexpr Win32::RECT Bounds{617, 0, 800, 153};
    // The box the map area is fitted into, in window coordinates.
    static constexpr int AreaLeft = 22;
    static constexpr int AreaTop = 18;
    static constexpr int AreaWidth = 137;
    static constexpr int AreaHeight = 110;

    explicit TSmallMapWindow(DXWin::TDXWindowSystem* windowSystem);
    ~TSmallMapWindow() override;

    void SetScenario(GameData::TScenario* scenario);
    GameData::TScenario* Scenario() const { return FScenario; }
    DXWin::TDXControl* MapControl() const { return FMapControl; }
    bool Dragging() const { return FDragging; }
    // Before a display change: the map area's picture is made again when next drawn.
    void ReleaseSurfaces() { FPicture.Release(); }
    // How often the map area's picture has been made: once more after every change
    // of the fog, none while it stays.
    int PictureCompositions() const { return FPicture.Compositions(); }

private:
    void Draw(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) const;
    void DrawMap(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds);
    void DrawViewFrame(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) const;
    void MapMouseDown(int button, int x, int y);
    void MapMouseMove(int x, int y);
    void UpdateTooltip();
    // The viewing player and the player on turn both play at this machine and the
    // scenario takes commands.
    bool CanScroll() const;
    // Centres the map window's view on the map point under (x, y) of the map area.
    void CentreViewOn(int x, int y) const;
    TMapWindow* MapWindow() const;

    GameData::TScenario* FScenario = nullptr;
    bool FDragging = false;
    DXWin::TDXControl* FMapControl;
    TSmallMapPicture FPicture;
};

} // namespace Main
