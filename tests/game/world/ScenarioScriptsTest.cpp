// The scenario's script services: the stored alias table of the globals, the
// conversations' target players and the events that queue conversations.
#include "game/world/scenario/Scenario.h"
#include "platform/classlib/Streams.h"
#include "tests/support/ErrorOf.h"

#include <gtest/gtest.h>

#include <climits>

using namespace GameData;
using TestSupport::ErrorOf;

TEST(GlobalAliases, StoredTableRoundTripsAndRefusesIndicesOutsideTheGlobals) {
    TScenario scenario;
    scenario.SetGlobalAlias("GOLD", 5);
    scenario.SetGlobalAlias("LAST", 1023);
    ClassLib::TMemoryStream stream;
    scenario.SaveGlobalAliases(stream);
    const std::vector<uint8_t> bytes = stream.Bytes();

    TScenario loaded;
    ClassLib::TMemoryStream in(bytes);
    loaded.LoadGlobalAliases(in);
    EXPECT_EQ(loaded.GlobalAliasIndex("GOLD"), 5);
    EXPECT_EQ(loaded.GlobalAliasIndex("LAST"), 1023);
    EXPECT_EQ(loaded.GlobalAliasIndex("NONE"), -1);

    for (const uint32_t bad : {1024u, 0xFFFFFFFFu}) {
        std::vector<uint8_t> corrupt = bytes;
        corrupt[4] = uint8_t(bad);
        corrupt[5] = uint8_t(bad >> 8);
        corrupt[6] = uint8_t(bad >> 16);
        corrupt[7] = uint8_t(bad >> 24);
        ClassLib::TMemoryStream badStream(corrupt);
        EXPECT_EQ(ErrorOf([&] { loaded.LoadGlobalAliases(badStream); }), "Invalid data.") << bad;
    }
}

TEST(ConversationTargets, OnlyPlayersWhoseBitIsSet) {
    TScenarioConversation conversation;
    conversation.TargetPlayers = 0b10101;
    const struct {
        int32_t Player;
        bool Targeted;
    } cases[] = {{0, true},  {1, false},  {2, true},    {4, true},         {16, false},
                 {32, true}, {-1, false}, {-32, false}, {INT32_MIN, false}};
    for (const auto& c : cases)
        EXPECT_EQ(conversation.IsTargetPlayer(c.Player), c.Targeted) << c.Player;
}

namespace {

struct TConversationRow {
    uint32_t ID;
    int32_t OwnerType;
    int32_t OwnerID;
    int32_t Turn;
    uint16_t Targets;
    bool Active;
};

template <size_t N>
void AddConversations(TScenario& scenario, const TConversationRow (&rows)[N]) {
    for (const TConversationRow& c : rows) {
        auto made = std::make_unique<TScenarioConversation>();
        made->ID = c.ID;
        made->OwnerType = c.OwnerType;
        made->OwnerID = c.OwnerID;
        made->ActivationTurn = c.Turn;
        made->TargetPlayers = c.Targets;
        made->Active = c.Active;
        scenario.Conversations.Add(std::move(made));
    }
}

} // namespace

TEST(ConversationTriggers, EventsQueueTheActiveConversationsMeantForThePlayer) {
    TScenario scenario;
    scenario.Turn = 3;
    const TConversationRow conversations[] = {
        {1, ceTurn, 0, 3, 1, true},         {2, ceTurn, 0, 4, 1, true},
        {3, ceEveryTurn, 55, 0, 1, true},   {4, ceLocation, 1001, 0, 1, true},
        {5, ceLocation, 1002, 0, 1, true},  {6, ceLocation, 1001, 0, 2, true},
        {7, ceLocation, 1001, 0, 1, false}, {8, ceBuilding, 1001, 0, 1, true},
    };
    AddConversations(scenario, conversations);
    const auto queued = [&] {
        std::vector<uint32_t> ids;
        while (TScenarioConversation* c = scenario.PopQueuedConversation())
            ids.push_back(c->ID);
        return ids;
    };
    scenario.TriggerConversations(0, ceTurn, 0);
    scenario.TriggerConversations(0, ceEveryTurn, 0);
    scenario.TriggerConversations(0, ceTurn, 0);
    EXPECT_EQ(queued(), (std::vector<uint32_t>{1, 3}));
    scenario.TriggerConversations(0, ceLocation, 1001);
    EXPECT_EQ(queued(), (std::vector<uint32_t>{4}));
    scenario.TriggerConversations(1, ceLocation, 1001);
    EXPECT_EQ(queued(), (std::vector<uint32_t>{6}));
    scenario.Conversations[3]->Running = true;
    scenario.TriggerConversations(0, ceLocation, 1001);
    EXPECT_EQ(queued(), (std::vector<uint32_t>{})) << "a running conversation is not queued";
}

TEST(ConversationLookUp, TheFirstOfTheEventMeantForThePlayerByActivity) {
    TScenario scenario;
    scenario.Turn = 3;
    const TConversationRow conversations[] = {
        {1, ceTurn, 0, 4, 1, true},        {2, ceTurn, 0, 3, 1, false},
        {3, ceTurn, 0, 3, 1, true},        {4, ceLocation, 1001, 0, 2, true},
        {5, ceLocation, 1001, 0, 1, true}, {6, ceLocation, 1001, 0, 1, false},
    };
    AddConversations(scenario, conversations);
    const struct {
        int32_t Player, Event;
        int ActiveMode;
        int32_t Object;
        uint32_t Found; // 0: none
    } lookUps[] = {
        {0, ceTurn, 0, 0, 2},        {0, ceTurn, 1, 0, 3},        {0, ceTurn, 2, 0, 2},
        {0, ceLocation, 0, 1001, 5}, {1, ceLocation, 0, 1001, 4}, {0, ceLocation, 2, 1001, 6},
        {0, ceLocation, 1, 1002, 0}, {0, ceBuilding, 0, 1001, 0},
    };
    for (const auto& l : lookUps) {
        const TScenarioConversation* found =
            scenario.FindConversation(l.Player, l.Event, l.ActiveMode, l.Object);
        EXPECT_EQ(found ? found->ID : 0, l.Found)
            << l.Player << " " << l.Event << " " << l.ActiveMode << " " << l.Object;
    }
}
