// The look of the adventure screens' sprite buttons: one sprite centred on the button
// by its hot spot, the lit one while hovered, a pixel down and right while pressed.
#pragma once

#include "platform/WinTypes.h"

namespace DXWin {
class TDXControl;
}
namespace Gfx {
class TSprite;
}
namespace Win32 {
class IDirectDrawSurface7;
}

namespace Main {

void DrawButtonSprite(const DXWin::TDXControl& button, Gfx::TSprite* normal, Gfx::TSprite* lit,
                      Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds);

} // namespace Main
