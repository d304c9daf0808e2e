#include "tests/tools/LockstepHarness.h"

#include "game/world/cities/City.h"
#include "game/world/groups/Group.h"
#include "ui/screens/CityWindow.h"
#include "ui/screens/FightDialog.h"

#include <algorithm>

namespace LevelTests {

using namespace GameData;

namespace {

std::vector<TCity*> Cities(const TScenario& scenario) {
    std::vector<TCity*> cities;
    for (TMapObject* object : scenario.Objects)
        if (object->Kind == okCity)
            cities.push_back(static_cast<TCity*>(object));
    return cities;
}

// The units of a city with the place each stands in.
std::vector<std::pair<uint32_t, uint32_t>> CityUnits(const TCity& city) {
    std::vector<std::pair<uint32_t, uint32_t>> units;
    for (const TUnit* unit : city.GateGroup->Units)
        if (unit)
            units.emplace_back(cpGateGroup, unit->ID);
    for (const TUnit* unit : city.DefenderSlots)
        if (unit)
            units.emplace_back(cpDefenders, unit->ID);
    for (const TUnit* unit : city.OtherUnits)
        units.emplace_back(cpOtherUnits, unit->ID);
    for (const TUnit* unit : city.Civilians)
        units.emplace_back(cpCivilians, unit->ID);
    return units;
}

// The current player's groups on the map.
std::vector<TGroup*> OwnGroups(const TScenario& scenario) {
    std::vector<TGroup*> groups;
    const int owner = scenario.IndexOfPlayer(scenario.CurrentPlayer);
    for (TMapObject* object : scenario.Objects)
        if (object->Kind == okGroup && static_cast<TGroup*>(object)->OwnerIndex == owner)
            groups.push_back(static_cast<TGroup*>(object));
    return groups;
}

} // namespace

uint32_t TActionDriver::Draw() {
    State = State * 6364136223846793005ull + 1442695040888963407ull;
    return uint32_t(State >> 33);
}

uint32_t TActionDriver::AnyUnitID(const TScenario& scenario) {
    return scenario.Units.Count() == 0
               ? 0
               : scenario.Units[int(Below(uint32_t(scenario.Units.Count())))]->ID;
}

TPlayerAction TActionDriver::GroupOrder(const TScenario& scenario) {
    const std::vector<TGroup*> groups = OwnGroups(scenario);
    TGroup& group = *groups[Below(uint32_t(groups.size()))];
    TPlayerAction order;
    const uint32_t kind = Below(10);
    if (kind < 2) {
        // Any slot's mark on or off, all of them sometimes.
        order = MakeAction(acMarkSplit, Below(2) | Below(2) << 8 | Below(2) << 16);
    } else if (kind < 4 && groups.size() > 1) {
        const TGroup& other = *groups[Below(uint32_t(groups.size()))];
        order = MakeAction(acMoveGroup, uint32_t(other.CellX), uint32_t(other.CellY), 0, 1);
        order.P[4] = 10;
        order.P[5] = other.ID;
        order.P[6] = 1;
    } else {
        const int x = std::clamp(group.CellX + int(Below(13)) - 6, 0, scenario.Width - 1);
        const int y = std::clamp(group.CellY + int(Below(13)) - 6, 0, scenario.Height - 1);
        order = MakeAction(acMoveGroup, uint32_t(x), uint32_t(y));
        order.P[6] = 1;
    }
    if (scenario.CurrentPlayer && scenario.CurrentPlayer->Selection == &group)
        return order;
    FFollowUp = order;
    return MakeAction(acSelectObject, group.ID);
}

TPlayerAction TActionDriver::Next(const TScenario& scenario) {
    if (FFollowUp) {
        const TPlayerAction order = *FFollowUp;
        FFollowUp.reset();
        return order;
    }
    if (++SinceEndOfTurn >= 12 || Below(100) < 8) {
        SinceEndOfTurn = 0;
        return MakeAction(acEndTurn);
    }
    const uint32_t roll = Below(100);
    if (roll < 20)
        return Malformed(scenario);
    if (roll < 55 && !OwnGroups(scenario).empty())
        return GroupOrder(scenario);
    const std::vector<TCity*> cities = Cities(scenario);
    if (cities.empty())
        return MakeAction(acEndTurn);
    const TCity& city = *cities[Below(uint32_t(cities.size()))];
    const auto units = CityUnits(city);
    if (units.empty())
        return MakeAction(acEndTurn);
    const auto& [place, unitID] = units[Below(uint32_t(units.size()))];
    if (roll < 65) {
        // Any place, the gate too, and any row, so that full rows and wrong places
        // are met as well.
        const int32_t row = int32_t(Below(4)) - 1;
        return MakeAction(acMoveCityUnit, place, unitID, Below(4), uint32_t(row));
    }
    const uint32_t player = uint32_t(std::max(0, scenario.IndexOfPlayer(scenario.CurrentPlayer)));
    return MakeAction(acMerchantPurchase, Below(7), unitID, player, Below(8));
}

TPlayerAction TActionDriver::Malformed(const TScenario& scenario) {
    const uint32_t wild[] = {0xFFFFFFFFu, 0x80000000u, 0x7FFFFFFFu, 1000000u, 129u, 4u};
    const uint32_t big = wild[Below(std::size(wild))];
    switch (Below(7)) {
    case 0:
        return MakeAction(19 + Below(1000), AnyUnitID(scenario), big);
    case 1:
        return MakeAction(acNone, AnyUnitID(scenario));
    case 2:
        return MakeAction(acMoveCityUnit, 4 + Below(100), AnyUnitID(scenario), 0, 0);
    case 3:
        return MakeAction(acMoveCityUnit, 0, big, 1, 0);
    case 4:
        return MakeAction(acMerchantPurchase, 0, AnyUnitID(scenario),
                          uint32_t(scenario.PlayerCount()) + Below(5), 0);
    case 5:
        return MakeAction(acSelectObject, big);
    default:
        return MakeAction(acMoveGroup, big, Below(200));
    }
}

namespace {

// Updates a walk plays out over.
constexpr int WalkFrames = 30;

} // namespace

struct TPeer::TSeedSwap {
    TPeer& Peer;
    explicit TSeedSwap(TPeer& peer) : Peer(peer) { Swap(); }
    ~TSeedSwap() { Swap(); }
    void Swap() {
        std::swap(Base::RandomSeed, Peer.FSeed);
        std::swap(Base::AIRandomSeed, Peer.FAISeed);
        std::swap(Base::SavedRandomSeed, Peer.FSavedSeed);
    }
};

TPeer::TPeer(std::unique_ptr<TScenario> scenario)
    : FGame(std::make_unique<Main::TGame>(&FWindows)) {
    const TSeedSwap swap(*this);
    FGame->Init();
    FGame->Scenario = std::move(scenario);
    Main::TGameParams params;
    params.Reset();
    params.Mode = Main::gmNetwork;
    for (Main::TPlayerParams& player : params.Players)
        player.Control = Main::pcLocal;
    FGame->StartGame(params);
    Settle();
}

TPeer::~TPeer() = default;

Main::TFightDialog& TPeer::InstallFightDialog() {
    auto dialog = std::make_unique<Main::TFightDialog>(&FWindows, *FGame);
    Main::TFightDialog& installed = *dialog;
    FGame->FightDialog = std::move(dialog);
    return installed;
}

Main::TCityWindow& TPeer::InstallTownWindow() {
    auto window = std::make_unique<Main::TCityWindow>(&FWindows, *FGame);
    Main::TCityWindow& installed = *window;
    installed.SetScenario(FGame->Scenario.get());
    FGame->TownWindow = std::move(window);
    return installed;
}

void TPeer::Settle() {
    while (Scenario().CurrentPlayer && Scenario().CurrentPlayer->HasPendingAction())
        FGame->ExecuteAction();
}

TPeer::TOutcome TPeer::Execute(const TPlayerAction& action) {
    const TSeedSwap swap(*this);
    TPlayer* player = Scenario().CurrentPlayer;
    player->PostAction(false, action);
    FGame->ExecuteAction();
    TOutcome outcome{player->GetActionResult(), false};
    if (outcome.Result == arCannotGoThere) {
        outcome.Refused = true;
    } else if (action.Code != acFightCommands) {
        // A side's fight commands answer nobody and start nothing that plays out.
        for (int i = 0; i < WalkFrames; ++i)
            FGame->Update();
        outcome.Result = player->GetActionResult();
    }
    Settle();
    return outcome;
}

} // namespace LevelTests
