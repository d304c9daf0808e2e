// The game controller's settings that the world model reads. A scenario without
// them plays at the unscaled values, as a networked game always does.
#pragma once

#include <cstdint>

namespace GameData {

class TGameSettings {
public:
    virtual ~TGameSettings() = default;
    // Index into the difficulty table of the global data: 0 easy, 1 normal, 2 hard.
    virtual int32_t Difficulty() const = 0;
    // Walking speed of groups on the map: 0 slowest .. 4; 2 when the controller
    // keeps no settings file.
    virtual int32_t MovementSpeed() const { return DefaultMovementSpeed; }

    static constexpr int32_t DefaultMovementSpeed = 2;
};

} // namespace GameData
