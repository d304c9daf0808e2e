#include "engine/graphics/SpriteList.h"
#include "game/world/data/LoadedGlobalData.h"
#include "game/world/units/Unit.h"

namespace GameData {

namespace {

void Take(Gfx::TSprite*& slot, int32_t id, bool withSurfaces) {
    if (slot)
        return;
    slot = Data2::LoadedGlobalData().CreatureLibrary.AcquireSpriteByID(uint32_t(id));
    // Without a display this leaves the sprite as it is.
    if (slot && withSurfaces)
        slot->PrepareSurfaces(false);
}

void Give(Gfx::TSprite*& slot) {
    // Once the global data is gone, so are its libraries and their sprites.
    if (slot && Data2::GlobalData)
        Data2::GlobalData->CreatureLibrary.ReleaseSpriteByPointer(slot);
    slot = nullptr;
}

uint32_t HeldID(const Gfx::TSprite* sprite) {
    return sprite ? sprite->ID : 0;
}

} // namespace

void TUnit::AcquirePortrait() {
    if (Prototype)
        Take(FPortrait, Prototype->PortraitID, false);
}

void TUnit::ReleasePortrait() {
    Give(FPortrait);
}

void TUnit::AcquireDetailPicture() {
    if (Prototype)
        Take(FDetailPicture, Prototype->DetailPictureID, false);
}

void TUnit::ReleaseDetailPicture() {
    Give(FDetailPicture);
}

void TUnit::AcquireSpriteSet(TUnitSpriteSet set) {
    for (int direction = 0; direction < UnitDirectionCount; ++direction)
        AcquireSprite(set, direction);
}

void TUnit::ReleaseSpriteSet(TUnitSpriteSet set) {
    for (int direction = 0; direction < UnitDirectionCount; ++direction)
        ReleaseSprite(set, direction);
}

void TUnit::AcquireSprite(TUnitSpriteSet set, int direction) {
    if (Prototype)
        Take(Slot(set, direction), Prototype->SpriteIDs[set][direction], IsBattleSpriteSet(set));
}

void TUnit::ReleaseSprite(TUnitSpriteSet set, int direction) {
    Give(Slot(set, direction));
}

void TUnit::ReleaseAllSprites() {
    ReleasePortrait();
    ReleaseDetailPicture();
    for (int set = 0; set < UnitSpriteSetCount; ++set)
        ReleaseSpriteSet(TUnitSpriteSet(set));
}

void TUnit::RefreshSprites() {
    if (!Prototype || HeldID(FPortrait) == uint32_t(Prototype->PortraitID))
        return;
    ReleasePortrait();
    ReleaseSpriteSet(usMapStanding);
    ReleaseSpriteSet(usMapDying);
    AcquirePortrait();
    AcquireSpriteSet(usMapStanding);
    AcquireSpriteSet(usMapDying);
    if (FDetailPicture) {
        ReleaseDetailPicture();
        AcquireDetailPicture();
    }
    for (int set = usBattleIdle; set < UnitSpriteSetCount; ++set)
        for (int direction = 0; direction < UnitDirectionCount; ++direction)
            if (Slot(TUnitSpriteSet(set), direction)) {
                ReleaseSprite(TUnitSpriteSet(set), direction);
                AcquireSprite(TUnitSpriteSet(set), direction);
            }
}

} // namespace GameData
