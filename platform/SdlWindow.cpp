#include "platform/SdlWindow.h"

#include "platform/Exception.h"

#include <SDL.h>

namespace Win32 {

struct SdlWindow::TImpl {
    SDL_Window* Window = nullptr;
    SDL_Renderer* Renderer = nullptr;
    SDL_Texture* Texture = nullptr;
    int32_t TextureWidth = 0;
    int32_t TextureHeight = 0;
    TCapturedImage Frame; // the last presented frame, converted

    void Destroy() {
        if (Texture)
            SDL_DestroyTexture(Texture);
        if (Renderer)
            SDL_DestroyRenderer(Renderer);
        if (Window)
            SDL_DestroyWindow(Window);
        Texture = nullptr;
        Renderer = nullptr;
        Window = nullptr;
    }

    void Draw() const {
        SDL_SetRenderDrawColor(Renderer, 0, 0, 0, 255);
        SDL_RenderClear(Renderer);
        if (Texture)
            SDL_RenderCopy(Renderer, Texture, nullptr, nullptr);
    }
};

SdlWindow::SdlWindow(const AnsiString& title, int32_t clientWidth, int32_t clientHeight)
    : FImpl(std::make_unique<TImpl>()) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        throw ClassLib::Exception(ClassLib::Format("Error creating window. (%s)", SDL_GetError()));
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    FImpl->Window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                     clientWidth, clientHeight, 0);
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
}

SdlWindow::~SdlWindow() {
    FImpl->Destroy();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void SdlWindow::SetTitle(const AnsiString& title) {
    SDL_SetWindowTitle(FImpl->Window, title.c_str());
}

void SdlWindow::SetClientSize(int32_t width, int32_t height) {
    SDL_SetWindowSize(FImpl->Window, width, height);
}

void SdlWindow::SetFullScreen(bool fullScreen) {
    if (fullScreen != IsFullScreen())
        SDL_SetWindowFullscreen(FImpl->Window, fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}

bool SdlWindow::IsFullScreen() const {
    return (SDL_GetWindowFlags(FImpl->Window) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
}

void SdlWindow::Present(const TPresentImage& image) {
    Upload(image);
    FImpl->Draw();
    SDL_RenderPresent(FImpl->Renderer);
}

void SdlWindow::Upload(const TPresentImage& image) {
    if (image.Width <= 0 || image.Height <= 0 || !image.Bits)
        return;
    TImpl& impl = *FImpl;
    TCapturedImage& frame = impl.Frame;
    frame.Width = image.Width;
    frame.Height = image.Height;
    frame.Pixels.resize(size_t(image.Width) * size_t(image.Height));
    for (int32_t y = 0; y < image.Height; ++y)
        DirectX::ConvertRowToXrgb8888(image.Layout, image.Bits + ptrdiff_t(y) * image.Pitch,
                                      frame.Pixels.data() + size_t(y) * size_t(image.Width),
                                      image.Width);
    if (!impl.Texture || impl.TextureWidth != image.Width || impl.TextureHeight != image.Height) {
        if (impl.Texture)
            SDL_DestroyTexture(impl.Texture);
        impl.Texture = SDL_CreateTexture(impl.Renderer, SDL_PIXELFORMAT_ARGB8888,
                                         SDL_TEXTUREACCESS_STREAMING, image.Width, image.Height);
        if (!impl.Texture)
            return;
        impl.TextureWidth = image.Width;
        impl.TextureHeight = image.Height;
        SDL_RenderSetLogicalSize(impl.Renderer, image.Width, image.Height);
    }
    SDL_UpdateTexture(impl.Texture, nullptr, frame.Pixels.data(), image.Width * 4);
}

TCapturedImage SdlWindow::CaptureFrame() const {
    return FImpl->Frame;
}

TCapturedImage SdlWindow::CaptureWindow() const {
    TCapturedImage image;
    if (SDL_GetRendererOutputSize(FImpl->Renderer, &image.Width, &image.Height) != 0)
        return {};
    FImpl->Draw();
    image.Pixels.resize(size_t(image.Width) * size_t(image.Height));
    const SDL_Rect all{0, 0, image.Width, image.Height};
    SDL_RenderSetLogicalSize(FImpl->Renderer, 0, 0);
    const int result = SDL_RenderReadPixels(FImpl->Renderer, &all, SDL_PIXELFORMAT_ARGB8888,
                                            image.Pixels.data(), image.Width * 4);
    SDL_RenderSetLogicalSize(FImpl->Renderer, FImpl->TextureWidth, FImpl->TextureHeight);
    if (result != 0)
        return {};
    return image;
}

SDL_Window* SdlWindow::Handle() const {
    return FImpl->Window;
}

bool SdlWindow::PumpEvents() {
    bool open = true;
    SDL_Event event;
    while (SDL_PollEvent(&event))
        if (event.type == SDL_QUIT ||
            (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE))
            open = false;
    return open;
}

} // namespace Win32
