#include "ui/game/SmallMapPicture.h"

#include "engine/app/D3DFramework.h"
#include "engine/graphics/GfxPixels.h"
#include "engine/graphics/Sprite.h"
#include "engine/graphics/SpriteDrawing.h"
#include "game/world/fog/Fog.h"

#include <algorithm>
#include <cstring>

namespace Main {

namespace {

uint32_t ReadPixel(const uint8_t* at, int bytes) {
    switch (bytes) {
    case 2: {
        uint16_t pixel;
        std::memcpy(&pixel, at, 2);
        return Gfx::UnpackColor565(pixel);
    }
    case 3:
        return uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16;
    case 4: {
        uint32_t pixel;
        std::memcpy(&pixel, at, 4);
        return pixel & 0xFFFFFF;
    }
    default:
        return 0;
    }
}

// Where each target pixel of a stretch from source to target samples: the lower
// source index and the weight (0..256) of the next one.
struct TTap {
    int Index;
    int Next;
    int Weight;
};

std::vector<TTap> BilinearTaps(int source, int target) {
    std::vector<TTap> taps(size_t(std::max(target, 0)));
    for (int i = 0; i < target; ++i) {
        // Pixel centres line up: (i + 0.5) * source / target - 0.5, in 1/256ths.
        const int at = std::max(((2 * i + 1) * source * 256) / (2 * target) - 128, 0);
        const int index = std::min(at >> 8, source - 1);
        taps[size_t(i)] = {index, std::min(index + 1, source - 1), at & 255};
    }
    return taps;
}

uint32_t Lerp(uint32_t a, uint32_t b, int weight) {
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const int ca = int(a >> shift & 255), cb = int(b >> shift & 255);
        out |= uint32_t(ca + ((cb - ca) * weight >> 8)) << shift;
    }
    return out;
}

uint32_t FogPixel(const uint8_t* pixels, int width, int x, int y) {
    uint32_t pixel;
    std::memcpy(&pixel, pixels + (size_t(y) * size_t(width) + size_t(x)) * 4, 4);
    return pixel;
}

} // namespace

std::vector<uint32_t> TSmallMapPicture::SampleThumbnail(Gfx::TSprite& thumbnail, int width,
                                                        int height) {
    std::vector<uint32_t> terrain(size_t(width) * size_t(height), 0);
    const int bytes = thumbnail.BytesPerPixel();
    if (thumbnail.Frames.empty() || thumbnail.Width <= 0 || thumbnail.Height <= 0 || bytes < 2 ||
        bytes > 4)
        return terrain;
    // Unpacked once at its own depth, whatever rows it is stored in.
    std::vector<uint8_t> pixels(size_t(thumbnail.Width) * size_t(thumbnail.Height) * size_t(bytes),
                                0);
    Win32::DDSURFACEDESC2 desc;
    desc.lpSurface = pixels.data();
    desc.lPitch = thumbnail.Width * bytes;
    desc.dwWidth = uint32_t(thumbnail.Width);
    desc.dwHeight = uint32_t(thumbnail.Height);
    desc.ddpfPixelFormat.dwRGBBitCount = uint32_t(bytes * 8);
    Gfx::DrawSpriteToLocked(&thumbnail, desc, 0, 0, 0, nullptr);
    for (int y = 0; y < height; ++y) {
        const int sy = y * thumbnail.Height / height;
        for (int x = 0; x < width; ++x) {
            const int sx = x * thumbnail.Width / width;
            terrain[size_t(y) * size_t(width) + size_t(x)] = ReadPixel(
                &pixels[(size_t(sy) * size_t(thumbnail.Width) + size_t(sx)) * size_t(bytes)],
                bytes);
        }
    }
    return terrain;
}

