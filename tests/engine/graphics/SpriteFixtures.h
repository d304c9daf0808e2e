// Helpers for the sprite tests: pictures made in code, sprites read from the records
// the writers make, and a display (the global Direct3D framework) for one test.
#pragma once

#include "engine/app/D3DFramework.h"
#include "engine/graphics/GfxPixels.h"
#include "engine/graphics/GfxSurfaces.h"
#include "engine/graphics/Sprite.h"
#include "tests/support/DisplayFixtures.h"
#include "tools/SpriteWriter.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace SpriteTests {

using Tools::TBytes;
using Tools::TPicture;
using Tools::TSpriteOptions;

inline TPicture Picture(int width, int height, const std::function<uint32_t(int, int)>& pixel) {
    TPicture picture{width, height, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.Pixels.push_back(pixel(x, y));
    return picture;
}

// Opaque colours that differ per pixel, transparent where (x + y) % 4 == 0, runs of equal
// pixels in the middle rows.
inline TPicture Checker(int width, int height, uint32_t seed = 0) {
    return Picture(width, height, [=](int x, int y) -> uint32_t {
        if ((x + y) % 4 == 0)
            return 0;
        if (y == height / 2)
            return 0xFF204080;
        return 0xFF000000 | ((x * 37 + y * 91 + seed * 13) & 0xFF) << 16 | (y * 29 & 0xFF) << 8 |
               (x * 53 & 0xFF);
    });
}

inline std::unique_ptr<Gfx::TSprite> LoadSprite(const TBytes& record, uint32_t flags = 0) {
    auto sprite = std::make_unique<Gfx::TSprite>(flags);
    ClassLib::TMemoryStream stream(record);
    sprite->LoadFromStream(&stream);
    return sprite;
}

inline TBytes SaveSprite(const Gfx::TSprite& sprite) {
    ClassLib::TMemoryStream stream;
    sprite.SaveToStream(&stream);
    return stream.Bytes();
}

inline std::string ErrorOfLoad(const TBytes& record, uint32_t flags = 0) {
    try {
        LoadSprite(record, flags);
    } catch (const std::exception& e) {
        return ClassLib::ExceptionMessage(e);
    }
    return "no error";
}

// A 16-bit pixel buffer standing in for locked memory.
struct TPixels16 {
    int Width, Height;
    std::vector<uint16_t> Pixels;
    TPixels16(int width, int height, uint16_t fill)
        : Width(width), Height(height), Pixels(size_t(width) * size_t(height), fill) {}
    Win32::DDSURFACEDESC2 Desc() {
        Win32::DDSURFACEDESC2 desc;
        desc.dwWidth = uint32_t(Width);
        desc.dwHeight = uint32_t(Height);
        desc.lPitch = Width * 2;
        desc.lpSurface = Pixels.data();
        desc.ddpfPixelFormat = Win32::PixelFormatOf(Win32::TPixelLayout::RGB565);
        return desc;
    }
    uint16_t At(int x, int y) const { return Pixels[size_t(y) * size_t(Width) + size_t(x)]; }
};

// What a keyed 16-bit sprite of the picture leaves on a background of fill at (x, y).
inline uint16_t Expected(const TPicture& picture, int px, int py, uint16_t background) {
    const uint32_t argb = picture.Pixels[size_t(py) * size_t(picture.Width) + size_t(px)];
    if (argb >> 24 < 128)
        return background;
    const uint16_t pixel = Gfx::PackColor565(argb);
    return pixel == 0xF81F ? 0xF81E : pixel;
}

// Compares a target of width x height pixels (read by pixel(x, y)) on which the picture
// was drawn at (x, y), maybe mirrored and clipped, with what it should show; reports
// the first few differences and returns how many pixels differ.
inline int CountWrongPixels(int width, int height, const std::function<uint16_t(int, int)>& pixel,
                            const TPicture& picture, int x, int y, const Win32::RECT* clip,
                            bool mirrored, uint16_t background, const std::string& what) {
    int wrong = 0;
    for (int ty = 0; ty < height; ++ty)
        for (int tx = 0; tx < width; ++tx) {
            int px = tx - x;
            const int py = ty - y;
            const bool inside = px >= 0 && py >= 0 && px < picture.Width && py < picture.Height &&
                                (!clip || (tx >= clip->left && tx < clip->right &&
                                           ty >= clip->top && ty < clip->bottom));
            if (mirrored)
                px = picture.Width - 1 - px;
            const uint16_t expected = inside ? Expected(picture, px, py, background) : background;
            if (pixel(tx, ty) != expected && wrong++ < 3)
                ADD_FAILURE() << what << ": pixel " << tx << "," << ty << " is " << std::hex
                              << pixel(tx, ty) << ", expected " << expected;
        }
    return wrong;
}

inline bool Accept16(const Win32::DDSURFACEDESC2& mode) {
    return mode.ddpfPixelFormat.dwRGBBitCount == 16;
}
inline bool Accept32(const Win32::DDSURFACEDESC2& mode) {
    return mode.ddpfPixelFormat.dwRGBBitCount == 32;
}

// The global Direct3D framework full screen at 800 x 600 on the given machine, and the
// graphics globals put back afterwards.
class TScopedDisplay {
public:
    explicit TScopedDisplay(int bits = 16,
                            Win32::TDisplayHardware machine = Win32::DefaultDisplayHardware(),
                            bool calibrate = true)
        : FInstalled(std::move(machine)) {
        D3DFrame::D3DFramework = std::make_unique<D3DFrame::TD3DFramework>(
            nullptr, "Varnholt", 0x03, 800, 600, bits, bits == 16 ? Accept16 : Accept32);
        D3DFrame::D3DFramework->SetFullScreen(-1, -1, -1);
        if (calibrate)
            Gfx::CalibrateRenderer();
    }
    ~TScopedDisplay() {
        Gfx::FreeGraphicsRegistries();
        D3DFrame::D3DFramework.reset();
        Gfx::IsDisplayRGB565 = true;
        Gfx::TexelOffset = 0.01f;
        Gfx::TextureFormatChooser = Gfx::ChooseTextureFormat;
    }
    D3DFrame::TD3DFramework& Framework() { return *D3DFrame::D3DFramework; }
    Win32::IDirectDrawSurface7* BackBuffer() { return Framework().BackBuffer(); }

private:
    TestSupport::InstalledHardware FInstalled;
};

inline Win32::TDisplayHardware Rgb555Machine() {
    Win32::TDisplayHardware machine = Win32::DefaultDisplayHardware();
    machine.Adapters[0].Rgb555 = true;
    return machine;
}

} // namespace SpriteTests
