// A tiny world with red (local), blue (computer, red's enemy) and green (neutral to
// both) whose planners write down every unit they are given or lose, and three unit
// prototypes: a soldier, a hero and a beast.
#pragma once

#include "game/world/cities/City.h"
#include "game/world/groups/Group.h"
#include "game/world/scenario/GameSettings.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/TinyWorld.h"
#include "tests/support/UnitBuilder.h"

#include "platform/classlib/Streams.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace CityGroupTests {

using namespace GameData;

// "Red+1000" when red's planner gets unit 1000, "Red-1000" when it lets go.
class TLogPlanner : public TComputerPlayer {
public:
    TLogPlanner(TPlayer& player, std::vector<std::string>& log) : Player(player), Log(log) {}
    void PlayTurn() override {}
    bool AddAIUnit(TUnit& unit) override {
        Log.push_back(Player.Name + "+" + Id(unit));
        return true;
    }
    // "-" for a unit leaving a group, "x" for one leaving a city, whose targeting
    // tasks go with it.
    bool RemoveAIUnit(TUnit& unit, bool dropTargetingTasks) override {
        Log.push_back(Player.Name + (dropTargetingTasks ? "x" : "-") + Id(unit));
        return true;
    }
    static std::string Id(const TUnit& unit) { return std::to_string(unit.ID); }

    TPlayer& Player;
    std::vector<std::string>& Log;
};

// Settings of this machine with a chosen movement speed.
struct TSpeedSettings : TGameSettings {
    explicit TSpeedSettings(int32_t speed) { MovementSpeed = speed; }
};

class CityGroupTest : public testing::Test {
protected:
    static constexpr int SoldierID = 1; // HITPOINTS 30, MANA 20, ACTIONPOINTS 10, price 15 a level
    static constexpr int HeroID = 2;
    static constexpr int BeastID = 3; // creature type 2
    static constexpr uint8_t Red = 0, Blue = 1, Green = 2;

    CityGroupTest() {
        for (const auto& [id, name] : {std::pair{SoldierID, "Soldier"}, std::pair{HeroID, "Hero"},
                                       std::pair{BeastID, "Beast"}}) {
            Data2::TUnitPrototype& prototype = Data.AddUnitPrototype(id, name);
            TUnitStats& stats = prototype.Stats;
            TestSupport::SetStat(stats, HITPOINTS, 30);
            TestSupport::SetStat(stats, MANA, 20);
            TestSupport::SetStat(stats, ACTIONPOINTS, 10);
            TestSupport::SetStat(stats, ATTACK, 20);
            TestSupport::SetStat(stats, DEFENCE, 10);
            TestSupport::SetStat(stats, SIGHT, 3);
            stats.PricePerLevel() = 15;
            prototype.IsHero = id == HeroID;
            prototype.CreatureType = id == BeastID ? 2 : 1;
        }
        Data.SetConstant(Data2::gcCityDefenderMorale, 30);
        Data.SetConstant(Data2::gcCityEntryAP, 3);
        Data.SetConstant(Data2::gcBuildingEntryAP, 5);
        TestSupport::TTinyWorldOptions options;
        options.PlannerFactory = [this](TPlayer& player) -> std::unique_ptr<TComputerPlayer> {
            return std::make_unique<TLogPlanner>(player, Log);
        };
        options.ThirdPlayerType = ptLocal;
        World = std::make_unique<TestSupport::TTinyWorld>(options);
    }

    TScenario& Scenario() { return *World->Scenario; }
    TPlayer& Player(int index) { return World->Player(index); }
    // A unit of the prototype, not yet in the registry.
    static std::unique_ptr<TUnit> Make(int prototypeID) {
        return TestSupport::MakeUnit(prototypeID);
    }
    // A registered unit of the prototype serving the player (255: its city's owner).
    TUnit* Registered(int prototypeID, uint8_t player = CityOwnerByte) {
        TUnit* unit = Scenario().RegisterUnit(Make(prototypeID), true);
        unit->Marker = player;
        return unit;
    }
    static std::vector<uint8_t> Bytes(const Data::TDataObject& object) {
        ClassLib::TMemoryStream stream;
        object.SaveToStream(&stream);
        return stream.Bytes();
    }

    TestSupport::TTestGameData Data;
    std::vector<std::string> Log;
    std::unique_ptr<TestSupport::TTinyWorld> World;
};

} // namespace CityGroupTests
