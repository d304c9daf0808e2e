// A sprite's device surfaces: made from its frames, freed, and kept in the sprite
// registry while they can be made again from memory.
#include "engine/app/D3DFramework.h"
#include "engine/graphics/GfxScaling.h"
#include "engine/graphics/GfxSurfaces.h"
#include "engine/graphics/Sprite.h"
#include "engine/graphics/SpriteDrawing.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace Gfx {

using namespace Win32;
using D3DFrame::D3DFramework;

void TSprite::CreateSurfaces() {
    if (!D3DFramework || Width == 0 || Height == 0)
        return;
    FSurfaces.assign(size_t(std::max(DrawableFrameCount(), 0)), nullptr);
    for (int i = 0; i < int(FSurfaces.size()); ++i) {
        if (BlendMode() == 0)
            CreateBlitSurface(i);
        else
            CreateTextureSurface(i);
    }
    Flags |= sfSurfaces;
}

void TSprite::CreateBlitSurface(int index) {
    TRefPtr<IDirectDrawSurface7> surface = D3DFramework->CreateOffscreenSurface(Width, Height, 0);
    FSurfaces[size_t(index)] = surface;
    if (ColorKey == NoColorKey) {
        surface->SetColorKey(DDCKEY_SRCBLT, nullptr);
    } else {
        FillWithColourKey(surface.Get(), ColorKey);
    }
    if (SubMode() == 1 && index > 0)
        surface->Blt(nullptr, FSurfaces[size_t(index) - 1].Get(), nullptr, DDBLT_WAIT, nullptr);
    // The sprite has no surfaces yet, so this composes the frame in software.
    DrawSprite(this, surface.Get(), index, 0, 0, nullptr);
}

void TSprite::CreateTextureSurface(int index) {
    DDPIXELFORMAT format;
    TextureFormatChooser(format);
    TRefPtr<IDirectDrawSurface7> texture = D3DFramework->CreateTexture(Width, Height, 0, &format);
    FSurfaces[size_t(index)] = texture;
    std::vector<uint8_t> buffer;
    const uint8_t* pixels = ArgbPixels(Frames[size_t(index)], buffer);
    if (!pixels)
        return;
    DDSURFACEDESC2 desc;
    texture->GetSurfaceDesc(&desc);
    if (int(desc.dwWidth) >= Width && int(desc.dwHeight) >= Height) {
        TextureScaleX = TextureScaleY = 1.0f;
        BuildArgbTexture(texture.Get(), pixels, Width, Height);
        return;
    }
    // Larger than the device's textures: scaled down, and drawn through the scale factors.
    const int width = std::min(int(desc.dwWidth), int(Width));
    const int height = std::min(int(desc.dwHeight), int(Height));
    TextureScaleX = float(width) / float(Width);
    TextureScaleY = float(height) / float(Height);
    std::vector<uint32_t> whole(size_t(Width) * size_t(Height));
    std::memcpy(whole.data(), pixels, whole.size() * 4);
    std::vector<uint32_t> scaled(size_t(width) * size_t(height));
    ScaleArgbNearest(whole.data(), Width, Height, scaled.data(), width, height);
    BuildArgbTexture(texture.Get(), scaled.data(), int(std::floor(Width * TextureScaleX + 0.5f)),
                     int(std::floor(Height * TextureScaleY + 0.5f)));
}

void TSprite::FreeSurfaces() {
    FSurfaces.clear();
    Flags &= ~sfSurfaces;
}

void TSprite::PrepareSurfaces(bool dropPixels) {
    // A shadow layer is drawn in software only.
    if (D3DFramework && !HasSurfaces() && (BlendMode() != 0 || !HasShadow()))
        CreateSurfaces();
    if (!HasSurfaces())
        return;
    if (!dropPixels) {
        // Without pixels the registry could only re-create it blank; its library reads
        // it again around display changes instead.
        if ((Flags & sfSurfaceOnly) == 0 && SpriteRegistry.IndexOf(this) < 0)
            SpriteRegistry.Add(this);
        return;
    }
    for (TFrame& frame : Frames)
        frame.Clear();
    Flags |= sfSurfaceOnly;
    RemoveFromRegistry();
}

void TSprite::ReleaseSurfaces() {
    if (HasSurfaces())
        FreeSurfaces();
    RemoveFromRegistry();
}

void TSprite::RecreateSurfaces() {
    // Without its pixels a sprite has nothing to make surfaces from: its library
    // reads it again instead.
    if (!D3DFramework || (Flags & sfSurfaceOnly))
        return;
    FreeSurfaces();
    CreateSurfaces();
}

void TSprite::RestoreSurfaces() {
    if (HasSurfaces())
        RecreateSurfaces();
}

IDirectDrawSurface7* TSprite::Surface(int frame) const {
    return frame >= 0 && size_t(frame) < FSurfaces.size() ? FSurfaces[size_t(frame)].Get()
                                                          : nullptr;
}

void TSprite::RemoveFromRegistry() {
    SpriteRegistry.Remove(this);
}

} // namespace Gfx
