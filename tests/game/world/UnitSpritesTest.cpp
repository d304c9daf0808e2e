// Units made from the fixture's sample prototypes, with the sprites they hold in the
// creature library; all without a display.
#include "engine/graphics/SpriteList.h"
#include "game/world/data/GlobalData.h"
#include "game/world/objects/Drawings.h"
#include "game/world/units/Unit.h"
#include "platform/classlib/Streams.h"
#include "tests/support/GlobalDataFixture.h"

#include <gtest/gtest.h>

namespace {

using namespace GameData;

class UnitSpritesTest : public testing::Test {
protected:
    UnitSpritesTest() : Installed(TestSupport::TGlobalDataFixture{}) { Data2::CreateGlobalData(); }

    const Data2::TUnitPrototype& Prototype(int id) {
        return Data2::GlobalData->UnitPrototypes[Data2::GlobalData->FindUnitPrototype(id)];
    }
    int References(uint32_t spriteID) {
        const Gfx::TSpriteList& library = Data2::GlobalData->CreatureLibrary;
        return library.Directory()[size_t(library.IndexOf(spriteID))].References;
    }

    TestSupport::TInstalledData Installed;
};

// The fixture's unit 2: words (7 + w) mod 50 after LEVEL 1, so HITPOINTS is value 11,
// BASE 12, DELTA 13, EVERY 14 and ATTACK's BASE (word 29) 36; the fixture's constant i
// is i, so the default morale (constant 0) is 0. Every sprite of unit 2 is sprite 2,
// but those of set 3.
TEST_F(UnitSpritesTest, MadeFromASamplePrototype) {
    auto unit = std::make_unique<TUnit>();
    unit->InitFromPrototype(Prototype(2));
    EXPECT_EQ(unit->Name, "Creature 2");
    EXPECT_EQ(unit->IsHero, 1);
    EXPECT_EQ(unit->CreatureType, 1);
    EXPECT_EQ(unit->Own.Value(HITPOINTS), 12);
    EXPECT_EQ(unit->Own.Value(ATTACK), 36);
    EXPECT_EQ(unit->Own.Morale(), 0);
    EXPECT_EQ(unit->Own.Experiences(), 0);

    // Portrait and the standing and dying map sets.
    ASSERT_NE(unit->Portrait(), nullptr);
    EXPECT_EQ(unit->Portrait()->ID, 2u);
    for (int direction = 0; direction < UnitDirectionCount; ++direction) {
        ASSERT_NE(unit->Sprite(usMapStanding, direction), nullptr);
        EXPECT_EQ(unit->Sprite(usMapDying, direction)->ID, 2u);
        EXPECT_EQ(unit->Sprite(usMapWalking, direction), nullptr);
        EXPECT_EQ(unit->Sprite(usBattleIdle, direction), nullptr);
    }
    EXPECT_EQ(unit->DetailPicture(), nullptr);
    EXPECT_EQ(References(2), 17);

    unit->AcquireSpriteSet(usMapStanding); // held already
    unit->AcquireSprite(usBattleAttack, 3);
    unit->AcquireDetailPicture();
    EXPECT_EQ(References(2), 19);
    EXPECT_EQ(unit->Sprite(usBattleAttack, 2), nullptr);
    unit->ReleaseDetailPicture();
    EXPECT_EQ(References(2), 18);

    // Transformed into unit 3 (sprite 3): what it holds is taken again from the new prototype.
    unit->Prototype = &Prototype(3);
    unit->RefreshSprites();
    EXPECT_EQ(unit->Portrait()->ID, 3u);
    EXPECT_EQ(unit->Sprite(usMapStanding, 7)->ID, 3u);
    EXPECT_EQ(unit->Sprite(usBattleAttack, 3)->ID, 3u);
    EXPECT_EQ(unit->DetailPicture(), nullptr);
    EXPECT_EQ(References(2), 0);
    EXPECT_EQ(References(3), 18);

    unit.reset();
    EXPECT_EQ(References(3), 0);
}

TEST_F(UnitSpritesTest, TheFightTakesBattleSetsWholeOrOneDirectionAtATime) {
    TUnit unit;
    unit.InitFromPrototype(Prototype(2));
    const auto held = [&](TUnitSpriteSet set) {
        std::vector<int> directions;
        for (int direction = 0; direction < UnitDirectionCount; ++direction)
            if (unit.Sprite(set, direction))
                directions.push_back(direction);
        return directions;
    };
    const std::vector<int> all = {0, 1, 2, 3, 4, 5, 6, 7};
    unit.AcquireBattleIdleSprites();
    unit.AcquireBattleDeathSprites();
    unit.AcquireBattleAnim1Sprites();
    unit.AcquireBattleAttackSprite(3);
    unit.AcquireBattleCastSprite(6);
    EXPECT_EQ(held(usBattleIdle), all);
    EXPECT_EQ(held(usBattleDeath), all);
    EXPECT_EQ(held(usBattleAnimation1), all);
    EXPECT_EQ(held(usBattleAttack), std::vector<int>{3});
    EXPECT_EQ(held(usBattleSpellCast), std::vector<int>{6});
    EXPECT_EQ(References(2), 17 + 3 * 8 + 2);

    unit.ReleaseBattleIdleSprites();
    unit.ReleaseBattleDeathSprites();
    unit.ReleaseBattleAnim1Sprites();
    unit.ReleaseBattleAttackSprite(3);
    unit.ReleaseBattleCastSprite(6);
    for (int set = usBattleIdle; set < UnitSpriteSetCount; ++set)
        EXPECT_TRUE(held(TUnitSpriteSet(set)).empty()) << set;
    EXPECT_EQ(References(2), 17);
}

TEST_F(UnitSpritesTest, LoadingTakesTheMapSpritesAgain) {
    TUnit unit;
    unit.InitFromPrototype(Prototype(1));
    unit.AcquireSpriteSet(usMapWalking);
    ClassLib::TMemoryStream stream;
    unit.SaveToStream(&stream);
    stream.SetPosition(0);
    unit.LoadFromStream(&stream);
    EXPECT_EQ(References(1), 17); // the walking set was let go
    EXPECT_EQ(unit.Sprite(usMapWalking, 0), nullptr);
    EXPECT_EQ(unit.Sprite(usMapDying, 0)->ID, 1u);
}

} // namespace

