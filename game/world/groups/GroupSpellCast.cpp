// A group casts a map spell: the effect is prepared on a worker thread while the
// group turns to the target and plays its casting animation; then the caster pays
// and the scenario plays the effect.
#include "game/world/data/GlobalData.h"
#include "game/world/data/LoadedGlobalData.h"
#include "game/world/groups/Group.h"
#include "game/world/objects/MapGeometry.h"
#include "game/world/objects/MapSounds.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/units/Unit.h"

namespace GameData {

bool TGroup::StartSpellCast(uint32_t casterID, uint32_t spellID, int targetX, int targetY) {
    if (!Scenario || !Scenario->SpellEffects || IsCastThreadRunning())
        return false;
    const Data2::TSpellPrototype* prototype = Data2::FindSpellByID(int(spellID));
    if (!prototype)
        return false;
    TargetX = int16_t(targetX);
    TargetY = int16_t(targetY);
    Activity = gaCastSpell;
    if (TUnit* leader = GetLeader())
        leader->AcquireSpriteSet(usMapCasting);
    FCast.Prototype = prototype;
    FCast.Volume = Scenario->Sounds ? Scenario->Sounds->EffectVolume() : 0;
    FCast.SourceX = X;
    FCast.SourceY = Y;
    FCast.TargetX = targetX * CellSize + HalfCell;
    FCast.TargetY = targetY * CellSize + HalfCell;
    FCast.CasterID = casterID;
    FSpell = Scenario->SpellEffects(*Scenario);
    FSpell->Acquire(FCast);
    FCastThread = std::make_unique<Base::TActionThread>();
    FCastThread->SetMethodAction(&TGroup::SpellCastThreadProc, this);
    FCastThread->Start(0);
    return true;
}

void TGroup::SpellCastThreadProc() {
    Base::TActionThread* const thread = FCastThread.get();
    FSpell->Prepare(FCast, [thread] { return thread->StopRequested(); });
}

void TGroup::StopCastThread() {
    if (FCastThread)
        FCastThread->Stop();
}

void TGroup::FinishCast() {
    if (Activity == gaCastSpell) {
        // The preparation is over: turn to the target, then cast.
        FCastThread.reset();
        Frame = 0;
        Activity = gaNone;
        const int direction = DirectionBetweenPoints(X, Y, FCast.TargetX, FCast.TargetY);
        const bool ownCell = TargetX == X / CellSize && TargetY == Y / CellSize;
        if (ownCell || Facing == direction) {
            AnimState = asCast;
        } else {
            AnimState = asCastTurn;
            TargetFacing = uint8_t(direction);
        }
        return;
    }
    if (TUnit* leader = GetLeader())
        leader->ReleaseSpriteSet(usMapCasting);
    if (TUnit* caster = Scenario->Units.FindByID(FCast.CasterID); caster && FCast.Prototype) {
        caster->AddActionPoints(-int32_t(FCast.Prototype->APCost));
        caster->AddMana(-int32_t(FCast.Prototype->ManaCost));
    }
    if (FSpell)
        Scenario->SetSpellEffect(std::move(FSpell));
}

} // namespace GameData
