#include "ui/widgets/WidgetArt.h"

#include "game/world/data/GlobalData.h"
#include "game/world/data/MainData.h"
#include "game/world/sound/SoundEffects.h"

namespace Main {

using Data2::GlobalData;

Gfx::TSprite* CommonSprite(int slot) {
    return GlobalData && slot >= 0 && slot < Data2::CommonSpriteCount
               ? GlobalData->CommonSprites[slot]
               : nullptr;
}

TPictureHold::TPictureHold(int slot) {
    if (GlobalData && slot >= 0)
        FSprite = GlobalData->PictureLibrary.AcquireSpriteByID(
            static_cast<uint32_t>(GlobalData->PictureIDs[slot]));
}

TPictureHold::~TPictureHold() {
    // The library ignores sprites it does not hold.
    if (FSprite && GlobalData)
        GlobalData->PictureLibrary.ReleaseSpriteByPointer(FSprite);
}

Gfx::TSprite* MainDataSprite(int slot) {
    return Data2::MainData ? Data2::MainData->Sprites[slot] : nullptr;
}

Gfx::TSprite* TooltipBackground() {
    return MainDataSprite(msTooltipBackground);
}

Gfx::TFont* InterfaceFont(int index) {
    return GlobalData ? GlobalData->UIFonts[index] : nullptr;
}

void PlayWidgetSound(TWidgetSound sound) {
    if (GlobalData)
        GameData::PlayEffect(GlobalData->InterfaceSounds[static_cast<int>(sound)],
                             GameData::GetEffectVolume());
}

} // namespace Main
