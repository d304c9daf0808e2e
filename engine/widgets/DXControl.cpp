#include "engine/widgets/DXControl.h"

#include "engine/widgets/DXWindow.h"
#include "platform/win32/VirtualKeys.h"
#include "platform/win32/WinInput.h"
#include "platform/win32/WinMessages.h"

#include <algorithm>

namespace DXWin {

using namespace Win32;

TShiftState KeyShiftState(LPARAM lParam) {
    TShiftState shift = 0;
    if (GetKeyState(VK_SHIFT) < 0)
        shift |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0)
        shift |= ssCtrl;
    if ((static_cast<uint32_t>(lParam) & (1u << 29)) != 0)
        shift |= ssAlt;
    return shift;
}

TShiftState MouseShiftState(WPARAM wParam) {
    TShiftState shift = 0;
    if ((wParam & MK_SHIFT) != 0)
        shift |= ssShift;
    if ((wParam & MK_CONTROL) != 0)
        shift |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0)
        shift |= ssAlt;
    if ((wParam & MK_LBUTTON) != 0)
        shift |= ssLeft;
    if ((wParam & MK_RBUTTON) != 0)
        shift |= ssRight;
    if ((wParam & MK_MBUTTON) != 0)
        shift |= ssMiddle;
    return shift;
}

TDXControl::TDXControl(TDXGroup* parent, TDXWindow* ownerWindow, uint32_t options)
    : FState(options) {
    if (parent != nullptr)
        parent->AddChild(this);
    try {
        if (ownerWindow != nullptr) {
            if ((options & csTakesFocus) != 0)
                ownerWindow->AddToFocusList(this);
            else
                FOwnerWindow = ownerWindow;
        }
    } catch (...) {
        if (FParent != nullptr)
            FParent->RemoveChild(this);
        throw;
    }
}

TDXControl::~TDXControl() {
    if (FOwnerWindow != nullptr)
        FOwnerWindow->ForgetControl(this);
    if (FParent != nullptr)
        FParent->RemoveChild(this);
}

void TDXControl::KeyDown(WPARAM& key, TShiftState shift) {
    if (OnKeyDown)
        OnKeyDown(key, shift);
    if (Focused() && key == VK_TAB && (shift & (ssAlt | ssCtrl)) == 0 && FOwnerWindow != nullptr) {
        key = 0;
        if ((shift & ssShift) != 0)
            FOwnerWindow->FocusPrev();
        else
            FOwnerWindow->FocusNext();
    }
}

void TDXControl::KeyUp(WPARAM& key, TShiftState shift) {
    if (OnKeyUp)
        OnKeyUp(key, shift);
}

void TDXControl::KeyPress(char& key) {
    if (OnKeyPress)
        OnKeyPress(key);
}

void TDXControl::MouseDown(int button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        FState |= csPressed;
        if (HasState(csTakesFocus) && FOwnerWindow != nullptr && FFocusIndex >= 0 &&
            FOwnerWindow->FocusedIndex() != FFocusIndex)
            FOwnerWindow->SetFocusIndex(FFocusIndex);
    }
    if (OnMouseDown)
        OnMouseDown(button, shift, x, y);
}

void TDXControl::MouseUp(int button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        FState &= ~csPressed;
        if (PointInClient(x, y))
            Click();
    }
    if (OnMouseUp)
        OnMouseUp(button, shift, x, y);
}

void TDXControl::DblClick(int button, TShiftState shift, int x, int y) {
    MouseDown(button, shift, x, y);
    if (OnDblClick)
        OnDblClick(button, shift, x, y);
}

void TDXControl::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove)
        OnMouseMove(shift, x, y);
}

void TDXControl::MouseEnter() {
    FState |= csHover;
    Notify(OnMouseEnter);
}

void TDXControl::MouseLeave() {
    FState &= ~csHover;
    Notify(OnMouseLeave);
}

void TDXControl::Click() {
    Notify(OnClick);
}

void TDXControl::GotFocus() {
    FState |= csFocused;
    Notify(OnGotFocus);
}

void TDXControl::LostFocus() {
    FState &= ~csFocused;
    Notify(OnLostFocus);
}

void TDXControl::Draw(IDirectDrawSurface7* target, const RECT& bounds) {
    if (OnDraw)
        OnDraw(target, bounds);
}

namespace {

bool IsMouseMessage(UINT msg) {
    return msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST && msg != WM_MOUSEWHEEL;
}

bool IsButtonUp(UINT msg) {
    return msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP;
}

} // namespace

