#include "game/world/orders/MovementSpeed.h"

#include <algorithm>
#include <array>

namespace GameData {

namespace {
// Percent of the base of 3 ticks per update, slowest first.
constexpr std::array<int32_t, MovementSpeedCount> SpeedPercent = {240, 180, 133, 66};
constexpr int32_t BaseTicks = 3;
} // namespace

int16_t TicksPerStepForSpeed(int32_t option) {
    // Settings are clamped on reading; a caller's stray option still finds an entry.
    const int32_t index = std::clamp<int32_t>(option, 0, int32_t(SpeedPercent.size()) - 1);
    const int32_t ticks = (BaseTicks * SpeedPercent[size_t(index)] + 50) / 100;
    return int16_t(std::max<int32_t>(1, ticks));
}

} // namespace GameData