namespace {

// A corpse shows a unit's dying sprite, which the creature list holds; here the common
// list has only sprites 1 and 2, so creature sprite 3 is found in the creature list
// alone, when the corpse is made and when it is read back.
class CorpseSpriteTest : public testing::Test {
protected:
    static TestSupport::TGlobalDataSizes Sizes() {
        TestSupport::TGlobalDataSizes sizes;
        sizes.CommonSprites = 2;
        return sizes;
    }
    CorpseSpriteTest() : Installed(TestSupport::TGlobalDataFixture{Sizes()}) {
        Data2::CreateGlobalData();
    }
    TestSupport::TInstalledData Installed;
};

TEST_F(CorpseSpriteTest, AUnitsCorpseFindsItsDyingSpriteInTheCreatureList) {
    ASSERT_LT(Data2::GlobalData->CommonLibrary.IndexOf(3), 0);
    const Gfx::TSpriteList& creatures = Data2::GlobalData->CreatureLibrary;
    GameData::TNaturalCorpse corpse(nullptr);
    corpse.Setup(3, 0, 2, 9, 40, 40);
    ASSERT_NE(corpse.Sprite, nullptr);
    EXPECT_EQ(corpse.Sprite, creatures.FindSprite(3));

    ClassLib::TMemoryStream stream;
    corpse.SaveToStream(&stream);
    GameData::TNaturalCorpse copy(nullptr);
    ClassLib::TMemoryStream saved(stream.Bytes());
    copy.LoadFromStream(&saved);
    EXPECT_EQ(copy.Sprite, creatures.FindSprite(3));
    EXPECT_EQ(copy.TurnsLeft, 2);
}

} // namespace
