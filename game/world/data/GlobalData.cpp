#include "game/world/data/GlobalData.h"

#include "game/world/data/DataArchives.h"
#include "game/world/data/DataFiles.h"

#include <cstring>

namespace Data2 {

std::unique_ptr<TGlobalData> GlobalData;

void CreateGlobalData() {
    GlobalData = std::make_unique<TGlobalData>();
}

void FreeGlobalData() {
    GlobalData.reset();
}

TGlobalData::TGlobalData(TEmptyGlobalData)
    : CommonSprites{}, BadgeCellWidth(0), BadgeCellHeight(0), PictureIDs{}, GameConstants{},
      LevelCount(0), LevelFiles{}, CommonLibrary(17), PictureLibrary(17), CreatureLibrary(17),
      SpellLibrary(17), UIFonts{}, InterfaceSounds{}, WeatherSounds{}, MusicIDs{} {}

TGlobalData::TGlobalData() : TGlobalData(TEmptyGlobalData{}) {
    try {
        Load();
    } catch (...) {
        ReleaseFonts();
        throw;
    }
}

TGlobalData::~TGlobalData() {
    ReleaseFonts();
}

int TGlobalData::FindUnitPrototype(int id) const {
    for (int i = 0; i < UnitPrototypes.Count(); ++i)
        if (UnitPrototypes[i].ID == id)
            return i;
    return -1;
}

int TGlobalData::FindSpell(int id) const {
    for (int i = 0; i < SpellPrototypes.Count(); ++i)
        if (SpellPrototypes[i].ID == static_cast<int16_t>(id))
            return i;
    return -1;
}

int TGlobalData::FindSkill(int id) const {
    for (int i = 0; i < SkillPrototypes.Count(); ++i)
        if (SkillPrototypes[i].ID == static_cast<int16_t>(id))
            return i;
    return -1;
}

int TGlobalData::FindFontDescription(int id) const {
    for (int i = 0; i < FontDescriptions.Count(); ++i)
        if (FontDescriptions[i].ID == id)
            return i;
    return -1;
}

int TGlobalData::FindFontDescriptionByFont(const Gfx::TFont* font) const {
    for (int i = 0; i < FontDescriptions.Count(); ++i)
        if (FontDescriptions[i].Font == font)
            return i;
    return -1;
}

Gfx::TFont* TGlobalData::GetFont(int id) {
    const int index = FindFontDescription(id);
    if (index < 0)
        throw ClassLib::Exception(ClassLib::Format("Font description with ID = %d not found!", id));
    TFontDescription& description = FontDescriptions[index];
    if (description.RefCount == 0) {
        const Data::TArchive& graphics = OpenedArchive(GraphicsArchive, "graphics");
        auto font = std::make_unique<Gfx::TFont>();
        WithFileContext("graphics", description.FileName,
                        [&] { font->LoadFromArchive(graphics, description.FileName); });
        description.Font = font.release(); // owned by the description until its last holder
    }
    ++description.RefCount;
    return description.Font;
}

int TGlobalData::ReleaseFont(Gfx::TFont*& slot) {
    if (!slot)
        return 0;
    const int index = FindFontDescriptionByFont(slot);
    if (index < 0)
        throw ClassLib::Exception("Font description with given pointer not found!");
    TFontDescription& description = FontDescriptions[index];
    if (description.RefCount > 0) {
        --description.RefCount;
        if (description.RefCount == 0) {
            std::unique_ptr<Gfx::TFont> last(description.Font);
            description.Font = nullptr;
        }
    }
    slot = nullptr;
    return description.RefCount;
}

void TGlobalData::ReleaseFonts() {
    for (Gfx::TFont*& slot : UIFonts)
        if (slot && FindFontDescriptionByFont(slot) >= 0)
            ReleaseFont(slot);
    for (TFontDescription& description : FontDescriptions) {
        if (description.RefCount != 0) {
            std::unique_ptr<Gfx::TFont> held(description.Font);
            description.Font = nullptr;
            description.RefCount = 0;
        }
    }
}

} // namespace Data2
