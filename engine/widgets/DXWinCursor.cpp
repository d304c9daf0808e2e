#include "engine/widgets/DXWinHost.h"

namespace DXWin {

void DrawCursorSprite(Gfx::TSprite*, Win32::IDirectDrawSurface7*, int, int) {}

} // namespace DXWin
