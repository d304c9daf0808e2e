// The spell book and the unit sheet on a display with fonts rasterised from DejaVu:
// spell, skill and unit prototypes made in code, and a unit that knows every spell.
#pragma once

#include "engine/core/Base.h"
#include "game/world/data/GlobalData.h"
#include "game/world/units/Unit.h"
#include "tests/support/UnitBuilder.h"
#include "tests/ui/widgets/GameWidgetFixture.h"

#include <memory>
#include <string>
#include <vector>

inline constexpr int DetailPictureID = 901;

// One-colour sprites with these IDs as the whole creature or spell library.
inline void OpenLibrary(Gfx::TSpriteList& library, const std::vector<uint32_t>& ids, int width,
                        int height, uint32_t colour) {
    std::vector<Tools::TBytes> records;
    for (const uint32_t id : ids) {
        Tools::TSpriteOptions options;
        options.ID = id;
        records.push_back(Tools::EncodeSprite(
            {SpriteTests::Picture(width, height,
                                  [colour, id](int, int) { return colour + 8 * id; })},
            options));
    }
    library.OpenDirectory(
        std::make_unique<ClassLib::TMemoryStream>(Tools::EncodeSpriteLibrary(1, records)));
}

class UnitWindowTest : public GameWidgetDrawingTest {
protected:
    static constexpr int UnitPrototypeID = 7;

    // A spell of the context (1 map, 2 battle) castable from level 1 for 10 mana.
    Data2::TSpellPrototype& AddSpell(int id, int context, const std::string& name = "") {
        auto& spells = Data2::GlobalData->SpellPrototypes;
        spells.SetCount(spells.Count() + 1);
        Data2::TSpellPrototype& spell = spells[spells.Count() - 1];
        spell = {};
        spell.ID = int16_t(id);
        spell.Group = int16_t(context);
        spell.MinLevel = 1;
        spell.ManaCost = 10;
        spell.APCost = 5;
        spell.IconID = id;
        const std::string shown = name.empty() ? "Spell " + std::to_string(id) : name;
        Base::CopyStringBounded(spell.Name, shown.c_str(), sizeof spell.Name);
        Base::CopyStringBounded(spell.Description, ("What " + shown + " does.").c_str(),
                                sizeof spell.Description);
        return spell;
    }
    Data2::TSkillPrototype& AddSkill(int id, const std::string& name) {
        auto& skills = Data2::GlobalData->SkillPrototypes;
        skills.SetCount(skills.Count() + 1);
        Data2::TSkillPrototype& skill = skills[skills.Count() - 1];
        skill = {};
        skill.ID = int16_t(id);
        Base::CopyStringBounded(skill.Name, name.c_str(), sizeof skill.Name);
        Base::CopyStringBounded(skill.Description, ("About " + name).c_str(),
                                sizeof skill.Description);
        return skill;
    }

    // Level 5, 100 mana and action points, every spell learnt; add the spells first,
    // since adding prototypes moves them.
    GameData::TUnit& MakeCaster(const std::string& name = "Caster") {
        auto& prototypes = Data2::GlobalData->UnitPrototypes;
        if (Data2::GlobalData->FindUnitPrototype(UnitPrototypeID) < 0) {
            prototypes.SetCount(prototypes.Count() + 1);
            Data2::TUnitPrototype& prototype = prototypes[prototypes.Count() - 1];
            prototype.ID = UnitPrototypeID;
            prototype.Stats.Level() = 1;
            prototype.DetailPictureID = DetailPictureID;
            prototype.Loaded = 1;
        }
        GameData::TUnit& unit = *Units.emplace_back(TestSupport::MakeUnit(UnitPrototypeID));
        unit.Name = name.c_str();
        GameData::TUnitStats& own = unit.Own;
        own.Level() = 5;
        own.LearnableSpells = own.Spells = ~uint64_t(0);
        TestSupport::SetStat(own, GameData::MANA, 100);
        TestSupport::SetStat(own, GameData::ACTIONPOINTS, 100);
        own.Value(GameData::MANA) = own.Value(GameData::ACTIONPOINTS) = 100;
        unit.RecalculateStats(false);
        return unit;
    }

    // A frame of the colour, four pixels wide, open in the middle; hot spot at (4, 4).
    Gfx::TSprite* UseFrame(int slot, int width, int height, uint32_t colour) {
        const auto pixel = [=](int x, int y) {
            const bool edge = x < 4 || y < 4 || x >= width - 4 || y >= height - 4;
            return edge ? colour : 0u;
        };
        Gfx::TSprite* frame = Sprites
                                  .emplace_back(SpriteTests::LoadSprite(Tools::EncodeSprite(
                                      {SpriteTests::Picture(width, height, pixel)}, {})))
                                  .get();
        frame->HotSpotX = frame->HotSpotY = 4;
        return Data2::GlobalData->CommonSprites[slot] = frame;
    }

    std::vector<std::unique_ptr<GameData::TUnit>> Units;
};
