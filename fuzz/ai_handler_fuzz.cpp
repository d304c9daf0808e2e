// Stored computer-player records of any bytes, loaded into a planner of a small world:
// loading refuses what cannot hold; what loads stores itself byte for byte again,
// carries out its queued script lines, and lets every unit of the world leave it.
#include "fuzz/AIHandlerWorld.h"
#include "platform/classlib/Exception.h"
#include "platform/classlib/Streams.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

std::vector<uint8_t> Saved(const AIHandler::TAIHandler& handler) {
    ClassLib::TMemoryStream stream;
    handler.SaveToStream(stream);
    return stream.Bytes();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FuzzSupport::TAIHandlerWorld world;
    AIHandler::TAIHandler& blue = world.Handler(1);
    try {
        ClassLib::TMemoryStream stream(std::vector<uint8_t>(data, data + size));
        blue.LoadFromStream(stream);
    } catch (const ClassLib::Exception&) {
        blue.Clear();
        return 0;
    }
    const std::vector<uint8_t> saved = Saved(blue);
    {
        AIHandler::TAIHandler again(*world.Scenario->Players[1]);
        ClassLib::TMemoryStream stream(saved);
        again.LoadFromStream(stream);
        if (Saved(again) != saved)
            std::abort();
    }
    blue.ExecuteScriptCommands();
    bool drop = false;
    for (GameData::TUnit* unit : world.Scenario->Units) {
        blue.RemoveAIUnit(*unit, drop);
        drop = !drop;
    }
    Saved(blue); // reads every record the lists still point at
    blue.Clear();
    return 0;
}
