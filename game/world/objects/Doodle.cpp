#include "game/world/objects/Doodle.h"

#include "game/world/objects/MapGeometry.h"
#include "game/world/objects/MapSounds.h"
#include "game/world/scenario/Scenario.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace GameData {

namespace {

constexpr int AmbientFullVolumeDistance = 150;
// The listener stands at the centre of the map view less the panel on its right.
constexpr int SidePanelWidth = 230;

int FloorDiv(int value, int divisor) {
    return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

} // namespace

TDoodle::TDoodle(TScenario* scenario) : TMapObject(scenario) {
    Kind = okDoodle;
    Name = "Doodle";
}

TDoodle::~TDoodle() {
    ReleaseSprite();
}

void TDoodle::AcquireSprite() {
    ReleaseSprite();
    if (!Prototype || !Scenario)
        return;
    Sprite = Scenario->SpriteLibrary.AcquireSpriteByID(Prototype->SpriteID);
    if (Sprite && Sprite->FrameCount() > 0)
        Sprite->PrepareSurfaces(false);
}

void TDoodle::ReleaseSprite() {
    if (Sprite && Scenario)
        Scenario->SpriteLibrary.ReleaseSpriteByPointer(Sprite);
    Sprite = nullptr;
}

int TDoodle::AnimationFrameCount() const {
    return Sprite ? Sprite->DrawableFrameCount() : 0;
}

int TDoodle::GetFrame() const {
    return Sprite && Frame >= 0 && Frame < AnimationFrameCount() ? Frame : 0;
}

void TDoodle::SetPrototype(const TDoodlePrototype* prototype) {
    Prototype = prototype;
    StartChance = prototype ? prototype->StartChance : 0;
    if (prototype)
        Layer = static_cast<int16_t>(prototype->Layer);
    Active = 1;
    Frame = 0;
    Ticks = 0;
    AcquireSprite();
    // Visual variety only: the scenario's plain generator, never the game's.
    if (Scenario && prototype && prototype->AnimationMode == daLoop &&
        prototype->AnimationPeriod >= 1 && AnimationFrameCount() > 1)
        Frame = Scenario->PlainRandom.Below(AnimationFrameCount());
}

void TDoodle::StopSound() {
    if (SoundTrack >= 0 && Scenario && Scenario->Sounds)
        Scenario->Sounds->FadeOutTrack(SoundTrack);
    SoundTrack = -1;
}

void TDoodle::Tick() {
    // A stored count may stand anywhere: wrap instead of overflowing.
    Ticks = static_cast<int32_t>(static_cast<uint32_t>(Ticks) + 1u);
    Animate();
    PlayAmbientSound();
}

void TDoodle::Animate() {
    const int frames = AnimationFrameCount();
    if (!Prototype || Prototype->AnimationMode == daStill || Prototype->AnimationPeriod <= 0 ||
        frames <= 1 || Ticks % Prototype->AnimationPeriod != 0)
        return;
    if (Prototype->AnimationMode == daRandomStart && Frame == 0 && StartChance != 0 && Scenario &&
        Scenario->PlainRandom.Below(StartChance) != 0)
        return;
    // A stored frame outside the animation starts it again.
    Frame = Frame >= 0 && Frame < frames - 1 ? Frame + 1 : 0;
}

void TDoodle::PlayAmbientSound() {
    TMapSounds* sounds = Scenario ? Scenario->Sounds : nullptr;
    if (!sounds || sounds->EffectVolume() <= 0 || Scenario->IsPaused() || !Prototype ||
        Prototype->SoundID == 0 || !Sprite)
        return;
    int volume = static_cast<int>(int64_t(Prototype->SoundVolume) * sounds->EffectVolume() / 100);
    const TMapView& view = Scenario->View;
    const double listenerX = view.Left + (view.Width - SidePanelWidth) / 2;
    const double listenerY = view.Top + view.Height / 2;
    const RECT bounds = GetBounds();
    const double dx = (bounds.left + bounds.right) / 2 - listenerX;
    const double dy = (bounds.top + bounds.bottom) / 2 - listenerY;
    const int distance = static_cast<int>(std::floor(std::sqrt(dx * dx + dy * dy)));
    if (distance > AmbientFullVolumeDistance)
        volume = std::clamp(volume - (distance - AmbientFullVolumeDistance) / 5, 0, 100);
    if (SoundTrack < 0)
        SoundTrack = sounds->PlayEffectByID(Prototype->SoundID, volume);
    else if (sounds->IsTrackPlaying(SoundTrack))
        sounds->SetTrackVolume(SoundTrack, volume);
}

void TDoodle::PatchCell(int cx, int cy) const {
    const int index = Scenario->CellIndex(cx, cy);
    Scenario->Heights[index] =
        static_cast<int16_t>(Scenario->Heights[index] + Prototype->HeightDelta);
    // A negative delta or a sum past 255 must not wrap: 255 means impassable.
    Scenario->Costs[index] =
        static_cast<uint8_t>(std::clamp(Scenario->Costs[index] + Prototype->CostDelta, 0, 255));
}

void TDoodle::PatchTerrain() {
    if (!Scenario || !Prototype || !Active || Scenario->Costs.empty())
        return;
    if (Prototype->PatchMode == dpOwnCell) {
        if (IsOnMap())
            PatchCell(CellX(), CellY());
        return;
    }
    if (Prototype->PatchMode != dpUnderSprite)
        return;
    const RECT r = GetBounds();
    const int firstColumn = std::max(0, FloorDiv(r.left + HalfCell, CellSize));
    const int lastColumn =
        std::min<int>(Scenario->Width - 1, FloorDiv(r.right - HalfCell, CellSize));
    const int firstRow = std::max(0, FloorDiv(r.top + HalfCell, CellSize));
    const int lastRow =
        std::min<int>(Scenario->Height - 1, FloorDiv(r.bottom - HalfCell, CellSize));
    for (int cy = firstRow; cy <= lastRow; ++cy)
        for (int cx = firstColumn; cx <= lastColumn; ++cx)
            PatchCell(cx, cy);
}

void TDoodle::LoadFromStream(TStream* stream) {
    TMapObject::LoadFromStream(stream);
    const auto prototypeID = stream->ReadValue<uint32_t>();
    StartChance = stream->ReadValue<uint16_t>();
    Active = stream->ReadValue<uint8_t>();
    Frame = stream->ReadValue<int32_t>();
    Ticks = stream->ReadValue<int32_t>();
    if (prototypeID == 0)
        return;
    for (const TDoodlePrototype& prototype : Scenario->DoodlePrototypes)
        if (prototype.ID == prototypeID) {
            Prototype = &prototype;
            Name = AnsiString(prototype.Name, strnlen(prototype.Name, sizeof(prototype.Name)));
            AcquireSprite();
            return;
        }
    throw Data::EInvalidData("Prototype not found.");
}

void TDoodle::SaveToStream(TStream* stream) const {
    TMapObject::SaveToStream(stream);
    stream->WriteValue<uint32_t>(Prototype ? Prototype->ID : 0);
    stream->WriteValue(StartChance);
    stream->WriteValue(Active);
    stream->WriteValue(Frame);
    stream->WriteValue(Ticks);
}

void TDoodle::Clear() {
    TMapObject::Clear();
    StopSound();
    ReleaseSprite();
    Prototype = nullptr;
    StartChance = 0;
    Active = 1;
    Frame = 0;
    Ticks = 0;
}

} // namespace GameData