void TSmallMapPicture::BlendFog(const std::vector<uint32_t>& terrain, int width, int height,
                                const uint8_t* fogPixels, int fogWidth, int fogHeight,
                                std::vector<uint32_t>& out) {
    out.assign(terrain.begin(), terrain.end());
    if (!fogPixels || fogWidth <= 0 || fogHeight <= 0)
        return;
    const std::vector<TTap> columns = BilinearTaps(fogWidth, width);
    const std::vector<TTap> rows = BilinearTaps(fogHeight, height);
    for (int y = 0; y < height; ++y) {
        const TTap& row = rows[size_t(y)];
        for (int x = 0; x < width; ++x) {
            const TTap& column = columns[size_t(x)];
            const uint32_t top =
                Lerp(FogPixel(fogPixels, fogWidth, column.Index, row.Index),
                     FogPixel(fogPixels, fogWidth, column.Next, row.Index), column.Weight);
            const uint32_t bottom =
                Lerp(FogPixel(fogPixels, fogWidth, column.Index, row.Next),
                     FogPixel(fogPixels, fogWidth, column.Next, row.Next), column.Weight);
            const uint32_t fog = Lerp(top, bottom, row.Weight);
            const int alpha = int(fog >> 24);
            uint32_t& pixel = out[size_t(y) * size_t(width) + size_t(x)];
            // Alpha 255 shows the fog's colour alone, 0 the terrain alone.
            pixel = Lerp(pixel, fog & 0xFFFFFF, alpha + (alpha >> 7)) & 0xFFFFFF;
        }
    }
}

Win32::IDirectDrawSurface7* TSmallMapPicture::Update(Gfx::TSprite& thumbnail,
                                                     const GameData::TFog& fog, int width,
                                                     int height) {
    if (!D3DFrame::D3DFramework || !D3DFrame::D3DFramework->DirectDraw() || width <= 0 ||
        height <= 0)
        return nullptr;
    bool compose = false;
    if (!FSurface || &thumbnail != FThumbnail || width != FWidth || height != FHeight) {
        if (!MakeSurface(width, height))
            return nullptr;
        FThumbnail = &thumbnail;
        FWidth = width;
        FHeight = height;
        FTerrain = SampleThumbnail(thumbnail, width, height);
        compose = true;
    }
    const Gfx::TPixelBytes* fogPixels =
        fog.FogImage.Frames.empty() ? nullptr : &fog.FogImage.Frames[0].Pixels;
    const size_t fogBytes = size_t(std::max(fog.FogImage.Width, int16_t(0))) *
                            size_t(std::max(fog.FogImage.Height, int16_t(0))) * 4;
    const bool fogUsable = fogPixels && fog.FogImage.BitsPerPixel() == 32 &&
                           fogPixels->size() >= fogBytes && fogBytes > 0;
    const uint8_t* fogData = fogUsable ? fogPixels->data() : nullptr;
    if (&fog != FFog || FFogPixels.size() != (fogUsable ? fogBytes : 0) ||
        (fogUsable && std::memcmp(FFogPixels.data(), fogData, fogBytes) != 0))
        compose = true;
    if (compose) {
        FFog = &fog;
        FFogPixels.assign(fogData, fogData ? fogData + fogBytes : fogData);
        BlendFog(FTerrain, width, height, fogData, fog.FogImage.Width, fog.FogImage.Height,
                 FComposed);
        ++FCompositions;
        if (!Store(FComposed)) {
            Release();
            return nullptr;
        }
    }
    return FSurface.Get();
}

void TSmallMapPicture::Release() {
    FSurface = nullptr;
    FThumbnail = nullptr;
    FFog = nullptr;
    FWidth = FHeight = 0;
    FFogPixels.clear();
}

bool TSmallMapPicture::MakeSurface(int width, int height) {
    try {
        FSurface = D3DFrame::D3DFramework->CreateOffscreenSurface(width, height, 0);
    } catch (const std::exception&) {
        FSurface = nullptr;
    }
    return static_cast<bool>(FSurface);
}

bool TSmallMapPicture::Store(const std::vector<uint32_t>& pixels) {
    Win32::DDSURFACEDESC2 locked;
    locked.dwSize = Win32::DDSURFACEDESC2_SIZE;
    if (FSurface->Lock(nullptr, &locked, Win32::DDLOCK_WAIT, nullptr) != Win32::DD_OK)
        return false;
    const int bytes = int(locked.ddpfPixelFormat.dwRGBBitCount / 8);
    for (int y = 0; y < FHeight; ++y) {
        uint8_t* row = static_cast<uint8_t*>(locked.lpSurface) + ptrdiff_t(y) * locked.lPitch;
        const uint32_t* from = &pixels[size_t(y) * size_t(FWidth)];
        for (int x = 0; x < FWidth; ++x) {
            if (bytes == 2) {
                const uint16_t pixel = Gfx::PackColor16(from[x]);
                std::memcpy(row + x * 2, &pixel, 2);
            } else if (bytes == 4) {
                std::memcpy(row + x * 4, &from[x], 4);
            }
        }
    }
    FSurface->Unlock(nullptr);
    return true;
}

} // namespace Main
