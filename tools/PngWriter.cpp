#include "tools/PngWriter.h"

#include "platform/Exception.h"
#include "platform/PixelLayout.h"

#include <png.h>

namespace Tools {

void SavePng(const AnsiString& fileName, int width, int height, const std::vector<uint32_t>& rgb) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(width);
    image.height = png_uint_32(height);
    image.format = PNG_FORMAT_BGRA; // 0xAARRGGBB in little-endian memory
    std::vector<uint32_t> pixels(rgb.size());
    for (size_t i = 0; i < rgb.size(); ++i)
        pixels[i] = rgb[i] | 0xFF000000u;
    if (size_t(width) * size_t(height) != rgb.size() ||
        !png_image_write_to_file(&image, fileName.c_str(), 0, pixels.data(), 0, nullptr))
        throw ClassLib::EFCreateError(ClassLib::Format("Cannot create file \"%s\".", fileName));
}

void SaveSurfacePng(const AnsiString& fileName, Win32::IDirectDrawSurface7& surface) {
    Win32::DDSURFACEDESC2 desc;
    if (surface.Lock(nullptr, &desc, Win32::DDLOCK_WAIT, nullptr) != Win32::DD_OK)
        throw ClassLib::Exception(
            ClassLib::Format("Cannot read the picture for \"%s\".", fileName));
    const Win32::TPixelLayout layout = Win32::LayoutOf(desc.ddpfPixelFormat);
    const int bytes = Win32::BytesPerPixel(layout);
    std::vector<uint32_t> rgb;
    rgb.reserve(size_t(desc.dwWidth) * desc.dwHeight);
    for (uint32_t y = 0; y < desc.dwHeight; ++y) {
        const auto* row = static_cast<const uint8_t*>(desc.lpSurface) + y * desc.lPitch;
        for (uint32_t x = 0; x < desc.dwWidth; ++x)
            rgb.push_back(Win32::PixelToArgb(layout, row + x * bytes) & 0xFFFFFF);
    }
    surface.Unlock(nullptr);
    SavePng(fileName, int(desc.dwWidth), int(desc.dwHeight), rgb);
}

} // namespace Tools
