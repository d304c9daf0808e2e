// Captions centred on a point, as the screens put them under map objects and icons.
#pragma once

#include "engine/graphics/GfxFont.h"

namespace GameData {

// The text's left edge at x less half its width (the half rounded toward zero).
void DrawTextCentred(const Gfx::TFont* font, Win32::IDirectDrawSurface7* target, int x,
                     const Win32::RECT& clip, int y, const ClassLib::AnsiString& text,
                     uint32_t colour);

} // namespace GameData
