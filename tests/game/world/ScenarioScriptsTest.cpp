// The scenario's script services: the stored alias table of the globals and the
// conversations' target players.
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
    TConversation conversation;
    conversation.TargetPlayers = 0b10101;
    const struct {
        int32_t Player;
        bool Targeted;
    } cases[] = {{0, true},  {1, false},  {2, true},    {4, true},         {16, false},
                 {32, true}, {-1, false}, {-32, false}, {INT32_MIN, false}};
    for (const auto& c : cases)
        EXPECT_EQ(conversation.IsTargetPlayer(c.Player), c.Targeted) << c.Player;
}
