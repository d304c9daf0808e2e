// The fog's edges over the map window. Cells wholly inside the clip are composed under
// one lock of the target from the device's own samples of their edge sprites, a row of
// pixels at a time, so that a row of equal edges blends as one span; the cells the clip
// cuts, and all of them where the device does not draw the sprites, are drawn one
// sprite at a time.
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

// The target's part every composed cell must lie in: the clip, the target and the
// device's viewport; empty when the device does not draw on the target.
RECT ComposableArea(Win32::IDirectDrawSurface7* target, const RECT& clip) {
    Win32::IDirect3DDevice7* device =
        D3DFrame::D3DFramework ? D3DFrame::D3DFramework->Device() : nullptr;
    Win32::TRefPtr<Win32::IDirectDrawSurface7> renderTarget;
    if (!device || Win32::FAILED(device->GetRenderTarget(renderTarget)) || renderTarget.Get() != target)
        return {};
    Win32::D3DVIEWPORT7 viewport;
    Win32::DDSURFACEDESC2 desc;
    if (Win32::FAILED(device->GetViewport(&viewport)) || Win32::FAILED(target->GetSurfaceDesc(&desc)))
        return {};
    const RECT port{int32_t(viewport.dwX), int32_t(viewport.dwY),
                    int32_t(viewport.dwX + viewport.dwWidth),
                    int32_t(viewport.dwY + viewport.dwHeight)};
    const RECT bounds{0, 0, int32_t(desc.dwWidth), int32_t(desc.dwHeight)};
    return Win32::Intersect(Win32::Intersect(clip, port), bounds);
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
    const RECT area = ComposableArea(target, clip);
    if (Win32::IsEmpty(area))
        return false;
    const TFog& fog = *CurrentPlayer->Fog;
    const int firstColumn = std::max(0, viewX / CellSize);
    const int lastColumn = std::min(Width - 1, (viewX + (clip.right - clip.left) - 1) / CellSize);
    const int firstRow = std::max(0, viewY / CellSize);
    const int lastRow = std::min(Height - 1, (viewY + (clip.bottom - clip.top) - 1) / CellSize);
    // Cells are composed a layer at a time, so their edges must not reach into each
    // other: the tiles fit in their cells.
    const auto tileOf = [&](Gfx::TSprite* sprite, bool& fits) -> const Gfx::TBlendedTile* {
        if (!sprite)
            return nullptr;
        const Gfx::TBlendedTile* tile = FogTiles.Find(sprite, 0);
        fits = fits && tile && tile->Width <= CellSize && tile->Height <= CellSize;
        return tile;
    };
    struct TComposed {
        int Left, Top;
        const Gfx::TBlendedTile* First;
        const Gfx::TBlendedTile* Second;
    };
    std::vector<TComposed> composed;
    std::vector<TFogCell> drawn;
    for (int y = firstRow; y <= lastRow; ++y)
        for (int x = firstColumn; x <= lastColumn; ++x) {
            TFogCell cell{x * CellSize + clip.left - viewX, y * CellSize + clip.top - viewY,
                          nullptr, nullptr};
            fog.GetEdgeSprites(x, y, cell.First, cell.Second);
            if (!cell.First && !cell.Second)
                continue;
            bool fits = true;
            const Gfx::TBlendedTile* first = tileOf(cell.First, fits);
            const Gfx::TBlendedTile* second = tileOf(cell.Second, fits);
            if (!fits)
                return false;
            if (Contains(area, {cell.Left, cell.Top, cell.Left + CellSize, cell.Top + CellSize}))
                composed.push_back({cell.Left, cell.Top, first, second});
            else
                drawn.push_back(cell);
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
        for (int row = 0; row < CellSize; ++row)
            for (const bool second : {false, true}) {
                for (size_t i = begin; i < end; ++i) {
                    const Gfx::TBlendedTile* tile = second ? composed[i].Second : composed[i].First;
                    if (tile && row < tile->Height)
                        composer.Add(*tile, row, composed[i].Left);
                }
                composer.Flush(top + row);
            }
        begin = end;
    }
    target->Unlock(nullptr);
    for (const TFogCell& cell : drawn) {
        if (cell.First)
            Gfx::DrawSprite(cell.First, target, 0, cell.Left, cell.Top, &clip);
        if (cell.Second)
            Gfx::DrawSprite(cell.Second, target, 0, cell.Left, cell.Top, &clip);
    }
    return true;
}

} // namespace GameData
