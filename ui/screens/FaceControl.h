// A grid of unit portraits, 94 x 130 pixels a cell unless set otherwise, drawn cell by
// cell through the owner's draw-cell event; rows beyond the visible ones scroll with an
// attached scroll bar.
#pragma once

#include "engine/widgets/DXControl.h"

#include <functional>

namespace DXWin {
class TDXScrollBar;
}

namespace Main {

class TFaceControl : public DXWin::TDXControl {
public:
    // (row counted with the scroll position, column, portrait rectangle in screen
    // pixels, target).
    using TDrawCellEvent = std::function<void(int row, int column, const Win32::RECT& rect,
                                              Win32::IDirectDrawSurface7* target)>;

    static constexpr int UnlimitedRows = 999;

    TFaceControl(DXWin::TDXGroup* parent, DXWin::TDXWindow* ownerWindow, uint32_t flags);

    void Draw(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) override;
    void WheelUp() override;
    void WheelDown() override;

    // The cell holding the local point: (row + scroll position, column), or (-1, -1).
    bool HitTest(int x, int y, int& row, int& column) const;
    // The portrait rectangle of a visible cell in local pixels.
    Win32::RECT CellRect(int visibleRow, int column) const;
    // The scroll bar's position, 0 without one.
    int ScrollPosition() const;
    // The rows drawn: all of them up to the visible count.
    int VisibleRows() const;
    // Moves the attached scroll bar by steps while it is enabled.
    void Scroll(int delta);

    // The portrait inside a cell, right and bottom exclusive.
    static constexpr int PortraitLeft = 9, PortraitTop = 11;
    static constexpr int PortraitRight = 89, PortraitBottom = 91;

    int RowCount = 1;
    int ColumnCount = 1;
    int VisibleRowCount = UnlimitedRows;
    int CellWidth = 94;
    int CellHeight = 130;
    DXWin::TDXScrollBar* ScrollBar = nullptr;
    TDrawCellEvent OnDrawCell;
};

} // namespace Main
