#include "ui/game/SmallMapWindow.h"

#include "engine/graphics/GfxFont.h"
#include "engine/graphics/GfxPixels.h"
#include "engine/graphics/GfxRects.h"
#include "engine/graphics/SpriteDrawing.h"
#include "engine/widgets/DXWindowSystem.h"
#include "game/world/fog/Fog.h"
#include "game/world/objects/MapGeometry.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"
#include "ui/game/Game.h"
#include "ui/game/MapWindow.h"
#include "ui/widgets/WidgetArt.h"

#include <algorithm>

namespace Main {

using ClassLib::AnsiString;

namespace {

constexpr int BackgroundSprite = 1053;
constexpr int ReadoutFont = 2;
constexpr uint32_t AreaLineColour = 0x606060;
constexpr uint32_t ViewFrameColour = 0xA0A0A0;

struct TReadout {
    int CentreX;
    Win32::RECT Hot; // window coordinates
    const char* Name;
};
constexpr int ReadoutCentreY = 139;
constexpr TReadout Gold{70, {39, 130, 81, 148}, "Gold"};
constexpr TReadout Turn{122, {91, 130, 133, 148}, "Turn"};
constexpr TReadout PlayerIndex{173, {142, 130, 184, 148}, "Player"};

bool Inside(const Win32::RECT& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

bool IsLocal(const GameData::TPlayer* player) {
    return player && player->Type == GameData::ptLocal;
}

} // namespace

TSmallMapWindow::TSmallMapWindow(DXWin::TDXWindowSystem* windowSystem)
    : TVRNWindow(windowSystem, 0, 0) {
    SetBoundsRect(Bounds);
    OnDraw = [this](Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) {
        Draw(target, bounds);
    };
    FMapControl = new DXWin::TDXControl(this, this, DXWin::csEnabled);
    FMapControl->SetHint("Map of terrain");
    FMapControl->Hide();
    FMapControl->OnDraw = [this](Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) {
        DrawMap(target, bounds);
    };
    FMapControl->OnMouseDown = [this](int button, DXWin::TShiftState, int x, int y) {
        MapMouseDown(button, x, y);
    };
    FMapControl->OnMouseMove = [this](DXWin::TShiftState, int x, int y) { MapMouseMove(x, y); };
    FMapControl->OnMouseUp = [this](int button, DXWin::TShiftState, int, int) {
        if (button == DXWin::mbLeft)
            FDragging = false;
    };
    FMapControl->OnTick = [this](DXWin::TDXControl*) { UpdateTooltip(); };
}

// The map control is a child and goes with the group.
TSmallMapWindow::~TSmallMapWindow() = default;

void TSmallMapWindow::SetScenario(GameData::TScenario* scenario) {
    FScenario = scenario;
    FDragging = false;
    // A new scenario may stand where the old one stood: its picture is made afresh.
    FPicture.Release();
    if (!scenario || scenario->Width <= 0 || scenario->Height <= 0) {
        FMapControl->Hide();
        return;
    }
    int w = AreaWidth;
    int h = scenario->Height * AreaWidth / scenario->Width;
    if (h > AreaHeight) {
        h = AreaHeight;
        w = scenario->Width * AreaHeight / scenario->Height;
    }
    const int left = AreaLeft + (AreaWidth - w) / 2;
    const int top = AreaTop + (AreaHeight - h) / 2;
    FMapControl->SetBoundsRect({left, top, left + w, top + h});
    FMapControl->Show();
}

TMapWindow* TSmallMapWindow::MapWindow() const {
    return Game ? Game->MapWindow() : nullptr;
}

void TSmallMapWindow::Draw(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) const {
    if (!FScenario || !FScenario->CurrentPlayer)
        return;
    Gfx::DrawSprite(CommonSprite(BackgroundSprite), target, 0, bounds.left, bounds.top, nullptr);
    const Gfx::TFont* font = InterfaceFont(ReadoutFont);
    if (!font)
        return;
    const auto drawNumber = [&](const TReadout& readout, int value) {
        const AnsiString text = std::to_string(value);
        font->DrawString(target, bounds.left + readout.CentreX - font->TextWidth(text) / 2,
                         bounds.top + ReadoutCentreY - font->CellHeight() / 2, nullptr, 0, text);
    };
    drawNumber(Gold, FScenario->CurrentPlayer->Gold);
    drawNumber(Turn, FScenario->Turn);
    drawNumber(PlayerIndex, FScenario->CurrentPlayerIndex);
}

void TSmallMapWindow::DrawMap(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) {
    if (!FScenario)
        return;
    const int w = bounds.right - bounds.left;
    const int h = bounds.bottom - bounds.top;
    const uint32_t line = Gfx::PackColor565(AreaLineColour);
    if (h < AreaHeight) {
        Gfx::FillRect(target, bounds.left - 1, bounds.top - 1, w + 2, 1, line, nullptr);
        Gfx::FillRect(target, bounds.left - 1, bounds.bottom, w + 2, 1, line, nullptr);
    }
    if (w < AreaWidth) {
        Gfx::FillRect(target, bounds.left - 1, bounds.top, 1, h, line, nullptr);
        Gfx::FillRect(target, bounds.right, bounds.top, 1, h, line, nullptr);
    }
    const GameData::TPlayer* viewer = FScenario->ViewingPlayer();
    if (!viewer || !viewer->Fog) {
        Gfx::FillRect(target, bounds.left, bounds.top, w, h, 0, nullptr);
        return;
    }
    if (Win32::IDirectDrawSurface7* picture =
            FPicture.Update(FScenario->Preview, *viewer->Fog, w, h)) {
        Win32::RECT from{0, 0, w, h};
        Win32::RECT to = bounds;
        if (target->Blt(&to, picture, &from, Win32::DDBLT_WAIT, nullptr) != Win32::DD_OK)
            FPicture.Release();
    }
    DrawViewFrame(target, bounds);
}

void TSmallMapWindow::DrawViewFrame(Win32::IDirectDrawSurface7* target,
                                    const Win32::RECT& bounds) const {
    const TMapWindow* map = MapWindow();
    if (!map)
        return;
    const int w = bounds.right - bounds.left;
    const int h = bounds.bottom - bounds.top;
    const int mapWidth = FScenario->Width * GameData::CellSize;
    const int mapHeight = FScenario->Height * GameData::CellSize;
    int fw = TMapWindow::ViewWidth * w / mapWidth + 1;
    int fh = TMapWindow::ViewHeight * h / mapHeight + 1;
    int fx = std::min(map->ViewX() * w / mapWidth, w - fw);
    int fy = std::min(map->ViewY() * h / mapHeight, h - fh);
    if (fx < 0) {
        fx = 0;
        fw = w;
    }
    if (fy < 0) {
        fy = 0;
        fh = h;
    }
    Gfx::FrameRect(target, bounds.left + fx, bounds.top + fy, fw, fh,
                   Gfx::PackColor565(ViewFrameColour), &bounds);
}

bool TSmallMapWindow::CanScroll() const {
    return FScenario && IsLocal(FScenario->ViewingPlayer()) && IsLocal(FScenario->CurrentPlayer) &&
           !FScenario->IsBusy();
}

void TSmallMapWindow::MapMouseDown(int button, int x, int y) {
    if (button != DXWin::mbLeft || !CanScroll())
        return;
    FDragging = true;
    CentreViewOn(x, y);
}

void TSmallMapWindow::MapMouseMove(int x, int y) {
    if (FDragging && FScenario && IsLocal(FScenario->ViewingPlayer()))
        CentreViewOn(x, y);
}

void TSmallMapWindow::CentreViewOn(int x, int y) const {
    TMapWindow* map = MapWindow();
    const int w = FMapControl->Width();
    const int h = FMapControl->Height();
    if (!map || w <= 0 || h <= 0)
        return;
    const int px = FScenario->Width * GameData::CellSize * x / w;
    const int py = FScenario->Height * GameData::CellSize * y / h;
    map->SetView(px - TMapWindow::ViewWidth / 2, py - TMapWindow::ViewHeight / 2);
}

void TSmallMapWindow::UpdateTooltip() {
    if (!FScenario || !FScenario->CurrentPlayer)
        return;
    const DXWin::TDXWindowSystem* system = GetWindowSystem();
    if (!system)
        return;
    const int x = system->MouseX() - X();
    const int y = system->MouseY() - Y();
    AnsiString hint;
    if (Inside(Gold.Hot, x, y))
        hint = ClassLib::Format("%s: %d", Gold.Name, FScenario->CurrentPlayer->Gold);
    else if (Inside(Turn.Hot, x, y))
        hint = ClassLib::Format("%s: %d", Turn.Name, int(FScenario->Turn));
    else if (Inside(PlayerIndex.Hot, x, y))
        hint = ClassLib::Format("%s: %d", PlayerIndex.Name, int(FScenario->CurrentPlayerIndex));
    if (hint != Hint())
        SetHint(hint);
}

} // namespace Main
