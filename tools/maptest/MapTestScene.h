// What the map tool shows, shared with its benchmark and tests: campaign level 3 from
// the archives the build generates, its cities decorated, the land around the first
// player's start explored, and one frame of the adventure map drawn as the tool draws
// it on the display device.
#pragma once

#include "game/world/scenario/Scenario.h"

#include <memory>
#include <string>

namespace Tools {

constexpr int MapViewWidth = 800;
constexpr int MapViewHeight = 600;
// The side a new game gives to the person at this machine; player 0 is the wild side.
constexpr int PersonsSide = 1;

// As the game starts: data.ini in folder leads to the archives, which stay open with
// the main and global data made from them until CloseGameData.
void OpenGameData(const std::string& folder);
void CloseGameData();
// A campaign level from the open archives; its index counts from 0.
std::unique_ptr<GameData::TScenario> LoadCampaignLevel(int level);

// As after some turns of play: the first player has explored every cell closer than
// radius cells to (centreX, centreY).
void ExploreAround(GameData::TScenario& scenario, int centreX, int centreY, int radius);

// The view's top-left corner, kept on the map.
void ClampMapView(const GameData::TScenario& scenario, int& viewX, int& viewY);

// One frame at the view (viewX, viewY): the retained map image brought up to date
// (shifted with strips drawn for a short scroll), copied to the screen, and the
// objects' overlays and the fog laid over it; with force the retained image is drawn
// from scratch.
void DrawMapFrame(GameData::TScenario& scenario, Win32::IDirectDrawSurface7* retained,
                  Win32::IDirectDrawSurface7* screen, int viewX, int viewY, bool force = false);

// Level 3 as the map tool starts on it: cities decorated, the first player's first
// group selected with the view over it, the land around explored, and a retained
// image of the view. The display device and the game data must exist.
struct TMapTestScene {
    TMapTestScene();
    ~TMapTestScene();
    TMapTestScene(const TMapTestScene&) = delete;
    TMapTestScene& operator=(const TMapTestScene&) = delete;

    // A frame at the view, which moves by (dx, dy) pixels first, kept on the map.
    void Frame(int dx = 0, int dy = 0, bool force = false);

    std::unique_ptr<GameData::TScenario> Scenario;
    Win32::TRefPtr<Win32::IDirectDrawSurface7> Retained;
    int ViewX = 0;
    int ViewY = 0;
};

} // namespace Tools
