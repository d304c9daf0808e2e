// Merchants: purchases change gold and units exactly as priced by the city's own
// merchants, refused ones change nothing; the herbalist's abilities; merchants'
// stored form and identifiers.
#include "tests/game/world/CityGroupFixture.h"

#include "game/world/data/GlobalData.h"
#include "tests/support/GlobalDataFixture.h"

#include <cstring>
#include <functional>

namespace CityGroupTests {
namespace {

using TestSupport::ErrorOf;

class MerchantTest : public CityGroupTest {
protected:
    static constexpr int Spell = 1, OtherSpell = 2, Skill = 64, Ability = 1;

    MerchantTest() {
        Data.AddSpell(Spell, 1);
        Data.AddSpell(OtherSpell, 1);
        Data.AddSpell(65, 1); // shown for the herbalist's first ability
        // Learning a skill adds its permanent delta, which holds the skill's own bit.
        Data.AddSkill(Ability, 1).PermanentDelta.Skills = MaskBit(Ability);
        Data2::TSkillPrototype& skill = Data.AddSkill(Skill, 1);
        skill.PermanentDelta.Skills = MaskBit(Skill);
        skill.APCost = 4;
        for (Data2::TUnitPrototype& prototype : Data.Global().UnitPrototypes) {
            prototype.Stats.LearnableSpells = MaskBit(Spell);
            prototype.Stats.LearnableSkills = MaskBit(Skill) | MaskBit(Ability);
        }
        Data.SetConstant(Data2::gcDrinkMoraleCap, 60);
        Data.SetConstant(Data2::gcDrinkMorale, 4);
        Data.SetConstant(Data2::gcDrinkPenalty, 2);
        Data.SetConstant(Data2::gcDrinkDuration, 3);
        City = World->AddCity(Red, 6, 6);
        for (TMerchant* merchant :
             {static_cast<TMerchant*>(&City->Innkeeper), static_cast<TMerchant*>(&City->Mage),
              static_cast<TMerchant*>(&City->BattleMaster),
              static_cast<TMerchant*>(&City->Herbalist)})
            merchant->Enabled = 1;
        City->Innkeeper.BeerPrice = 5;
        City->Mage.ManaPrice = 3;
        City->Mage.SpellPrices[Spell - 1] = 50;
        City->Mage.SpellPrices[OtherSpell - 1] = 55;
        City->BattleMaster.SkillPrices[Skill - 1] = 70;
        City->Herbalist.HealPrice = 2;
        City->Herbalist.AbilityPrices[Ability - 1] = 30;
        City->AddOtherUnit(Customer = Registered(SoldierID), false);
        // A civilian of a third player's: hiring takes it from that player's planner.
        City->AddCivilian(ForHire = Registered(SoldierID, Green), false);
        Log.clear();
    }

