// A screen of wrapped text (2,000 characters of DejaVu Sans at 14 pixels) drawn onto an
// 800 x 600 RGB565 surface: blitted from the glyph surface in the prepared colour, drawn
// in software in another colour, and, as the reference, the same glyph rectangles blitted
// from the same glyph pixels with SDL2's SDL_BlitSurface. The ratios and characters per
// second are printed after the table.
#include "bench/RatioReporter.h"
#include "engine/app/D3DFramework.h"
#include "engine/graphics/GfxFont.h"
#include "tools/FontBuilder.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

using namespace Win32;

namespace {

constexpr uint32_t TextColour = 0x2945, OtherColour = 0x8010, Paper = 0xFFDF;
const RECT Box{10, 10, 790, 590};

std::string ScreenOfText() {
    static const char* const words[] = {
        "the",     "northern", "marshes", "keep",  "their",  "secrets", "while",  "lords",
        "of",      "Varnholt", "gather",  "gold,", "swords", "and",     "mana;",  "a",
        "village", "burns",    "beyond",  "river", "Ellor.", "Scouts",  "report", "1250",
        "troops",  "marching", "south",   "at",    "dawn."};
    std::string text;
    for (size_t i = 0; text.size() < 2000; i = (i * 7 + 3) % std::size(words))
        text += std::string(words[i]) + (i % 11 == 5 ? "\n" : " ");
    text.resize(2000);
    return text;
}

bool AcceptAll(const DDSURFACEDESC2&) {
    return true;
}

struct TFontScreen {
    Gfx::TFont Font;
    std::string Text = ScreenOfText();
    std::vector<std::string> Lines; // as wrapped in the box
    TRefPtr<IDirectDrawSurface7> Screen;

    TFontScreen() {
        D3DFrame::D3DFramework = std::make_unique<D3DFrame::TD3DFramework>(
            nullptr, "Varnholt", 0x03, 800, 600, 16, AcceptAll);
        D3DFrame::D3DFramework->SetFullScreen(-1, -1, -1);
        Tools::TFontBuildOptions options;
        options.PixelSize = 14;
        Tools::BuildFont(Tools::DefaultFontFile, options, Font);
        Font.PrepareSurface(TextColour, Paper);
        Screen = D3DFrame::D3DFramework->CreateOffscreenSurface(800, 600, 0);
        std::string line;
        for (const char c : Font.WrapText(Box.right - Box.left, Text)) {
            if (c == '\r' || c == '\n') {
                Lines.push_back(line);
                line.clear();
            } else {
                line += c;
            }
        }
        Lines.push_back(line);
    }
};

TFontScreen& Screen() {
    static TFontScreen screen;
    return screen;
}

// The glyph surface copied into an SDL surface, and the rectangles DrawWrappedText blits.
// The glyphs twice: plain and with SDL's run-length acceleration, as SDL programs blit
// them.
struct TSdlText {
    SDL_Surface* Screen = SDL_CreateRGBSurfaceWithFormat(0, 800, 600, 16, SDL_PIXELFORMAT_RGB565);
    SDL_Surface* Glyphs = nullptr;
    SDL_Surface* GlyphsRle = nullptr;
    std::vector<std::pair<SDL_Rect, SDL_Rect>> Blits; // source, target

