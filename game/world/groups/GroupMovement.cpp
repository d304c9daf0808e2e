// A group's per-tick update: camp and idle animations, the requested activity, and
// the walk from cell to cell that pays action points and stops when points run
// out, the way is blocked or the owner spots something.
#include "engine/core/Random.h"
#include "game/world/cities/Location.h"
#include "game/world/data/GlobalData.h"
#include "game/world/groups/Group.h"
#include "game/world/groups/UnitCorpse.h"
#include "game/world/objects/Drawings.h"
#include "game/world/objects/MapGeometry.h"
#include "game/world/orders/MovementSpeed.h"
#include "game/world/paths/StepCost.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/GameSettings.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/sound/SoundEffects.h"
#include "game/world/units/Unit.h"

#include <algorithm>
#include <cstdlib>

namespace GameData {

namespace {

int FrameCountOf(const Gfx::TSprite* sprite) {
    return sprite ? sprite->FrameCount() : 0;
}

// After the attack sound.
constexpr int FirstDeathSound = 1;

int SignOf(int value) {
    return (value > 0) - (value < 0);
}

} // namespace

bool TGroup::CanStandOn(int x, int y) const {
    return !IsCellTakenByOther(x, y);
}

int32_t TGroup::NextStepCost() const {
    return StepCost(*Scenario, CellX, CellY, GetOwner(), NextX, NextY);
}

bool TGroup::CanPayNextStep() const {
    return LowestActionPoints() - Reserve >= NextStepCost();
}

void TGroup::OutOfPoints(bool refill) {
    if (TPlayer* owner = GetOwner())
        owner->Blocked = 1;
    StopWalking();
    if (refill)
        RefillCosts();
    Report(arNoActionPoints);
}

void TGroup::StopWalking() {
    if (AnimState == asWalk || AnimState == asStepTurn || AnimState == asWalkTurn)
        if (TUnit* leader = GetLeader())
            leader->ReleaseSpriteSet(usMapWalking);
    AnimState = asIdle;
}

void TGroup::UpdateSpeed() {
    const TPlayer* viewer = Scenario->ViewingPlayer();
    const bool unseen = viewer && GetOwner() != viewer &&
                        !viewer->IsCellVisible(X / CellSize, Y / CellSize) &&
                        !viewer->IsCellVisible(NextX, NextY);
    if (unseen) {
        PixelsPerStep = UnseenPixelsPerStep;
        TicksPerStep = 1;
        return;
    }
    PixelsPerStep = NormalPixelsPerStep;
    TicksPerStep = TicksPerStepForSpeed(Scenario->Settings ? Scenario->Settings->MovementSpeed
                                                           : TGameSettings::DefaultMovementSpeed);
}

void TGroup::PlanMove(int x, int y, int32_t reserve, TCity* fromCity) {
    StepPaid = 0;
    TPlayer* const owner = GetOwner();
    const int n = fromCity ? Scenario->BuildPathTo(x, y, *this)
                           : Scenario->BuildPath(X / CellSize, Y / CellSize, *this, y, x);
    if (n < 1) {
        Report(arCannotGoThere);
        return;
    }
    const auto cell = [this](int i) { return Scenario->Path[size_t(i)]; };
    const auto cost = [this, &cell](int i) {
        return int32_t(Scenario->MoveCosts[size_t(Scenario->CellIndex(cell(i).X, cell(i).Y))]);
    };
    const int32_t budget = LowestActionPoints() - reserve;
    int k = -1;
    for (int i = 0; i < n && k < 0; ++i)
        if (cost(i) > budget)
            k = i;
    // Points for the way but not for the entry: the group stops in front of the
    // location, never on it.
    const bool entryUnpaid = k < 0 && OrderMode == 2 && TargetLocation &&
                             budget - GetLocationEntryCost(*TargetLocation) < cost(n - 1);
    if (entryUnpaid)
        k = n;
    bool blockedBeforeFirst = false;
    if (k >= 0) {
        int j = -1;
        for (int i = k - 1; i >= 0 && j < 0; --i) {
            const bool inLocation = entryUnpaid && i == n - 1;
            if (!inLocation && CanStandOn(cell(i).X, cell(i).Y))
                j = i;
        }
        if (j != k - 1 || OrderMode == 2) {
            Blocked = 1;
            if (j >= 0) {
                BlockedX = cell(j).X;
                BlockedY = cell(j).Y;
            } else {
                // Nowhere to stop short of the points' end: the group stays.
                blockedBeforeFirst = true;
            }
        }
    }
    if (cost(0) > budget || blockedBeforeFirst) {
        if (owner)
            owner->Blocked = 1;
        Report(arNoActionPoints);
        return;
    }
    TargetX = int16_t(x);
    TargetY = int16_t(y);
    Reserve = reserve;
    if (fromCity) {
        if (!LeaveCity(*fromCity))
            return;
        PathIndex = 1;
    } else {
        Split();
        PathIndex = 0;
    }
    Activity = gaMove;
    StartX = int16_t(X / CellSize);
    StartY = int16_t(Y / CellSize);
    if (TUnit* leader = GetLeader())
        leader->AcquireSpriteSet(usMapWalking);
}

void TGroup::Tick() {
    TMapObject::Tick();
    if (Selected)
        Invalidated = 1;
    if (!Scenario)
        return;
    AgeWounds();
    UpdateCaption();
    ++Ticks;
    AnimateCamp();
    AnimateIdle();
    const int period = std::max<int>(1, TicksPerStep);
    const bool due = AnimState == asWalk ? Ticks % uint32_t(period) == 0 : Ticks % 5 == 0;
    if (due) {
        ProcessActivity();
        ProcessAnimation();
    }
    CheckEngagement();
}

void TGroup::AnimateCamp() {
    if (CampState == csPitched) {
        if (Ticks % 12 == 0)
            Frame = uint8_t(Frame + 1);
    } else if (CampState == csSettingUp && Ticks % 6 == 0) {
        const int frames = FrameCountOf(GetSprite());
        if (frames <= 0 || Frame + 1 >= frames) {
            Frame = 0;
            CampState = csPitched;
            Report(arDone);
        } else {
            Frame = uint8_t(Frame + 1);
        }
    } else if (CampState == csPacking && Ticks % 6 == 0) {
        if (Frame == 0) {
            CampState = csNone;
            Report(arDone);
        } else {
            Frame = uint8_t(Frame - 1);
        }
    }
    if (CampState == csPitched) {
        const int frames = FrameCountOf(GetSprite());
        if (frames > 0)
            Frame = uint8_t(Frame % frames);
    }
}

void TGroup::AnimateIdle() {
    if (AnimState != asIdle || Activity != gaNone || IsEngaged() || CampState != csNone ||
        Scenario->IsPaused() || Scenario->DeathsPending.load())
        return;
    const TUnit* leader = GetLeader();
    if (!leader || !leader->Prototype)
        return;
    const uint32_t period = std::max<uint32_t>(1, leader->Prototype->IdleAnimPeriod);
    const int frames = FrameCountOf(GetSprite());
    switch (leader->Prototype->IdleAnimMode) {
    case 0:
        Frame = 0;
        break;
    case 1:
        if (Ticks % period == 0 && frames > 0)
            Frame = uint8_t((Frame + 1) % frames);
        break;
    case 2:
        if (Ticks % period == 0 && frames > 0 &&
            (Frame != 0 || Scenario->PlainRandom.Below(50) == 0))
            Frame = uint8_t((Frame + 1) % frames);
        break;
    default:
        break;
    }
    if (Ticks % 10 == 0 && Scenario->PlainRandom.Below(70) == 14)
        StartIdleTurn();
}

void TGroup::BeginStep() {
    CellX = int16_t(X / CellSize);
    CellY = int16_t(Y / CellSize);
    NextX = Scenario->Path[size_t(PathIndex)].X;
    NextY = Scenario->Path[size_t(PathIndex)].Y;
    StepPaid = 0;
    UpdateSpeed();
    TargetFacing = uint8_t(DirectionToCell(CellX, CellY, NextX, NextY));
}

void TGroup::ProcessActivity() {
    const bool inStep = AnimState == asWalk && !IsAtCellCentre(X, Y);
    const bool between = AnimState == asIdle || AnimState == asTurn || AnimState == asStepTurn ||
                         AnimState == asWalkTurn || AnimState == asIdleTurn ||
                         (AnimState == asWalk && !inStep);
    switch (Activity) {
    case gaStopRequest:
        if (between && CanStandOn(X / CellSize, Y / CellSize)) {
            Activity = gaNone;
            StopWalking();
            RefillCosts();
            Report(arDone);
        }
        break;
    case gaTurn:
    case gaIdleTurn:
        if (!between)
            break;
        if (Facing == DesiredFacing) {
            Activity = gaNone;
            StopWalking();
        } else {
            AnimState = Activity == gaTurn ? asTurn : asIdleTurn;
            TargetFacing = DesiredFacing;
            Activity = gaNone;
        }
        break;
    case gaMove:
        if (!between)
            break;
        Activity = gaNone;
        if (X / CellSize == TargetX && Y / CellSize == TargetY) {
            StopWalking();
            Report(arDone);
            break;
        }
        BeginStep();
        if (Facing == TargetFacing) {
            if (!CanPayNextStep())
                OutOfPoints(false);
            else
                AnimState = asWalk;
        } else {
            AnimState = asStepTurn;
        }
        break;
    case gaCastSpell:
        if (!IsCastThreadRunning())
            FinishCast();
        break;
    case gaRemoveDead:
        Activity = gaNone;
        AnimState = asDying;
        Frame = 0;
        PlayDeathSounds();
        break;
    default:
        break;
    }
}

void TGroup::PlayDeathSounds() const {
    const TPlayer* viewer = Scenario->ViewingPlayer();
    if (!viewer || !viewer->IsObjectVisible(*this))
        return;
    for (int i = 0; i < UnitCount(); ++i) {
        const TUnit* unit = Units[size_t(i)];
        if (!unit->IsDead() || !unit->Prototype)
            continue;
        PlayEffect(unit->Prototype->Sounds[FirstDeathSound], GameSettings.SFXVolume);
        PlayEffect(unit->Prototype->Sounds[FirstDeathSound + 1], GameSettings.SFXVolume);
    }
}

void TGroup::TurnOneStep() {
    const int clockwise = (TargetFacing - Facing + 8) % 8;
    if (clockwise != 0)
        Facing = uint8_t((Facing + (clockwise <= 4 ? 1 : 7)) % 8);
    Invalidated = 1;
    if (Facing != TargetFacing)
        return;
    switch (AnimState) {
    case asTurn:
        StopWalking();
        break;
    case asIdleTurn:
        AnimState = asIdle;
        break;
    case asCastTurn:
        AnimState = asCast;
        break;
    case asStepTurn:
    case asWalkTurn:
        Frame = 2;
        if (!CanPayNextStep())
            OutOfPoints(AnimState == asWalkTurn);
        else
            AnimState = asWalk;
        break;
    default:
        break;
    }
}

void TGroup::ProcessAnimation() {
    switch (AnimState) {
    case asTurn:
    case asStepTurn:
    case asWalkTurn:
    case asCastTurn:
    case asIdleTurn:
        TurnOneStep();
        break;
    case asWalk:
        Walk();
        break;
    case asCast:
        if (CampState == csNone)
            Frame = uint8_t(Frame + 1);
        if (CampState != csNone || Frame >= FrameCountOf(GetSprite())) {
            Frame = 0;
            AnimState = asIdle;
            FinishCast();
        }
        break;
    case asDying:
        AnimateDying();
        break;
    default:
        break;
    }
}

void TGroup::Walk() {
    const TPoint centre = CellToPixelCentre(NextX, NextY);
    const int dx = centre.X - X;
    const int dy = centre.Y - Y;
    const int step = std::max<int>(1, PixelsPerStep);
    const int newX = X + SignOf(dx) * std::min(step, std::abs(dx));
    const int newY = Y + SignOf(dy) * std::min(step, std::abs(dy));
    const int index = Scenario->IndexOfLiveObject(*this);
    if (index >= 0)
        Scenario->MoveObject(index, newX, newY);
    else
        X = int16_t(newX), Y = int16_t(newY);
    Invalidated = 1;
    const bool normalSpeed = PixelsPerStep == NormalPixelsPerStep;
    if (normalSpeed && Frame == 2 && !StepPaid) {
        PayActionPoints(NextStepCost());
        StepPaid = 1;
    }
    const int frames = FrameCountOf(GetSprite());
    Frame = frames > 0 ? uint8_t((Frame + 1) % frames) : 0;
    if (X != centre.X || Y != centre.Y)
        return;
    if (!StepPaid) {
        PayActionPoints(NextStepCost());
        StepPaid = 1;
    }
    UpdateOwnerVisibility();
    ReportSeenBy();
    ReachCell();
}

bool TGroup::TriggerAreaConversations(int x, int y) const {
    const int owner = Scenario->IndexOfPlayer(GetOwner());
    if (owner < 0)
        return false;
    bool queued = false;
    for (const TArea* area : Scenario->Areas)
        if (area->ContainsCell(x, y))
            queued =
                Scenario->TriggerConversations(owner, ceAreaEntered, int32_t(area->ID)) || queued;
    return queued;
}

void TGroup::ReachCell() {
    if (StopsAtCell())
        return;
    if (PathIndex + 1 >= PathLength) {
        StopWalking();
        RefillCosts();
        Report(arCannotGoThere);
        return;
    }
    ++PathIndex;
    BeginStep();
    if (Facing != TargetFacing)
        AnimState = asWalkTurn;
    if (!CanPayNextStep())
        OutOfPoints(true);
}

bool TGroup::StopsAtCell() {
    TPlayer* const owner = GetOwner();
    const int x = X / CellSize;
    const int y = Y / CellSize;
    const bool atTarget = x == TargetX && y == TargetY;
    const bool area = TriggerAreaConversations(x, y) || (Interrupted && StopByArea);
    const bool ownerStop = (owner && owner->Spotted) || (Interrupted && StopByOwner);
    if (area || ownerStop) {
        if (CanStandOn(x, y)) {
            StopWalking();
            if (atTarget && MergeOnArrival && TargetGroup)
                MergeWith(TargetGroup);
            RefillCosts();
            Report(area && !ownerStop ? arStoppedByConversation : arSpotted);
            return true;
        }
        Interrupted = 1;
        StopByOwner = ownerStop;
        StopByArea = area;
    } else if (Blocked && x == BlockedX && y == BlockedY) {
        OutOfPoints(true);
        return true;
    }
    if (atTarget) {
        StopWalking();
        RefillCosts();
        if (MergeOnArrival && TargetGroup) {
            MergeWith(TargetGroup);
            Report(Interrupted ? arSpotted : arDone);
        } else if (OrderMode == 1 && (TargetGroup || TargetLocation)) {
            if (TargetGroup)
                StartFight(TargetGroup);
            else
                StartCityAttack(TargetLocation);
        } else if (OrderMode == 2 && (TargetGroup || TargetLocation)) {
            if (TargetGroup)
                StartMeeting(TargetGroup);
            else
                EnterLocation(TargetLocation);
        } else {
            Report(arDone);
        }
        return true;
    }
    return false;
}

void TGroup::AnimateDying() {
    Frame = uint8_t(Frame + 1);
    TUnit* const leader = GetLeader();
    const bool done =
        leader && leader->IsDead() && Frame >= FrameCountOf(leader->Sprite(usMapDying, Facing % 8));
    for (int slot = UnitCount() - 1; slot >= 0; --slot) {
        TUnit* const unit = Units[size_t(slot)];
        if (unit == leader || !unit->IsDead())
            continue;
        // Corpses fall in a direction of their own: visual variety only.
        const int direction = Scenario->PlainRandom.Below(8);
        if (!done && Frame != FrameCountOf(unit->Sprite(usMapDying, direction)))
            continue;
        if (auto corpse = MakeUnitCorpse(*Scenario, *unit, X, Y, direction))
            Scenario->AddObject(std::move(corpse));
        RemoveUnitAt(slot, false, true);
        Scenario->LooseUnits.Add(unit);
    }
    bool deadLeft = false;
    for (int slot = 0; slot < UnitCount(); ++slot)
        if (Units[size_t(slot)]->IsDead() && !(Units[size_t(slot)] == leader && done))
            deadLeft = true;
    if (!deadLeft) {
        AnimState = asIdle;
        Frame = 0;
    } else if (leader && leader->IsDead() && done) {
        Frame = uint8_t(std::max(0, FrameCountOf(leader->Sprite(usMapDying, Facing % 8)) - 1));
    }
}

} // namespace GameData
