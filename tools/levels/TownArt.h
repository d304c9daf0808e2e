// The towns' pictures in the levels' scenery library: the street every town shows, the
// inside of each merchant's building, the merchants' portraits and the buildings'
// button pictures.
#pragma once

#include "tools/ArchiveWriter.h"

#include <cstdint>
#include <vector>

namespace Tools {

// The buildings in the town's order: inn, mage, battlemaster, herbalist (the four
// merchants), then a house that a level may open for a custom merchant.
constexpr int MerchantBuildings = 4;
constexpr int HouseBuilding = 4;
constexpr int BuildingKinds = 5;
// 800 x 600, behind the town screen.
constexpr uint32_t TownPictureID = 10;
// 800 x 600 over the town picture while the building is open: FirstInteriorID + building.
constexpr uint32_t FirstInteriorID = 11;
// 180 x 130 inside the merchant frame (the house's: its householder): FirstMerchantPortraitID +
// building.
constexpr uint32_t FirstMerchantPortraitID = 21;
// 150 x 76 under the building's caption: FirstBuildingButtonID + building.
constexpr uint32_t FirstBuildingButtonID = 31;
constexpr int InteriorWidth = 800, InteriorHeight = 600;
constexpr int PortraitWidth = 180, PortraitHeight = 130;
constexpr int BuildingButtonWidth = 150, BuildingButtonHeight = 76;

// Encoded sprites of every ID above.
std::vector<TBytes> DrawTownSprites();

} // namespace Tools
