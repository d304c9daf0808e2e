#include "platform/display/SdlDisplayWindow.h"

#include "platform/classlib/Exception.h"
#include "platform/win32/WinWindow.h"

#include <SDL2/SDL.h>

#include <algorithm>

namespace Win32 {

namespace {
// The SDL window's data slot that leads back to its display window.
constexpr const char* DisplayKey = "vrn.display";

// The largest rectangle of the frame's aspect centred in an area.
RECT Fit(int32_t frameWidth, int32_t frameHeight, int32_t areaWidth, int32_t areaHeight) {
    if (frameWidth <= 0 || frameHeight <= 0)
        return {0, 0, areaWidth, areaHeight};
    int32_t width = areaWidth;
    auto height = static_cast<int32_t>(int64_t(frameHeight) * areaWidth / frameWidth);
    if (height > areaHeight) {
        height = areaHeight;
        width = static_cast<int32_t>(int64_t(frameWidth) * areaHeight / frameHeight);
    }
    const int32_t left = (areaWidth - width) / 2, top = (areaHeight - height) / 2;
    return {left, top, left + width, top + height};
}

int32_t FloorDiv(int64_t a, int64_t b) {
    return static_cast<int32_t>(a >= 0 ? a / b : -((-a + b - 1) / b));
}
} // namespace

struct SdlDisplayWindow::TImpl {
    SDL_Window* Window = nullptr;
    SDL_Renderer* Renderer = nullptr;
    SDL_Texture* Texture = nullptr;
    int32_t TextureWidth = 0;
    int32_t TextureHeight = 0;
    TCapturedImage Frame;

    void Destroy() {
        if (Texture)
            SDL_DestroyTexture(Texture);
        if (Renderer)
            SDL_DestroyRenderer(Renderer);
        if (Window) {
            SDL_SetWindowData(Window, DisplayKey, nullptr);
            SDL_DestroyWindow(Window);
        }
        Texture = nullptr;
        Renderer = nullptr;
        Window = nullptr;
    }

    RECT FrameRectIn(int32_t areaWidth, int32_t areaHeight) const {
        return Fit(Frame.Width, Frame.Height, areaWidth, areaHeight);
    }

    void Draw() const {
        SDL_SetRenderDrawColor(Renderer, 0, 0, 0, 255);
        SDL_RenderClear(Renderer);
        int32_t width = 0, height = 0;
        if (!Texture || SDL_GetRendererOutputSize(Renderer, &width, &height) != 0)
            return;
        const RECT r = FrameRectIn(width, height);
        const SDL_Rect target{r.left, r.top, r.right - r.left, r.bottom - r.top};
        SDL_RenderCopy(Renderer, Texture, nullptr, &target);
    }
};

SdlDisplayWindow::SdlDisplayWindow(HWND window, const AnsiString& title)
    : FWindow(window), FImpl(std::make_unique<TImpl>()) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        throw ClassLib::Exception(ClassLib::Format("Error creating window. (%s)", SDL_GetError()));
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    RECT placement;
    if (!GetWindowRect(window, &placement))
        placement = {0, 0, 640, 480};
    const Uint32 visibility = IsWindowVisible(window) ? SDL_WINDOW_SHOWN : SDL_WINDOW_HIDDEN;
    FImpl->Window = SDL_CreateWindow(title.c_str(), placement.left, placement.top,
                                     std::max(1, placement.right - placement.left),
                                     std::max(1, placement.bottom - placement.top), visibility);
    if (FImpl->Window) {
        FImpl->Renderer = SDL_CreateRenderer(FImpl->Window, -1, 0);
        if (!FImpl->Renderer)
            FImpl->Renderer = SDL_CreateRenderer(FImpl->Window, -1, SDL_RENDERER_SOFTWARE);
    }
    if (!FImpl->Renderer) {
        const AnsiString reason = SDL_GetError();
        FImpl->Destroy();
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        throw ClassLib::Exception(ClassLib::Format("Error creating window. (%s)", reason));
    }
    SDL_SetWindowData(FImpl->Window, DisplayKey, this);
    AttachSdlWindow(window, FImpl->Window);
    // Client coordinates are the frame's pixels wherever the frame is shown.
    TClientMapping mapping;
    mapping.FromWindow = [this](POINT p) {
        const RECT r = FrameRect();
        if (FImpl->Frame.Width <= 0 || r.right <= r.left || r.bottom <= r.top)
            return p;
        return POINT{FloorDiv(int64_t(p.x - r.left) * FImpl->Frame.Width, r.right - r.left),
                     FloorDiv(int64_t(p.y - r.top) * FImpl->Frame.Height, r.bottom - r.top)};
    };
    mapping.ToWindow = [this](POINT p) {
        const RECT r = FrameRect();
        if (FImpl->Frame.Width <= 0 || FImpl->Frame.Height <= 0)
            return p;
        return POINT{r.left + FloorDiv(int64_t(p.x) * (r.right - r.left), FImpl->Frame.Width),
                     r.top + FloorDiv(int64_t(p.y) * (r.bottom - r.top), FImpl->Frame.Height)};
    };
    mapping.ClientSize = [this] {
        if (FImpl->Frame.Width > 0)
            return SIZE{FImpl->Frame.Width, FImpl->Frame.Height};
        SIZE size;
        SDL_GetWindowSize(FImpl->Window, &size.cx, &size.cy);
        return size;
    };
    SetClientMapping(window, std::move(mapping));
}

