// A DirectDraw 7 surface in ordinary memory: lock, colour keys, Blt, Flip and a
// device context. The primary surface stands for the screen: what is flipped or
// blitted onto it is presented in the window given to SetCooperativeLevel.
#pragma once

#include "platform/RefCounted.h"
#include "platform/ResultCodes.h"
#include "platform/display/DDrawTypes.h"
#include "platform/display/KeyedRuns.h"
#include "platform/display/PixelLayout.h"
#include "platform/display/SurfaceBlit.h"
#include "platform/display/TexelRuns.h"

#include <cstddef>
#include <memory>
#include <new>
#include <vector>

namespace Win32 {

struct TDisplayState;
class IDirectDrawClipper;

// Surface pixels start on a cache line, so that the blits' wide moves split no more
// lines than the position of the rectangle asks for.
template <class T>
struct TCacheLineAllocator {
    using value_type = T;
    static constexpr std::align_val_t Alignment{64};

    TCacheLineAllocator() = default;
    template <class U>
    TCacheLineAllocator(const TCacheLineAllocator<U>&) {}
    T* allocate(size_t count) {
        return static_cast<T*>(::operator new(count * sizeof(T), Alignment));
    }
    void deallocate(T* pointer, size_t) { ::operator delete(pointer, Alignment); }
    bool operator==(const TCacheLineAllocator&) const = default;
};

// The bytes from one row of a surface to the next: rows start on 16-byte boundaries.
constexpr int32_t SurfacePitch(int32_t width, int32_t bytesPerPixel) {
    return (width * bytesPerPixel + 15) & ~15;
}

class IDirectDrawSurface7 : public IUnknown {
public:
    // Made by IDirectDraw7::CreateSurface with a checked description.
    IDirectDrawSurface7(std::shared_ptr<TDisplayState> display, const DDSURFACEDESC2& desc,
                        TPixelLayout layout, bool hasPixels);
    ~IDirectDrawSurface7() override;

    // rect null locks the whole surface; the description gets the size, the pitch, the
    // pixel format and the address of the rectangle's first pixel.
    HRESULT Lock(const RECT* rect, DDSURFACEDESC2* desc, uint32_t flags, void* event);
    HRESULT Unlock(const RECT* rect);
    HRESULT Blt(const RECT* targetRect, IDirectDrawSurface7* source, const RECT* sourceRect,
                uint32_t flags, const DDBLTFX* fx);
    HRESULT Flip(IDirectDrawSurface7* targetOverride, uint32_t flags);
    HRESULT GetAttachedSurface(const DDSCAPS2& caps, TRefPtr<IDirectDrawSurface7>& surface);
    HRESULT SetColorKey(uint32_t flags, const DDCOLORKEY* key);
    HRESULT GetColorKey(uint32_t flags, DDCOLORKEY* key) const;
    HRESULT GetSurfaceDesc(DDSURFACEDESC2* desc) const;
    HRESULT GetPixelFormat(DDPIXELFORMAT* format) const;
    HRESULT GetDC(HDC* dc);
    HRESULT ReleaseDC(HDC dc);
    HRESULT SetClipper(IDirectDrawClipper* clipper);
    HRESULT IsLost() const;
    HRESULT Restore();

    // For the rasteriser, the presenter and the owner's bookkeeping.
    TPixelLayout Layout() const { return FLayout; }
    int32_t Width() const { return int32_t(FDesc.dwWidth); }
    int32_t Height() const { return int32_t(FDesc.dwHeight); }
    uint32_t Caps() const { return FDesc.ddsCaps.dwCaps; }
    bool IsLocked() const { return FLocked; }
    bool HasPixels() const { return !FPixels.empty(); }
    // The pixels to write: drops the run-length form and the texel runs, which would no
    // longer match them.
    TPixelView Pixels();
    // The pixels to read only.
    TPixelView PixelsToRead() const;
    // The texel runs of the pixels as they are, built on first use; null where rows are too
    // wide for them.
    const TTexelRuns* TexelRuns();
    // Whether a keyed blit has built the run-length form and nothing has changed the pixels since.
    bool HasKeyedRuns() const { return FKeyedRuns != nullptr; }
    void Attach(TRefPtr<IDirectDrawSurface7> backBuffer);
    void MarkLost() { FLost = true; }

private:
    HRESULT Present(IDirectDrawSurface7& source, const RECT& sourceRect);
    void DropDerivedForms();
    const TKeyedRuns& KeyedRuns(uint32_t key);

    std::shared_ptr<TDisplayState> FDisplay;
    DDSURFACEDESC2 FDesc;
    TPixelLayout FLayout;
    // 32-bit words keep rows aligned for every pixel size.
    std::vector<uint32_t, TCacheLineAllocator<uint32_t>> FPixels;
    bool FHasSourceKey = false;
    DDCOLORKEY FSourceKey;
    bool FLocked = false;
    bool FLost = false;
    bool FDCTaken = false;
    Win32::TDeviceContext FDC;
    TRefPtr<IDirectDrawSurface7> FAttached;
    TRefPtr<IDirectDrawClipper> FClipper;
    std::unique_ptr<TKeyedRuns> FKeyedRuns; // built on the first keyed blit from this surface
    std::unique_ptr<TTexelRuns> FTexelRuns; // built on the first textured draw from it
};

} // namespace Win32
