// The towns on the generated content: the town screen's common sprites have the sizes
// its layout draws them at, and on campaign level 1 the person's own town shows its
// picture, plays its music and opens four merchants whose offers name real spells and
// skills that the person's starting units can buy with their starting gold.
#include "engine/graphics/SpriteList.h"
#include "game/world/cities/City.h"
#include "game/world/groups/Group.h"
#include "game/world/players/Player.h"
#include "game/world/units/Unit.h"
#include "tests/engine/graphics/SpriteFixtures.h"
#include "tests/tools/content/GeneratedContent.h"
#include "tools/content/ContentIds.h"
#include "tools/maptest/MapTestScene.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace GameData;

class GeneratedTown : public TestSupport::GeneratedContent {
protected:
    void SetUp() override {
        GeneratedContent::SetUp();
        Tools::OpenGameData(VRN_PROGRAM_DIR);
        Scenario = Tools::LoadCampaignLevel(0);
        for (int i = 0; i < Scenario->PlayerCount(); ++i)
            if (Scenario->Players[i]->Type == ptLocal)
                Person = i;
        for (const TMapObject* object : Scenario->Objects)
            if (object->Kind == okCity && static_cast<const TCity*>(object)->Owner == Person)
                Town = static_cast<const TCity*>(object);
            else if (object->Kind == okGroup &&
                     static_cast<const TGroup*>(object)->OwnerIndex == Person)
                for (int slot = 0; slot < 3; ++slot)
                    if (TUnit* unit = static_cast<const TGroup*>(object)->UnitAt(slot))
                        Units.push_back(unit);
    }
    void TearDown() override {
        Scenario.reset();
        GeneratedContent::TearDown();
    }

    // The sprite's size in the scenario's sprite list; 0 x 0 when it has none.
    std::pair<int, int> SpriteSize(uint32_t id) const {
        Gfx::TSprite* sprite = id ? Scenario->SpriteLibrary.TryAcquireSprite(id) : nullptr;
        if (!sprite)
            return {0, 0};
        const std::pair<int, int> size{sprite->Width, sprite->Height};
        Scenario->SpriteLibrary.ReleaseSpriteByPointer(sprite);
        return size;
    }

    // Whether some starting unit can buy an entry of the table: the item exists (named
    // by exists), the unit may learn it now, lacks it, and the gold covers the price.
    template <typename Exists, typename CanBuy>
    bool SomeUnitCanBuy(const TPriceTable& prices, Exists exists, CanBuy canBuy) const {
        bool any = false;
        for (int index = 0; index < PriceTableSize; ++index) {
            if (prices[size_t(index)] == 0)
                continue;
            EXPECT_TRUE(exists(index)) << "offer " << index + 1 << " names nothing";
            for (const TUnit* unit : Units)
                any =
                    any || (prices[size_t(index)] <= uint32_t(Gold()) && canBuy(*unit, index + 1));
        }
        return any;
    }
    int32_t Gold() const { return Scenario->Players[Person]->Gold; }

    SpriteTests::TScopedDisplay Display;
    std::unique_ptr<TScenario> Scenario;
    int Person = -1;
    const TCity* Town = nullptr;
    std::vector<const TUnit*> Units;
};

TEST_F(GeneratedTown, TheScreensCommonSpritesFitItsLayout) {
    using namespace Content::CommonSlot;
    const struct {
        uint32_t first, count;
        int width, height; // 0: any
    } sprites[] = {
        {CaptionBanner, 1, 0, 36},    {MerchantFrame, 1, 198, 148}, {MenuButton, 1, 160, 40},
        {ExpandButton, 4, 15, 26},    {FirstScrollPart, 13, 15, 0}, {ListRow, 1, 0, 72},
        {FirstSpellFrame, 4, 72, 72}, {PortraitCell, 1, 80, 80},
    };
    for (const auto& s : sprites)
        for (uint32_t slot = s.first; slot < s.first + s.count; ++slot) {
            const Gfx::TSprite* sprite = Data2::GlobalData->CommonSprites[slot];
            ASSERT_NE(sprite, nullptr) << "common slot " << slot;
            if (s.width) {
                EXPECT_EQ(sprite->Width, s.width) << "common slot " << slot;
            }
            if (s.height) {
                EXPECT_EQ(sprite->Height, s.height) << "common slot " << slot;
            }
        }
    // The banner holds an upper-case town name; the frame holds the merchant's portrait.
    EXPECT_GE(Data2::GlobalData->CommonSprites[CaptionBanner]->Width, 240);
}

