#include "game/world/scenario/Scenario.h"

namespace GameData {

// Groups and cities refuse on loading a unit that another holder has already
// taken, and the registry refuses a second unit of one identifier, so a loaded
// scenario can only list as loose a unit that a group or a city holds.
bool TScenario::LinkUnits() {
    bool changed = false;
    for (int i = LooseUnits.Count() - 1; i >= 0; --i)
        if (LooseUnits[i]->Owner != nullptr) {
            LooseUnits.Delete(i);
            changed = true;
        }
    return changed;
}

} // namespace GameData
