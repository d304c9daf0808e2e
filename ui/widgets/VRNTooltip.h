// The game's tooltip: the hint in white on the stretched tooltip background, below
// the mouse, kept on the display.
#pragma once

#include "engine/widgets/DXTooltip.h"
#include "platform/WinTypes.h"

namespace Main {

using ClassLib::AnsiString;

class TVRNTooltip : public DXWin::TDXTooltip {
public:
    void SetVisible(bool visible) override;
    bool IsVisible() const override { return FVisible; }
    void SetText(const AnsiString& text) override;
    void SetPosition(int mouseX, int mouseY) override;
    void UpdateFrame() override {}
    void Draw(Win32::IDirectDrawSurface7* target) override;

    // The text's top-left corner; the background reaches 3 pixels further left.
    int BoxX() const { return FBoxX; }
    int BoxY() const { return FBoxY; }
    // The background's rectangle.
    Win32::RECT BoxRect() const;

private:
    void Layout();

    bool FVisible = false;
    int FBoxX = 0;
    int FBoxY = 0;
    int FMouseX = 0;
    int FMouseY = 0;
    AnsiString FText;
};

} // namespace Main
