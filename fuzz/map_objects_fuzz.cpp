// Stored map objects of any bytes, read into the tiny world: backgrounds, areas,
// scenery, animations and corpses reject what they cannot use, and what loads can
// be ticked, bounded and patched into the terrain without a step outside. The
// first byte chooses the reader; a sixth choice validates raw player actions.
#include "game/world/objects/Drawings.h"
#include "game/world/players/ActionValidation.h"
#include "tests/support/TinyWorld.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <exception>
#include <vector>

using namespace GameData;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static TestSupport::TTinyWorld world;
    TScenario& s = *world.Scenario;
    if (size < 1)
        return 0;
    ClassLib::TMemoryStream stream(std::vector<uint8_t>(data + 1, data + size));
    try {
        switch (data[0] % 6) {
        case 0: {
            TBackground background(&s, 0);
            background.LoadFromStream(&stream);
            break;
        }
        case 1: {
            TArea area;
            area.LoadFromStream(&stream);
            area.ContainsCell(3, 4);
            area.NearestCellIndex(3, 4);
            break;
        }
        case 2: {
            TDoodle doodle(&s);
            doodle.LoadFromStream(&stream);
            for (int i = 0; i < 12; ++i)
                doodle.Tick();
            doodle.GetBounds();
            doodle.GetFrame();
            doodle.PatchTerrain();
            s.RebuildTerrainGrids();
            break;
        }
        case 3: {
            TAnimation animation(&s);
            animation.LoadFromStream(&stream);
            for (int i = 0; i < 12; ++i)
                animation.Tick();
            animation.GetBounds();
            break;
        }
        case 4: {
            TNaturalCorpse corpse(&s);
            corpse.LoadFromStream(&stream);
            break;
        }
        default: {
            TPlayerAction action;
            std::memcpy(&action, data + 1, std::min(size - 1, sizeof(action)));
            ValidateAction(s, action);
        }
        }
    } catch (const std::exception&) {
    }
    return 0;
}
