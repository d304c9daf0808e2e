// The phases of a spell's visual, its sounds and the particles of each tick.
#include "game/spells/SpellVisual.h"

#include "engine/app/D3DFramework.h"
#include "engine/graphics/Sprite.h"
#include "engine/graphics/SpriteDrawing.h"
#include "engine/graphics/SpriteList.h"
#include "game/world/data/GlobalData.h"
#include "game/world/groups/Group.h"
#include "game/world/objects/MapGeometry.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/sound/SoundEffects.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>

namespace GameData {

namespace {

constexpr int FirstBattleSpell = 65;

bool IsMissile(int id) {
    switch (id) {
    case 17:
    case 40:
    case 41:
    case 42:
    case 43:
    case 52:
    case 55:
    case 60:
    case 77:
    case 78:
    case 81:
    case 104:
    case 105:
    case 106:
    case 116:
    case 119:
    case 124:
        return true;
    default:
        return false;
    }
}

bool IsWideArea(int id) {
    return id == 7 || id == 8 || id == 18 || id == 19 || id == 45;
}

uint32_t FlightLength(bool hasFlight, int speed, double distance) {
    // A speed of 0 would never arrive: the missile is there at once.
    if (!hasFlight || speed <= 0)
        return 0;
    return uint32_t(distance / (speed * 0.01));
}

// The direction angle of a missile from (dx, dy), a quarter turn on.
float DirectionAngle(double dx, double dy) {
    const double d = std::hypot(dx, dy);
    double a = d > 0 ? std::acos(dx / d) : 0.0;
    if (dy < 0)
        a = 2 * std::numbers::pi - a;
    return float(a + std::numbers::pi / 2);
}

int CellOf(int pixel) {
    return pixel / CellSize;
}

} // namespace

int UsableFrames(const Gfx::TSprite* sprite) {
    return sprite ? std::max(0, sprite->DrawableFrameCount()) : 0;
}

TSpellPhases ComputeSpellPhases(int id, int castFrames, int castTicks, bool hasFlight,
                                int flightSpeed, int impactFrames, int impactTicks,
                                double distance) {
    const uint32_t castLength = uint32_t(std::max(0, castFrames) * std::max(0, castTicks));
    const uint32_t impactLength = uint32_t(std::max(0, impactFrames) * std::max(0, impactTicks));
    const uint32_t flight = FlightLength(hasFlight, flightSpeed, distance);
    TSpellPhases p;
    p.Impact = impactLength;
    if (IsMissile(id)) {
        p.Flight = flight;
        p.Total = p.Flight + p.Impact;
        p.EffectTick = p.Flight;
        return p;
    }
    switch (id) {
    case 98:
        p.Cast = castLength;
        p.Flight = flight;
        p.Impact = impactFrames > 0 ? 100 : 0;
        p.Total = p.EffectTick = p.Cast + p.Flight + p.Impact;
        return p;
    case 29:
    case 93:
        p.Flight = flight;
        p.Total = p.EffectTick = p.Flight + p.Impact;
        return p;
    case 31:
    case 95:
        p.Flight = flight;
        p.Total = p.EffectTick = p.Flight + p.Impact + 160;
        return p;
    case 82:
        p.Flight = FlightLength(hasFlight, flightSpeed, std::sqrt(50.0 * 50.0 + 300.0 * 300.0));
        p.Total = p.Flight + p.Impact;
        p.EffectTick = p.Flight + p.Impact / 2;
        return p;
    case 21:
        p.Total = p.Impact;
        p.EffectTick = p.Total * 4 / 5;
        return p;
    case 33:
        p.Impact = 2 * impactLength;
        p.Total = p.Impact;
        p.EffectTick = 0;
        return p;
    case 23:
        p.Cast = castLength;
        p.Total = p.EffectTick = p.Cast + p.Impact;
        return p;
    case 61:
        p.Total = p.EffectTick = p.Impact;
        return p;
    default:
        p.Total = p.Impact;
        p.EffectTick = p.Total / 2;
        return p;
    }
}

TSpell::~TSpell() {
    ReleaseSprites();
}

int TSpell::SpellID() const {
    return Prototype ? Prototype->ID : 0;
}

void TSpell::ReleaseSprites() {
    if (!Data2::GlobalData)
        return;
    for (Gfx::TSprite** sprite : {&CastSprite, &FlightSprite, &ImpactSprite}) {
        if (*sprite)
            Data2::GlobalData->SpellLibrary.ReleaseSpriteByPointer(*sprite);
        *sprite = nullptr;
    }
}

void TSpell::SetPrototype(const Data2::TSpellPrototype* prototype, int32_t volume) {
    if (prototype != Prototype)
        ReleaseSprites();
    Prototype = prototype;
    Volume = volume;
    Tick = 0;
    if (!Prototype || !Data2::GlobalData || CastSprite || FlightSprite || ImpactSprite)
        return;
    Gfx::TSpriteList& library = Data2::GlobalData->SpellLibrary;
    CastSprite = library.TryAcquireSprite(uint32_t(Prototype->CastSpriteID));
    FlightSprite = library.TryAcquireSprite(uint32_t(Prototype->FlightSpriteID));
    ImpactSprite = library.TryAcquireSprite(uint32_t(Prototype->ImpactSpriteID));
}

void TSpell::StartSpellAnimation(int sourceX, int sourceY, int targetY, int targetX) {
    SourceX = sourceX;
    SourceY = sourceY;
    TargetX = targetX;
    TargetY = targetY;
    Tick = 0;
    EffectNow = Finished = 0;
    Started = 1;
    const double distance = std::hypot(double(targetX - sourceX), double(targetY - sourceY));
    const TSpellPhases phases =
        Prototype ? ComputeSpellPhases(SpellID(), UsableFrames(CastSprite), Prototype->CastTicks,
                                       FlightSprite != nullptr, Prototype->FlightSpeed,
                                       UsableFrames(ImpactSprite), Prototype->ImpactTicks, distance)
                  : TSpellPhases{};
    CastTicks = phases.Cast;
    FlightTicks = phases.Flight;
    ImpactTicks = phases.Impact;
    Total = phases.Total;
    EffectTick = phases.EffectTick;
    RebuildParticles();
}

// What the player at this machine sees, whoever is on turn: on a computer's or a
// remote player's turn the effect must neither show what they see nor hide what
// this player sees.
const TPlayer* TSpell::Viewer() const {
    return Scenario ? Scenario->ViewingPlayer() : nullptr;
}

bool TSpell::IsCellShown(int cellX, int cellY) const {
    const TPlayer* player = Viewer();
    return player && player->IsCellVisible(cellX, cellY);
}

bool TSpell::IsAnyCellShown(int cellX, int cellY, int radius) const {
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx)
            if (IsCellShown(cellX + dx, cellY + dy))
                return true;
    return false;
}

