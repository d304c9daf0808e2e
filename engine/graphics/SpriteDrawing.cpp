#include "engine/graphics/SpriteDrawing.h"

#include "engine/app/D3DFramework.h"
#include "engine/graphics/GfxPixels.h"
#include "engine/graphics/GfxSurfaces.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace Gfx {

using namespace Win32;
using D3DFrame::D3DFramework;

namespace {

// The target's bounds, cut by the clip when there is one.
RECT Bounds(IDirectDrawSurface7* target, const RECT* clip) {
    DDSURFACEDESC2 desc;
    target->GetSurfaceDesc(&desc);
    const RECT bounds{0, 0, int32_t(desc.dwWidth), int32_t(desc.dwHeight)};
    return clip ? Intersect(bounds, *clip) : bounds;
}

RECT FrameRect(const TSprite& sprite, int x, int y) {
    return {x, y, x + sprite.Width, y + sprite.Height};
}

uint32_t BlitFlags(const TSprite& sprite, bool useKey = true) {
    return DDBLT_WAIT | (useKey && sprite.ColorKey != NoColorKey ? DDBLT_KEYSRC : 0);
}

struct TCorner {
    float X, Y, U, V;
};

// The blended sprite's frame texture with its size, or no texture.
struct TTexture {
    IDirectDrawSurface7* Surface = nullptr;
    float Width = 1, Height = 1;
    float U = 0, V = 0; // the far edges of the sprite in it

    TTexture(const TSprite& sprite, int frame) {
        if (!D3DFramework || !D3DFramework->Device() || !(Surface = sprite.Surface(frame)))
            return;
        DDSURFACEDESC2 desc;
        Surface->GetSurfaceDesc(&desc);
        Width = float(desc.dwWidth);
        Height = float(desc.dwHeight);
        U = float(sprite.Width) * sprite.TextureScaleX / Width;
        V = float(sprite.Height) * sprite.TextureScaleY / Height;
    }
};

void SetFilters(IDirect3DDevice7* device, bool linear) {
    const uint32_t filter = linear ? D3DTFG_LINEAR : D3DTFG_POINT;
    device->SetTextureStageState(0, D3DTSS_MAGFILTER, filter);
    device->SetTextureStageState(0, D3DTSS_MINFILTER, filter);
}

// Blend states of the sprite's mode, the filters, the texture, and the fan drawn.
void DrawQuad(const TSprite& sprite, const TTexture& texture, const TCorner (&corners)[4],
              bool linear, bool blend = true) {
    IDirect3DDevice7* device = D3DFramework->Device();
    const int mode = sprite.BlendMode();
    device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, blend ? 1 : 0);
    device->SetRenderState(D3DRENDERSTATE_SRCBLEND,
                           mode == 0xFE ? D3DBLEND_SRCALPHA : D3DBLEND_ONE);
    device->SetRenderState(D3DRENDERSTATE_DESTBLEND,
                           mode == 0xFF ? D3DBLEND_INVSRCALPHA : D3DBLEND_ONE);
    SetFilters(device, linear);
    D3DFramework->SetTexture(texture.Surface, 0);
    D3DTLVERTEX vertices[4];
    for (int i = 0; i < 4; ++i)
        vertices[i] = {corners[i].X, corners[i].Y, 0.0f,         1.0f,
                       0x00FFFFFF,   0x00FFFFFF,   corners[i].U, corners[i].V};
    device->DrawPrimitive(D3DPT_TRIANGLEFAN, D3DFVF_TLVERTEX, vertices, 4, 0);
}

bool Unscaled(const TSprite& sprite) {
    return sprite.TextureScaleX == 1.0f && sprite.TextureScaleY == 1.0f;
}

