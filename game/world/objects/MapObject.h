// Everything that stands on the adventure map: groups, cities, buildings, scenery,
// drawings, animations and corpses. The kind code tells them apart; the scenario
// calls the twenty virtual operations for every object alike.
#pragma once

#include "engine/core/DataObject.h"
#include "engine/graphics/Sprite.h"

#include <cstdint>

namespace ClassLib {
class TBitmap;
}

namespace GameData {

using ClassLib::AnsiString;
using Data::TStream;
using Win32::RECT;

class TScenario;

enum TMapObjectKind : uint16_t {
    okNone = 0,
    okDoodle = 1,
    okGroup = 2,
    okBuilding = 3,
    okDrawing = 4,
    okCorpse = 5,
    okCity = 6,
    okAnimation = 7,
    okNaturalCorpse = 9,
};

constexpr int16_t DefaultLayer = 10;

class TMapObject : public Data::TDataObject {
public:
    explicit TMapObject(TScenario* scenario) : Scenario(scenario) {}
    ~TMapObject() override = default;

    // Reads the stored kind, which must be the object's own, then X, Y and Layer.
    void LoadFromStream(TStream* stream) override;
    void SaveToStream(TStream* stream) const override;
    void Clear() override;

    virtual Gfx::TSprite* GetSprite() const = 0;
    virtual int GetFrame() const { return 0; }
    virtual void PatchTerrain() {}
    virtual void Tick() {}
    virtual RECT GetBounds() const;
    virtual RECT GetMarkerBounds() const { return GetBounds(); }
    virtual bool HitTest(int x, int y) const;
    virtual void DrawToBitmap(ClassLib::TBitmap* target, int viewX, const RECT& clip, int viewY);
    virtual void Draw(Win32::IDirectDrawSurface7* target, int viewX, const RECT& clip, int viewY);
    virtual void DrawMarkerToBitmap(ClassLib::TBitmap*, int, const RECT&, int) {}
    virtual void DrawMarker(Win32::IDirectDrawSurface7*, int, const RECT&, int) {}
    virtual void DrawOverlaysToBitmap(ClassLib::TBitmap*, int, const RECT&, int) {}
    virtual void DrawOverlays(Win32::IDirectDrawSurface7*, int, const RECT&, int) {}
    virtual void Select() { Selected = 1; }
    virtual void Deselect() { Selected = 0; }

    // The sprite rectangle, joined with the marker for selected objects and groups.
    RECT DrawBounds() const;
    void StoreDrawnState();
    bool NeedsRedraw() const;
    bool IntersectsRect(const RECT& rect) const;
    // The scenario exists and the object's cell lies on its map.
    bool IsOnMap() const;
    int CellX() const { return X / 40; }
    int CellY() const { return Y / 40; }

    uint16_t Kind = okNone;
    int16_t X = 0;
    int16_t Y = 0;
    AnsiString Name;
    uint8_t Selected = 0;
    TScenario* Scenario;
    RECT DrawnBounds{};
    int32_t DrawnFrame = 0;
    Gfx::TSprite* DrawnSprite = nullptr;
    uint8_t DrawnSelected = 0;
    uint8_t Invalidated = 0;
    int16_t Layer = DefaultLayer;

private:
    // Where the sprite's top-left corner lands in the target, or false when nothing shows.
    bool PlaceSprite(int viewX, const RECT& clip, int viewY, int& x, int& y) const;
};

} // namespace GameData
