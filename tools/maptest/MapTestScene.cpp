#include "tools/maptest/MapTestScene.h"

#include "engine/app/D3DFramework.h"
#include "engine/core/Archive.h"
#include "engine/core/Base.h"
#include "game/world/cities/City.h"
#include "game/world/data/DataArchives.h"
#include "game/world/data/GlobalData.h"
#include "game/world/data/MainData.h"
#include "game/world/fog/Fog.h"
#include "game/world/groups/Group.h"
#include "game/world/players/Player.h"
#include "tools/levels/LevelServices.h"

#include <algorithm>
#include <stdexcept>

namespace Tools {

using namespace GameData;

void OpenGameData(const std::string& folder) {
    Base::ProgramPath = (folder + "/").c_str();
    Data::ReadDataPath();
    Data2::OpenDataArchives();
    Data2::CreateMainData();
    Data2::CreateGlobalData();
    Data2::GlobalData->PrepareSurfaces();
}

void CloseGameData() {
    Data2::FreeGlobalData();
    Data2::FreeMainData();
    Data2::CloseDataArchives();
}

std::unique_ptr<TScenario> LoadCampaignLevel(int level) {
    if (level < 0 || Data2::GlobalData->LevelCount <= level)
        throw std::runtime_error("the campaign has no level " + std::to_string(level + 1));
    const auto stream = Data2::ScenarioArchive->OpenFile(Data2::GlobalData->LevelFiles[level]);
    return LoadLevel(*stream);
}

void ExploreAround(TScenario& scenario, int centreX, int centreY, int radius) {
    TPlayer& player = *scenario.Players[PersonsSide];
    TFog& fog = *player.Fog;
    for (int y = 0; y < fog.Height; ++y)
        for (int x = 0; x < fog.Width; ++x) {
            const int dx = x - centreX;
            const int dy = y - centreY;
            uint8_t& cell = fog.Cells[size_t(y * fog.Width + x)];
            if (dx * dx + dy * dy < radius * radius)
                cell = std::max<uint8_t>(cell, fsExplored);
        }
    scenario.UpdatePlayerVisibility(&player);
}

void ClampMapView(const TScenario& scenario, int& viewX, int& viewY) {
    viewX = std::clamp(viewX, 0, std::max(0, scenario.Width * 40 - MapViewWidth));
    viewY = std::clamp(viewY, 0, std::max(0, scenario.Height * 40 - MapViewHeight));
}

void DrawMapFrame(TScenario& scenario, Win32::IDirectDrawSurface7* retained,
                  Win32::IDirectDrawSurface7* screen, int viewX, int viewY, bool force) {
    const RECT clip{0, 0, MapViewWidth, MapViewHeight};
    scenario.RedrawMapView(retained, viewX, force, TScenario::roBackground | TScenario::roObjects,
                           clip, viewY);
    RECT whole = clip;
    screen->Blt(&whole, retained, &whole, Win32::DDBLT_WAIT, nullptr);
    scenario.DrawObjectOverlays(screen, viewX, clip, viewY);
    scenario.DrawFog(screen, viewX, clip, viewY);
}

TMapTestScene::TMapTestScene() {
    constexpr int CampaignLevel = 2; // level 3
    Scenario = LoadCampaignLevel(CampaignLevel);
    Scenario->CreateSurfaces();
    Scenario->BeginTurnOf(PersonsSide);
    TPlayer& player = *Scenario->Players[PersonsSide];
    for (int i = 0; i < Scenario->Objects.Count(); ++i) {
        TMapObject* object = Scenario->Objects[i];
        if (object->Kind == okGroup && static_cast<TGroup*>(object)->GetOwner() == &player) {
            player.SelectObject(object);
            ViewX = object->X - MapViewWidth / 2 + 150;
            ViewY = object->Y - MapViewHeight / 2 + 120;
            break;
        }
    }
    ClampMapView(*Scenario, ViewX, ViewY);
    ExploreAround(*Scenario, (ViewX + MapViewWidth / 2) / 40, (ViewY + MapViewHeight / 2) / 40, 13);
    Win32::DDSURFACEDESC2 desc;
    D3DFrame::InitSurfaceDesc(desc, Win32::DDSD_CAPS | Win32::DDSD_WIDTH | Win32::DDSD_HEIGHT,
                              Win32::DDSCAPS_OFFSCREENPLAIN);
    desc.dwWidth = MapViewWidth;
    desc.dwHeight = MapViewHeight;
    Retained = D3DFrame::D3DFramework->CreateSurface(desc);
}

TMapTestScene::~TMapTestScene() {
    Retained = nullptr;
    Scenario.reset();
}

void TMapTestScene::Frame(int dx, int dy, bool force) {
    ViewX += dx;
    ViewY += dy;
    ClampMapView(*Scenario, ViewX, ViewY);
    DrawMapFrame(*Scenario, Retained.Get(), D3DFrame::D3DFramework->BackBuffer(), ViewX, ViewY,
                 force);
}

} // namespace Tools
