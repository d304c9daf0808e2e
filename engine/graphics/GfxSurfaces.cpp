#include "engine/graphics/GfxSurfaces.h"

#include "engine/app/D3DFramework.h"
#include "engine/core/DXErrors.h"
#include "engine/core/GraphicsError.h"
#include "engine/graphics/GfxPixels.h"
#include "engine/graphics/Sprite.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <initializer_list>
#include <vector>

namespace Gfx {

using namespace Win32;
using D3DFrame::D3DFramework;

Data::TObjectList<TSprite> SpriteRegistry(false);
Data::TObjectList<TRegisteredSurfaces> FontRegistry(false);
float TexelOffset = 0.01f;
TTextureFormatChooser TextureFormatChooser = ChooseTextureFormat;

namespace {

constexpr uint32_t FourCC(char a, char b, char c, char d) {
    return uint32_t(uint8_t(a)) | uint32_t(uint8_t(b)) << 8 | uint32_t(uint8_t(c)) << 16 |
           uint32_t(uint8_t(d)) << 24;
}

const std::vector<DDPIXELFORMAT>& DeviceTextureFormats() {
    static const std::vector<DDPIXELFORMAT> none;
    if (!D3DFramework || D3DFramework->AdapterInUse() < 0 || D3DFramework->DeviceInUse() < 0)
        return none;
    return D3DFramework->Adapters()[size_t(D3DFramework->AdapterInUse())]
        .Devices[size_t(D3DFramework->DeviceInUse())]
        .TextureFormats;
}

bool IsFourCC(const DDPIXELFORMAT& f, uint32_t code) {
    return (f.dwFlags & DDPF_FOURCC) && f.dwFourCC == code;
}
bool IsArgb32(const DDPIXELFORMAT& f) {
    return !(f.dwFlags & DDPF_FOURCC) && f.dwRGBBitCount == 32 && (f.dwFlags & DDPF_ALPHAPIXELS);
}
bool IsArgb16With4BitAlpha(const DDPIXELFORMAT& f) {
    return !(f.dwFlags & DDPF_FOURCC) && f.dwRGBBitCount == 16 && (f.dwFlags & DDPF_ALPHAPIXELS) &&
           std::popcount(f.dwRGBAlphaBitMask) == 4;
}

using TFormatRule = bool (*)(const DDPIXELFORMAT&);

// The first format that passes a rule, trying the rules in order.
void ChooseFirst(DDPIXELFORMAT& format, std::initializer_list<TFormatRule> rules) {
    const auto& formats = DeviceTextureFormats();
    for (const TFormatRule rule : rules) {
        const auto found = std::find_if(formats.begin(), formats.end(), rule);
        if (found != formats.end()) {
            format = *found;
            return;
        }
    }
    throw ClassLib::Exception("No valid textures enumerated.");
}

// Where the top bits of one 8-bit source channel go in a target pixel.
struct TChannel {
    int SourceShift;
    uint32_t Mask;
    int Shift; // the mask's trailing zero bits
    int Width; // the mask's bits, at most 8
};

uint32_t PackArgb(uint32_t argb, const TChannel (&channels)[4]) {
    uint32_t pixel = 0;
    for (const TChannel& c : channels)
        if (c.Width > 0)
            pixel |= ((argb >> c.SourceShift & 0xFF) >> (8 - c.Width) << c.Shift) & c.Mask;
    return pixel;
}

TChannel ChannelOf(int sourceShift, uint32_t mask) {
    return {sourceShift, mask, mask ? std::countr_zero(mask) : 0, std::min(std::popcount(mask), 8)};
}

// A system-memory surface of 32-bit ARGB for filling a compressed texture through.
TRefPtr<IDirectDrawSurface7> StagingSurface(const DDSURFACEDESC2& texture) {
    const auto& formats = DeviceTextureFormats();
    const auto found = std::find_if(formats.begin(), formats.end(), IsArgb32);
    if (found == formats.end())
        throw Base::EGraphicsError("32 ARGB format not found!");
    DDSURFACEDESC2 desc;
    D3DFrame::InitSurfaceDesc(desc, DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT,
                              DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY);
    desc.dwWidth = texture.dwWidth;
    desc.dwHeight = texture.dwHeight;
    desc.ddpfPixelFormat = *found;
    return D3DFramework->CreateSurface(desc);
}

} // namespace

void ChooseTextureFormat(DDPIXELFORMAT& format) {
    ChooseFirst(format,
                {[](const DDPIXELFORMAT& f) { return IsFourCC(f, FourCC('D', 'X', 'T', '5')); },
                 [](const DDPIXELFORMAT& f) { return IsFourCC(f, FourCC('D', 'X', 'T', '3')); },
                 IsArgb32, IsArgb16With4BitAlpha});
}

void ChooseTextureFormatNoDXT(DDPIXELFORMAT& format) {
    ChooseFirst(format, {IsArgb32, IsArgb16With4BitAlpha});
}

void FillWithColourKey(IDirectDrawSurface7* surface, uint32_t key) {
    const DDCOLORKEY colourKey{key, key};
    surface->SetColorKey(DDCKEY_SRCBLT, &colourKey);
    DDBLTFX fx;
    fx.dwSize = sizeof fx;
    fx.dwFillColor = key;
    surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
}

void BuildArgbTexture(IDirectDrawSurface7* texture, const void* pixels, int width, int height) {
    DDSURFACEDESC2 desc;
    texture->GetSurfaceDesc(&desc);
    TRefPtr<IDirectDrawSurface7> staging;
    if (desc.ddpfPixelFormat.dwFlags & DDPF_FOURCC)
        staging = StagingSurface(desc);
    IDirectDrawSurface7* target = staging ? staging.Get() : texture;
    DDSURFACEDESC2 locked;
    if (FAILED(target->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr)))
        throw ClassLib::Exception("Surface lock failed.");
    const DDPIXELFORMAT& f = locked.ddpfPixelFormat;
    const TChannel channels[4] = {ChannelOf(24, f.dwRGBAlphaBitMask), ChannelOf(16, f.dwRBitMask),
                                  ChannelOf(8, f.dwGBitMask), ChannelOf(0, f.dwBBitMask)};
    const int bytes = int(f.dwRGBBitCount / 8);
    const int textureWidth = int(locked.dwWidth), textureHeight = int(locked.dwHeight);
    width = std::clamp(width, 0, textureWidth);
    height = std::clamp(height, 0, textureHeight);
    const auto* source = static_cast<const uint8_t*>(pixels);
    for (int y = 0; y < textureHeight; ++y) {
        uint8_t* row = static_cast<uint8_t*>(locked.lpSurface) + ptrdiff_t(y) * locked.lPitch;
        for (int x = 0; x < textureWidth; ++x) {
            uint32_t argb = 0;
            if (x < width && y < height)
                std::memcpy(&argb, source + (size_t(y) * size_t(width) + size_t(x)) * 4, 4);
            StorePixel(row + x * bytes, bytes,
                       x < width && y < height ? PackArgb(argb, channels) : 0);
        }
    }
    target->Unlock(nullptr);
    if (staging)
        texture->Blt(nullptr, staging.Get(), nullptr, DDBLT_WAIT, nullptr);
}

