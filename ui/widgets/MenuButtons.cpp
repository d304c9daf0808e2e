#include "ui/widgets/MenuButtons.h"

#include "engine/graphics/GfxFont.h"
#include "engine/graphics/Sprite.h"
#include "engine/graphics/SpriteDrawing.h"
#include "ui/widgets/WidgetArt.h"

namespace Main {

TMenuButton::TMenuButton(DXWin::TDXGroup* parent, DXWin::TDXWindow* ownerWindow)
    : TDXButton(parent, ownerWindow) {}

void TMenuButton::SetFonts(Gfx::TFont* normal, Gfx::TFont* hover, Gfx::TFont* pressed,
                           Gfx::TFont* disabled) {
    FFonts = {normal, hover, pressed, disabled};
}

void TMenuButton::AutoSize() {
    if (FBackground)
        SetSize(FBackground->Width, FBackground->Height);
    else if (FFonts.Normal == nullptr)
        SetSize(100, 30);
    else
        SetSize(FFonts.Normal->TextWidth(FText), FFonts.Normal->CellHeight());
}

void TMenuButton::CenterTextHorizontally() {
    const int textWidth = FFonts.Normal ? FFonts.Normal->TextWidth(FText) : 0;
    FTextX = Width() / 2 - textWidth / 2;
}

void TMenuButton::CenterTextVertically() {
    const int cellHeight = FFonts.Normal ? FFonts.Normal->CellHeight() : 0;
    FTextY = Height() / 2 - cellHeight / 2;
}

Gfx::TFont* TMenuButton::StateFont() const {
    if (!Enabled())
        return FFonts.Disabled;
    if (!Hovered())
        return FFonts.Normal;
    return Pressed() ? FFonts.Pressed : FFonts.Hover;
}

void TMenuButton::Draw(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) {
    if (FBackground)
        Gfx::DrawSprite(FBackground, target, 0, bounds.left, bounds.top, &bounds);
    if (const Gfx::TFont* font = StateFont())
        font->DrawString(target, bounds.left + FTextX, bounds.top + FTextY, &bounds, 0, FText);
    TDXButton::Draw(target, bounds);
}

void TMenuButton::Click() {
    PlayWidgetSound(TWidgetSound::Click);
    TDXButton::Click();
}

void TIconTextButton::Draw(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) {
    TMenuButton::Draw(target, bounds);
    if (FIcon)
        Gfx::DrawSprite(FIcon, target, 0, bounds.left + FIconX - FIcon->HotSpotX,
                        bounds.top + FIconY - FIcon->HotSpotY, &bounds);
}

TMenuCheckBox::TMenuCheckBox(DXWin::TDXGroup* parent, DXWin::TDXWindow* ownerWindow)
    : TDXCheckBox(parent, ownerWindow) {}

void TMenuCheckBox::SetFonts(Gfx::TFont* normal, Gfx::TFont* hover, Gfx::TFont* pressed,
                             Gfx::TFont* disabled) {
    FFonts = {normal, hover, pressed, disabled};
}

void TMenuCheckBox::AutoSize() {
    const Gfx::TSprite* box = FSprites[cbsCheckedNormal];
    if (FFonts.Normal && box)
        SetSize(FFonts.Normal->TextWidth(FText) + box->Width + CheckBoxTextGap,
                FFonts.Normal->CellHeight());
}

void TMenuCheckBox::Draw(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) {
    const int first = Checked() ? cbsCheckedNormal : cbsUncheckedNormal;
    int state = 0;
    if (Enabled() && Hovered())
        state = Pressed() ? 2 : 1;
    Gfx::TSprite* box = FSprites[static_cast<size_t>(first + state)];
    if (FFonts.Normal && box) {
        const int boxY = (bounds.top + bounds.bottom - box->Height) / 2;
        Gfx::DrawSprite(box, target, 0, bounds.left, boxY, &bounds);
        FFonts.Normal->DrawString(target, bounds.left + box->Width + CheckBoxTextGap, bounds.top,
                                  &bounds, 0, FText);
    }
    TDXCheckBox::Draw(target, bounds);
}

void TMenuCheckBox::Click() {
    PlayWidgetSound(TWidgetSound::Click);
    TDXCheckBox::Click();
}

} // namespace Main
