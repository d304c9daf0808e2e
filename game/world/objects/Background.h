// The picture under the map: tiles of 160 x 160 pixels, row by row. Stored as a
// "BCKG" record of 16-bit sprites.
#pragma once

#include "engine/core/DataObject.h"
#include "engine/graphics/Sprite.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace GameData {

class TScenario;

#pragma pack(push, 1)
struct TBackgroundHeader {
    char Signature[4]; // "BCKG"
    int16_t Width;     // tiles
    int16_t Height;
    uint8_t Reserved[8];
};
#pragma pack(pop)
static_assert(sizeof(TBackgroundHeader) == 16);

class TBackground : public Data::TDataObject {
public:
    // flag comes from the scenario's constructor and is kept for its owner.
    TBackground(TScenario* scenario, uint8_t flag) : Scenario(scenario), Flag(flag) {}

    // A bad header or a tile that is not 16 bits per pixel is "Invalid data."; the
    // tiles read so far are dropped.
    void LoadFromStream(Data::TStream* stream) override;
    void SaveToStream(Data::TStream* stream) const override;
    void Clear() override;

    // Every tile, frame 0, at (clip.left - viewX + column * 160, clip.top - viewY + row * 160).
    void DrawTiles(Win32::IDirectDrawSurface7* target, int viewX, const Win32::RECT& clip,
                   int viewY) const;
    // Takes width x height tiles, row by row.
    void SetTiles(int width, int height, std::vector<std::unique_ptr<Gfx::TSprite>> tiles);
    Gfx::TSprite* Tile(int column, int row) const {
        return Tiles[static_cast<size_t>(row * Width + column)].get();
    }

    TScenario* Scenario;
    uint8_t Flag;
    std::vector<std::unique_ptr<Gfx::TSprite>> Tiles;
    int16_t Width = 0;
    int16_t Height = 0;
};

} // namespace GameData