bool TSpell::IsSourceAudible() const {
    if (SpellID() >= FirstBattleSpell)
        return true;
    return IsCellShown(CellOf(SourceX), CellOf(SourceY));
}

bool TSpell::IsImpactAudible() const {
    const int id = SpellID();
    if (id >= FirstBattleSpell)
        return true;
    const int x = CellOf(TargetX), y = CellOf(TargetY);
    if (IsWideArea(id))
        return IsAnyCellShown(x, y, 2);
    if (id == 26)
        return IsAnyCellShown(x, y, 1);
    if (id == 21)
        return IsSourceAudible() || IsCellShown(x, y);
    if (id == 33) {
        const TPlayer* viewer = Viewer();
        const TUnit* caster = Scenario ? Scenario->Units.FindByID(CasterID) : nullptr;
        const TGroup* group = caster ? caster->GetGroup() : nullptr;
        if (viewer && group) {
            const int8_t relation = viewer->GetRelationToGroup(group);
            if (relation == RelationSelf || relation == reFriendly)
                return true;
        }
        for (int dy = -RevealRadius; dy <= RevealRadius; ++dy)
            for (int dx = -RevealRadius; dx <= RevealRadius; ++dx)
                if (std::hypot(dx, dy) <= RevealRadius + 0.5 && IsCellShown(x + dx, y + dy))
                    return true;
        return false;
    }
    return IsCellShown(x, y);
}

void TSpell::PlayPhaseSound(Audio::TAudioStream* sound, bool audible) const {
    if (!sound || !audible)
        return;
    if (PlaySound)
        PlaySound(sound, Volume);
    else
        PlayEffect(sound, Volume);
}

void TSpell::PrepareSpriteSurfaces() {
    for (Gfx::TSprite* sprite : {CastSprite, FlightSprite, ImpactSprite})
        if (sprite && !sprite->HasSurfaces())
            sprite->PrepareSurfaces(false);
}

