// A tiny world made in code for the world, spell and script tests: a 12 x 12 map
// with a background, scenery from a small scenario sprite library, three players, and
// the groups and cities a test adds.
//
//   TestSupport::TTinyWorld world;  // red (local) and blue (computer) at war, green aside
//   GameData::TDoodle* tree = world.AddDoodle(TTinyWorld::Tree, 3, 4);
//   GameData::TGroup* group = world.AddGroup(0, 2, 2); // red, empty
//   group->AddUnit(TestSupport::MakeUnit(1), true, true); // with TTestGameData
//   GameData::TCity* city = world.AddCity(1, 6, 6);  // blue, cells (6..7, 6..7)
//   world.Scenario->BeginTurnOf(0);
#pragma once

#include "game/world/cities/City.h"
#include "game/world/groups/Group.h"
#include "game/world/objects/Doodle.h"
#include "game/world/objects/MapGeometry.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"
#include "tools/ArchiveWriter.h"

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

namespace TestSupport {

struct TTinyWorldOptions {
    int Width = 12; // cells
    int Height = 12;
    uint8_t SecondPlayerType = GameData::ptComputer;
    // Green, at peace with both: a stored scenario holds at least three players.
    uint8_t ThirdPlayerType = GameData::ptComputer;
    uint8_t BaseCost = 20;
    // Planners for the players' computer side; the placeholder when empty.
    GameData::TPlannerFactory PlannerFactory;
};

class TTinyWorld {
public:
    // Scenario sprite library.
    static constexpr uint32_t TreeSprite = 1;     // 40 x 60, one frame, hot spot (20, 50)
    static constexpr uint32_t FountainSprite = 2; // 40 x 40, four frames, hot spot (20, 20)
    static constexpr uint32_t RockSprite = 3;     // 80 x 80, one frame, hot spot (40, 40)
    static constexpr uint32_t SparkleSprite = 4;  // 20 x 20, three frames, hot spot (10, 10)
    // Scenery prototypes.
    static constexpr uint32_t Tree = 1;     // still; own cell: height +3, cost +10
    static constexpr uint32_t Fountain = 2; // loops every 5 ticks; ambient sound 7 at 100 %
    static constexpr uint32_t Rock = 3;     // still; every cell under it: cost +250 (impassable)
    static constexpr uint32_t AmbientSoundID = 7;

    explicit TTinyWorld(const TTinyWorldOptions& options = {});

    // A doodle of the prototype at the centre of the cell.
    GameData::TDoodle* AddDoodle(uint32_t prototypeID, int cellX, int cellY);
    // An empty group of the player (255 for none) at the centre of the cell.
    GameData::TGroup* AddGroup(uint8_t owner, int cellX, int cellY);
    // A city of the player covering the 2 x 2 cells from (cellX, cellY), left
    // through the two cells below it, with one defender row and its merchants.
    GameData::TCity* AddCity(uint8_t owner, int cellX, int cellY, const char* caption = "Tinyburg");
    GameData::TPlayer& Player(int index) const { return *Scenario->Players[index]; }

    // An area of the cells with a new identifier.
    GameData::TArea* AddArea(const std::vector<GameData::TField>& cells);

    std::unique_ptr<GameData::TScenario> Scenario;
};

// The scenario sprite library above as a "GFXL" file.
Tools::TBytes TinySpriteLibrary();
// A "BCKG" record of width x height plain 16-bit tiles.
Tools::TBytes TinyBackground(int width, int height);

// Stands in for the game controller's executor on the test's thread: takes the
// current player's action and gives the few codes the world model itself carries
// out their effect (end of turn, selection, report). Other codes go to OtherAction,
// which returns the result; without it they fail the step.
class TTestExecutor {
public:
    explicit TTestExecutor(GameData::TScenario& scenario) : Scenario(scenario) {}

    // One update: false when nothing was pending.
    bool Step();
    // Steps until done() holds or the time runs out; true when it held.
    bool RunUntil(const std::function<bool()>& done,
                  std::chrono::milliseconds limit = std::chrono::seconds(20));

    GameData::TScenario& Scenario;
    std::function<int32_t(GameData::TPlayer&, const GameData::TPlayerAction&)> OtherAction;
    // Every action executed, in order.
    std::vector<GameData::TPlayerAction> Taken;
};

} // namespace TestSupport
