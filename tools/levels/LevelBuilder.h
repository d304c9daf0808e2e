// Composes a campaign level in code from its description and saves it through the
// game's own writer, with the side files the scenario names.
//
//   const Tools::TLevelDescription level =
//   Tools::ReadLevelDescriptionFile("data/levels/level1.txt"); Tools::TBuiltLevel built =
//   Tools::BuildLevel(level); // units need Data2::GlobalData built.Files["level1.scn"] ... //
//   every file of the "scenario" archive
#pragma once

#include "game/world/scenario/Scenario.h"
#include "tools/ArchiveWriter.h"
#include "tools/levels/LevelDescription.h"

#include <map>
#include <memory>
#include <string>

namespace Tools {

// Side files shared by every level.
constexpr const char* SceneryPrototypeFile = "scenery.txt";
constexpr const char* ScenerySpriteFile = "scenery.gfl";
constexpr const char* BannerSpriteFile = "banners.gfl";
// Scenery prototypes.
constexpr uint32_t TreePrototypeID = 1;
constexpr uint32_t RockPrototypeID = 2;
// Units that may go on to the next level.
constexpr uint32_t LevelTransferLimit = 6;

struct TBuiltLevel {
    std::unique_ptr<GameData::TScenario> Scenario; // as saved
    std::map<std::string, TBytes> Files;           // archive entry name -> bytes
};

// The scenario with its side files: Stem + ".scn", Stem + ".bkg" and the shared
// scenery prototypes, scenery sprites and banners. Trees and rocks stand on free,
// dry cells away from every start, group and city. GLOBAL0 .. GLOBAL(players - 1) start
// at 1: the level goes on until a script clears one (GLOBAL1 to 0 is the victory).
// Every town shows the street picture and plays the market theme; a town a player holds
// opens the four merchants with fixed prices, and each keeps its described civilians.
// Every player's units enter its computer player's records; a guard's task holds the
// guarding group's units, and its identifier goes to the global bound to the guard's
// alias. The described conversations are stored with the level.
TBuiltLevel BuildLevel(const TLevelDescription& level);

// The scenery prototype list as the scenario reads it, with Unix line ends (BuildLevel
// stores it with CR LF).
std::string SceneryPrototypeText();

} // namespace Tools