void TSpell::Advance() {
    // The effect was prepared on a worker thread, which makes no device surfaces; the
    // turned, scaled and beam drawings need them.
    PrepareSpriteSurfaces();
    if (!Finished && Prototype) {
        if (Tick == 0)
            PlayPhaseSound(Prototype->CastSound, IsSourceAudible());
        if (Tick == CastTicks)
            PlayPhaseSound(Prototype->FlightSound, IsSourceAudible());
        if (Tick == CastTicks + FlightTicks)
            PlayPhaseSound(Prototype->ImpactSound, IsImpactAudible());
    }
    EffectNow = Tick == EffectTick && !Finished;
    if (Tick > Total && !Finished)
        Finished = 1;
    else
        ++Tick;
    RebuildParticles();
}

bool TSpell::IsParticleShown(const TSpellDrawInfo& info) const {
    const int id = SpellID();
    // Both sides of a battle see the whole field.
    if (id >= FirstBattleSpell)
        return true;
    const int x = CellOf(TargetX), y = CellOf(TargetY);
    if (IsWideArea(id))
        return IsAnyCellShown(x, y, 2);
    if (id == 26)
        return IsAnyCellShown(x, y, 1);
    if (id == 33)
        return IsImpactAudible();
    if (info.Kind == sdBeam)
        return IsCellShown(CellOf(info.X), CellOf(info.Y)) ||
               IsCellShown(CellOf(info.X2), CellOf(info.Y2));
    return IsCellShown(CellOf(info.X), CellOf(info.Y));
}

void TSpell::AddDrawInfo(const TSpellDrawInfo& info) {
    if (IsParticleShown(info))
        Particles.Add(std::make_unique<TSpellDrawInfo>(info).release());
}

// Missiles of spells 17, 40-43, 52, 55, 60 and 29 and of their battle kin: the cast
// sprite while the missile is within 80 pixels of the caster, then the flight sprite,
// then the impact.
void TSpell::AddMissile(const TMissileLook& look) {
    const int id = SpellID();
    const double dx = TargetX - SourceX, dy = TargetY - SourceY;
    const double d = std::hypot(dx, dy);
    const float angle = DirectionAngle(dx, dy);
    if (Tick < FlightTicks) {
        const double share = double(Tick) / FlightTicks;
        const double travelled = d * share;
        TSpellDrawInfo info;
        info.Kind = sdTransformed;
        info.X = int32_t(SourceX + dx * share);
        info.Y = int32_t(SourceY + dy * share - look.Lift);
        info.Angle = angle;
        info.ScaleX = info.ScaleY = look.Scale;
        const int castFrames = UsableFrames(CastSprite);
        const int flightFrames = UsableFrames(FlightSprite);
        if (travelled < 80 && castFrames > 0) {
            const int step = std::max(1, 80 / castFrames);
            info.Sprite = CastSprite;
            info.Frame = uint32_t(std::min(int(travelled) / step, castFrames - 1));
            // The fireball grows out of the caster's hands.
            if (id == 29 || id == 93)
                info.ScaleX = info.ScaleY = float(travelled / 160 + 0.5) * look.Scale;
        } else if (flightFrames > 0) {
            info.Sprite = FlightSprite;
            const int perFrame = std::max(1, Prototype->FlightTicks);
            info.Frame = uint32_t((int(Tick) / perFrame) % flightFrames);
        }
        if (info.Sprite)
            AddDrawInfo(info);
        return;
    }
    const int perFrame = Prototype->ImpactTicks;
    const uint32_t frame = perFrame > 0 ? (Tick - FlightTicks) / uint32_t(perFrame) : 0;
    if (!ImpactSprite || frame >= uint32_t(UsableFrames(ImpactSprite)))
        return;
    TSpellDrawInfo info;
    info.Sprite = ImpactSprite;
    info.Frame = frame;
    info.X = TargetX;
    info.Y = TargetY - int32_t(look.ImpactLift);
    if (look.ImpactTransformed) {
        info.Kind = sdTransformed;
        info.ScaleX = info.ScaleY = look.Scale;
        info.Angle = look.ImpactTurned ? angle : 0.0f;
    }
    AddDrawInfo(info);
}

