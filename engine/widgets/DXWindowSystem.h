// Owns every window of the program, keeps their stacking order (index 0 in front)
// and the active window, routes window input to them, draws them with the cursor
// and the tooltip, ticks them, and carries out the activations and deletions they
// asked for once no message is being delivered.
#pragma once

#include "engine/widgets/DXWindow.h"

#include <functional>
#include <memory>

namespace DXWin {

class TDXTooltip;

using TDrawCursorEvent = std::function<void(IDirectDrawSurface7* target, int mouseX, int mouseY)>;

class TDXWindowSystem {
public:
    TDXWindowSystem();
    ~TDXWindowSystem();
    TDXWindowSystem(const TDXWindowSystem&) = delete;
    TDXWindowSystem& operator=(const TDXWindowSystem&) = delete;

    // Takes ownership; a window that is not a background window goes in front of
    // the background windows at the back.
    void Add(TDXWindow* window);
    // Gives ownership back to the caller.
    void Remove(TDXWindow* window);

    void HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void Draw(IDirectDrawSurface7* target);
    void Tick();
    TDXControl* ControlAt(int x, int y) const;
    TDXWindow* WindowAt(int x, int y) const;

    void ActivateWindow(TDXWindow* window);
    void DeactivateWindow(TDXWindow* window);
    void RefreshHover();
    // A control is going: nothing here may point at it any longer.
    void ForgetControl(const TDXControl* control);
    // Runs the requested activations, deactivations and deletions. Deletions wait
    // while a message is being delivered or a modal loop runs, so that no window
    // is freed while it is still on the call stack.
    void ProcessRequests();

    void SetDefaultCursor(Gfx::TSprite* cursor) { FDefaultCursor = cursor; }
    void SetForcedCursor(Gfx::TSprite* cursor) { FForcedCursor = cursor; }
    Gfx::TSprite* ForcedCursor() const { return FForcedCursor; }
    Gfx::TSprite* CurrentCursor() const { return FCurrentCursor; }
    void SetTooltip(std::unique_ptr<TDXTooltip> tooltip);
    TDXTooltip* Tooltip() const { return FTooltip.get(); }
    void SetOnDrawCursor(TDrawCursorEvent event) { FOnDrawCursor = std::move(event); }
    void ShowCursor() { FCursorShown = true; }
    void HideCursor() { FCursorShown = false; }
    bool CursorShown() const { return FCursorShown; }

    int WindowCount() const { return FWindows.Count(); }
    TDXWindow* Window(int index) const { return FWindows[index]; }
    int IndexOf(const TDXWindow* window) const { return FWindows.IndexOf(window); }
    TDXWindow* ActiveWindow() const { return FActiveWindow; }
    int MouseX() const { return FMouseX; }
    int MouseY() const { return FMouseY; }

    // Modal loops running (a window's ShowModal brackets its loop with these).
    void EnterModalLoop() { ++FModalDepth; }
    void LeaveModalLoop() { --FModalDepth; }

private:
    TDXWindow* ModalActiveWindow() const;
    void ChooseCursor();
    void DeleteWindow(TDXWindow* window);
    void MoveForward(TDXWindow* window);

    Data::TObjectList<TDXWindow> FWindows{true};
    TDXWindow* FActiveWindow = nullptr;
    int FMouseX = 0;
    int FMouseY = 0;
    bool FCursorShown = true;
    Gfx::TSprite* FDefaultCursor = nullptr;
    Gfx::TSprite* FForcedCursor = nullptr;
    Gfx::TSprite* FCurrentCursor = nullptr;
    std::unique_ptr<TDXTooltip> FTooltip;
    TDrawCursorEvent FOnDrawCursor;
    int FDeliveryDepth = 0; // messages and ticks being delivered
    int FModalDepth = 0;
};

} // namespace DXWin
