#include "game/world/data/LoadedGlobalData.h"
#include "game/world/fog/Fog.h"
#include "game/world/groups/Group.h"
#include "game/world/objects/MapGeometry.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"

#include <algorithm>
#include <cstring>

namespace GameData {

namespace {

constexpr int FogEdgeTableSlot = 10;
constexpr int FullBlock = 511;
constexpr int ExploredBase = 512;

constexpr uint32_t StatePixels[3] = {0xFF000000, 0x80000000, 0x00000000};

} // namespace

uint32_t PlayerMarkColor(int colorIndex) {
    static constexpr uint32_t Colors[5] = {0xFF505050, 0xFF0000FF, 0xFFFF0000, 0xFF00FF00,
                                           0xFFFFFF00};
    return Colors[colorIndex >= 0 && colorIndex <= 4 ? colorIndex : 0];
}

TFogEdges TFog::GetEdgeIndices(int x, int y) const {
    int visible = 0;
    int explored = ExploredBase;
    int bit = 1;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx, bit <<= 1) {
            const uint8_t cell = GetCell(x + dx, y + dy, fsUnexplored);
            if (cell == fsVisible)
                visible |= bit;
            if (cell != fsUnexplored)
                explored |= bit;
        }
    return {visible == FullBlock ? -1 : visible,
            explored == ExploredBase + FullBlock ? -1 : explored};
}

void TFog::GetEdgeSprites(int x, int y, Gfx::TSprite*& first, Gfx::TSprite*& second) const {
    const TFogEdges edges = GetEdgeIndices(x, y);
    const Data2::TGlobalData& global = Data2::LoadedGlobalData();
    first = edges.First < 0 ? nullptr : global.CommonSprites[FogEdgeTableSlot + edges.First];
    second = edges.Second < 0 ? nullptr : global.CommonSprites[FogEdgeTableSlot + edges.Second];
}

void TFog::UpdateImage() {
    if (FogImage.Frames.empty())
        return;
    uint8_t* pixels = FogImage.Frames[0].Pixels.data();
    for (size_t i = 0; i < Cells.size(); ++i) {
        const uint32_t pixel = StatePixels[std::min(Cells[i], uint8_t(fsVisible))];
        std::memcpy(pixels + i * 4, &pixel, 4);
    }
    if (!Scenario)
        return;
    for (int i = 0; i < Scenario->Objects.Count(); ++i) {
        const TMapObject* object = Scenario->Objects[i];
        if (object->Kind != okGroup)
            continue;
        const TPlayer* owner = static_cast<const TGroup*>(object)->GetOwner();
        if (owner && object->IsOnMap() &&
            GetCell(object->CellX(), object->CellY(), fsUnexplored) == fsVisible)
            DrawGroupMark(object->CellX(), object->CellY(), owner->Color);
    }
}

void TFog::DrawGroupMark(int x, int y, int colorIndex) {
    if (!IsOnGrid(x, y) || FogImage.Frames.empty())
        return;
    const uint32_t color = PlayerMarkColor(colorIndex);
    uint8_t* pixels = FogImage.Frames[0].Pixels.data();
    const auto put = [&](int px, int py, uint32_t pixel) {
        if (IsOnGrid(px, py))
            std::memcpy(pixels + size_t(CellAt(px, py)) * 4, &pixel, 4);
    };
    for (int n = 0; n < 8; n += 2)
        put(x + NeighbourDX[n], y + NeighbourDY[n], color & 0x00FFFFFF);
    put(x, y, color | 0xFF000000);
}

uint32_t TFog::ImagePixel(int x, int y) const {
    uint32_t pixel = 0;
    std::memcpy(&pixel, FogImage.Frames[0].Pixels.data() + size_t(CellAt(x, y)) * 4, 4);
    return pixel;
}

} // namespace GameData
