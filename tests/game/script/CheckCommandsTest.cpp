// Every check command against the tiny world: two players' groups, a city with
// a unit inside and a group at its gate, two areas.
#include "engine/core/Random.h"
#include "game/script/QuestObjective.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/TinyWorld.h"
#include "tests/support/UnitBuilder.h"

#include <gtest/gtest.h>

using namespace GameData;
using TestSupport::ErrorOf;

namespace {

constexpr int Knight = 10;
constexpr int Wolf = 20;

using TestSupport::MakeUnit;

TUnit* Join(TGroup& group, int prototypeID) {
    return group.AddUnit(MakeUnit(prototypeID, 10), true, false);
}

enum TSlot { KNIGHT = 10, DEADWOLF, BLUEWOLF, GATEWOLF, CITYKNIGHT, CITY, AREAA, AREAB, REDGROUP };

class CheckCommands : public ::testing::Test {
protected:
    CheckCommands() {
        data.AddUnitPrototype(Knight, "Knight");
        data.AddUnitPrototype(Wolf, "Wolf");
        TScenario& s = *world.Scenario;
        auto* red = world.AddGroup(0, 2, 2);
        auto* blue = world.AddGroup(1, 5, 5);
        auto* city = world.AddCity(1, 8, 8);
        Local(KNIGHT) = Join(*red, Knight)->ID;
        Local(DEADWOLF) = red->AddUnit(MakeUnit(Wolf, 0), true, false)->ID;
        Local(BLUEWOLF) = Join(*blue, Wolf)->ID;
        Local(GATEWOLF) = Join(*city->GateGroup, Wolf)->ID;
        Local(CITYKNIGHT) = city->AddOtherUnit(MakeUnit(Knight, 10), true, false)->ID;
        Local(CITY) = city->ID;
        Local(AREAA) = world.AddArea({{2, 2}, {3, 2}})->ID;
        Local(AREAB) = world.AddArea({{5, 5}})->ID;
        Local(REDGROUP) = red->ID;
        quest.ID = 77;
        quest.Check.ID = 77;
        quest.GivenID = 1234;
        quest.SetScenario(&s);
    }

    int32_t& Local(TSlot slot) { return quest.Check.Locals[slot]; }

    // LOCAL0 after the command tag ran.
    int32_t Query(const std::string& command) {
        quest.Check.Script = "<" + command + ">";
        quest.Check.Run();
        return quest.Check.Locals[0];
    }

    std::string Error(const std::string& command) {
        quest.Check.Script = "<" + command + ">";
        return ErrorOf([&] { quest.Check.Run(); });
    }

    TestSupport::TTestGameData data;
    TestSupport::TTinyWorld world;
    TQuestObjective quest;
};

} // namespace

