// Weather on the map: the particles' 256 x 256 tile goes to a device surface once per
// frame and is laid over the view with colour 0 transparent, so a few hundred
// particles cover any view. The tile moves with the map.
#include "engine/app/D3DFramework.h"
#include "engine/graphics/SpriteDrawing.h"
#include "game/world/data/GlobalData.h"
#include "game/world/scenario/Scenario.h"

#include <cstring>

namespace GameData {

namespace {

// The picture weather state 4 lays over the whole view.
constexpr int WeatherOverlaySlot = 1110;

bool CopyTile(const TWeatherSurface& tile, Win32::IDirectDrawSurface7& surface) {
    Win32::DDSURFACEDESC2 locked;
    if (surface.Lock(nullptr, &locked, Win32::DDLOCK_WAIT, nullptr) != Win32::DD_OK)
        return false;
    for (int row = 0; row < WeatherTileSize; ++row)
        std::memcpy(static_cast<uint8_t*>(locked.lpSurface) + row * locked.lPitch,
                    &tile.Pixels[size_t(row * WeatherTileSize)], WeatherTileSize * 2);
    surface.Unlock(nullptr);
    return true;
}

} // namespace

void TScenario::CreateSurfaces() {
    if (!D3DFrame::D3DFramework || !D3DFrame::D3DFramework->DirectDraw())
        return;
    Win32::DDSURFACEDESC2 desc;
    D3DFrame::InitSurfaceDesc(desc, Win32::DDSD_CAPS | Win32::DDSD_WIDTH | Win32::DDSD_HEIGHT,
                              Win32::DDSCAPS_OFFSCREENPLAIN);
    desc.dwWidth = WeatherTileSize;
    desc.dwHeight = WeatherTileSize;
    WeatherDeviceSurface = D3DFrame::D3DFramework->CreateSurface(desc);
    Win32::DDCOLORKEY transparent{0, 0};
    WeatherDeviceSurface->SetColorKey(Win32::DDCKEY_SRCBLT, &transparent);
    SpriteLibrary.RecreateSurfaces();
    PlayerSpriteLibrary.RecreateSurfaces();
}

void TScenario::FreeSurfaces() {
    WeatherDeviceSurface = nullptr;
    SpriteLibrary.ReleaseSurfaces();
    PlayerSpriteLibrary.ReleaseSurfaces();
}

void TScenario::RestoreSpriteLists() {
    SpriteLibrary.RestoreSurfaces();
    PlayerSpriteLibrary.RestoreSurfaces();
}

void TScenario::DrawWeather(Win32::IDirectDrawSurface7* target, int viewX, const RECT& clip,
                            int viewY) {
    if (Weather == wsOverlay && Data2::GlobalData)
        Gfx::DrawSpriteStretched(Data2::GlobalData->CommonSprites[WeatherOverlaySlot], target, 0,
                                 clip, &clip, true);
    if (!WeatherDeviceSurface || !DrawWeatherParticles())
        return;
    if (WeatherDeviceSurface->IsLost() != Win32::DD_OK)
        WeatherDeviceSurface->Restore();
    if (!CopyTile(WeatherSurface, *WeatherDeviceSurface))
        return;
    const int shiftX = viewX & (WeatherTileSize - 1);
    const int shiftY = viewY & (WeatherTileSize - 1);
    for (int top = clip.top - shiftY; top < clip.bottom; top += WeatherTileSize)
        for (int left = clip.left - shiftX; left < clip.right; left += WeatherTileSize) {
            RECT destination =
                Win32::Intersect({left, top, left + WeatherTileSize, top + WeatherTileSize}, clip);
            if (Win32::IsEmpty(destination))
                continue;
            RECT source{destination.left - left, destination.top - top, destination.right - left,
                        destination.bottom - top};
            target->Blt(&destination, WeatherDeviceSurface.Get(), &source,
                        Win32::DDBLT_KEYSRC | Win32::DDBLT_WAIT, nullptr);
        }
}

} // namespace GameData
