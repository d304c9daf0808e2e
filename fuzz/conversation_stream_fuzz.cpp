// Stored conversation lists of any bytes: loading refuses what cannot hold; a list
// that loads saves bytes that load back to the same bytes, and its pages play.
#include "fuzz/ScriptWorld.h"
#include "game/script/Conversation.h"
#include "game/script/TalkSession.h"
#include "platform/classlib/Exception.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

std::vector<uint8_t> SavedConversations(const GameData::TScenario& scenario) {
    ClassLib::TMemoryStream stream;
    scenario.SaveConversations(&stream);
    return stream.Bytes();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FuzzSupport::TScriptWorld world;
    GameData::TScenario& scenario = *world.world.Scenario;
    GameData::InstallConversations(scenario);
    try {
        ClassLib::TMemoryStream stream(std::vector<uint8_t>(data, data + size));
        scenario.LoadConversations(&stream);
    } catch (const ClassLib::Exception&) {
        scenario.Conversations.Clear();
        return 0;
    }
    const std::vector<uint8_t> saved = SavedConversations(scenario);
    ClassLib::TMemoryStream again(saved);
    scenario.LoadConversations(&again);
    if (SavedConversations(scenario) != saved)
        std::abort();
    if (size <= 2048)
        for (GameData::TScenarioConversation* stored : scenario.Conversations) {
            GameData::TTalkSession talk(static_cast<GameData::TConversation&>(*stored), nullptr);
            GameData::TTalkPage page;
            while (talk.NextPage(page))
                talk.Choose(1);
        }
    scenario.Conversations.Clear();
    for (int i = 0; i < scenario.PlayerCount(); ++i) {
        scenario.PlayerAt(i)->Texts1.Clear();
        scenario.PlayerAt(i)->RevealedAreas.Clear();
    }
    scenario.GlobalAliases = {{"GOLD", 7}};
    return 0;
}
