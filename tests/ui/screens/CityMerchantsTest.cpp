// The town's merchants on the tiny world, headless: a red group stands in its own town
// with all four merchants open for business and three civilians for hire. Purchases go
// through the buttons' checks, are posted, and come back through the executor.
#include "engine/graphics/SpriteList.h"
#include "game/script/Conversation.h"
#include "game/world/cities/City.h"
#include "game/world/groups/Group.h"
#include "game/world/units/Unit.h"
#include "tests/ui/game/GameFixture.h"
#include "ui/screens/CityWindow.h"
#include "ui/screens/FaceControl.h"
#include "ui/widgets/MenuButtons.h"
#include "ui/widgets/SpriteScrollBar.h"

#include <algorithm>
#include <functional>

namespace {

using namespace GameData;
using Main::TCityWindow;

constexpr int VillagerID = 5, BeastID = 6; // a human and a creature of another kind
constexpr int Spell = 1, HighSpell = 2, StrangeSpell = 3;
constexpr int Skill = 1, Ability = 2;

// Public: the case tables' steps reach the town and the window through the fixture.
class CityMerchantsTest : public GameTest {
public:
    CityMerchantsTest() {
        for (const auto& [id, kind] : {std::pair{VillagerID, 1}, std::pair{BeastID, 2}}) {
            Data2::TUnitPrototype& prototype = Data.AddUnitPrototype(id, "Townsfolk");
            TUnitStats& stats = prototype.Stats;
            TestSupport::SetStat(stats, HITPOINTS, 30);
            TestSupport::SetStat(stats, MANA, 20);
            TestSupport::SetStat(stats, ACTIONPOINTS, 10);
            stats.PricePerLevel() = 15;
            prototype.CreatureType = int16_t(kind);
            if (id == VillagerID) {
                stats.LearnableSpells = MaskBit(Spell) | MaskBit(HighSpell);
                stats.LearnableSkills = MaskBit(Skill) | MaskBit(Ability);
            }
        }
        Data.AddSpell(Spell, 1);
        Data.AddSpell(HighSpell, 3);
        Data.AddSpell(StrangeSpell, 1);
        Data.AddSpell(64 + Ability, 1); // shown beside the herbalist's ability
        for (const int id : {Skill, Ability}) {
            Data2::TSkillPrototype& skill = Data.AddSkill(id, 1);
            skill.PermanentDelta.Skills = MaskBit(id);
            skill.APCost = id == Skill ? 4 : 0;
        }

        Town = World->AddCity(0, 8, 8);
        for (TMerchant* merchant : Merchants())
            merchant->Enabled = 1;
        Town->Innkeeper.BeerPrice = 5;
        Town->Mage.ManaPrice = 3;
        Town->Mage.SpellPrices = Prices({{Spell, 50}, {HighSpell, 60}, {StrangeSpell, 70}});
        Town->BattleMaster.SkillPrices = Prices({{Skill, 40}});
        Town->Herbalist.HealPrice = 2;
        Town->Herbalist.AbilityPrices = Prices({{Ability, 30}});
        for (int i = 0; i < 3; ++i)
            Civilians.push_back(Town->AddCivilian(TestSupport::MakeUnit(VillagerID), true, false));
        TGroup* group = World->AddGroup(0, 2, 2);
        Customer = group->AddUnit(TestSupport::MakeUnit(VillagerID), true, false);
        Beast = group->AddUnit(TestSupport::MakeUnit(BeastID), true, false);
        TakeWorld();

        DXApp::Application = nullptr; // headless: a modal window returns at once
        auto window = std::make_unique<TCityWindow>(&Windows, *Game);
        Window = window.get();
        Game->TownWindow = std::move(window);
        Window->SetScenario(&Scenario());
        Player(0).Type = ptLocal;
        Player(1).Type = ptRemote;
        Scenario().CurrentPlayerIndex = 0;
        Scenario().CurrentPlayer = &Player(0);
        Scenario().SetViewingPlayer(&Player(0));
        Player(0).SelectObject(group);
        // What entering does on every machine; the screen only shows it.
        Town->EnterGroup(*group);
        Window->Show();
        Windows.ProcessRequests();
        Window->SelectUnit(Customer);
    }

