// What scripts read of a city beyond its map object: the owner and the group at
// its gate. The world model's cities implement it beside TMapObject.
#pragma once

#include <cstdint>

namespace GameData {

class TMapObject;

class TScriptedCity {
public:
    virtual ~TScriptedCity() = default;
    virtual uint8_t OwnerIndex() const = 0; // the stored owner player index
    // The group standing at the gate; null when none.
    virtual const TMapObject* GateGroup() const = 0;
};

} // namespace GameData
