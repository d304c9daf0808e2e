// Frames converted once after loading to the pixel format of the display.
#include "engine/app/D3DFramework.h"
#include "engine/core/GraphicsError.h"
#include "engine/graphics/GfxLZRW1KH.h"
#include "engine/graphics/GfxPixels.h"
#include "engine/graphics/GfxRunLength.h"
#include "engine/graphics/Sprite.h"

namespace Gfx {

namespace {

int DisplayBits() {
    return int(D3DFrame::D3DFramework->CurrentMode().ddpfPixelFormat.dwRGBBitCount);
}

[[noreturn]] void RaiseUnsupportedConversion() {
    throw Base::EGraphicsError("Unsupported pixel format conversion.");
}

template <class TConvert>
void ConvertRows(TPixelBytes& block, int height, TConvert convert) {
    uint8_t* p = block.data();
    const uint8_t* const end = p + block.size();
    for (int y = 0; y < height && p; ++y)
        p = convert(p, end);
    Data::CheckData(p != nullptr);
}

} // namespace

void TSprite::ConvertToDisplayFormat() {
    if (Width == 0 || Height == 0 || HasSurfaces() || !(Flags & sfConvert) ||
        !D3DFrame::D3DFramework || BlendMode() != 0)
        return;
    const int display = DisplayBits();
    const int bits = BitsPerPixel();
    const bool toRgb555 = bits == 16 && display == 16 && !IsDisplayRGB565;
    // Compressed rows cannot change in place: they become raw rows first.
    if (Kind() == 3 &&
        (toRgb555 || (bits == 24 && display == 32) || (bits == 32 && display == 24))) {
        for (TFrame& frame : Frames)
            ExpandCompressedRows(frame);
        KindWord &= 0xFF00;
    }
    for (int i = 0; i < FrameCount(); ++i)
        ConvertFrame(i);
    if (toRgb555) {
        for (uint32_t* key : {&ColorKey, &ColorKey2})
            if (*key != NoColorKey)
                *key = ConvertPixel565To555(static_cast<uint16_t>(*key));
    }
    PixelWord = static_cast<uint16_t>((PixelWord & 0xFF00) | display);
}

void TSprite::ConvertFrame(int index) {
    TFrame& frame = Frames.at(size_t(index));
    const int display = DisplayBits();
    const size_t pixels = size_t(Width) * size_t(Height);
    switch (PixelWord) {
    case 16:
        if (display != 16)
            RaiseUnsupportedConversion();
        if (IsDisplayRGB565 || frame.Pixels.empty())
            return;
        switch (Kind()) {
        case 0:
            ConvertRow565To555(frame.Pixels.data(), frame.Pixels.data(), Width, Height, Width * 2,
                               Width * 2);
            break;
        case 1:
            ConvertRows(frame.Pixels, Height, ConvertRleLine565To555);
            break;
        case 2:
            ConvertRows(frame.Pixels, Height, ConvertRle2Line565To555);
            break;
        }
        return;
    case 24:
        if (display == 24)
            return;
        if (display != 32)
            RaiseUnsupportedConversion();
        if (frame.Pixels.size() >= pixels * 3) {
            TPixelBytes wide(pixels * 4);
            ConvertRow24To32(frame.Pixels.data(), wide.data(), Width, Height, Width * 3, Width * 4);
            frame.Pixels = std::move(wide);
        }
        return;
    case 32:
        if (display == 32)
            return;
        if (display != 24)
            RaiseUnsupportedConversion();
        if (frame.Pixels.size() >= pixels * 4) {
            TPixelBytes narrow(pixels * 3);
            ConvertRow32To24(frame.Pixels.data(), narrow.data(), Width, Height, Width * 4,
                             Width * 3);
            frame.Pixels = std::move(narrow);
        }
        return;
    }
}

void TSprite::ExpandCompressedRows(TFrame& frame) const {
    const size_t rowBytes = size_t(Width) * size_t(BytesPerPixel());
    TPixelBytes raw(rowBytes * size_t(Height));
    const uint8_t* p = frame.Pixels.data();
    const uint8_t* const end = p + frame.Pixels.size();
    for (int y = 0; y < Height; ++y) {
        Data::CheckData(end - p >= 2);
        const size_t length = size_t(p[0] | p[1] << 8);
        p += 2;
        Data::CheckData(length <= size_t(end - p));
        Data::CheckData(LZRW1KHDecompressBlocks(p, raw.data() + size_t(y) * rowBytes, length,
                                                rowBytes) == int64_t(rowBytes));
        p += length;
    }
    frame.Pixels = std::move(raw);
}

} // namespace Gfx
