#include "platform/display/PixelLayout.h"

namespace Win32 {

namespace {
struct TLayoutFormat {
    TPixelLayout Layout;
    uint32_t Bits, Alpha, Red, Green, Blue;
};
constexpr TLayoutFormat LayoutFormats[] = {
    {TPixelLayout::RGB565, 16, 0, 0xF800, 0x07E0, 0x001F},
    {TPixelLayout::RGB555, 16, 0, 0x7C00, 0x03E0, 0x001F},
    {TPixelLayout::ARGB1555, 16, 0x8000, 0x7C00, 0x03E0, 0x001F},
    {TPixelLayout::ARGB4444, 16, 0xF000, 0x0F00, 0x00F0, 0x000F},
    {TPixelLayout::RGB888, 24, 0, 0xFF0000, 0x00FF00, 0x0000FF},
    {TPixelLayout::XRGB8888, 32, 0, 0xFF0000, 0x00FF00, 0x0000FF},
    {TPixelLayout::ARGB8888, 32, 0xFF000000, 0xFF0000, 0x00FF00, 0x0000FF},
};
} // namespace

TPixelLayout LayoutOf(const DDPIXELFORMAT& format) {
    if (!(format.dwFlags & DDPF_RGB) || (format.dwFlags & DDPF_FOURCC))
        return TPixelLayout::Unsupported;
    const uint32_t alpha = (format.dwFlags & DDPF_ALPHAPIXELS) ? format.dwRGBAlphaBitMask : 0;
    for (const TLayoutFormat& f : LayoutFormats)
        if (f.Bits == format.dwRGBBitCount && f.Alpha == alpha && f.Red == format.dwRBitMask &&
            f.Green == format.dwGBitMask && f.Blue == format.dwBBitMask)
            return f.Layout;
    return TPixelLayout::Unsupported;
}

DDPIXELFORMAT PixelFormatOf(TPixelLayout layout) {
    DDPIXELFORMAT format;
    format.dwSize = DDPIXELFORMAT_SIZE;
    for (const TLayoutFormat& f : LayoutFormats)
        if (f.Layout == layout) {
            format.dwFlags = DDPF_RGB | (f.Alpha ? DDPF_ALPHAPIXELS : 0);
            format.dwRGBBitCount = f.Bits;
            format.dwRBitMask = f.Red;
            format.dwGBitMask = f.Green;
            format.dwBBitMask = f.Blue;
            format.dwRGBAlphaBitMask = f.Alpha;
        }
    return format;
}

int BytesPerPixel(TPixelLayout layout) {
    switch (layout) {
    case TPixelLayout::RGB565:
    case TPixelLayout::RGB555:
    case TPixelLayout::ARGB1555:
    case TPixelLayout::ARGB4444:
        return 2;
    case TPixelLayout::RGB888:
        return 3;
    case TPixelLayout::XRGB8888:
    case TPixelLayout::ARGB8888:
        return 4;
    case TPixelLayout::Unsupported:
        break;
    }
    return 0;
}

uint32_t PixelToArgb(TPixelLayout layout, const uint8_t* pixel) {
    switch (layout) {
    case TPixelLayout::RGB565:
        return Rgb565ToArgb(Load16(pixel));
    case TPixelLayout::RGB555:
        return Rgb555ToArgb(Load16(pixel));
    case TPixelLayout::ARGB1555:
        return Argb1555ToArgb(Load16(pixel));
    case TPixelLayout::ARGB4444:
        return Argb4444ToArgb(Load16(pixel));
    case TPixelLayout::RGB888:
        return 0xFF000000u | Load24(pixel);
    case TPixelLayout::XRGB8888:
        return 0xFF000000u | Load32(pixel);
    case TPixelLayout::ARGB8888:
        return Load32(pixel);
    case TPixelLayout::Unsupported:
        break;
    }
    return 0;
}

uint32_t ArgbToPixel(TPixelLayout layout, uint32_t c) {
    switch (layout) {
    case TPixelLayout::RGB565:
        return ArgbToRgb565(c);
    case TPixelLayout::RGB555:
        return ArgbToRgb555(c);
    case TPixelLayout::ARGB1555:
        return ArgbToRgb555(c) | ((c >> 31) << 15);
    case TPixelLayout::ARGB4444:
        return (c >> 16 & 0xF000) | (c >> 12 & 0x0F00) | (c >> 8 & 0x00F0) | (c >> 4 & 0x000F);
    case TPixelLayout::RGB888:
    case TPixelLayout::XRGB8888:
        return c & 0x00FFFFFFu;
    case TPixelLayout::ARGB8888:
        return c;
    case TPixelLayout::Unsupported:
        break;
    }
    return 0;
}

void ConvertRowToXrgb8888(TPixelLayout layout, const uint8_t* source, uint32_t* target, int count) {
    switch (layout) {
    case TPixelLayout::RGB565:
        for (int i = 0; i < count; ++i)
            target[i] = Rgb565ToArgb(Load16(source + 2 * i));
        return;
    case TPixelLayout::RGB555:
    case TPixelLayout::ARGB1555:
        for (int i = 0; i < count; ++i)
            target[i] = Rgb555ToArgb(Load16(source + 2 * i));
        return;
    case TPixelLayout::XRGB8888:
    case TPixelLayout::ARGB8888:
        for (int i = 0; i < count; ++i)
            target[i] = 0xFF000000u | Load32(source + 4 * i);
        return;
    default:
        for (int i = 0; i < count; ++i)
            target[i] = 0xFF000000u | PixelToArgb(layout, source + BytesPerPixel(layout) * i);
        return;
    }
}

} // namespace Win32
