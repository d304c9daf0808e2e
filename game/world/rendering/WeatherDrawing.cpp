// Weather on the map: the live particles are written into one 256 x 256 tile, which
// is laid over the view with colour 0 transparent, so a few hundred particles cover
// any view. The tile moves with the map.
#include "engine/app/D3DFramework.h"
#include "game/world/scenario/Scenario.h"

#include <cstdlib>

namespace GameData {

namespace {

constexpr int WeatherTile = 256;

// The locked tile; coordinates wrap around inside it.
class TTilePixels {
public:
    explicit TTilePixels(const Win32::DDSURFACEDESC2& locked)
        : FBits(static_cast<uint8_t*>(locked.lpSurface)), FPitch(locked.lPitch) {}
    void Put(int x, int y, uint32_t colour) {
        const int column = ((x % WeatherTile) + WeatherTile) % WeatherTile;
        const int row = ((y % WeatherTile) + WeatherTile) % WeatherTile;
        reinterpret_cast<uint16_t*>(FBits + row * FPitch)[column] = uint16_t(colour);
    }

private:
    uint8_t* FBits;
    int32_t FPitch;
};

void DrawRainDrop(const TRainDrop& drop, TTilePixels& tile) {
    if (drop.State == 0) {
        for (int k = 0; k < 6; ++k)
            tile.Put(drop.ScreenX + k / 3, drop.ScreenY - k, drop.Colour);
    } else if (drop.State == 1) {
        const int spread = drop.Height / 6;
        for (int k = 0; k < 3; ++k) // splash pixels scatter by the plain generator
            tile.Put(drop.X + std::rand() % (spread + 1) - spread / 2,
                     drop.Y + std::rand() % (spread + 1) - spread / 2, drop.Colour);
    }
}

template <typename TParticle>
int LiveCount(const Data::TDataList<TParticle>& pool) {
    int live = 0;
    for (int i = 0; i < pool.Count(); ++i)
        live += pool[i]->State != TParticle::Dead;
    return live;
}

template <typename TParticle, typename TDraw>
void DrawPool(Win32::IDirectDrawSurface7& surface, const Data::TDataList<TParticle>& pool,
              TDraw draw) {
    Win32::DDSURFACEDESC2 locked;
    if (surface.Lock(nullptr, &locked, Win32::DDLOCK_WAIT, nullptr) != Win32::DD_OK)
        return;
    TTilePixels tile(locked);
    for (int i = 0; i < pool.Count(); ++i)
        if (pool[i]->State != TParticle::Dead)
            draw(*pool[i], tile);
    surface.Unlock(nullptr);
}

} // namespace

void TScenario::CreateSurfaces() {
    if (!D3DFrame::D3DFramework || !D3DFrame::D3DFramework->DirectDraw())
        return;
    Win32::DDSURFACEDESC2 desc;
    D3DFrame::InitSurfaceDesc(desc, Win32::DDSD_CAPS | Win32::DDSD_WIDTH | Win32::DDSD_HEIGHT,
                              Win32::DDSCAPS_OFFSCREENPLAIN);
    desc.dwWidth = WeatherTile;
    desc.dwHeight = WeatherTile;
    WeatherSurface = D3DFrame::D3DFramework->CreateSurface(desc);
    Win32::DDCOLORKEY transparent{0, 0};
    WeatherSurface->SetColorKey(Win32::DDCKEY_SRCBLT, &transparent);
    SpriteLibrary.RecreateSurfaces();
    PlayerSpriteLibrary.RecreateSurfaces();
}

void TScenario::FreeSurfaces() {
    WeatherSurface = nullptr;
    SpriteLibrary.ReleaseSurfaces();
    PlayerSpriteLibrary.ReleaseSurfaces();
}

void TScenario::RestoreSpriteLists() {
    SpriteLibrary.RestoreSurfaces();
    PlayerSpriteLibrary.RestoreSurfaces();
}

void TScenario::DrawWeather(Win32::IDirectDrawSurface7* target, int viewX, const RECT& clip,
                            int viewY) {
    const bool rain = LiveCount(RainDrops) > 0;
    const bool snow = LiveCount(SnowFlakes) > 0;
    const bool sand = LiveCount(SandSeeds) > 0;
    if (!WeatherSurface || !(rain || snow || sand))
        return;
    if (WeatherSurface->IsLost() != Win32::DD_OK)
        WeatherSurface->Restore();
    D3DFrame::ClearSurface(WeatherSurface.Get());
    // Particle colours are kept in the display's pixel format.
    if (rain)
        DrawPool(*WeatherSurface, RainDrops, DrawRainDrop);
    if (snow)
        DrawPool(*WeatherSurface, SnowFlakes, [](const TSnowFlake& flake, TTilePixels& tile) {
            tile.Put(flake.ScreenX, flake.ScreenY, flake.Colour);
        });
    if (sand)
        DrawPool(*WeatherSurface, SandSeeds, [](const TSandSeed& seed, TTilePixels& tile) {
            tile.Put(seed.ScreenX, seed.ScreenY, seed.Colour);
        });
    const int shiftX = ((viewX % WeatherTile) + WeatherTile) % WeatherTile;
    const int shiftY = ((viewY % WeatherTile) + WeatherTile) % WeatherTile;
    for (int top = clip.top - shiftY; top < clip.bottom; top += WeatherTile)
        for (int left = clip.left - shiftX; left < clip.right; left += WeatherTile) {
            RECT destination =
                Win32::Intersect({left, top, left + WeatherTile, top + WeatherTile}, clip);
            if (Win32::IsEmpty(destination))
                continue;
            RECT source{destination.left - left, destination.top - top, destination.right - left,
                        destination.bottom - top};
            target->Blt(&destination, WeatherSurface.Get(), &source,
                        Win32::DDBLT_KEYSRC | Win32::DDBLT_WAIT, nullptr);
        }
}

} // namespace GameData
