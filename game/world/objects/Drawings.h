// Picture objects of the map: a drawing shows one frame of a sprite, an animation
// plays a sprite's frames once and ends, a corpse shows the last frame of a death,
// and a natural corpse, left by a dead unit, disappears after a number of turns.
#pragma once

#include "engine/graphics/SpriteList.h"
#include "game/world/objects/MapObject.h"

namespace GameData {

class TDrawing : public TMapObject {
public:
    explicit TDrawing(TScenario* scenario) : TMapObject(scenario) { Kind = okDrawing; }
    ~TDrawing() override { ReleaseSprite(); }

    void Clear() override;
    Gfx::TSprite* GetSprite() const override { return Sprite; }
    int GetFrame() const override { return Frame; }

    // Takes one reference of a sprite of library (which it gives back).
    void Setup(Gfx::TSprite* sprite, Gfx::TSpriteList* library, int frame, int layer, int y, int x);
    // The sprite comes from the global data's common sprite list.
    void SetupFromGlobal(uint32_t spriteID, int frame, int layer, int y, int x);

    int32_t Frame = 0;
    Gfx::TSprite* Sprite = nullptr;
    Gfx::TSpriteList* Library = nullptr;
    uint8_t Shown = 0;

protected:
    void ReleaseSprite();
    // Reads a sprite ID and a frame for it: an unknown sprite or a frame it does not
    // have is "Invalid data.".
    void AcquireStoredSprite(Gfx::TSpriteList& library, uint32_t spriteID);
    uint32_t SpriteID() const { return Sprite ? Sprite->ID : 0; }
};

class TAnimation : public TDrawing {
public:
    explicit TAnimation(TScenario* scenario) : TDrawing(scenario) { Kind = okAnimation; }

    void LoadFromStream(TStream* stream) override;
    void SaveToStream(TStream* stream) const override;
    void Clear() override;
    Gfx::TSprite* GetSprite() const override { return Counter < Delay ? nullptr : Sprite; }
    void Tick() override;

    // The sprite from the scenario's sprite library.
    void Setup(uint32_t spriteID, int x, int delay, int period, int layer, int y);

    int32_t Period = 1;
    int32_t Delay = 0;
    int32_t Counter = 0;
    uint8_t Finished = 0;
};

class TCorpse : public TDrawing {
public:
    explicit TCorpse(TScenario* scenario) : TDrawing(scenario) { Kind = okCorpse; }

    void LoadFromStream(TStream* stream) override;
    void SaveToStream(TStream* stream) const override;
};

class TNaturalCorpse : public TCorpse {
public:
    static constexpr int32_t StaysForever = -1;

    explicit TNaturalCorpse(TScenario* scenario) : TCorpse(scenario) { Kind = okNaturalCorpse; }

    void LoadFromStream(TStream* stream) override;
    void SaveToStream(TStream* stream) const override;
    void Clear() override;

    void Setup(uint32_t spriteID, int frame, int turnsLeft, int layer, int y, int x);

    int32_t TurnsLeft = 0;
};

// The global data's common sprite list; "The global game data is not loaded." without it.
Gfx::TSpriteList& GlobalSpriteList();
// Where a corpse's sprite is: the common list, or the creature list for a unit's dying
// sprite the common list lacks.
Gfx::TSpriteList& CorpseSpriteList(uint32_t spriteID);

} // namespace GameData
