// One side of a game: a local person, a computer player or a person on another
// machine. Every change of the game state is an action posted to the acting
// player, taken and executed on the main thread; a computer or remote player's
// turn runs on its own worker thread, which only posts actions and waits.
#pragma once

#include "engine/core/ActionThread.h"
#include "engine/core/DataObject.h"
#include "engine/core/DynamicArray.h"
#include "engine/core/ObjectList.h"
#include "engine/graphics/Sprite.h"
#include "game/world/players/PlayerAction.h"
#include "game/world/scenario/Area.h"
#include "game/world/units/UnitOwner.h"
#include "platform/classlib/StringList.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

namespace Gfx {
class TSprite;
}

namespace GameData {

using ClassLib::AnsiString;

class TCity;
class TComputerPlayer;
class TFog;
class TGroup;
class TUnit;
class TMapObject;
class TScenario;

enum TPlayerType : uint8_t { ptLocal = 0, ptComputer = 1, ptRemote = 2 };
enum TRelation : uint8_t { reNeutral = 0, reEnemy = 1, reFriendly = 2 };
constexpr int8_t RelationSelf = -2;
constexpr int8_t RelationNone = -1;

class TPlayer : public Data::TDataObject, public TUnitPlayer {
public:
    explicit TPlayer(TScenario* scenario);
    ~TPlayer() override;

    void Clear() override;
    // Revealed areas are resolved through the scenario's areas, which load first.
    void LoadFromStream(Data::TStream* stream) override;
    void SaveToStream(Data::TStream* stream) const override;

    // Actions; callable from any thread.
    // Waits (checking for a stop on the worker) until the slot is empty, never
    // overwriting a pending action; a caller other than this player's worker cannot
    // wait for the main thread and gets "An action is still pending." instead. In a
    // networked game with send set, the action goes to every peer numbered with the
    // scenario's action counter; the counter rises for every posted action.
    void PostAction(bool send, const TPlayerAction& action);
    // Main thread: the pending action (code 0 when none), leaving the slot empty.
    TPlayerAction TakeAction();
    bool HasPendingAction() const;
    void SetActionResult(int32_t result);
    int32_t GetActionResult() const;
    // Worker thread: the result of the last posted action once the main thread has
    // set it and the scenario is no longer busy. EThreadTermination on a stop.
    int32_t WaitForAction();
    // Worker thread: until the main thread has taken the pending action.
    void WaitUntilActionTaken();
    // Every machine makes its own reports: never sent.
    void PostReport(int32_t outcome) { PostAction(false, MakeAction(acReport, uint32_t(outcome))); }
    // Actions a group's update makes on every machine alike (reports, the start of a
    // fight or an entry): never sent, and never waiting: false, with nothing
    // posted, while another action is pending.
    bool TryPostLocalAction(const TPlayerAction& action);
    bool TryPostReport(int32_t outcome) {
        return TryPostLocalAction(MakeAction(acReport, uint32_t(outcome)));
    }

    // Turns.
    void BeginTurn();
    void EndTurn();
    // Asks the worker to stop and waits for it.
    void StopThread();
    // Waits for the worker to end by itself.
    void JoinThread();
    bool IsThreadRunning() const { return Thread.IsRunning(); }
    bool StopRequested() const { return Thread.StopRequested(); }
    // The error that cut short this player's last computer or remote turn (its turn
    // was ended for it), for the game's message line; empty when none. Taking it
    // empties it.
    AnsiString TakeTurnError();

    // Relations: -2 for this player, -1 for null or a stranger to the scenario.
    int8_t GetRelation(const TPlayer* other) const;
    // The relation to the group's or the city's owner; -1 for null.
    int8_t GetRelationToGroup(const TGroup* group) const;
    int8_t GetRelationToCity(const TCity* city) const;

    // For a computer player hostile to the player at index 1 in a local game: the
    // value scaled by the difficulty setting's percentage, rounded half up.
    int32_t ApplyDifficulty(int32_t value) const override;
    int MaximumUnitLevel() const override;
    // The unit's prototype joins MetPrototypes once.
    void AddMetPrototype(const TUnit* unit);
    // Human players (at this machine or another, so every machine keeps the same
    // record): the prototypes of every unit in a group or city they see.
    void UpdateMetPrototypes();

