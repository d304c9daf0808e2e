#include "engine/widgets/DXListBox.h"

#include "engine/widgets/DXWinHost.h"

#include <algorithm>

namespace DXWin {

TDXListBox::TDXListBox(TDXGroup* parent, int itemWidth, int rowHeight, TDXScrollBar* scrollBar)
    : TDXControl(parent, nullptr, csEnabled | csVisible), FItemWidth(itemWidth),
      FRowHeight(rowHeight), FScrollBar(scrollBar) {
    UpdateLayout();
}

void TDXListBox::UpdateLayout() {
    if (FSelection < 0)
        FSelection = 0;
    if (FSelection >= FItemCount)
        FSelection = FItemCount - 1;
    if (FItemCount > FVisibleRows)
        FTopRow = std::max(0, std::min(FTopRow, FItemCount - FVisibleRows));
    else
        FTopRow = 0;
    SetSize(FItemWidth, FRowHeight * FVisibleRows);
    if (FScrollBar == nullptr)
        return;
    FScrollBar->SetEnabled(Enabled());
    if (!Visible() || FItemCount <= FVisibleRows) {
        FScrollBar->Hide();
        return;
    }
    FScrollBar->Show();
    FScrollBar->SetSize(FScrollBar->Width(), Height());
    FScrollBar->SetPosition(FX + FWidth + 1, FY);
    FScrollBar->SetRange(0, FItemCount - FVisibleRows);
    FScrollBar->SetPositionValue(FTopRow);
    FScrollBar->UpdatePosition(false);
}

int TDXListBox::ItemAt(int x, int y) const {
    if (!PointInClient(x, y) || FRowHeight <= 0)
        return -1;
    const int row = y / FRowHeight + FTopRow;
    return row < FItemCount ? row : -1;
}

void TDXListBox::MouseDown(int button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        const int item = ItemAt(x, y);
        if (item >= 0)
            FSelection = item;
    }
    TDXControl::MouseDown(button, shift, x, y);
}

void TDXListBox::Tick() {
    if (FScrollBar != nullptr && FScrollBar->Visible())
        FTopRow = FScrollBar->Position();
    TDXControl::Tick();
}

void TDXListBox::Draw(IDirectDrawSurface7* target, const RECT& bounds) {
    TDXControl::Draw(target, bounds);
    const POINT mouse = ApplicationCursor();
    const int rows = std::min(FVisibleRows, FItemCount);
    for (int row = 0; row < rows && FTopRow + row < FItemCount; ++row) {
        const RECT rect{bounds.left, bounds.top + row * FRowHeight, bounds.left + FItemWidth,
                        bounds.top + (row + 1) * FRowHeight};
        const bool hover = mouse.x >= rect.left && mouse.x < rect.right && mouse.y >= rect.top &&
                           mouse.y < rect.bottom;
        const int index = FTopRow + row;
        DrawItem(target, rect, hover, index == FSelection, index);
    }
}

void TDXListBox::DrawItem(IDirectDrawSurface7* target, const RECT& rect, bool hover, bool selected,
                          int index) {
    if (OnDrawItem)
        OnDrawItem(target, rect, hover, selected, index);
}

void TDXListBox::Scroll(int delta) {
    if (FScrollBar == nullptr || !FScrollBar->Visible())
        return;
    FScrollBar->SetPositionValue(FScrollBar->Position() + delta);
    FScrollBar->UpdatePosition(false);
    FTopRow = FScrollBar->Position();
}

void TDXListBox::WheelUp() {
    Scroll(-1);
    TDXControl::WheelUp();
}

void TDXListBox::WheelDown() {
    Scroll(+1);
    TDXControl::WheelDown();
}

void TDXListBox::SetVisible(bool visible) {
    TDXControl::SetVisible(visible);
    UpdateLayout();
}

void TDXListBox::SetEnabled(bool enabled) {
    TDXControl::SetEnabled(enabled);
    UpdateLayout();
}

} // namespace DXWin
