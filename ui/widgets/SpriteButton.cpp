#include "ui/widgets/SpriteButton.h"

#include "engine/graphics/Sprite.h"
#include "engine/graphics/SpriteDrawing.h"
#include "ui/widgets/WidgetArt.h"

namespace Main {

TSpriteButton::TSpriteButton(DXWin::TDXGroup* parent, DXWin::TDXWindow* ownerWindow)
    : TDXButton(parent, ownerWindow) {}

void TSpriteButton::SetSprites(Gfx::TSprite* normal, Gfx::TSprite* hover, Gfx::TSprite* pressed,
                               Gfx::TSprite* disabled) {
    FNormal = normal;
    FHover = hover;
    FPressed = pressed;
    FDisabled = disabled;
}

void TSpriteButton::Draw(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) {
    Gfx::TSprite* sprite = FPressed;
    int frame = 0;
    if (!Enabled()) {
        sprite = FDisabled;
    } else if (!Hovered()) {
        sprite = FNormal;
    } else if (!Pressed()) {
        sprite = FHover;
        frame = FHoverFrame;
    }
    if (sprite)
        Gfx::DrawSprite(sprite, target, frame, bounds.left, bounds.top, &bounds);
    TDXButton::Draw(target, bounds);
}

void TSpriteButton::Tick() {
    ++FTickCount;
    const int frames = FHover ? FHover->DrawableFrameCount() : 0;
    if (frames > 0 && FTickCount % HoverFrameTicks == 0)
        FHoverFrame = (FHoverFrame + 1) % frames;
    TDXButton::Tick();
}

void TSpriteButton::MouseEnter() {
    // Each visit starts the animation over, its first frame shown for a full period.
    FHoverFrame = 0;
    FTickCount = 0;
    TDXButton::MouseEnter();
}

void TSpriteButton::Click() {
    PlayWidgetSound(TWidgetSound::Click);
    TDXButton::Click();
}

} // namespace Main
