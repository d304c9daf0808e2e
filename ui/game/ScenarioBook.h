// The briefing shown when a scenario begins: the scenario's title and its marked-up
// text roll slowly upward over a parchment between two rolls, like film credits,
// until they have passed or the player dismisses the book.
#pragma once

#include "engine/graphics/GfxColorText.h"
#include "ui/widgets/VRNWindow.h"
#include "ui/widgets/WidgetArt.h"

namespace Main {

class TScenarioBookWindow : public TVRNWindow {
public:
    TScenarioBookWindow(DXWin::TDXWindowSystem* windowSystem, uint32_t options);

    void SetText(const ClassLib::AnsiString& title, const ClassLib::AnsiString& text);
    // Modal result 1.
    void CloseBook();

    void Tick() override;
    void Draw(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) override;

    int ScrollOffset() const { return FScrollOffset; }
    int TextHeight() const { return FTextHeight; }
    int TitleHeight() const { return FTitleHeight; }
    const Gfx::TColorText& Text() const { return FText; }

    static constexpr Win32::RECT TextRect{150, 55, 480, 510};
    static constexpr int TextWidth = TextRect.right - TextRect.left;
    // Frames of travel per pixel.
    static constexpr int TicksPerPixel = 10;

private:
    const TPictureHold FBackground{pgScenarioBookBackground};
    const TPictureHold FBottomRoll{pgScenarioBookBottomRoll};
    const TPictureHold FTopRoll{pgScenarioBookTopRoll};
    Gfx::TColorText FText;
    int FTextHeight = 0;
    int FScrollOffset = 0;
    int FTickCount = 0;
    ClassLib::AnsiString FTitle;
    int FTitleHeight = 0;
};

} // namespace Main
