// Direct3D 7 over our software rasteriser: device enumeration and creation, and the
// device's states, texture stages, viewport, render target and DrawPrimitive.
#pragma once

#include "platform/display/D3DRasterizer.h"
#include "platform/display/D3DTypes.h"
#include "platform/display/DirectDraw.h"

#include <array>
#include <functional>
#include <memory>

namespace Win32 {

class IDirect3DDevice7;

class IDirect3D7 : public IUnknown {
public:
    explicit IDirect3D7(std::shared_ptr<TDisplayState> display);

    // The callback returns false to stop.
    HRESULT EnumDevices(const std::function<bool(const char* description, const char* name,
                                                 const D3DDEVICEDESC7& desc)>& callback) const;
    HRESULT EnumZBufferFormats(const GUID& device,
                               const std::function<bool(const DDPIXELFORMAT&)>& callback) const;
    HRESULT CreateDevice(const GUID& device, IDirectDrawSurface7* renderTarget,
                         TRefPtr<IDirect3DDevice7>& result);

private:
    const TD3DDeviceHardware* FindDevice(const GUID& guid) const;

    std::shared_ptr<TDisplayState> FDisplay;
};

// What the device has done, for tests and measurements.
struct TDeviceStatistics {
    uint32_t SetTextureCalls = 0;
    uint32_t DrawPrimitiveCalls = 0;
    uint64_t PixelsDrawn = 0;
};

class IDirect3DDevice7 : public IUnknown {
public:
    IDirect3DDevice7(const TD3DDeviceHardware& hardware, IDirectDrawSurface7* renderTarget);

    HRESULT GetCaps(D3DDEVICEDESC7* desc) const;
    HRESULT EnumTextureFormats(const std::function<bool(const DDPIXELFORMAT&)>& callback) const;
    HRESULT BeginScene();
    HRESULT EndScene();
    HRESULT SetRenderState(uint32_t state, uint32_t value);
    HRESULT GetRenderState(uint32_t state, uint32_t* value) const;
    HRESULT SetTextureStageState(uint32_t stage, uint32_t type, uint32_t value);
    HRESULT GetTextureStageState(uint32_t stage, uint32_t type, uint32_t* value) const;
    HRESULT SetTexture(uint32_t stage, IDirectDrawSurface7* texture);
    HRESULT GetTexture(uint32_t stage, TRefPtr<IDirectDrawSurface7>& texture) const;
    HRESULT SetViewport(const D3DVIEWPORT7* viewport);
    HRESULT GetViewport(D3DVIEWPORT7* viewport) const;
    // Also resets the viewport to the whole new target.
    HRESULT SetRenderTarget(IDirectDrawSurface7* target, uint32_t flags);
    HRESULT GetRenderTarget(TRefPtr<IDirectDrawSurface7>& target) const;
    // Triangle fans of pre-transformed vertices (D3DFVF_TLVERTEX), textured from stage 0.
    HRESULT DrawPrimitive(uint32_t primitiveType, uint32_t vertexFormat, const void* vertices,
                          uint32_t vertexCount, uint32_t flags);

    const TDeviceStatistics& Statistics() const { return FStatistics; }
    // The blend and filters DrawPrimitive would apply now; false for factors it cannot.
    bool RasterStates(TRasterStates& states) const;

private:
    TD3DDeviceHardware FHardware;
    TRefPtr<IDirectDrawSurface7> FRenderTarget;
    std::array<TRefPtr<IDirectDrawSurface7>, D3DMAXTEXTURESTAGES> FTextures;
    std::array<uint32_t, D3DRENDERSTATE_COUNT> FRenderStates{};
    std::array<std::array<uint32_t, D3DTSS_COUNT>, D3DMAXTEXTURESTAGES> FStageStates{};
    D3DVIEWPORT7 FViewport;
    bool FInScene = false;
    TDeviceStatistics FStatistics;
};

} // namespace Win32
