#include "ui/widgets/VRNTooltip.h"

#include "engine/graphics/GfxFont.h"
#include "engine/graphics/SpriteDrawing.h"
#include "engine/widgets/DXWinHost.h"
#include "ui/widgets/WidgetArt.h"

#include <algorithm>

namespace Main {

namespace {

// The background starts this far left of the text.
constexpr int BackgroundMargin = 3;

} // namespace

void TVRNTooltip::SetVisible(bool visible) {
    FVisible = visible;
    Layout();
}

void TVRNTooltip::SetText(const AnsiString& text) {
    FText = text;
    Layout();
}

void TVRNTooltip::SetPosition(int mouseX, int mouseY) {
    FMouseX = mouseX;
    FMouseY = mouseY;
    Layout();
}

void TVRNTooltip::Layout() {
    const Gfx::TFont* font = InterfaceFont(0);
    if (!FVisible || font == nullptr)
        return;
    const int width = font->MaxLineWidth(FText);
    const int height = font->TextHeight(FText);
    const Win32::SIZE display = DXWin::DisplaySize();
    FBoxX = FMouseX;
    FBoxY = FMouseY + 40;
    if (FBoxX + width + 2 > display.cx - 1)
        FBoxX = display.cx - (width + 2) - 1;
    // The background reaches left of the text: keep it on the display as well.
    FBoxX = std::max(FBoxX, 1 + BackgroundMargin);
    if (FBoxY + height + 2 > display.cy - 1)
        FBoxY = FMouseY - (height + 2) - 1;
    FBoxY = std::max(FBoxY, 1);
}

Win32::RECT TVRNTooltip::BoxRect() const {
    const Gfx::TFont* font = InterfaceFont(0);
    if (font == nullptr)
        return {};
    // As wide as the widest line, the width the layout keeps on the display.
    return {FBoxX - BackgroundMargin, FBoxY, FBoxX + font->MaxLineWidth(FText) + 2,
            FBoxY + font->TextHeight(FText) + 1};
}

void TVRNTooltip::Draw(Win32::IDirectDrawSurface7* target) {
    const Gfx::TFont* font = InterfaceFont(0);
    if (!FVisible || font == nullptr)
        return;
    if (Gfx::TSprite* background = TooltipBackground())
        Gfx::DrawSpriteStretched(background, target, 0, BoxRect(), nullptr, true);
    font->DrawString(target, FBoxX, FBoxY, nullptr, 0xFFFF, FText);
}

} // namespace Main
