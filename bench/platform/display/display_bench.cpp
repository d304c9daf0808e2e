// The display device against references measured in the same run: colour-keyed and
// opaque blits against SDL2's own SDL_BlitSurface on the same RGB565 pixels and key
// (keyed sprites with SDL's run-length acceleration on, as SDL programs blit sprites,
// and off; the opaque blit also against memcpy of the same bytes); the textured, alpha-blended
// quad in pixels per second; presenting an 800 x 600 frame. The ratios are printed
// after the table.
#include "bench/RatioReporter.h"
#include "platform/display/Direct3D.h"
#include "platform/display/DirectDraw.h"
#include "platform/display/SdlDisplayWindow.h"
#include "platform/win32/WinWindow.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace Win32;

namespace {

constexpr uint16_t Key = 0xF81F;
constexpr int Sprite = 64;

// A disc of radius 30 on the key colour: about 70% of its pixels are drawn.
uint16_t SpritePixel(int x, int y) {
    const double d = std::hypot(x - 31.5, y - 31.5);
    return d < 30 ? static_cast<uint16_t>(0x0841 * ((x + y) % 31) + 1) : Key;
}

struct TDevicePixels {
    TRefPtr<IDirectDraw7> DirectDraw;
    TRefPtr<IDirectDrawSurface7> Screen;
    TRefPtr<IDirectDrawSurface7> Sprite;
    TRefPtr<IDirectDrawSurface7> Picture; // a full screen of pixels

    TDevicePixels() {
        DirectDrawCreateEx(nullptr, DirectDraw);
        Screen = Make(800, 600, TPixelLayout::RGB565, DDSCAPS_3DDEVICE);
        Sprite = Make(::Sprite, ::Sprite, TPixelLayout::RGB565, 0);
        Picture = Make(800, 600, TPixelLayout::RGB565, 0);
        Write(*Sprite, SpritePixel);
        Write(*Picture, [](int x, int y) { return uint16_t(x * 7 + y * 13); });
        DDCOLORKEY key{Key, Key};
        Sprite->SetColorKey(DDCKEY_SRCBLT, &key);
    }

    TRefPtr<IDirectDrawSurface7> Make(int w, int h, TPixelLayout layout, uint32_t caps) {
        DDSURFACEDESC2 desc;
        desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
        desc.dwWidth = uint32_t(w);
        desc.dwHeight = uint32_t(h);
        desc.ddpfPixelFormat = PixelFormatOf(layout);
        desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | caps;
        TRefPtr<IDirectDrawSurface7> surface;
        if (DirectDraw->CreateSurface(desc, surface) != Win32::DD_OK)
            std::abort();
        return surface;
    }

    template <class TPattern>
    static void Write(IDirectDrawSurface7& surface, TPattern pattern) {
        DDSURFACEDESC2 desc;
        surface.Lock(nullptr, &desc, 0, nullptr);
        for (uint32_t y = 0; y < desc.dwHeight; ++y)
            for (uint32_t x = 0; x < desc.dwWidth; ++x) {
                const uint16_t pixel = pattern(int(x), int(y));
                std::memcpy(static_cast<uint8_t*>(desc.lpSurface) + y * desc.lPitch + 2 * x, &pixel,
                            2);
            }
        surface.Unlock(nullptr);
    }
};

TDevicePixels& Device() {
    static TDevicePixels pixels;
    return pixels;
}

struct TSdlPixels {
    // The same sprite twice: run-length accelerated and plain.
    SDL_Surface* SpriteRle =
        SDL_CreateRGBSurfaceWithFormat(0, ::Sprite, ::Sprite, 16, SDL_PIXELFORMAT_RGB565);
    SDL_Surface* Screen = SDL_CreateRGBSurfaceWithFormat(0, 800, 600, 16, SDL_PIXELFORMAT_RGB565);
    SDL_Surface* Sprite =
        SDL_CreateRGBSurfaceWithFormat(0, ::Sprite, ::Sprite, 16, SDL_PIXELFORMAT_RGB565);
    SDL_Surface* Picture = SDL_CreateRGBSurfaceWithFormat(0, 800, 600, 16, SDL_PIXELFORMAT_RGB565);