    TCity* City;
    TUnit* Customer;
    TUnit* ForHire;
};

TEST_F(MerchantTest, PurchasesChangeGoldAndUnitsExactlyAsPriced) {
    struct Case {
        const char* Name;
        uint32_t Kind;
        uint32_t Item;
        std::function<void(TUnit&)> Before;
        int32_t Price;
        std::function<void(const TUnit&)> After;
    };
    const Case cases[] = {
        {"mana", pkRestoreMana, 0, [](TUnit& u) { u.AddMana(-7); }, 7 * 3,
         [](const TUnit& u) { EXPECT_EQ(u.Effective.Value(MANA), 20); }},
        {"full mana", pkRestoreMana, 0, nullptr, 0,
         [](const TUnit& u) { EXPECT_EQ(u.Effective.Value(MANA), 20); }},
        {"heal", pkHealWounds, 0, [](TUnit& u) { u.AddHitPoints(-10); }, 10 * 2,
         [](const TUnit& u) { EXPECT_EQ(u.Effective.Value(HITPOINTS), 30); }},
        {"spell 1 at entry 0", pkBuySpell, Spell, nullptr, 50,
         [](const TUnit& u) { EXPECT_TRUE(u.KnowsSpell(Spell)); }},
        {"skill 64 at entry 63", pkTrainSkill, Skill, nullptr, 70,
         [](const TUnit& u) {
             EXPECT_TRUE(u.HasSkill(Skill));
             EXPECT_EQ(u.Effective.Value(ACTIONPOINTS), 10 - 4);
         }},
        {"ability", pkObtainAbility, Ability, nullptr, 30,
         [](const TUnit& u) { EXPECT_TRUE(u.HasSkill(Ability)); }},
        {"drink", pkBuyDrink, 0, nullptr, 5,
         [](const TUnit& u) {
             EXPECT_EQ(u.Effective.Morale(), 54);
             EXPECT_EQ(u.Effective.Value(ATTACK), 18);
             ASSERT_EQ(u.Effects.Count(), 1);
             EXPECT_EQ(u.Effects[0]->Delta.Value(COUNTERATTACK), -2);
             EXPECT_EQ(u.Effects[0]->Duration, 3);
             EXPECT_EQ(u.Effects[0]->Kind, 0);
         }},
        {"drink at the cap", pkBuyDrink, 0, [](TUnit& u) { u.ChangeMorale(15); }, 5,
         [](const TUnit& u) {
             EXPECT_EQ(u.Effective.Morale(), 65); // no gain, the penalty all the same
             EXPECT_EQ(u.Effective.Value(ATTACK), 18);
         }},
    };
    for (const Case& c : cases) {
        TUnit* unit = Registered(SoldierID);
        City->AddOtherUnit(unit, false);
        if (c.Before)
            c.Before(*unit);
        Player(Red).Gold = 1000;
        EXPECT_EQ(City->PurchasePrice(c.Kind, unit->ID, Red, c.Item), c.Price) << c.Name;
        EXPECT_TRUE(City->Purchase(c.Kind, unit->ID, Red, c.Item)) << c.Name;
        EXPECT_EQ(Player(Red).Gold, 1000 - c.Price) << c.Name;
        c.After(*unit);
    }
}

TEST_F(MerchantTest, HiringMovesTheCivilianToTheBuyersUnitsAndItsPlanner) {
    ForHire->Own.Level() = 2;
    ForHire->RecalculateStats(false);
    const std::string id = TLogPlanner::Id(*ForHire);
    EXPECT_TRUE(City->HireUnit(ForHire->ID, Red));
    EXPECT_EQ(Player(Red).Gold, 1000 - 2 * 15);
    EXPECT_TRUE(City->IsOtherUnit(*ForHire));
    EXPECT_FALSE(City->IsCivilian(*ForHire));
    EXPECT_EQ(ForHire->Marker, Red);
    EXPECT_EQ(ForHire->GetPlayer(), &Player(Red));
    EXPECT_EQ(Log, (std::vector<std::string>{"Greenx" + id, "Red+" + id}));
    EXPECT_FALSE(City->HireUnit(ForHire->ID, Red)); // no longer for hire
}

TEST_F(MerchantTest, PurchasesThatCannotBeMadeChangeNothing) {
    TGroup* outside = World->AddGroup(Red, 1, 1);
    TUnit* stranger = outside->AddUnit(Make(SoldierID), true, false);
    TUnit* scholar = Registered(SoldierID);
    scholar->LearnSpell(Spell);
    City->AddOtherUnit(scholar, false);
    TUnit* guest = Registered(SoldierID, Blue); // in the town, serving another player
    City->AddOtherUnit(guest, false);
    TUnit* weary = Registered(SoldierID);
    weary->AddActionPoints(-7); // 3 left, the skill costs 4
    City->AddOtherUnit(weary, false);
    struct Case {
        const char* Name;
        uint32_t Kind;
        const TUnit* Unit;
        uint32_t Player;
        uint32_t Item;
        int32_t Gold;
    };
    const Case cases[] = {
        {"too little gold", pkBuySpell, Customer, Red, Spell, 49},
        {"too little gold to hire", pkHireUnit, ForHire, Red, 0, 14},
        {"not in the city", pkBuySpell, stranger, Red, Spell, 1000},
        {"cannot learn it", pkBuySpell, Customer, Red, OtherSpell, 1000},
        {"knows it already", pkBuySpell, scholar, Red, Spell, 1000},
        {"not offered", pkTrainSkill, Customer, Red, Ability, 1000},
        {"no such spell", pkBuySpell, Customer, Red, 65, 1000},
        {"no such skill", pkTrainSkill, Customer, Red, 0, 1000},
        {"not a civilian", pkHireUnit, Customer, Red, 0, 1000},
        {"no such player", pkBuyDrink, Customer, 3, 0, 1000},
        {"no such player either", pkBuyDrink, Customer, 255, 0, 1000},
        {"no such kind", 7, Customer, Red, 0, 1000},
        {"too few action points", pkTrainSkill, weary, Red, Skill, 1000},
        {"a town of another player", pkBuyDrink, Customer, Blue, 0, 1000},
        {"hiring in another player's town", pkHireUnit, ForHire, Blue, 0, 1000},
        {"a unit serving another player", pkBuyDrink, guest, Red, 0, 1000},
        {"spells for another player's unit", pkBuySpell, guest, Red, Spell, 1000},
    };
    for (const Case& c : cases) {
        Player(Red).Gold = Player(Blue).Gold = c.Gold;
        const auto unitBefore = Bytes(*c.Unit);
        const auto cityBefore = Bytes(*City);
        EXPECT_FALSE(City->Purchase(c.Kind, c.Unit->ID, c.Player, c.Item)) << c.Name;
        EXPECT_EQ(Player(Red).Gold, c.Gold) << c.Name;
        EXPECT_EQ(Player(Blue).Gold, c.Gold) << c.Name;
        EXPECT_EQ(Bytes(*c.Unit), unitBefore) << c.Name;
        EXPECT_EQ(Bytes(*City), cityBefore) << c.Name;
    }
    EXPECT_TRUE(Log.empty());
    EXPECT_FALSE(City->Purchase(pkBuyDrink, 999999, Red, 0));
}

TEST_F(MerchantTest, AMerchantTheTownLacksSellsNothing) {
    struct Case {
        const char* Name;
        TMerchant* Seller;
        uint32_t Kind;
        uint32_t Item;
        TUnit* Unit;
    };
    const Case cases[] = {
        {"hire", &City->Innkeeper, pkHireUnit, 0, ForHire},
        {"drink", &City->Innkeeper, pkBuyDrink, 0, Customer},
        {"spell", &City->Mage, pkBuySpell, Spell, Customer},
        {"skill", &City->BattleMaster, pkTrainSkill, Skill, Customer},
        {"ability", &City->Herbalist, pkObtainAbility, Ability, Customer},
    };
    for (const Case& c : cases) {
        c.Seller->Enabled = 0;
        const auto cityBefore = Bytes(*City);
        EXPECT_EQ(City->PurchasePrice(c.Kind, c.Unit->ID, Red, c.Item), -1) << c.Name;
        EXPECT_FALSE(City->Purchase(c.Kind, c.Unit->ID, Red, c.Item)) << c.Name;
        EXPECT_EQ(Player(Red).Gold, 1000) << c.Name;
        EXPECT_EQ(Bytes(*City), cityBefore) << c.Name;
        c.Seller->Enabled = 1;
        EXPECT_GT(City->PurchasePrice(c.Kind, c.Unit->ID, Red, c.Item), 0) << c.Name;
    }
}

TEST_F(MerchantTest, TheHerbalistShowsBattleSpellsButTeachesSkillsOfTheSameIndex) {
    const Data2::TSpellPrototype* shown = THerbalistMerchant::GetAbilityPrototype(0);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->ID, 65);
    EXPECT_EQ(THerbalistMerchant::GetAbilityPrototype(1), nullptr);
    EXPECT_EQ(TMageMerchant::GetSpellPrototype(0)->ID, Spell);
    EXPECT_EQ(TBattleMasterMerchant::GetSkillPrototype(63)->ID, Skill);
    EXPECT_EQ(TBattleMasterMerchant::GetSkillPrototype(62), nullptr);

