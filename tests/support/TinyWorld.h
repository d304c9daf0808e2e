// A tiny world made in code for the world, spell and script tests: a 12 x 12 map
// with a background, scenery from a small scenario sprite library and two players.
//
//   TestSupport::TTinyWorld world;                  // red (local) and blue (computer)
//   GameData::TDoodle* tree = world.AddDoodle(TTinyWorld::Tree, 3, 4);
//   world.Scenario->BeginTurnOf(0);
#pragma once

#include "game/world/objects/Doodle.h"
#include "game/world/objects/MapGeometry.h"
#include "game/world/objects/ScriptedCity.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/units/UnitOwner.h"
#include "tools/ArchiveWriter.h"

#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

namespace TestSupport {

struct TTinyWorldOptions {
    int Width = 12; // cells
    int Height = 12;
    uint8_t SecondPlayerType = GameData::ptComputer;
    uint8_t BaseCost = 20;
    // Planners for the players' computer side; the placeholder when empty.
    GameData::TPlannerFactory PlannerFactory;
};

// Stand-ins for the world model's groups and cities, which are still being built:
// map objects of kind group or city that hold units, without sprites.
class TStandInGroup : public GameData::TMapObject, public GameData::TUnitOwner {
public:
    TStandInGroup(GameData::TScenario* scenario, GameData::TPlayer* owner);

    Gfx::TSprite* GetSprite() const override { return nullptr; }
    GameData::TGroup* AsGroup() override;
    GameData::TCity* AsCity() override { return nullptr; }
    GameData::TUnitPlayer* PlayerOf(const GameData::TUnit&) override { return Owner; }
    bool IsCivilian(const GameData::TUnit&) const override { return false; }
    bool HasScriptedEntry() const override { return false; }
    bool IsCampPitched() const override { return false; }
    std::span<GameData::TUnit* const> GroupUnits() const override { return Slots; }
    void TakeOutOfGroup(GameData::TUnit& unit) override;

    std::array<GameData::TUnit*, 3> Slots{};
    GameData::TPlayer* Owner;
};

class TStandInCity : public GameData::TMapObject,
                     public GameData::TUnitOwner,
                     public GameData::TScriptedCity {
public:
    TStandInCity(GameData::TScenario* scenario, uint8_t owner);

    Gfx::TSprite* GetSprite() const override { return nullptr; }
    GameData::TGroup* AsGroup() override { return nullptr; }
    GameData::TCity* AsCity() override;
    GameData::TUnitPlayer* PlayerOf(const GameData::TUnit&) override;
    bool IsCivilian(const GameData::TUnit&) const override { return false; }
    bool HasScriptedEntry() const override { return false; }
    bool IsCampPitched() const override { return false; }
    std::span<GameData::TUnit* const> GroupUnits() const override { return {}; }
    void TakeOutOfGroup(GameData::TUnit&) override {}
    uint8_t OwnerIndex() const override { return OwnerByte; }
    const GameData::TMapObject* GateGroup() const override { return Gate; }

    uint8_t OwnerByte;
    TStandInGroup* Gate = nullptr;
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
    GameData::TPlayer& Player(int index) const { return *Scenario->Players[index]; }

    // Units need the prototype in the installed global data (TTestGameData).
    // An empty group of the player at the cell's centre.
    TStandInGroup* AddGroup(int player, int cellX, int cellY);
    // A city of the owner index at the cell's centre.
    TStandInCity* AddCity(uint8_t owner, int cellX, int cellY);
    // A registered unit with a new identifier and the hit points, in the group's next slot.
    GameData::TUnit* AddUnit(TStandInGroup& group, int prototypeID, int16_t hitPoints = 10);
    // A registered unit held by the city.
    GameData::TUnit* AddUnit(TStandInCity& city, int prototypeID, int16_t hitPoints = 10);
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
