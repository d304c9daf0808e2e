#include "ui/game/ButtonSprite.h"

#include "engine/graphics/Sprite.h"
#include "engine/graphics/SpriteDrawing.h"
#include "engine/widgets/DXControl.h"

namespace Main {

void DrawButtonSprite(const DXWin::TDXControl& button, Gfx::TSprite* normal, Gfx::TSprite* lit,
                      Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) {
    Gfx::TSprite* sprite = button.Hovered() ? lit : normal;
    if (!sprite)
        return;
    const int shift = button.Hovered() && button.Pressed() ? 1 : 0;
    const int x = (bounds.left + bounds.right) / 2 - sprite->HotSpotX + shift;
    const int y = (bounds.top + bounds.bottom) / 2 - sprite->HotSpotY + shift;
    Gfx::DrawSprite(sprite, target, 0, x, y, nullptr);
}

} // namespace Main
