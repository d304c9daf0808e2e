// The map window's view: binding, scrolling by drag, screen edge and request,
// following another player's group, and the click marker's animation.
#include "ui/game/MapWindow.h"

#include "engine/app/D3DFramework.h"
#include "engine/app/DXApplication.h"
#include "engine/widgets/DXWinHost.h"
#include "engine/widgets/DXWindowSystem.h"
#include "game/world/data/LoadedGlobalData.h"
#include "game/world/data/MainData.h"
#include "game/world/groups/Group.h"
#include "game/world/objects/MapGeometry.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"
#include "platform/win32/VirtualKeys.h"
#include "platform/win32/WinInput.h"
#include "platform/win32/WinMessages.h"
#include "platform/win32/WinQueue.h"
#include "platform/win32/WinWindow.h"
#include "ui/game/Game.h"

#include <algorithm>
#include <cstdlib>

namespace Main {

using namespace GameData;

namespace {

// Centring aims at the middle of the part the command bar leaves free.
constexpr int32_t CentreShift = 145;
constexpr int32_t EdgeMargin = 5;
constexpr int32_t EdgeStep = 5;
constexpr int32_t DragLimit = 200;
constexpr int32_t DragDeadZone = 19;
constexpr uint32_t MarkerTicksPerFrame = 5;

} // namespace

TMapWindow::TMapWindow(DXWin::TDXWindowSystem* windowSystem)
    : DXWin::TDXWindow(windowSystem, DXWin::woBackground, 0) {
    SetBoundsRect({0, 0, ViewWidth, ViewHeight});
    if (Data2::MainData)
        SetCursor(Data2::MainData->Sprites[Data2::msPointerCursor]);
}

TMapWindow::~TMapWindow() {
    if (FDragging)
        StopDrag();
    if (FScenario && FScenario->ViewScroller == this)
        FScenario->ViewScroller = nullptr;
}

void TMapWindow::SetVisible(bool visible) {
    TDXWindow::SetVisible(visible);
    if (visible)
        return;
    // The cursor this screen forces (wait, drag) must not stay over the screens that
    // take its place.
    if (FDragging)
        StopDrag();
    if (DXWin::TDXWindowSystem* system = GetWindowSystem())
        system->SetForcedCursor(nullptr);
}

void TMapWindow::SetScenario(TScenario* scenario) {
    if (FScenario && FScenario->ViewScroller == this)
        FScenario->ViewScroller = nullptr;
    if (FDragging)
        StopDrag();
    FScenario = scenario;
    if (FScenario)
        FScenario->ViewScroller = this;
    FRedraw = true;
    FMarkerVisible = false;
    FCentring = false;
    FReportWhenCentred = false;
    FHover = {};
    FHoverCost = -1;
    FCostsGroup = nullptr;
}

void TMapWindow::Invalidate() {
    FRedraw = true;
}

void TMapWindow::ReleaseSurfaces() {
    FRenderSurface = nullptr;
    FRedraw = true;
}

void TMapWindow::RecreateSurfaces() {
    FRenderSurface = nullptr;
    FRedraw = true;
    if (!D3DFrame::D3DFramework)
        return;
    Win32::DDSURFACEDESC2 desc;
    D3DFrame::InitSurfaceDesc(desc, Win32::DDSD_CAPS | Win32::DDSD_WIDTH | Win32::DDSD_HEIGHT,
                              Win32::DDSCAPS_OFFSCREENPLAIN | Win32::DDSCAPS_VIDEOMEMORY);
    desc.dwWidth = ViewWidth;
    desc.dwHeight = ViewHeight;
    FRenderSurface = D3DFrame::D3DFramework->CreateSurface(desc);
}

void TMapWindow::CenterOn(int32_t x, int32_t y, bool report, int32_t steps) {
    if (!FScenario)
        return;
    FScenario->ScrollViewTo(x - (ViewWidth - CentreShift) / 2, y - ViewHeight / 2, steps);
    FCentring = true;
    FReportWhenCentred = report;
}

void TMapWindow::CenterViewOn(int32_t x, int32_t y, int32_t steps) {
    if (!FScenario)
        return;
    FScenario->ScrollViewTo(x - ViewWidth / 2, y - ViewHeight / 2, steps);
    // No group following pulls the view away while the script's scroll runs.
    FCentring = true;
    FReportWhenCentred = false;
}

bool TMapWindow::IsOnScreen(int32_t x, int32_t y) const {
    return x >= ViewX() && x < ViewX() + ViewWidth && y >= ViewY() && y < ViewY() + ViewHeight;
}

void TMapWindow::ShowMarker(int32_t screenX, int32_t screenY) {
    const TPoint centre = SnapToCellCentre(ViewX() + screenX, ViewY() + screenY);
    FMarkerX = centre.X;
    FMarkerY = centre.Y;
    FMarkerFrame = 0;
    FMarkerVisible = true;
}

void TMapWindow::HideMarker() {
    FMarkerVisible = false;
}

void TMapWindow::SetView(int32_t x, int32_t y) {
    if (!FScenario)
        return;
    const int32_t maxX = std::max(0, FScenario->Width * CellSize - ViewWidth + PanelWidth);
    const int32_t maxY = std::max(0, FScenario->Height * CellSize - ViewHeight);
    FScenario->SetViewPosition(std::clamp(x, 0, maxX), std::clamp(y, 0, maxY));
}

int32_t TMapWindow::ViewX() const {
    return FScenario ? FScenario->View.Left : 0;
}

int32_t TMapWindow::ViewY() const {
    return FScenario ? FScenario->View.Top : 0;
}

int32_t TMapWindow::EdgeAt(int32_t x, int32_t y) {
    const bool top = y<EdgeMargin, bottom = y> ViewHeight - 1 - EdgeMargin;
    const bool left = x<EdgeMargin, right = x> ViewWidth - 1 - EdgeMargin;
    if (top)
        return left ? 5 : right ? 6 : 1;
    if (bottom)
        return left ? 7 : right ? 8 : 3;
    return right ? 2 : left ? 4 : 0;
}

void TMapWindow::ScreenToTile(int32_t x, int32_t y, int32_t& cellX, int32_t& cellY) const {
    const int32_t width = FScenario ? FScenario->Width : 1;
    const int32_t height = FScenario ? FScenario->Height : 1;
    cellX = std::clamp((ViewX() + x) / CellSize, 0, std::max(0, width - 1));
    cellY = std::clamp((ViewY() + y) / CellSize, 0, std::max(0, height - 1));
}

bool TMapWindow::InCommand() const {
    if (!FScenario || !FScenario->CurrentPlayer)
        return false;
    const TPlayer* viewer = FScenario->ViewingPlayer();
    return viewer == FScenario->CurrentPlayer && viewer->Type == ptLocal;
}

void TMapWindow::StartDrag(int x, int y) {
    FDragging = true;
    FDragStartX = x;
    FDragStartY = y;
    // The cursor stays where the drag began, drawn as the hand.
    if (DXWin::TDXWindowSystem* system = GetWindowSystem()) {
        system->SetOnDrawCursor([this](Win32::IDirectDrawSurface7* target, int, int) {
            if (Gfx::TSprite* cursor =
                    Data2::MainData ? Data2::MainData->Sprites[msDragCursor] : nullptr)
                DXWin::DrawCursorSprite(cursor, target, FDragStartX, FDragStartY);
        });
    }
}

void TMapWindow::StopDrag() {
    FDragging = false;
    if (DXWin::TDXWindowSystem* system = GetWindowSystem())
        system->SetOnDrawCursor(nullptr);
}

void TMapWindow::DragView() {
    const DXWin::TDXWindowSystem* system = GetWindowSystem();
    const int32_t offsetX = system->MouseX() - FDragStartX;
    const int32_t offsetY = system->MouseY() - FDragStartY;
    const auto speed = [](int32_t d) {
        d = std::clamp(d, -DragLimit, DragLimit);
        return std::abs(d) <= DragDeadZone ? 0 : d;
    };
    SetView(ViewX() + speed(offsetX) / 10, ViewY() + speed(offsetY) / 10);
    if (offsetX == 0 && offsetY == 0)
        return;
    SetView(ViewX() + offsetX, ViewY() + offsetY);
    // Back to the held point; the window system learns it from the move it is sent.
    Win32::POINT held{FDragStartX, FDragStartY};
    if (DXApp::Application && DXApp::Application->Window)
        Win32::ClientToScreen(DXApp::Application->Window, &held);
    Win32::SetCursorPos(held.x, held.y);
    Win32::PostMessage(nullptr, Win32::WM_MOUSEMOVE, 0,
                       Win32::PointToLParam(FDragStartX, FDragStartY));
}

void TMapWindow::ScrollAtEdge() {
    const DXWin::TDXWindowSystem* system = GetWindowSystem();
    if (system->WindowAt(ViewWidth / 2, ViewHeight / 2) != this)
        return;
    int32_t dx = 0, dy = 0;
    switch (EdgeAt(system->MouseX(), system->MouseY())) {
    case 1:
        dy = -EdgeStep;
        break;
    case 2:
        dx = EdgeStep;
        break;
    case 3:
        dy = EdgeStep;
        break;
    case 4:
        dx = -EdgeStep;
        break;
    case 5:
        dx = dy = -EdgeStep;
        break;
    case 6:
        dx = EdgeStep, dy = -EdgeStep;
        break;
    case 7:
        dx = -EdgeStep, dy = EdgeStep;
        break;
    case 8:
        dx = dy = EdgeStep;
        break;
    default:
        return;
    }
    SetView(ViewX() + dx, ViewY() + dy);
}

void TMapWindow::FollowOtherPlayer() {
    TPlayer* player = FScenario->CurrentPlayer;
    const TPlayer* viewer = FScenario->ViewingPlayer();
    const TGroup* group = player ? player->GetSelectedGroup() : nullptr;
    if (!group || !viewer || FCentring || (player == viewer && player->Type == ptLocal))
        return;
    if (!viewer->IsObjectVisible(*group))
        return;
    SetView(group->X - (ViewWidth - CentreShift) / 2, group->Y - ViewHeight / 2);
}

void TMapWindow::AdvanceMarker() {
    if (!FMarkerVisible || !DXApp::Application ||
        DXApp::Application->TickCount % MarkerTicksPerFrame != 0)
        return;
    const Gfx::TSprite* marker = Data2::MainData ? Data2::MainData->Sprites[msMarker] : nullptr;
    if (!marker || FMarkerFrame + 1 >= marker->DrawableFrameCount())
        FMarkerVisible = false;
    else
        ++FMarkerFrame;
}

void TMapWindow::CastOnOwnGroup() {
    if (!Game || Game->SpellBeingTargeted < 1)
        return;
    const Data2::TSpellPrototype* spell = Data2::FindSpellByID(Game->SpellBeingTargeted);
    const TGroup* group =
        FScenario->CurrentPlayer ? FScenario->CurrentPlayer->GetSelectedGroup() : nullptr;
    if (!spell || spell->TargetFlags != SpellTargetsOwnGroup || !group)
        return;
    MouseDown(DXWin::mbLeft, 0, group->X - ViewX(), group->Y - ViewY());
}

void TMapWindow::Tick() {
    TDXWindow::Tick();
    DXWin::TDXWindowSystem* system = GetWindowSystem();
    if (!FScenario || !system)
        return;
    if (FDragging && Win32::GetKeyState(Win32::VK_MBUTTON) >= 0)
        StopDrag();
    const bool inCommand = InCommand();
    if (inCommand && FDragging)
        DragView();
    else if (inCommand)
        ScrollAtEdge();
    if (FCentring && FScenario->ScrollSteps <= 0) {
        FCentring = false;
        if (FReportWhenCentred && FScenario->CurrentPlayer)
            FScenario->CurrentPlayer->SetActionResult(arDone);
        FReportWhenCentred = false;
    }
    ChooseCursor();
    FollowOtherPlayer();
    AdvanceMarker();
    if (inCommand)
        CastOnOwnGroup();
}

} // namespace Main