    TSdlPixels() {
        for (SDL_Surface* sprite : {Sprite, SpriteRle})
            for (int y = 0; y < ::Sprite; ++y)
                for (int x = 0; x < ::Sprite; ++x)
                    static_cast<uint16_t*>(sprite->pixels)[y * sprite->pitch / 2 + x] =
                        SpritePixel(x, y);
        for (int y = 0; y < 600; ++y)
            for (int x = 0; x < 800; ++x)
                static_cast<uint16_t*>(Picture->pixels)[y * Picture->pitch / 2 + x] =
                    uint16_t(x * 7 + y * 13);
        SDL_SetColorKey(Sprite, SDL_TRUE, Key);
        SDL_SetColorKey(SpriteRle, SDL_TRUE, Key);
        SDL_SetSurfaceRLE(SpriteRle, 1);
    }
};

TSdlPixels& Sdl() {
    static TSdlPixels pixels;
    return pixels;
}

// Sprites land at scattered positions, as on a map.
RECT SpriteRect(int i) {
    const int x = (i * 97) % (800 - Sprite), y = (i * 61) % (600 - Sprite);
    return {x, y, x + Sprite, y + Sprite};
}

void BM_KeyedSpriteBlit_Device(benchmark::State& state) {
    TDevicePixels& d = Device();
    int i = 0;
    for (auto _ : state) {
        const RECT to = SpriteRect(i++);
        d.Screen->Blt(&to, d.Sprite.Get(), nullptr, DDBLT_KEYSRC | DDBLT_WAIT, nullptr);
    }
    state.SetItemsProcessed(state.iterations() * Sprite * Sprite);
}
BENCHMARK(BM_KeyedSpriteBlit_Device);

void KeyedSpriteBlitSdl(benchmark::State& state, SDL_Surface* sprite) {
    TSdlPixels& s = Sdl();
    int i = 0;
    for (auto _ : state) {
        const RECT to = SpriteRect(i++);
        SDL_Rect rect{to.left, to.top, Sprite, Sprite};
        SDL_BlitSurface(sprite, nullptr, s.Screen, &rect);
    }
    state.SetItemsProcessed(state.iterations() * Sprite * Sprite);
}

void BM_KeyedSpriteBlit_SdlBlitSurfaceRLE(benchmark::State& state) {
    KeyedSpriteBlitSdl(state, Sdl().SpriteRle);
}
BENCHMARK(BM_KeyedSpriteBlit_SdlBlitSurfaceRLE);

void BM_KeyedSpriteBlit_SdlBlitSurface(benchmark::State& state) {
    KeyedSpriteBlitSdl(state, Sdl().Sprite);
}
BENCHMARK(BM_KeyedSpriteBlit_SdlBlitSurface);

void BM_OpaqueScreenBlit_Device(benchmark::State& state) {
    TDevicePixels& d = Device();
    for (auto _ : state)
        d.Screen->Blt(nullptr, d.Picture.Get(), nullptr, DDBLT_WAIT, nullptr);
    state.SetBytesProcessed(state.iterations() * 800 * 600 * 2);
}
BENCHMARK(BM_OpaqueScreenBlit_Device);

void BM_OpaqueScreenBlit_SdlBlitSurface(benchmark::State& state) {
    TSdlPixels& s = Sdl();
    for (auto _ : state) {
        SDL_Rect rect{0, 0, 800, 600};
        SDL_BlitSurface(s.Picture, nullptr, s.Screen, &rect);
    }
    state.SetBytesProcessed(state.iterations() * 800 * 600 * 2);
}
BENCHMARK(BM_OpaqueScreenBlit_SdlBlitSurface);

void BM_OpaqueScreenBlit_Memcpy(benchmark::State& state) {
    std::vector<uint8_t> from(800 * 600 * 2, 1), to(800 * 600 * 2);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * 800 * 600 * 2);
}
BENCHMARK(BM_OpaqueScreenBlit_Memcpy);

// A 64 x 64 quad of a premultiplied ARGB texture blended (one, inverse source alpha)
// onto the RGB565 screen; point filtering as for unscaled sprites, bilinear as scaled.
void TexturedQuad(benchmark::State& state, bool linear) {
    TDevicePixels& d = Device();
    TRefPtr<IDirect3D7> direct3D;
    d.DirectDraw->QueryInterface(IID_IDirect3D7, direct3D);
    TRefPtr<IDirect3DDevice7> device;
    direct3D->CreateDevice(IID_IDirect3DHALDevice, d.Screen.Get(), device);
    auto texture = d.Make(Sprite, Sprite, TPixelLayout::ARGB8888, DDSCAPS_TEXTURE);
    DDSURFACEDESC2 desc;
    texture->Lock(nullptr, &desc, 0, nullptr);
    for (int y = 0; y < Sprite; ++y)
        for (int x = 0; x < Sprite; ++x) {
            const uint32_t a = uint32_t((x * 4 + y * 3) & 0xFF);
            const uint32_t texel = a << 24 | (a * 200 / 255) << 16 | (a * 100 / 255) << 8 | a / 2;
            std::memcpy(static_cast<uint8_t*>(desc.lpSurface) + y * desc.lPitch + 4 * x, &texel, 4);
        }
    texture->Unlock(nullptr);
    device->SetTexture(0, texture.Get());
    device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
    device->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_ONE);
    device->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA);
    const uint32_t filter = linear ? D3DTFG_LINEAR : D3DTFG_POINT;
    device->SetTextureStageState(0, D3DTSS_MAGFILTER, filter);
    device->SetTextureStageState(0, D3DTSS_MINFILTER, filter);
    int i = 0;
    for (auto _ : state) {
        const RECT r = SpriteRect(i++);
        const float x0 = float(r.left) - 0.01f, y0 = float(r.top) - 0.01f;
        const float x1 = x0 + Sprite, y1 = y0 + Sprite;
        const D3DTLVERTEX quad[4] = {{x0, y0, 0, 1, 0x00FFFFFF, 0x00FFFFFF, 0, 0},
                                     {x1, y0, 0, 1, 0x00FFFFFF, 0x00FFFFFF, 1, 0},
                                     {x1, y1, 0, 1, 0x00FFFFFF, 0x00FFFFFF, 1, 1},
                                     {x0, y1, 0, 1, 0x00FFFFFF, 0x00FFFFFF, 0, 1}};
        device->DrawPrimitive(D3DPT_TRIANGLEFAN, D3DFVF_TLVERTEX, quad, 4, 0);
    }
    state.SetItemsProcessed(int64_t(device->Statistics().PixelsDrawn));
    device->SetTexture(0, nullptr);
}

