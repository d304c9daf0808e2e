#include "engine/widgets/DXWindowSystem.h"

#include "engine/widgets/DXTooltip.h"
#include "engine/widgets/DXWinHost.h"
#include "platform/win32/WinMessages.h"

#include <algorithm>
#include <vector>

namespace DXWin {

using namespace Win32;

namespace {

// Counts a delivery for its scope, also when a handler throws.
class TDepthScope {
public:
    explicit TDepthScope(int& depth) : FDepth(depth) { ++FDepth; }
    ~TDepthScope() { --FDepth; }
    TDepthScope(const TDepthScope&) = delete;
    TDepthScope& operator=(const TDepthScope&) = delete;

private:
    int& FDepth;
};

bool IsButtonDown(UINT msg) {
    return msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN;
}

bool IsButtonUp(UINT msg) {
    return msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP;
}

} // namespace

TDXWindowSystem::TDXWindowSystem() {
    const POINT cursor = ApplicationCursor();
    FMouseX = cursor.x;
    FMouseY = cursor.y;
}

TDXWindowSystem::~TDXWindowSystem() {
    for (TDXWindow* window : FWindows)
        window->LinkWindowSystem(nullptr);
    FActiveWindow = nullptr;
    FTooltip.reset();
    FWindows.Clear();
}

void TDXWindowSystem::Add(TDXWindow* window) {
    if (FWindows.Count() == FWindows.Capacity())
        FWindows.SetCapacity(std::max(4, 2 * FWindows.Count()));
    FWindows.Add(window);
    window->LinkWindowSystem(this);
    if (window->Background())
        return;
    int index = FWindows.Count() - 1;
    while (index > 0 && FWindows[index - 1]->Background()) {
        FWindows.Extract(index);
        FWindows.Insert(index - 1, window);
        --index;
    }
}

void TDXWindowSystem::Remove(TDXWindow* window) {
    const int index = FWindows.IndexOf(window);
    if (index < 0)
        return;
    FWindows.Extract(index);
    window->LinkWindowSystem(nullptr);
    if (FActiveWindow == window)
        FActiveWindow = nullptr;
    ForgetControl(window);
}

void TDXWindowSystem::ForgetControl(const TDXControl* control) {
    if (FTooltip)
        FTooltip->Forget(control);
}

void TDXWindowSystem::SetTooltip(std::unique_ptr<TDXTooltip> tooltip) {
    FTooltip = std::move(tooltip);
}

TDXWindow* TDXWindowSystem::ModalActiveWindow() const {
    if (FActiveWindow != nullptr && FActiveWindow->Visible() && FActiveWindow->Modal())
        return FActiveWindow;
    return nullptr;
}

void TDXWindowSystem::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (FTooltip) {
        if (IsButtonDown(msg))
            FTooltip->Disable();
        else if (IsButtonUp(msg))
            FTooltip->Enable();
    }
    bool handled = false;
    const bool keyMessage = msg >= WM_KEYFIRST && msg < WM_KEYLAST + 1;
    if (msg == WM_MOUSEMOVE) {
        FMouseX = GET_X_LPARAM(lParam);
        FMouseY = GET_Y_LPARAM(lParam);
    }
    {
        TDepthScope delivering(FDeliveryDepth);
        if (TDXWindow* modal = ModalActiveWindow()) {
            modal->DeliverMessage(msg, wParam, handled, lParam);
        } else {
            // Handlers may add windows (a dialog opened by a click); the message
            // goes to those that were there when it arrived.
            const std::vector<TDXWindow*> windows(FWindows.begin(), FWindows.end());
            for (TDXWindow* window : windows) {
                if (FWindows.IndexOf(window) < 0)
                    continue;
                if (keyMessage && window != FActiveWindow && !window->Background())
                    continue;
                window->DeliverMessage(msg, wParam, handled, lParam);
            }
        }
    }
    ProcessRequests();
}

void TDXWindowSystem::Draw(IDirectDrawSurface7* target) {
    for (int i = FWindows.Count() - 1; i >= 0; --i)
        FWindows[i]->Paint(target);
    if (FCursorShown) {
        ChooseCursor();
        if (FOnDrawCursor)
            FOnDrawCursor(target, FMouseX, FMouseY);
        if (FCurrentCursor != nullptr)
            DrawCursorSprite(FCurrentCursor, target, FMouseX, FMouseY);
    }
    if (FTooltip)
        FTooltip->Draw(target);
}