    std::vector<TMerchant*> Merchants() {
        return {&Town->Innkeeper, &Town->Mage, &Town->BattleMaster, &Town->Herbalist};
    }
    static TPriceTable Prices(std::initializer_list<std::pair<int, uint32_t>> items) {
        TPriceTable prices{};
        for (const auto& [id, price] : items)
            prices[size_t(id - 1)] = price;
        return prices;
    }
    // Executes what the player on turn has posted, and the reports that follow.
    void Run() {
        while (Scenario().CurrentPlayer->HasPendingAction())
            Game->ExecuteAction();
    }
    void Visit(int building) {
        Player(0).PostAction(false, MakeAction(acVisitMerchant, uint32_t(building)));
        Run();
    }
    void Click(const DXWin::TDXControl& control) {
        const Win32::RECT rect = control.GetScreenRect();
        ClickAt((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    }
    const ClassLib::AnsiString& LastMessage() const {
        static const ClassLib::AnsiString none;
        return Game->Messages().empty() ? none : Game->Messages().back();
    }

    TCity* Town = nullptr;
    TCityWindow* Window = nullptr;
    TUnit* Customer = nullptr;
    TUnit* Beast = nullptr;
    std::vector<TUnit*> Civilians;
};

TEST_F(CityMerchantsTest, EachPurchaseIsRefusedOneGoldShortAndMadeWithExactlyItsPrice) {
    struct Case {
        const char* Name;
        int Building;
        std::function<void(CityMerchantsTest&)> Prepare;
        bool BuyButton; // else the merchant's own button
        int32_t Price;
        const char* Short;
        const char* Done;
        std::function<bool(CityMerchantsTest&)> Bought;
    };
    const Case cases[] = {
        {"hire", 0, [](CityMerchantsTest& t) { t.Window->HireCandidate = 1; }, true, 15,
         "Not enough gold to hire unit", "Unit hired",
         [](CityMerchantsTest& t) { return t.Town->IsOtherUnit(*t.Civilians[1]); }},
        {"drink", 0, nullptr, false, 5, "Not enough gold to buy drink", "Drink bought",
         [](CityMerchantsTest& t) { return t.Customer->Effects.Count() == 1; }},
        {"mana", 1, [](CityMerchantsTest& t) { t.Customer->AddMana(-7); }, false, 21,
         "Not enough gold to restore mana", "Mana restored",
         [](CityMerchantsTest& t) { return t.Customer->Effective.Value(MANA) == 20; }},
        {"spell", 1, [](CityMerchantsTest& t) { t.Window->SpellList->SetSelection(0); }, true, 50,
         "Not enough gold to buy spell", "Spell bought",
         [](CityMerchantsTest& t) { return t.Customer->KnowsSpell(Spell); }},
        {"skill", 2, nullptr, true, 40, "Not enough gold to train skill", "Skill trained",
         [](CityMerchantsTest& t) {
             return t.Customer->HasSkill(Skill) && t.Customer->Effective.Value(ACTIONPOINTS) == 6;
         }},
        {"heal", 3, [](CityMerchantsTest& t) { t.Customer->AddHitPoints(-10); }, false, 20,
         "Not enough gold to heal wounds", "Unit healed",
         [](CityMerchantsTest& t) { return t.Customer->Effective.Value(HITPOINTS) == 30; }},
        {"ability", 3, nullptr, true, 30, "Not enough gold to buy ability", "Ability obtained",
         [](CityMerchantsTest& t) { return t.Customer->HasSkill(Ability); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Window->CloseMerchant();
        Visit(c.Building);
        ASSERT_EQ(Window->OpenMerchant, c.Building);
        if (c.Prepare)
            c.Prepare(*this);
        Window->RefreshMerchantPanel();
        const Main::TMenuButton& button =
            c.BuyButton ? *Window->BuyButton : *Window->MerchantButton;
        ASSERT_TRUE(button.Visible());
        ASSERT_TRUE(button.Enabled());

        Player(0).Gold = c.Price - 1;
        const uint64_t before = TestSupport::StateDigest(Scenario());
        Click(button);
        EXPECT_EQ(LastMessage(), c.Short);
        EXPECT_FALSE(Player(0).HasPendingAction());
        EXPECT_EQ(TestSupport::StateDigest(Scenario()), before);

        Player(0).Gold = c.Price;
        Click(button);
        Run();
        EXPECT_EQ(LastMessage(), c.Done);
        EXPECT_EQ(Player(0).Gold, 0);
        EXPECT_TRUE(c.Bought(*this));
        EXPECT_EQ(Window->OpenMerchant, c.Building) << "the merchant stays open";
    }
}

TEST_F(CityMerchantsTest, TheFirstFailingCheckNamesTheReason) {
    struct Case {
        const char* Name;
        int Building;
        int Row;
        std::function<void(CityMerchantsTest&)> Prepare;
        std::function<void(TCityWindow&)> Try;
        int32_t Gold;
        const char* Message;
    };
    // In this order: each case keeps what the ones before did to the unit.
    const Case cases[] = {
        {"a known spell while short of gold", 1, 0,
         [](CityMerchantsTest& t) { t.Customer->LearnSpell(Spell); },
         [](TCityWindow& w) { w.TryBuySpell(); }, 0, "Unit already knows this spell"},
        {"a spell the unit cannot learn", 1, 2, nullptr, [](TCityWindow& w) { w.TryBuySpell(); }, 0,
         "Unit can't learn this spell"},
        {"a spell above the unit's level", 1, 1, nullptr, [](TCityWindow& w) { w.TryBuySpell(); },
         0, "Unit hasn't level to learn this spell"},
        {"too few action points with gold enough", 2, 0,
         [](CityMerchantsTest& t) { t.Customer->AddActionPoints(-7); },
         [](TCityWindow& w) { w.TryTrainSkill(); }, 1000, "Not enough action points!"},
        {"a known skill", 2, 0, [](CityMerchantsTest& t) { t.Customer->LearnSkill(Skill); },
         [](TCityWindow& w) { w.TryTrainSkill(); }, 0, "Unit already knows this skill"},
        {"an ability for a unit that cannot have it", 3, 0,
         [](CityMerchantsTest& t) { t.Window->SelectUnit(t.Beast); },
         [](TCityWindow& w) { w.TryBuyAbility(); }, 1000, "Unit can't obtain this ability"},
        {"an ability already had", 3, 0,
         [](CityMerchantsTest& t) { t.Customer->LearnSkill(Ability); },
         [](TCityWindow& w) { w.TryBuyAbility(); }, 1000, "Unit already has this ability"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Window->SelectUnit(Customer);
        Window->CloseMerchant();
        Visit(c.Building);
        if (c.Prepare)
            c.Prepare(*this);
        Window->RefreshMerchantPanel();
        Main::TSpellListBox* list = c.Building == 1   ? Window->SpellList
                                    : c.Building == 2 ? Window->SkillList
                                                      : Window->AbilityList;
        list->SetSelection(c.Row);
        Player(0).Gold = c.Gold;
        const uint64_t before = TestSupport::StateDigest(Scenario());
        c.Try(*Window);
        EXPECT_EQ(LastMessage(), c.Message);
        EXPECT_FALSE(Player(0).HasPendingAction());
        EXPECT_EQ(TestSupport::StateDigest(Scenario()), before);
    }
}

TEST_F(CityMerchantsTest, PanelsOfferOnlyWhatTheSelectedUnitCanBuy) {
    Visit(0);
    EXPECT_EQ(Window->PriceLabel->Text(), "5");
    EXPECT_TRUE(Window->MerchantButton->Enabled());
    EXPECT_EQ(Window->MerchantButton->Hint(), "Buy drink to selected unit");
    Window->SelectUnit(Beast);
    Window->RefreshInnPanel();
    EXPECT_EQ(Window->PriceLabel->Text(), "0") << "no beer for a creature";
    EXPECT_FALSE(Window->MerchantButton->Enabled());
    EXPECT_TRUE(Window->HireGrid->Visible());
    EXPECT_EQ(Window->BuyButton->Text(), "HIRE");

    Window->SelectUnit(Customer);
    Window->CloseMerchant();
    Visit(1);
    EXPECT_EQ(Window->PriceLabel->Text(), "0") << "full mana";
    EXPECT_FALSE(Window->MerchantButton->Enabled());
    Customer->AddMana(-4);
    Window->RefreshMagePanel();
    EXPECT_EQ(Window->PriceLabel->Text(), "12");
    EXPECT_TRUE(Window->MerchantButton->Enabled());
    EXPECT_EQ(Window->SpellList->ItemCount(), 3);
    EXPECT_TRUE(Window->SpellList->Visible());
    EXPECT_FALSE(Window->HireGrid->Visible());

    Window->CloseMerchant();
    Visit(2);
    EXPECT_FALSE(Window->PriceLabel->Visible()) << "the battlemaster sells no morale";
    EXPECT_FALSE(Window->MerchantButton->Visible());
    EXPECT_TRUE(Window->BuyButton->Visible());
    EXPECT_TRUE(Window->SkillList->Visible());
    EXPECT_FALSE(Window->SpellList->Visible());

    Window->CloseMerchant();
    Visit(3);
    EXPECT_EQ(Window->PriceLabel->Text(), "0") << "no wounds";
    EXPECT_FALSE(Window->MerchantButton->Enabled());
    Customer->AddHitPoints(-3);
    Window->RefreshHerbalistPanel();
    EXPECT_EQ(Window->PriceLabel->Text(), "6");

    Window->CloseMerchant();
    for (const Main::TMenuButton* control :
         {Window->PriceLabel, Window->MerchantButton, Window->BuyButton})
        EXPECT_FALSE(control->Visible());
    EXPECT_FALSE(Window->AbilityList->Visible());
}

TEST_F(CityMerchantsTest, AMerchantOfferingNothingLeavesBuyDisabled) {
    // The mage prices a spell the game does not have: no row, nothing to buy.
    Town->Mage.SpellPrices = Prices({{40, 10}});
    Town->BattleMaster.SkillPrices = {};
    Visit(1);
    EXPECT_EQ(Window->SpellList->ItemCount(), 0);
    EXPECT_FALSE(Window->BuyButton->Enabled());
    Window->TryBuySpell();
    EXPECT_FALSE(Player(0).HasPendingAction());

    Window->CloseMerchant();
    Visit(2);
    EXPECT_EQ(Window->SkillList->ItemCount(), 0);
    EXPECT_FALSE(Window->BuyButton->Enabled());
}

TEST_F(CityMerchantsTest, HiringTheLastCivilianMovesTheChoiceOntoTheNewLast) {
    Visit(0);
    for (const int expected : {1, 0, 0}) {
        Window->HireCandidate = Town->Civilians.Count() - 1;
        const TUnit* hired = Town->Civilians[Window->HireCandidate];
        Window->TryHire();
        Run();
        EXPECT_EQ(LastMessage(), "Unit hired");
        EXPECT_TRUE(Town->IsOtherUnit(*hired));
        EXPECT_EQ(Window->HireCandidate, expected);
    }
    EXPECT_EQ(Town->Civilians.Count(), 0);
    EXPECT_FALSE(Window->BuyButton->Enabled());
    EXPECT_EQ(Player(0).Gold, 1000 - 3 * 15);
}

TEST_F(CityMerchantsTest, TheHireGridScrollsOnlyFromAThirdRowOfSevenCivilians) {
    Visit(0);
    const struct {
        int Civilians, Rows;
        bool Scrolls;
    } cases[] = {{3, 2, false}, {14, 2, false}, {15, 3, true}, {22, 4, true}};
    for (const auto& c : cases) {
        while (Town->Civilians.Count() < c.Civilians)
            Town->AddCivilian(TestSupport::MakeUnit(VillagerID), true, false);
        Window->RefreshInnPanel();
        Window->UpdatePanels();
        EXPECT_EQ(Window->HireGrid->RowCount, c.Rows) << c.Civilians;
        EXPECT_EQ(Window->HireGrid->VisibleRowCount, 2);
        EXPECT_EQ(Window->HireGrid->ColumnCount, 7);
        EXPECT_EQ(Window->HireScrollBar->Visible(), c.Scrolls) << c.Civilians;
        if (c.Scrolls) {
            EXPECT_EQ(Window->HireScrollBar->Maximum(), c.Rows - 2) << c.Civilians;
        }
    }
    EXPECT_EQ(Window->HireGrid->X(), 400 - 7 * 104 / 2);
    EXPECT_EQ(Window->HireScrollBar->X(), Window->HireGrid->X() + 7 * 104 - 7);
}

TEST_F(CityMerchantsTest, VisitsToBuildingsTheTownLacksAreRefusedAndChangeNothing) {
    Town->Mage.Enabled = 0;
    Visit(0);
    const uint64_t before = TestSupport::StateDigest(Scenario());
    for (const int32_t building : {-1, 1, 4, 5, 6, 1000}) {
        EXPECT_FALSE(Window->VisitMerchant(building)) << building;
        EXPECT_EQ(Window->OpenMerchant, Main::omInn) << building;
    }
    Player(0).PostAction(false, MakeAction(acVisitMerchant, 1));
    Game->ExecuteAction();
    EXPECT_EQ(Player(0).GetActionResult(), arCannotGoThere);
    EXPECT_EQ(TestSupport::StateDigest(Scenario()), before);

    // A house shows its picture and leaves the open merchant as it was.
    Town->Custom1.Enabled = 1;
    EXPECT_TRUE(Window->VisitMerchant(4));
    EXPECT_EQ(Window->OpenMerchant, Main::omInn);
}

TEST_F(CityMerchantsTest, PurchasesForAnotherPlayerOrOutsideTheTownAreRefusedEverywhere) {
    Visit(0);
    struct Case {
        const char* Name;
        int32_t Kind;
        std::function<uint32_t(CityMerchantsTest&)> UnitID;
        int32_t Player;
    };
    const Case cases[] = {
        {"charged to another player", pkBuyDrink,
         [](CityMerchantsTest& t) { return t.Customer->ID; }, 1},
        {"hiring for another player", pkHireUnit,
         [](CityMerchantsTest& t) { return t.Civilians[0]->ID; }, 1},
        {"a player index out of range", pkBuyDrink,
         [](CityMerchantsTest& t) { return t.Customer->ID; }, 7},
        {"no such kind", 7, [](CityMerchantsTest& t) { return t.Customer->ID; }, 0},
        {"no such unit", pkBuyDrink, [](CityMerchantsTest&) { return 999999u; }, 0},
    };
    const uint64_t before = TestSupport::StateDigest(Scenario());
    for (const Case& c : cases) {
        EXPECT_FALSE(Window->ApplyPurchase(c.Kind, int32_t(c.UnitID(*this)), c.Player, 0))
            << c.Name;
        EXPECT_EQ(TestSupport::StateDigest(Scenario()), before) << c.Name;
    }
    // Through the executor as well, with the town left: nothing to buy in.
    Scenario().InCity = 0;
    EXPECT_FALSE(Window->ApplyPurchase(pkBuyDrink, int32_t(Customer->ID), 0, 0));
    Scenario().InCity = 1;
    Player(0).PostAction(false, MakeAction(acMerchantPurchase, pkBuyDrink, Customer->ID, 1, 0));
    Game->ExecuteAction();
    EXPECT_EQ(Player(0).GetActionResult(), arCannotGoThere);
    EXPECT_EQ(Player(0).Gold, 1000);
    EXPECT_EQ(Player(1).Gold, 1000);
}

TEST_F(CityMerchantsTest, APurchaseOfAPlayerAtAnotherMachineChangesTheGameButNotThisScreen) {
    Visit(0);
    const auto messages = Game->Messages();
    Player(0).Type = ptRemote;
    EXPECT_TRUE(Window->ApplyPurchase(pkBuyDrink, int32_t(Customer->ID), 0, 0));
    EXPECT_EQ(Player(0).Gold, 1000 - 5);
    EXPECT_EQ(Customer->Effects.Count(), 1);
    EXPECT_EQ(Game->Messages(), messages);

    // Its checks take no command from this machine either.
    Window->TryBuyDrink();
    EXPECT_FALSE(Player(0).HasPendingAction());
}

TEST_F(CityMerchantsTest, AVisitQueuesTheBuildingsConversationsOnEveryMachine) {
    const auto talk = [this](uint32_t merchantID) {
        auto conversation = std::make_unique<TConversation>();
        conversation->ID = 900 + merchantID;
        conversation->OwnerType = ceBuilding;
        conversation->OwnerID = int32_t(merchantID);
        conversation->TargetPlayers = 1; // red
        TScenarioConversation* added = conversation.get();
        Scenario().Conversations.Add(std::move(conversation));
        return added;
    };
    const auto queued = [this](const TScenarioConversation* conversation) {
        const auto& queue = Scenario().ConversationQueue;
        return std::find(queue.begin(), queue.end(), conversation) != queue.end();
    };
    const TScenarioConversation* mage = talk(Town->Mage.ID);
    const TScenarioConversation* house = talk(Town->Custom2.ID);
    Town->Custom2.Enabled = 1;

    // Red plays at another machine: the merchant opens in the game, not on this screen.
    Player(0).Type = ptRemote;
    EXPECT_TRUE(Window->VisitMerchant(Main::omMage));
    EXPECT_EQ(Window->OpenMerchant, Main::omMage);
    EXPECT_FALSE(Window->SpellList->Visible());
    EXPECT_TRUE(queued(mage));
    EXPECT_FALSE(queued(house));
    EXPECT_TRUE(Window->VisitMerchant(5));
    EXPECT_TRUE(queued(house));
    EXPECT_EQ(Window->OpenMerchant, Main::omMage) << "a house opens no panel";
}

TEST_F(CityMerchantsTest, AVisitHereHoldsTheBuildingsPicturesUntilTheMerchantCloses) {
    using TestSupport::TTinyWorld;
    Town->Innkeeper.PictureID = TTinyWorld::TreeSprite;
    Town->Innkeeper.Value3 = TTinyWorld::RockSprite;
    Town->Custom1.PictureID = TTinyWorld::FountainSprite;
    Town->Custom1.Enabled = 1;
    Town->Mage.PictureID = 4242; // not in the library: nothing shown
    Gfx::TSpriteList& library = Scenario().SpriteLibrary;

    Visit(0);
    EXPECT_EQ(Window->BuildingPicture, library.FindSprite(TTinyWorld::TreeSprite));
    EXPECT_EQ(Window->MerchantPicture, library.FindSprite(TTinyWorld::RockSprite));
    ASSERT_NE(Window->MerchantPicture, nullptr);
    Visit(4);
    EXPECT_EQ(Window->BuildingPicture, library.FindSprite(TTinyWorld::FountainSprite));
    EXPECT_EQ(Window->MerchantPicture, library.FindSprite(TTinyWorld::RockSprite))
        << "the inn's keeper stays";
    Window->CloseMerchant();
    EXPECT_EQ(Window->BuildingPicture, nullptr);
    EXPECT_EQ(Window->MerchantPicture, nullptr);

    Visit(1);
    EXPECT_EQ(Window->OpenMerchant, Main::omMage);
    EXPECT_EQ(Window->BuildingPicture, nullptr);

    // Another machine's visit takes no picture here.
    Window->CloseMerchant();
    Player(0).Type = ptRemote;
    EXPECT_TRUE(Window->VisitMerchant(0));
    EXPECT_EQ(Window->BuildingPicture, nullptr);
}

TEST_F(CityMerchantsTest, TheGoldAndTheLeaveButtonsHintFollowTheOpenMerchant) {
    // The town view's own controls, where the town view has not made them.
    if (!Window->GoldDisplay)
        Window->GoldDisplay = new Main::TMenuButton(Window, Window);
    if (!Window->LeaveButton)
        Window->LeaveButton = new Main::TMenuButton(Window, Window);
    const std::pair<int, const char*> visits[] = {
        {0, "Leave inn"}, {1, "Leave mage"}, {2, "Leave battlemaster"}, {3, "Leave herbalist"}};
    for (const auto& [building, hint] : visits) {
        Window->CloseMerchant();
        EXPECT_EQ(Window->LeaveButton->Hint(), "Leave town");
        EXPECT_FALSE(Window->GoldDisplay->Visible());
        Visit(building);
        EXPECT_EQ(Window->LeaveButton->Hint(), hint);
        EXPECT_TRUE(Window->GoldDisplay->Visible());
        EXPECT_EQ(Window->GoldDisplay->Text(), ClassLib::IntToStr(Player(0).Gold));
        EXPECT_EQ(Window->GoldDisplay->Hint(), "Your gold");
    }
    Window->TryBuyAbility();
    Run();
    EXPECT_EQ(Player(0).Gold, 1000 - 30);
    EXPECT_EQ(Window->GoldDisplay->Text(), "970");
}

TEST_F(CityMerchantsTest, NothingIsPostedWhileThePurchaseBeforeWaitsForItsResult) {
    Visit(0);
    Window->TryBuyDrink();
    ASSERT_TRUE(Player(0).HasPendingAction());
    Click(*Window->MerchantButton); // a quick second click
    Window->TryHire();
    Run();
    EXPECT_EQ(Player(0).Gold, 1000 - 5);
    EXPECT_EQ(Customer->Effects.Count(), 1);
    EXPECT_EQ(Town->Civilians.Count(), 3);
}

TEST(CityOffers, OnlyPricedEntriesInAscendingOrderWithTheirPrices) {
    std::array<uint32_t, 64> prices{};
    prices[0] = 5;
    prices[3] = 0x80000000u; // no sensible price
    prices[7] = 1;
    prices[63] = 700;
    Main::TOfferTable offers;
    offers.Count = 9;
    TCityWindow::BuildOffers(prices, offers);
    ASSERT_EQ(offers.Count, 3);
    const std::pair<int, int> expected[] = {{0, 5}, {7, 1}, {63, 700}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(offers.Offers[size_t(i)].Index, expected[i].first) << i;
        EXPECT_EQ(offers.Offers[size_t(i)].Price, expected[i].second) << i;
    }
    TCityWindow::BuildOffers({}, offers);
    EXPECT_EQ(offers.Count, 0);
}

} // namespace
