// The tooltip the window system drives: it follows the control under the mouse
// and shows that control's hint after the mouse has rested on it for a while.
// How it looks is up to the derived class.
#pragma once

#include "platform/classlib/AnsiString.h"

#include <cstdint>

namespace Win32 {
class IDirectDrawSurface7;
}

namespace DXWin {

using ClassLib::AnsiString;

class TDXControl;

// Milliseconds the mouse rests on a control before its hint shows.
constexpr uint32_t TooltipDelay = 500;

class TDXTooltip {
public:
    TDXTooltip() = default;
    virtual ~TDXTooltip() = default;
    TDXTooltip(const TDXTooltip&) = delete;
    TDXTooltip& operator=(const TDXTooltip&) = delete;

    virtual void SetVisible(bool visible) = 0;
    virtual bool IsVisible() const = 0;
    virtual void SetText(const AnsiString& text) = 0;
    virtual void SetPosition(int mouseX, int mouseY) = 0;
    virtual void UpdateFrame() = 0;
    virtual void Draw(Win32::IDirectDrawSurface7* target) = 0;

    void Enable() { FEnabled = true; }
    void Disable();
    // Called every tick with the control under the mouse (or null).
    void Update(const TDXControl* control, int mouseX, int mouseY);
    // The control is going away.
    void Forget(const TDXControl* control);

    bool Enabled() const { return FEnabled; }
    const TDXControl* CurrentControl() const { return FCurrentControl; }
    const AnsiString& Text() const { return FText; }

private:
    void Hide();
    void ShowHintOf(const TDXControl* control, int mouseX, int mouseY);

    const TDXControl* FCurrentControl = nullptr;
    uint32_t FHoverStart = 0;
    bool FEnabled = true;
    AnsiString FText;
};

} // namespace DXWin
