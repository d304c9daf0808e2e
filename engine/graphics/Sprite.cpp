// The sprite as a persistent object: its "GFX " record, copies and blank sprites.
#include "engine/graphics/Sprite.h"

#include "engine/app/D3DFramework.h"
#include "engine/core/DXErrors.h"
#include "engine/core/GraphicsError.h"
#include "platform/display/StoredSurfaceDesc.h"

#include <algorithm>
#include <cstring>

namespace Gfx {

using Data::CheckData;
using namespace Win32;

namespace {

constexpr char Signature[4] = {'G', 'F', 'X', ' '};

// The bytes a stored surface dump holds after its description; 0 when it names none.
uint64_t DumpSize(const DDSURFACEDESC2& desc) {
    if (desc.dwFlags & DDSD_LINEARSIZE)
        return uint32_t(desc.lPitch);
    if ((desc.dwFlags & DDSD_PITCH) && desc.lPitch > 0)
        return uint64_t(desc.lPitch) * desc.dwHeight;
    return 0;
}

// The surface's memory, locked whole; failures raise "Surface lock failed.".
class TSurfaceLock {
public:
    explicit TSurfaceLock(IDirectDrawSurface7* surface) : FSurface(surface) {
        const HRESULT result =
            surface ? surface->Lock(nullptr, &Desc, DDLOCK_WAIT, nullptr) : DDERR_SURFACELOST;
        if (FAILED(result))
            throw Base::EDirectXError("Surface lock failed.", result);
    }
    ~TSurfaceLock() { FSurface->Unlock(nullptr); }
    TSurfaceLock(const TSurfaceLock&) = delete;
    TSurfaceLock& operator=(const TSurfaceLock&) = delete;

