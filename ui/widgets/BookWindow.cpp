#include "ui/widgets/BookWindow.h"

#include "engine/graphics/Sprite.h"
#include "engine/graphics/SpriteDrawing.h"
#include "engine/widgets/DXWinHost.h"
#include "ui/widgets/WidgetArt.h"

namespace Main {

namespace {

// Milliseconds since the start of the animation at which each stage begins.
constexpr uint32_t OpeningStageStart[BookStages] = {0, 150, 200, 250};
// Closing runs stage 2, 1, 0; the window hides at the end.
constexpr uint32_t ClosingStageStart[3] = {100, 50, 0};
constexpr uint32_t ClosingEnd = 200;

int OpeningStage(uint32_t elapsed) {
    int stage = 0;
    while (stage + 1 < BookStages && elapsed >= OpeningStageStart[stage + 1])
        ++stage;
    return stage;
}

int ClosingStage(uint32_t elapsed) {
    int stage = 2;
    while (stage > 0 && elapsed >= ClosingStageStart[stage - 1])
        --stage;
    return stage;
}

} // namespace

TBookWindow::TBookWindow(DXWin::TDXWindowSystem* windowSystem, uint32_t options)
    : TVRNWindow(windowSystem, options, 0), FBook(pgBook) {
    const Gfx::TSprite* book = FBook.Get();
    FFullWidth = book ? book->Width : 568;
    FFullHeight = book ? book->Height : 456;
    SetSize(FFullWidth, FFullHeight);
}

void TBookWindow::SetVisible(bool visible) {
    if (visible && FAnimationState != asOpening) {
        FAnimationStart = DXWin::ApplicationClock();
        FAnimationState = asOpening;
        FStage = 0;
        TVRNWindow::SetVisible(true);
    } else if (!visible && Visible() && FAnimationState != asClosing) {
        FAnimationStart = DXWin::ApplicationClock();
        FAnimationState = asClosing;
    }
}

void TBookWindow::Tick() {
    TVRNWindow::Tick();
    SetSize(FFullWidth, FFullHeight);
    const uint32_t elapsed = DXWin::ApplicationClock() - FAnimationStart;
    if (FAnimationState == asOpening) {
        SetStateBits(DXWin::csVisible, true);
        FStage = OpeningStage(elapsed);
        if (FStage == BookStages - 1)
            FAnimationState = asIdle;
    } else if (FAnimationState == asClosing) {
        FStage = ClosingStage(elapsed);
        if (elapsed >= ClosingEnd) {
            FStage = 0;
            FAnimationState = asIdle;
            TVRNWindow::SetVisible(false);
            if (DeleteWhenClosed)
                SetRequestBits(DXWin::wsDeleteRequested, true);
        }
    }
}

void TBookWindow::Draw(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) {
    TVRNWindow::Draw(target, bounds);
    Gfx::TSprite* book = FBook.Get();
    if (book && FStage < book->DrawableFrameCount())
        Gfx::DrawSprite(book, target, FStage, bounds.left, bounds.top, &bounds);
}

Win32::RECT TBookWindow::GetVisibleRect() const {
    if (FStage == 3)
        return {FX, FY, FX + FWidth, FY + FHeight};
    if (FStage == 2)
        return {FX + FWidth / 2, FY, FX + FWidth, FY + FHeight};
    return {FX, FY, FX, FY};
}

} // namespace Main
