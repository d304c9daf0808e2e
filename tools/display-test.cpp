// display-test: opens the game's window and shows a test pattern drawn through the
// display device: colour fills, Gouraud and textured quads with point and bilinear
// filtering, alpha blending, colour-keyed, stretched, turned and scrolling blits.
//
//   display-test [--fullscreen] [--seconds N]
//
// Without --seconds it runs until the window is closed.
#include "engine/app/D3DFramework.h"
#include "platform/display/SdlDisplayWindow.h"
#include "platform/win32/WinQueue.h"
#include "platform/win32/WinWindow.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

using namespace D3DFrame;
using namespace Win32;

namespace {

bool AcceptDisplayMode(const DDSURFACEDESC2& mode) {
    const uint32_t w = mode.dwWidth, h = mode.dwHeight;
    return mode.ddpfPixelFormat.dwRGBBitCount == 16 &&
           ((w == 640 && h == 480) || (w == 800 && h == 600) || (w == 1024 && h == 768));
}

void Fill(IDirectDrawSurface7& surface, const RECT& rect, uint32_t argb) {
    DDBLTFX fx;
    fx.dwSize = sizeof fx;
    fx.dwFillColor = ArgbToPixel(surface.Layout(), argb);
    surface.Blt(&rect, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
}

// Writes argb(x, y) into every pixel of a surface.
template <class TPattern>
void Paint(IDirectDrawSurface7& surface, TPattern argb) {
    DDSURFACEDESC2 desc;
    if (surface.Lock(nullptr, &desc, DDLOCK_WAIT, nullptr) != Win32::DD_OK)
        return;
    const TPixelLayout layout = LayoutOf(desc.ddpfPixelFormat);
    const int bytes = BytesPerPixel(layout);
    for (uint32_t y = 0; y < desc.dwHeight; ++y)
        for (uint32_t x = 0; x < desc.dwWidth; ++x) {
            const uint32_t pixel = ArgbToPixel(layout, argb(int(x), int(y)));
            std::memcpy(static_cast<uint8_t*>(desc.lpSurface) + y * desc.lPitch + x * bytes, &pixel,
                        size_t(bytes));
        }
    surface.Unlock(nullptr);
}

void Quad(IDirect3DDevice7& device, float x0, float y0, float x1, float y1,
          const uint32_t (&colours)[4]) {
    const D3DTLVERTEX quad[4] = {{x0, y0, 0, 1, colours[0], 0, 0, 0},
                                 {x1, y0, 0, 1, colours[1], 0, 1, 0},
                                 {x1, y1, 0, 1, colours[2], 0, 1, 1},
                                 {x0, y1, 0, 1, colours[3], 0, 0, 1}};
    device.DrawPrimitive(D3DPT_TRIANGLEFAN, D3DFVF_TLVERTEX, quad, 4, 0);
}

// The pattern's images, made once and drawn every frame.
class TTestPattern {
public:
    explicit TTestPattern(TD3DFramework& framework) : FFramework(framework) {
        const DDPIXELFORMAT argb = PixelFormatOf(TPixelLayout::ARGB8888);
        FChecker = framework.CreateTexture(8, 8, 0, &argb);
        Paint(*FChecker, [](int x, int y) { return (x + y) % 2 ? 0xFFFFFFFFu : 0xFF2040C0u; });
        // A soft disc in premultiplied alpha.
        FDisc = framework.CreateTexture(64, 64, 0, &argb);
        Paint(*FDisc, [](int x, int y) {
            const double d = std::hypot(x - 31.5, y - 31.5) / 32.0;
            const auto a = static_cast<uint32_t>(std::clamp(1.0 - d, 0.0, 1.0) * 255);
            return a << 24 | a << 16 | (a * 200 / 255) << 8 | (a * 64 / 255);
        });
        FArrow = framework.CreateOffscreenSurface(32, 32, 0);
        Paint(*FArrow, [](int x, int y) {
            const bool shaft = x >= 4 && x < 20 && y >= 12 && y < 20;
            const bool head = x >= 20 && std::abs(y - 16) < 28 - x;
            return shaft || head ? 0xFFFFC000u : 0xFFFF00FFu;
        });
        DDCOLORKEY key;
        key.dwColorSpaceLowValue = key.dwColorSpaceHighValue =
            ArgbToPixel(FArrow->Layout(), 0xFFFF00FF);
        FArrow->SetColorKey(DDCKEY_SRCBLT, &key);
    }

    void Draw() {
        IDirectDrawSurface7& back = *FFramework.BackBuffer();
        IDirect3DDevice7& device = *FFramework.Device();
        const int32_t width = back.Width(), height = back.Height();
        const float top = float(height / 3);
        FFramework.ClearBackBuffer();

        // Colour bars across the top third.
        const uint32_t bars[] = {0xFFFFFFFF, 0xFFFFFF00, 0xFF00FFFF, 0xFF00FF00,
                                 0xFFFF00FF, 0xFFFF0000, 0xFF0000FF, 0xFF000000};
        for (int i = 0; i < 8; ++i)
            Fill(back, {i * width / 8, 0, (i + 1) * width / 8, height / 3}, bars[i]);

        device.BeginScene();
        const uint32_t white[4] = {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
        // A Gouraud-shaded quad.
        FFramework.SetTexture(nullptr, 0);
        Quad(device, 20, top + 20, 260, float(height - 20),
             {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF});
        // The checkerboard magnified with point, then bilinear filtering.
        FFramework.SetTexture(FChecker.Get(), 0);
        for (const uint32_t filter : {D3DTFG_POINT, D3DTFG_LINEAR}) {
            device.SetTextureStageState(0, D3DTSS_MAGFILTER, filter);
            device.SetTextureStageState(0, D3DTSS_MINFILTER, filter);
            const float left = filter == D3DTFG_POINT ? 290.0f : 540.0f;
            Quad(device, left, top + 20, left + 230, top + 250, white);
        }
        device.SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_POINT);
        device.SetTextureStageState(0, D3DTSS_MINFILTER, D3DTFN_POINT);
        // Discs blended over the colour bars.
        FFramework.SetTexture(FDisc.Get(), 0);
        device.SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
        device.SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_ONE);
        device.SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA);
        for (int i = 0; i < 5; ++i)
            Quad(device, 40.0f + float(i) * 150, 40, 168.0f + float(i) * 150, 168, white);
        device.SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 0);
        FFramework.SetTexture(nullptr, 0);
        device.EndScene();

