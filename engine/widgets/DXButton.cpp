#include "engine/widgets/DXButton.h"

#include "engine/widgets/DXWindow.h"

namespace DXWin {

TDXButton::TDXButton(TDXGroup* parent, TDXWindow* ownerWindow, uint32_t options)
    : TDXControl(parent, ownerWindow, options | csEnabled | csVisible) {}

void TDXButton::KeyPress(char& key) {
    TDXControl::KeyPress(key);
    if (Focused() && key == 13) {
        key = 0;
        Click();
    }
}

void TDXButton::Click() {
    TDXControl::Click();
    if (FModalResult != 0 && OwnerWindow() != nullptr) {
        OwnerWindow()->SetModalResult(FModalResult);
        OwnerWindow()->Close();
    }
}

void TDXButton::SetDefault(bool isDefault) {
    FDefault = isDefault;
    TDXWindow* window = OwnerWindow();
    if (window == nullptr)
        return;
    if (isDefault)
        window->SetDefaultButton(this);
    else if (window->DefaultButton() == this)
        window->SetDefaultButton(nullptr);
}

void TDXButton::SetCancel(bool isCancel) {
    FCancel = isCancel;
    TDXWindow* window = OwnerWindow();
    if (window == nullptr)
        return;
    if (isCancel)
        window->SetCancelButton(this);
    else if (window->CancelButton() == this)
        window->SetCancelButton(nullptr);
}

TDXCheckBox::TDXCheckBox(TDXGroup* parent, TDXWindow* ownerWindow)
    : TDXControl(parent, ownerWindow, csEnabled | csVisible) {}

void TDXCheckBox::Click() {
    TDXControl::Click();
    FChecked = !FChecked;
}

} // namespace DXWin