// A quad over visible, the part of full (the frame's place) that shows. Mirrored, target
// column c samples frame column (full.right - 1 - c) at the same place within the texel
// as the unmirrored draw samples column c, clipped or not.
void DrawVisibleQuad(const TSprite& sprite, const TTexture& texture, const RECT& visible,
                     const RECT& full, bool mirrored, bool blend = true) {
    const float sx = sprite.TextureScaleX / texture.Width;
    const float sy = sprite.TextureScaleY / texture.Height;
    float u0, u1, v0, v1;
    if (visible == full && !mirrored) {
        u0 = 0;
        u1 = (float(sprite.Width) - TexelOffset) * sx;
        v0 = 0;
        v1 = (float(sprite.Height) - TexelOffset) * sy;
    } else {
        const auto u = [&](int column) {
            const int offset = mirrored ? full.right - 1 - column : column - full.left;
            return (float(offset) - TexelOffset) * sx;
        };
        u0 = u(visible.left);
        u1 = u(visible.right);
        v0 = (float(visible.top - full.top) - TexelOffset) * sy;
        v1 = (float(visible.bottom - full.top) - TexelOffset) * sy;
    }
    const auto l = float(visible.left), t = float(visible.top), r = float(visible.right),
               b = float(visible.bottom);
    DrawQuad(sprite, texture, {{l, t, u0, v0}, {r, t, u1, v0}, {r, b, u1, v1}, {l, b, u0, v1}},
             !Unscaled(sprite), blend);
}

bool ValidFrame(const TSprite& sprite, int frame) {
    return frame >= 0 && frame < sprite.FrameCount();
}

void DrawInSoftware(TSprite& sprite, IDirectDrawSurface7* target, int frame, int x, int y,
                    const RECT& visible) {
    RECT area = visible;
    DDSURFACEDESC2 locked;
    if (FAILED(target->Lock(&area, &locked, DDLOCK_WAIT, nullptr)))
        return;
    locked.dwWidth = uint32_t(visible.right - visible.left);
    locked.dwHeight = uint32_t(visible.bottom - visible.top);
    DrawSpriteToLocked(&sprite, locked, frame, x - visible.left, y - visible.top, nullptr);
    target->Unlock(&area);
}

} // namespace

namespace {

// DrawSprite and its mirrored twin: a quad for blended sprites, else a blit, of the
// visible part of the frame's place.
void DrawFromSurface(TSprite& sprite, IDirectDrawSurface7* target, int frame, const RECT& visible,
                     const RECT& full, bool mirrored) {
    if (sprite.BlendMode() != 0) {
        const TTexture texture(sprite, frame);
        if (texture.Surface)
            DrawVisibleQuad(sprite, texture, visible, full, mirrored);
        return;
    }
    IDirectDrawSurface7* surface = sprite.Surface(frame);
    if (!surface)
        return;
    RECT to = visible;
    // Mirrored, target column c shows frame column (full.right - 1 - c).
    RECT from{mirrored ? full.right - visible.right : visible.left - full.left,
              visible.top - full.top,
              mirrored ? full.right - visible.left : visible.right - full.left,
              visible.bottom - full.top};
    DDBLTFX fx;
    fx.dwSize = sizeof fx;
    fx.dwDDFX = DDBLTFX_MIRRORLEFTRIGHT;
    target->Blt(&to, surface, &from, BlitFlags(sprite) | (mirrored ? DDBLT_DDFX : 0),
                mirrored ? &fx : nullptr);
}

} // namespace

void DrawSprite(TSprite* sprite, IDirectDrawSurface7* target, int frame, int x, int y,
                const RECT* clip) {
    if (!sprite || !target || sprite->Width == 0 || sprite->Height == 0 ||
        !ValidFrame(*sprite, frame))
        return;
    const RECT full = FrameRect(*sprite, x, y);
    const RECT visible = Intersect(Bounds(target, clip), full);
    if (IsEmpty(visible))
        return;
    if (sprite->HasSurfaces())
        DrawFromSurface(*sprite, target, frame, visible, full, false);
    else
        DrawInSoftware(*sprite, target, frame, x, y, visible);
}

