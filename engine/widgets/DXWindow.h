// A top-level group: a screen, dialog or panel with a focus list, default and
// cancel buttons, optional dragging by a band along its top, and a modal loop.
// Activation, stacking and deletion are only requested here; the window system
// carries them out when no message is being delivered.
#pragma once

#include "engine/widgets/DXControl.h"

#include <vector>

namespace DXWin {

class TDXButton;

class TDXWindow : public TDXGroup {
public:
    // Created hidden and enabled; registers with the window system when given one.
    TDXWindow(TDXWindowSystem* windowSystem, uint32_t options, int dragBandHeight);
    ~TDXWindow() override;

    void MouseDown(int button, TShiftState shift, int x, int y) override;
    void MouseUp(int button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void HandleMessage(UINT& msg, WPARAM& wParam, bool& handled, LPARAM& lParam) override;
    TDXWindowSystem* GetWindowSystem() const override { return FWindowSystem; }
    void SetVisible(bool visible) override;

    // Focus list: slots of hidden or disabled controls hold null.
    void AddToFocusList(TDXControl* control);
    void SetFocusIndex(int index);
    bool CanFocus(int index) const;
    void ResetFocus();
    void FocusNext();
    void FocusPrev();
    int FocusedIndex() const { return FFocusedIndex; }
    TDXControl* FocusedControl() const;
    int FocusCount() const { return static_cast<int>(FFocusList.size()); }
    TDXControl* FocusSlot(int index) const { return FFocusList[static_cast<size_t>(index)]; }

    void SetModalResult(int result);
    int ModalResult() const { return FModalResult; }
    bool Done() const { return FDone; }
    void Close();
    // Runs the application's nested loop until the window is done or the program
    // quits; with dropMessage the message waiting first (the click that opened the
    // window) is taken off the queue.
    int ShowModal(bool dropMessage);

    void Activate();
    void Deactivate();
    void RequestActivate();
    void RequestDeactivate();
    bool Active() const { return HasState(wsActive); }
    bool Modal() const { return HasState(woModal); }
    bool Background() const { return HasState(woBackground); }

    TDXButton* DefaultButton() const { return FDefaultButton; }
    TDXButton* CancelButton() const { return FCancelButton; }
    void SetDefaultButton(TDXButton* button) { FDefaultButton = button; }
    void SetCancelButton(TDXButton* button) { FCancelButton = button; }
    int DragBandHeight() const { return FDragBandHeight; }

    // Used by the controls and the window system.
    void ClearFocusSlot(int index);
    void FillFocusSlot(int index, TDXControl* control);
    void ForgetControl(TDXControl* control);
    void LinkWindowSystem(TDXWindowSystem* windowSystem) { FWindowSystem = windowSystem; }
    void SetRequestBits(uint32_t bits, bool on) { SetStateBits(bits, on); }

private:
    TDXWindowSystem* FWindowSystem = nullptr;
    int FDragStartX = 0;
    int FDragStartY = 0;
    int FDragBandHeight;
    std::vector<TDXControl*> FFocusList;
    int FFocusedIndex = -1;
    TDXButton* FDefaultButton = nullptr;
    TDXButton* FCancelButton = nullptr;
    int FModalResult = 0;
    bool FDone = false;
};

} // namespace DXWin
