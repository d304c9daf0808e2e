// What loading a campaign level needs beside the world model: the scripting library's
// quests and conversations and the computer players' planners, which the level stores.
#pragma once

#include "game/world/scenario/Scenario.h"

#include <memory>

namespace Tools {

// A scenario that only carries the factories, for GameData::LoadScenario.
std::unique_ptr<GameData::TScenario> LevelServices();
// A stored level or saved scenario, loaded with those services.
std::unique_ptr<GameData::TScenario> LoadLevel(Data::TStream& stream);

} // namespace Tools
