// Sprite records of any bytes: loading rejects what drawing could not read, and what
// loads is drawn in software at every depth, whole and clipped, without a step outside.
#include "engine/graphics/SpriteDrawing.h"

#include <cstddef>
#include <cstdint>
#include <exception>
#include <vector>

namespace {

void DrawEveryWay(Gfx::TSprite& sprite, int bytes) {
    constexpr int Width = 40, Height = 30;
    std::vector<uint8_t> memory(size_t(Width * Height * bytes), 0x5A);
    Win32::DDSURFACEDESC2 desc;
    desc.dwWidth = Width;
    desc.dwHeight = Height;
    desc.lPitch = Width * bytes;
    desc.lpSurface = memory.data();
    desc.ddpfPixelFormat.dwRGBBitCount = uint32_t(8 * bytes);
    const int places[][2] = {{0, 0}, {-3, -2}, {30, 25}, {5, -7}};
    for (int frame = 0; frame < sprite.FrameCount() && frame < 4; ++frame)
        for (const auto& [x, y] : places)
            Gfx::DrawSpriteToLocked(&sprite, desc, frame, x, y, nullptr);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Gfx::TSprite sprite;
    try {
        ClassLib::TMemoryStream stream(std::vector<uint8_t>(data, data + size));
        sprite.LoadFromStream(&stream);
    } catch (const std::exception&) {
        return 0;
    }
    for (int bytes : {2, 3, 4})
        DrawEveryWay(sprite, bytes);
    return 0;
}
