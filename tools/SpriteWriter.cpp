#include "tools/SpriteWriter.h"

#include "engine/graphics/GfxPixels.h"
#include "engine/graphics/Sprite.h"
#include "engine/graphics/SpriteList.h"
#include "platform/display/DirectDrawSurface.h"
#include "platform/display/StoredSurfaceDesc.h"
#include "tools/LZRW1KHWriter.h"

#include <algorithm>
#include <cstring>

namespace Tools {

using ClassLib::Exception;
using ClassLib::Format;

namespace {

// Appends size bytes (resize and copy: GCC 12 warns wrongly about inserting after a push).
void Append(TBytes& out, const void* data, size_t size) {
    const size_t at = out.size();
    out.resize(at + size);
    if (size > 0)
        std::memcpy(out.data() + at, data, size);
}
void Append(TBytes& out, const TBytes& data) {
    Append(out, data.data(), data.size());
}

void Put16(TBytes& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void PutPixel(TBytes& out, uint16_t pixel) {
    Put16(out, pixel);
}

// Puts the row's byte length (counting itself) in front of it.
TBytes WithLength(const TBytes& body, const char* what) {
    if (body.size() + 2 > 0xFFFF)
        throw Exception(Format("%s row is too long for its u16 length.", what));
    TBytes row;
    Put16(row, uint32_t(body.size() + 2));
    Append(row, body);
    return row;
}

int RunLength(const uint16_t* pixels, int from, int width, int limit) {
    int n = 1;
    while (from + n < width && n < limit && pixels[from + n] == pixels[from])
        ++n;
    return n;
}

// RunLineB items: a control byte with its data, paired into control words.
class TRunLineBItems {
public:
    void Add(int8_t control, const uint16_t* data, int count) {
        FItems.push_back({control, TBytes()});
        for (int i = 0; i < count; ++i)
            PutPixel(FItems.back().Data, data[i]);
    }
    TBytes Body() const {
        TBytes out;
        for (size_t i = 0; i < FItems.size(); i += 2) {
            const bool pair = i + 1 < FItems.size();
            out.push_back(static_cast<uint8_t>(FItems[i].Control));
            out.push_back(pair ? static_cast<uint8_t>(FItems[i + 1].Control) : 0);
            Append(out, FItems[i].Data);
            if (pair)
                Append(out, FItems[i + 1].Data);
        }
        if (FItems.size() % 2 == 0)
            out.insert(out.end(), {0, 0}); // an even count still needs its end mark
        return out;
    }

private:
    struct TItem {
        int8_t Control;
        TBytes Data;
    };
    std::vector<TItem> FItems;
};

uint8_t Alpha(uint32_t argb) {
    return static_cast<uint8_t>(argb >> 24);
}

// The picture's pixels as a sprite of the options stores them, row after row.
TBytes FramePixels(const TPicture& picture, const TSpriteOptions& options) {
    TBytes out;
    const bool blended = options.BlendMode != 0;
    const int bytes = blended ? 4 : options.Bits / 8;
    const uint32_t key = ColorKeyFor(options.Bits);
    for (uint32_t argb : picture.Pixels) {
        uint32_t value;
        if (blended) {
            value = argb;
            if (options.BlendMode == 0xFF) { // premultiplied colours
                const uint32_t a = Alpha(argb);
                value = argb & 0xFF000000;
                for (int shift : {16, 8, 0})
                    value |= ((argb >> shift & 0xFF) * a / 255) << shift;
            }
        } else if (options.Keyed && Alpha(argb) < 128) {
            value = key;
        } else {
            value = PackPixel(argb, options.Bits);
            if (options.Keyed && value == key)
                value ^= 1;
        }
        for (int i = 0; i < bytes; ++i)
            out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
    return out;
}

TBytes FrameRows(const TPicture& picture, const TSpriteOptions& options) {
    const TBytes raw = FramePixels(picture, options);
    // Only a kind word of exactly 3 marks a blended frame as compressed: with a sub-mode
    // the game reads raw ARGB rows.
    if (options.BlendMode != 0)
        return options.Kind == 3 && options.SubMode == 0
                   ? LZRW1KHCompressBlocks(raw.data(), raw.size())
                   : raw;
    const size_t rowBytes = size_t(picture.Width) * size_t(options.Bits / 8);
    std::optional<uint16_t> key;
    if (options.Keyed)
        key = static_cast<uint16_t>(ColorKeyFor(options.Bits));
    TBytes out;
    for (int y = 0; y < picture.Height; ++y) {
        const uint8_t* row = raw.data() + size_t(y) * rowBytes;
        std::vector<uint16_t> pixels(size_t(picture.Width));
        if (options.Kind == 1 || options.Kind == 2)
            std::memcpy(pixels.data(), row, rowBytes);
        TBytes encoded;
        switch (options.Kind) {
        case 0:
            encoded.assign(row, row + rowBytes);
            break;
        case 1:
            encoded = EncodeRunLineA(pixels.data(), picture.Width, key);
            break;
        case 2:
            encoded = EncodeRunLineB(pixels.data(), picture.Width, key);
            break;
        default:
            encoded = EncodeCompressedRow(row, rowBytes);
        }
        Append(out, encoded);
    }
    return out;
}

TBytes ShadowRows(const TPicture& shadow) {
    TBytes out;
    std::vector<uint8_t> darken(size_t(shadow.Width));
    for (int y = 0; y < shadow.Height; ++y) {
        for (int x = 0; x < shadow.Width; ++x)
            darken[size_t(x)] =
                Alpha(shadow.Pixels[size_t(y) * size_t(shadow.Width) + size_t(x)]) >= 128;
        const TBytes row = EncodeShadowRow(darken.data(), shadow.Width);
        Append(out, row);
    }
    return out;
}

// What the game would store for a surface of the frame: its description as locking
// returns it, then its rows at the surface's pitch.
TBytes SurfaceDump(const TPicture& picture, const TSpriteOptions& options) {
    using namespace Win32;
    const int bytes = options.Bits / 8;
    const TPixelLayout layout = options.Bits == 16   ? TPixelLayout::RGB565
                                : options.Bits == 24 ? TPixelLayout::RGB888
                                                     : TPixelLayout::XRGB8888;
    DDSURFACEDESC2 desc;
    desc.dwFlags =
        DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_PIXELFORMAT | DDSD_LPSURFACE;
    desc.dwWidth = uint32_t(picture.Width);
    desc.dwHeight = uint32_t(picture.Height);
    desc.lPitch = SurfacePitch(picture.Width, bytes);
    desc.ddpfPixelFormat = PixelFormatOf(layout);
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    if (options.Keyed) {
        desc.dwFlags |= DDSD_CKSRCBLT;
        desc.ddckCKSrcBlt = {ColorKeyFor(options.Bits), ColorKeyFor(options.Bits)};
    }
    const TStoredSurfaceDesc stored = ToStoredSurfaceDesc(desc);
    TBytes out;
    Append(out, &stored, sizeof stored);
    const TBytes raw = FramePixels(picture, options);
    const size_t rowBytes = size_t(picture.Width) * size_t(bytes);
    for (int y = 0; y < picture.Height; ++y) {
        Append(out, raw.data() + size_t(y) * rowBytes, rowBytes);
        out.resize(out.size() + size_t(desc.lPitch) - rowBytes, 0);
    }
    return out;
}

void CheckOptions(const std::vector<TPicture>& frames, const TSpriteOptions& options) {
    if (frames.empty() || frames.size() > size_t(Gfx::MaxFrameCount))
        throw Exception(Format("A sprite holds 1 to %d frames, not %d.", Gfx::MaxFrameCount,
                               int(frames.size())));
    const bool blended = options.BlendMode != 0;
    if (options.Kind < 0 || options.Kind > 4 || options.SubMode < 0 || options.SubMode > 3 ||
        options.BlendMode < 0 || options.BlendMode > 0xFF)
        throw Exception("Sprite kind, sub-mode or blend mode out of range.");
    if (options.Bits != 16 && options.Bits != 24 && options.Bits != 32)
        throw Exception(Format("Sprites have 16, 24 or 32 bits per pixel, not %d.", options.Bits));
    if (!blended && (options.Kind == 1 || options.Kind == 2) && options.Bits != 16)
        throw Exception("Run-length sprites have 16 bits per pixel.");
    if (options.Kind == 4 && (blended || options.SubMode != 0 || !options.Shadows.empty()))
        throw Exception("Surface sprites are neither blended, composed nor shadowed.");
    if (blended && options.Kind != 0 && options.Kind != 3)
        throw Exception("Blended sprites are stored raw (kind 0) or compressed (kind 3).");
    if (!options.Shadows.empty() && options.Shadows.size() != frames.size())
        throw Exception("A shadow layer needs one picture per frame.");
    const auto fits = [&](const TPicture& p) {
        return p.Width == frames[0].Width && p.Height == frames[0].Height &&
               p.Pixels.size() == size_t(p.Width) * size_t(p.Height);
    };
    if (frames[0].Width < 0 || frames[0].Height < 0 || frames[0].Width > 0x7FFF ||
        frames[0].Height > 0x7FFF || !std::all_of(frames.begin(), frames.end(), fits) ||
        !std::all_of(options.Shadows.begin(), options.Shadows.end(), fits))
        throw Exception("The frames and shadows of a sprite must be pictures of one size.");
}

} // namespace

uint32_t ColorKeyFor(int bits) {
    return bits == 16 ? 0xF81F : 0xFF00FF;
}

uint32_t PackPixel(uint32_t argb, int bits) {
    return bits == 16 ? Gfx::PackColor565(argb) : argb & 0x00FFFFFF;
}

TBytes EncodeRunLineA(const uint16_t* pixels, int width, std::optional<uint16_t> key) {
    TBytes out;
    int x = 0;
    while (x < width) {
        const int run = RunLength(pixels, x, width, 128);
        if (run >= 3 || pixels[x] == key) {
            out.push_back(static_cast<uint8_t>(-run));
            PutPixel(out, pixels[x]);
            x += run;
            continue;
        }
        int n = 0; // literals up to the next run of three or key pixel
        while (x + n < width && n < 127 && pixels[x + n] != key &&
               RunLength(pixels, x + n, width, 3) < 3)
            ++n;
        n = std::max(n, 1);
        out.push_back(static_cast<uint8_t>(n));
        for (int i = 0; i < n; ++i)
            PutPixel(out, pixels[x + i]);
        x += n;
    }
    out.push_back(0);
    return out;
}

TBytes EncodeRunLineB(const uint16_t* pixels, int width, std::optional<uint16_t> transparent) {
    int end = width; // transparent pixels at the end need no item
    while (end > 0 && pixels[end - 1] == transparent)
        --end;
    if (end == 0)
        return WithLength({}, "RunLineB");
    TRunLineBItems items;
    int x = 0;
    while (x < end) {
        if (pixels[x] == transparent) {
            const int run = RunLength(pixels, x, end, 96);
            items.Add(static_cast<int8_t>(-(run + 32)), nullptr, 0);
            x += run;
            continue;
        }
        const int run = RunLength(pixels, x, end, 32);
        if (run >= 2) {
            items.Add(static_cast<int8_t>(-run), pixels + x, 1);
            x += run;
            continue;
        }
        int n = 0;
        while (x + n < end && n < 127 && pixels[x + n] != transparent &&
               RunLength(pixels, x + n, end, 2) < 2)
            ++n;
        n = std::max(n, 1);
        items.Add(static_cast<int8_t>(n), pixels + x, n);
        x += n;
    }
    return WithLength(items.Body(), "RunLineB");
}

TBytes EncodeShadowRow(const uint8_t* darken, int width) {
    // Rows cover the whole width: readers of 24- and 32-bit shadows count pixels until it.
    TBytes body;
    int x = 0;
    const int end = width;
    while (x < end) {
        const bool dark = darken[x] != 0;
        int n = 1;
        while (x + n < end && (darken[x + n] != 0) == dark && n < (dark ? 128 : 127))
            ++n;
        body.push_back(static_cast<uint8_t>(dark ? -n : n));
        x += n;
    }
    return WithLength(body, "Shadow");
}

TBytes EncodeCompressedRow(const uint8_t* row, size_t bytes) {
    const TBytes blocks = LZRW1KHCompressBlocks(row, bytes);
    if (blocks.size() > 0xFFFF)
        throw Exception("Compressed row is too long for its u16 byte count.");
    TBytes out;
    Put16(out, uint32_t(blocks.size()));
    Append(out, blocks);
    return out;
}

TBytes EncodeSprite(const std::vector<TPicture>& frames, const TSpriteOptions& options) {
    CheckOptions(frames, options);
    const bool blended = options.BlendMode != 0;
    Gfx::TSpriteHeader header{};
    std::memcpy(header.Signature, "GFX ", 4);
    header.KindWord = static_cast<uint16_t>(options.SubMode << 8 | options.Kind);
    header.PixelWord =
        static_cast<uint16_t>(options.BlendMode << 8 | (blended ? 32 : options.Bits));
    header.FrameCount = static_cast<uint16_t>(frames.size());
    header.Width = static_cast<int16_t>(frames[0].Width);
    header.Height = static_cast<int16_t>(frames[0].Height);
    header.HotSpotX = static_cast<int16_t>(options.HotSpotX);
    header.HotSpotY = static_cast<int16_t>(options.HotSpotY);
    header.ColorKey = options.Keyed && !blended ? ColorKeyFor(options.Bits) : Gfx::NoColorKey;
    header.ColorKey2 = options.Shadows.empty() ? Gfx::NoColorKey : 0;
    TBytes out(4);
    std::memcpy(out.data(), &options.ID, 4);
    Append(out, &header, sizeof header);
    for (size_t i = 0; i < frames.size(); ++i) {
        if (options.Kind == 4) {
            const TBytes dump = SurfaceDump(frames[i], options);
            Append(out, dump);
            continue;
        }
        const TBytes pixels = FrameRows(frames[i], options);
        const TBytes shadow = options.Shadows.empty() ? TBytes() : ShadowRows(options.Shadows[i]);
        const Gfx::TFrameHeader head{uint32_t(pixels.size()), uint32_t(shadow.size()), 0};
        Append(out, &head, sizeof head);
        Append(out, pixels);
        Append(out, shadow);
    }
    return out;
}

TBytes EncodeSpriteLibrary(uint32_t id, const std::vector<TBytes>& sprites) {
    // Written as the library saves itself, without loading the sprites (surface
    // sprites would need a display).
    std::vector<std::pair<uint32_t, const TBytes*>> sorted;
    for (const TBytes& record : sprites) {
        if (record.size() < 4 + sizeof(Gfx::TSpriteHeader))
            throw Exception("Sprite record too short for a library.");
        uint32_t spriteID;
        std::memcpy(&spriteID, record.data(), 4);
        sorted.emplace_back(spriteID, &record);
    }
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    // The game's library refuses a second sprite with an identifier it holds.
    for (size_t i = 1; i < sorted.size(); ++i)
        if (sorted[i].first == sorted[i - 1].first)
            throw Exception(Format("Two sprites have the identifier %u.", sorted[i].first));
    TBytes out(12);
    std::memcpy(out.data(), &id, 4);
    std::memcpy(out.data() + 4, "GFXL", 4);
    const auto count = static_cast<int32_t>(sorted.size());
    std::memcpy(out.data() + 8, &count, 4);
    size_t offset = out.size() + sorted.size() * sizeof(Gfx::TSpriteEntryRecord);
    for (const auto& [spriteID, record] : sorted) {
        const Gfx::TSpriteEntryRecord entry{spriteID, 0, 0, uint32_t(offset), 0};
        Append(out, &entry, sizeof entry);
        offset += record->size();
    }
    for (const auto& sprite : sorted)
        Append(out, *sprite.second);
    return out;
}

} // namespace Tools
