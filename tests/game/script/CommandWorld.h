// The tiny world the unit, map and state command tests share: red's group with a
// knight and a wolf talking, blue's group with a wolf, blue's city with a
// townsman, a quest, an objective and an area over red's cell and its neighbour.
#pragma once

#include "game/script/Conversation.h"
#include "game/script/QuestObjective.h"
#include "game/world/fog/Fog.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/TinyWorld.h"
#include "tests/support/UnitBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace TestSupport {

class TCommandWorld : public ::testing::Test {
public:
    static constexpr int Knight = 1;
    static constexpr int Wolf = 2;
    static constexpr int16_t WolfClass = 4;
    static constexpr uint32_t QuestID = 40;
    static constexpr uint32_t ObjectiveID = 41;

    TCommandWorld() {
        // An experience curve, so that no unit levels up on its own.
        for (const int id : {Knight, Wolf}) {
            GameData::TUnitStats& stats = data.AddUnitPrototype(id, "Unit").Stats;
            stats.ExperienceBase() = 100;
            stats.ExperienceDelta() = 50;
            TestSupport::SetStat(stats, GameData::HITPOINTS, 2000);
        }
        data.Global().UnitPrototypes[1].CreatureType = WolfClass;
        GameData::InstallQuestObjectives(scenario);
        red = world.AddGroup(0, 2, 2);
        knight = Unit(*red, Knight);
        redWolf = Unit(*red, Wolf);
        blue = world.AddGroup(1, 6, 2);
        blueWolf = Unit(*blue, Wolf);
        city = world.AddCity(1, 8, 8);
        townsman = city->AddOtherUnit(MakeUnit(Knight, 10), true, false);
        townsman->Marker = GameData::CityOwnerByte;
        quest = AddTask(QuestID, GameData::qtQuest);
        objective = AddTask(ObjectiveID, GameData::qtObjective);
        area = world.AddArea({{2, 2}, {3, 2}});
        conversation.ID = 3;
        conversation.SetScenario(&scenario);
        conversation.SetTalkingGroup(red);
        scenario.BeginTurnOf(0);
    }

    GameData::TUnit* Unit(GameData::TGroup& group, int prototype, int16_t hitPoints = 10) {
        return group.AddUnit(MakeUnit(prototype, hitPoints), true, false);
    }
    GameData::TQuestObjective* AddTask(uint32_t id, int32_t type) {
        auto task = std::make_unique<GameData::TQuestObjective>();
        task->ID = id;
        task->Type = type;
        task->SetScenario(&scenario);
        return static_cast<GameData::TQuestObjective*>(scenario.Quests.Add(std::move(task)));
    }
    // The page's text; a failing page gives its error instead.
    std::string Run(const std::string& page) {
        std::string shown;
        const std::string error = ErrorOf([&] {
            conversation.Texts = {page};
            shown = conversation.GetText(0);
        });
        return error == "no error" ? shown : error;
    }
    // LOCAL0 after the page ran; a failing page fails the test.
    int32_t Query(const std::string& page) {
        const std::string shown = Run(page);
        EXPECT_EQ(shown, "") << page;
        return conversation.Locals[0];
    }
    static std::string Framed(const std::string& message, const std::string& command) {
        return "[TConversation]\n" + message + "\nCommand:" + command + " ConversationID=3";
    }
    // Movement costs no fill wrote: a refill shows as cost 0 on its start cell.
    void MakeCostsStale() { std::fill(scenario.MoveCosts.begin(), scenario.MoveCosts.end(), 77); }
    uint8_t MoveCostAt(int x, int y) const {
        return scenario.MoveCosts[size_t(scenario.CellIndex(x, y))];
    }
    uint8_t FogAt(int player, int x, int y) const {
        return world.Player(player).Fog->GetCell(x, y, 9);
    }
    static std::string Id(const GameData::TMapObject* object) { return std::to_string(object->ID); }
    static std::string Id(const GameData::TUnit* unit) { return std::to_string(unit->ID); }

    TTestGameData data;
    TTinyWorld world;
    GameData::TScenario& scenario = *world.Scenario;
    GameData::TConversation conversation;
    GameData::TGroup *red, *blue;
    GameData::TCity* city;
    GameData::TUnit *knight, *redWolf, *blueWolf, *townsman;
    GameData::TQuestObjective *quest, *objective;
    GameData::TArea* area;
};

} // namespace TestSupport