    DDSURFACEDESC2 Desc;

private:
    IDirectDrawSurface7* FSurface;
};

} // namespace

void TFrame::LoadFromStream(TStream& stream) {
    TFrameHeader head;
    stream.ReadBuffer(&head, sizeof head);
    CheckData(head.PixelCount <= uint64_t(stream.Remaining()));
    Pixels.resize(head.PixelCount);
    if (head.PixelCount > 0)
        stream.ReadBuffer(Pixels.data(), head.PixelCount);
    CheckData(head.ShadowCount <= uint64_t(stream.Remaining()));
    Shadow.resize(head.ShadowCount);
    if (head.ShadowCount > 0)
        stream.ReadBuffer(Shadow.data(), head.ShadowCount);
}

void TFrame::SaveToStream(TStream& stream) const {
    const TFrameHeader head{uint32_t(Pixels.size()), uint32_t(Shadow.size()), 0};
    stream.WriteBuffer(&head, sizeof head);
    if (!Pixels.empty())
        stream.WriteBuffer(Pixels.data(), int64_t(Pixels.size()));
    if (!Shadow.empty())
        stream.WriteBuffer(Shadow.data(), int64_t(Shadow.size()));
}

TSprite::~TSprite() {
    TSprite::Clear();
}

void TSprite::Assign(const TDataObject* source) {
    const auto* other = dynamic_cast<const TSprite*>(source);
    if (!other) {
        TDataObject::Assign(source);
        return;
    }
    KindWord = other->KindWord;
    PixelWord = other->PixelWord;
    Width = other->Width;
    Height = other->Height;
    HotSpotX = other->HotSpotX;
    HotSpotY = other->HotSpotY;
    ColorKey = other->ColorKey;
    ColorKey2 = other->ColorKey2;
    Frames = other->Frames;
}

void TSprite::Clear() {
    KindWord = PixelWord = 0;
    Width = Height = HotSpotX = HotSpotY = 0;
    ColorKey = ColorKey2 = NoColorKey;
    ReleaseSurfaces();
    RemoveFromRegistry();
    Frames.clear();
}

void TSprite::SetFrameCount(int count) {
    Frames.resize(size_t(std::max(count, 0)));
}

void TSprite::CreateBlank(int width, int height, uint16_t pixelWord) {
    Clear();
    Width = static_cast<int16_t>(std::clamp(width, 0, 0x7FFF));
    Height = static_cast<int16_t>(std::clamp(height, 0, 0x7FFF));
    PixelWord = pixelWord;
    Frames.resize(1);
    Frames[0].Pixels.assign(size_t(Width) * size_t(BytesPerPixel()) * size_t(Height), 0);
}

void TSprite::LoadFromStream(TStream* stream) {
    TDataObject::LoadFromStream(stream);
    TSpriteHeader header;
    stream->ReadBuffer(&header, sizeof header);
    const int kind = header.KindWord & 0xFF;
    const int bits = header.PixelWord & 0xFF;
    const bool blended = (header.PixelWord >> 8) != 0;
    CheckData(std::memcmp(header.Signature, Signature, 4) == 0);
    CheckData(kind <= 8 && (header.KindWord >> 8) <= 3 && header.Reserved1 == 0);
    CheckData(bits == 16 || bits == 24 || bits == 32);
    CheckData(header.FrameCount >= 1 && header.FrameCount <= MaxFrameCount);
    CheckData(header.Width >= 0 && header.Height >= 0);
    // The run-length rows hold 16-bit pixels.
    CheckData(blended || (kind != 1 && kind != 2) || bits == 16);

    KindWord = header.KindWord;
    PixelWord = header.PixelWord;
    Width = header.Width;
    Height = header.Height;
    HotSpotX = header.HotSpotX;
    HotSpotY = header.HotSpotY;
    ColorKey = header.ColorKey;
    ColorKey2 = header.ColorKey2;
    SetFrameCount(header.FrameCount);
    Flags &= ~sfSurfaceOnly;
    try {
        if (kind <= 3)
            LoadFrames(*stream, header.FrameCount);
        else
            LoadSurfaceDumps(*stream, header.FrameCount);
        ConvertToDisplayFormat();
    } catch (...) {
        Clear();
        throw;
    }
}

void TSprite::LoadFrames(TStream& stream, int count) {
    for (int i = 0; i < count; ++i) {
        Frames[size_t(i)].Pixels = TPixelBytes(FrameAllocator);
        Frames[size_t(i)].LoadFromStream(stream);
        CheckFrame(Frames[size_t(i)]);
    }
}

void TSprite::LoadSurfaceDumps(TStream& stream, int count) {
    FSurfaces.assign(size_t(count), nullptr);
    for (int i = 0; i < count; ++i) {
        TStoredSurfaceDesc stored;
        stream.ReadBuffer(&stored, sizeof stored);
        DDSURFACEDESC2 desc = FromStoredSurfaceDesc(stored);
        const uint64_t size = DumpSize(desc);
        const uint32_t bits = desc.ddpfPixelFormat.dwRGBBitCount;
        // The dump must be the sprite's picture and hold every byte its surface has.
        CheckData(desc.dwWidth == uint32_t(Width) && desc.dwHeight == uint32_t(Height));
        CheckData(Width > 0 && Height > 0 && (bits == 16 || bits == 24 || bits == 32));
        CheckData(size >= uint64_t(Width) * (bits / 8) * uint64_t(Height));
        CheckData(size <= uint64_t(stream.Remaining()));
        if (!D3DFrame::D3DFramework)
            throw Base::EGraphicsError("Surface sprite without a display.");
        const int32_t storedSize = desc.lPitch;
        desc.dwFlags &= ~(DDSD_PITCH | DDSD_LINEARSIZE);
        desc.ddsCaps.dwCaps &= ~DDSCAPS_SYSTEMMEMORY;
        FSurfaces[size_t(i)] = D3DFrame::D3DFramework->CreateSurface(desc);
        TSurfaceLock lock(FSurfaces[size_t(i)].Get());
        if (lock.Desc.lPitch != storedSize || DumpSize(lock.Desc) != size)
            throw ClassLib::Exception("Unequal surface sizes!");
        stream.ReadBuffer(lock.Desc.lpSurface, int64_t(size));
    }
    Flags |= sfSurfaces | sfSurfaceOnly;
}

void TSprite::SaveToStream(TStream* stream) const {
    TDataObject::SaveToStream(stream);
    TSpriteHeader header{};
    std::memcpy(header.Signature, Signature, 4);
    header.KindWord = KindWord;
    header.PixelWord = PixelWord;
    header.FrameCount = static_cast<uint16_t>(Frames.size());
    header.Width = Width;
    header.Height = Height;
    header.HotSpotX = HotSpotX;
    header.HotSpotY = HotSpotY;
    header.ColorKey = ColorKey;
    header.ColorKey2 = ColorKey2;
    stream->WriteBuffer(&header, sizeof header);
    if (Kind() <= 3) {
        for (const TFrame& frame : Frames)
            frame.SaveToStream(*stream);
        return;
    }
    SaveSurfaceDumps(*stream);
}

void TSprite::SaveSurfaceDumps(TStream& stream) const {
    for (size_t i = 0; i < Frames.size(); ++i) {
        TSurfaceLock lock(i < FSurfaces.size() ? FSurfaces[i].Get() : nullptr);
        const TStoredSurfaceDesc stored = ToStoredSurfaceDesc(lock.Desc);
        stream.WriteBuffer(&stored, sizeof stored);
        stream.WriteBuffer(lock.Desc.lpSurface, int64_t(DumpSize(lock.Desc)));
    }
}

} // namespace Gfx
