#include "game/world/groups/UnitCorpse.h"

#include "game/world/data/GlobalData.h"
#include "game/world/objects/Drawings.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/units/Unit.h"

#include <algorithm>

namespace GameData {

namespace {
constexpr int CorpseLayer = 9;
}

std::unique_ptr<TNaturalCorpse> MakeUnitCorpse(TScenario& scenario, const TUnit& unit, int x, int y,
                                               int direction) {
    const int facing = ((direction % 8) + 8) % 8;
    const int32_t spriteID = unit.Prototype ? unit.Prototype->SpriteIDs[usMapDying][facing] : 0;
    if (spriteID == 0)
        return nullptr;
    const Gfx::TSprite* sprite = unit.Sprite(usMapDying, facing);
    const int frame = sprite ? std::max(0, sprite->DrawableFrameCount() - 1) : 0;
    // How long a corpse lies is visual variety: the scenario's plain generator.
    const int32_t base =
        Data2::GlobalData ? Data2::GlobalData->GameConstants[Data2::gcCorpseLifetime] : 0;
    const int32_t turns = unit.KeepCorpse ? TNaturalCorpse::StaysForever
                                          : std::max(0, scenario.PlainRandom.Below(4) + base - 2);
    auto corpse = std::make_unique<TNaturalCorpse>(&scenario);
    corpse->Setup(uint32_t(spriteID), frame, turns, CorpseLayer, y, x);
    return corpse;
}

} // namespace GameData
