// Blended sprite frames composed straight into a locked target, pixel for pixel as the
// display device draws them whole at whole-pixel places: each frame's device samples,
// taken once, kept as runs per row (one colour, or colours that vary), and the device's
// own blend. Neighbouring tiles' runs of one colour blend as one span, so a layer of
// tiles costs little more than its pixels.
#pragma once

#include "engine/graphics/Sprite.h"
#include "platform/display/D3DRasterizer.h"

#include <map>
#include <memory>
#include <vector>

namespace Gfx {

struct TTileRun {
    int32_t Left = 0;
    int32_t Count = 0;
    uint32_t Value = 0;   // the one colour
    int32_t Sources = -1; // else where the varying colours start in the tile's sources
};

class TBlendedTile {
public:
    // Null where the device does not draw the frame as a blended quad. part is the
    // visible part of the frame, relative to its top-left corner.
    static std::unique_ptr<TBlendedTile> Capture(TSprite& sprite, int frame, const RECT& part);

    int Width = 0;
    int Height = 0;
    Win32::TRasterStates States;
    std::vector<TTileRun> Runs;
    std::vector<uint32_t> RowStarts; // Height + 1 indices into Runs
    std::vector<uint32_t> Sources;
};

// The tiles of sprite frames, captured on first use and again when a sprite's surfaces
// are made anew.
class TBlendedTiles {
public:
    // Null where the frame cannot be composed so; part as for a capture.
    const TBlendedTile* Find(TSprite* sprite, int frame, const RECT& part);

private:
    struct TEntry {
        TRefPtr<IDirectDrawSurface7> Texture; // held, so no new texture takes its place
        std::unique_ptr<TBlendedTile> Tile;
    };
    struct TKey {
        const TSprite* Sprite;
        int Frame;
        int32_t Left, Top, Right, Bottom;
        auto operator<=>(const TKey&) const = default;
    };
    std::map<TKey, TEntry> FEntries;
};

// One row of pixels of a locked target at a time: the runs of tiles placed on it go in,
// in drawing order, and are blended when the row is flushed.
class TTileRowComposer {
public:
    // False for a target layout the device cannot render to.
    bool Begin(const DDSURFACEDESC2& locked);
    // Row y of tile at (x, top) lands on target row top + y.
    void Add(const TBlendedTile& tile, int y, int x);
    // Blends the row's runs into target row row.
    void Flush(int row);

private:
    struct TPending {
        int32_t Left, Count;
        uint32_t Value;
        const uint32_t* Sources; // null for one colour
        const TBlendedTile* Tile;
    };
    const Win32::TSpanWriter& WriterFor(const Win32::TRasterStates& states);

    uint8_t* FBits = nullptr;
    int32_t FPitch = 0;
    int32_t FBytes = 0;
    Win32::TPixelLayout FLayout = Win32::TPixelLayout::Unsupported;
    std::vector<TPending> FPending;
    Win32::TRasterStates FLastStates;
    Win32::TSpanWriter FLastWriter;
    bool FHasWriter = false;
};

} // namespace Gfx
