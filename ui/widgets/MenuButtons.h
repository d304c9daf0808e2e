// The menus' buttons and check boxes: text over a background sprite in a font for each
// state, a variant with an icon, and a check box drawn with box sprites beside its text.
#pragma once

#include "engine/widgets/DXButton.h"

#include <array>

namespace Gfx {
class TFont;
class TSprite;
} // namespace Gfx

namespace Main {

using ClassLib::AnsiString;

// Fonts by control state, in the order SetFonts takes them.
struct TStateFonts {
    Gfx::TFont* Normal = nullptr;
    Gfx::TFont* Hover = nullptr;
    Gfx::TFont* Pressed = nullptr;
    Gfx::TFont* Disabled = nullptr;
};

class TMenuButton : public DXWin::TDXButton {
public:
    TMenuButton(DXWin::TDXGroup* parent, DXWin::TDXWindow* ownerWindow);

    void Draw(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) override;
    void Click() override;

    void SetFonts(Gfx::TFont* normal, Gfx::TFont* hover, Gfx::TFont* pressed, Gfx::TFont* disabled);
    void SetFont(Gfx::TFont* font) { SetFonts(font, font, font, font); }
    void SetBackground(Gfx::TSprite* background) { FBackground = background; }
    void SetText(const AnsiString& text) { FText = text; }
    void SetTextOffset(int x, int y) {
        FTextX = x;
        FTextY = y;
    }
    // The background's size; without one 100 x 30 when there is no normal font, else
    // the text's size.
    void AutoSize();
    void CenterTextHorizontally();
    void CenterTextVertically();

    const AnsiString& Text() const { return FText; }
    int TextX() const { return FTextX; }
    int TextY() const { return FTextY; }

private:
    Gfx::TFont* StateFont() const;

    Gfx::TSprite* FBackground = nullptr;
    TStateFonts FFonts;
    int FTextX = 0;
    int FTextY = 0;
    AnsiString FText;
};

class TIconTextButton : public TMenuButton {
public:
    using TMenuButton::TMenuButton;

    void Draw(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) override;

    // The icon's hot spot lands on (x, y) of the button.
    void SetIcon(Gfx::TSprite* icon, int x, int y) {
        FIcon = icon;
        FIconX = x;
        FIconY = y;
    }

private:
    Gfx::TSprite* FIcon = nullptr;
    int FIconX = 0;
    int FIconY = 0;
};

// Box sprites in the order SetSprites takes them: checked first.
enum TCheckBoxSprite {
    cbsCheckedNormal,
    cbsCheckedHover,
    cbsCheckedPressed,
    cbsUncheckedNormal,
    cbsUncheckedHover,
    cbsUncheckedPressed,
    CheckBoxSpriteCount
};

// Space between the box and the text.
constexpr int CheckBoxTextGap = 5;

class TMenuCheckBox : public DXWin::TDXCheckBox {
public:
    TMenuCheckBox(DXWin::TDXGroup* parent, DXWin::TDXWindow* ownerWindow);

    void Draw(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) override;
    void Click() override;

    void SetSprites(const std::array<Gfx::TSprite*, CheckBoxSpriteCount>& sprites) {
        FSprites = sprites;
    }
    // Only the first is drawn with.
    void SetFonts(Gfx::TFont* normal, Gfx::TFont* hover, Gfx::TFont* pressed, Gfx::TFont* disabled);
    void SetText(const AnsiString& text) { FText = text; }
    void AutoSize();

private:
    std::array<Gfx::TSprite*, CheckBoxSpriteCount> FSprites{};
    TStateFonts FFonts;
    AnsiString FText;
};

} // namespace Main
