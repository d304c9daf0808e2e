// Sprites against references measured in the same run: LZRW1KH decompression against
// memcpy of its output, and 1,000 keyed 64 x 64 sprites drawn onto an 800 x 600 RGB565
// back buffer by blit and by software drawing against SDL2's SDL_BlitSurface doing the
// same keyed blits, with its run-length acceleration on (as SDL programs blit sprites)
// and off. The ratios are printed after the table.
#include "bench/RatioReporter.h"
#include "engine/app/D3DFramework.h"
#include "engine/graphics/GfxLZRW1KH.h"
#include "engine/graphics/SpriteDrawing.h"
#include "tools/LZRW1KHWriter.h"
#include "tools/SpriteWriter.h"

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

namespace {

constexpr int Side = 64;
constexpr int SpritesPerFrame = 1000;

// A disc of radius 30 on transparent pixels: about 70% of its pixels are drawn.
uint32_t DiscPixel(int x, int y) {
    const double d = std::hypot(x - 31.5, y - 31.5);
    return d < 30 ? 0xFF000000u | uint32_t((x * 4) << 16 | (y * 4) << 8 | ((x + y) * 2)) : 0u;
}

Tools::TPicture Disc() {
    Tools::TPicture picture{Side, Side, {}};
    for (int y = 0; y < Side; ++y)
        for (int x = 0; x < Side; ++x)
            picture.Pixels.push_back(DiscPixel(x, y));
    return picture;
}

// Sprites land at scattered positions, as on a map.
void SpritePlace(int i, int& x, int& y) {
    x = (i * 97) % (800 - Side);
    y = (i * 61) % (600 - Side);
}

// A 512 x 512 blended picture as its ARGB bytes (1 MB): flat-shaded regions with soft
// edges, as game art has, so that literals, copies and runs all occur.
const std::vector<uint8_t>& Plain() {
    static const std::vector<uint8_t> plain = [] {
        std::vector<uint8_t> bytes;
        for (int y = 0; y < 512; ++y)
            for (int x = 0; x < 512; ++x) {
                const double d = std::hypot(x - 255.5, y - 255.5);
                const uint32_t alpha = d < 200 ? 255 : d < 240 ? uint32_t(255 - (d - 200) * 6) : 0;
                const uint32_t shade = alpha ? uint32_t((x / 24 + y / 24) % 7 * 30) : 0;
                const uint32_t pixel =
                    alpha << 24 | shade << 16 | (shade / 2) << 8 | uint32_t(x % 3);
                for (int i = 0; i < 4; ++i)
                    bytes.push_back(uint8_t(pixel >> (8 * i)));
            }
        return bytes;
    }();
    return plain;
}

void BM_LZRW1KH_Decompress(benchmark::State& state) {
    const std::vector<uint8_t> packed =
        Tools::LZRW1KHCompressBlocks(Plain().data(), Plain().size());
    std::vector<uint8_t> out(Plain().size());
    for (auto _ : state) {
        Gfx::LZRW1KHDecompressBlocks(packed.data(), out.data(), packed.size(), out.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(out.size()));
}
BENCHMARK(BM_LZRW1KH_Decompress);

void BM_LZRW1KH_Memcpy(benchmark::State& state) {
    std::vector<uint8_t> out(Plain().size());
    for (auto _ : state) {
        std::memcpy(out.data(), Plain().data(), out.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(out.size()));
}
BENCHMARK(BM_LZRW1KH_Memcpy);

bool Accept16(const Win32::DDSURFACEDESC2& mode) {
    return mode.ddpfPixelFormat.dwRGBBitCount == 16;
}

// The display at 800 x 600 in 16 bits and the disc as a keyed raw sprite.
struct TDisplay {
    std::unique_ptr<Gfx::TSprite> Sprite = std::make_unique<Gfx::TSprite>(Gfx::sfConvert);

    TDisplay() {
        D3DFrame::D3DFramework = std::make_unique<D3DFrame::TD3DFramework>(
            nullptr, "Varnholt", 0x03, 800, 600, 16, Accept16);
        D3DFrame::D3DFramework->SetFullScreen(-1, -1, -1);
        ClassLib::TMemoryStream stream(Tools::EncodeSprite({Disc()}, {}));
        Sprite->LoadFromStream(&stream);
    }
};

TDisplay& Display() {
    static TDisplay display;
    return display;
}

void DrawFrame(Gfx::TSprite* sprite) {
    Win32::IDirectDrawSurface7* screen = D3DFrame::D3DFramework->BackBuffer();
    for (int i = 0; i < SpritesPerFrame; ++i) {
        int x, y;
        SpritePlace(i, x, y);
        Gfx::DrawSprite(sprite, screen, 0, x, y, nullptr);
    }
}

void BM_Sprites1000_Blit(benchmark::State& state) {
    Gfx::TSprite* sprite = Display().Sprite.get();
    sprite->PrepareSurfaces(false);
    for (auto _ : state)
        DrawFrame(sprite);
    sprite->ReleaseSurfaces();
    state.SetItemsProcessed(int64_t(state.iterations()) * SpritesPerFrame);
}
BENCHMARK(BM_Sprites1000_Blit)->Unit(benchmark::kMillisecond);

void BM_Sprites1000_Software(benchmark::State& state) {
    Gfx::TSprite* sprite = Display().Sprite.get();
    for (auto _ : state)
        DrawFrame(sprite);
    state.SetItemsProcessed(int64_t(state.iterations()) * SpritesPerFrame);
}
BENCHMARK(BM_Sprites1000_Software)->Unit(benchmark::kMillisecond);

void SpritesSdl(benchmark::State& state, bool runLength) {
    SDL_Surface* screen = SDL_CreateRGBSurfaceWithFormat(0, 800, 600, 16, SDL_PIXELFORMAT_RGB565);
    SDL_Surface* sprite = SDL_CreateRGBSurfaceWithFormat(0, Side, Side, 16, SDL_PIXELFORMAT_RGB565);
    const uint32_t key = Tools::ColorKeyFor(16);
    for (int y = 0; y < Side; ++y)
        for (int x = 0; x < Side; ++x) {
            const uint32_t argb = DiscPixel(x, y);
            static_cast<uint16_t*>(sprite->pixels)[y * sprite->pitch / 2 + x] =
                uint16_t(argb ? Tools::PackPixel(argb, 16) : key);
        }
    SDL_SetColorKey(sprite, SDL_TRUE, key);
    SDL_SetSurfaceRLE(sprite, runLength ? 1 : 0);
    for (auto _ : state)
        for (int i = 0; i < SpritesPerFrame; ++i) {
            int x, y;
            SpritePlace(i, x, y);
            SDL_Rect rect{x, y, Side, Side};
            SDL_BlitSurface(sprite, nullptr, screen, &rect);
        }
    SDL_FreeSurface(sprite);
    SDL_FreeSurface(screen);
    state.SetItemsProcessed(int64_t(state.iterations()) * SpritesPerFrame);
}

void BM_Sprites1000_SdlBlitSurfaceRLE(benchmark::State& state) {
    SpritesSdl(state, true);
}
BENCHMARK(BM_Sprites1000_SdlBlitSurfaceRLE)->Unit(benchmark::kMillisecond);

void BM_Sprites1000_SdlBlitSurface(benchmark::State& state) {
    SpritesSdl(state, false);
}
BENCHMARK(BM_Sprites1000_SdlBlitSurface)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    const int result = Bench::RunWithRatios(argc, argv, [](Bench::TRatioReporter& r) {
        r.Ratio("BM_LZRW1KH_Decompress", "BM_LZRW1KH_Memcpy", 0.25);
        r.Ratio("BM_Sprites1000_Blit", "BM_Sprites1000_SdlBlitSurfaceRLE", 1.0);
        r.Ratio("BM_Sprites1000_Blit", "BM_Sprites1000_SdlBlitSurface", 1.0);
        r.Ratio("BM_Sprites1000_Software", "BM_Sprites1000_SdlBlitSurfaceRLE", 1.0);
        r.Ratio("BM_Sprites1000_Software", "BM_Sprites1000_SdlBlitSurface", 1.0);
        for (const char* name :
             {"BM_Sprites1000_Blit", "BM_Sprites1000_Software", "BM_Sprites1000_SdlBlitSurfaceRLE",
              "BM_Sprites1000_SdlBlitSurface"})
            std::printf("  %-34s best %.0f, median %.0f sprites/s\n", name, r.Rate(name).Max,
                        r.Rate(name).Median);
    });
    D3DFrame::D3DFramework.reset();
    return result;
}
