// Turns pictures into "GFX " sprite records of every kind, with the row encoders the
// game only decodes: RunLineA, RunLineB, shadow rows and LZRW1KH-compressed rows.
#pragma once

#include "tools/ArchiveWriter.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace Tools {

// One row of 16-bit pixels as RunLineA; pixels equal to key become repeats, which keyed
// drawing leaves out.
TBytes EncodeRunLineA(const uint16_t* pixels, int width, std::optional<uint16_t> key = {});
// One row as RunLineB; pixels equal to transparent become transparent runs.
TBytes EncodeRunLineB(const uint16_t* pixels, int width, std::optional<uint16_t> transparent = {});
// One shadow row covering all width pixels: darken[x] non-zero darkens pixel x.
TBytes EncodeShadowRow(const uint8_t* darken, int width);
// One kind-3 row: its u16 byte count, then its bytes as LZRW1KH blocks.
TBytes EncodeCompressedRow(const uint8_t* row, size_t bytes);

// A picture of 0xAARRGGBB pixels, row after row.
struct TPicture {
    int Width = 0;
    int Height = 0;
    std::vector<uint32_t> Pixels;
};

struct TSpriteOptions {
    uint32_t ID = 0;
    int Kind = 0;    // 0-3 from the pixels; 4 a dump of the surfaces the game would make
    int SubMode = 0; // 0-3
    int Bits = 16;   // 16 (RGB565), 24 or 32; blended sprites are always 32
    int BlendMode = 0;
    // Pixels with alpha below 128 become the colour key (opaque pixels that happen to
    // equal it are nudged by one blue step).
    bool Keyed = true;
    int HotSpotX = 0;
    int HotSpotY = 0;
    // One picture per frame whose pixels with alpha 128 or more are darkened; empty: no
    // shadow layer.
    std::vector<TPicture> Shadows;
};

// The colour key used for a sprite of these bits per pixel: magenta.
uint32_t ColorKeyFor(int bits);
// A pixel value as a sprite of these bits stores it (16 bits: RGB565).
uint32_t PackPixel(uint32_t argb, int bits);

// The "GFX " record (identifier first) of the frames, all of one size. Bad options or
// frames of another size raise an Exception saying what is wrong.
TBytes EncodeSprite(const std::vector<TPicture>& frames, const TSpriteOptions& options);

// A "GFXL" library (identifier first) of sprite records, in ascending ID order; two
// records with one identifier raise an Exception.
TBytes EncodeSpriteLibrary(uint32_t id, const std::vector<TBytes>& sprites);

} // namespace Tools
