#include "ui/game/SpellBookTab.h"

#include "engine/graphics/Sprite.h"
#include "engine/graphics/SpriteDrawing.h"

namespace Main {

TSpellBookTab::TSpellBookTab(DXWin::TDXGroup* parent, DXWin::TDXWindow* ownerWindow,
                             Gfx::TSprite* sprite)
    : TDXButton(parent, ownerWindow), FSprite(sprite) {
    SetSelected(false);
}

TSpellBookTab::~TSpellBookTab() = default;

void TSpellBookTab::SetSelected(bool selected) {
    FSelected = selected;
    if (FSprite)
        SetSize(FSprite->Width, FSprite->Height - (selected ? Rise : 0));
}

void TSpellBookTab::Draw(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) {
    TDXButton::Draw(target, bounds);
    if (!FSprite)
        return;
    const int shift = Pressed() && Hovered() ? 1 : 0;
    const int y = bounds.top - (FSelected ? 0 : Rise) + shift;
    // Not clipped to the tab: the sprite reaches over the book's edge.
    Gfx::DrawSprite(FSprite, target, 0, bounds.left + shift, y, nullptr);
}

} // namespace Main