void DrawSpriteMirrored(TSprite* sprite, IDirectDrawSurface7* target, int frame, int x, int y,
                        const RECT* clip) {
    if (!sprite || !target || !sprite->HasSurfaces())
        return;
    const RECT full = FrameRect(*sprite, x, y);
    const RECT visible = Intersect(Bounds(target, clip), full);
    if (!IsEmpty(visible))
        DrawFromSurface(*sprite, target, frame, visible, full, true);
}

void DrawSpriteBeam(TSprite* sprite, int frame, int x1, int y1, int x2, int y2, int mode) {
    if (!sprite || sprite->BlendMode() == 0 || !sprite->HasSurfaces() || (x1 == x2 && y1 == y2) ||
        mode < 0 || mode > 3)
        return;
    const TTexture texture(*sprite, frame);
    if (!texture.Surface)
        return;
    const double px = x1 - 0.5, py = y1 - 0.5;
    const double dx = x2 - x1, dy = y2 - y1;
    const double length = std::hypot(dx, dy);
    const double ux = dx / length, uy = dy / length;
    const double nx = -uy, ny = ux;
    const double half = (mode & 1) == 0 ? sprite->Height / 2 : sprite->Width / 2;
    const auto corner = [&](double along, double across) {
        return std::pair{float(px + along * ux + across * nx + TexelOffset),
                         float(py + along * uy + across * ny + TexelOffset)};
    };
    const std::pair<float, float> positions[4] = {corner(0, -half), corner(length, -half),
                                                  corner(length, half), corner(0, half)};
    const float U = texture.U, V = texture.V;
    const std::pair<float, float> uv[4][4] = {
        {{0, 0}, {U, 0}, {U, V}, {0, V}},
        {{U, 0}, {U, V}, {0, V}, {0, 0}},
        {{U, V}, {0, V}, {0, 0}, {U, 0}},
        {{0, V}, {0, 0}, {U, 0}, {U, V}},
    };
    TCorner corners[4];
    for (int i = 0; i < 4; ++i)
        corners[i] = {positions[i].first, positions[i].second, uv[mode][i].first,
                      uv[mode][i].second};
    DrawQuad(*sprite, texture, corners, true);
    SetFilters(D3DFramework->Device(), false);
}

void DrawSpriteTransformed(TSprite* sprite, IDirectDrawSurface7* target, int frame, int x, int y,
                           float angle, float scaleX, float scaleY) {
    if (!sprite || !target || !sprite->HasSurfaces())
        return;
    if (sprite->BlendMode() != 0) {
        const TTexture texture(*sprite, frame);
        if (!texture.Surface)
            return;
        const double left = -sprite->HotSpotX * double(scaleX);
        const double top = -sprite->HotSpotY * double(scaleY);
        const double right = left + sprite->Width * double(scaleX);
        const double bottom = top + sprite->Height * double(scaleY);
        const double c = std::cos(angle), s = std::sin(angle);
        const auto corner = [&](double a, double b, float u, float v) {
            return TCorner{float(x + a * c - b * s + TexelOffset),
                           float(y + a * s + b * c + TexelOffset), u, v};
        };
        DrawQuad(*sprite, texture,
                 {corner(left, top, 0, 0), corner(right, top, texture.U, 0),
                  corner(right, bottom, texture.U, texture.V), corner(left, bottom, 0, texture.V)},
                 true);
        SetFilters(D3DFramework->Device(), false);
        return;
    }
    IDirectDrawSurface7* surface = sprite->Surface(frame);
    if (!surface)
        return;
    const int halfWidth = sprite->Width / 2, halfHeight = sprite->Height / 2;
    RECT to{int32_t(std::trunc(x - halfWidth * double(scaleX))),
            int32_t(std::trunc(y - halfHeight * double(scaleY))),
            int32_t(std::trunc(x + (sprite->Width - halfWidth) * double(scaleX))),
            int32_t(std::trunc(y + (sprite->Height - halfHeight) * double(scaleY)))};
    RECT from{0, 0, sprite->Width, sprite->Height};
    DDBLTFX fx;
    fx.dwSize = sizeof fx;
    fx.dwRotationAngle =
        static_cast<uint32_t>(int32_t(std::trunc(angle * 18000.0 / std::numbers::pi)));
    target->Blt(&to, surface, &from, BlitFlags(*sprite) | DDBLT_ROTATIONANGLE, &fx);
}

