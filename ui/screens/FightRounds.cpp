// The round machine: one tick of the fight at a time.
#include "ui/screens/FightDialog.h"

#include "engine/app/DXApplication.h"
#include "engine/graphics/Sprite.h"
#include "engine/widgets/DXButton.h"
#include "game/spells/SpellVisual.h"
#include "game/world/data/GlobalData.h"
#include "game/world/data/LoadedGlobalData.h"
#include "game/world/scenario/GameSettings.h"
#include "game/world/sound/SoundEffects.h"
#include "game/world/units/Unit.h"
#include "ui/game/UnitInfoControl.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace Main {

using GameData::TUnit;

namespace {

constexpr int StepX[8] = {0, 1, 1, 1, 0, -1, -1, -1};
constexpr int StepY[8] = {1, 1, 0, -1, -1, -1, 0, 1};

// Ticks between animation frames and turns.
constexpr uint32_t TurnTicks = 12;
constexpr uint32_t CastFrameTicks = 10;
constexpr uint32_t WalkFrameTicks = 6;
constexpr uint32_t StrikeFrameTicks = 6;
constexpr uint32_t FlinchFrameTicks = 4;
constexpr uint32_t DyingFrameTicks = 8;
constexpr int FlinchFrames = 3;
// Walking ends after this many ticks of the move phase, arrived or not.
constexpr uint32_t MoveTickLimit = 500;
// How long the commands stay on show, and the last look at a decided fight.
constexpr uint32_t ShowTicks = 49;
constexpr int IdleStartChance = 30;
constexpr int SoundDelays = 15;
// Prototype sounds: the attack, then the two death cries.
constexpr int AttackSound = 0;
constexpr int FirstDeathSound = 1;
// The interface sound of a spell that comes to nothing.
constexpr int SpellFailedSound = 3;

bool IsNext(int ax, int ay, int bx, int by) {
    return std::abs(ax - bx) <= 1 && std::abs(ay - by) <= 1;
}

bool IsOnField(int cellX, int cellY) {
    return cellX >= 0 && cellX < TFightDialog::FieldCells && cellY >= 0 &&
           cellY < TFightDialog::FieldCells;
}

bool AtCellCentre(int pixel) {
    return pixel - TFightDialog::CellOf(pixel) * TFightDialog::CellPixels ==
           TFightDialog::CellPixels / 2;
}

// The cell a walker is bound for: the next cell centre along its direction.
int DestinationCell(int pixel, int step) {
    const int half = TFightDialog::CellPixels / 2;
    if (step > 0)
        return TFightDialog::CellOf(pixel - half) + 1;
    if (step < 0)
        return TFightDialog::CellOf(pixel + half - 1) - 1;
    return TFightDialog::CellOf(pixel);
}

int TurnedToward(int direction, int wanted) {
    return (direction + ((wanted + 8 - direction) % 8 < 4 ? 1 : 7)) % 8;
}

Audio::TAudioStream* PrototypeSound(const TUnit* unit, int index) {
    return unit && unit->Prototype ? unit->Prototype->Sounds[index] : nullptr;
}

int NewWounds(const TUnit& unit) {
    int count = 0;
    for (int i = 0; i < unit.Wounds.Count(); ++i)
        count += unit.Wounds[i].Age == 0;
    return count;
}

} // namespace

void TFightDialog::RaiseFrameFlag() {
    if (DXApp::Application)
        DXApp::Application->ResetTiming = true;
}

bool TFightDialog::HasBothSides() const {
    return Battle.Attackers && Battle.Defenders;
}

void TFightDialog::Tick() {
    if (Background) {
        ++PhaseTicks;
        if (!FightAnimation)
            AnimationDone = 1;
        else if (const int frames = FightAnimation->FrameCount();
                 frames <= 0 || int(PhaseTicks / 10 % uint32_t(frames)) == frames - 1)
            AnimationDone = 1;
        if (HasBothSides() && !CurrentPlayerIsRemote() &&
            ((Phase == fpAttackerCommands && AttackerIsRemote()) ||
             (Phase == fpDefenderCommands && DefenderIsRemote())))
            PollNetwork();
        return;
    }
    PlayQueuedSounds();
    if (!HasBothSides())
        return;
    const bool choosing = Phase < fpShowCommands;
    for (int slot = 0; slot < GameData::BattleSlotCount; ++slot) {
        TUnitInfoControl* panel = Panels[size_t(slot)];
        if (!panel)
            continue;
        panel->Marked = (slot == HoverSlot || slot == SelectedSlot) && choosing;
        const bool attacker = GameData::IsAttackerSlot(slot);
        const bool ownSide = (Phase == fpAttackerCommands && AttackerIsLocal() && attacker) ||
                             (Phase == fpDefenderCommands && DefenderIsLocal() && !attacker);
        const bool book =
            ownSide && Battle.IsValidSlot(slot) && Battle.UnitAt(slot)->HasUsableSpell();
        if (DXWin::TDXButton* button = panel->SpellbookButton())
            button->SetVisible(book);
    }
    StepPhase();
    ++PhaseTicks;
    ++TotalTicks;
    Battle.RefreshUnitSprites();
}

