#include "ui/game/ScenarioBook.h"

#include "engine/graphics/SpriteDrawing.h"
#include "ui/game/ColorText.h"

namespace Main {

namespace {

// Interface fonts of the briefing: normal, bold, italic.
constexpr int NormalFont = 5;
constexpr int BoldFont = 6;
constexpr int ItalicFont = 7;

constexpr int TopRollX = 140, TopRollY = 44;
constexpr int BottomRollX = 140, BottomRollY = 461;

} // namespace

TScenarioBookWindow::TScenarioBookWindow(DXWin::TDXWindowSystem* windowSystem, uint32_t options)
    : TVRNWindow(windowSystem, options, 0) {
    SetSize(800, 600);
    OnClick = [this](DXWin::TDXControl*) { CloseBook(); };
    OnKeyDown = [this](Win32::WPARAM& key, DXWin::TShiftState shift) {
        if (shift & (DXWin::ssShift | DXWin::ssCtrl | DXWin::ssAlt))
            return;
        if (key == 27 || key == 13 || key == 32)
            CloseBook();
    };
}

void TScenarioBookWindow::SetText(const ClassLib::AnsiString& title,
                                  const ClassLib::AnsiString& text) {
    // The text starts just below the visible part.
    FScrollOffset = TextRect.bottom - TextRect.top;
    FTickCount = 0;
    FText.Clear();
    FTextHeight = 0;
    FTitle.clear();
    FTitleHeight = 0;
    const Gfx::TFont* normal = InterfaceFont(NormalFont);
    const Gfx::TFont* bold = InterfaceFont(BoldFont);
    const Gfx::TFont* italic = InterfaceFont(ItalicFont);
    if (!normal || !bold || !italic)
        return;
    ParseColorText(text, FText, TextWidth, *normal, *bold, *italic);
    FText.Reflow(TextWidth);
    FTextHeight = FText.GetHeight();
    FTitle = bold->WrapText(TextWidth, title);
    FTitleHeight = bold->TextHeight(FTitle) + bold->CellHeight();
}

void TScenarioBookWindow::CloseBook() {
    SetModalResult(1);
    Close();
}

void TScenarioBookWindow::Tick() {
    TVRNWindow::Tick();
    if (++FTickCount % TicksPerPixel == 0)
        --FScrollOffset;
    if (FScrollOffset + FTitleHeight <= -FTextHeight && !Done())
        CloseBook();
}

void TScenarioBookWindow::Draw(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) {
    TVRNWindow::Draw(target, bounds);
    if (Gfx::TSprite* background = FBackground.Get())
        Gfx::DrawSprite(background, target, 0, bounds.left, bounds.top, &bounds);
    const Win32::RECT clip{bounds.left + TextRect.left, bounds.top + TextRect.top,
                           bounds.left + TextRect.right, bounds.top + TextRect.bottom};
    const int x = clip.left;
    const int y = clip.top + FScrollOffset;
    if (const Gfx::TFont* bold = InterfaceFont(BoldFont))
        bold->DrawString(target, x, y, &clip, 0, FTitle);
    FText.Draw(target, x, y + FTitleHeight, &clip);
    if (Gfx::TSprite* top = FTopRoll.Get())
        Gfx::DrawSprite(top, target, 0, bounds.left + TopRollX, bounds.top + TopRollY, &bounds);
    if (Gfx::TSprite* bottom = FBottomRoll.Get())
        Gfx::DrawSprite(bottom, target, 0, bounds.left + BottomRollX, bounds.top + BottomRollY,
                        &bounds);
}

} // namespace Main