TEST_F(GeneratedTown, ThePersonsTownOnLevelOneShowsItsMarket) {
    ASSERT_NE(Town, nullptr);
    ASSERT_FALSE(Units.empty());
    EXPECT_EQ(SpriteSize(Town->LeadingValues[0]), std::make_pair(800, 600));
    ASSERT_NE(Town->MusicID, 0u);
    EXPECT_NE(Data2::GlobalData->MusicList.FindStream(Town->MusicID), nullptr);

    const TMerchant* merchants[] = {&Town->Innkeeper, &Town->Mage, &Town->BattleMaster,
                                    &Town->Herbalist};
    for (const TMerchant* merchant : merchants) {
        SCOPED_TRACE(merchant->Text1.c_str());
        EXPECT_NE(merchant->Enabled, 0);
        EXPECT_FALSE(merchant->Text1.empty());
        EXPECT_EQ(SpriteSize(merchant->PictureID), std::make_pair(800, 600));
        // The portrait fits the frame at (27, 24); four buttons share 740 pixels.
        const auto [portraitWidth, portraitHeight] = SpriteSize(merchant->Value3);
        EXPECT_TRUE(portraitWidth > 0 && portraitWidth <= 180 && portraitHeight <= 130);
        const auto [buttonWidth, buttonHeight] = SpriteSize(merchant->Value1);
        EXPECT_TRUE(buttonWidth > 0 && buttonWidth <= 740 / 4 && buttonHeight <= 172 - 86);
    }
    EXPECT_GT(Town->Innkeeper.BeerPrice, 0u);
    EXPECT_GT(Town->Mage.ManaPrice, 0u);
    EXPECT_GT(Town->Herbalist.HealPrice, 0u);

    EXPECT_TRUE(SomeUnitCanBuy(
        Town->Mage.SpellPrices,
        [](int index) { return TMageMerchant::GetSpellPrototype(index) != nullptr; },
        [](const TUnit& unit, int id) {
            return unit.CanLearnSpell(id) && !unit.KnowsSpell(id) && unit.HasLevelForSpell(id);
        }))
        << "no spell for the person's units";
    const auto canTrain = [](const TUnit& unit, int id) {
        return unit.CanLearnSkill(id) && !unit.HasSkill(id) && unit.HasLevelForSkill(id);
    };
    EXPECT_TRUE(SomeUnitCanBuy(
        Town->BattleMaster.SkillPrices,
        [](int index) { return TBattleMasterMerchant::GetSkillPrototype(index) != nullptr; },
        canTrain))
        << "no skill for the person's units";
    EXPECT_TRUE(SomeUnitCanBuy(
        Town->Herbalist.AbilityPrices,
        [](int index) {
            return TBattleMasterMerchant::GetSkillPrototype(index) != nullptr &&
                   THerbalistMerchant::GetAbilityPrototype(index) != nullptr;
        },
        canTrain))
        << "no ability for the person's units";

    ASSERT_GT(Town->Civilians.Count(), 0);
    for (const TUnit* civilian : Town->Civilians) {
        const int64_t price =
            int64_t(civilian->Effective.Level()) * civilian->Effective.PricePerLevel();
        EXPECT_GT(price, 0);
        EXPECT_LE(price, Gold());
    }
}

} // namespace
