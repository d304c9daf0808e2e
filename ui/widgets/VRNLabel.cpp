#include "ui/widgets/VRNLabel.h"

#include "engine/graphics/GfxFont.h"
#include "engine/graphics/GfxPixels.h"
#include "ui/widgets/GameView.h"

namespace Main {

namespace {

constexpr uint32_t ChoiceColour = 0x0000A0;

} // namespace

void DrawControlText(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds,
                     const Gfx::TFont* font, const AnsiString& text, bool wrap, uint32_t colour,
                     const TGetClipRectEvent& getClipRect) {
    Win32::RECT clip = bounds;
    if (getClipRect)
        getClipRect(clip);
    if (font == nullptr)
        return;
    if (wrap)
        font->DrawWrappedText(target, bounds, &clip, colour, text);
    else
        font->DrawString(target, bounds.left, bounds.top, &clip, colour, text);
}

TVRNLabel::TVRNLabel(DXWin::TDXGroup* parent, DXWin::TDXWindow* ownerWindow, uint32_t options)
    : TDXControl(parent, ownerWindow, options | DXWin::csEnabled | DXWin::csVisible) {}

void TVRNLabel::Draw(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) {
    TDXControl::Draw(target, bounds);
    DrawControlText(target, bounds, FFont, FText, FWrap, 0, FOnGetClipRect);
}

TVRNChoice::TVRNChoice(DXWin::TDXGroup* parent, DXWin::TDXWindow* ownerWindow)
    : TDXButton(parent, ownerWindow, DXWin::csEnabled | DXWin::csVisible) {}

void TVRNChoice::Draw(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) {
    TDXButton::Draw(target, bounds);
    if (GameView == nullptr || !GameView->HoldsScenario())
        return;
    const uint32_t colour = Hovered() ? Gfx::PackColor16(GameView->CurrentPlayerColor())
                                      : Gfx::PackColor565(ChoiceColour);
    DrawControlText(target, bounds, FFont, FText, FWrap, colour, FOnGetClipRect);
}

} // namespace Main
