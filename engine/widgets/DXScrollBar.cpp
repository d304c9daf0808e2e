#include "engine/widgets/DXScrollBar.h"

#include "engine/widgets/DXWinHost.h"

#include <algorithm>

namespace DXWin {

namespace {

bool Contains(const RECT& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

} // namespace

TDXScrollBar::TDXScrollBar(TDXGroup* parent, uint8_t orientation, int arrowLength, int thumbLength)
    : TDXControl(parent, nullptr, csEnabled | csVisible), FOrientation(orientation),
      FArrowLength(arrowLength), FThumbLength(thumbLength) {}

RECT TDXScrollBar::UpArrowRect() const {
    RECT r = GetScreenRect();
    if (Vertical())
        r.bottom = r.top + FArrowLength;
    else
        r.right = r.left + FArrowLength;
    return r;
}

RECT TDXScrollBar::DownArrowRect() const {
    RECT r = GetScreenRect();
    if (Vertical())
        r.top = r.bottom - FArrowLength;
    else
        r.left = r.right - FArrowLength;
    return r;
}

RECT TDXScrollBar::TrackRect() const {
    RECT r = GetScreenRect();
    if (Vertical()) {
        r.top += FArrowLength;
        r.bottom -= FArrowLength;
    } else {
        r.left += FArrowLength;
        r.right -= FArrowLength;
    }
    return r;
}

RECT TDXScrollBar::ThumbRect() const {
    RECT r = TrackRect();
    const int trackLength = Vertical() ? r.bottom - r.top : r.right - r.left;
    int64_t offset = 0;
    if (FMaximum > FMinimum)
        offset = int64_t{trackLength - FThumbLength - 2} * (int64_t{FPosition} - FMinimum) /
                 (int64_t{FMaximum} - FMinimum);
    const int start = static_cast<int>((Vertical() ? r.top : r.left) + offset + 1);
    if (Vertical()) {
        r.top = start;
        r.bottom = start + FThumbLength;
    } else {
        r.left = start;
        r.right = start + FThumbLength;
    }
    return r;
}

int TDXScrollBar::PositionFromPoint(int x, int y) const {
    // An empty or reversed range has nothing to divide by.
    if (FMaximum <= FMinimum)
        return FMinimum;
    const RECT track = TrackRect();
    int start = Vertical() ? track.top : track.left;
    int end = Vertical() ? track.bottom : track.right;
    const int length = Vertical() ? FHeight : FWidth;
    const int64_t range = int64_t{FMaximum} - FMinimum + 1;
    const int64_t step = (length - 2 * FArrowLength) / range;
    if (step <= FThumbLength) {
        start += FThumbLength / 2;
        end -= FThumbLength / 2;
    }
    const int p = (Vertical() ? y : x) + FThumbLength / 2;
    const int span = end - start - 2;
    if (span < 1 || p < start + 1)
        return FMinimum;
    if (p > end - 1)
        return FMaximum;
    const int64_t position = FMinimum + range * (p - start - 1) / span;
    return static_cast<int>(std::min<int64_t>(position, FMaximum));
}

void TDXScrollBar::UpdatePosition(bool notify) {
    if (FPosition < FMinimum)
        FPosition = FMinimum;
    else if (FPosition > FMaximum)
        FPosition = FMaximum;
    if (notify && FPosition != FLastPosition)
        Notify(OnChange);
    FLastPosition = FPosition;
}

void TDXScrollBar::Step(uint32_t& part, int delta) {
    part |= spPressed;
    FPressTick = ApplicationTickCount();
    FPosition += delta;
    UpdatePosition(true);
    Pressed();
}

void TDXScrollBar::MouseDown(int button, TShiftState shift, int x, int y) {
    TDXControl::MouseDown(button, shift, x, y);
    if (button != mbLeft)
        return;
    const POINT screen = LocalToScreen({x, y});
    FUpState &= ~spPressed;
    FDownState &= ~spPressed;
    FThumbState &= ~spPressed;
    if (Contains(UpArrowRect(), screen.x, screen.y)) {
        Step(FUpState, -1);
    } else if (Contains(DownArrowRect(), screen.x, screen.y)) {
        Step(FDownState, +1);
    } else {
        const RECT thumb = ThumbRect();
        if (Contains(thumb, screen.x, screen.y)) {
            FThumbState |= spPressed;
            FDragOffsetX = screen.x - thumb.left;
            FDragOffsetY = screen.y - thumb.top;
            Pressed();
        }
    }
}

void TDXScrollBar::MouseUp(int button, TShiftState shift, int x, int y) {
    TDXControl::MouseUp(button, shift, x, y);
    if (button == mbLeft) {
        FUpState &= ~spPressed;
        FDownState &= ~spPressed;
        FThumbState &= ~spPressed;
    }
}

void TDXScrollBar::TrackArrow(uint32_t& part, int delta) {
    // A held arrow steps at the press, then every repeat interval, and at once when
    // the mouse comes back onto it. A tick that was missed (the bar was hidden)
    // must not stop the repeat for good, hence "at least".
    if ((part & spPressed) != 0) {
        const uint32_t since = ApplicationTickCount() - FPressTick;
        if ((part & spHover) == 0 || since >= static_cast<uint32_t>(FRepeatInterval))
            Step(part, delta);
    }
    part |= spHover;
}

void TDXScrollBar::Tick() {
    TDXControl::Tick();
    const POINT mouse = ApplicationCursor();
    if ((FThumbState & spPressed) != 0) {
        FPosition = PositionFromPoint(mouse.x - FDragOffsetX, mouse.y - FDragOffsetY);
        UpdatePosition(true);
    }
    if (Contains(UpArrowRect(), mouse.x, mouse.y)) {
        TrackArrow(FUpState, -1);
        return;
    }
    FUpState &= ~spHover;
    if (Contains(DownArrowRect(), mouse.x, mouse.y)) {
        TrackArrow(FDownState, +1);
        return;
    }
    FDownState &= ~spHover;
    if (Contains(ThumbRect(), mouse.x, mouse.y))
        FThumbState |= spHover;
    else
        FThumbState &= ~spHover;
}

void TDXScrollBar::WheelUp() {
    --FPosition;
    UpdatePosition(true);
    TDXControl::WheelUp();
}

void TDXScrollBar::WheelDown() {
    ++FPosition;
    UpdatePosition(true);
    TDXControl::WheelDown();
}

} // namespace DXWin
