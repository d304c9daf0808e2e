#include "game/world/objects/Background.h"

#include "engine/graphics/SpriteDrawing.h"
#include "game/world/objects/MapGeometry.h"

#include <algorithm>
#include <cstring>

namespace GameData {

namespace {
// A whole 16-bit tile's raw rows.
constexpr int64_t TileBytes = int64_t(TileSize) * TileSize * 2;
} // namespace

void TBackground::LoadFromStream(Data::TStream* stream) {
    TDataObject::LoadFromStream(stream);
    TBackgroundHeader header{};
    stream->ReadBuffer(&header, sizeof(header));
    Data::CheckData(std::memcmp(header.Signature, "BCKG", 4) == 0 && header.Width >= 1 &&
                    header.Height >= 1);
    const int count = header.Width * header.Height;
    // Every tile record holds at least its identifier and the 36-byte sprite header.
    Data::CheckData(int64_t(count) * 40 <= stream->Remaining());
    std::vector<std::unique_ptr<Gfx::TSprite>> tiles;
    tiles.reserve(static_cast<size_t>(count));
    // The tiles' pixels share one block, at most what the stream holds: a level's tens of
    // megabytes taken page by page cost more than reading them.
    const auto arena = std::make_shared<Gfx::TPixelArena>(
        size_t(std::min<int64_t>(stream->Remaining(), int64_t(count) * TileBytes)));
    const Gfx::TPixelAllocator<uint8_t> allocator(arena);
    for (int i = 0; i < count; ++i) {
        auto tile = std::make_unique<Gfx::TSprite>();
        tile->FrameAllocator = allocator;
        tile->LoadFromStream(stream);
        Data::CheckData(tile->BitsPerPixel() == 16);
        tiles.push_back(std::move(tile));
    }
    arena->Seal();
    Tiles = std::move(tiles);
    Width = header.Width;
    Height = header.Height;
}

void TBackground::SaveToStream(Data::TStream* stream) const {
    TDataObject::SaveToStream(stream);
    TBackgroundHeader header{};
    std::memcpy(header.Signature, "BCKG", 4);
    header.Width = Width;
    header.Height = Height;
    stream->WriteBuffer(&header, sizeof(header));
    for (const auto& tile : Tiles)
        tile->SaveToStream(stream);
}

void TBackground::Clear() {
    TDataObject::Clear();
    Tiles.clear();
    Width = 0;
    Height = 0;
}

void TBackground::SetTiles(int width, int height,
                           std::vector<std::unique_ptr<Gfx::TSprite>> tiles) {
    if (width < 1 || height < 1 || tiles.size() != static_cast<size_t>(width * height))
        throw ClassLib::Exception("A background needs width x height tiles.");
    Tiles = std::move(tiles);
    Width = static_cast<int16_t>(width);
    Height = static_cast<int16_t>(height);
}

void TBackground::DrawTiles(Win32::IDirectDrawSurface7* target, int viewX, const Win32::RECT& clip,
                            int viewY) const {
    // Only the tiles under the clip rectangle.
    const int firstColumn = std::max(0, viewX / TileSize);
    const int lastColumn = std::min(Width - 1, (viewX + clip.right - clip.left - 1) / TileSize);
    const int firstRow = std::max(0, viewY / TileSize);
    const int lastRow = std::min(Height - 1, (viewY + clip.bottom - clip.top - 1) / TileSize);
    for (int row = firstRow; row <= lastRow; ++row)
        for (int column = firstColumn; column <= lastColumn; ++column)
            Gfx::DrawSprite(Tile(column, row), target, 0, clip.left - viewX + column * TileSize,
                            clip.top - viewY + row * TileSize, &clip);
}

} // namespace GameData