    // The player's banner in the scenario's player sprite library, once that library
    // has loaded it; null otherwise.
    Gfx::TSprite* GetPlayerSprite() const;

    // Selection. A selected group on the map refills the scenario's movement costs
    // from its cell, so orders plan over its current points.
    void SelectObject(TMapObject* object);
    // Null unless the selection is of that kind.
    TGroup* GetSelectedGroup() const;
    TCity* GetSelectedCity() const;
    // The selected group, or the selected city's gate group when it holds units.
    TGroup* GetActiveGroup() const;

    // Sightings, oldest first; under the lock.
    void PushSighting(std::unique_ptr<TSighting> sighting);
    std::unique_ptr<TSighting> PopSighting();
    TSighting GetSighting(int index) const;
    int SightingCount() const;
    void ClearSightings();

    // Sight (PlayerSightings.cpp).
    // The owner or a friend of the city, or a player with a unit at its gate or among
    // its other units, may look into it.
    bool HasAccessToCity(const TCity& city) const;
    bool IsCellVisible(int x, int y) const;
    // What the map shows this player: corpses it has seen, locations it has explored,
    // its own groups, foreign groups it has spotted (while it plays) or sees, and
    // any other object on a visible cell. Everything without a fog.
    bool IsObjectVisible(const TMapObject& object) const;
    bool IsObjectShown(const TMapObject& object) const;
    // Locations that came into view become explored; foreign groups that came into
    // view are marked spotted and, with announce, each of their units is queued as a
    // sighting to this player and its friends: once, until the spotted marks are
    // cleared at the start of a turn.
    void UpdateSightings(bool announce);
    // Asks the scenario to recompute this player's visibility.
    void UpdateVisibility();

    void ResetFlags();
    void ClearSpottedFlags() { ResetFlags(); }

    TScenario* Scenario;
    uint8_t Type = ptLocal;
    int32_t Gold = 0;
    uint8_t Color = 0;
    AnsiString Name;
    uint32_t SpriteID = 0;
    Gfx::TSprite* Banner = nullptr; // from the scenario's player sprite library
    std::unique_ptr<TFog> Fog;
    std::array<uint8_t, 5> Relations{};
    uint8_t Blocked = 0;
    uint8_t Spotted = 0;
    uint8_t GroupSpotted = 0;
    uint8_t LocationFound = 0;
    Data::TObjectList<TArea> RevealedAreas{false};
    std::unique_ptr<TComputerPlayer> AI;
    TMapObject* Selection = nullptr;
    uint8_t Spare = 0;
    uint32_t SavedSelectionID = 0;
    TArea Area;
    ClassLib::TStringList Texts1;
    ClassLib::TStringList Texts2;
    Data::TDynamicArray<uint32_t> MetPrototypes;

private:
    // Code 0 is answered with the refusal at once and never takes the slot.
    bool RefuseEmptyAction(const TPlayerAction& action);
    void RunTurn();
    void ReplayRemoteTurn();
    // One network message: false once the turn's end has been replayed.
    bool ReplayMessage(const std::vector<uint8_t>& message);
    void CheckStop() const;
    // After an error in the turn: logs it, keeps it for TakeTurnError and ends the
    // turn unless its end was posted already.
    void EndFailedTurn(const AnsiString& error);
    // With nothing selected: the object selected at the end of the last turn, or
    // else the group of the player's unit with the lowest identifier.
    TMapObject* TurnStartSelection() const;
    bool OnWorkerThread() const { return std::this_thread::get_id() == FWorkerID.load(); }

    mutable std::mutex FLock;
    TPlayerAction FPendingAction;
    int32_t FActionResult = arDone;
    bool FEndTurnPosted = false; // in the turn running now
    AnsiString FTurnError;
    std::deque<std::unique_ptr<TSighting>> FSightings;
    std::atomic<std::thread::id> FWorkerID{};
    Base::TActionThread Thread;
};

} // namespace GameData