    TSdlText() {
        TFontScreen& s = ::Screen();
        const Gfx::TFont& font = s.Font;
        IDirectDrawSurface7& glyphs = *font.GlyphSurface();
        Glyphs = SDL_CreateRGBSurfaceWithFormat(0, glyphs.Width(), glyphs.Height(), 16,
                                                SDL_PIXELFORMAT_RGB565);
        DDSURFACEDESC2 desc;
        glyphs.Lock(nullptr, &desc, DDLOCK_WAIT, nullptr);
        for (int y = 0; y < glyphs.Height(); ++y)
            std::memcpy(static_cast<uint8_t*>(Glyphs->pixels) + y * Glyphs->pitch,
                        static_cast<uint8_t*>(desc.lpSurface) + y * desc.lPitch,
                        size_t(glyphs.Width()) * 2);
        glyphs.Unlock(nullptr);
        SDL_SetColorKey(Glyphs, SDL_TRUE, Paper);
        GlyphsRle = SDL_ConvertSurface(Glyphs, Glyphs->format, 0);
        SDL_SetColorKey(GlyphsRle, SDL_TRUE, Paper);
        SDL_SetSurfaceRLE(GlyphsRle, 1);
        for (size_t n = 0; n < s.Lines.size(); ++n) {
            int x = Box.left;
            const int y = Box.top + int(n) * font.CellHeight();
            for (const char c : s.Lines[n]) {
                const uint8_t g = static_cast<uint8_t>(c);
                const int width = font.GlyphWidth(g);
                if (width > 0)
                    Blits.push_back({{g * font.CellWidth(), 0, width, font.CellHeight()},
                                     {x, y, width, font.CellHeight()}});
                x += width + font.CharacterSpacing;
            }
        }
    }
};

TSdlText& Sdl() {
    static TSdlText text;
    return text;
}

void BM_WrappedText2000_GlyphBlits(benchmark::State& state) {
    TFontScreen& s = Screen();
    for (auto _ : state)
        s.Font.DrawWrappedText(s.Screen.Get(), Box, nullptr, TextColour, s.Text);
    state.SetItemsProcessed(state.iterations() * int64_t(s.Text.size()));
}
BENCHMARK(BM_WrappedText2000_GlyphBlits)->Unit(benchmark::kMicrosecond);

// The lines already wrapped: the blits alone, without the line breaking.
void BM_WrappedLines2000_GlyphBlits(benchmark::State& state) {
    TFontScreen& s = Screen();
    for (auto _ : state)
        for (size_t n = 0; n < s.Lines.size(); ++n)
            s.Font.DrawString(s.Screen.Get(), Box.left, Box.top + int32_t(n) * s.Font.CellHeight(),
                              &Box, TextColour, s.Lines[n]);
    state.SetItemsProcessed(state.iterations() * int64_t(s.Text.size()));
}
BENCHMARK(BM_WrappedLines2000_GlyphBlits)->Unit(benchmark::kMicrosecond);

void BM_WrappedText2000_Software(benchmark::State& state) {
    TFontScreen& s = Screen();
    for (auto _ : state)
        s.Font.DrawWrappedText(s.Screen.Get(), Box, nullptr, OtherColour, s.Text);
    state.SetItemsProcessed(state.iterations() * int64_t(s.Text.size()));
}
BENCHMARK(BM_WrappedText2000_Software)->Unit(benchmark::kMicrosecond);

void GlyphRectsSdl(benchmark::State& state, SDL_Surface* glyphs) {
    TSdlText& t = Sdl();
    for (auto _ : state)
        for (auto [source, target] : t.Blits)
            SDL_BlitSurface(glyphs, &source, t.Screen, &target);
    state.SetItemsProcessed(state.iterations() * int64_t(Screen().Text.size()));
}

void BM_GlyphRects2000_SdlBlitSurfaceRLE(benchmark::State& state) {
    GlyphRectsSdl(state, Sdl().GlyphsRle);
}
BENCHMARK(BM_GlyphRects2000_SdlBlitSurfaceRLE)->Unit(benchmark::kMicrosecond);

void BM_GlyphRects2000_SdlBlitSurface(benchmark::State& state) {
    GlyphRectsSdl(state, Sdl().Glyphs);
}
BENCHMARK(BM_GlyphRects2000_SdlBlitSurface)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    const int result = Bench::RunWithRatios(argc, argv, [](Bench::TRatioReporter& r) {
        const char* const references[] = {"BM_GlyphRects2000_SdlBlitSurfaceRLE",
                                          "BM_GlyphRects2000_SdlBlitSurface"};
        for (const char* name : {"BM_WrappedText2000_GlyphBlits", "BM_WrappedLines2000_GlyphBlits",
                                 "BM_WrappedText2000_Software"})
            for (const char* reference : references)
                r.Ratio(name, reference, 1.0);
        for (const char* name : {"BM_WrappedText2000_GlyphBlits", "BM_WrappedLines2000_GlyphBlits",
                                 "BM_WrappedText2000_Software", references[0], references[1]})
            std::printf("  %-36s best %.2f, median %.2f million characters/s\n", name,
                        r.Rate(name).Max / 1e6, r.Rate(name).Median / 1e6);
    });
    D3DFrame::D3DFramework.reset();
    return result;
}
