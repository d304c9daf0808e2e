// Weather, scenery, one-shot animations, merchants, and the state of quests and
// conversations.
#include "game/world/objects/Drawings.h"
#include "game/world/objects/MapSounds.h"
#include "game/world/scenario/MapViewScroller.h"
#include "game/world/sound/SoundTracks.h"
#include "tests/game/script/CommandWorld.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

using namespace GameData;
using TestSupport::TTinyWorld;

namespace {

// Counts the weather loop being faded out, the sign of a weather sound restarted.
class TFadeCounter : public TMapSounds {
public:
    int EffectVolume() const override { return 100; }
    int PlayEffectByID(uint32_t, int) override { return -1; }
    bool IsTrackPlaying(int) const override { return true; }
    void SetTrackVolume(int, int) override {}
    void FadeOutTrack(int track) override { Faded += track == InterfaceTrack; }
    void PlayInterfaceSound(uint32_t, int, bool) override {}
    int Faded = 0;
};

class MapCommands : public TestSupport::TCommandWorld {
protected:
    uint8_t CostAt(int x, int y) const { return scenario.Costs[size_t(scenario.CellIndex(x, y))]; }
};

TEST_F(MapCommands, QuestsAndObjectives) {
    quest->GiveQuest(int32_t(knight->ID));
    quest->HeroName = "Sir Aldo";
    objective->GiveObjective(0);
    const std::string q = std::to_string(QuestID), o = std::to_string(ObjectiveID);
    EXPECT_EQ(Query("<GETQUESTSTATE(" + q + ")>"), qsActive);
    EXPECT_EQ(Query("<GETOBJECTIVESTATE(" + o + ")>"), qsActive);
    EXPECT_EQ(Run("<SHOWQUESTHERONAME(" + q + ")>"), "Sir Aldo");
    EXPECT_EQ(Query("<RESETQUEST(" + q + ")><GETQUESTSTATE(" + q + ")>"), qsNotGiven);
    const struct {
        std::string Command;
        std::string Message;
    } refused[] = {
        {"GETQUESTSTATE(" + o + ")", "TQuestObjective is not of Quest type! ID=" + o},
        {"GETQUESTSTATE(9)", "Quest with qiven ID not found! ID=9"},
        {"SHOWQUESTHERONAME(9)", "Quest with qiven ID not found! ID=9"},
        {"GETOBJECTIVESTATE(" + q + ")", "TQuestObjective is not of Objective type! ID=" + q},
        {"GETOBJECTIVESTATE(9)", "Objective with qiven ID not found! ID=9"},
        {"RESETQUEST(" + o + ")", "Quest/Objective is not of quest type: " + o + "."},
        {"RESETQUEST(9)", "Quest/Objective not found: 9."},
        {"SETWEATHERSTATE(5)", "Bad weather state! State=5"},
        {"SETWEATHERSTATE(-1)", "Bad weather state! State=-1"},
    };
    for (const auto& r : refused)
        EXPECT_EQ(Run("<" + r.Command + ">"), Framed(r.Message, r.Command));
    EXPECT_EQ(Run("<SETWEATHERSTATE(4)>"), "");
    EXPECT_EQ(scenario.Weather, 4);
}

TEST_F(MapCommands, ANewWeatherStopsTheOldWeathersSound) {
    TFadeCounter sounds;
    TMapSounds* const framework = scenario.Sounds;
    scenario.Sounds = &sounds;
    EXPECT_EQ(Run("<SETWEATHERSTATE(1)>"), "");
    EXPECT_EQ(sounds.Faded, 1) << "the silent weather gives way to rain";
    EXPECT_EQ(Run("<SETWEATHERSTATE(1)>"), "");
    EXPECT_EQ(sounds.Faded, 1) << "the same weather plays on";
    EXPECT_EQ(Run("<SETWEATHERSTATE(2)>"), "");
    EXPECT_EQ(sounds.Faded, 2) << "the rain's sound stops for the snow's";
    EXPECT_EQ(scenario.Weather, 2);
    scenario.Sounds = framework;
}

TEST_F(MapCommands, SceneryComesAndGoesWithItsTerrain) {
    const uint8_t plainCost = CostAt(5, 5);
    const int32_t id = Query("<ADDDOODLE(1,220,220)>"); // a tree on cell (5, 5)
    auto* tree = dynamic_cast<TDoodle*>(scenario.FindObjectByID(uint32_t(id)));
    ASSERT_NE(tree, nullptr);
    EXPECT_GE(id, int32_t(FirstObjectID));
    EXPECT_EQ(CostAt(5, 5), plainCost + 10);

    const std::string t = std::to_string(id);
    EXPECT_EQ(Run("<CHANGEDOODLE(" + t + ",3)>"), ""); // now a rock
    EXPECT_EQ(CostAt(5, 5), Impassable) << "the terrain patch follows the new prototype";
    EXPECT_EQ(tree->X, 220) << "no position given: it stays";
    std::vector<TMapObject*> near;
    scenario.CollectObjectsNear({250, 240, 255, 250}, near); // the rock's, not the tree's
    EXPECT_NE(std::find(near.begin(), near.end(), tree), near.end())
        << "the larger picture is drawn where it reaches";
    EXPECT_EQ(Run("<CHANGEDOODLE(" + t + ",2,60,60,0)>"), "");
    EXPECT_EQ(tree->Active, 0);
    EXPECT_EQ(tree->CellX(), 1);
    EXPECT_EQ(CostAt(5, 5), plainCost);
    EXPECT_EQ(Run("<CHANGEDOODLE(" + t + ",2)>"), "");
    EXPECT_EQ(tree->Active, 0) << "no flag given: kept";

    EXPECT_EQ(Run("<CHANGEDOODLE(99,1)><DELETEDOODLE(99)>"), "") << "no such object: nothing";
    const std::string r = Id(red);
    EXPECT_EQ(Run("<CHANGEDOODLE(" + r + ",1)>"),
              Framed("No doodle found with ID = " + r + "!", "CHANGEDOODLE(" + r + ",1)"));
    EXPECT_EQ(Run("<DELETEDOODLE(" + r + ")>"),
              Framed("No doodle found with ID = " + r + "!", "DELETEDOODLE(" + r + ")"));
    EXPECT_EQ(Run("<ADDDOODLE(7,0,0)>"),
              Framed("No doodle prototype found with ID = 7!", "ADDDOODLE(7,0,0)"));
    EXPECT_EQ(Run("<DELETEDOODLE(" + t + ")>"), "");
    EXPECT_EQ(scenario.FindObjectByID(uint32_t(id)), nullptr);

    const int32_t away = Query("<ADDDOODLE(3)>");
    const TMapObject* offMap = scenario.FindObjectByID(uint32_t(away));
    ASSERT_NE(offMap, nullptr);
    EXPECT_EQ(offMap->X, -1000) << "a position left out is pixel -1000";
    EXPECT_EQ(offMap->Y, -1000);
}

TEST_F(MapCommands, TheSelectedGroupFindsItsWayAnewAroundNewAndRemovedScenery) {
    world.Player(0).SelectObject(red);
    MakeCostsStale();
    const int32_t id = Query("<ADDDOODLE(3,220,220)>");
    EXPECT_EQ(MoveCostAt(2, 2), 0) << "filled again after a rock appeared";
    MakeCostsStale();
    EXPECT_EQ(Run("<DELETEDOODLE(" + std::to_string(id) + ")>"), "");
    EXPECT_EQ(MoveCostAt(2, 2), 0) << "filled again after the rock went";

    world.Player(0).SelectObject(nullptr);
    MakeCostsStale();
    EXPECT_EQ(Run("<DELETEDOODLE(" + std::to_string(id) + ")>"), "");
    EXPECT_EQ(MoveCostAt(2, 2), 77) << "no selected group: nothing to fill";
}

TEST_F(MapCommands, AnimationsPlayOnceAndANoSpriteOneIsDoneAtOnce) {
    const int objects = scenario.Objects.Count();
    EXPECT_EQ(Run("<PLAYANIMATION(0,100,100,1,1)>"), "");
    ASSERT_EQ(scenario.Objects.Count(), objects + 1);
    EXPECT_EQ(scenario.AnimationsDone, 1) << "nothing to wait for";
    const auto animationOf = [&](int32_t sprite) -> TAnimation* {
        for (TMapObject* object : scenario.Objects)
            if (auto* a = dynamic_cast<TAnimation*>(object); a && (sprite == 0) == !a->Sprite)
                return a;
        return nullptr;
    };
    EXPECT_EQ(animationOf(0)->Finished, 1);

    EXPECT_EQ(
        Run("<PLAYANIMATION(" + std::to_string(TTinyWorld::SparkleSprite) + ",100,100,1,3,10)>"),
        "");
    EXPECT_EQ(scenario.AnimationsDone, 0);
    TAnimation* sparkle = animationOf(TTinyWorld::SparkleSprite);
    ASSERT_NE(sparkle, nullptr);
    EXPECT_EQ(sparkle->Period, 3);
    EXPECT_EQ(sparkle->Delay, 10);
    EXPECT_EQ(sparkle->Finished, 0);
    const int before = scenario.Objects.Count();
    EXPECT_NE(Run("<PLAYANIMATION(99,1,1,1,1)>"), "") << "a sprite the library lacks";
    EXPECT_EQ(scenario.Objects.Count(), before) << "the refused animation is freed";
    EXPECT_EQ(Run("<PLAYANIMATION(1,2,3,4)>"),
              Framed("Parameter expected!", "PLAYANIMATION(1,2,3,4)"));
}

TEST_F(MapCommands, MerchantsAndConversationsSwitchOnAndOff) {
    const std::string m = std::to_string(city->Mage.ID);
    ASSERT_NE(city->Mage.ID, 0u);
    EXPECT_EQ(Query("<ENABLEMERCHANT(" + m + ",1)><MERCHANTENABLED(" + m + ")>"), 1);
    EXPECT_EQ(Query("<ENABLEMERCHANT(" + m + ",2)><MERCHANTENABLED(" + m + ")>"), 0);
    EXPECT_EQ(Run("<MERCHANTENABLED(5)>"),
              Framed("Merchant not found! ID=5", "MERCHANTENABLED(5)"));

    auto other = std::make_unique<TConversation>();
    other->ID = 8;
    TScenarioConversation* eight = scenario.Conversations.Add(std::move(other));
    EXPECT_EQ(Query("<SETACTIVE(8,0)><ACTIVE(8)>"), 0);
    EXPECT_FALSE(eight->Active);
    EXPECT_EQ(Query("<SETACTIVE(8,2)><ACTIVE(8)>"), 1);
    EXPECT_EQ(Run("<ACTIVE(0)>"), Framed("Conversation not found! ID=0", "ACTIVE(0)"));
    EXPECT_EQ(Run("<SETACTIVE(9,1)>"), Framed("Conversation not found! ID=9", "SETACTIVE(9,1)"));
}

// Records what scripts ask of the map window.
class TRecordingScroller : public TMapViewScroller {
public:
    void CenterViewOn(int32_t x, int32_t y, int32_t steps) override {
        Calls.push_back({x, y, steps});
    }
    std::vector<std::array<int32_t, 3>> Calls;
};

TEST_F(MapCommands, ScriptsScrollTheMapWindowOnTheirOwnPlayersTurn) {
    TRecordingScroller window;
    scenario.ViewScroller = &window;
    const std::string k = Id(knight);
    EXPECT_EQ(Run("<CENTERVIEWTO(100,140)><CENTERVIEWTO(20,30,0)><CENTERVIEWTOUNIT(" + k +
                  ",4)><CENTERVIEWTOUNIT(" + k + ")><CENTERVIEWTOUNIT(" + Id(townsman) +
                  ")><CENTERVIEWTOUNIT(999)>"),
              "");
    using TCall = std::array<int32_t, 3>;
    EXPECT_EQ(
        window.Calls,
        (std::vector<TCall>{{100, 140, 1}, {20, 30, 0}, {red->X, red->Y, 4}, {red->X, red->Y, 1}}))
        << "a unit in a city or unknown moves nothing";
    EXPECT_NE(Run("<CENTERVIEWTO(1,2,3,4)>"), "");
    EXPECT_EQ(window.Calls.size(), 4u);

    // Blue's turn: the screen shows red's map, which blue's scripts leave alone.
    window.Calls.clear();
    scenario.BeginTurnOf(1);
    EXPECT_EQ(Run("<CENTERVIEWTO(100,140)><CENTERVIEWTOUNIT(" + k + ")>"), "");
    EXPECT_TRUE(window.Calls.empty());
    scenario.ViewScroller = nullptr;
}

TEST_F(MapCommands, WithoutAMapWindowScriptsScrollTheScenariosView) {
    scenario.View.Width = scenario.View.Height = 100;
    EXPECT_EQ(Run("<CENTERVIEWTO(300,250,0)>"), "");
    EXPECT_EQ(scenario.View.Left, 250);
    EXPECT_EQ(scenario.View.Top, 200);
    EXPECT_EQ(Run("<CENTERVIEWTO(150,150,2)>"), "");
    EXPECT_EQ(scenario.ScrollSteps, 2);
    EXPECT_EQ(scenario.ScrollTargetLeft, 100);
}

} // namespace