void TDXControl::HandleMessage(UINT& msg, WPARAM& wParam, bool& handled, LPARAM& lParam) {
    const POINT local = ScreenToLocal(PointFromLParam(lParam));
    if (IsMouseMessage(msg)) {
        const bool dragging = HasState(csDragging);
        const bool blocked = handled && !dragging;
        const bool inside = !blocked && PointInClient(local.x, local.y);
        if (inside && !Hovered())
            MouseEnter();
        else if (!inside && Hovered())
            MouseLeave();
        if ((blocked || (!Pressed() && !inside)) && !IsButtonUp(msg))
            return;
        if (inside || dragging)
            handled = true;
    }
    switch (msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        KeyDown(wParam, KeyShiftState(lParam));
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        KeyUp(wParam, KeyShiftState(lParam));
        break;
    case WM_CHAR: {
        char key = static_cast<char>(wParam & 0xFF);
        KeyPress(key);
        wParam = static_cast<WPARAM>(static_cast<intptr_t>(key));
        break;
    }
    case WM_MOUSEMOVE:
        MouseMove(MouseShiftState(wParam), local.x, local.y);
        break;
    case WM_LBUTTONDOWN:
        MouseDown(mbLeft, MouseShiftState(wParam), local.x, local.y);
        break;
    case WM_RBUTTONDOWN:
        MouseDown(mbRight, MouseShiftState(wParam), local.x, local.y);
        break;
    case WM_MBUTTONDOWN:
        MouseDown(mbMiddle, MouseShiftState(wParam), local.x, local.y);
        break;
    case WM_LBUTTONUP:
        if (Pressed())
            MouseUp(mbLeft, MouseShiftState(wParam), local.x, local.y);
        break;
    case WM_RBUTTONUP:
        MouseUp(mbRight, MouseShiftState(wParam), local.x, local.y);
        break;
    case WM_MBUTTONUP:
        MouseUp(mbMiddle, MouseShiftState(wParam), local.x, local.y);
        break;
    case WM_LBUTTONDBLCLK:
        DblClick(mbLeft, MouseShiftState(wParam), local.x, local.y);
        break;
    case WM_RBUTTONDBLCLK:
        DblClick(mbRight, MouseShiftState(wParam), local.x, local.y);
        break;
    case WM_MBUTTONDBLCLK:
        DblClick(mbMiddle, MouseShiftState(wParam), local.x, local.y);
        break;
    case WM_MOUSEWHEEL:
        if (Hovered()) {
            FWheelAccumulator += GET_WHEEL_DELTA_WPARAM(wParam);
            while (FWheelAccumulator >= WHEEL_DELTA) {
                FWheelAccumulator -= WHEEL_DELTA;
                WheelUp();
            }
            while (FWheelAccumulator <= -WHEEL_DELTA) {
                FWheelAccumulator += WHEEL_DELTA;
                WheelDown();
            }
        }
        break;
    default:
        break;
    }
}

void TDXControl::Tick() {
    Notify(OnTick);
}

void TDXControl::WheelUp() {
    Notify(OnWheelUp);
}

void TDXControl::WheelDown() {
    Notify(OnWheelDown);
}

void TDXControl::LeaveFocusList() {
    if (FOwnerWindow != nullptr && FFocusIndex >= 0)
        FOwnerWindow->ClearFocusSlot(FFocusIndex);
}

void TDXControl::JoinFocusList() {
    if (FOwnerWindow != nullptr && FFocusIndex >= 0)
        FOwnerWindow->FillFocusSlot(FFocusIndex, this);
}

TDXWindowSystem* TDXControl::GetWindowSystem() const {
    return FOwnerWindow != nullptr ? FOwnerWindow->GetWindowSystem() : nullptr;
}

void TDXControl::SetVisible(bool visible) {
    SetStateBits(csVisible, visible);
    if (Enabled()) {
        if (visible)
            JoinFocusList();
        else
            LeaveFocusList();
    }
}

void TDXControl::SetEnabled(bool enabled) {
    SetStateBits(csEnabled, enabled);
    if (Visible()) {
        if (enabled)
            JoinFocusList();
        else
            LeaveFocusList();
    }
}

TDXControl* TDXControl::ControlAt(int x, int y) {
    return Visible() && PointInside(x, y) ? this : nullptr;
}

void TDXControl::SetPosition(int x, int y) {
    FX = x;
    FY = y;
}

void TDXControl::SetSize(int width, int height) {
    FWidth = width;
    FHeight = height;
}

void TDXControl::SetBoundsRect(const RECT& rect) {
    SetPosition(rect.left, rect.top);
    SetSize(rect.right - rect.left, rect.bottom - rect.top);
}

