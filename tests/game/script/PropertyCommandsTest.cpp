// Unit properties by name: read and written on a unit's own record or on the
// after-effect template, one unit or every unit matching a player and class mask.
#include "tests/game/script/CommandWorld.h"

#include <gtest/gtest.h>

using namespace GameData;

namespace {

class PropertyCommands : public TestSupport::TCommandWorld {};

TEST_F(PropertyCommands, ReadingGivesOwnWordsAndComputedMaxima) {
    TUnitStats& own = knight->Own;
    own.Level() = 5;
    TestSupport::SetStat(own, HITPOINTS, 10, 3, 2);
    TestSupport::SetStat(own, MANA, 7, 5, 0);
    own.Value(ATTACK) = -3;
    own.Experiences() = 321;
    const std::string k = Id(knight);
    const struct {
        std::string Property;
        int32_t Value;
    } cases[] = {
        {"HITPOINTSMAX", 16}, // 10 + ((5 - 1) / 2) * 3
        {"MANAMAX", 7},       // EVERY 0 gives BASE
        {"ATTACK", -3},       // sign-extended
        {"EXPERIENCES", 321}, {"HITPOINTSDELTA", 3}, {"LEVEL", 5},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Query("<GETPROPERTY(" + k + "," + c.Property + ")>"), c.Value) << c.Property;
    own.Level() = 1;
    EXPECT_EQ(Query("<GETPROPERTY(" + k + ",HITPOINTSMAX)>"), 10) << "level 1 gives BASE";
}

TEST_F(PropertyCommands, WritingStoresLowWordsOnTheOwnRecord) {
    const std::string k = Id(knight);
    EXPECT_EQ(Run("<SETPROPERTY(" + k + ",DEFENCE,70000)>"), "");
    EXPECT_EQ(knight->Own.Value(DEFENCE), 4464);
    EXPECT_EQ(Run("<CHANGEPROPERTY(" + k + ",DEFENCE,-4465)>"), "");
    EXPECT_EQ(knight->Own.Value(DEFENCE), -1);
    EXPECT_EQ(Run("<SETPROPERTY(" + k + ",MORALE,150)>"), "");
    EXPECT_EQ(knight->Own.Morale(), 150);
    EXPECT_EQ(knight->Effective.Morale(), 100) << "the effective record is clamped";
}

TEST_F(PropertyCommands, RaisingTheLevelGoesThroughExperienceUpToTwenty) {
    TUnitStats& own = knight->Own;
    own.ExperienceBase() = 10;
    own.ExperienceDelta() = 5;
    const std::string k = Id(knight);
    EXPECT_EQ(Run("<SETPROPERTY(" + k + ",LEVEL,1)>"), "");
    EXPECT_EQ(own.Level(), 1);
    EXPECT_EQ(knight->LevelledUp, 0) << "not above the current level: nothing";
    EXPECT_EQ(Run("<SETPROPERTY(" + k + ",LEVEL,3)>"), "");
    EXPECT_EQ(own.Experiences(), own.ExperienceForLevel(3));
    EXPECT_EQ(own.Level(), 3);
    EXPECT_EQ(knight->LevelledUp, 1);
    EXPECT_EQ(Run("<CHANGEPROPERTY(" + k + ",LEVEL,0)>"), "");
    EXPECT_EQ(own.Level(), 3);
    EXPECT_EQ(Run("<CHANGEPROPERTY(" + k + ",LEVEL,100)>"), "");
    EXPECT_EQ(own.Level(), MaxUnitLevel) << "experience would overflow beyond the last level";
    EXPECT_EQ(own.Experiences(), own.ExperienceForLevel(MaxUnitLevel));
}

TEST_F(PropertyCommands, UnitZeroIsTheAfterEffectTemplate) {
    EXPECT_EQ(Run("<SETPROPERTY(0,ATTACK,2)><CHANGEPROPERTY(0,ATTACK,3)>"), "");
    EXPECT_EQ(conversation.AfterEffectTemplate.Delta.Value(ATTACK), 5);
    EXPECT_EQ(Query("<GETPROPERTY(0,ATTACK)>"), 5);
    EXPECT_EQ(knight->Own.Value(ATTACK), 0);
}

TEST_F(PropertyCommands, ToAllMatchesPlayerAndClassMasks) {
    knight->Own.Value(SIGHT) = redWolf->Own.Value(SIGHT) = blueWolf->Own.Value(SIGHT) = 0;
    townsman->Own.Value(SIGHT) = 0;
    EXPECT_EQ(Run("<SETPROPERTYTOALL(1,-1,SIGHT,4)>"), "");
    EXPECT_EQ(knight->Own.Value(SIGHT), 4);
    EXPECT_EQ(redWolf->Own.Value(SIGHT), 4);
    EXPECT_EQ(blueWolf->Own.Value(SIGHT), 0) << "blue is bit 2";
    EXPECT_EQ(Run("<CHANGEPROPERTYTOALL(3,0,SIGHT,1)>"), "");
    EXPECT_EQ(knight->Own.Value(SIGHT), 5) << "class 0 passes every class mask";
    EXPECT_EQ(redWolf->Own.Value(SIGHT), 4) << "a wolf's class is not in mask 0";
    EXPECT_EQ(townsman->Own.Value(SIGHT), 1) << "the city's units serve its owner";
    EXPECT_EQ(Run("<CHANGEPROPERTYTOALL(2,4,SIGHT,1)>"), "");
    EXPECT_EQ(blueWolf->Own.Value(SIGHT), 1);
    EXPECT_EQ(Run("<SETPROPERTYTOALL(0,-1,NOSUCH,1)>"), "") << "nothing matches: no error";
}

TEST_F(PropertyCommands, Refusals) {
    const std::string k = Id(knight);
    const struct {
        std::string Command;
        std::string Message;
    } cases[] = {
        {"GETPROPERTY(99,ATTACK)", "Unit not found: 99."},
        {"SETPROPERTY(" + k + ",HITPOINT,1)", "Unknown property: HITPOINT."},
        {"SETPROPERTY(" + k + ",HITPOINTSMAX,1)", "Unknown property: HITPOINTSMAX."},
        {"GETPROPERTY(" + k + ",ATTACK,1)", "Parameter(s) 1 NOT expected!"},
        {"CHANGEPROPERTY(" + k + ",ATTACK)", "Parameter expected!"},
        {"SETPROPERTYTOALL(1,-1,NOSUCH,1)", "Unknown property: NOSUCH."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Run("<" + c.Command + ">"), Framed(c.Message, c.Command));
}

} // namespace
