// The small world of the computer player's fuzz target and its seeds: red (local)
// with a group of one unit at war with blue (computer) with a group of two, green
// aside; every player planned by the computer player's handler. The same code makes
// the same unit IDs, so stored seeds name units the target's world holds.
#pragma once

#include "game/ai/AIHandler.h"
#include "game/world/data/GlobalData.h"
#include "game/world/groups/Group.h"
#include "game/world/objects/MapGeometry.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"

#include <memory>

namespace FuzzSupport {

struct TAIHandlerWorld {
    TAIHandlerWorld() {
        using namespace GameData;
        if (!Data2::GlobalData) {
            Data2::GlobalData = std::make_unique<Data2::TGlobalData>(Data2::TEmptyGlobalData{});
            Data2::GlobalData->UnitPrototypes.SetCount(1);
            Data2::GlobalData->UnitPrototypes[0].ID = 1;
            Data2::GlobalData->UnitPrototypes[0].Stats.Level() = 1;
        }
        Scenario = std::make_unique<TScenario>();
        AIHandler::InstallComputerPlayers(*Scenario);
        Scenario->SetMapSize(12, 12);
        const uint8_t types[3] = {ptLocal, ptComputer, ptComputer};
        for (int i = 0; i < 3; ++i) {
            auto player = std::make_unique<TPlayer>(Scenario.get());
            player->Type = types[i];
            if (i < 2)
                player->Relations[size_t(1 - i)] = reEnemy;
            Scenario->AddPlayer(std::move(player));
        }
        AddGroup(0, 2, 2, 1);
        AddGroup(1, 8, 8, 2);
    }

    AIHandler::TAIHandler& Handler(int player) const {
        return static_cast<AIHandler::TAIHandler&>(*Scenario->Players[player]->AI);
    }

    void AddGroup(uint8_t owner, int cellX, int cellY, int units) {
        auto group = std::make_unique<GameData::TGroup>(Scenario.get());
        const GameData::TPoint centre = GameData::CellToPixelCentre(cellX, cellY);
        group->X = int16_t(centre.X);
        group->Y = int16_t(centre.Y);
        group->OwnerIndex = owner;
        auto* added = static_cast<GameData::TGroup*>(Scenario->AddObject(std::move(group)));
        for (int i = 0; i < units; ++i) {
            auto unit = std::make_unique<GameData::TUnit>();
            unit->InitFromPrototype(Data2::GlobalData->UnitPrototypes[0]);
            added->AddUnit(std::move(unit), true, true);
        }
    }

    std::unique_ptr<GameData::TScenario> Scenario;
};

} // namespace FuzzSupport
