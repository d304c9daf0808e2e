// Art for the levels, drawn with Cairo: the terrain background cut into tiles, the
// scenery and banner sprite libraries, and the preview.
#pragma once

#include "tools/ArchiveWriter.h"
#include "tools/levels/LevelDescription.h"
#include "tools/levels/Terrain.h"

#include <cstdint>

namespace Tools {

// Scenery sprites in the scenery library (the towns' pictures from 10 on: TownArt.h).
constexpr uint32_t TreeSpriteID = 1;
constexpr uint32_t RockSpriteID = 2;
// The picture behind the fight screen, 800 x 600, in the scenery library.
constexpr uint32_t BattlePictureID = 3;
// Banner sprite of colour c: FirstBannerID + c.
constexpr uint32_t FirstBannerID = 1;
constexpr int BannerColours = 8;

// A "BCKG" record of the terrain: one 160 x 160 16-bit tile per 4 x 4 cells.
TBytes DrawBackground(const TTerrain& terrain, uint32_t seed);
TBytes DrawSceneryLibrary();
TBytes DrawBannerLibrary();
// A "GFX " record: the map at two pixels per cell, with the players' starts.
TBytes DrawPreview(const TTerrain& terrain, const TLevelDescription& level);

} // namespace Tools