// Spell 31 (and 95 in battle): twenty missiles, one every 8 ticks, growing as they fly.
void TSpell::AddBarrage(float lift, float scale) {
    const double dx = TargetX - SourceX, dy = TargetY - SourceY;
    const float angle = DirectionAngle(dx, dy);
    const int castFrames = UsableFrames(CastSprite), flightFrames = UsableFrames(FlightSprite);
    const int impactFrames = UsableFrames(ImpactSprite);
    const int castPerFrame = std::max(1, Prototype->CastTicks);
    const int flightPerFrame = std::max(1, Prototype->FlightTicks);
    const int impactPerFrame = std::max(1, Prototype->ImpactTicks);
    const uint32_t impactLength = uint32_t(impactFrames * std::max(0, Prototype->ImpactTicks));
    for (uint32_t i = 0; i < 20; ++i) {
        if (Tick < 8 * i || Tick >= 8 * i + FlightTicks + impactLength)
            continue;
        const uint32_t e = Tick - 8 * i;
        TSpellDrawInfo info;
        info.Kind = sdTransformed;
        info.Angle = angle;
        if (e < FlightTicks) {
            const double share = double(e) / FlightTicks;
            info.X = int32_t(SourceX + dx * share);
            info.Y = int32_t(SourceY + dy * share - lift);
            info.ScaleX = info.ScaleY = float(0.8 * share + 0.2) * scale;
            if (e < uint32_t(castFrames * castPerFrame) && castFrames > 0) {
                info.Sprite = CastSprite;
                info.Frame = uint32_t((int(e) / castPerFrame) % castFrames);
            } else if (flightFrames > 0) {
                info.Sprite = FlightSprite;
                info.Frame = uint32_t((int(e) / flightPerFrame) % flightFrames);
            }
        } else if (impactFrames > 0) {
            info.Sprite = ImpactSprite;
            info.Frame = uint32_t((int(e - FlightTicks) / impactPerFrame) % impactFrames);
            info.X = TargetX;
            info.Y = TargetY - int32_t(lift);
            info.ScaleX = info.ScaleY = scale;
        }
        if (info.Sprite)
            AddDrawInfo(info);
    }
}

void TSpell::RebuildParticles() {
    Particles.Clear();
    const int id = SpellID();
    if (!Prototype || Finished)
        return;
    if (id >= FirstBattleSpell) {
        RebuildBattleParticles();
        return;
    }
    if (IsMissile(id) || id == 29) {
        AddMissile({10.0f, 1.0f, false, false, id == 29 ? 10.0f : 0.0f});
        return;
    }
    if (id == 31) {
        AddBarrage(15, 1);
        return;
    }
    const int frames = UsableFrames(ImpactSprite);
    const int perFrame = Prototype->ImpactTicks;
    const uint32_t f = perFrame > 0 ? Tick / uint32_t(perFrame) : 0;
    if (id == 33) {
        // Each revealed cell sparkles from its own frame; the effect lasts twice the frames.
        if (!ImpactSprite || frames <= 0)
            return;
        const int r = RevealRadius;
        for (int dy = -r; dy <= r; ++dy)
            for (int dx = -r; dx <= r; ++dx) {
                if (std::hypot(dx, dy) > r + 0.5)
                    continue;
                const int offset = ((dx * 1467) % 137 + (dy * 3456) % 17 + 1000) % frames;
                const int frame = int(f) + offset - frames;
                if (frame < 0 || frame >= frames)
                    continue;
                TSpellDrawInfo info;
                info.Sprite = ImpactSprite;
                info.Frame = uint32_t(frame);
                info.X = TargetX + dx * CellSize;
                info.Y = TargetY + dy * CellSize;
                AddDrawInfo(info);
            }
        return;
    }
    if (id == 34) {
        const int flightFrames = UsableFrames(FlightSprite);
        if (flightFrames <= 0 || ImpactTicks == 0 || Tick >= ImpactTicks)
            return;
        TSpellDrawInfo info;
        info.Kind = sdTransformed;
        info.Sprite = FlightSprite;
        info.Frame = uint32_t((int(Tick) / std::max(1, Prototype->FlightTicks)) % flightFrames);
        info.X = SourceX;
        info.Y = SourceY - 10;
        info.Angle = DirectionAngle(SourceX - TargetX, SourceY - TargetY);
        info.ScaleX = info.ScaleY = 1.0f - float(Tick) / float(ImpactTicks);
        AddDrawInfo(info);
        return;
    }
    if (!ImpactSprite || f >= uint32_t(frames))
        return;
    TSpellDrawInfo info;
    info.Sprite = ImpactSprite;
    info.Frame = f;
    info.X = TargetX;
    info.Y = TargetY;
    if (IsWideArea(id)) {
        const float size = id == 7 ? 240.0f : 280.0f;
        info.Kind = sdTransformed;
        info.ScaleX = ImpactSprite->Width > 0 ? size / ImpactSprite->Width : 1.0f;
        info.ScaleY = ImpactSprite->Height > 0 ? size / ImpactSprite->Height : 1.0f;
    } else if (id == 26) {
        info.Kind = sdTransformed;
        info.ScaleX = info.ScaleY = 2.0f;
    } else if (id == 57) {
        info.Kind = sdBeam;
        info.X = SourceX;
        info.Y = SourceY - 20;
        info.X2 = TargetX;
        info.Y2 = TargetY - 20;
        info.Angle = 3.01f;
    }
    AddDrawInfo(info);
    if (id == 21) {
        info.X = SourceX;
        info.Y = SourceY;
        AddDrawInfo(info);
    }
}

