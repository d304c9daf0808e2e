// How fast groups walk on the map: pixels and ticks per position update.
#pragma once

#include <cstdint>

namespace GameData {

constexpr int16_t NormalPixelsPerStep = 4;
constexpr int16_t UnseenPixelsPerStep = 40; // a whole cell at once

// The number of entries of the speed table: MovementSpeed options run 0..3.
constexpr int32_t MovementSpeedCount = 4;

// The ticks between position updates for the MovementSpeed option; options past
// the table's end walk as its last entry does.
int16_t TicksPerStepForSpeed(int32_t option);

} // namespace GameData
