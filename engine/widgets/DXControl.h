// The base of every widget the game draws itself on the back buffer, and the group
// that owns child controls. A control turns raw window messages into virtual
// operations (keys, mouse, wheel, enter and leave, click, focus) and fires the event
// the owning screen set for each. Coordinates are relative to the parent group; a
// window's are screen coordinates.
#pragma once

#include "engine/core/ObjectList.h"
#include "platform/WinTypes.h"
#include "platform/classlib/AnsiString.h"

#include <cstdint>
#include <functional>

namespace Win32 {
class IDirectDrawSurface7;
}
namespace Gfx {
class TSprite;
}

namespace DXWin {

using ClassLib::AnsiString;
using Win32::IDirectDrawSurface7;
using Win32::LPARAM;
using Win32::POINT;
using Win32::RECT;
using Win32::UINT;
using Win32::WPARAM;

class TDXControl;
class TDXGroup;
class TDXWindow;
class TDXWindowSystem;

// State bits of a control, and the window options kept in the same word.
constexpr uint32_t csEnabled = 0x1;
constexpr uint32_t csVisible = 0x2;
constexpr uint32_t csFocused = 0x4;
constexpr uint32_t csHover = 0x8;
constexpr uint32_t csPressed = 0x10;
constexpr uint32_t csDragPending = 0x20;
constexpr uint32_t csDragging = 0x40; // keeps getting the mouse
constexpr uint32_t csTakesFocus = 0x100;
constexpr uint32_t woModal = 0x10000;
constexpr uint32_t woBackground = 0x20000; // behind the others; gets keys when inactive
constexpr uint32_t woDeleteOnClose = 0x40000;
constexpr uint32_t woDraggable = 0x80000;
constexpr uint32_t woCentered = 0x100000;
constexpr uint32_t wsActive = 0x1000000;
constexpr uint32_t wsDeleteRequested = 0x10000000;
constexpr uint32_t wsActivateRequested = 0x20000000;
constexpr uint32_t wsDeactivateRequested = 0x40000000;

// Shift state passed with key and mouse operations.
using TShiftState = uint8_t;
constexpr TShiftState ssShift = 1;
constexpr TShiftState ssCtrl = 2;
constexpr TShiftState ssAlt = 4;
constexpr TShiftState ssLeft = 8;
constexpr TShiftState ssRight = 16;
constexpr TShiftState ssMiddle = 32;

// Mouse buttons.
constexpr int mbLeft = 0;
constexpr int mbRight = 1;
constexpr int mbMiddle = 2;

using TNotifyEvent = std::function<void(TDXControl* sender)>;
using TKeyEvent = std::function<void(WPARAM& key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(char& key)>;
using TMouseEvent = std::function<void(int button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TShiftState shift, int x, int y)>;
using TDrawEvent = std::function<void(IDirectDrawSurface7* target, const RECT& bounds)>;

TShiftState KeyShiftState(LPARAM lParam);
TShiftState MouseShiftState(WPARAM wParam);

class TDXControl {
public:
    TDXControl(TDXGroup* parent, TDXWindow* ownerWindow, uint32_t options);
    virtual ~TDXControl();
    TDXControl(const TDXControl&) = delete;
    TDXControl& operator=(const TDXControl&) = delete;

    virtual void KeyDown(WPARAM& key, TShiftState shift);
    virtual void KeyUp(WPARAM& key, TShiftState shift);
    virtual void KeyPress(char& key);
    virtual void MouseDown(int button, TShiftState shift, int x, int y);
    virtual void MouseUp(int button, TShiftState shift, int x, int y);
    virtual void DblClick(int button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual void Click();
    virtual void GotFocus();
    virtual void LostFocus();
    virtual void Draw(IDirectDrawSurface7* target, const RECT& bounds);
    virtual void HandleMessage(UINT& msg, WPARAM& wParam, bool& handled, LPARAM& lParam);
    virtual void Tick();
    virtual void WheelUp();
    virtual void WheelDown();
    virtual void LeaveFocusList();
    virtual void JoinFocusList();
    virtual TDXWindowSystem* GetWindowSystem() const;
    virtual void SetVisible(bool visible);
    virtual void SetEnabled(bool enabled);
    // Hit test in screen coordinates.
    virtual TDXControl* ControlAt(int x, int y);

    void SetPosition(int x, int y);
    void SetSize(int width, int height);
    void SetBoundsRect(const RECT& rect);
    void SetCursor(Gfx::TSprite* cursor) { FCursor = cursor; }
    void SetCaption(const AnsiString& caption) { FCaption = caption; }
    void SetHint(const AnsiString& hint) { FHint = hint; }
    void Show();
    void Hide();
    void Enable();
    void Disable();

    POINT LocalToScreen(POINT point) const;
    POINT ScreenToLocal(POINT point) const;
    RECT GetScreenRect() const;
    bool PointInClient(int x, int y) const;
    bool PointInside(int x, int y) const;

    void Paint(IDirectDrawSurface7* target);
    void DoTick();
    void DeliverMessage(UINT& msg, WPARAM& wParam, bool& handled, LPARAM& lParam);

    uint32_t State() const { return FState; }
    bool HasState(uint32_t bits) const { return (FState & bits) != 0; }
    bool Visible() const { return HasState(csVisible); }
    bool Enabled() const { return HasState(csEnabled); }
    bool Focused() const { return HasState(csFocused); }
    bool Hovered() const { return HasState(csHover); }
    bool Pressed() const { return HasState(csPressed); }
    TDXGroup* Parent() const { return FParent; }
    TDXWindow* OwnerWindow() const { return FOwnerWindow; }
    int FocusIndex() const { return FFocusIndex; }
    int X() const { return FX; }
    int Y() const { return FY; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    const AnsiString& Caption() const { return FCaption; }
    const AnsiString& Hint() const { return FHint; }
    Gfx::TSprite* Cursor() const { return FCursor; }
    int WheelAccumulator() const { return FWheelAccumulator; }

    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseEvent OnDblClick;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TNotifyEvent OnWheelUp;
    TNotifyEvent OnWheelDown;
    TNotifyEvent OnClick;
    TNotifyEvent OnGotFocus;
    TNotifyEvent OnLostFocus;
    TNotifyEvent OnTick;
    TDrawEvent OnDraw;

protected:
    void SetStateBits(uint32_t bits, bool on) {
        if (on)
            FState |= bits;
        else
            FState &= ~bits;
    }
    void Notify(const TNotifyEvent& event) {
        if (event)
            event(this);
    }

    uint32_t FState;
    int FX = 0;
    int FY = 0;
    int FWidth = 0;
    int FHeight = 0;

private:
    friend class TDXGroup;
    friend class TDXWindow;

    TDXGroup* FParent = nullptr;
    TDXWindow* FOwnerWindow = nullptr;
    int FFocusIndex = -1;
    AnsiString FCaption;
    AnsiString FHint;
    Gfx::TSprite* FCursor = nullptr;
    int FWheelAccumulator = 0;
};

// A control that owns its children, in drawing order: the first lies at the bottom,
// the last on top and gets the mouse first.
class TDXGroup : public TDXControl {
public:
    TDXGroup(TDXGroup* parent, TDXWindow* ownerWindow, uint32_t options);
    ~TDXGroup() override;

    void Draw(IDirectDrawSurface7* target, const RECT& bounds) override;
    void HandleMessage(UINT& msg, WPARAM& wParam, bool& handled, LPARAM& lParam) override;
    void Tick() override;
    void LeaveFocusList() override;
    void JoinFocusList() override;
    TDXControl* ControlAt(int x, int y) override;

    // Takes ownership.
    void AddChild(TDXControl* control);
    // Gives ownership back to the caller.
    void RemoveChild(TDXControl* control);
    int ChildCount() const { return FChildren.Count(); }
    TDXControl* Child(int index) const { return FChildren[index]; }

protected:
    // Deletes every child while the derived object is still whole.
    void DeleteChildren();

private:
    Data::TObjectList<TDXControl> FChildren{true};
};

} // namespace DXWin