void BM_TexturedBlendedQuad_Point(benchmark::State& state) {
    TexturedQuad(state, false);
}
BENCHMARK(BM_TexturedBlendedQuad_Point);

void BM_TexturedBlendedQuad_Bilinear(benchmark::State& state) {
    TexturedQuad(state, true);
}
BENCHMARK(BM_TexturedBlendedQuad_Bilinear);

// An 800 x 600 window with its display window.
struct TBenchWindow {
    Win32::HWND Window = nullptr;
    std::unique_ptr<Win32::SdlDisplayWindow> Display;

    TBenchWindow() {
        Win32::WNDCLASS windowClass;
        windowClass.lpfnWndProc = [](Win32::HWND w, Win32::UINT m, Win32::WPARAM wp,
                                     Win32::LPARAM lp) {
            return Win32::DefWindowProc(w, m, wp, lp);
        };
        windowClass.lpszClassName = "DisplayBench";
        Win32::RegisterClass(windowClass);
        Window = Win32::CreateWindowEx(0, "DisplayBench", "bench", Win32::WS_POPUP, 0, 0, 800, 600,
                                       nullptr, nullptr);
        Display = std::make_unique<Win32::SdlDisplayWindow>(Window, "bench");
    }
    ~TBenchWindow() {
        Display.reset();
        Win32::DestroyWindow(Window);
    }
};

// Conversion of the RGB565 back buffer and upload into the window's streaming texture.
void BM_PresentFrame800x600_ConvertAndUpload(benchmark::State& state) {
    TBenchWindow window;
    const TPixelView pixels = Device().Picture->Pixels();
    for (auto _ : state)
        window.Display->Upload({pixels.Bits, pixels.Pitch, 800, 600, TPixelLayout::RGB565});
    state.SetItemsProcessed(state.iterations() * 800 * 600);
}
BENCHMARK(BM_PresentFrame800x600_ConvertAndUpload)->Unit(benchmark::kMillisecond);

// The whole presentation including SDL's drawing of the texture into the window.
void BM_PresentFrame800x600_Whole(benchmark::State& state) {
    TBenchWindow window;
    const TPixelView pixels = Device().Picture->Pixels();
    for (auto _ : state)
        window.Display->Present({pixels.Bits, pixels.Pitch, 800, 600, TPixelLayout::RGB565});
    state.SetItemsProcessed(state.iterations() * 800 * 600);
}
BENCHMARK(BM_PresentFrame800x600_Whole)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    return Bench::RunWithRatios(argc, argv, [](Bench::TRatioReporter& r) {
        r.Ratio("BM_KeyedSpriteBlit_Device", "BM_KeyedSpriteBlit_SdlBlitSurfaceRLE", 1.0);
        r.Ratio("BM_KeyedSpriteBlit_Device", "BM_KeyedSpriteBlit_SdlBlitSurface", 1.0);
        r.Ratio("BM_OpaqueScreenBlit_Device", "BM_OpaqueScreenBlit_SdlBlitSurface", 1.0);
        r.Ratio("BM_OpaqueScreenBlit_Device", "BM_OpaqueScreenBlit_Memcpy", 0.7);
        const auto point = r.Rate("BM_TexturedBlendedQuad_Point");
        std::printf("Textured blended 64x64 quad, point: best %.0f, median %.0f million pixels/s "
                    "(target 100)\n",
                    point.Max / 1e6, point.Median / 1e6);
        const auto bilinear = r.Rate("BM_TexturedBlendedQuad_Bilinear");
        std::printf("Textured blended 64x64 quad, bilinear: best %.0f, median %.0f million "
                    "pixels/s\n",
                    bilinear.Max / 1e6, bilinear.Median / 1e6);
        const auto present = r.Time("BM_PresentFrame800x600_ConvertAndUpload");
        std::printf("Presenting 800x600 (conversion and upload): best %.3f ms, median %.3f ms "
                    "(target under 2 ms)\n",
                    present.Min, present.Median);
    });
}