void TDXControl::Show() {
    if (!Visible())
        SetVisible(true);
}

void TDXControl::Hide() {
    if (Visible())
        SetVisible(false);
}

void TDXControl::Enable() {
    if (!Enabled())
        SetEnabled(true);
}

void TDXControl::Disable() {
    if (Enabled())
        SetEnabled(false);
}

POINT TDXControl::LocalToScreen(POINT point) const {
    for (const TDXControl* control = this; control != nullptr; control = control->FParent) {
        point.x += control->FX;
        point.y += control->FY;
    }
    return point;
}

POINT TDXControl::ScreenToLocal(POINT point) const {
    const POINT origin = LocalToScreen({0, 0});
    return {point.x - origin.x, point.y - origin.y};
}

RECT TDXControl::GetScreenRect() const {
    const POINT origin = LocalToScreen({0, 0});
    return {origin.x, origin.y, origin.x + FWidth, origin.y + FHeight};
}

bool TDXControl::PointInClient(int x, int y) const {
    return x >= 0 && x < FWidth && y >= 0 && y < FHeight;
}

bool TDXControl::PointInside(int x, int y) const {
    const POINT local = ScreenToLocal({x, y});
    return PointInClient(local.x, local.y);
}

void TDXControl::Paint(IDirectDrawSurface7* target) {
    if (Visible())
        Draw(target, GetScreenRect());
}

void TDXControl::DoTick() {
    if (Visible())
        Tick();
}

void TDXControl::DeliverMessage(UINT& msg, WPARAM& wParam, bool& handled, LPARAM& lParam) {
    if (Visible() && (Enabled() || msg == WM_MOUSEMOVE))
        HandleMessage(msg, wParam, handled, lParam);
}

// Groups.

TDXGroup::TDXGroup(TDXGroup* parent, TDXWindow* ownerWindow, uint32_t options)
    : TDXControl(parent, ownerWindow, options) {}

TDXGroup::~TDXGroup() {
    DeleteChildren();
}

void TDXGroup::DeleteChildren() {
    // Children unlink themselves from this group as they go; the last goes first so
    // that each removal takes the list's end.
    while (FChildren.Count() > 0) {
        TDXControl* child = FChildren[FChildren.Count() - 1];
        delete child;
    }
}

void TDXGroup::AddChild(TDXControl* control) {
    // Room first: a failed add must not delete a control still being constructed.
    if (FChildren.Count() == FChildren.Capacity())
        FChildren.SetCapacity(std::max(4, 2 * FChildren.Count()));
    FChildren.Add(control);
    control->FParent = this;
}

void TDXGroup::RemoveChild(TDXControl* control) {
    const int index = FChildren.IndexOf(control);
    if (index >= 0)
        FChildren.Extract(index);
    control->FParent = nullptr;
}

void TDXGroup::Draw(IDirectDrawSurface7* target, const RECT& bounds) {
    TDXControl::Draw(target, bounds);
    for (int i = 0; i < FChildren.Count(); ++i)
        FChildren[i]->Paint(target);
}

void TDXGroup::HandleMessage(UINT& msg, WPARAM& wParam, bool& handled, LPARAM& lParam) {
    bool childHandled = handled;
    TDXControl::HandleMessage(msg, wParam, handled, lParam);
    // A handler may remove children; the index is checked again at every step.
    for (int i = FChildren.Count() - 1; i >= 0; --i)
        if (i < FChildren.Count())
            FChildren[i]->DeliverMessage(msg, wParam, childHandled, lParam);
}

void TDXGroup::Tick() {
    TDXControl::Tick();
    for (int i = 0; i < FChildren.Count(); ++i)
        FChildren[i]->DoTick();
}

void TDXGroup::LeaveFocusList() {
    TDXControl::LeaveFocusList();
    for (int i = 0; i < FChildren.Count(); ++i)
        FChildren[i]->LeaveFocusList();
}

void TDXGroup::JoinFocusList() {
    TDXControl::JoinFocusList();
    for (int i = 0; i < FChildren.Count(); ++i)
        FChildren[i]->JoinFocusList();
}

TDXControl* TDXGroup::ControlAt(int x, int y) {
    if (!Visible())
        return nullptr;
    const bool sized = FWidth != 0 && FHeight != 0;
    if (sized && !PointInside(x, y))
        return nullptr;
    for (int i = FChildren.Count() - 1; i >= 0; --i)
        if (TDXControl* hit = FChildren[i]->ControlAt(x, y))
            return hit;
    return sized ? this : nullptr;
}

} // namespace DXWin
