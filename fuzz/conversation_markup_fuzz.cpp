// Conversation pages of any text: the mark-up and the basic commands either give
// a page or end the talk with a script error, against a small world; loops that
// never end stop.
#include "fuzz/ScriptWorld.h"
#include "game/script/Conversation.h"
#include "game/script/TalkSession.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FuzzSupport::TScriptWorld world;
    // A loop may repeat its page's text 100,000 times; longer pages only take longer.
    if (size > 2048)
        return 0;
    GameData::TScenario& scenario = *world.world.Scenario;
    GameData::TConversation conversation;
    conversation.ID = 1;
    conversation.SetScenario(&scenario);
    conversation.Texts = {ClassLib::AnsiString(reinterpret_cast<const char*>(data), size)};
    GameData::TGroup* redGroup = nullptr;
    for (GameData::TMapObject* object : scenario.Objects)
        if (auto* group = dynamic_cast<GameData::TGroup*>(object); group && !redGroup)
            redGroup = group;
    {
        GameData::TTalkSession talk(conversation, redGroup);
        GameData::TTalkPage page;
        while (talk.NextPage(page))
            talk.Choose(0);
    }
    // What pages add must not pile up from one input to the next.
    for (int i = 0; i < scenario.PlayerCount(); ++i) {
        scenario.PlayerAt(i)->Texts1.Clear();
        scenario.PlayerAt(i)->RevealedAreas.Clear();
    }
    scenario.GlobalAliases = {{"GOLD", 7}};
    return 0;
}