void TFightDialog::StepPhase() {
    switch (Phase) {
    case fpAttackerCommands:
        StepCommands(true);
        break;
    case fpDefenderCommands:
        StepCommands(false);
        break;
    case fpShowCommands:
        // What the first tick sets stays so for the whole phase.
        HoverSlot = SelectedSlot = -1;
        for (TUnitInfoControl* panel : Panels) {
            if (!panel)
                continue;
            for (DXWin::TDXButton* button : {panel->PortraitButton(), panel->SpellbookButton()})
                if (button)
                    button->SetEnabled(false);
            panel->ShowSelection = false;
        }
        AnimateIdle();
        if (PhaseTicks > ShowTicks)
            NextPhase();
        break;
    case fpRoundStart:
        StatusText = "Battle initiated...";
        CurrentSpell.reset();
        PreparedSpell.reset();
        // Guards take their places before any spell, as in a round played at once.
        Battle.ResolveGuardCommands();
        FCastWalk = Battle.BeginCasts();
        FCastsDone = false;
        Caster = -1;
        NextPhase();
        break;
    case fpCastSpells:
        StepCasts();
        break;
    case fpResolveGuards:
        // The guards were resolved before the casts.
        NextPhase();
        break;
    case fpPrepareMoves:
        PrepareMoves();
        NextPhase();
        break;
    case fpMoveToTargets:
        if (StepMoves())
            NextPhase();
        break;
    case fpStartAttacks:
    case fpStartCounterattacks:
        StartStrikes(Phase == fpStartAttacks);
        NextPhase();
        break;
    case fpAnimateAttackers:
    case fpAnimateDefenders:
        if (StepStrikes(Phase == fpAnimateAttackers))
            NextPhase();
        break;
    case fpApplyAttackers:
    case fpApplyDefenders:
        ApplyStrikes(Phase == fpApplyAttackers);
        NextPhase();
        break;
    case fpAwaitAttackResults:
    case fpAwaitCounterattackResults: {
        const bool hitsDone = AnimateHits();
        const bool deathsDone = AnimateDeaths();
        AnimateIdle();
        if (hitsDone && deathsDone)
            NextPhase();
        break;
    }
    case fpRoundEnd:
        EndRound();
        break;
    default:
        if (Phase > fpRoundEnd) {
            NextPhase();
            Phase = fpRoundEnd;
        }
        break;
    }
}

void TFightDialog::NextPhase() {
    Automatic = 0;
    PhaseTicks = 0;
    ++Phase;
    UpdateButtons();
}

void TFightDialog::EndRound() {
    bool attackersCanAct = false;
    for (int slot = 0; slot < GameData::FirstDefenderSlot; ++slot)
        if (const TUnit* unit = Battle.UnitAt(slot); unit && unit->CanAct())
            attackersCanAct = true;
    if (!Battle.AttackersDefeated() && !Battle.DefendersDefeated() && attackersCanAct) {
        Phase = fpAttackerCommands;
        PhaseTicks = 0;
        Automatic = 0;
        Battle.ClearCommands();
        UpdateButtons();
    } else if (PhaseTicks > ShowTicks) {
        FinishFight();
    }
}

// ---- Spells ----

void TFightDialog::StepCasts() {
    if (!CurrentSpell) {
        if (Caster < 0 && !FCastsDone) {
            Caster = Battle.NextCaster(FCastWalk);
            FCastsDone = Caster < 0;
            FCastPaid = FSpellApplied = FEffectPrepared = false;
        }
        if (Caster >= 0)
            StepCaster();
    } else {
        StepFlyingSpell();
    }
    AnimateIdle();
    // A fighter still flinching would miss the walk to its target.
    const bool hitsDone = AnimateHits();
    if (AnimateDeaths() && hitsDone && FCastsDone && Caster < 0 && !CurrentSpell)
        NextPhase();
}

