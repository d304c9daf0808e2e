// Purchases in a town keep two peers in step: on each peer the same group of the player
// on turn stands in the same town with its merchants priced, and every purchase the
// peers are fed (valid ones, ones the town refuses, ones naming a player other than the
// one on turn or no player at all) leaves their saved bytes alike; a refused one
// changes nothing.
#include "game/world/cities/City.h"
#include "game/world/groups/Group.h"
#include "platform/win32/Desktop.h"
#include "tests/support/StateDigest.h"
#include "tests/support/UnitBuilder.h"
#include "tests/tools/LevelFixture.h"
#include "tests/tools/LockstepHarness.h"
#include "ui/screens/CityWindow.h"

#include <gtest/gtest.h>

namespace LevelTests {
namespace {

using namespace GameData;
using TestSupport::SavedBytes;
using TestSupport::StateDigest;

TCity* FirstCity(const TScenario& scenario) {
    for (TMapObject* object : scenario.Objects)
        if (object->Kind == okCity)
            return static_cast<TCity*>(object);
    return nullptr;
}

TGroup* OwnGroup(const TScenario& scenario) {
    for (TMapObject* object : scenario.Objects)
        if (object->Kind == okGroup) {
            auto* group = static_cast<TGroup*>(object);
            if (group->OwnerIndex == scenario.CurrentPlayerIndex && group->UnitCount() > 0)
                return group;
        }
    return nullptr;
}

// The player on turn's first group enters a town made its own, whose four merchants
// sell, with two civilians for hire: the same on every peer.
void OpenShop(TScenario& scenario) {
    TCity* town = FirstCity(scenario);
    TGroup* group = OwnGroup(scenario);
    ASSERT_NE(town, nullptr);
    ASSERT_NE(group, nullptr);
    const auto owner = uint8_t(scenario.CurrentPlayerIndex);
    town->Owner = owner;
    town->GateGroup->OwnerIndex = owner;
    for (TMerchant* merchant : std::initializer_list<TMerchant*>{
             &town->Innkeeper, &town->Mage, &town->BattleMaster, &town->Herbalist})
        merchant->Enabled = 1;
    town->Innkeeper.BeerPrice = 5;
    town->Mage.ManaPrice = 2;
    town->Herbalist.HealPrice = 1;
    for (size_t i = 0; i < 4; ++i) {
        town->Mage.SpellPrices[i] = uint32_t(10 * (i + 1));
        town->BattleMaster.SkillPrices[i] = uint32_t(12 * (i + 1));
        town->Herbalist.AbilityPrices[i] = uint32_t(14 * (i + 1));
    }
    int prototype = 0;
    for (const TUnit* unit : group->Units)
        if (unit && !prototype)
            prototype = unit->Prototype->ID;
    for (int i = 0; i < 2; ++i) {
        auto civilian = TestSupport::MakeUnit(prototype);
        civilian->Marker = CityOwnerByte;
        town->AddCivilian(std::move(civilian), true, false);
    }
    scenario.CurrentPlayer->Gold = 400;
    scenario.CurrentPlayer->SelectObject(group);
    town->EnterGroup(*group);
}

// The units a purchase may name: those in the town, and one outside it.
std::vector<uint32_t> Customers(const TScenario& scenario) {
    const TCity& town = *FirstCity(scenario);
    std::vector<uint32_t> ids;
    for (const TUnit* unit : town.GateGroup->Units)
        if (unit)
            ids.push_back(unit->ID);
    for (const TUnit* unit : town.Civilians)
        ids.push_back(unit->ID);
    for (const TUnit* unit : scenario.Units)
        if (unit->Owner != &town && !town.GateGroup->FindUnitByID(unit->ID)) {
            ids.push_back(unit->ID);
            break;
        }
    return ids;
}

class LockstepPurchases : public ::testing::Test {
protected:
    Win32::TDesktop Desktop;
    Win32::TScopedDesktop ScopedDesktop{Desktop};
};

TEST_F(LockstepPurchases, EveryPurchaseKeepsThePeersInStepAndARefusedOneChangesNothing) {
    const std::vector<uint8_t>& file = TLevelSet::Get().ScenarioFile(1);
    TPeer first(LoadedScenario(file));
    TPeer second(LoadedScenario(file));
    for (TPeer* peer : {&first, &second}) {
        peer->InstallTownWindow();
        OpenShop(peer->Scenario());
    }
    ASSERT_TRUE(SavedBytes(second.Scenario()) == SavedBytes(first.Scenario()));

    const TScenario& scenario = first.Scenario();
    const auto buyer = uint32_t(scenario.CurrentPlayerIndex);
    const uint32_t players[] = {buyer, (buyer + 1) % uint32_t(scenario.PlayerCount()), 99};
    int done = 0, refused = 0;
    for (uint32_t kind = 0; kind <= 7; ++kind)
        for (const uint32_t item : {0u, 1u, 3u, 9u})
            for (const uint32_t player : players)
                for (const uint32_t unitID : Customers(scenario)) {
                    const TPlayerAction action =
                        MakeAction(acMerchantPurchase, kind, unitID, player, item);
                    SCOPED_TRACE(testing::Message() << "kind " << kind << " unit " << unitID
                                                    << " player " << player << " item " << item);
                    const uint64_t before = StateDigest(scenario);
                    const TPeer::TOutcome outcome = first.Execute(action);
                    ASSERT_TRUE(second.Execute(action) == outcome);
                    ASSERT_TRUE(SavedBytes(second.Scenario()) == SavedBytes(scenario));
                    if (outcome.Refused) {
                        ASSERT_EQ(StateDigest(scenario), before);
                        ++refused;
                    } else {
                        EXPECT_EQ(player, buyer) << "only the player on turn buys";
                        ++done;
                    }
                }
    EXPECT_GT(done, 5);
    EXPECT_GT(refused, 100);
}

} // namespace
} // namespace LevelTests
