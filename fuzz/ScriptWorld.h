// The small world the script fuzz targets run against: three players, groups with a
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
        using TestSupport::MakeUnit;
        red->AddUnit(MakeUnit(1, 10), true, false);
        red->AddUnit(MakeUnit(2, 0), true, false);
        blue->AddUnit(MakeUnit(2, 10), true, false);
        city->GateGroup->AddUnit(MakeUnit(2, 10), true, false);
        city->AddOtherUnit(MakeUnit(1, 10), true, false);
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
