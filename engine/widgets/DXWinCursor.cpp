#include "engine/widgets/DXWinHost.h"

#include "engine/graphics/SpriteDrawing.h"

namespace DXWin {

void DrawCursorSprite(Gfx::TSprite* cursor, Win32::IDirectDrawSurface7* target, int x, int y) {
    // Ten frames a second at the application's hundred ticks.
    const int frames = cursor->DrawableFrameCount();
    const int frame = frames > 0 ? static_cast<int>(ApplicationTickCount() / 10 % frames) : 0;
    Gfx::DrawSprite(cursor, target, frame, x - cursor->HotSpotX, y - cursor->HotSpotY, nullptr);
}

} // namespace DXWin
