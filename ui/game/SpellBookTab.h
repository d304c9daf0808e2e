// One of the four tabs along the spell book's lower edge. The selected tab stands out
// of the book: the others are drawn higher, so that the pages cover more of them.
#pragma once

#include "engine/widgets/DXButton.h"

namespace Gfx {
class TSprite;
}

namespace Main {

class TSpellBookTab : public DXWin::TDXButton {
public:
    // How much higher an unselected tab is drawn, and how much shorter a selected one is.
    static constexpr int Rise = 17;

    // Sized to the sprite; null draws nothing.
    TSpellBookTab(DXWin::TDXGroup* parent, DXWin::TDXWindow* ownerWindow, Gfx::TSprite* sprite);
    ~TSpellBookTab() override;

    void Draw(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) override;

    void SetSelected(bool selected);
    bool Selected() const { return FSelected; }

private:
    Gfx::TSprite* FSprite;
    bool FSelected = false;
};

} // namespace Main
