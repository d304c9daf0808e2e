#include "game/world/objects/Drawings.h"
#include "game/world/data/GlobalData.h"
#include "game/world/scenario/Scenario.h"

#include <cstdint>

namespace GameData {

Gfx::TSpriteList& GlobalSpriteList() {
    if (!Data2::GlobalData)
        throw ClassLib::Exception("The global game data is not loaded.");
    return Data2::GlobalData->CommonLibrary;
}

// A corpse shows a death's last frame: a scenery sprite of the common list, or a
// creature's dying sprite, which lives in the creature list.
Gfx::TSpriteList& CorpseSpriteList(uint32_t spriteID) {
    Gfx::TSpriteList& common = GlobalSpriteList();
    if (spriteID == 0 || common.IndexOf(spriteID) >= 0)
        return common;
    Gfx::TSpriteList& creatures = Data2::GlobalData->CreatureLibrary;
    return creatures.IndexOf(spriteID) >= 0 ? creatures : common;
}

void TDrawing::ReleaseSprite() {
    if (Sprite && Library)
        Library->ReleaseSpriteByPointer(Sprite);
    Sprite = nullptr;
    Library = nullptr;
}

void TDrawing::Clear() {
    TMapObject::Clear();
    ReleaseSprite();
    Frame = 0;
    Shown = 0;
}

void TDrawing::Setup(Gfx::TSprite* sprite, Gfx::TSpriteList* library, int frame, int layer, int y,
                     int x) {
    ReleaseSprite();
    Sprite = sprite;
    Library = library;
    Frame = frame;
    Layer = static_cast<int16_t>(layer);
    X = static_cast<int16_t>(x);
    Y = static_cast<int16_t>(y);
}

void TDrawing::SetupFromGlobal(uint32_t spriteID, int frame, int layer, int y, int x) {
    Gfx::TSpriteList& library = GlobalSpriteList();
    Setup(library.AcquireSpriteByID(spriteID), &library, frame, layer, y, x);
}

void TDrawing::AcquireStoredSprite(Gfx::TSpriteList& library, uint32_t spriteID) {
    ReleaseSprite();
    if (spriteID == 0)
        return;
    Sprite = library.TryAcquireSprite(spriteID);
    Data::CheckData(Sprite != nullptr);
    Library = &library;
    // Drawing trusts the frame: one the sprite does not have is corrupt data.
    Data::CheckData(Frame >= 0 && Frame < Sprite->FrameCount());
}

void TAnimation::Clear() {
    TDrawing::Clear();
    Period = 1;
    Delay = 0;
    Counter = 0;
    Finished = 0;
}

void TAnimation::Setup(uint32_t spriteID, int x, int delay, int period, int layer, int y) {
    Gfx::TSpriteList& library = Scenario->SpriteLibrary;
    TDrawing::Setup(library.AcquireSpriteByID(spriteID), &library, 0, layer, y, x);
    if (Sprite)
        Sprite->PrepareSurfaces(false);
    Period = period;
    Delay = delay;
    Counter = 0;
    Finished = 0;
}

void TAnimation::Tick() {
    TDrawing::Tick();
    if (!Sprite)
        return;
    // Stored counters can hold any value: count without overflowing.
    if (Counter < INT32_MAX)
        ++Counter;
    if (Counter < Delay || (Period > 0 && (int64_t(Counter) - Delay) % Period != 0))
        return;
    ++Frame;
    Invalidated = 1;
    if (Frame >= Sprite->DrawableFrameCount()) {
        ReleaseSprite();
        Finished = 1;
    }
}

void TAnimation::LoadFromStream(TStream* stream) {
    TMapObject::LoadFromStream(stream);
    Shown = stream->ReadValue<uint8_t>();
    Frame = stream->ReadValue<int32_t>();
    Counter = stream->ReadValue<int32_t>();
    Period = stream->ReadValue<int32_t>();
    Delay = stream->ReadValue<int32_t>();
    AcquireStoredSprite(Scenario->SpriteLibrary, stream->ReadValue<uint32_t>());
    if (Sprite)
        Sprite->PrepareSurfaces(false);
}

void TAnimation::SaveToStream(TStream* stream) const {
    TMapObject::SaveToStream(stream);
    stream->WriteValue(Shown);
    stream->WriteValue(Frame);
    stream->WriteValue(Counter);
    stream->WriteValue(Period);
    stream->WriteValue(Delay);
    stream->WriteValue(SpriteID());
}

void TCorpse::LoadFromStream(TStream* stream) {
    TMapObject::LoadFromStream(stream);
    Shown = stream->ReadValue<uint8_t>();
    Frame = stream->ReadValue<int32_t>();
    const auto spriteID = stream->ReadValue<uint32_t>();
    if (spriteID != 0)
        AcquireStoredSprite(CorpseSpriteList(spriteID), spriteID);
}

void TCorpse::SaveToStream(TStream* stream) const {
    TMapObject::SaveToStream(stream);
    stream->WriteValue(Shown);
    stream->WriteValue(Frame);
    stream->WriteValue(SpriteID());
}

void TNaturalCorpse::Clear() {
    TCorpse::Clear();
    TurnsLeft = 0;
}

void TNaturalCorpse::Setup(uint32_t spriteID, int frame, int turnsLeft, int layer, int y, int x) {
    Gfx::TSpriteList& library = CorpseSpriteList(spriteID);
    TDrawing::Setup(library.AcquireSpriteByID(spriteID), &library, frame, layer, y, x);
    TurnsLeft = turnsLeft;
}

void TNaturalCorpse::LoadFromStream(TStream* stream) {
    TCorpse::LoadFromStream(stream);
    TurnsLeft = stream->ReadValue<int32_t>();
}

void TNaturalCorpse::SaveToStream(TStream* stream) const {
    TCorpse::SaveToStream(stream);
    stream->WriteValue(TurnsLeft);
}

} // namespace GameData
