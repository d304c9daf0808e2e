#include "ui/widgets/ScrollWindow.h"

#include "engine/graphics/Sprite.h"
#include "engine/graphics/SpriteDrawing.h"
#include "engine/widgets/DXWinHost.h"
#include "ui/widgets/WidgetArt.h"

#include <algorithm>

namespace Main {

namespace {

// Sizes while there is no global data.
constexpr Win32::SIZE VerticalSize{100, 400};
constexpr Win32::SIZE VerticalRoller{120, 20};
constexpr Win32::SIZE HorizontalSize{400, 100};
constexpr Win32::SIZE HorizontalRoller{20, 120};

Win32::SIZE SpriteSize(const Gfx::TSprite* sprite, Win32::SIZE fallback) {
    return sprite ? Win32::SIZE{sprite->Width, sprite->Height} : fallback;
}

// The rollers turn by one frame for every 7 pixels unrolled.
constexpr int PixelsPerRollerFrame = 7;

} // namespace

TScrollWindow::TScrollWindow(DXWin::TDXWindowSystem* windowSystem, uint32_t options,
                             bool horizontal)
    : TVRNWindow(windowSystem, options, 0), FHorizontal(horizontal),
      FParchmentHold(horizontal ? pgHorizParchment : -1),
      FRollerHold(horizontal ? pgHorizRoller : -1) {
    FParchment = horizontal ? FParchmentHold.Get() : CommonSprite(cgVertParchment);
    FRoller = horizontal ? FRollerHold.Get() : CommonSprite(cgVertRoller);
    const Win32::SIZE full = SpriteSize(FParchment, horizontal ? HorizontalSize : VerticalSize);
    const Win32::SIZE roller = SpriteSize(FRoller, horizontal ? HorizontalRoller : VerticalRoller);
    FFullWidth = full.cx;
    FFullHeight = full.cy;
    FRollerWidth = roller.cx;
    FRollerHeight = roller.cy;
    SetSize(FFullWidth, FFullHeight);
    FExtent = 2 * RollerThickness();
}

TVertScrollWindow::TVertScrollWindow(DXWin::TDXWindowSystem* windowSystem, uint32_t options)
    : TScrollWindow(windowSystem, options, false) {}

THorizScrollWindow::THorizScrollWindow(DXWin::TDXWindowSystem* windowSystem, uint32_t options)
    : TScrollWindow(windowSystem, options, true) {}

void TScrollWindow::SetVisible(bool visible) {
    if (visible && !Visible()) {
        PlayWidgetSound(TWidgetSound::WindowOpen);
        FAnimationStart = DXWin::ApplicationClock();
        FAnimationState = asOpening;
        TVRNWindow::SetVisible(true);
    } else if (!visible && Visible() && FAnimationState != asClosing) {
        PlayWidgetSound(TWidgetSound::WindowClose);
        FAnimationStart = DXWin::ApplicationClock();
        FAnimationState = asClosing;
    }
}

void TScrollWindow::Tick() {
    TVRNWindow::Tick();
    const int least = 2 * RollerThickness();
    const int length = std::clamp(Length(), least, std::max(least, FullLength()));
    if (FHorizontal)
        SetSize(length, FFullHeight);
    else
        SetSize(FFullWidth, length);
    const int64_t duration = 2 * int64_t(length);
    const int64_t elapsed = DXWin::ApplicationClock() - FAnimationStart;
    const int64_t range = length - least;
    if (FAnimationState == asOpening) {
        SetStateBits(DXWin::csVisible, true);
        if (elapsed <= duration) {
            FExtent = int(range * elapsed / duration) + least;
        } else {
            FExtent = length;
            FAnimationState = asIdle;
        }
    } else if (FAnimationState == asClosing) {
        if (elapsed <= duration) {
            FExtent = int(range * (duration - elapsed) / duration) + least;
        } else {
            FExtent = least;
            FAnimationState = asIdle;
            TVRNWindow::SetVisible(false);
            // Dialogs on horizontal scrolls belong to whoever runs them modally.
            if (DeleteWhenRolledUp && !FHorizontal)
                SetRequestBits(DXWin::wsDeleteRequested, true);
        }
    }
}

Win32::RECT TScrollWindow::GetVisibleRect() const {
    if (FHorizontal) {
        const int left = FX + (FWidth - FExtent) / 2;
        return {left, FY, left + FExtent, FY + FHeight};
    }
    const int top = FY + (FHeight - FExtent) / 2;
    return {FX, top, FX + FWidth, top + FExtent};
}

void TScrollWindow::Draw(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) {
    const int offset = (Length() - FExtent) / 2;
    Win32::RECT unrolled = bounds;
    if (FHorizontal) {
        unrolled.left += offset;
        unrolled.right = unrolled.left + FExtent;
    } else {
        unrolled.top += offset;
        unrolled.bottom = unrolled.top + FExtent;
    }
    if (FParchment) {
        const int x = (bounds.left + bounds.right - FParchment->Width) / 2;
        const int y = (bounds.top + bounds.bottom - FParchment->Height) / 2;
        Gfx::DrawSprite(FParchment, target, 0, x, y, &unrolled);
    }
    TVRNWindow::Draw(target, bounds);
    DrawRollers(target, unrolled);
}

void TScrollWindow::DrawRollers(Win32::IDirectDrawSurface7* target,
                                const Win32::RECT& unrolled) const {
    if (FRoller == nullptr)
        return;
    const int frames = std::max(1, FRoller->DrawableFrameCount());
    const int offset = (Length() - FExtent) / 2;
    const int frame = offset / PixelsPerRollerFrame % frames;
    const int reversed = frames - 1 - frame;
    if (FHorizontal) {
        const int y = unrolled.top + (FHeight - FRoller->Height) / 2;
        const int half = FRoller->Width / 2;
        Gfx::DrawSprite(FRoller, target, reversed, unrolled.left - half, y, nullptr);
        Gfx::DrawSprite(FRoller, target, frame, unrolled.right - half, y, nullptr);
    } else {
        const int x = unrolled.left + (FWidth - FRoller->Width) / 2;
        const int half = FRoller->Height / 2;
        Gfx::DrawSprite(FRoller, target, frame, x, unrolled.top - half, nullptr);
        Gfx::DrawSprite(FRoller, target, reversed, x, unrolled.bottom - half, nullptr);
    }
}

} // namespace Main
