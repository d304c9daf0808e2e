// Push buttons with a modal result and the default and cancel roles of their
// window, and check boxes. Both draw nothing themselves beyond OnDraw.
#pragma once

#include "engine/widgets/DXControl.h"

namespace DXWin {

class TDXButton : public TDXControl {
public:
    TDXButton(TDXGroup* parent, TDXWindow* ownerWindow, uint32_t options = 0);

    void KeyPress(char& key) override;
    // Fires OnClick; a button with a modal result then closes its window with it.
    void Click() override;

    void SetModalResult(int result) { FModalResult = result; }
    int ModalResult() const { return FModalResult; }
    // Makes the button its window's default (cancel) button, or, when cleared,
    // takes the window's link away if it is this button.
    void SetDefault(bool isDefault);
    void SetCancel(bool isCancel);
    bool IsDefault() const { return FDefault; }
    bool IsCancel() const { return FCancel; }

private:
    int FModalResult = 0;
    bool FDefault = false;
    bool FCancel = false;
};

class TDXCheckBox : public TDXControl {
public:
    TDXCheckBox(TDXGroup* parent, TDXWindow* ownerWindow);

    // OnClick sees the state before the click, then it toggles.
    void Click() override;

    bool Checked() const { return FChecked; }
    void SetChecked(bool checked) { FChecked = checked; }

private:
    bool FChecked = false;
};

} // namespace DXWin
