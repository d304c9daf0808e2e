// The after-effect template copied onto units, and spells and skills by identifier.
#include "tests/game/script/CommandWorld.h"

#include <gtest/gtest.h>

using namespace GameData;

namespace {

class AfterEffectCommands : public TestSupport::TCommandWorld {};

TEST_F(AfterEffectCommands, CopiesOfTheTemplateCarryDurationAndKind) {
    const std::string k = Id(knight);
    knight->Own.Value(ATTACK) = 1;
    knight->RecalculateStats(true);
    EXPECT_EQ(Run("<CLEARAFTEREFFECT><ADDAFTEREFFECT(" + k + ",3,7)>"), "");
    ASSERT_EQ(knight->Effects.Count(), 1);
    EXPECT_EQ(knight->Effects[0]->Duration, 3);
    EXPECT_EQ(knight->Effects[0]->Kind, 7);
    EXPECT_EQ(knight->Effective.Value(ATTACK), 1) << "a cleared template changes nothing";

    Run("<SETPROPERTY(0,ATTACK,2)><ADDAFTEREFFECT(" + k + ",3,5)><ADDAFTEREFFECT(" + k + ",3,5)>");
    EXPECT_EQ(knight->Effective.Value(ATTACK), 3) << "of a spell kind only the last counts";
    Run("<ADDAFTEREFFECT(" + k + ",3,0)><ADDAFTEREFFECT(" + k + ",3,0)>");
    EXPECT_EQ(knight->Effective.Value(ATTACK), 7) << "kind 0 adds up";
    EXPECT_EQ(Query("<GETPROPERTY(" + k + ",ATTACK)>"), 1) << "the own record is untouched";
}

TEST_F(AfterEffectCommands, ListsAndMasks) {
    const std::string k = Id(knight), w = Id(redWolf);
    EXPECT_EQ(Run("<ADDAFTEREFFECTS(2,9," + k + ",0," + w + ")>"),
              Framed("Parameter(s) " + w + " NOT expected!",
                     "ADDAFTEREFFECTS(2,9," + k + ",0," + w + ")"));
    EXPECT_EQ(knight->Effects.Count(), 0) << "refused before anything is attached";
    EXPECT_EQ(Run("<ADDAFTEREFFECTS(2,9,99," + w + ")>"), "") << "unknown units are skipped";
    EXPECT_EQ(redWolf->Effects.Count(), 1);
    EXPECT_EQ(Run("<ADDAFTEREFFECTS(2,9)>"),
              Framed("Command should have at least 1 parameters!", "ADDAFTEREFFECTS(2,9)"));

    EXPECT_EQ(Run("<ADDAFTEREFFECTTOALL(2,-1,1,9)>"), "");
    EXPECT_EQ(blueWolf->Effects.Count(), 1);
    EXPECT_EQ(townsman->Effects.Count(), 1) << "the city's units serve its owner";
    EXPECT_EQ(knight->Effects.Count(), 0);

    TUnit* loose = scenario.RegisterUnit(TestSupport::MakeUnit(Knight, 10), true);
    loose->AddEffect(std::make_unique<TAfterEffect>(TAfterEffect{{}, 1, 0, 9, 0, nullptr}));
    EXPECT_EQ(Run("<DELETEALLAFTEREFFECTSOFTYPE(0,-1,9)>"), "");
    EXPECT_EQ(loose->Effects.Count(), 0) << "units of no player lose the kind whatever the masks";
    EXPECT_EQ(blueWolf->Effects.Count(), 1);
    EXPECT_EQ(Run("<DELETEALLAFTEREFFECTSOFTYPE(3,4,9)>"), "");
    EXPECT_EQ(blueWolf->Effects.Count(), 0);
    EXPECT_EQ(redWolf->Effects.Count(), 0);
    EXPECT_EQ(townsman->Effects.Count(), 0) << "class 0 passes every class mask";
}

TEST_F(AfterEffectCommands, SpellsAndSkillsByMaskBit) {
    const std::string k = Id(knight);
    EXPECT_EQ(Run("<LEARNSPELL(" + k + ",1)>"), "");
    EXPECT_EQ(knight->Own.Spells, uint64_t(1) << 63);
    EXPECT_EQ(knight->Own.LearnableSpells, uint64_t(1) << 63);
    EXPECT_EQ(Run("<ALLOWSKILL(" + k + ",64)>"), "");
    EXPECT_EQ(knight->Own.LearnableSkills, uint64_t(1));
    EXPECT_EQ(knight->Own.Skills, uint64_t(0));
    const struct {
        std::string Command;
        int32_t Result;
    } asked[] = {
        {"KNOWSSPELL(" + k + ",1)", 1},       {"HASALLOWEDSPELL(" + k + ",1)", 1},
        {"KNOWSSPELL(" + k + ",2)", 0},       {"KNOWSSKILL(" + k + ",64)", 0},
        {"HASALLOWEDSKILL(" + k + ",64)", 1},
    };
    for (const auto& c : asked)
        EXPECT_EQ(Query("<" + c.Command + ">"), c.Result) << c.Command;
    EXPECT_EQ(Run("<LEARNSKILL(" + k + ",2)>"), "");
    EXPECT_EQ(Query("<KNOWSSKILL(" + k + ",2)>"), 1);
    const struct {
        std::string Command;
        std::string Message;
    } refused[] = {
        {"KNOWSSPELL(" + k + ",65)", "Bad spell index: 65."},
        {"LEARNSPELL(" + k + ",0)", "Bad spell index: 0."},
        {"ALLOWSKILL(" + k + ",65)", "Bad skill index: 65."},
        {"KNOWSSKILL(99,1)", "Unit not found: 99."},
        {"ADDAFTEREFFECT(0,1,1)", "Unit not found: 0."},
    };
    for (const auto& c : refused)
        EXPECT_EQ(Run("<" + c.Command + ">"), Framed(c.Message, c.Command));
}

} // namespace
