// A window shaped like a book that opens in four stages (closed cover, turning cover,
// right page, both pages) and closes the same way back. The book's frames cover the
// window's own drawing until its last frame leaves the pages open.
#pragma once

#include "ui/widgets/ScrollWindow.h"

namespace Main {

constexpr int BookStages = 4;

class TBookWindow : public TVRNWindow {
public:
    TBookWindow(DXWin::TDXWindowSystem* windowSystem, uint32_t options);

    void SetVisible(bool visible) override;
    void Tick() override;
    void Draw(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) override;

    // Where the pages can be seen, in screen coordinates: the right half at stage 2,
    // the whole window at stage 3, nothing before.
    Win32::RECT GetVisibleRect() const;

    int AnimationState() const { return FAnimationState; }
    int Stage() const { return FStage; }
    int FullWidth() const { return FFullWidth; }
    int FullHeight() const { return FFullHeight; }

    bool DeleteWhenClosed = false;

private:
    uint32_t FAnimationStart = 0;
    int FAnimationState = asIdle;
    int FStage = 0;
    int FFullWidth;
    int FFullHeight;
    const TPictureHold FBook;
};

} // namespace Main
