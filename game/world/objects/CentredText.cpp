#include "game/world/objects/CentredText.h"

namespace GameData {

void DrawTextCentred(const Gfx::TFont* font, Win32::IDirectDrawSurface7* target, int x,
                     const Win32::RECT& clip, int y, const ClassLib::AnsiString& text,
                     uint32_t colour) {
    font->DrawString(target, x - font->TextWidth(text) / 2, y, &clip, colour, text);
}

} // namespace GameData
