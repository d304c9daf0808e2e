// Sprite records of arbitrary bytes loaded with a display present, which takes
// the paths a display-less load never reaches: conversion to the display's pixel
// format, surface dumps read into device surfaces, frames put on surfaces, drawn
// on the back buffer, and saved with their surfaces and read back.
// Input: one byte choosing the display (and whether the pixels are dropped), then the record.
#include "engine/app/D3DFramework.h"
#include "engine/graphics/GfxPixels.h"
#include "engine/graphics/GfxSurfaces.h"
#include "engine/graphics/SpriteDrawing.h"
#include "platform/display/DisplayHardware.h"
#include "platform/win32/Desktop.h"

#include <cstdint>
#include <cstdlib>
#include <exception>
#include <memory>
#include <vector>

namespace {

// 16-bit RGB565, 16-bit RGB555, 32-bit.
constexpr int DisplayKinds = 3;

void UseDisplay(int kind) {
    static int current = -1;
    if (kind == current)
        return;
    // The display goes before the desktop it stands on, as when the game ends:
    // made first, the desktop outlives what is registered after it.
    if (current < 0) {
        Win32::CurrentDesktop();
        std::atexit([] {
            Gfx::FreeGraphicsRegistries();
            D3DFrame::D3DFramework.reset();
        });
    }
    Gfx::FreeGraphicsRegistries();
    D3DFrame::D3DFramework.reset();
    Win32::TDisplayHardware machine = Win32::DefaultDisplayHardware();
    machine.Adapters[0].Rgb555 = kind == 1;
    Win32::InstallDisplayHardware(std::move(machine));
    const int bits = kind == 2 ? 32 : 16;
    const auto accept16 = [](const Win32::DDSURFACEDESC2& mode) {
        return mode.ddpfPixelFormat.dwRGBBitCount == 16;
    };
    const auto accept32 = [](const Win32::DDSURFACEDESC2& mode) {
        return mode.ddpfPixelFormat.dwRGBBitCount == 32;
    };
    D3DFrame::D3DFramework = std::make_unique<D3DFrame::TD3DFramework>(
        nullptr, "Varnholt", 0x03, 800, 600, bits,
        bits == 16 ? D3DFrame::TModeFilter(accept16) : D3DFrame::TModeFilter(accept32));
    D3DFrame::D3DFramework->SetFullScreen(-1, -1, -1);
    Gfx::CalibrateRenderer();
    current = kind;
}

std::unique_ptr<Gfx::TSprite> Load(const std::vector<uint8_t>& record) {
    auto sprite = std::make_unique<Gfx::TSprite>(Gfx::sfConvert);
    ClassLib::TMemoryStream stream(record);
    sprite->LoadFromStream(&stream);
    return sprite;
}

void DrawEveryWay(Gfx::TSprite& sprite) {
    Win32::IDirectDrawSurface7* const target = D3DFrame::D3DFramework->BackBuffer();
    const int places[][2] = {{300, 200}, {-5, 20}, {795, 595}, {20, -4}};
    for (int frame = 0; frame < sprite.FrameCount() && frame < 4; ++frame)
        for (const auto& [x, y] : places) {
            Gfx::DrawSprite(&sprite, target, frame, x, y, nullptr);
            if (sprite.HasSurfaces())
                Gfx::DrawSpriteMirrored(&sprite, target, frame, x, y, nullptr);
        }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    ::setenv("SDL_VIDEODRIVER", "dummy", 0);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    UseDisplay(data[0] % DisplayKinds);
    const bool dropPixels = (data[0] & 0x80) != 0;
    const std::vector<uint8_t> record(data + 1, data + size);
    std::unique_ptr<Gfx::TSprite> sprite;
    try {
        sprite = Load(record);
    } catch (const std::exception&) {
        return 0;
    }
    try {
        DrawEveryWay(*sprite);
        sprite->PrepareSurfaces(dropPixels);
        DrawEveryWay(*sprite);
        ClassLib::TMemoryStream saved;
        sprite->SaveToStream(&saved);
        DrawEveryWay(*Load(saved.Bytes()));
    } catch (const std::exception&) {
    }
    return 0;
}