void DrawSpriteStretched(TSprite* sprite, IDirectDrawSurface7* target, int frame,
                         const RECT& destination, const RECT* clip, bool useColorKey) {
    if (!sprite || !target || !sprite->HasSurfaces() || IsEmpty(destination))
        return;
    const RECT visible = Intersect(Bounds(target, clip), destination);
    if (IsEmpty(visible) || !(visible == destination))
        return;
    if (sprite->BlendMode() != 0) {
        const TTexture texture(*sprite, frame);
        if (!texture.Surface)
            return;
        const float l = float(destination.left) + TexelOffset,
                    t = float(destination.top) + TexelOffset,
                    r = float(destination.right) + TexelOffset,
                    b = float(destination.bottom) + TexelOffset;
        DrawQuad(*sprite, texture,
                 {{l, t, 0, 0},
                  {r, t, texture.U, 0},
                  {r, b, texture.U, texture.V},
                  {l, b, 0, texture.V}},
                 true);
        SetFilters(D3DFramework->Device(), false);
        return;
    }
    IDirectDrawSurface7* surface = sprite->Surface(frame);
    if (!surface)
        return;
    RECT to = destination;
    RECT from{0, 0, sprite->Width, sprite->Height};
    target->Blt(&to, surface, &from, BlitFlags(*sprite, useColorKey), nullptr);
}

bool SampleDeviceFrame(TSprite& sprite, int frame, const RECT& part, TDeviceFrameSamples& samples) {
    const RECT full{0, 0, sprite.Width, sprite.Height};
    if (sprite.BlendMode() == 0 || !sprite.HasSurfaces() || !ValidFrame(sprite, frame) ||
        sprite.Width <= 0 || sprite.Height <= 0 || IsEmpty(part) || Intersect(part, full) != part)
        return false;
    const TTexture texture(sprite, frame);
    IDirect3DDevice7* device = texture.Surface ? D3DFramework->Device() : nullptr;
    if (!device)
        return false;
    DDSURFACEDESC2 desc;
    D3DFrame::InitSurfaceDesc(desc, DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT,
                              DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE);
    desc.dwWidth = uint32_t(sprite.Width);
    desc.dwHeight = uint32_t(sprite.Height);
    desc.ddpfPixelFormat = PixelFormatOf(TPixelLayout::ARGB8888);
    TRefPtr<IDirectDrawSurface7> scratch;
    if (!D3DFramework->DirectDraw() ||
        FAILED(D3DFramework->DirectDraw()->CreateSurface(desc, scratch)))
        return false;
    TRefPtr<IDirectDrawSurface7> renderTarget;
    D3DVIEWPORT7 viewport;
    uint32_t blending = 0;
    device->GetRenderTarget(renderTarget);
    device->GetViewport(&viewport);
    device->GetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, &blending);
    if (FAILED(device->SetRenderTarget(scratch.Get(), 0)))
        return false;
    const size_t count = size_t(sprite.Width) * size_t(sprite.Height);
    // Drawn over two backgrounds: pixels the quad covers read the same on both.
    std::vector<uint32_t> first;
    bool read = true;
    for (const uint32_t background : {0x00000000u, 0xFFFFFFFFu}) {
        DDBLTFX fx;
        fx.dwSize = sizeof fx;
        fx.dwFillColor = background;
        scratch->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
        DrawVisibleQuad(sprite, texture, part, full, false, false);
        DDSURFACEDESC2 locked;
        if (FAILED(scratch->Lock(nullptr, &locked, DDLOCK_WAIT | DDLOCK_READONLY, nullptr))) {
            read = false;
            break;
        }
        std::vector<uint32_t>& pixels = first.empty() ? first : samples.Sources;
        pixels.resize(count);
        for (int y = 0; y < sprite.Height; ++y)
            std::memcpy(pixels.data() + size_t(y) * size_t(sprite.Width),
                        static_cast<const uint8_t*>(locked.lpSurface) +
                            ptrdiff_t(y) * locked.lPitch,
                        size_t(sprite.Width) * 4);
        scratch->Unlock(nullptr);
    }
    // The blend the sprite's quads are drawn with.
    device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
    const bool known = device->RasterStates(samples.States);
    device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, blending);
    if (renderTarget)
        device->SetRenderTarget(renderTarget.Get(), 0);
    device->SetViewport(&viewport);
    if (!read || !known)
        return false;
    samples.Width = sprite.Width;
    samples.Height = sprite.Height;
    samples.Covered.resize(count);
    for (size_t i = 0; i < count; ++i)
        samples.Covered[i] = first[i] == samples.Sources[i];
    return true;
}

