// What one player knows of each map cell: unexplored, explored (seen before) or
// visible now. Sight spreads from the player's and its friends' groups over the
// terrain heights, so hills hide what lies behind them; revealed areas and the
// cities the player may look into are seen whole. A small 32-bit image, one pixel
// per cell, carries the fog and the marks of visible groups for the map and the
// mini-map.
#pragma once

#include "engine/core/DataObject.h"
#include "engine/core/ObjectList.h"
#include "engine/graphics/Sprite.h"
#include "game/world/scenario/Area.h"

#include <cstdint>
#include <vector>

namespace GameData {

class TPlayer;
class TScenario;

enum TFogState : uint8_t { fsUnexplored = 0, fsExplored = 1, fsVisible = 2 };

// Where sight starts (a pixel position) and how far it carries: a group of the
// player or a friend, with the group's sight.
struct TSightSource {
    int32_t X = 0;
    int32_t Y = 0;
    int32_t Sight = 2;
};

// Indices into the fog-edge table for one cell; -1 where no edge is drawn.
struct TFogEdges {
    int First = -1;
    int Second = -1;
};

class TFog : public Data::TDataObject {
public:
    // Sized to the player's scenario map.
    explicit TFog(TPlayer* player);
    TFog(const TFog&) = delete;
    TFog& operator=(const TFog&) = delete;

    void Assign(const Data::TDataObject* source) override;
    // The cell bytes after the identifier; the size is the map's.
    void LoadFromStream(Data::TStream* stream) override;
    void SaveToStream(Data::TStream* stream) const override;
    void Clear() override;

    uint8_t GetCell(int x, int y, uint8_t outside) const;
    bool IsOnGrid(int x, int y) const { return x >= 0 && y >= 0 && x < Width && y < Height; }
    void ResetCells();
    void DemoteVisible();

    // Gathers the sight sources (the groups on the map of the player and its friends)
    // and the areas seen whole (revealed areas, then the cities the player may look
    // into).
    void CollectSources();
    void Recompute();
    void SpreadSight(int index);
    void RaiseArea(const TArea* area, uint8_t level);
    void ForgetArea(const TArea* area);
    bool IsAnyCellVisible(const TArea* area) const;
    bool AreAllCellsExplored(const TArea* area) const;

    // The fog-edge table entries of a cell: First from the visible cells of the
    // 3 x 3 block around it, Second (512 and up) from the explored ones.
    TFogEdges GetEdgeIndices(int x, int y) const;
    // The same resolved in the global data's fog-edge sprites; null for none.
    void GetEdgeSprites(int x, int y, Gfx::TSprite*& first, Gfx::TSprite*& second) const;
    // The cells' states, then the marks of every owned group on a visible cell.
    void UpdateImage();
    // A visible group's mark: its cell in the owner's colour, its straight
    // neighbours in the same colour with alpha 0.
    void DrawGroupMark(int x, int y, int colorIndex);
    // The image pixel of a cell, 0xAARRGGBB.
    uint32_t ImagePixel(int x, int y) const;

    TPlayer* Player;
    TScenario* Scenario;
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<uint8_t> Cells;
    Gfx::TSprite FogImage;
    std::vector<TSightSource> SightSources;
    Data::TObjectList<TArea> SightAreas{false};
    std::vector<int16_t> Budget;
    std::vector<int8_t> Horizon;

private:
    struct TSpread;
    // Reaches cell t (x, y) from cell s, or from the better of s and s2 (s2 < 0 for
    // none): true when t was reached, whether or not it is hidden behind a hill.
    bool PropagateSight(const TSpread& spread, int tx, int ty, int s, int s2);
    int CellAt(int x, int y) const { return y * Width + x; }
};

// Fog image colours of the players' group marks by colour index.
uint32_t PlayerMarkColor(int colorIndex);

} // namespace GameData
