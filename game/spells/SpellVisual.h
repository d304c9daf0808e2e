// The visual and sound of a spell being cast: a cast phase at the caster, a flight
// to the target and an impact there, each shown with a sprite of the spell record,
// a sound at the start of each phase, and the tick at which the spell takes effect.
#pragma once

#include "engine/core/DataObject.h"
#include "engine/core/ObjectList.h"
#include "platform/display/DirectDrawSurface.h"

#include <cstdint>
#include <functional>

namespace Audio {
class TAudioStream;
}
namespace Data2 {
struct TSpellPrototype;
}
namespace Gfx {
class TSprite;
}

namespace GameData {

class TPlayer;
class TScenario;

// What to draw this frame.
enum TSpellDrawKind : uint32_t { sdFrame = 1, sdTransformed = 2, sdBeam = 3 };

struct TSpellDrawInfo {
    uint32_t Kind = sdFrame;
    uint32_t Frame = 0;
    int32_t X = 0, Y = 0, X2 = 0, Y2 = 0;
    float ScaleX = 1.0f, ScaleY = 1.0f;
    float Angle = 0.0f;             // or a beam's width
    Gfx::TSprite* Sprite = nullptr; // lent
};

// Phase lengths in update ticks; a phase whose sprite is missing is 0 long.
struct TSpellPhases {
    uint32_t Cast = 0;
    uint32_t Flight = 0;
    uint32_t Impact = 0;
    uint32_t Total = 0;
    uint32_t EffectTick = 0;
};

// The frames a sprite shows (the frame count, one less for sub-mode 2); 0 without one.
int UsableFrames(const Gfx::TSprite* sprite);

// frames x ticks per frame of each sprite, the flight over the distance at the speed
// (hundredths of a pixel a tick; a speed of 0 flies at once).
TSpellPhases ComputeSpellPhases(int spellID, int castFrames, int castTicks, bool hasFlight,
                                int flightSpeed, int impactFrames, int impactTicks,
                                double distance);

class TSpell : public Data::TDataObject {
public:
    TSpell() = default;
    ~TSpell() override;
    TSpell(const TSpell&) = delete;
    TSpell& operator=(const TSpell&) = delete;

    // Binds the record and takes its three sprites from the global spell sprite list
    // (once; a new record gives back the old ones).
    void SetPrototype(const Data2::TSpellPrototype* prototype, int32_t volume);
    void StartSpellAnimation(int sourceX, int sourceY, int targetY, int targetX);
    // One update tick.
    void Advance();
    // This tick's particles, offset from map (or battle field) to target pixels. Map
    // spells show only what the viewing player sees; battle spells show everything.
    void DrawSpellEffects(Win32::IDirectDrawSurface7* target, int offsetX, const Win32::RECT& clip,
                          int offsetY) const;
    // Whether the player at this machine (the scenario's viewing player) may hear the
    // phase sounds.
    bool IsSourceAudible() const;
    bool IsImpactAudible() const;

    const Data2::TSpellPrototype* Prototype = nullptr;
    uint32_t Tick = 0;
    Gfx::TSprite* CastSprite = nullptr;
    Gfx::TSprite* FlightSprite = nullptr;
    Gfx::TSprite* ImpactSprite = nullptr;
    int32_t SourceX = 0, SourceY = 0, TargetX = 0, TargetY = 0;
    uint32_t Total = 0;
    uint32_t EffectTick = 0;
    uint32_t CastTicks = 0, FlightTicks = 0, ImpactTicks = 0;
    uint8_t EffectNow = 0;
    uint8_t Finished = 0;
    int32_t Volume = 0;
    uint32_t Started = 0;
    TScenario* Scenario = nullptr; // not owned
    Data::TObjectList<TSpellDrawInfo> Particles{true};
    uint32_t CasterID = 0;
    uint32_t TargetCellX = 0, TargetCellY = 0;
    // Cells revealed around the target (spell 33), known once it has taken effect.
    int32_t RevealRadius = 0;
    // Where the phase sounds go when set; otherwise a free effect track of the game's
    // sound framework.
    std::function<void(Audio::TAudioStream*, int32_t volume)> PlaySound;

private:
    void ReleaseSprites();
    void PrepareSpriteSurfaces();
    const TPlayer* Viewer() const;
    void PlayPhaseSound(Audio::TAudioStream* sound, bool audible) const;
    bool IsCellShown(int cellX, int cellY) const;
    bool IsAnyCellShown(int cellX, int cellY, int radius) const;
    bool IsParticleShown(const TSpellDrawInfo& info) const;
    void AddDrawInfo(const TSpellDrawInfo& info);
    void RebuildParticles();
    // How a missile looks: pixels above its line, its scale, and its impact, drawn
    // scaled (and turned along the flight) or plain, pixels above the target.
    struct TMissileLook {
        float Lift = 0;
        float Scale = 1;
        bool ImpactTransformed = false;
        bool ImpactTurned = false;
        float ImpactLift = 0;
    };
    void AddMissile(const TMissileLook& look);
    void AddBarrage(float lift, float scale);
    void RebuildBattleParticles();
    void AddFallingMissile(float scale);
    void AddDrainBack(float scale);
    int SpellID() const;
};

} // namespace GameData
