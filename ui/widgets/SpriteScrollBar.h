// A scroll bar drawn from sprites: each arrow in four states, the thumb in three, over
// a track background. Every press clicks.
#pragma once

#include "engine/widgets/DXScrollBar.h"

#include <array>

namespace Gfx {
class TSprite;
}

namespace Main {

// The sprites in the order SetSprites takes them.
enum TScrollBarSprite {
    sbsUpNormal,
    sbsUpHover,
    sbsUpPressed,
    sbsUpDisabled,
    sbsDownNormal,
    sbsDownHover,
    sbsDownPressed,
    sbsDownDisabled,
    sbsThumbNormal,
    sbsThumbHover,
    sbsThumbPressed,
    sbsSpare,
    sbsTrack,
    ScrollBarSpriteCount
};

class TSpriteScrollBar : public DXWin::TDXScrollBar {
public:
    TSpriteScrollBar(DXWin::TDXGroup* parent, uint8_t orientation, int arrowLength,
                     int thumbLength);

    void Draw(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) override;
    void Pressed() override;

    void SetSprites(const std::array<Gfx::TSprite*, ScrollBarSpriteCount>& sprites) {
        FSprites = sprites;
    }

private:
    // The sprite of a part in its state: first the normal sprite, then hover, pressed.
    int PartSprite(uint32_t partState, int normal, bool pressedAnywhere) const;
    void DrawPart(Win32::IDirectDrawSurface7* target, int sprite, const Win32::RECT& part) const;

    std::array<Gfx::TSprite*, ScrollBarSpriteCount> FSprites{};
};

} // namespace Main
