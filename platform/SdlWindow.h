// The program's one window, backed by SDL2: it shows the frames DirectDraw presents,
// scaled to fit with their aspect kept, in a window or full screen on the desktop
// (the screen's own mode never changes). Under SDL's dummy video driver it works
// headless. The window's message queue and input build on this class.
#pragma once

#include "platform/AnsiString.h"
#include "platform/PixelLayout.h"
#include "platform/Win32Types.h"

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
    DirectX::TPixelLayout Layout = DirectX::TPixelLayout::Unsupported;
};

// What the window shows, 0xAARRGGBB, row after row.
struct TCapturedImage {
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<uint32_t> Pixels;
};

class SdlWindow {
public:
    // Raises ClassLib::Exception "Error creating window." with SDL's reason on failure.
    SdlWindow(const AnsiString& title, int32_t clientWidth, int32_t clientHeight);
    ~SdlWindow();
    SdlWindow(const SdlWindow&) = delete;
    SdlWindow& operator=(const SdlWindow&) = delete;

    void SetTitle(const AnsiString& title);
    void SetClientSize(int32_t width, int32_t height);
    // Full screen on the desktop at its own resolution, or back into a window.
    void SetFullScreen(bool fullScreen);
    bool IsFullScreen() const;

    // Converts the frame, uploads it into the window's streaming texture and shows it.
    void Present(const TPresentImage& image);
    // The first half of Present: converts and uploads without showing.
    void Upload(const TPresentImage& image);
    // The converted pixels of the last presented frame, as shown before scaling.
    TCapturedImage CaptureFrame() const;
    // Reads the window's output as drawn (after scaling).
    TCapturedImage CaptureWindow() const;

    // Handles pending window events; false once the user asked to close the window.
    bool PumpEvents();

    SDL_Window* Handle() const;

    struct TImpl;

private:
    std::unique_ptr<TImpl> FImpl;
};

} // namespace Win32
