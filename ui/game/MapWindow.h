// The full-screen adventure map behind every other game screen: draws the scenario,
// scrolls the view, chooses the cursor and hover text, shows the planned path with its
// cost, and turns clicks and keys into player actions. It only posts actions.
#pragma once

#include "engine/widgets/DXWindow.h"
#include "game/world/scenario/MapViewScroller.h"
#include "platform/display/DirectDrawSurface.h"

#include <cstdint>

namespace GameData {
class TCity;
class TGroup;
class TMapObject;
class TPlayer;
class TScenario;
struct TPlayerAction;
} // namespace GameData

namespace Main {

// What a left click on the map does with a movable group (the cursor follows it).
enum TTargetCode : int32_t {
    tcNone = 0,
    tcMove = 1,
    tcMerge = 2,
    tcAttack = 3,
    tcTalk = 4,
    tcEnter = 5,
    tcBlocked = 6,
    tcTooManyUnits = 7,
    tcTwoHeroes = 8,
    tcAttackCity = 9,
    tcEnterSelectedCity = 11,
};

// Without a movable group: 1 select a group, 2 select a location, 3 enter the
// selected city.
enum TNoGroupTarget : int32_t { ntNone = 0, ntGroup = 1, ntLocation = 2, ntEnterCity = 3 };

struct TMapTarget {
    int32_t Code = tcNone;
    int32_t CellX = 0; // where the group goes: the cell, or the approach or entry cell
    int32_t CellY = 0;
    GameData::TMapObject* Object = nullptr;
};

// Slots of Data2::TMainData::Sprites the map window shows.
constexpr int msMoveCursor = 2;
constexpr int msAttackCursor = 3;
constexpr int msCannotCastCursor = 4;
constexpr int msCanCastCursor = 5;
constexpr int msTalkCursor = 6;
constexpr int msEnterCursor = 7;
constexpr int msBlockedCursor = 8;
constexpr int msAttackCityCursor = 9;
constexpr int msSelectCursor = 10;
constexpr int msWaitCursor = 11;
constexpr int msDragCursor = 12;
constexpr int msFirstScrollCursor = 13; // 13-20 by facing: down first, then clockwise
constexpr int msMarker = 26;            // animated; hidden after its last frame
// Slots of Data2::TGlobalData::CommonSprites: the path arrows within the points left
// above the reserve, into the reserve, and beyond the points.
constexpr int cgPathArrow = 1108;
// A spell of this target kind is cast on the caster's own group without a click.
constexpr uint32_t SpellTargetsOwnGroup = 16;
// Reaches any cell: no range circle.
constexpr int32_t SpellWithoutRange = 33;

class TMapWindow : public DXWin::TDXWindow, public GameData::TMapViewScroller {
public:
    explicit TMapWindow(DXWin::TDXWindowSystem* windowSystem);
    ~TMapWindow() override;

    void SetScenario(GameData::TScenario* scenario);
    GameData::TScenario* Scenario() const { return FScenario; }
    void Invalidate();
    // The map as last drawn; null without a display.
    Win32::IDirectDrawSurface7* RenderSurface() const { return FRenderSurface.Get(); }
    void ReleaseSurfaces();
    void RecreateSurfaces();
    // Scrolls so that map pixel (x, y) comes to the centre of the screen left of the
    // side panels; with report, the player on turn's result is set to 1 when it ends.
    void CenterOn(int32_t x, int32_t y, bool report, int32_t steps);
    // Scripts: pixel (x, y) to the middle of the whole view.
    void CenterViewOn(int32_t x, int32_t y, int32_t steps) override;
    bool IsOnScreen(int32_t x, int32_t y) const;
    void ShowMarker(int32_t screenX, int32_t screenY);
    void HideMarker();
    // Clamped to the map (230 pixels past its right edge); moves the scenario's view.
    // A map smaller than the view shows from 0.
    void SetView(int32_t x, int32_t y);
    int32_t ViewX() const;
    int32_t ViewY() const;
    static constexpr int32_t ViewWidth = 800;
    static constexpr int32_t ViewHeight = 600;
    // The side panels cover this much of the view's right part; the map may scroll as
    // far past its right edge.
    static constexpr int32_t PanelWidth = 230;

