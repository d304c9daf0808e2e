#include "engine/widgets/DXTooltip.h"

#include "engine/widgets/DXControl.h"
#include "engine/widgets/DXWinHost.h"

namespace DXWin {

void TDXTooltip::Disable() {
    FEnabled = false;
    Hide();
}

void TDXTooltip::Hide() {
    if (IsVisible())
        SetVisible(false);
    FCurrentControl = nullptr;
}

void TDXTooltip::Forget(const TDXControl* control) {
    if (control == FCurrentControl)
        Hide();
}

void TDXTooltip::ShowHintOf(const TDXControl* control, int mouseX, int mouseY) {
    FText = control->Hint();
    SetText(FText);
    FCurrentControl = control;
    SetPosition(mouseX, mouseY);
}

void TDXTooltip::Update(const TDXControl* control, int mouseX, int mouseY) {
    if (!FEnabled || control == nullptr || control->Hint().empty()) {
        Hide();
        return;
    }
    if (IsVisible()) {
        if (control == FCurrentControl && FText == control->Hint())
            SetPosition(mouseX, mouseY);
        else
            ShowHintOf(control, mouseX, mouseY);
        return;
    }
    if (control != FCurrentControl) {
        FCurrentControl = control;
        FHoverStart = ApplicationClock();
        return;
    }
    // Unsigned difference: right across a wrap of the clock too.
    if (ApplicationClock() - FHoverStart > TooltipDelay) {
        ShowHintOf(control, mouseX, mouseY);
        SetVisible(true);
    }
}

} // namespace DXWin