SdlDisplayWindow::~SdlDisplayWindow() {
    if (GetSdlWindow(FWindow) == FImpl->Window) {
        SetClientMapping(FWindow, {});
        AttachSdlWindow(FWindow, nullptr);
    }
    FImpl->Destroy();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

SdlDisplayWindow* SdlDisplayWindow::Of(HWND window) {
    SDL_Window* sdl = GetSdlWindow(window);
    return sdl ? static_cast<SdlDisplayWindow*>(SDL_GetWindowData(sdl, DisplayKey)) : nullptr;
}

SDL_Window* SdlDisplayWindow::Handle() const {
    return FImpl->Window;
}

void SdlDisplayWindow::SetFullScreen(bool fullScreen) {
    if (fullScreen != IsFullScreen())
        SDL_SetWindowFullscreen(FImpl->Window, fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}

bool SdlDisplayWindow::IsFullScreen() const {
    return (SDL_GetWindowFlags(FImpl->Window) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
}

void SdlDisplayWindow::Present(const TPresentImage& image) {
    Upload(image);
    FImpl->Draw();
    SDL_RenderPresent(FImpl->Renderer);
}

void SdlDisplayWindow::Upload(const TPresentImage& image) {
    if (image.Width <= 0 || image.Height <= 0 || !image.Bits)
        return;
    TImpl& impl = *FImpl;
    TCapturedImage& frame = impl.Frame;
    frame.Width = image.Width;
    frame.Height = image.Height;
    frame.Pixels.resize(size_t(image.Width) * size_t(image.Height));
    for (int32_t y = 0; y < image.Height; ++y)
        ConvertRowToXrgb8888(image.Layout, image.Bits + ptrdiff_t(y) * image.Pitch,
                             frame.Pixels.data() + size_t(y) * size_t(image.Width), image.Width);
    if (!impl.Texture || impl.TextureWidth != image.Width || impl.TextureHeight != image.Height) {
        if (impl.Texture)
            SDL_DestroyTexture(impl.Texture);
        impl.Texture = SDL_CreateTexture(impl.Renderer, SDL_PIXELFORMAT_ARGB8888,
                                         SDL_TEXTUREACCESS_STREAMING, image.Width, image.Height);
        impl.TextureWidth = impl.Texture ? image.Width : 0;
        impl.TextureHeight = impl.Texture ? image.Height : 0;
        if (!impl.Texture)
            return;
    }
    SDL_UpdateTexture(impl.Texture, nullptr, frame.Pixels.data(), image.Width * 4);
}

const TCapturedImage& SdlDisplayWindow::Frame() const {
    return FImpl->Frame;
}

TCapturedImage SdlDisplayWindow::CaptureWindow() const {
    TCapturedImage image;
    if (SDL_GetRendererOutputSize(FImpl->Renderer, &image.Width, &image.Height) != 0)
        return {};
    FImpl->Draw();
    image.Pixels.resize(size_t(image.Width) * size_t(image.Height));
    if (SDL_RenderReadPixels(FImpl->Renderer, nullptr, SDL_PIXELFORMAT_ARGB8888,
                             image.Pixels.data(), image.Width * 4) != 0)
        return {};
    return image;
}

RECT SdlDisplayWindow::FrameRect() const {
    int32_t width = 0, height = 0;
    SDL_GetWindowSize(FImpl->Window, &width, &height);
    return FImpl->FrameRectIn(width, height);
}

} // namespace Win32
