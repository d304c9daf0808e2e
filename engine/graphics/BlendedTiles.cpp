#include "engine/graphics/BlendedTiles.h"

#include "engine/graphics/SpriteDrawing.h"

namespace Gfx {

using namespace Win32;

namespace {

// Shorter stretches of one colour go with the varying ones around them.
constexpr int ShortestConstantRun = 4;

bool SameStates(const TRasterStates& a, const TRasterStates& b) {
    return a.AlphaBlend == b.AlphaBlend && a.Source == b.Source && a.Dest == b.Dest;
}

} // namespace

std::unique_ptr<TBlendedTile> TBlendedTile::Capture(TSprite& sprite, int frame, const RECT& part) {
    TDeviceFrameSamples samples;
    if (!SampleDeviceFrame(sprite, frame, part, samples))
        return nullptr;
    auto tile = std::make_unique<TBlendedTile>();
    tile->Width = samples.Width;
    tile->Height = samples.Height;
    tile->States = samples.States;
    tile->RowStarts.push_back(0);
    for (int y = 0; y < samples.Height; ++y) {
        const size_t row = size_t(y) * size_t(samples.Width);
        for (int x = 0; x < samples.Width;) {
            if (!samples.Covered[row + size_t(x)]) {
                ++x;
                continue;
            }
            const uint32_t value = samples.Sources[row + size_t(x)];
            int end = x + 1;
            while (end < samples.Width && samples.Covered[row + size_t(end)] &&
                   samples.Sources[row + size_t(end)] == value)
                ++end;
            if (end - x >= ShortestConstantRun) {
                tile->Runs.push_back({x, end - x, value, -1});
                x = end;
                continue;
            }
            // Varying colours up to the next long stretch of one colour or a gap.
            const int start = x;
            while (end < samples.Width && samples.Covered[row + size_t(end)]) {
                int same = end + 1;
                while (same < samples.Width && samples.Covered[row + size_t(same)] &&
                       samples.Sources[row + size_t(same)] == samples.Sources[row + size_t(end)])
                    ++same;
                if (same - end >= ShortestConstantRun)
                    break;
                end = same;
            }
            TTileRun run{start, end - start, 0, int32_t(tile->Sources.size())};
            tile->Sources.insert(tile->Sources.end(),
                                 samples.Sources.begin() + ptrdiff_t(row + size_t(start)),
                                 samples.Sources.begin() + ptrdiff_t(row + size_t(end)));
            tile->Runs.push_back(run);
            x = end;
        }
        tile->RowStarts.push_back(uint32_t(tile->Runs.size()));
    }
    return tile;
}

const TBlendedTile* TBlendedTiles::Find(TSprite* sprite, int frame, const RECT& part) {
    if (!sprite)
        return nullptr;
    IDirectDrawSurface7* texture = sprite->Surface(frame);
    TEntry& entry = FEntries[{sprite, frame, part.left, part.top, part.right, part.bottom}];
    if (!entry.Texture || entry.Texture.Get() != texture) {
        entry.Texture = TRefPtr<IDirectDrawSurface7>(texture);
        entry.Tile = texture ? TBlendedTile::Capture(*sprite, frame, part) : nullptr;
    }
    return entry.Tile.get();
}

bool TTileRowComposer::Begin(const DDSURFACEDESC2& locked) {
    FLayout = LayoutOf(locked.ddpfPixelFormat);
    FBits = static_cast<uint8_t*>(locked.lpSurface);
    FPitch = locked.lPitch;
    FBytes = BytesPerPixel(FLayout);
    FPending.clear();
    FHasWriter = false;
    return FBits && CanRenderTo(FLayout);
}

void TTileRowComposer::Add(const TBlendedTile& tile, int y, int x) {
    for (uint32_t i = tile.RowStarts[size_t(y)]; i < tile.RowStarts[size_t(y) + 1]; ++i) {
        const TTileRun& run = tile.Runs[i];
        const int32_t left = x + run.Left;
        const uint32_t* sources = run.Sources < 0 ? nullptr : tile.Sources.data() + run.Sources;
        // One colour right after the same colour of the same blend: one span.
        if (!sources && !FPending.empty()) {
            TPending& last = FPending.back();
            if (!last.Sources && last.Value == run.Value && last.Left + last.Count == left &&
                SameStates(last.Tile->States, tile.States)) {
                last.Count += run.Count;
                continue;
            }
        }
        FPending.push_back({left, run.Count, run.Value, sources, &tile});
    }
}

const TSpanWriter& TTileRowComposer::WriterFor(const TRasterStates& states) {
    if (!FHasWriter || !SameStates(states, FLastStates)) {
        FLastStates = states;
        FLastWriter = ChooseSpanWriter(FLayout, states);
        FHasWriter = true;
    }
    return FLastWriter;
}

void TTileRowComposer::Flush(int row) {
    uint8_t* line = FBits + ptrdiff_t(row) * FPitch;
    for (const TPending& run : FPending) {
        const TSpanWriter& writer = WriterFor(run.Tile->States);
        uint8_t* target = line + ptrdiff_t(run.Left) * FBytes;
        if (run.Sources)
            writer.Span(target, run.Sources, run.Count);
        else
            writer.Constant(target, run.Value, run.Count);
    }
    FPending.clear();
}

} // namespace Gfx
