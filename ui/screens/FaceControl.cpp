#include "ui/screens/FaceControl.h"

#include "engine/widgets/DXScrollBar.h"

namespace Main {

TFaceControl::TFaceControl(DXWin::TDXGroup* parent, DXWin::TDXWindow* ownerWindow, uint32_t flags)
    : DXWin::TDXControl(parent, ownerWindow, flags) {}

int TFaceControl::VisibleRows() const {
    return VisibleRowCount < RowCount ? VisibleRowCount : RowCount;
}

void TFaceControl::Draw(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) {
    if (OnDrawCell) {
        const int scroll = ScrollPosition();
        for (int row = 0; row < VisibleRows(); ++row)
            for (int column = 0; column < ColumnCount; ++column) {
                const Win32::RECT cell = CellRect(row, column);
                const Win32::RECT onScreen{bounds.left + cell.left, bounds.top + cell.top,
                                           bounds.left + cell.right, bounds.top + cell.bottom};
                OnDrawCell(row + scroll, column, onScreen, target);
            }
    }
    DXWin::TDXControl::Draw(target, bounds);
}

void TFaceControl::WheelUp() {
    Scroll(-1);
    DXWin::TDXControl::WheelUp();
}

void TFaceControl::WheelDown() {
    Scroll(1);
    DXWin::TDXControl::WheelDown();
}

void TFaceControl::Scroll(int delta) {
    if (!ScrollBar || !ScrollBar->Enabled())
        return;
    ScrollBar->SetPositionValue(ScrollBar->Position() + delta);
    ScrollBar->UpdatePosition(true);
}

bool TFaceControl::HitTest(int x, int y, int& row, int& column) const {
    for (int r = 0; r < VisibleRows(); ++r)
        for (int c = 0; c < ColumnCount; ++c) {
            const Win32::RECT cell = CellRect(r, c);
            if (x >= cell.left && x < cell.right && y >= cell.top && y < cell.bottom) {
                row = r + ScrollPosition();
                column = c;
                return true;
            }
        }
    row = column = -1;
    return false;
}

Win32::RECT TFaceControl::CellRect(int visibleRow, int column) const {
    const int left = column * CellWidth, top = visibleRow * CellHeight;
    return {left + PortraitLeft, top + PortraitTop, left + PortraitRight, top + PortraitBottom};
}

int TFaceControl::ScrollPosition() const {
    return ScrollBar ? ScrollBar->Position() : 0;
}

} // namespace Main
