// Windows that unroll like parchment scrolls between two rollers when shown and roll
// up again when hidden, with the window open and close sounds. The vertical window
// unrolls downwards and upwards from its middle; the horizontal one sideways.
#pragma once

#include "ui/widgets/VRNWindow.h"
#include "ui/widgets/WidgetArt.h"

namespace Gfx {
class TSprite;
}

namespace Main {

// Animation states of the scroll and book windows.
constexpr int asIdle = 0;
constexpr int asOpening = 1;
constexpr int asClosing = 2;

class TScrollWindow : public TVRNWindow {
public:
    // Hidden, not deleted, unless the owner sets DeleteWhenRolledUp.
    void SetVisible(bool visible) override;
    void Tick() override;
    void Draw(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) override;

    // The unrolled part in screen coordinates.
    Win32::RECT GetVisibleRect() const;

    int AnimationState() const { return FAnimationState; }
    // Pixels unrolled along the window's length, rollers included.
    int Extent() const { return FExtent; }
    int FullWidth() const { return FFullWidth; }
    int FullHeight() const { return FFullHeight; }
    int RollerWidth() const { return FRollerWidth; }
    int RollerHeight() const { return FRollerHeight; }
    Gfx::TSprite* Parchment() const { return FParchment; }

    // Only the vertical window deletes itself once rolled up.
    bool DeleteWhenRolledUp = false;

protected:
    TScrollWindow(DXWin::TDXWindowSystem* windowSystem, uint32_t options, bool horizontal);

private:
    // Along the unrolling: height for the vertical window, width for the horizontal.
    int Length() const { return FHorizontal ? FWidth : FHeight; }
    int FullLength() const { return FHorizontal ? FFullWidth : FFullHeight; }
    int RollerThickness() const { return FHorizontal ? FRollerWidth : FRollerHeight; }
    void DrawRollers(Win32::IDirectDrawSurface7* target, const Win32::RECT& unrolled) const;

    const bool FHorizontal;
    // The horizontal window's pictures; the vertical one's are common sprites.
    const TPictureHold FParchmentHold;
    const TPictureHold FRollerHold;
    uint32_t FAnimationStart = 0;
    int FAnimationState = asIdle;
    int FExtent = 0;
    int FFullWidth;
    int FFullHeight;
    int FRollerWidth;
    int FRollerHeight;
    Gfx::TSprite* FParchment;
    Gfx::TSprite* FRoller;
};

class TVertScrollWindow : public TScrollWindow {
public:
    TVertScrollWindow(DXWin::TDXWindowSystem* windowSystem, uint32_t options);
};

class THorizScrollWindow : public TScrollWindow {
public:
    THorizScrollWindow(DXWin::TDXWindowSystem* windowSystem, uint32_t options);
};

} // namespace Main
