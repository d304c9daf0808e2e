// The small world the script fuzz targets run against: two players, groups with a
// living and a dead unit, a city with a unit inside and a group at its gate, and
// areas 1 and 2. Made once; scripts may change its globals as they run.
#pragma once

#include "game/script/QuestObjective.h"
#include "tests/support/TinyWorld.h"
#include "tests/support/UnitBuilder.h"

namespace FuzzSupport {

struct TScriptWorld {
    TScriptWorld() {
        data.AddUnitPrototype(1, "Knight");
        data.AddUnitPrototype(2, "Wolf");
        GameData::TScenario& s = *world.Scenario;
        GameData::InstallQuestObjectives(s);
        auto* red = world.AddGroup(0, 2, 2);
        auto* blue = world.AddGroup(1, 5, 5);
        auto* city = world.AddCity(1, 8, 8);
        auto* gate = city->GateGroup.get();
        world.AddUnit(*red, 1);
        world.AddUnit(*red, 2, 0);
        world.AddUnit(*blue, 2);
        world.AddUnit(*gate, 2);
        world.AddUnit(*city, 1);
        for (uint32_t id : {1u, 2u}) {
            auto area = std::make_unique<GameData::TArea>();
            area->ID = id;
            area->AddCell({int16_t(2 * id), int16_t(2 * id)});
            s.Areas.Add(std::move(area));
        }
        s.SetGlobalAlias("GOLD", 7);
    }

    TestSupport::TTestGameData data;
    TestSupport::TTinyWorld world;
};

} // namespace FuzzSupport
