// Loads a "FONT" record made of arbitrary bytes; a font that loads must draw, measure,
// wrap and fit text inside its pixels and the target's, at any depth it converts to.
#include "engine/graphics/GfxFont.h"
#include "platform/display/DirectDraw.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

using namespace Win32;

TRefPtr<IDirectDrawSurface7> Target(IDirectDraw7& directDraw, TPixelLayout layout) {
    DDSURFACEDESC2 desc;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    desc.dwWidth = 37;
    desc.dwHeight = 23;
    desc.ddpfPixelFormat = PixelFormatOf(layout);
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    TRefPtr<IDirectDrawSurface7> surface;
    directDraw.CreateSurface(desc, surface);
    return surface;
}

void Exercise(const Gfx::TFont& font, IDirectDrawSurface7* target, const AnsiString& text) {
    AnsiString everyByte;
    for (int c = 0; c < 256; ++c)
        everyByte += char(c);
    const RECT clip{3, 2, 30, 20};
    font.DrawString(target, -5, -3, nullptr, 0x1234, everyByte);
    font.DrawString(target, 10, 4, &clip, 0xFFFF, text);
    font.DrawWrappedText(target, {1, 1, 33, 22}, nullptr, 0x0842, text);
    font.WrappedTextHeight(text, 17);
    AnsiString fitted = text;
    font.FitTextToWidth(fitted, 20, 3);
    fitted = text;
    font.FitTextToHeight(fitted, 20, -1, 10);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const TRefPtr<IDirectDraw7> directDraw = [] {
        TRefPtr<IDirectDraw7> created;
        DirectDrawCreateEx(nullptr, created);
        return created;
    }();
    Gfx::TFont font;
    try {
        ClassLib::TMemoryStream stream(std::vector<uint8_t>(data, data + size));
        font.LoadFromStream(&stream);
    } catch (const ClassLib::Exception&) {
        return 0;
    }
    const AnsiString text(reinterpret_cast<const char*>(data) + size - std::min<size_t>(size, 48),
                          std::min<size_t>(size, 48));
    for (const TPixelLayout layout :
         {TPixelLayout::RGB565, TPixelLayout::RGB888, TPixelLayout::XRGB8888}) {
        const auto target = Target(*directDraw, layout);
        Exercise(font, target.Get(), text);
    }
    try {
        font.ConvertToDisplayFormat(32, true);
        const auto target = Target(*directDraw, TPixelLayout::XRGB8888);
        Exercise(font, target.Get(), text);
    } catch (const ClassLib::Exception&) {
    }
    return 0;
}
