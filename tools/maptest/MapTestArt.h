// Pictures the map needs from the global data, drawn in code for the map test when it
// runs without the generated content: creature map sprites for unit prototypes
// 1 to 3 (standing, dying and walking in eight facings), the selection corners and
// markers, the fog-edge table, camps, the unit-count badges and city decorations.
#pragma once

#include <memory>

namespace Gfx {
class TSprite;
}

namespace Tools {

// The mouse pointer when there is no main data to take the game's from.
std::unique_ptr<Gfx::TSprite> MakePointerCursor();

// Into Data2::GlobalData, which must exist; before any unit is made.
void InstallMapTestArt();

} // namespace Tools