void TFightDialog::PrepareSpellEffect() {
    const int caster = Caster;
    if (caster < 0 || caster >= GameData::BattleSlotCount)
        return;
    const GameData::TCombatantSlot& command = Battle.Slots[size_t(caster)];
    if (command.Command != GameData::bcCastSpell || command.TargetSlot < 0 ||
        command.TargetSlot >= GameData::BattleSlotCount)
        return;
    FPreparedPrototype = Data2::FindSpellByID(command.SpellID);
    const TUnitData& from = Units[size_t(caster)];
    const TUnitData& to = Units[size_t(command.TargetSlot)];
    FCastDirection = DirectionTo(CellOf(from.X), CellOf(from.Y), CellOf(to.X), CellOf(to.Y));
}

// The sprites of the cast, on the main thread once the effect thread has worked out
// what they are.
void TFightDialog::TakeCastSprites() {
    if (FPreparedPrototype) {
        PreparedSpell = std::make_unique<GameData::TSpell>();
        PreparedSpell->SetPrototype(FPreparedPrototype, GameData::GameSettings.SFXVolume);
    }
    if (TUnit* unit = Battle.UnitAt(Caster)) {
        unit->AcquireBattleCastSprite(FCastDirection);
        Units[size_t(Caster)].SpriteFlags |= fsCasting;
    }
    RaiseFrameFlag();
}

void TFightDialog::StepCaster() {
    const int caster = Caster;
    TUnitData& data = Units[size_t(caster)];
    if (!FEffectPrepared) {
        if (!EffectThread) {
            FPreparedPrototype = nullptr;
            FCastDirection = data.Direction;
            EffectThread = std::make_unique<Base::TActionThread>();
            EffectThread->SetMethodAction(&TFightDialog::PrepareSpellEffect, this);
            EffectThread->Start(0);
            return;
        }
        if (EffectThread->IsRunning())
            return;
        EffectThread.reset();
        TakeCastSprites();
        FEffectPrepared = true;
    }
    if (data.Anim == faDying || data.Anim == faDead) {
        // Whatever befalls the caster, the battle has taken its cast: it is paid once.
        if (!FCastPaid)
            CastAtCastFrame();
        if (!CurrentSpell) {
            EndCasting(caster);
            EndCast();
        }
        return;
    }
    if (data.Anim != faCasting) {
        const int target = CastTarget();
        const TUnitData& to = Units[size_t(target)];
        const int wanted = DirectionTo(CellOf(data.X), CellOf(data.Y), CellOf(to.X), CellOf(to.Y));
        if (data.Direction != wanted) {
            if (PhaseTicks % TurnTicks == 0) {
                const bool left =
                    (data.Direction - wanted + 8) % 8 < (wanted - data.Direction + 8) % 8;
                data.Direction = (data.Direction + (left ? 7 : 1)) % 8;
            }
            return;
        }
        data.AnimTarget = target;
        data.Anim = faCasting;
        data.Frame = 0;
        return;
    }
    if (PhaseTicks % CastFrameTicks == 0)
        ++data.Frame;
    const int frames = FrameCount(caster, GameData::usBattleSpellCast);
    // The cast frame chooses only the moment: the cost is paid and success rolled
    // exactly once, whatever the sprite.
    if (!FCastPaid && data.Frame >= frames / 2)
        CastAtCastFrame();
    if (data.Frame >= std::max(frames, 1)) {
        EndCasting(caster);
        if (!CurrentSpell)
            EndCast();
    }
}

// A target outside the field (a command from a damaged record) is aimed at as the
// caster itself; the battle fails such a cast.
int TFightDialog::CastTarget() const {
    const int target = Battle.Slots[size_t(Caster)].TargetSlot;
    return target >= 0 && target < GameData::BattleSlotCount ? target : Caster;
}

