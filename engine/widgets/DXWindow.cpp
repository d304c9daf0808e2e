#include "engine/widgets/DXWindow.h"

#include "engine/widgets/DXButton.h"
#include "engine/widgets/DXWinHost.h"
#include "engine/widgets/DXWindowSystem.h"
#include "platform/win32/WinMessages.h"
#include "platform/win32/WinQueue.h"

#include <cstdlib>

namespace DXWin {

using namespace Win32;

TDXWindow::TDXWindow(TDXWindowSystem* windowSystem, uint32_t options, int dragBandHeight)
    : TDXGroup(nullptr, nullptr, options | csEnabled), FDragBandHeight(dragBandHeight) {
    if (windowSystem != nullptr)
        windowSystem->Add(this);
}

TDXWindow::~TDXWindow() {
    if (FWindowSystem != nullptr)
        FWindowSystem->Remove(this);
    // The focus goes nowhere while the window is being taken down; the children go
    // while the window is still whole, each leaving its links on the way.
    FFocusedIndex = -1;
    FFocusList.clear();
    DeleteChildren();
}

void TDXWindow::AddToFocusList(TDXControl* control) {
    const bool usable = control->Visible() && control->Enabled();
    FFocusList.push_back(usable ? control : nullptr);
    control->FOwnerWindow = this;
    control->FFocusIndex = FocusCount() - 1;
    if (FFocusedIndex < 0)
        ResetFocus();
}

TDXControl* TDXWindow::FocusedControl() const {
    if (FFocusedIndex < 0 || FFocusedIndex >= FocusCount())
        return nullptr;
    return FFocusList[static_cast<size_t>(FFocusedIndex)];
}

void TDXWindow::SetFocusIndex(int index) {
    if (TDXControl* focused = FocusedControl())
        focused->LostFocus();
    FFocusedIndex = index;
    if (TDXControl* focused = FocusedControl())
        focused->GotFocus();
}

bool TDXWindow::CanFocus(int index) const {
    if (index < 0 || index >= FocusCount())
        return false;
    const TDXControl* control = FFocusList[static_cast<size_t>(index)];
    return control != nullptr && control->HasState(csTakesFocus) && control->Visible() &&
           control->Enabled();
}

void TDXWindow::ResetFocus() {
    SetFocusIndex(-1);
    for (int i = 0; i < FocusCount(); ++i)
        if (CanFocus(i)) {
            SetFocusIndex(i);
            return;
        }
}

void TDXWindow::FocusNext() {
    const int count = FocusCount();
    for (int step = 1; step < count + (FFocusedIndex < 0 ? 1 : 0); ++step) {
        const int index = ((FFocusedIndex < 0 ? -1 : FFocusedIndex) + step) % count;
        if (CanFocus(index)) {
            SetFocusIndex(index);
            return;
        }
    }
}

void TDXWindow::FocusPrev() {
    const int count = FocusCount();
    const int start = FFocusedIndex < 0 ? count : FFocusedIndex;
    for (int step = 1; step < count + (FFocusedIndex < 0 ? 1 : 0); ++step) {
        const int index = ((start - step) % count + count) % count;
        if (CanFocus(index)) {
            SetFocusIndex(index);
            return;
        }
    }
}

void TDXWindow::ClearFocusSlot(int index) {
    if (index < 0 || index >= FocusCount())
        return;
    TDXControl* control = FFocusList[static_cast<size_t>(index)];
    // The slot empties first, so that a control leaving with its group (still
    // visible and enabled itself) is not chosen again by the reset.
    FFocusList[static_cast<size_t>(index)] = nullptr;
    if (control != nullptr && index == FFocusedIndex) {
        FFocusedIndex = -1;
        if (control->Focused())
            control->LostFocus();
        ResetFocus();
    }
}

void TDXWindow::FillFocusSlot(int index, TDXControl* control) {
    if (index >= 0 && index < FocusCount())
        FFocusList[static_cast<size_t>(index)] = control;
}

void TDXWindow::ForgetControl(TDXControl* control) {
    if (FDefaultButton == control)
        FDefaultButton = nullptr;
    if (FCancelButton == control)
        FCancelButton = nullptr;
    const int index = control->FFocusIndex;
    if (index >= 0 && index < FocusCount() && FFocusList[static_cast<size_t>(index)] == control) {
        FFocusList[static_cast<size_t>(index)] = nullptr;
        if (FFocusedIndex == index) {
            // The control is going: it hears no LostFocus, the next one takes over.
            FFocusedIndex = -1;
            ResetFocus();
        }
    }
    control->FFocusIndex = -1;
    control->FOwnerWindow = nullptr;
    if (FWindowSystem != nullptr)
        FWindowSystem->ForgetControl(control);
}

void TDXWindow::SetModalResult(int result) {
    if (result != 0) {
        FModalResult = result;
        FDone = true;
    }
}

void TDXWindow::Close() {
    if (Modal())
        FDone = true;
    if (HasState(woDeleteOnClose))
        FState |= wsDeleteRequested;
    Hide();
}

int TDXWindow::ShowModal(bool dropMessage) {
    if (dropMessage) {
        MSG msg;
        if (PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT)
            GetMessage(&msg, nullptr, 0, 0);
    }
    FModalResult = 0;
    FDone = false;
    Show();
    TDXWindowSystem* windowSystem = FWindowSystem;
    if (windowSystem != nullptr) {
        windowSystem->RefreshHover();
        windowSystem->ProcessRequests();
        windowSystem->EnterModalLoop();
    }
    try {
        RunNestedLoop(&FDone);
    } catch (...) {
        if (windowSystem != nullptr)
            windowSystem->LeaveModalLoop();
        throw;
    }
    if (windowSystem != nullptr)
        windowSystem->LeaveModalLoop();
    return FModalResult;
}

void TDXWindow::Activate() {
    FState &= ~wsActivateRequested;
    FState |= wsActive;
    if (TDXControl* focused = FocusedControl())
        focused->GotFocus();
}

void TDXWindow::Deactivate() {
    FState &= ~(wsDeactivateRequested | wsActive);
    if (TDXControl* focused = FocusedControl())
        focused->LostFocus();
}

void TDXWindow::RequestActivate() {
    if (!Active())
        FState |= wsActivateRequested;
}

void TDXWindow::RequestDeactivate() {
    if (Active())
        FState |= wsDeactivateRequested;
}

void TDXWindow::MouseDown(int button, TShiftState shift, int x, int y) {
    TDXGroup::MouseDown(button, shift, x, y);
    RequestActivate();
    if (button == mbLeft && HasState(woDraggable) && x >= 0 && x < FWidth && y < FDragBandHeight) {
        FDragStartX = x;
        FDragStartY = y;
        FState |= csDragPending;
    }
}

void TDXWindow::MouseUp(int button, TShiftState shift, int x, int y) {
    TDXGroup::MouseUp(button, shift, x, y);
    if (button == mbLeft)
        FState &= ~(csDragPending | csDragging);
}

void TDXWindow::MouseMove(TShiftState shift, int x, int y) {
    if (HasState(csDragPending) && (std::abs(x - FDragStartX) > 3 || std::abs(y - FDragStartY) > 3))
        FState = (FState & ~csDragPending) | csDragging;
    if (HasState(csDragging)) {
        SetPosition(FX + x - FDragStartX, FY + y - FDragStartY);
        x = FDragStartX;
        y = FDragStartY;
    }
    TDXGroup::MouseMove(shift, x, y);
}

void TDXWindow::HandleMessage(UINT& msg, WPARAM& wParam, bool& handled, LPARAM& lParam) {
    TDXGroup::HandleMessage(msg, wParam, handled, lParam);
    if (msg != WM_CHAR)
        return;
    // A default or cancel button that cannot be seen or used is not pressed by its key.
    const auto usable = [](const TDXButton* button) {
        return button != nullptr && button->Visible() && button->Enabled();
    };
    if (wParam == 13 && usable(FDefaultButton)) {
        wParam = 0;
        FDefaultButton->Click();
    } else if (wParam == 27 && usable(FCancelButton)) {
        wParam = 0;
        FCancelButton->Click();
    }
}

void TDXWindow::SetVisible(bool visible) {
    if (!visible) {
        // A hidden window waiting behind a modal one no longer wants to come forward.
        FState &= ~wsActivateRequested;
        RequestDeactivate();
        SetStateBits(csVisible, false);
        return;
    }
    if (HasState(woCentered)) {
        const SIZE display = DisplaySize();
        SetPosition((display.cx - FWidth) / 2, (display.cy - FHeight) / 2);
    }
    SetStateBits(csVisible, true);
    ResetFocus();
    RequestActivate();
}

} // namespace DXWin