namespace {

// The visible part of the frame's place at (x, y) in target, cut by the clip.
RECT VisibleIn(const TPixelView& target, const TSprite& sprite, int x, int y, const RECT* clip) {
    const RECT bounds{0, 0, target.Width, target.Height};
    return Intersect(clip ? Intersect(bounds, *clip) : bounds, FrameRect(sprite, x, y));
}

// The frame over the under-layer its sub-mode names, each with its shadow.
void DrawComposed(TSprite& sprite, const TPixelView& target, int frame, const RECT& visible,
                  const RECT& full) {
    const int last = sprite.FrameCount() - 1;
    if (sprite.SubMode() == 2 && frame != last)
        sprite.DrawFrameToLocked(target, last, visible, full, true);
    else if (sprite.SubMode() == 3 && frame != 0)
        sprite.DrawFrameToLocked(target, 0, visible, full, true);
    sprite.DrawFrameToLocked(target, frame, visible, full, true);
}

} // namespace

void DrawSpriteToLocked(TSprite* sprite, const DDSURFACEDESC2& locked, int frame, int x, int y,
                        const RECT* clip) {
    if (!sprite || !locked.lpSurface || !ValidFrame(*sprite, frame))
        return;
    const TPixelView target{static_cast<uint8_t*>(locked.lpSurface), locked.lPitch,
                            int32_t(locked.dwWidth), int32_t(locked.dwHeight),
                            int32_t(locked.ddpfPixelFormat.dwRGBBitCount / 8)};
    const RECT visible = VisibleIn(target, *sprite, x, y, clip);
    if (!IsEmpty(visible))
        DrawComposed(*sprite, target, frame, visible, FrameRect(*sprite, x, y));
}

void DrawSpriteToBitmap(TSprite* sprite, ClassLib::TBitmap* bitmap, int frame, int x, int y,
                        const RECT* clip) {
    if (!sprite || !bitmap || !ValidFrame(*sprite, frame))
        return;
    const TPixelView target = bitmap->Pixels();
    const RECT visible = VisibleIn(target, *sprite, x, y, clip);
    if (IsEmpty(visible))
        return;
    if (sprite->HasSurfaces())
        FillBitmapRect(bitmap, visible, 0, nullptr);
    else
        DrawComposed(*sprite, target, frame, visible, FrameRect(*sprite, x, y));
}

void FillBitmapRect(ClassLib::TBitmap* bitmap, const RECT& rect, uint16_t color, const RECT* clip) {
    if (!bitmap)
        return;
    const TPixelView target = bitmap->Pixels();
    const RECT bounds = Intersect({0, 0, target.Width, target.Height}, rect);
    const RECT area = clip ? Intersect(bounds, *clip) : bounds;
    if (!IsEmpty(area))
        FillPixels(target, area, target.BytesPerPixel == 2 ? color : UnpackColor16(color));
}

} // namespace Gfx