void TFightDialog::CastAtCastFrame() {
    const int caster = Caster;
    FCastPaid = true;
    const Data2::TSpellPrototype* spell = FCastWalk.Spells[size_t(caster)];
    Battle.PaySpellCost(caster, spell);
    if (!Battle.RollSpellSuccess(caster, spell, false, 0, 0)) {
        if (Data2::GlobalData)
            QueueSound(Data2::GlobalData->InterfaceSounds[SpellFailedSound],
                       GameData::GameSettings.SFXVolume);
        return;
    }
    if (!PreparedSpell) {
        // Nothing to show: the spell still takes effect.
        FSpellApplied = true;
        Battle.ApplyBattleSpell(caster, spell);
        ShowPanels();
        return;
    }
    const TUnitData& from = Units[size_t(caster)];
    const TUnitData& to = Units[size_t(CastTarget())];
    CurrentSpell = std::move(PreparedSpell);
    CurrentSpell->StartSpellAnimation(from.X, from.Y, to.Y, to.X);
}

void TFightDialog::StepFlyingSpell() {
    const int caster = Caster;
    TUnitData& data = Units[size_t(caster)];
    if (data.Anim == faCasting) {
        if (PhaseTicks % CastFrameTicks == 0)
            ++data.Frame;
        if (data.Frame >= FrameCount(caster, GameData::usBattleSpellCast))
            EndCasting(caster);
    }
    CurrentSpell->Advance();
    // A spell whose effect moment never came still takes effect when it ends.
    if (!FSpellApplied && (CurrentSpell->EffectNow || CurrentSpell->Finished)) {
        FSpellApplied = true;
        Battle.ApplyBattleSpell(caster, FCastWalk.Spells[size_t(caster)]);
        ShowPanels();
        AnimateHits();
    }
    if (CurrentSpell->Finished && (data.Anim == faIdle || data.Anim == faDead)) {
        CurrentSpell.reset();
        EndCast();
        PhaseTicks = 0;
    }
}

void TFightDialog::EndCasting(int slot) {
    TUnitData& data = Units[size_t(slot)];
    if (data.Anim == faCasting) {
        data.Anim = faIdle;
        data.Frame = 0;
    }
    if (data.SpriteFlags & fsCasting) {
        if (TUnit* unit = Battle.UnitAt(slot))
            unit->ReleaseBattleCastSprite(FCastDirection);
        data.SpriteFlags &= ~fsCasting;
        RaiseFrameFlag();
    }
}

void TFightDialog::EndCast() {
    if (Caster >= 0)
        EndCasting(Caster);
    Caster = -1;
    PreparedSpell.reset();
}

// ---- Moves and strikes ----

void TFightDialog::PrepareMoves() {
    for (int slot = 0; slot < GameData::BattleSlotCount; ++slot) {
        if (!Battle.IsSlotAlive(slot))
            continue;
        TUnitData& data = Units[size_t(slot)];
        const GameData::TCombatantSlot& command = Battle.Slots[size_t(slot)];
        data.AnimTarget = command.Command == GameData::bcAttack ? command.TargetSlot : -1;
        data.WaypointX = data.WaypointY = data.PrevWaypointX = data.PrevWaypointY = -1;
        Battle.UnitAt(slot)->AcquireBattleAnim1Sprites();
        data.SpriteFlags |= fsWalking;
    }
    RaiseFrameFlag();
}

int TFightDialog::TargetCellX(int slot) const {
    const TUnitData& data = Units[size_t(slot)];
    return data.Anim == faWalking ? DestinationCell(data.X, StepX[data.Direction]) : CellOf(data.X);
}

int TFightDialog::TargetCellY(int slot) const {
    const TUnitData& data = Units[size_t(slot)];
    return data.Anim == faWalking ? DestinationCell(data.Y, StepY[data.Direction]) : CellOf(data.Y);
}

