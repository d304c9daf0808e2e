// A map spell on its way: its visual plays frame by frame and, at its moment of
// effect, the spell's rules act on the map. The spells library makes these; the
// world model only prepares, advances and retires them.
#pragma once

#include "platform/display/DirectDrawSurface.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace Data2 {
struct TSpellPrototype;
}

namespace GameData {

class TScenario;
class TUnit;

// What a group records when it starts a cast; the effect takes what it shares from
// it on the main thread, then is prepared from it on the cast's worker thread.
struct TSpellCast {
    const Data2::TSpellPrototype* Prototype = nullptr;
    int32_t Volume = 0;
    int32_t SourceX = 0; // pixels
    int32_t SourceY = 0;
    int32_t TargetX = 0; // pixels: cell * 40 + 20
    int32_t TargetY = 0;
    uint32_t CasterID = 0;
};

class TSpellEffect {
public:
    virtual ~TSpellEffect() = default;
    // Main thread, before the worker starts: binds the prototype and volume and takes
    // what the effect shares with the rest of the game (sprites of the global
    // libraries, which have no lock and which the main thread also releases). An
    // effect that shares nothing needs nothing here.
    virtual void Acquire(const TSpellCast& /*cast*/) {}
    // Worker thread: starts the animation from the source to the target point, using
    // only what Acquire took. Long preparations poll stopRequested.
    virtual void Prepare(const TSpellCast& cast, const std::function<bool()>& stopRequested) = 0;
    // One frame of the visual.
    virtual void Advance() = 0;
    // The spell acts on the map now; the caster was looked up by identifier and
    // may be null when it has left the game meanwhile.
    virtual void TakeEffect(TScenario& scenario, TUnit* caster) = 0;
    // Set for the one frame at which the spell acts.
    virtual bool EffectNow() const = 0;
    virtual bool Finished() const = 0;
    virtual uint32_t CasterID() const = 0;
    // The visual's current frame over the map; (offsetX, offsetY) is added to map
    // pixels to reach the target's pixels.
    virtual void Draw(Win32::IDirectDrawSurface7* target, int offsetX, int offsetY,
                      const Win32::RECT& clip) = 0;
};

// Installed by the spells library; a scenario without it casts no map spells.
using TSpellEffectFactory = std::function<std::unique_ptr<TSpellEffect>(TScenario&)>;

} // namespace GameData