    // 0 none, 1 top, 2 right, 3 bottom, 4 left, 5 top-left, 6 top-right, 7 bottom-left,
    // 8 bottom-right.
    static int32_t EdgeAt(int32_t x, int32_t y);
    // The cell under a screen point, clamped to the map.
    void ScreenToTile(int32_t x, int32_t y, int32_t& cellX, int32_t& cellY) const;

    // Targets under a screen point; ClassifyTarget also sets the hover cost.
    TMapTarget ClassifyTarget(int32_t x, int32_t y);
    TMapTarget ClassifyTargetNoGroup(int32_t x, int32_t y) const;
    GameData::TGroup* ActiveGroup() const;
    bool IsOwnGroup(const GameData::TGroup* group) const;
    bool IsOwnCity(const GameData::TCity* city) const;
    bool IsAccessibleCity(const GameData::TCity* city) const;
    bool SelectedOwnCity() const;
    bool SelectedAccessibleCity() const;
    bool HasMovableGroup() const;
    bool SelectedTownHasGateGroup() const;
    // Action points the active group needs to reach the cell; negative when it cannot.
    int32_t PathCostTo(int32_t cellX, int32_t cellY);

    // The player on turn may give orders from this screen.
    bool InCommand() const;
    bool Dragging() const { return FDragging; }
    bool Centring() const { return FCentring; }
    bool MarkerVisible() const { return FMarkerVisible; }
    int32_t MarkerFrame() const { return FMarkerFrame; }
    int32_t MarkerX() const { return FMarkerX; }
    int32_t MarkerY() const { return FMarkerY; }
    int32_t HoverCost() const { return FHoverCost; }

    void SetVisible(bool visible) override;
    void Tick() override;
    void MouseDown(int button, DXWin::TShiftState shift, int x, int y) override;
    void MouseUp(int button, DXWin::TShiftState shift, int x, int y) override;
    void KeyDown(Win32::WPARAM& key, DXWin::TShiftState shift) override;
    void Draw(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) override;

private:
    // MapWindow.cpp
    void StartDrag(int x, int y);
    void StopDrag();
    void DragView();
    void ScrollAtEdge();
    void FollowOtherPlayer();
    void AdvanceMarker();
    void CastOnOwnGroup();
    // MapInput.cpp
    void ChooseCursor();
    void ClickTarget(int x, int y);
    void PostAction(const GameData::TPlayerAction& action);
    bool HandleKey(uint32_t key);
    // MapDrawing.cpp
    void DrawSpellRange(Win32::IDirectDrawSurface7* target, const Win32::RECT& clip);
    void DrawPath(Win32::IDirectDrawSurface7* target, const Win32::RECT& clip);
    void DrawMarker(Win32::IDirectDrawSurface7* target, const Win32::RECT& clip);
    void DrawCircle(Win32::IDirectDrawSurface7* target, int32_t x, int32_t y, int32_t radius,
                    uint32_t colour);
    // MapTargets.cpp
    void RefreshCosts(const GameData::TGroup& group);

    GameData::TScenario* FScenario = nullptr;
    Win32::TRefPtr<Win32::IDirectDrawSurface7> FRenderSurface;
    bool FRedraw = true;
    bool FDragging = false;
    int32_t FDragStartX = 0;
    int32_t FDragStartY = 0;
    int32_t FMarkerX = 0;
    int32_t FMarkerY = 0;
    bool FMarkerVisible = false;
    int32_t FMarkerFrame = 0;
    bool FCentring = false;
    bool FReportWhenCentred = false;
    int32_t FHoverCost = -1;
    // The last target under the mouse, for the path drawn to it.
    TMapTarget FHover;
    // Whose movement costs the scenario's cost map holds, from where and with how many
    // points: the map window fills it again when any of them changes.
    const GameData::TGroup* FCostsGroup = nullptr;
    uint32_t FCostsGroupID = 0;
    int32_t FCostsX = -1;
    int32_t FCostsY = -1;
    int32_t FCostsPoints = -1;
    uint32_t FCostsFrame = 0;
};

} // namespace Main
