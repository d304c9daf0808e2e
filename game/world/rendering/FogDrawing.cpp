// The fog's edges over the map window, composed under one lock of the target from the
// device's own samples of their edge sprites (of the part the clip leaves visible), a
// row of pixels at a time, so that a row of equal edges blends as one span. Where the
// device does not draw the sprites, or not on this target, they are drawn one sprite
// at a time.
#include "engine/app/D3DFramework.h"
#include "engine/graphics/SpriteDrawing.h"
#include "game/world/fog/Fog.h"
#include "game/world/scenario/Scenario.h"

#include <algorithm>
#include <vector>

namespace GameData {

namespace {

constexpr int CellSize = 40;

struct TFogCell {
    int Left, Top; // in the target
    Gfx::TSprite* First;
    Gfx::TSprite* Second;
};

// The part of the target a sprite may show in (the clip within the target) and the part
// the device draws on (the viewport within that); false when the device does not draw on
// the target.
bool ComposableAreas(Win32::IDirectDrawSurface7* target, const RECT& clip, RECT& shown,
                     RECT& drawn) {
    Win32::IDirect3DDevice7* device =
        D3DFrame::D3DFramework ? D3DFrame::D3DFramework->Device() : nullptr;
    Win32::TRefPtr<Win32::IDirectDrawSurface7> renderTarget;
    if (!device || Win32::FAILED(device->GetRenderTarget(renderTarget)) ||
        renderTarget.Get() != target)
        return false;
    Win32::D3DVIEWPORT7 viewport;
    Win32::DDSURFACEDESC2 desc;
    if (Win32::FAILED(device->GetViewport(&viewport)) ||
        Win32::FAILED(target->GetSurfaceDesc(&desc)))
        return false;
    const RECT port{int32_t(viewport.dwX), int32_t(viewport.dwY),
                    int32_t(viewport.dwX + viewport.dwWidth),
                    int32_t(viewport.dwY + viewport.dwHeight)};
    shown = Win32::Intersect(clip, {0, 0, int32_t(desc.dwWidth), int32_t(desc.dwHeight)});
    drawn = Win32::Intersect(shown, port);
    return !Win32::IsEmpty(drawn);
}

bool Contains(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

} // namespace

void TScenario::DrawFog(Win32::IDirectDrawSurface7* target, int viewX, const RECT& clip,
                        int viewY) {
    if (!CurrentPlayer || !CurrentPlayer->Fog || !target)
        return;
    if (ComposeFog(target, viewX, clip, viewY))
        return;
    const TFog& fog = *CurrentPlayer->Fog;
    const int firstColumn = std::max(0, viewX / CellSize);
    const int lastColumn = std::min(Width - 1, (viewX + (clip.right - clip.left) - 1) / CellSize);
    const int firstRow = std::max(0, viewY / CellSize);
    const int lastRow = std::min(Height - 1, (viewY + (clip.bottom - clip.top) - 1) / CellSize);
    for (int y = firstRow; y <= lastRow; ++y)
        for (int x = firstColumn; x <= lastColumn; ++x) {
            Gfx::TSprite* first = nullptr;
            Gfx::TSprite* second = nullptr;
            fog.GetEdgeSprites(x, y, first, second);
            const int left = x * CellSize + clip.left - viewX;
            const int top = y * CellSize + clip.top - viewY;
            if (first)
                Gfx::DrawSprite(first, target, 0, left, top, &clip);
            if (second)
                Gfx::DrawSprite(second, target, 0, left, top, &clip);
        }
}

bool TScenario::ComposeFog(Win32::IDirectDrawSurface7* target, int viewX, const RECT& clip,
                           int viewY) {
    RECT shown, drawn;
    if (!ComposableAreas(target, clip, shown, drawn))
        return false;
    const TFog& fog = *CurrentPlayer->Fog;
    const int firstColumn = std::max(0, viewX / CellSize);
    const int lastColumn = std::min(Width - 1, (viewX + (clip.right - clip.left) - 1) / CellSize);
    const int firstRow = std::max(0, viewY / CellSize);
    const int lastRow = std::min(Height - 1, (viewY + (clip.bottom - clip.top) - 1) / CellSize);
    struct TComposed {
        int Left, Top;
        const Gfx::TBlendedTile* Tiles[2];
    };
    std::vector<TComposed> composed;
    std::vector<TFogCell> byDevice;
    for (int y = firstRow; y <= lastRow; ++y)
        for (int x = firstColumn; x <= lastColumn; ++x) {
            TFogCell cell{x * CellSize + clip.left - viewX, y * CellSize + clip.top - viewY,
                          nullptr, nullptr};
            fog.GetEdgeSprites(x, y, cell.First, cell.Second);
            TComposed tiles{cell.Left, cell.Top, {nullptr, nullptr}};
            bool composable = true;
            for (int layer = 0; layer < 2; ++layer) {
                Gfx::TSprite* sprite = layer == 0 ? cell.First : cell.Second;
                if (!sprite)
                    continue;
                // Cells are composed a layer at a time: their sprites must not reach into
                // each other.
                if (sprite->Width > CellSize || sprite->Height > CellSize)
                    return false;
                const RECT full{cell.Left, cell.Top, cell.Left + sprite->Width,
                                cell.Top + sprite->Height};
                const RECT visible = Win32::Intersect(shown, full);
                if (Win32::IsEmpty(visible))
                    continue;
                tiles.Tiles[layer] =
                    Contains(drawn, visible)
                        ? FogTiles.Find(sprite, 0,
                                        {visible.left - full.left, visible.top - full.top,
                                         visible.right - full.left, visible.bottom - full.top})
                        : nullptr;
                composable = composable && tiles.Tiles[layer];
            }
            if (!composable)
                byDevice.push_back(cell);
            else if (tiles.Tiles[0] || tiles.Tiles[1])
                composed.push_back(tiles);
        }
    Win32::DDSURFACEDESC2 locked;
    if (Win32::FAILED(target->Lock(nullptr, &locked, Win32::DDLOCK_WAIT, nullptr)))
        return false;
    Gfx::TTileRowComposer composer;
    if (!composer.Begin(locked)) {
        target->Unlock(nullptr);
        return false;
    }
    // A row of cells at a time (the cells go row by row): every first edge of a pixel
    // row, then every second one over them.
    for (size_t begin = 0; begin < composed.size();) {
        size_t end = begin;
        while (end < composed.size() && composed[end].Top == composed[begin].Top)
            ++end;
        const int top = composed[begin].Top;
        for (int row = std::max(0, drawn.top - top); row < CellSize && top + row < drawn.bottom;
             ++row)
            for (int layer = 0; layer < 2; ++layer) {
                for (size_t i = begin; i < end; ++i) {
                    const Gfx::TBlendedTile* tile = composed[i].Tiles[layer];
                    if (tile && row < tile->Height)
                        composer.Add(*tile, row, composed[i].Left);
                }
                composer.Flush(top + row);
            }
        begin = end;
    }
    target->Unlock(nullptr);
    for (const TFogCell& cell : byDevice) {
        if (cell.First)
            Gfx::DrawSprite(cell.First, target, 0, cell.Left, cell.Top, &clip);
        if (cell.Second)
            Gfx::DrawSprite(cell.Second, target, 0, cell.Left, cell.Top, &clip);
    }
    return true;
}

} // namespace GameData