        // The colour-keyed arrow: plain, stretched and turned.
        const int32_t row = height - 90;
        const RECT plain{width - 200, row, width - 168, row + 32};
        back.Blt(&plain, FArrow.Get(), nullptr, DDBLT_KEYSRC | DDBLT_WAIT, nullptr);
        const RECT stretched{width - 150, row - 16, width - 86, row + 48};
        back.Blt(&stretched, FArrow.Get(), nullptr, DDBLT_KEYSRC | DDBLT_WAIT, nullptr);
        DDBLTFX fx;
        fx.dwSize = sizeof fx;
        fx.dwRotationAngle = 4500;
        const RECT turned{width - 64, row, width - 32, row + 32};
        back.Blt(&turned, FArrow.Get(), nullptr, DDBLT_KEYSRC | DDBLT_ROTATIONANGLE | DDBLT_WAIT,
                 &fx);

        // Part of the bars scrolled down and right by 8 pixels within the back buffer.
        const RECT from{0, height / 3 - 48, 232, height / 3};
        const RECT to{8, height / 3 - 40, 240, height / 3 + 8};
        back.Blt(&to, &back, &from, DDBLT_WAIT, nullptr);
    }

private:
    TD3DFramework& FFramework;
    TRefPtr<IDirectDrawSurface7> FChecker;
    TRefPtr<IDirectDrawSurface7> FDisc;
    TRefPtr<IDirectDrawSurface7> FArrow;
};

} // namespace

int main(int argc, char** argv) {
    bool fullScreen = false;
    double seconds = -1;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--fullscreen")
            fullScreen = true;
        else if (argument == "--seconds" && i + 1 < argc)
            seconds = std::atof(argv[++i]);
        else {
            std::fprintf(stderr, "usage: display-test [--fullscreen] [--seconds N]\n");
            return 2;
        }
    }
    try {
        using namespace Win32;
        WNDCLASS windowClass;
        windowClass.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
            if (message == WM_DESTROY)
                PostQuitMessage(0);
            return DefWindowProc(window, message, wParam, lParam);
        };
        windowClass.lpszClassName = "VRNDisplayTest";
        RegisterClass(windowClass);
        const char* const title = "Varnholt display test";
        const HWND window =
            CreateWindowEx(0, windowClass.lpszClassName, title, WS_POPUP | WS_SYSMENU, 100, 100,
                           800, 600, nullptr, nullptr);
        SdlDisplayWindow display(window, title);
        ShowWindow(window, SW_SHOW);
        TD3DFramework framework(window, title, UseDirect3D | DefaultModeRequired, 800, 600, 16,
                                AcceptDisplayMode);
        if (fullScreen)
            framework.SetFullScreen(-1, -1, -1);
        else
            framework.SetWindowed(-1, -1, {100, 100, 900, 700});
        TTestPattern pattern(framework);
        const auto start = std::chrono::steady_clock::now();
        for (;;) {
            MSG msg;
            while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.message == WM_QUIT)
                    return 0;
                TranslateMessage(&msg);
                DispatchMessage(&msg);
            }
            pattern.Draw();
            framework.ShowFrame();
            const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
            if (seconds >= 0 && elapsed.count() >= seconds)
                return 0;
            std::this_thread::sleep_for(std::chrono::milliseconds(33));
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "display-test: %s\n", e.what());
        return 1;
    }
}
