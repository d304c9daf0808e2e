// Text of the conversation screens: a label, and an answer button drawn as text that
// takes the colour of the player on turn under the mouse. Both are clipped to the
// rectangle their owner gives through OnGetClipRect (screen coordinates), or to their
// own bounds when the owner gives none.
#pragma once

#include "engine/widgets/DXButton.h"

#include <functional>

namespace Gfx {
class TFont;
}

namespace Main {

using ClassLib::AnsiString;
using TGetClipRectEvent = std::function<void(Win32::RECT& rect)>;

// Text in colour 0 at the top-left of bounds, word-wrapped into them when wrap is set.
void DrawControlText(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds,
                     const Gfx::TFont* font, const AnsiString& text, bool wrap, uint32_t colour,
                     const TGetClipRectEvent& getClipRect);

class TVRNLabel : public DXWin::TDXControl {
public:
    TVRNLabel(DXWin::TDXGroup* parent, DXWin::TDXWindow* ownerWindow, uint32_t options = 0);

    void Draw(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) override;

    void SetText(const AnsiString& text) { FText = text; }
    void SetFont(Gfx::TFont* font) { FFont = font; }
    void SetOnGetClipRect(TGetClipRectEvent event) { FOnGetClipRect = std::move(event); }
    void SetWrap(bool wrap) { FWrap = wrap; }
    const AnsiString& Text() const { return FText; }
    Gfx::TFont* Font() const { return FFont; }

private:
    AnsiString FText;
    Gfx::TFont* FFont = nullptr;
    TGetClipRectEvent FOnGetClipRect;
    bool FWrap = false;
};

// Drawn only while a game with a scenario runs.
class TVRNChoice : public DXWin::TDXButton {
public:
    TVRNChoice(DXWin::TDXGroup* parent, DXWin::TDXWindow* ownerWindow);

    void Draw(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) override;

    void SetText(const AnsiString& text) { FText = text; }
    void SetFont(Gfx::TFont* font) { FFont = font; }
    void SetOnGetClipRect(TGetClipRectEvent event) { FOnGetClipRect = std::move(event); }
    void SetWrap(bool wrap) { FWrap = wrap; }
    const AnsiString& Text() const { return FText; }

private:
    AnsiString FText;
    Gfx::TFont* FFont = nullptr;
    TGetClipRectEvent FOnGetClipRect;
    bool FWrap = false;
};

} // namespace Main