    EXPECT_TRUE(City->TrainSkill(Ability, Customer->ID, true, Red));
    EXPECT_TRUE(Customer->HasSkill(Ability));
    EXPECT_FALSE(Customer->KnowsSpell(65));
    EXPECT_EQ(Player(Red).Gold, 1000 - 30);
}

TEST_F(MerchantTest, PostedVisitsAndPurchasesCarryTheirArguments) {
    Scenario().BeginTurnOf(Red);
    City->PostVisitMerchant(City->Herbalist);
    TPlayerAction action = Player(Red).TakeAction();
    EXPECT_EQ(action.Code, acVisitMerchant);
    EXPECT_EQ(action.P[0], 3u);
    City->PostPurchase(pkBuySpell, Customer->ID, Spell, Blue);
    action = Player(Red).TakeAction();
    EXPECT_EQ(action.Code, acMerchantPurchase);
    EXPECT_EQ((std::vector<uint32_t>{action.P[0], action.P[1], action.P[2], action.P[3]}),
              (std::vector<uint32_t>{pkBuySpell, Customer->ID, Blue, Spell}));
    City->PostMoveUnit(cpOtherUnits, Customer->ID, cpDefenders, -1);
    action = Player(Red).TakeAction();
    EXPECT_EQ(action.Code, acMoveCityUnit);
    EXPECT_EQ(action.P[3], 0xFFFFFFFFu);
}

TEST_F(MerchantTest, MerchantsLoadBackByteForByteAndRefuseAnotherType) {
    City->Mage.Enabled = 1;
    City->Mage.Values[7] = 8;
    City->Mage.Text1 = "Spells for sale";
    City->Mage.Value1 = 11;
    City->Mage.PictureID = 12;
    City->Mage.Value3 = 13;
    City->BattleMaster.KeptValue = 14;
    City->Herbalist.KeptValue = 15;
    const TMerchant* merchants[] = {&City->Innkeeper, &City->Mage,    &City->BattleMaster,
                                    &City->Herbalist, &City->Custom1, &City->Custom2};
    TInnkeeperMerchant innkeeper;
    TMageMerchant mage;
    TBattleMasterMerchant battleMaster;
    THerbalistMerchant herbalist;
    TCustomMerchant custom;
    TMerchant* copies[] = {&innkeeper, &mage, &battleMaster, &herbalist, &custom, &custom};
    for (int i = 0; i < 6; ++i) {
        const auto bytes = Bytes(*merchants[i]);
        ClassLib::TMemoryStream stream(bytes);
        copies[i]->LoadFromStream(&stream);
        EXPECT_EQ(Bytes(*copies[i]), bytes) << i;
        EXPECT_EQ(stream.GetPosition(), int64_t(bytes.size())) << i;
    }
    EXPECT_EQ(mage.SpellPrices[OtherSpell - 1], 55u);

    const auto bytes = Bytes(City->Mage);
    ClassLib::TMemoryStream stream(bytes);
    EXPECT_EQ(ErrorOf([&] { battleMaster.LoadFromStream(&stream); }), "Invalid data.");
    EXPECT_EQ(battleMaster.Type, mtBattleMaster);
    mage.Clear(); // keeps the type and the identifier
    EXPECT_EQ(mage.Type, mtMage);
    TMageMerchant empty;
    empty.ID = mage.ID;
    EXPECT_EQ(Bytes(mage), Bytes(empty));
}

TEST_F(MerchantTest, MerchantsGetIdentifiersWhenTheirCityIsMadeOrLoadedNeverWhenSaved) {
    const uint32_t cityID = City->ID;
    const TMerchant* merchants[] = {&City->Innkeeper, &City->Mage,    &City->BattleMaster,
                                    &City->Herbalist, &City->Custom1, &City->Custom2};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(merchants[i]->ID, cityID + 1 + uint32_t(i));

    const uint32_t next = Scenario().NextObjectID;
    auto bytes = Bytes(*City);
    EXPECT_EQ(Scenario().NextObjectID, next);

    // A city stored without merchant identifiers gets them as it loads. Each merchant
    // record begins with its identifier, right before its type.
    for (const TMerchant* merchant : merchants) {
        const uint32_t pattern[2] = {merchant->ID, merchant->Type};
        for (size_t at = 0; at + 8 <= bytes.size(); ++at)
            if (std::memcmp(&bytes[at], pattern, 8) == 0)
                std::memset(&bytes[at], 0, 4);
    }
    City->Clear();
    TCity loaded(&Scenario());
    ClassLib::TMemoryStream stream(bytes);
    loaded.LoadFromStream(&stream);
    EXPECT_EQ(loaded.Innkeeper.ID, next);
    EXPECT_EQ(loaded.Custom2.ID, next + 5);
    EXPECT_EQ(Scenario().NextObjectID, next + 6);
}

} // namespace
} // namespace CityGroupTests

namespace CityGroupTests {
namespace {

TEST(SampleData, EachHerbalistAbilityIsTheSameThingAsSpellAndAsSkill) {
    TestSupport::TInstalledData data{TestSupport::TGlobalDataFixture{}};
    Data2::CreateGlobalData();
    int abilities = 0;
    for (int i = 0; THerbalistMerchant::GetAbilityPrototype(i); ++i, ++abilities) {
        const Data2::TSpellPrototype& shown = *THerbalistMerchant::GetAbilityPrototype(i);
        const Data2::TSkillPrototype* taught = TBattleMasterMerchant::GetSkillPrototype(i);
        ASSERT_NE(taught, nullptr) << i;
        EXPECT_STREQ(shown.Name, taught->Name);
        EXPECT_STREQ(shown.Description, taught->Description);
    }
    EXPECT_GT(abilities, 0);
}

} // namespace
} // namespace CityGroupTests