bool TFightDialog::StepMoves() {
    bool moving = false;
    bool facing = true;
    const bool mayWalk = PhaseTicks < MoveTickLimit;
    for (int slot = 0; slot < GameData::BattleSlotCount; ++slot) {
        if (!Battle.IsSlotAlive(slot))
            continue;
        TUnitData& data = Units[size_t(slot)];
        const int target = data.AnimTarget;
        if (data.Anim == faIdle && target >= 0) {
            const int tx = TargetCellX(target), ty = TargetCellY(target);
            const int x = CellOf(data.X), y = CellOf(data.Y);
            // Hemmed in, it waits where it stands for a way to open.
            const int step =
                !IsNext(x, y, tx, ty) && mayWalk ? FreeStepDirection(slot, tx, ty) : -1;
            if (step >= 0) {
                data.Direction = step;
                data.Anim = faWalking;
                data.Frame = 0;
                moving = true;
                continue;
            }
            const int wanted = DirectionTo(x, y, tx, ty);
            if (data.Direction != wanted) {
                facing = false;
                if (PhaseTicks % TurnTicks == 0)
                    data.Direction = TurnedToward(data.Direction, wanted);
            }
        } else if (data.Anim == faWalking) {
            moving = true;
            data.X += StepX[data.Direction];
            data.Y += StepY[data.Direction];
            if (PhaseTicks % WalkFrameTicks == 0)
                ++data.Frame;
            if (!AtCellCentre(data.X) || !AtCellCentre(data.Y))
                continue;
            const int x = CellOf(data.X), y = CellOf(data.Y);
            const int tx = target >= 0 ? TargetCellX(target) : x;
            const int ty = target >= 0 ? TargetCellY(target) : y;
            const int step = target >= 0 && !IsNext(x, y, tx, ty) && mayWalk
                                 ? FreeStepDirection(slot, tx, ty)
                                 : -1;
            if (step >= 0) {
                data.Direction = step;
                data.PrevWaypointX = data.WaypointX;
                data.PrevWaypointY = data.WaypointY;
                data.WaypointX = x;
                data.WaypointY = y;
            } else {
                if (target >= 0)
                    data.Direction = DirectionTo(x, y, tx, ty);
                data.Anim = faIdle;
                data.Frame = 0;
            }
        }
    }
    return !moving && facing;
}

int TFightDialog::NextStepDirection(int slot, int targetCellX, int targetCellY) const {
    return std::max(FreeStepDirection(slot, targetCellX, targetCellY), 0);
}

int TFightDialog::FreeStepDirection(int slot, int targetCellX, int targetCellY) const {
    const TUnitData& self = Units[size_t(slot)];
    const int x = CellOf(self.X), y = CellOf(self.Y);
    const auto occupied = [&](int cx, int cy) {
        for (int other = 0; other < GameData::BattleSlotCount; ++other) {
            if (other == slot || !Battle.IsValidSlot(other))
                continue;
            const TUnitData& data = Units[size_t(other)];
            if (CellOf(data.X) == cx && CellOf(data.Y) == cy)
                return true;
            if (data.Anim == faWalking && TargetCellX(other) == cx && TargetCellY(other) == cy)
                return true;
        }
        return false;
    };
    // The nearest neighbour to the target that the test lets through; the first in
    // direction order on a tie, -1 when none.
    const auto nearest = [&](auto allowed) {
        int best = -1;
        int bestDistance = 0;
        for (int direction = 0; direction < 8; ++direction) {
            const int cx = x + StepX[direction], cy = y + StepY[direction];
            // A step off the field would leave the fighter where nobody sees it.
            if (!IsOnField(cx, cy) || occupied(cx, cy) || !allowed(cx, cy))
                continue;
            const int dx = targetCellX - cx, dy = targetCellY - cy;
            const int distance = dx * dx + dy * dy;
            if (best < 0 || distance < bestDistance) {
                best = direction;
                bestDistance = distance;
            }
        }
        return best;
    };
    int direction = nearest([&](int cx, int cy) {
        return !(cx == self.WaypointX && cy == self.WaypointY) &&
               !(cx == self.PrevWaypointX && cy == self.PrevWaypointY);
    });
    if (direction < 0)
        direction = nearest(
            [&](int cx, int cy) { return cx == self.PrevWaypointX || cy == self.PrevWaypointY; });
    if (direction < 0)
        direction =
            nearest([&](int cx, int cy) { return cx == self.WaypointX || cy == self.WaypointY; });
    return direction;
}

int TFightDialog::DirectionTo(int fromX, int fromY, int toX, int toY) {
    // By sixteenths of the circle counted from the right, upward; each direction
    // covers two of them.
    static constexpr int BySector[17] = {2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 0, 0, 1, 1, 2, 2};
    const double dx = toX - fromX;
    const double dy = fromY - toY;
    const double length = std::sqrt(dx * dx + dy * dy);
    if (length == 0)
        return 0;
    double angle = std::acos(std::clamp(dx / length, -1.0, 1.0));
    if (dy < 0)
        angle = 2 * std::numbers::pi - angle;
    int sector = int(angle / (std::numbers::pi / 8));
    if (sector < 1)
        sector += 16;
    return BySector[std::min(sector, 16)];
}

