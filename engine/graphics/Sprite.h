// The game's drawable image: frames of equal size with a hot spot, up to two colour
// keys, an optional shadow layer per frame and, once prepared for drawing, one device
// surface (or texture, for blended sprites) per drawable frame. Stored as a "GFX " record.
//
// Kind word: low byte the storage kind of the frames (0 raw rows, 1 RunLineA rows,
// 2 RunLineB rows, 3 rows of LZRW1KH blocks, 4-8 device surface dumps), high byte the
// sub-mode (0 frames stand alone, 1 cumulative, 2 the last frame lies under the others,
// 3 frame 0 lies under the others). Pixel word: low byte bits per pixel (16, 24, 32),
// high byte the blend mode (0 opaque or keyed; 0xFF premultiplied, 0xFE additive, any
// other value alpha blended). Blended frames hold 32-bit ARGB rows whatever their kind;
// with the kind word exactly 3 the whole frame is one LZRW1KH block sequence.
#pragma once

#include "engine/core/DataObject.h"
#include "engine/graphics/PixelStore.h"
#include "platform/display/DirectDrawSurface.h"

#include <cstdint>
#include <vector>

namespace ClassLib {
class TBitmap;
}

namespace Gfx {

using ClassLib::TStream;
using Win32::DDSURFACEDESC2;
using Win32::IDirectDrawSurface7;
using Win32::RECT;
using Win32::TPixelView;
using Win32::TRefPtr;

// Sprite flags.
constexpr uint32_t sfConvert = 1;     // convert to the display's format after loading
constexpr uint32_t sfSurfaces = 2;    // has device surfaces
constexpr uint32_t sfSurfaceOnly = 4; // the frame pixels are gone; only the surfaces remain

constexpr uint32_t NoColorKey = 0xFFFFFFFF;
constexpr int MaxFrameCount = 1024;

#pragma pack(push, 1)
// The 36 bytes after a "GFX " record's identifier.
struct TSpriteHeader {
    char Signature[4]; // "GFX "
    uint16_t KindWord;
    uint16_t Reserved1;
    uint16_t PixelWord;
    uint16_t FrameCount;
    int16_t Width;
    int16_t Height;
    int16_t HotSpotX;
    int16_t HotSpotY;
    uint32_t ColorKey;
    uint32_t ColorKey2;
    uint32_t Reserved2;
    uint32_t Reserved3;
};
struct TFrameHeader {
    uint32_t PixelCount;
    uint32_t ShadowCount;
    uint32_t Reserved;
};
#pragma pack(pop)
static_assert(sizeof(TSpriteHeader) == 36);
static_assert(sizeof(TFrameHeader) == 12);

struct TFrame {
    TPixelBytes Pixels;
    std::vector<uint8_t> Shadow; // the shadow layer's rows, used with a second colour key

    void Clear() {
        Pixels = {};
        Shadow = {};
    }
    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream) const;
};

class TSprite : public Data::TDataObject {
public:
    explicit TSprite(uint32_t flags = 0) : Flags(flags) {}
    ~TSprite() override;

    void Assign(const TDataObject* source) override;
    // Bad headers and frames whose data drawing could not read raise "Invalid data.";
    // a sprite that fails to load is left empty.
    void LoadFromStream(TStream* stream) override;
    void SaveToStream(TStream* stream) const override;
    void Clear() override;

    void SetFrameCount(int count);
    void CreateBlank(int width, int height, uint16_t pixelWord);
    void ConvertToDisplayFormat();
    void ConvertFrame(int frame);

    // Device surfaces (SpriteSurfaces.cpp).
    void CreateSurfaces();
    void FreeSurfaces();
    // Gives the sprite surfaces when the display exists and it can have them (blended,
    // or without a shadow layer). Without drop it joins the sprite registry, so that
    // its surfaces follow display changes, unless it is surface-only already; with drop
    // its pixels are freed instead.
    void PrepareSurfaces(bool dropPixels);
    void ReleaseSurfaces();
    void RecreateSurfaces();
    void RestoreSurfaces();
    IDirectDrawSurface7* Surface(int frame) const;