void TDXWindowSystem::ChooseCursor() {
    if (FForcedCursor != nullptr) {
        FCurrentCursor = FForcedCursor;
        return;
    }
    const TDXControl* control = ControlAt(FMouseX, FMouseY);
    FCurrentCursor =
        control != nullptr && control->Cursor() != nullptr ? control->Cursor() : FDefaultCursor;
}

void TDXWindowSystem::Tick() {
    {
        TDepthScope delivering(FDeliveryDepth);
        for (int i = FWindows.Count() - 1; i >= 0; --i)
            FWindows[i]->DoTick();
    }
    ProcessRequests();
    if (FTooltip) {
        FTooltip->UpdateFrame();
        FTooltip->Update(ControlAt(FMouseX, FMouseY), FMouseX, FMouseY);
    }
}

TDXControl* TDXWindowSystem::ControlAt(int x, int y) const {
    if (TDXWindow* modal = ModalActiveWindow())
        return modal->ControlAt(x, y);
    for (TDXWindow* window : FWindows)
        if (TDXControl* hit = window->ControlAt(x, y))
            return hit;
    return nullptr;
}

TDXWindow* TDXWindowSystem::WindowAt(int x, int y) const {
    if (TDXWindow* modal = ModalActiveWindow())
        return modal;
    for (TDXWindow* window : FWindows)
        if (window->Visible() && window->PointInside(x, y))
            return window;
    return nullptr;
}

void TDXWindowSystem::ProcessRequests() {
    // Deleting a window whose handler or modal loop is still running would free it
    // under its own feet: deletions wait for the outermost pass.
    const bool mayDelete = FDeliveryDepth == 0 && FModalDepth == 0;
    std::vector<TDXWindow*> windows(FWindows.begin(), FWindows.end());
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        TDXWindow* window = *it;
        if (FWindows.IndexOf(window) < 0)
            continue;
        if (window->HasState(wsDeleteRequested)) {
            if (mayDelete)
                DeleteWindow(window);
        } else if (window->HasState(wsActivateRequested)) {
            ActivateWindow(window);
        } else if (window->HasState(wsDeactivateRequested)) {
            DeactivateWindow(window);
        }
    }
}

void TDXWindowSystem::DeleteWindow(TDXWindow* window) {
    DeactivateWindow(window);
    Remove(window);
    delete window;
}

void TDXWindowSystem::ActivateWindow(TDXWindow* window) {
    if (window == FActiveWindow)
        return;
    const bool blocked = FActiveWindow != nullptr && FActiveWindow->Modal() && !window->Modal();
    if (blocked) {
        window->Deactivate();
    } else {
        if (FActiveWindow != nullptr)
            FActiveWindow->Deactivate();
        window->Activate();
        FActiveWindow = window;
    }
    if (!window->Background())
        MoveForward(window);
    RefreshHover();
}

void TDXWindowSystem::MoveForward(TDXWindow* window) {
    int index = FWindows.IndexOf(window);
    while (index > 0) {
        TDXWindow* ahead = FWindows[index - 1];
        if (ahead == FActiveWindow && ahead != window && ahead->Modal())
            break;
        FWindows.Extract(index);
        FWindows.Insert(index - 1, window);
        --index;
    }
}

void TDXWindowSystem::DeactivateWindow(TDXWindow* window) {
    if (window != FActiveWindow)
        return;
    window->Deactivate();
    FActiveWindow = nullptr;
    for (TDXWindow* other : FWindows)
        if (other != window && other->Visible()) {
            FActiveWindow = other;
            other->Activate();
            break;
        }
    RefreshHover();
}

void TDXWindowSystem::RefreshHover() {
    bool handled = false;
    UINT msg = WM_MOUSEMOVE;
    WPARAM wParam = 0;
    LPARAM lParam = PointToLParam(FMouseX, FMouseY);
    TDepthScope delivering(FDeliveryDepth);
    for (int i = 0; i < FWindows.Count(); ++i) {
        TDXWindow* window = FWindows[i];
        window->DeliverMessage(msg, wParam, handled, lParam);
        if (window == FActiveWindow && window->Modal())
            handled = true;
    }
}

} // namespace DXWin