// Battle spells, larger than on the map (the field is seen from closer) and lifted to
// the fighters' middles.
void TSpell::RebuildBattleParticles() {
    constexpr float Scale = 1.4f;
    const int id = SpellID();
    if (IsMissile(id)) {
        AddMissile({25.0f, Scale, true, id == 77, 25.0f});
        return;
    }
    if (id == 93) {
        AddMissile({25.0f, Scale, true, false, 25.0f});
        return;
    }
    if (id == 95) {
        AddBarrage(30, Scale);
        return;
    }
    if (id == 82) {
        AddFallingMissile(Scale);
        return;
    }
    if (id == 98) {
        AddDrainBack(Scale);
        return;
    }
    const int perFrame = Prototype->ImpactTicks;
    const uint32_t f = perFrame > 0 ? Tick / uint32_t(perFrame) : 0;
    if (!ImpactSprite || f >= uint32_t(UsableFrames(ImpactSprite)))
        return;
    TSpellDrawInfo info;
    info.Sprite = ImpactSprite;
    info.Frame = f;
    if (id == 121 || id == 83) {
        info.Kind = sdBeam;
        const int lift = id == 121 ? 30 : 25;
        info.X = SourceX;
        info.Y = SourceY - lift;
        if (id == 121) {
            info.X2 = TargetX;
            info.Y2 = TargetY - lift;
        } else {
            // Through the target and a third of the way again beyond it.
            info.X2 = TargetX + (TargetX - SourceX) / 3;
            info.Y2 = TargetY + (TargetY - SourceY) / 3 - 10;
        }
        AddDrawInfo(info);
        return;
    }
    info.Kind = sdTransformed;
    info.X = TargetX;
    info.Y = TargetY;
    info.ScaleX = info.ScaleY = Scale;
    AddDrawInfo(info);
}

// Spell 82: the flight sprite falls onto the target from above and to the right.
void TSpell::AddFallingMissile(float scale) {
    constexpr int FromX = 50, FromY = -300;
    const float angle = DirectionAngle(FromX, FromY);
    TSpellDrawInfo info;
    info.Kind = sdTransformed;
    info.Angle = angle;
    info.ScaleX = info.ScaleY = scale;
    if (Tick < FlightTicks) {
        const int frames = UsableFrames(FlightSprite);
        if (frames <= 0)
            return;
        const double left = double(FlightTicks - Tick) / FlightTicks;
        info.Sprite = FlightSprite;
        info.Frame = uint32_t((int(Tick) / std::max(1, Prototype->FlightTicks)) % frames);
        info.X = TargetX + int32_t(FromX * left);
        info.Y = TargetY + int32_t(FromY * left) - 25;
        AddDrawInfo(info);
        return;
    }
    const int perFrame = Prototype->ImpactTicks;
    const uint32_t frame = perFrame > 0 ? (Tick - FlightTicks) / uint32_t(perFrame) : 0;
    if (!ImpactSprite || frame >= uint32_t(UsableFrames(ImpactSprite)))
        return;
    info.Sprite = ImpactSprite;
    info.Frame = frame;
    info.X = TargetX;
    info.Y = TargetY - 25;
    AddDrawInfo(info);
}