void CalibrateRenderer() {
    IsDisplayRGB565 = !D3DFramework || D3DFrame::IsRGB565(D3DFramework->CurrentMode());
    if (!D3DFramework || !D3DFramework->Device() || !D3DFramework->BackBuffer())
        return;
    IDirect3DDevice7* device = D3DFramework->Device();
    IDirectDrawSurface7* backBuffer = D3DFramework->BackBuffer();
    const uint32_t white = IsDisplayRGB565 ? 0xFFFF : ConvertPixel565To555(0xFFFF);

    DDPIXELFORMAT format;
    TextureFormatChooser(format);
    TRefPtr<IDirectDrawSurface7> texture = D3DFramework->CreateTexture(40, 40, 0, &format);
    const std::vector<uint32_t> black(1600, 0xFF000000);
    BuildArgbTexture(texture.Get(), black.data(), 40, 40);
    DDSURFACEDESC2 textureDesc;
    texture->GetSurfaceDesc(&textureDesc);
    const float u = 40.0f / float(textureDesc.dwWidth), v = 40.0f / float(textureDesc.dwHeight);

    device->BeginScene();
    D3DFramework->ClearBackBuffer();
    DDBLTFX fx;
    fx.dwSize = sizeof fx;
    fx.dwFillColor = white;
    const RECT square{0, 0, 40, 40};
    backBuffer->Blt(&square, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
    const D3DTLVERTEX quad[4] = {{0, 0, 0, 1, 0x00FFFFFF, 0x00FFFFFF, 0, 0},
                                 {40, 0, 0, 1, 0x00FFFFFF, 0x00FFFFFF, u, 0},
                                 {40, 40, 0, 1, 0x00FFFFFF, 0x00FFFFFF, u, v},
                                 {0, 40, 0, 1, 0x00FFFFFF, 0x00FFFFFF, 0, v}};
    device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
    device->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA);
    D3DFramework->SetTexture(texture.Get(), 0);
    device->DrawPrimitive(D3DPT_TRIANGLEFAN, D3DFVF_TLVERTEX, quad, 4, 0);
    device->EndScene();

    TexelOffset = -0.01f;
    DDSURFACEDESC2 locked;
    const HRESULT result = backBuffer->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr);
    if (FAILED(result)) {
        D3DFramework->SetTexture(nullptr, 0);
        throw Base::EDirectXError("Surface lock failed.", result);
    }
    // Not black: the quad missed the top-left pixel, so texels sit half a pixel off.
    if (LoadPixel(static_cast<const uint8_t*>(locked.lpSurface),
                  int(locked.ddpfPixelFormat.dwRGBBitCount / 8)) != 0)
        TexelOffset = -0.51f;
    backBuffer->Unlock(nullptr);
    D3DFramework->ClearBackBuffer();
    D3DFramework->SetTexture(nullptr, 0);
}

void InitGraphicsRegistries() {
    SpriteRegistry.Clear();
    FontRegistry.Clear();
}

void FreeGraphicsRegistries() {
    FontRegistry.Clear();
    SpriteRegistry.Clear();
}

void DoneGraphics() {}

void ReleaseAllSurfaces() {
    for (TSprite* sprite : SpriteRegistry)
        sprite->FreeSurfaces();
    for (TRegisteredSurfaces* font : FontRegistry)
        font->ReleaseRegisteredSurfaces();
}

void RecreateAllSurfaces() {
    for (TSprite* sprite : SpriteRegistry)
        sprite->CreateSurfaces();
    for (TRegisteredSurfaces* font : FontRegistry)
        font->RecreateRegisteredSurfaces();
}

void RestoreAllSurfaces() {
    for (TSprite* sprite : SpriteRegistry)
        sprite->RestoreSurfaces();
    for (TRegisteredSurfaces* font : FontRegistry)
        font->RestoreRegisteredSurfaces();
}

} // namespace Gfx
