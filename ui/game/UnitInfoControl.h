// One unit's panel: portrait, name, the four value bars and the other values, with a
// portrait button and a spell book button. The group panel shows three of them; the
// fight dialog one per fighter, on its left and right sides.
#pragma once

#include "engine/widgets/DXControl.h"
#include "ui/game/SlideAnimation.h"

#include <cstdint>
#include <utility>

namespace GameData {
class TUnit;
}
namespace DXWin {
class TDXButton;
}

namespace Main {

enum TUnitInfoLayout : int32_t { ulGroupPanel = 0, ulFightLeft = 1, ulFightRight = 2 };
constexpr int UnitInfoLayoutCount = 3;

// The values with a tooltip, in the order their hot rectangles are tried.
enum TUnitInfoValue : int {
    uvHitPoints,
    uvActionPoints,
    uvMana,
    uvExperience,
    uvMorale,
    uvSight,
    uvAttack,
    uvCounterattack,
    uvDefense,
    uvLevel,
    UnitInfoValueCount
};

class TUnitInfoControl : public DXWin::TDXGroup {
public:
    TUnitInfoControl(DXWin::TDXGroup* parent, DXWin::TDXWindow* owner, TUnitInfoLayout layout,
                     uint32_t options);
    ~TUnitInfoControl() override;

    // On a change the owner frame and the mark are cleared, and the spell book button
    // shows only for a unit with a spell it can use.
    void SetUnit(GameData::TUnit* unit);
    GameData::TUnit* Unit() const { return FUnit; }
    void SlideTo(int32_t x, int32_t y, int32_t duration);
    bool Sliding() const { return FSlide.Active(); }
    // Where the unit detail sheet opens.
    void SetFacePosition(int32_t x, int32_t y);
    int32_t DetailX() const { return FDetailX; }
    int32_t DetailY() const { return FDetailY; }
    // Called after the portrait is drawn, with the portrait button's rectangle.
    void SetOnSelect(DXWin::TDrawEvent handler) { FOnPortraitDraw = std::move(handler); }
    TUnitInfoLayout Layout() const { return FLayout; }
    DXWin::TDXButton* PortraitButton() const { return FPortraitButton; }
    DXWin::TDXButton* SpellbookButton() const { return FSpellbookButton; }

    // Panel coordinates; an empty rectangle where the layout does not show the value.
    static Win32::RECT HotRect(TUnitInfoLayout layout, TUnitInfoValue value);
    static Win32::SIZE SizeOf(TUnitInfoLayout layout);
    // The tooltip at a point of the panel: the value of the first hot rectangle that
    // holds it, empty outside all (their edges belong to none).
    ClassLib::AnsiString TooltipAt(int32_t x, int32_t y) const;

    // The portrait framed in its owner's colour (else the neutral frame).
    bool OwnerFrame = false;
    // The unit is marked to split off its group.
    bool Marked = false;
    // The portrait lights up while hovered.
    bool ShowSelection = true;

private:
    void Step();
    void OpenDetailSheet();
    // UnitInfoDrawing.cpp
    void DrawPanel(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) const;
    void DrawBars(Win32::IDirectDrawSurface7* target, int32_t x, int32_t y) const;
    void DrawNumbers(Win32::IDirectDrawSurface7* target, int32_t x, int32_t y) const;
    void DrawPortrait(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) const;
    void DrawSpellbookButton(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) const;

    GameData::TUnit* FUnit = nullptr;
    TSlideAnimation FSlide;
    int32_t FMouseX = -1;
    int32_t FMouseY = -1;
    int32_t FDetailX = 0;
    int32_t FDetailY = 0;
    TUnitInfoLayout FLayout;
    DXWin::TDrawEvent FOnPortraitDraw;
    DXWin::TDXButton* FSpellbookButton;
    DXWin::TDXButton* FPortraitButton;
};

} // namespace Main
