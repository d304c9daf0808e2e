#include "platform/display/DirectDrawSurface.h"

#include "platform/display/DirectDraw.h"
#include "platform/display/SdlDisplayWindow.h"

#include <algorithm>

namespace Win32 {

using namespace Win32;

namespace {
bool Contains(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}
uint32_t PixelMask(int bytes) {
    return bytes >= 4 ? 0xFFFFFFFFu : (1u << (8 * bytes)) - 1;
}
} // namespace

IDirectDrawSurface7::IDirectDrawSurface7(std::shared_ptr<TDisplayState> display,
                                         const DDSURFACEDESC2& desc, TPixelLayout layout,
                                         bool hasPixels)
    : FDisplay(std::move(display)), FDesc(desc), FLayout(layout) {
    FDesc.dwSize = DDSURFACEDESC2_SIZE;
    FDesc.dwFlags |= DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_PIXELFORMAT;
    FDesc.ddpfPixelFormat = PixelFormatOf(layout);
    FDesc.lPitch = SurfacePitch(int32_t(FDesc.dwWidth), BytesPerPixel(layout));
    FDesc.lpSurface = nullptr;
    if (hasPixels)
        FPixels.resize(size_t(FDesc.lPitch / 4) * FDesc.dwHeight);
    if (FDesc.dwFlags & DDSD_CKSRCBLT) {
        FHasSourceKey = true;
        FSourceKey = FDesc.ddckCKSrcBlt;
    }
    FDisplay->Surfaces.push_back(this);
    if (FDesc.ddsCaps.dwCaps & DDSCAPS_PRIMARYSURFACE)
        FDisplay->PrimaryExists = true;
}

IDirectDrawSurface7::~IDirectDrawSurface7() {
    std::erase(FDisplay->Surfaces, this);
    if (FDesc.ddsCaps.dwCaps & DDSCAPS_PRIMARYSURFACE)
        FDisplay->PrimaryExists = false;
}

TPixelView IDirectDrawSurface7::Pixels() {
    DropDerivedForms();
    return PixelsToRead();
}

void IDirectDrawSurface7::DropDerivedForms() {
    FKeyedRuns.reset();
    FTexelRuns.reset();
}

const TTexelRuns* IDirectDrawSurface7::TexelRuns() {
    // Pixels being written under a lock may still change.
    if (FLocked)
        return nullptr;
    const TPixelView pixels = PixelsToRead();
    if (!FTexelRuns && HasPixels() && TTexelRuns::Fits(pixels))
        FTexelRuns = std::make_unique<TTexelRuns>(pixels);
    return FTexelRuns.get();
}

TPixelView IDirectDrawSurface7::PixelsToRead() const {
    // The view type carries no const; callers of this one only read.
    auto* bits = reinterpret_cast<uint8_t*>(const_cast<uint32_t*>(FPixels.data()));
    return {bits, FDesc.lPitch, Width(), Height(), BytesPerPixel(FLayout)};
}

const TKeyedRuns& IDirectDrawSurface7::KeyedRuns(uint32_t key) {
    if (!FKeyedRuns || FKeyedRuns->Key() != key)
        FKeyedRuns = std::make_unique<TKeyedRuns>(PixelsToRead(), key);
    return *FKeyedRuns;
}

void IDirectDrawSurface7::Attach(TRefPtr<IDirectDrawSurface7> backBuffer) {
    FAttached = std::move(backBuffer);
}

HRESULT IDirectDrawSurface7::Lock(const RECT* rect, DDSURFACEDESC2* desc, uint32_t flags,
                                  void* /*event*/) {
    if (!desc)
        return DDERR_INVALIDPARAMS;
    if (FLost)
        return DDERR_SURFACELOST;
    if (!HasPixels())
        return DDERR_CANTLOCKSURFACE;
    if (FLocked)
        return DDERR_SURFACEBUSY;
    const RECT whole{0, 0, Width(), Height()};
    const RECT area = rect ? *rect : whole;
    if (IsEmpty(area) || !Contains(whole, area))
        return DDERR_INVALIDRECT;
    *desc = FDesc;
    desc->dwFlags |= DDSD_LPSURFACE;
    const TPixelView pixels = flags & DDLOCK_READONLY ? PixelsToRead() : Pixels();
    desc->lpSurface = pixels.At(area.left, area.top);
    FLocked = true;
    return DD_OK;
}

HRESULT IDirectDrawSurface7::Unlock(const RECT* /*rect*/) {
    if (!FLocked)
        return DDERR_NOTLOCKED;
    FLocked = false;
    return DD_OK;
}

HRESULT IDirectDrawSurface7::Present(IDirectDrawSurface7& source, const RECT& sourceRect) {
    SdlDisplayWindow* display = SdlDisplayWindow::Of(FDisplay->Window);
    if (display && source.HasPixels()) {
        const TPixelView pixels = source.PixelsToRead();
        display->Present({pixels.At(sourceRect.left, sourceRect.top), pixels.Pitch,
                          sourceRect.right - sourceRect.left, sourceRect.bottom - sourceRect.top,
                          source.FLayout});
    }
    return DD_OK;
}

HRESULT IDirectDrawSurface7::Blt(const RECT* targetRect, IDirectDrawSurface7* source,
                                 const RECT* sourceRect, uint32_t flags, const DDBLTFX* fx) {
    if (FLost || (source && source->FLost))
        return DDERR_SURFACELOST;
    if (FLocked || (source && source->FLocked))
        return DDERR_SURFACEBUSY;
    const RECT bounds{0, 0, Width(), Height()};
    const int bytes = BytesPerPixel(FLayout);
    if (flags & DDBLT_COLORFILL) {
        if (!fx)
            return DDERR_INVALIDPARAMS;
        RECT area = targetRect ? *targetRect : bounds;
        if (IsEmpty(area) || (!FClipper && !Contains(bounds, area)))
            return DDERR_INVALIDRECT;
        area = Intersect(area, bounds);
        if (HasPixels() && !IsEmpty(area))
            FillPixels(Pixels(), area, fx->dwFillColor & PixelMask(bytes));
        return DD_OK;
    }
    if (!source)
        return DDERR_INVALIDPARAMS;
    const RECT sourceBounds{0, 0, source->Width(), source->Height()};
    RECT from = sourceRect ? *sourceRect : sourceBounds;
    if (IsEmpty(from) || !Contains(sourceBounds, from))
        return DDERR_INVALIDRECT;
    if (FDesc.ddsCaps.dwCaps & DDSCAPS_PRIMARYSURFACE)
        return Present(*source, from);
    if (!HasPixels() || !source->HasPixels())
        return DDERR_CANTLOCKSURFACE;
    if (source->FLayout != FLayout)
        return DDERR_INVALIDPIXELFORMAT;

    TSourceKey key;
    if (flags & DDBLT_KEYSRCOVERRIDE) {
        if (!fx)
            return DDERR_INVALIDPARAMS;
        key = fx->ddckSrcColorkey.dwColorSpaceLowValue & PixelMask(bytes);
    } else if (flags & DDBLT_KEYSRC) {
        if (!source->FHasSourceKey)
            return DDERR_NOCOLORKEY;
        key = source->FSourceKey.dwColorSpaceLowValue & PixelMask(bytes);
    }

    RECT to = targetRect ? *targetRect : bounds;
    if (IsEmpty(to))
        return DDERR_INVALIDRECT;
    // A turned image reaches beyond its rectangle, so it is always cut at the surface's edges.
    if (flags & DDBLT_ROTATIONANGLE) {
        if (!fx)
            return DDERR_INVALIDPARAMS;
        // The angle field is read as signed: callers pass turns either way.
        RotatePixels(Pixels(), to, bounds, source->PixelsToRead(), from,
                     static_cast<int32_t>(fx->dwRotationAngle), key);
        return DD_OK;
    }
    if (!FClipper && !Contains(bounds, to))
        return DDERR_INVALIDRECT;
    if ((flags & DDBLT_DDFX) && fx && (fx->dwDDFX & DDBLTFX_MIRRORLEFTRIGHT)) {
        StretchPixels(Pixels(), to, bounds, source->PixelsToRead(), from, key, true);
        return DD_OK;
    }
    const bool sameSize = to.right - to.left == from.right - from.left &&
                          to.bottom - to.top == from.bottom - from.top;
    if (!sameSize) {
        StretchPixels(Pixels(), to, bounds, source->PixelsToRead(), from, key);
        return DD_OK;
    }
    const RECT visible = Intersect(to, bounds);
    if (IsEmpty(visible))
        return DD_OK;
    from.left += visible.left - to.left;
    from.top += visible.top - to.top;
    from.right -= to.right - visible.right;
    from.bottom -= to.bottom - visible.bottom;
    // Spans are read from the source while the target is written, so a blit within one
    // surface keeps the plain path.
    if (key && source != this)
        source->KeyedRuns(*key).Copy(Pixels(), visible.left, visible.top, source->PixelsToRead(),
                                     from);
    else
        CopyPixels(Pixels(), visible.left, visible.top, source->PixelsToRead(), from, key);
    return DD_OK;
}

HRESULT IDirectDrawSurface7::Flip(IDirectDrawSurface7* /*targetOverride*/, uint32_t /*flags*/) {
    if (!FAttached || !(FDesc.ddsCaps.dwCaps & DDSCAPS_FLIP))
        return DDERR_NOTFLIPPABLE;
    if (FLost || FAttached->FLost)
        return DDERR_SURFACELOST;
    if (FLocked || FAttached->FLocked)
        return DDERR_SURFACEBUSY;
    FPixels.swap(FAttached->FPixels);
    DropDerivedForms();
    FAttached->DropDerivedForms();
    return Present(*this, {0, 0, Width(), Height()});
}

HRESULT IDirectDrawSurface7::GetAttachedSurface(const DDSCAPS2& caps,
                                                TRefPtr<IDirectDrawSurface7>& surface) {
    if (!FAttached || (FAttached->FDesc.ddsCaps.dwCaps & caps.dwCaps) != caps.dwCaps)
        return DDERR_NOTFOUND;
    surface = FAttached;
    return DD_OK;
}

HRESULT IDirectDrawSurface7::SetColorKey(uint32_t flags, const DDCOLORKEY* key) {
    if (flags != DDCKEY_SRCBLT)
        return DDERR_UNSUPPORTED;
    FHasSourceKey = key != nullptr;
    FSourceKey = key ? *key : DDCOLORKEY{};
    return DD_OK;
}

HRESULT IDirectDrawSurface7::GetColorKey(uint32_t flags, DDCOLORKEY* key) const {
    if (flags != DDCKEY_SRCBLT || !key)
        return DDERR_INVALIDPARAMS;
    if (!FHasSourceKey)
        return DDERR_NOCOLORKEY;
    *key = FSourceKey;
    return DD_OK;
}

HRESULT IDirectDrawSurface7::GetSurfaceDesc(DDSURFACEDESC2* desc) const {
    if (!desc)
        return DDERR_INVALIDPARAMS;
    *desc = FDesc;
    if (FHasSourceKey) {
        desc->dwFlags |= DDSD_CKSRCBLT;
        desc->ddckCKSrcBlt = FSourceKey;
    }
    return DD_OK;
}

HRESULT IDirectDrawSurface7::GetPixelFormat(DDPIXELFORMAT* format) const {
    if (!format)
        return DDERR_INVALIDPARAMS;
    *format = FDesc.ddpfPixelFormat;
    return DD_OK;
}

HRESULT IDirectDrawSurface7::GetDC(HDC* dc) {
    if (!dc)
        return DDERR_INVALIDPARAMS;
    if (FLost)
        return DDERR_SURFACELOST;
    if (FDCTaken)
        return DDERR_DCALREADYCREATED;
    if (FLocked)
        return DDERR_SURFACEBUSY;
    if (!HasPixels())
        return DDERR_CANTCREATEDC;
    const TPixelView pixels = Pixels();
    FDC = {pixels.Bits, pixels.Pitch, pixels.Width, pixels.Height, 8 * pixels.BytesPerPixel};
    FDCTaken = true;
    FLocked = true; // drawing through the context holds the surface as a lock does
    *dc = &FDC;
    return DD_OK;
}

HRESULT IDirectDrawSurface7::ReleaseDC(HDC dc) {
    if (!FDCTaken || dc != &FDC)
        return DDERR_NODC;
    FDCTaken = false;
    FLocked = false;
    return DD_OK;
}

HRESULT IDirectDrawSurface7::SetClipper(IDirectDrawClipper* clipper) {
    FClipper = TRefPtr<IDirectDrawClipper>(clipper);
    return DD_OK;
}

HRESULT IDirectDrawSurface7::IsLost() const {
    return FLost ? DDERR_SURFACELOST : DD_OK;
}

HRESULT IDirectDrawSurface7::Restore() {
    if (FAILED(FDisplay->Loss))
        return FDisplay->Loss;
    // Restored pixels are not what the spans were built from.
    FLost = false;
    DropDerivedForms();
    if (FAttached) {
        FAttached->FLost = false;
        FAttached->DropDerivedForms();
    }
    return DD_OK;
}

} // namespace Win32
