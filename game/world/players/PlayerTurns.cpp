// The start and end of a player's turn and the worker that plays a computer or
// remote player's turn.
#include "engine/core/Random.h"
#include "game/world/cities/City.h"
#include "game/world/groups/Group.h"
#include "game/world/players/ComputerPlayer.h"
#include "game/world/players/Player.h"
#include "game/world/players/ThreadTermination.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/units/Unit.h"
#include "platform/win32/Threads.h"

#include <cstdio>

namespace GameData {

void TPlayer::BeginTurn() {
    const int index = Scenario->IndexOfPlayer(this);
    for (TMapObject* object : Scenario->Objects)
        if (object->Kind == okGroup && static_cast<TGroup*>(object)->OwnerIndex == index)
            static_cast<TGroup*>(object)->NewTurn();
        else if (object->Kind == okCity && static_cast<TCity*>(object)->Owner == index)
            static_cast<TCity*>(object)->NewTurn();
    RevealedAreas.Clear();
    for (TMapObject* object : Scenario->Objects)
        if (object->Kind == okGroup) {
            static_cast<TGroup*>(object)->Spotted = 0;
            object->Invalidated = 1;
        }
    ResetFlags();
    UpdateSightings(false);
    Scenario->RebuildOccupancyGrid();
    Scenario->UpdateAllVisibility();
    if (!Selection)
        SelectObject(TurnStartSelection());

    // Every machine draws exactly one number from the game's state per turn start.
    if (Type == ptLocal) {
        Base::NextRandom(Base::RandomSeed);
        ClearSightings();
    } else if (Type == ptComputer || Type == ptRemote) {
        Base::AIRandomSeed = {Base::NextRandom(Base::RandomSeed), 0};
        Base::NextRandom(Base::AIRandomSeed);
        {
            const std::lock_guard<std::mutex> guard(FLock);
            FEndTurnPosted = false;
        }
        Thread.SetMethodAction(&TPlayer::RunTurn, this);
        Thread.Start(Win32::THREAD_PRIORITY_NORMAL);
    }
}

TMapObject* TPlayer::TurnStartSelection() const {
    if (SavedSelectionID != 0)
        if (TMapObject* saved = Scenario->FindObjectByID(SavedSelectionID))
            return saved;
    // Else the group of the player's unit with the lowest identifier; units are kept
    // in identifier order.
    for (const TUnit* unit : Scenario->Units) {
        TGroup* group = unit->GetGroup();
        if (group && group->GetOwner() == this && group->IsOnMap() &&
            Scenario->FindObjectByID(group->ID) == group)
            return group;
    }
    return nullptr;
}

void TPlayer::EndTurn() {
    if (Selection) {
        SavedSelectionID = Selection->ID;
        Selection->Deselect();
        Selection = nullptr;
    } else {
        SavedSelectionID = 0;
    }
    if (Type == ptComputer || Type == ptRemote)
        JoinThread();
}

void TPlayer::StopThread() {
    Thread.Stop();
}

void TPlayer::JoinThread() {
    Thread.Join();
}

void TPlayer::RunTurn() {
    FWorkerID = std::this_thread::get_id();
    struct TForgetWorker {
        std::atomic<std::thread::id>& ID;
        ~TForgetWorker() { ID = std::thread::id(); }
    } forget{FWorkerID};
    try {
        if (Type == ptComputer)
            AI->PlayTurn();
        else if (Type == ptRemote)
            ReplayRemoteTurn();
    } catch (const EThreadTermination&) {
        // A stopped turn ends quietly.
    } catch (const std::exception& e) {
        EndFailedTurn(ClassLib::ExceptionMessage(e));
    } catch (...) {
        EndFailedTurn("The turn failed with an unknown error.");
    }
}

void TPlayer::EndFailedTurn(const AnsiString& error) {
    std::fprintf(stderr, "%s's turn failed: %s\n", Name.c_str(), error.c_str());
    bool endPosted = false;
    {
        const std::lock_guard<std::mutex> guard(FLock);
        FTurnError = error;
        endPosted = FEndTurnPosted;
    }
    if (endPosted)
        return;
    try {
        // The peers end a computer player's turn when they hear of it; every machine
        // replaying a remote player meets the same error and ends the turn itself.
        PostAction(Type == ptComputer, MakeAction(acEndTurn));
        // The end of turn joins this thread before its result is set.
        WaitUntilActionTaken();
    } catch (const EThreadTermination&) {
    }
}

AnsiString TPlayer::TakeTurnError() {
    const std::lock_guard<std::mutex> guard(FLock);
    AnsiString error;
    error.swap(FTurnError);
    return error;
}

void TEndTurnPlanner::PlayTurn() {
    Player.PostAction(true, MakeAction(acEndTurn));
    // The end of turn joins this thread before its result is set: wait only until taken.
    Player.WaitUntilActionTaken();
}

} // namespace GameData
