// Stored backgrounds of any bytes: refused or loaded whole, and a loaded one saves
// in a form that loads back to the same bytes.
#include "game/world/objects/Background.h"
#include "platform/classlib/Streams.h"

#include <cstdint>
#include <cstdlib>
#include <exception>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    GameData::TBackground background(nullptr, 0);
    const std::vector<uint8_t> input(data, data + size);
    ClassLib::TMemoryStream stream(input);
    try {
        background.LoadFromStream(&stream);
    } catch (const std::exception&) {
        if (!background.Tiles.empty())
            std::abort();
        return 0;
    }
    if (background.Tiles.size() != size_t(background.Width * background.Height))
        std::abort();
    ClassLib::TMemoryStream saved;
    background.SaveToStream(&saved);
    GameData::TBackground reloaded(nullptr, 0);
    ClassLib::TMemoryStream again(saved.Bytes());
    reloaded.LoadFromStream(&again);
    ClassLib::TMemoryStream resaved;
    reloaded.SaveToStream(&resaved);
    if (resaved.Bytes() != saved.Bytes())
        std::abort();
    return 0;
}
