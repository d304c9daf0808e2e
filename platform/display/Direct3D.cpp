#include "platform/display/Direct3D.h"

#include "platform/display/D3DRasterizer.h"

namespace Win32 {

using namespace Win32;

namespace {
uint32_t RenderBitDepth(TPixelLayout layout) {
    switch (BytesPerPixel(layout)) {
    case 2:
        return DDBD_16;
    case 3:
        return DDBD_24;
    case 4:
        return DDBD_32;
    default:
        return 0;
    }
}

bool BlendFactorOf(uint32_t value, TBlendFactor& factor) {
    switch (value) {
    case D3DBLEND_ZERO:
        factor = TBlendFactor::Zero;
        return true;
    case D3DBLEND_ONE:
        factor = TBlendFactor::One;
        return true;
    case D3DBLEND_SRCALPHA:
        factor = TBlendFactor::SrcAlpha;
        return true;
    case D3DBLEND_INVSRCALPHA:
        factor = TBlendFactor::InvSrcAlpha;
        return true;
    default:
        return false;
    }
}
} // namespace

HRESULT IDirectDraw7::QueryInterface(const GUID& iid, TRefPtr<IDirect3D7>& direct3D) {
    direct3D.Reset();
    if (!(iid == IID_IDirect3D7) || !FDisplay->Adapter.HasDirect3D)
        return E_NOINTERFACE;
    direct3D = MakeRef<IDirect3D7>(FDisplay);
    return DD_OK;
}

IDirect3D7::IDirect3D7(std::shared_ptr<TDisplayState> display) : FDisplay(std::move(display)) {}

const TD3DDeviceHardware* IDirect3D7::FindDevice(const GUID& guid) const {
    for (const TD3DDeviceHardware& device : FDisplay->Adapter.Devices)
        if (device.Desc.deviceGUID == guid)
            return &device;
    return nullptr;
}

HRESULT IDirect3D7::EnumDevices(
    const std::function<bool(const char*, const char*, const D3DDEVICEDESC7&)>& callback) const {
    for (const TD3DDeviceHardware& device : FDisplay->Adapter.Devices)
        if (!callback(device.Description.c_str(), device.Name.c_str(), device.Desc))
            break;
    return D3D_OK;
}

HRESULT
IDirect3D7::EnumZBufferFormats(const GUID& guid,
                               const std::function<bool(const DDPIXELFORMAT&)>& callback) const {
    const TD3DDeviceHardware* device = FindDevice(guid);
    if (!device)
        return DDERR_INVALIDPARAMS;
    if (FAILED(device->EnumZBufferFormatsResult))
        return device->EnumZBufferFormatsResult;
    for (const DDPIXELFORMAT& format : device->ZBufferFormats)
        if (!callback(format))
            break;
    return D3D_OK;
}

HRESULT IDirect3D7::CreateDevice(const GUID& guid, IDirectDrawSurface7* renderTarget,
                                 TRefPtr<IDirect3DDevice7>& result) {
    result.Reset();
    const TD3DDeviceHardware* device = FindDevice(guid);
    if (!device || !renderTarget)
        return DDERR_INVALIDPARAMS;
    if (FAILED(device->CreateResult))
        return device->CreateResult;
    if (!(renderTarget->Caps() & DDSCAPS_3DDEVICE) || !renderTarget->HasPixels())
        return DDERR_INVALIDCAPS;
    if (!CanRenderTo(renderTarget->Layout()) ||
        !(device->Desc.dwDeviceRenderBitDepth & RenderBitDepth(renderTarget->Layout())))
        return DDERR_INVALIDPIXELFORMAT;
    result = MakeRef<IDirect3DDevice7>(*device, renderTarget);
    return D3D_OK;
}

IDirect3DDevice7::IDirect3DDevice7(const TD3DDeviceHardware& hardware,
                                   IDirectDrawSurface7* renderTarget)
    : FHardware(hardware) {
    FRenderStates[D3DRENDERSTATE_SRCBLEND] = D3DBLEND_ONE;
    FRenderStates[D3DRENDERSTATE_DESTBLEND] = D3DBLEND_ZERO;
    FRenderStates[D3DRENDERSTATE_CULLMODE] = D3DCULL_CCW;
    for (auto& stage : FStageStates) {
        stage[D3DTSS_MAGFILTER] = D3DTFG_POINT;
        stage[D3DTSS_MINFILTER] = D3DTFN_POINT;
    }
    SetRenderTarget(renderTarget, 0);
}

HRESULT IDirect3DDevice7::GetCaps(D3DDEVICEDESC7* desc) const {
    if (!desc)
        return DDERR_INVALIDPARAMS;
    *desc = FHardware.Desc;
    return D3D_OK;
}

HRESULT IDirect3DDevice7::EnumTextureFormats(
    const std::function<bool(const DDPIXELFORMAT&)>& callback) const {
    if (FAILED(FHardware.EnumTextureFormatsResult))
        return FHardware.EnumTextureFormatsResult;
    for (const DDPIXELFORMAT& format : FHardware.TextureFormats)
        if (!callback(format))
            break;
    return D3D_OK;
}

HRESULT IDirect3DDevice7::BeginScene() {
    if (FInScene)
        return D3DERR_SCENE_IN_SCENE;
    FInScene = true;
    return D3D_OK;
}

HRESULT IDirect3DDevice7::EndScene() {
    if (!FInScene)
        return D3DERR_SCENE_NOT_IN_SCENE;
    FInScene = false;
    return D3D_OK;
}

HRESULT IDirect3DDevice7::SetRenderState(uint32_t state, uint32_t value) {
    if (state >= D3DRENDERSTATE_COUNT)
        return DDERR_INVALIDPARAMS;
    FRenderStates[state] = value;
    return D3D_OK;
}

HRESULT IDirect3DDevice7::GetRenderState(uint32_t state, uint32_t* value) const {
    if (state >= D3DRENDERSTATE_COUNT || !value)
        return DDERR_INVALIDPARAMS;
    *value = FRenderStates[state];
    return D3D_OK;
}

HRESULT IDirect3DDevice7::SetTextureStageState(uint32_t stage, uint32_t type, uint32_t value) {
    if (stage >= D3DMAXTEXTURESTAGES || type >= D3DTSS_COUNT)
        return DDERR_INVALIDPARAMS;
    FStageStates[stage][type] = value;
    return D3D_OK;
}

HRESULT IDirect3DDevice7::GetTextureStageState(uint32_t stage, uint32_t type,
                                               uint32_t* value) const {
    if (stage >= D3DMAXTEXTURESTAGES || type >= D3DTSS_COUNT || !value)
        return DDERR_INVALIDPARAMS;
    *value = FStageStates[stage][type];
    return D3D_OK;
}

HRESULT IDirect3DDevice7::SetTexture(uint32_t stage, IDirectDrawSurface7* texture) {
    if (stage >= D3DMAXTEXTURESTAGES)
        return DDERR_INVALIDPARAMS;
    ++FStatistics.SetTextureCalls;
    FTextures[stage] = TRefPtr<IDirectDrawSurface7>(texture);
    return D3D_OK;
}

HRESULT IDirect3DDevice7::GetTexture(uint32_t stage, TRefPtr<IDirectDrawSurface7>& texture) const {
    if (stage >= D3DMAXTEXTURESTAGES)
        return DDERR_INVALIDPARAMS;
    texture = FTextures[stage];
    return D3D_OK;
}

HRESULT IDirect3DDevice7::SetViewport(const D3DVIEWPORT7* viewport) {
    if (!viewport || !FRenderTarget)
        return DDERR_INVALIDPARAMS;
    const uint64_t right = uint64_t(viewport->dwX) + viewport->dwWidth;
    const uint64_t bottom = uint64_t(viewport->dwY) + viewport->dwHeight;
    if (right > uint64_t(FRenderTarget->Width()) || bottom > uint64_t(FRenderTarget->Height()))
        return DDERR_INVALIDPARAMS;
    FViewport = *viewport;
    return D3D_OK;
}

HRESULT IDirect3DDevice7::GetViewport(D3DVIEWPORT7* viewport) const {
    if (!viewport)
        return DDERR_INVALIDPARAMS;
    *viewport = FViewport;
    return D3D_OK;
}

HRESULT IDirect3DDevice7::SetRenderTarget(IDirectDrawSurface7* target, uint32_t /*flags*/) {
    if (!target || !(target->Caps() & DDSCAPS_3DDEVICE) || !target->HasPixels() ||
        !CanRenderTo(target->Layout()))
        return DDERR_INVALIDPARAMS;
    FRenderTarget = TRefPtr<IDirectDrawSurface7>(target);
    FViewport = {0, 0, uint32_t(target->Width()), uint32_t(target->Height()), 0.0f, 1.0f};
    return D3D_OK;
}

HRESULT IDirect3DDevice7::GetRenderTarget(TRefPtr<IDirectDrawSurface7>& target) const {
    target = FRenderTarget;
    return D3D_OK;
}

bool IDirect3DDevice7::RasterStates(TRasterStates& states) const {
    states.AlphaBlend = FRenderStates[D3DRENDERSTATE_ALPHABLENDENABLE] != 0;
    states.LinearMagnify = FStageStates[0][D3DTSS_MAGFILTER] == D3DTFG_LINEAR;
    states.LinearMinify = FStageStates[0][D3DTSS_MINFILTER] == D3DTFN_LINEAR;
    states.CullMode = FRenderStates[D3DRENDERSTATE_CULLMODE];
    return BlendFactorOf(FRenderStates[D3DRENDERSTATE_SRCBLEND], states.Source) &&
           BlendFactorOf(FRenderStates[D3DRENDERSTATE_DESTBLEND], states.Dest);
}

HRESULT IDirect3DDevice7::DrawPrimitive(uint32_t primitiveType, uint32_t vertexFormat,
                                        const void* vertices, uint32_t vertexCount,
                                        uint32_t /*flags*/) {
    if (primitiveType != D3DPT_TRIANGLEFAN)
        return D3DERR_INVALIDPRIMITIVETYPE;
    if (vertexFormat != D3DFVF_TLVERTEX)
        return D3DERR_INVALIDVERTEXTYPE;
    if (!vertices || vertexCount < 3)
        return DDERR_INVALIDPARAMS;
    if (FRenderTarget->IsLost() != DD_OK)
        return DDERR_SURFACELOST;
    if (FRenderTarget->IsLocked())
        return DDERR_SURFACEBUSY;
    TRasterStates states;
    if (!RasterStates(states))
        return D3DERR_UNSUPPORTEDFACTORVALUE;

    const TRasterTarget target{FRenderTarget->Pixels(),
                               FRenderTarget->Layout(),
                               {int32_t(FViewport.dwX), int32_t(FViewport.dwY),
                                int32_t(FViewport.dwX + FViewport.dwWidth),
                                int32_t(FViewport.dwY + FViewport.dwHeight)}};
    TRasterTexture texture;
    IDirectDrawSurface7* stage0 = FTextures[0].Get();
    const bool textured = stage0 && stage0->HasPixels() && stage0->IsLost() == DD_OK;
    if (textured)
        texture = {stage0->PixelsToRead(), stage0->Layout(), stage0->TexelRuns()};
    ++FStatistics.DrawPrimitiveCalls;
    FStatistics.PixelsDrawn +=
        DrawTriangleFan(target, textured ? &texture : nullptr, states,
                        static_cast<const D3DTLVERTEX*>(vertices), vertexCount);
    return D3D_OK;
}

} // namespace Win32
