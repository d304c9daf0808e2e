// Scenery: a picture from the scenario's sprite library that may animate, changes
// the terrain under it and may play an ambient sound near the view.
#pragma once

#include "game/world/objects/DoodlePrototype.h"
#include "game/world/objects/MapObject.h"

namespace GameData {

class TDoodle : public TMapObject {
public:
    explicit TDoodle(TScenario* scenario);
    ~TDoodle() override;

    // "Prototype not found." when the stored prototype is not the scenario's.
    void LoadFromStream(TStream* stream) override;
    void SaveToStream(TStream* stream) const override;
    void Clear() override;

    Gfx::TSprite* GetSprite() const override { return Sprite; }
    int GetFrame() const override;
    void PatchTerrain() override;
    void Tick() override;

    // Binds the prototype: start chance, layer, sprite; loops start on a random frame.
    void SetPrototype(const TDoodlePrototype* prototype);
    void StopSound();
    // Frames that animate: the last frame of a sub-mode 2 sprite lies under the others.
    int AnimationFrameCount() const;

    const TDoodlePrototype* Prototype = nullptr;
    uint16_t StartChance = 0;
    uint8_t Active = 1;
    int32_t Frame = 0;
    int32_t Ticks = 0;
    Gfx::TSprite* Sprite = nullptr;
    int32_t SoundTrack = -1;

private:
    void AcquireSprite();
    void ReleaseSprite();
    void Animate();
    void PlayAmbientSound();
    void PatchCell(int cx, int cy) const;
};

} // namespace GameData
