// The fixed places of the map that groups enter: the location base, with the cells
// it covers, the cells units leave from and the cells that make it known; and the
// building, a location of its own kind with nothing more.
#pragma once

#include "game/world/objects/MapObject.h"
#include "game/world/scenario/Area.h"

#include <cstdint>

namespace GameData {

constexpr uint16_t okLocation = 8; // a location used by itself

class TLocation : public TMapObject {
public:
    explicit TLocation(TScenario* scenario) : TMapObject(scenario) { Kind = okLocation; }

    // After loading, the object's name is the caption.
    void LoadFromStream(TStream* stream) override;
    void SaveToStream(TStream* stream) const override;
    void Clear() override;

    Gfx::TSprite* GetSprite() const override { return nullptr; }
    // The footprint's cells in pixels; all zero for an empty footprint.
    RECT GetBounds() const override;
    bool HitTest(int x, int y) const override;

    // The exit cell nearest to (px, py) in cells; the outputs stay as they are
    // for an empty exit area.
    void NearestExitCell(int px, int py, int& x, int& y) const;

    AnsiString Caption;
    TArea Footprint;
    TArea ExitArea;
    TArea SightArea; // the footprint stands in when empty
};

class TBuilding : public TLocation {
public:
    explicit TBuilding(TScenario* scenario) : TLocation(scenario) {
        Kind = okBuilding;
        Name = "Building";
    }
};

// Action points every unit pays to enter: the building constant for a building,
// the city constant for a city (the building constant when its scripted-entry flag
// is set), 0 for other objects.
int32_t GetLocationEntryCost(const TMapObject& object);

} // namespace GameData
