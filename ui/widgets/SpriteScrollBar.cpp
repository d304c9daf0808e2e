#include "ui/widgets/SpriteScrollBar.h"

#include "engine/graphics/Sprite.h"
#include "engine/graphics/SpriteDrawing.h"
#include "ui/widgets/WidgetArt.h"

namespace Main {

using DXWin::spHover;
using DXWin::spPressed;

TSpriteScrollBar::TSpriteScrollBar(DXWin::TDXGroup* parent, uint8_t orientation, int arrowLength,
                                   int thumbLength)
    : TDXScrollBar(parent, orientation, arrowLength, thumbLength) {}

void TSpriteScrollBar::Pressed() {
    PlayWidgetSound(TWidgetSound::Click);
}

int TSpriteScrollBar::PartSprite(uint32_t partState, int normal, bool pressedAnywhere) const {
    const bool hovered = (partState & spHover) && Hovered();
    const bool pressed = (partState & spPressed) && (pressedAnywhere || hovered);
    if (pressed)
        return normal + 2;
    return hovered ? normal + 1 : normal;
}

void TSpriteScrollBar::DrawPart(Win32::IDirectDrawSurface7* target, int sprite,
                                const Win32::RECT& part) const {
    Gfx::TSprite* picture = FSprites[static_cast<size_t>(sprite)];
    if (picture == nullptr)
        return;
    // Centred across the bar, from the part's start along it.
    int x = part.left;
    int y = part.top;
    if (Orientation() == DXWin::sbVertical)
        x = (part.left + part.right - picture->Width) / 2;
    else
        y = (part.top + part.bottom - picture->Height) / 2;
    Gfx::DrawSprite(picture, target, 0, x, y, &part);
}

void TSpriteScrollBar::Draw(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) {
    DrawPart(target, sbsTrack, TrackRect());
    if (Enabled()) {
        DrawPart(target, PartSprite(UpState(), sbsUpNormal, false), UpArrowRect());
        DrawPart(target, PartSprite(DownState(), sbsDownNormal, false), DownArrowRect());
        DrawPart(target, PartSprite(ThumbState(), sbsThumbNormal, true), ThumbRect());
    } else {
        DrawPart(target, sbsUpDisabled, UpArrowRect());
        DrawPart(target, sbsDownDisabled, DownArrowRect());
    }
    TDXScrollBar::Draw(target, bounds);
}

} // namespace Main
