// Check scripts of any text: tags, IF blocks, expressions and commands either run
// or end in a script error, against a small world.
#include "fuzz/ScriptWorld.h"
#include "platform/classlib/Exception.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FuzzSupport::TScriptWorld world;
    GameData::TQuestObjective quest;
    quest.ID = 1;
    quest.GivenID = 1004; // the knight
    quest.SetScenario(world.world.Scenario.get());
    quest.Check.Script.assign(reinterpret_cast<const char*>(data), size);
    try {
        quest.Check.Run();
    } catch (const ClassLib::Exception&) {
    }
    return 0;
}