TEST_F(CheckCommands, QueriesLeaveTheirAnswerInLocal0) {
    world.Scenario->Turn = 65535; // a signed 16-bit turn counter
    const struct {
        const char* Command;
        int32_t Value;
    } cases[] = {
        {"LIVESUNIT(LOCAL10)", 1},
        {"LIVESUNIT(LOCAL11)", 0},
        {"LIVESUNIT(9999)", 0},
        {"LIVEUNITSAND(LOCAL10,LOCAL11)", 1},
        {"LIVEUNITSAND(LOCAL10,9999)", 0},
        {"LIVEUNITSAND(LOCAL10,0,9999)", 1},
        {"LIVEUNITSOR(9999,LOCAL11)", 1},
        {"LIVEUNITSOR(9999)", 0},
        {"GETPROTOTYPECOUNT(20)", 3},
        {"GETPROTOTYPECOUNT(20,0)", 1},
        {"GETPROTOTYPECOUNT(20,1,extra)", 2},
        {"GETPROTOTYPECOUNT(10)", 1},
        {"GETUNITSINAREA(LOCAL16)", 1},
        {"GETUNITSINAREA(LOCAL16,1)", 0},
        {"GETUNITSINAREA(LOCAL17,1)", 1},
        // Slots the three-player scenario leaves empty hold nobody.
        {"GETPROTOTYPECOUNT(20,3)", 0},
        {"GETPROTOTYPECOUNT(20,4)", 0},
        {"GETUNITSINAREA(LOCAL16,4)", 0},
        {"UNITINAREA(LOCAL16,LOCAL10)", 1},
        {"UNITINAREA(LOCAL16,LOCAL12)", 0},
        {"UNITINAREA(LOCAL16,LOCAL14)", 0},
        {"UNITINAREA(LOCAL16,9999)", 0},
        {"GETTURN", -1},
        {"GETUNITS(0)", 2},
        {"GETUNITS(1)", 3},
        {"GETUNITS(4)", 0},
        {"GETCONTROLLER(LOCAL15)", 1},
        {"GETHEROID", 1234},
        {"UNITSINCITY(LOCAL15,LOCAL14,LOCAL13)", 1},
        {"UNITSINCITY(LOCAL15,LOCAL14,LOCAL10)", 0},
        {"UNITSINCITY(LOCAL15,LOCAL14,0,LOCAL10)", 1},
        {"UNITSINCITY(LOCAL15,9999)", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Query(c.Command), c.Value) << c.Command;
}

TEST_F(CheckCommands, RandomNumbersComeFromTheGameState) {
    Base::RandomSeed = {12345, 678};
    Base::TRandomSeed expected = Base::RandomSeed;
    const int32_t value = static_cast<int32_t>(Base::NextRandom(expected) % 6);
    EXPECT_EQ(Query("GETRANDOM(6)"), value);
    EXPECT_EQ(Base::RandomSeed.Low, expected.Low);
    EXPECT_EQ(Base::RandomSeed.High, expected.High);
    EXPECT_EQ(Query("GETRANDOM(0)"), 0);
    EXPECT_EQ(Base::RandomSeed.High, expected.High) << "no number is drawn for n below 1";
    EXPECT_EQ(Base::RandomSeed.Low, expected.Low);
}

TEST_F(CheckCommands, BadArgumentsAreFramedErrors) {
    const std::string cityID = std::to_string(Local(CITY));
    const std::string groupID = std::to_string(Local(REDGROUP));
    const struct {
        std::string Command;
        std::string Message;
    } cases[] = {
        {"GETPROTOTYPECOUNT(20,5)", "LivesPrototype: bad player index: 5."},
        {"GETPROTOTYPECOUNT(20,-2)", "LivesPrototype: bad player index: -2."},
        {"GETUNITSINAREA(LOCAL16,5)", "GetUnitsInArea: bad player index: 5."},
        {"GETUNITSINAREA(LOCAL16,-2)", "GetUnitsInArea: bad player index: -2."},
        {"GETUNITSINAREA(0)", "Area not found: 0."},
        {"GETUNITSINAREA(LOCAL16,0,1)", "Parameter(s) 1 NOT expected!"},
        {"UNITINAREA(999,LOCAL10)", "Area not found: 999."},
        {"GETCONTROLLER(" + groupID + ")", "City object not found! ID = " + groupID + "."},
        {"UNITSINCITY(999,1)", "City object not found! ID = 999."},
        {"GETUNITS(0,1)", "Parameter(s) 1 NOT expected!"},
        {"GETHEROID(1)", "Parameter(s) 1 NOT expected!"},
        {"LIVESUNIT", "Parameter expected!"},
        {"SET(LOCAL1)", "Parameter expected!"},
        {"SETRESULT(1,2)", "Parameter(s) 2 NOT expected!"},
        {"GETCONTROLLER(" + cityID + ",1)", "Parameter(s) 1 NOT expected!"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Error(c.Command), "[TCheck]\n" + c.Message + "\nCommand:" +
                                        ClassLib::UpperCase(c.Command) + " CheckID=77")
            << c.Command;
}

TEST_F(CheckCommands, CommandsWithoutParametersIgnoreExtraText) {
    EXPECT_EQ(Error("CRLF(1,2)"), "no error");
    EXPECT_EQ(Error("GETTURN(1,2)"), "no error");
}
