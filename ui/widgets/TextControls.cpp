#include "ui/widgets/TextControls.h"

#include "engine/graphics/GfxFont.h"
#include "engine/graphics/GfxPixels.h"

namespace Main {

TTextLabel::TTextLabel(DXWin::TDXGroup* parent, DXWin::TDXWindow* ownerWindow)
    : TDXControl(parent, ownerWindow, DXWin::csEnabled | DXWin::csVisible) {}

void TTextLabel::Draw(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) {
    TDXControl::Draw(target, bounds);
    if (FFont)
        FFont->DrawString(target, bounds.left, bounds.top, &bounds, Gfx::PackColor565(FColour),
                          Caption());
}

TTextButton::TTextButton(DXWin::TDXGroup* parent, DXWin::TDXWindow* ownerWindow)
    : TDXButton(parent, ownerWindow) {}

void TTextButton::SetColors(uint32_t normal, uint32_t hover, uint32_t pressed, uint32_t disabled) {
    FNormalColour = normal;
    FHoverColour = hover;
    FPressedColour = pressed;
    FDisabledColour = disabled;
}

void TTextButton::AutoSize() {
    if (FFont)
        SetSize(FFont->MaxLineWidth(Caption()) + 1, FFont->TextHeight(Caption()) + 1);
}

uint32_t TTextButton::StateColour() const {
    if (!Enabled())
        return FDisabledColour;
    if (Pressed() && Hovered())
        return FPressedColour;
    return Hovered() ? FHoverColour : FNormalColour;
}

void TTextButton::Draw(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) {
    TDXButton::Draw(target, bounds);
    if (FFont == nullptr)
        return;
    const int shift = Pressed() && Hovered() ? 1 : 0;
    FFont->DrawString(target, bounds.left + shift, bounds.top + shift,
                      FUseClip ? &FClipRect : &bounds, Gfx::PackColor565(StateColour()), Caption());
}

} // namespace Main
