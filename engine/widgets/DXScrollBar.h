// A scroll bar with two arrow buttons that repeat while held, a thumb that can be
// dragged along the track, and wheel steps. Derived classes draw it.
#pragma once

#include "engine/widgets/DXControl.h"

namespace DXWin {

constexpr uint8_t sbHorizontal = 0;
constexpr uint8_t sbVertical = 1;

// Bits of the three part states.
constexpr uint32_t spHover = 8;
constexpr uint32_t spPressed = 16;

class TDXScrollBar : public TDXControl {
public:
    TDXScrollBar(TDXGroup* parent, uint8_t orientation, int arrowLength, int thumbLength);

    void MouseDown(int button, TShiftState shift, int x, int y) override;
    void MouseUp(int button, TShiftState shift, int x, int y) override;
    void Tick() override;
    void WheelUp() override;
    void WheelDown() override;
    // Called when an arrow or the thumb is pressed and at every arrow step.
    virtual void Pressed() {}

    // Clamps the position into the range; fires OnChange for a real change when
    // notify is set.
    void UpdatePosition(bool notify);
    void SetRange(int minimum, int maximum) {
        FMinimum = minimum;
        FMaximum = maximum;
    }
    void SetPositionValue(int position) { FPosition = position; }
    void SetRepeatInterval(int ticks) { FRepeatInterval = ticks; }

    // Parts in screen coordinates.
    RECT UpArrowRect() const;
    RECT DownArrowRect() const;
    RECT TrackRect() const;
    RECT ThumbRect() const;
    // The position whose thumb has its top-left corner at the screen point.
    int PositionFromPoint(int x, int y) const;

    uint8_t Orientation() const { return FOrientation; }
    int Minimum() const { return FMinimum; }
    int Maximum() const { return FMaximum; }
    int Position() const { return FPosition; }
    int ArrowLength() const { return FArrowLength; }
    int ThumbLength() const { return FThumbLength; }
    int RepeatInterval() const { return FRepeatInterval; }
    uint32_t UpState() const { return FUpState; }
    uint32_t DownState() const { return FDownState; }
    uint32_t ThumbState() const { return FThumbState; }

    TNotifyEvent OnChange;

private:
    bool Vertical() const { return FOrientation == sbVertical; }
    void Step(uint32_t& part, int delta);
    void TrackArrow(uint32_t& part, int delta);

    uint8_t FOrientation;
    int FMinimum = 0;
    int FMaximum = 0;
    int FPosition = 0;
    int FLastPosition = 0;
    int FArrowLength;
    int FThumbLength;
    int FRepeatInterval = 20;
    uint32_t FUpState = 0;
    uint32_t FDownState = 0;
    uint32_t FThumbState = 0;
    int FDragOffsetX = 0;
    int FDragOffsetY = 0;
    uint32_t FPressTick = 0;
};

} // namespace DXWin
