// The map window's picture: the scenario through its own drawing services, then the
// spell range, the planned path with its cost, and the click marker.
#include "engine/graphics/GfxFont.h"
#include "engine/graphics/GfxPixels.h"
#include "engine/graphics/GfxRects.h"
#include "engine/graphics/SpriteDrawing.h"
#include "game/world/cities/City.h"
#include "game/world/data/GlobalData.h"
#include "game/world/data/LoadedGlobalData.h"
#include "game/world/data/MainData.h"
#include "game/world/groups/Group.h"
#include "game/world/objects/MapGeometry.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/units/Unit.h"
#include "ui/game/Game.h"
#include "ui/game/MapWindow.h"
#include "ui/widgets/WidgetArt.h"

#include <cmath>
#include <cstring>

namespace Main {

using namespace GameData;

namespace {

constexpr uint32_t CostTextColour = 0xFFFFFF;

double StepAngle(int fromX, int fromY, int toX, int toY) {
    return std::atan2(double(toY - fromY), double(toX - fromX));
}

} // namespace

void TMapWindow::Draw(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) {
    if (FScenario && target) {
        if (!FRenderSurface)
            RecreateSurfaces();
        const Win32::RECT clip = bounds;
        if (FRenderSurface) {
            FScenario->RedrawMapView(FRenderSurface.Get(), ViewX(), FRedraw,
                                     TScenario::roBackground | TScenario::roObjects, clip, ViewY());
            FRedraw = false;
            Win32::RECT whole = clip;
            target->Blt(&whole, FRenderSurface.Get(), &whole, Win32::DDBLT_WAIT, nullptr);
        }
        FScenario->DrawSpellEffect(target, clip.left - ViewX(), clip.top - ViewY(), clip);
        FScenario->DrawWeather(target, ViewX(), clip, ViewY());
        FScenario->DrawFog(target, ViewX(), clip, ViewY());
        Gfx::FillRect(target, clip.left + FScenario->Width * CellSize - ViewX(), clip.top - ViewY(),
                      PanelWidth, FScenario->Height * CellSize, 0, &clip);
        FScenario->DrawObjectOverlays(target, ViewX(), clip, ViewY());
        DrawSpellRange(target, clip);
        DrawPath(target, clip);
        DrawMarker(target, clip);
    }
    TDXWindow::Draw(target, bounds);
}

void TMapWindow::DrawSpellRange(Win32::IDirectDrawSurface7* target, const Win32::RECT& clip) {
    if (!Game || Game->SpellBeingTargeted < 1 || Game->SpellBeingTargeted == SpellWithoutRange)
        return;
    const Data2::TSpellPrototype* spell = Data2::FindSpellByID(Game->SpellBeingTargeted);
    const TGroup* group =
        FScenario->CurrentPlayer ? FScenario->CurrentPlayer->GetSelectedGroup() : nullptr;
    if (!spell || spell->TargetFlags == SpellTargetsOwnGroup || !group || Game->Caster < 0 ||
        Game->Caster >= MaxGroupUnits)
        return;
    const TUnit* caster = group->UnitAt(Game->Caster);
    if (!caster)
        return;
    const int32_t radius = (caster->Effective.Level() + 2) * CellSize + HalfCell;
    DrawCircle(target, clip.left + group->X - ViewX(), clip.top + group->Y - ViewY(), radius,
               TGame::PlayerColor(FScenario->CurrentPlayerIndex));
}

void TMapWindow::DrawCircle(Win32::IDirectDrawSurface7* target, int32_t x, int32_t y,
                            int32_t radius, uint32_t colour) {
    Win32::HDC dc = nullptr;
    if (radius < 0 || target->GetDC(&dc) != Win32::DD_OK || !dc)
        return;
    const int bytes = dc->BitsPerPixel / 8;
    const uint32_t pixel = bytes == 2 ? Gfx::PackColor16(colour) : colour;
    const auto plot = [&](int32_t px, int32_t py) {
        if (px < 0 || py < 0 || px >= dc->Width || py >= dc->Height || bytes < 2)
            return;
        std::memcpy(dc->Bits + py * dc->Pitch + px * bytes, &pixel, size_t(std::min(bytes, 4)));
    };
    // Midpoint circle: one pixel per step along each octant.
    int32_t dx = radius, dy = 0, error = 1 - radius;
    while (dx >= dy) {
        for (const auto& [sx, sy] : {std::pair{dx, dy}, std::pair{dy, dx}}) {
            plot(x + sx, y + sy);
            plot(x - sx, y + sy);
            plot(x + sx, y - sy);
            plot(x - sx, y - sy);
        }
        ++dy;
        if (error < 0) {
            error += 2 * dy + 1;
        } else {
            --dx;
            error += 2 * (dy - dx) + 1;
        }
    }
    target->ReleaseDC(dc);
}

void TMapWindow::DrawPath(Win32::IDirectDrawSurface7* target, const Win32::RECT& clip) {
    TGroup* group = ActiveGroup();
    if (FHoverCost <= 0 || !group || !HasMovableGroup() || !Data2::GlobalData)
        return;
    RefreshCosts(*group);
    const TCity* city = FScenario->CurrentPlayer->GetSelectedCity();
    const bool fromCity = city && city->GateGroup.get() == group;
    const int n = fromCity
                      ? FScenario->BuildPathTo(FHover.CellX, FHover.CellY, *group)
                      : FScenario->BuildPath(group->TMapObject::CellX(), group->TMapObject::CellY(),
                                             *group, FHover.CellY, FHover.CellX);
    if (n < 1)
        return;
    const int32_t points = group->LowestActionPoints();
    const int32_t reserve = Data2::GlobalData->GameConstants[Data2::gcLeastActionPoints];
    // From a city the path's first cell is the exit the group appears on.
    int previousX = fromCity ? FScenario->Path[0].X : group->TMapObject::CellX();
    int previousY = fromCity ? FScenario->Path[0].Y : group->TMapObject::CellY();
    int32_t cost = 0;
    for (int i = fromCity ? 1 : 0; i < n; ++i) {
        const TPathCell cell = FScenario->Path[size_t(i)];
        cost = FScenario->MoveCosts[size_t(FScenario->CellIndex(cell.X, cell.Y))];
        const int arrow = cost <= points - reserve ? 0 : cost <= points ? 1 : 2;
        const int32_t x = clip.left + cell.X * CellSize + HalfCell - ViewX();
        const int32_t y = clip.top + cell.Y * CellSize + HalfCell - ViewY();
        if (Gfx::TSprite* sprite = Data2::GlobalData->CommonSprites[cgPathArrow + arrow])
            Gfx::DrawSpriteTransformed(sprite, target, 0, x, y,
                                       float(StepAngle(previousX, previousY, cell.X, cell.Y)), 1.0f,
                                       1.0f);
        previousX = cell.X;
        previousY = cell.Y;
    }
    const Gfx::TFont* font = InterfaceFont(0);
    if (!font)
        return;
    const AnsiString text = ClassLib::IntToStr(cost);
    const int32_t x = clip.left + previousX * CellSize + HalfCell - ViewX();
    const int32_t y = clip.top + previousY * CellSize + HalfCell - ViewY();
    font->DrawString(target, x - font->TextWidth(text) / 2, y - font->TextHeight(text) / 2, &clip,
                     CostTextColour, text);
}

void TMapWindow::DrawMarker(Win32::IDirectDrawSurface7* target, const Win32::RECT& clip) {
    Gfx::TSprite* marker = Data2::MainData ? Data2::MainData->Sprites[msMarker] : nullptr;
    if (!FMarkerVisible || !marker || FMarkerFrame >= marker->DrawableFrameCount())
        return;
    Gfx::DrawSprite(marker, target, FMarkerFrame, clip.left + FMarkerX - ViewX() - marker->HotSpotX,
                    clip.top + FMarkerY - ViewY() - marker->HotSpotY, &clip);
}

} // namespace Main
