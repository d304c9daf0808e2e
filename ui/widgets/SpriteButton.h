// A button drawn from four sprites; the hover sprite animates while shown.
#pragma once

#include "engine/widgets/DXButton.h"

namespace Gfx {
class TSprite;
}

namespace Main {

// Ticks each frame of an animated hover sprite is shown.
constexpr int HoverFrameTicks = 10;

class TSpriteButton : public DXWin::TDXButton {
public:
    TSpriteButton(DXWin::TDXGroup* parent, DXWin::TDXWindow* ownerWindow);

    void Draw(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) override;
    void Tick() override;
    void MouseEnter() override;
    void Click() override;

    void SetSprites(Gfx::TSprite* normal, Gfx::TSprite* hover, Gfx::TSprite* pressed,
                    Gfx::TSprite* disabled);
    int HoverFrame() const { return FHoverFrame; }

private:
    int FHoverFrame = 0;
    int FTickCount = 0;
    Gfx::TSprite* FNormal = nullptr;
    Gfx::TSprite* FHover = nullptr;
    Gfx::TSprite* FPressed = nullptr;
    Gfx::TSprite* FDisabled = nullptr;
};

} // namespace Main
