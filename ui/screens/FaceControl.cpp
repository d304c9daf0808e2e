#include "ui/screens/FaceControl.h"

namespace Main {

TFaceControl::TFaceControl(DXWin::TDXGroup* parent, DXWin::TDXWindow* ownerWindow, uint32_t flags)
    : DXWin::TDXControl(parent, ownerWindow, flags) {}

void TFaceControl::Draw(Win32::IDirectDrawSurface7*, const Win32::RECT&) {}
void TFaceControl::WheelUp() {}
void TFaceControl::WheelDown() {}
bool TFaceControl::HitTest(int, int, int& row, int& column) const {
    row = column = -1;
    return false;
}
Win32::RECT TFaceControl::CellRect(int, int) const {
    return {};
}
int TFaceControl::ScrollPosition() const {
    return 0;
}

} // namespace Main