    // Software drawing of one frame (SpriteRows.cpp): visible is the part of full (the
    // frame's place) to draw, both in target coordinates. Corrupt rows stop the frame.
    void DrawFrameToLocked(const TPixelView& target, int frame, const RECT& visible,
                           const RECT& full, bool drawShadow);
    // The same into the bitmap's scan lines.
    void DrawFrameToBitmap(ClassLib::TBitmap& target, int frame, const RECT& visible,
                           const RECT& full, bool drawShadow);
    // Rows: each returns where the next row starts, or null for a row that cannot be read.
    const uint8_t* DrawRow(uint8_t* destination, const uint8_t* source, const uint8_t* sourceEnd);
    const uint8_t* SkipRow(const uint8_t* source, const uint8_t* sourceEnd) const;
    const uint8_t* DrawRowClipped(uint8_t* destination, const uint8_t* source,
                                  const uint8_t* sourceEnd, int count, int skip);
    const uint8_t* DrawShadowRow(uint8_t* destination, const uint8_t* source,
                                 const uint8_t* sourceEnd, int bytesPerPixel) const;
    const uint8_t* SkipShadowRow(const uint8_t* source, const uint8_t* sourceEnd) const;
    const uint8_t* DrawShadowRowClipped(uint8_t* destination, const uint8_t* source,
                                        const uint8_t* sourceEnd, int count, int skip,
                                        int bytesPerPixel) const;

    int Kind() const { return KindWord & 0xFF; }
    int SubMode() const { return KindWord >> 8; }
    int BitsPerPixel() const { return PixelWord & 0xFF; }
    int BytesPerPixel() const { return BitsPerPixel() / 8; }
    int BlendMode() const { return PixelWord >> 8; }
    bool HasSurfaces() const { return (Flags & sfSurfaces) != 0; }
    bool HasShadow() const { return ColorKey2 != NoColorKey; }
    // A blended frame stored as one LZRW1KH block sequence.
    bool IsCompressedArgb() const { return KindWord == 3 && BlendMode() != 0; }
    int FrameCount() const { return static_cast<int>(Frames.size()); }
    int DrawableFrameCount() const { return SubMode() == 2 ? FrameCount() - 1 : FrameCount(); }

    uint32_t Flags;
    uint16_t KindWord = 0;
    uint16_t PixelWord = 0;
    int16_t Width = 0;
    int16_t Height = 0;
    int16_t HotSpotX = 0;
    int16_t HotSpotY = 0;
    uint32_t ColorKey = NoColorKey;
    uint32_t ColorKey2 = NoColorKey;
    float TextureScaleX = 1.0f;
    float TextureScaleY = 1.0f;
    std::vector<TFrame> Frames;
    // Where frames read from a stream keep their pixels.
    TPixelAllocator<uint8_t> FrameAllocator;

private:
    void LoadFrames(TStream& stream, int count);
    void LoadSurfaceDumps(TStream& stream, int count);
    void SaveSurfaceDumps(TStream& stream) const;
    void CheckFrame(const TFrame& frame) const;
    void ExpandCompressedRows(TFrame& frame) const;
    void CreateBlitSurface(int index);
    void CreateTextureSurface(int index);
    void RemoveFromRegistry();
    // The frame's ARGB pixels, decompressed into buffer when stored compressed; null
    // when the frame does not hold a whole picture.
    const uint8_t* ArgbPixels(const TFrame& frame, std::vector<uint8_t>& buffer) const;
    const uint8_t* BlendRow(uint8_t* destination, const uint8_t* source, const uint8_t* sourceEnd,
                            int count, int skip) const;
    const uint8_t* DrawCompressedRow(uint8_t* destination, const uint8_t* source,
                                     const uint8_t* sourceEnd, int count, int skip);

    std::vector<TRefPtr<IDirectDrawSurface7>> FSurfaces;
    std::vector<uint8_t> FRowBuffer; // one decompressed kind-3 row
};

} // namespace Gfx
