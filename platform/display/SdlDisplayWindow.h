// The SDL side of a window: the SDL window, renderer and streaming texture that
// show the frames DirectDraw presents. It is made for a window (WinWindow.h) and
// attached to it, so the window's messages and input come from it; frames are
// scaled to fit with their aspect kept, and the window's client coordinates are
// mapped onto the frame's pixels. Full screen covers the desktop at its own
// resolution: the screen's mode never changes. Under SDL's dummy video driver it
// works headless.
#pragma once

#include "platform/WinTypes.h"
#include "platform/classlib/AnsiString.h"
#include "platform/display/PixelLayout.h"

#include <cstdint>
#include <memory>
#include <vector>

struct SDL_Window;

namespace Win32 {

using ClassLib::AnsiString;

// A frame to show: Width x Height pixels of Layout, rows Pitch bytes apart.
struct TPresentImage {
    const uint8_t* Bits = nullptr;
    int32_t Pitch = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    TPixelLayout Layout = TPixelLayout::Unsupported;
};

// Pixels as 0xAARRGGBB, row after row.
struct TCapturedImage {
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<uint32_t> Pixels;
};

class SdlDisplayWindow {
public:
    // Creates the SDL window with the window's placement and visibility and attaches it.
    // Raises ClassLib::Exception "Error creating window. (reason)" when SDL cannot.
    SdlDisplayWindow(HWND window, const AnsiString& title);
    // Detaches from the window (if it still exists) and closes the SDL window.
    ~SdlDisplayWindow();
    SdlDisplayWindow(const SdlDisplayWindow&) = delete;
    SdlDisplayWindow& operator=(const SdlDisplayWindow&) = delete;

    // The display window attached to window, or null.
    static SdlDisplayWindow* Of(HWND window);

    HWND Window() const { return FWindow; }
    SDL_Window* Handle() const;

    // Full screen on the desktop at its own resolution, or back into a window.
    void SetFullScreen(bool fullScreen);
    bool IsFullScreen() const;

    // Converts the frame, uploads it into the streaming texture and shows it.
    void Present(const TPresentImage& image);
    // The first half of Present: converts and uploads without showing.
    void Upload(const TPresentImage& image);
    // The last frame uploaded, converted.
    const TCapturedImage& Frame() const;
    // The window's picture as drawn (the frame scaled into it).
    TCapturedImage CaptureWindow() const;

    // Where the frame lies in the window, in window pixels.
    RECT FrameRect() const;

    struct TImpl;

private:
    HWND FWindow;
    std::unique_ptr<TImpl> FImpl;
};

} // namespace Win32