void TFightDialog::StartStrikes(bool attackers) {
    const int first = attackers ? 0 : GameData::FirstDefenderSlot;
    if (attackers)
        for (int slot = 0; slot < GameData::BattleSlotCount; ++slot) {
            TUnitData& data = Units[size_t(slot)];
            if (!(data.SpriteFlags & fsWalking) || !Battle.IsValidSlot(slot))
                continue;
            Battle.UnitAt(slot)->ReleaseBattleAnim1Sprites();
            data.SpriteFlags &= ~fsWalking;
        }
    for (int slot = first; slot < first + GameData::SideSlotCount; ++slot) {
        if (Battle.IsSlotAlive(slot) && Battle.Slots[size_t(slot)].Command == GameData::bcAttack) {
            Battle.UnitAt(slot)->AcquireBattleAttackSprite(Units[size_t(slot)].Direction);
            Units[size_t(slot)].SpriteFlags |= fsStriking;
        }
    }
    RaiseFrameFlag();
    // As in a round played at once: attackers that died lose their commands.
    if (attackers)
        for (int slot = first; slot < first + GameData::SideSlotCount; ++slot)
            if (!Battle.IsSlotAlive(slot))
                Battle.ClearCommand(slot);
    for (int slot = first; slot < first + GameData::SideSlotCount; ++slot) {
        if (!Battle.IsSlotAlive(slot) || Battle.Slots[size_t(slot)].Command != GameData::bcAttack)
            continue;
        TUnitData& data = Units[size_t(slot)];
        data.Anim = faStriking;
        data.Frame = 0;
        QueueSound(PrototypeSound(Battle.UnitAt(slot), AttackSound),
                   GameData::GameSettings.SFXVolume);
    }
}

// The blow's sound by the striker's weapon kind (1 blade, 2 blunt, 3 claws and fangs,
// 4 arrow) and the target's armour kind (1 hide, 2 mail, 3 plate and bone), which the
// prototypes keep in their approach and target offsets; interface sounds 8-19 hold the
// 4 x 3 table. Other kinds strike silently.
void TFightDialog::QueueHitSound(int striker, int target) {
    const GameData::TUnit* attacker = Battle.UnitAt(striker);
    const GameData::TUnit* struck = Battle.UnitAt(target);
    if (!attacker || !struck || !attacker->Prototype || !struck->Prototype || !Data2::GlobalData)
        return;
    const int weapon = attacker->Prototype->ApproachOffset;
    const int armour = struck->Prototype->TargetOffset;
    if (weapon < 1 || weapon > 4 || armour < 1 || armour > 3)
        return;
    constexpr int FirstHitSound = 7;
    QueueSound(Data2::GlobalData->InterfaceSounds[FirstHitSound + 3 * (weapon - 1) + armour - 1],
               GameData::GameSettings.SFXVolume);
}

bool TFightDialog::StepStrikes(bool attackers) {
    const int first = attackers ? 0 : GameData::FirstDefenderSlot;
    bool striking = false;
    for (int slot = first; slot < first + GameData::SideSlotCount; ++slot) {
        TUnitData& data = Units[size_t(slot)];
        if (data.Anim != faStriking)
            continue;
        if (PhaseTicks % StrikeFrameTicks == 0)
            ++data.Frame;
        if (data.Frame >= FrameCount(slot, GameData::usBattleAttack)) {
            QueueHitSound(slot, data.AnimTarget);
            data.Anim = faIdle;
            data.Frame = 0;
        } else {
            striking = true;
        }
    }
    return !striking;
}

void TFightDialog::ApplyStrikes(bool attackers) {
    const int first = attackers ? 0 : GameData::FirstDefenderSlot;
    for (int slot = first; slot < first + GameData::SideSlotCount; ++slot) {
        TUnitData& data = Units[size_t(slot)];
        if (!(data.SpriteFlags & fsStriking))
            continue;
        if (TUnit* unit = Battle.UnitAt(slot))
            unit->ReleaseBattleAttackSprite(data.Direction);
        data.SpriteFlags &= ~fsStriking;
    }
    RaiseFrameFlag();
    if (attackers)
        Battle.ExecuteAttacks();
    else
        Battle.ExecuteCounterattacks();
    AnimateHits();
}