// Spell 98: gathered at the target, carried back to the caster and swallowed there.
void TSpell::AddDrainBack(float scale) {
    TSpellDrawInfo info;
    info.Kind = sdTransformed;
    info.ScaleX = info.ScaleY = scale;
    if (Tick < CastTicks) {
        const int frame = int(Tick) / std::max(1, Prototype->CastTicks);
        if (frame >= UsableFrames(CastSprite))
            return;
        info.Sprite = CastSprite;
        info.Frame = uint32_t(frame);
        info.X = TargetX;
        info.Y = TargetY - 25;
        AddDrawInfo(info);
        return;
    }
    const int frames = UsableFrames(FlightSprite);
    if (frames <= 0)
        return;
    const uint32_t since = Tick - CastTicks;
    info.Sprite = FlightSprite;
    info.Frame = uint32_t((int(since) / std::max(1, Prototype->FlightTicks)) % frames);
    info.Angle = DirectionAngle(SourceX - TargetX, SourceY - TargetY);
    if (since < FlightTicks) {
        const double share = double(since) / FlightTicks;
        info.X = TargetX + int32_t((SourceX - TargetX) * share);
        info.Y = TargetY + int32_t((SourceY - TargetY) * share) - 25;
    } else {
        if (ImpactTicks == 0 || since - FlightTicks >= ImpactTicks)
            return;
        info.X = SourceX;
        info.Y = SourceY - 25;
        const float shrink = 1.0f - float(since - FlightTicks) / float(ImpactTicks);
        info.ScaleX = info.ScaleY = shrink * scale;
    }
    AddDrawInfo(info);
}

namespace {

// Turned, scaled and beam drawings go through the device, which the clip does not reach:
// while they are drawn its viewport is narrowed to the clip, so that an effect at the
// edge of the map view stays inside it.
class TDeviceClip {
public:
    explicit TDeviceClip(const Win32::RECT& clip) {
        FDevice = D3DFrame::D3DFramework ? D3DFrame::D3DFramework->Device() : nullptr;
        if (!FDevice || Win32::FAILED(FDevice->GetViewport(&FSaved)))
            return;
        const int32_t left = std::max<int32_t>(clip.left, int32_t(FSaved.dwX));
        const int32_t top = std::max<int32_t>(clip.top, int32_t(FSaved.dwY));
        const int32_t right = std::min<int32_t>(clip.right, int32_t(FSaved.dwX + FSaved.dwWidth));
        const int32_t bottom =
            std::min<int32_t>(clip.bottom, int32_t(FSaved.dwY + FSaved.dwHeight));
        const Win32::D3DVIEWPORT7 narrowed{uint32_t(left),
                                           uint32_t(top),
                                           uint32_t(std::max(0, right - left)),
                                           uint32_t(std::max(0, bottom - top)),
                                           FSaved.dvMinZ,
                                           FSaved.dvMaxZ};
        FNarrowed = Win32::SUCCEEDED(FDevice->SetViewport(&narrowed));
    }
    ~TDeviceClip() {
        if (FNarrowed)
            FDevice->SetViewport(&FSaved);
    }
    TDeviceClip(const TDeviceClip&) = delete;
    TDeviceClip& operator=(const TDeviceClip&) = delete;

private:
    Win32::IDirect3DDevice7* FDevice = nullptr;
    Win32::D3DVIEWPORT7 FSaved{};
    bool FNarrowed = false;
};

} // namespace

void TSpell::DrawSpellEffects(Win32::IDirectDrawSurface7* target, int offsetX,
                              const Win32::RECT& clip, int offsetY) const {
    if (Particles.Count() == 0)
        return;
    const TDeviceClip deviceClip(clip);
    for (const TSpellDrawInfo* info : Particles) {
        Gfx::TSprite* sprite = info->Sprite;
        const int frame = int(info->Frame);
        if (!sprite || frame >= sprite->FrameCount())
            continue;
        const int x = info->X + offsetX, y = info->Y + offsetY;
        switch (info->Kind) {
        case sdTransformed:
            Gfx::DrawSpriteTransformed(sprite, target, frame, x, y, info->Angle, info->ScaleX,
                                       info->ScaleY);
            break;
        case sdBeam:
            Gfx::DrawSpriteBeam(sprite, frame, x, y, info->X2 + offsetX, info->Y2 + offsetY, 3);
            break;
        default:
            Gfx::DrawSprite(sprite, target, frame, x - sprite->HotSpotX, y - sprite->HotSpotY,
                            &clip);
            break;
        }
    }
}

} // namespace GameData
