// A caption in one font and colour, and a button drawn as its caption in a colour for
// each state. Colours are 0x00RRGGBB.
#pragma once

#include "engine/widgets/DXButton.h"

namespace Gfx {
class TFont;
}

namespace Main {

class TTextLabel : public DXWin::TDXControl {
public:
    TTextLabel(DXWin::TDXGroup* parent, DXWin::TDXWindow* ownerWindow);

    void Draw(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) override;

    void SetFont(Gfx::TFont* font) { FFont = font; }
    void SetColor(uint32_t colour) { FColour = colour; }

private:
    Gfx::TFont* FFont = nullptr;
    uint32_t FColour = 0;
};

class TTextButton : public DXWin::TDXButton {
public:
    TTextButton(DXWin::TDXGroup* parent, DXWin::TDXWindow* ownerWindow);

    void Draw(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) override;

    void SetFont(Gfx::TFont* font) { FFont = font; }
    void SetColors(uint32_t normal, uint32_t hover, uint32_t pressed, uint32_t disabled);
    // Sized to the caption, one pixel more each way for the pressed shift.
    void AutoSize();
    // Screen coordinates; the button then draws only inside it instead of its bounds.
    void SetClipRect(const Win32::RECT& rect) {
        FClipRect = rect;
        FUseClip = true;
    }
    Gfx::TFont* Font() const { return FFont; }

private:
    uint32_t StateColour() const;

    Gfx::TFont* FFont = nullptr;
    uint32_t FNormalColour = 0;
    uint32_t FHoverColour = 0;
    uint32_t FPressedColour = 0;
    uint32_t FDisabledColour = 0;
    Win32::RECT FClipRect{};
    bool FUseClip = false;
};

} // namespace Main