// ---- Reactions, idling and sounds ----

int TFightDialog::FrameCount(int slot, int spriteSet) const {
    const TUnit* unit = Battle.UnitAt(slot);
    if (!unit)
        return 0;
    const Gfx::TSprite* sprite =
        unit->Sprite(GameData::TUnitSpriteSet(spriteSet), Units[size_t(slot)].Direction & 7);
    return sprite ? sprite->FrameCount() : 0;
}

bool TFightDialog::AnimateHits() {
    bool flinching = false;
    for (int slot = 0; slot < GameData::BattleSlotCount; ++slot) {
        const TUnit* unit = Battle.UnitAt(slot);
        if (!unit)
            continue;
        TUnitData& data = Units[size_t(slot)];
        int& reacted = FReactedWounds[size_t(slot)];
        const int fresh = NewWounds(*unit);
        if (data.Anim == faIdle && !unit->IsDead() && fresh > reacted) {
            data.Anim = faFlinching;
            data.Frame = 0;
        }
        if (fresh < reacted || data.Anim == faFlinching)
            reacted = fresh;
        if (data.Anim != faFlinching)
            continue;
        if (PhaseTicks % FlinchFrameTicks == 0)
            ++data.Frame;
        if (data.Frame >= FlinchFrames || FrameCount(slot, GameData::usBattleDeath) == 0) {
            data.Anim = faIdle;
            data.Frame = 0;
        } else {
            flinching = true;
        }
    }
    return !flinching;
}

bool TFightDialog::AnimateDeaths() {
    bool dying = false;
    for (int slot = 0; slot < GameData::BattleSlotCount; ++slot) {
        const TUnit* unit = Battle.UnitAt(slot);
        if (!unit)
            continue;
        TUnitData& data = Units[size_t(slot)];
        if (unit->IsDead() && data.Anim != faDying && data.Anim != faDead) {
            data.Anim = faDying;
            data.Frame = 0;
            for (int i = 0; i < 2; ++i)
                QueueSound(PrototypeSound(unit, FirstDeathSound + i),
                           GameData::GameSettings.SFXVolume);
        }
        if (data.Anim != faDying)
            continue;
        if (PhaseTicks % DyingFrameTicks == 0)
            ++data.Frame;
        const int frames = FrameCount(slot, GameData::usBattleDeath);
        if (data.Frame >= frames) {
            data.Anim = faDead;
            data.Frame = std::max(frames - 1, 0);
        } else {
            dying = true;
        }
    }
    return !dying;
}

void TFightDialog::AnimateIdle() {
    for (int slot = 0; slot < GameData::BattleSlotCount; ++slot) {
        if (!Battle.IsSlotAlive(slot))
            continue;
        TUnitData& data = Units[size_t(slot)];
        const Data2::TUnitPrototype* prototype = Battle.UnitAt(slot)->Prototype;
        if (data.Anim != faIdle || !prototype)
            continue;
        const uint32_t period = std::max<uint32_t>(prototype->IdleAnimPeriod, 1);
        const int frames = FrameCount(slot, GameData::usBattleIdle);
        const bool due = PhaseTicks % period == 0;
        switch (prototype->IdleAnimMode) {
        case 1:
            if (due)
                data.Frame = frames > 0 ? (data.Frame + 1) % frames : 0;
            break;
        case 2:
            if (!due || frames <= 0)
                break;
            if (data.Frame != 0)
                data.Frame = (data.Frame + 1) % frames;
            else if (FAnimationRandom() % IdleStartChance == 0)
                data.Frame = 1 % frames;
            break;
        default:
            data.Frame = 0;
            break;
        }
    }
}

void TFightDialog::QueueSound(Audio::TAudioStream* sound, int32_t volume) {
    if (!sound)
        return;
    // Sounds of one moment are spread over some ticks rather than played on top of
    // each other.
    Sounds.push_back({int32_t(FAnimationRandom() % SoundDelays), volume, sound});
}

void TFightDialog::PlayQueuedSounds() {
    for (size_t i = Sounds.size(); i-- > 0;) {
        if (Sounds[i].Delay > 0) {
            --Sounds[i].Delay;
            continue;
        }
        const TSoundInfo due = Sounds[i];
        Sounds.erase(Sounds.begin() + std::ptrdiff_t(i));
        GameData::PlayEffect(due.Sound, due.Volume);
    }
}

} // namespace Main
