// An owner-drawn list: the owner keeps the items and tells the list only their
// count; each visible row is drawn through DrawItem. A scroll bar placed beside it
// (a sibling, not owned) scrolls it when there are more items than rows.
#pragma once

#include "engine/widgets/DXScrollBar.h"

namespace DXWin {

using TDrawItemEvent = std::function<void(IDirectDrawSurface7* target, const RECT& rect, bool hover,
                                          bool selected, int index)>;

class TDXListBox : public TDXControl {
public:
    TDXListBox(TDXGroup* parent, int itemWidth, int rowHeight, TDXScrollBar* scrollBar);

    void MouseDown(int button, TShiftState shift, int x, int y) override;
    void Tick() override;
    void Draw(IDirectDrawSurface7* target, const RECT& bounds) override;
    void WheelUp() override;
    void WheelDown() override;
    void SetVisible(bool visible) override;
    void SetEnabled(bool enabled) override;
    virtual void DrawItem(IDirectDrawSurface7* target, const RECT& rect, bool hover, bool selected,
                          int index);

    // Keeps selection and top row in range, sizes the list and places its bar.
    void UpdateLayout();
    // The item at a local point, or -1.
    int ItemAt(int x, int y) const;

    void SetVisibleRows(int rows) { FVisibleRows = rows; }
    void SetItemCount(int count) { FItemCount = count; }
    void SetSelection(int index) { FSelection = index; }
    void SetTopRow(int row) { FTopRow = row; }
    int VisibleRows() const { return FVisibleRows; }
    int ItemCount() const { return FItemCount; }
    int Selection() const { return FSelection; }
    int TopRow() const { return FTopRow; }
    int ItemWidth() const { return FItemWidth; }
    int RowHeight() const { return FRowHeight; }
    TDXScrollBar* ScrollBar() const { return FScrollBar; }

    TDrawItemEvent OnDrawItem;

private:
    void Scroll(int delta);

    int FVisibleRows = 0;
    int FItemCount = 0;
    int FSelection = 0;
    int FTopRow = 0;
    int FItemWidth;
    int FRowHeight;
    TDXScrollBar* FScrollBar;
};

} // namespace DXWin
