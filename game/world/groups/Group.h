// A group: the map object that carries up to three units across the map for one
// player. The group lends its units a home; the scenario's unit registry owns them.
// Orders and movement, split and merge, and spell casting build on this.
#pragma once

#include "engine/core/ActionThread.h"
#include "game/world/objects/MapObject.h"
#include "game/world/spells/SpellEffect.h"
#include "game/world/units/UnitOwner.h"

#include <array>
#include <cstdint>
#include <memory>
#include <span>

namespace GameData {

class TCity;
class TPlayer;
class TUnit;

constexpr int MaxGroupUnits = 3;
constexpr uint8_t NoOwner = 255;

enum TGroupActivity : uint8_t {
    gaNone = 0,
    gaStopRequest = 1,
    gaTurn = 2,
    gaMove = 3,
    gaCastSpell = 4,
    gaRemoveDead = 5,
    gaIdleTurn = 6,
};

enum TGroupAnimState : uint8_t {
    asIdle = 0,
    asTurn = 1,
    asStepTurn = 2,
    asWalkTurn = 3,
    asWalk = 4,
    asCastTurn = 5,
    asCast = 6,
    asDying = 7,
    asIdleTurn = 8,
};

enum TCampState : int32_t {
    csNone = 0,
    csSettingUp = 1,
    csPitched = 2,
    csPacking = 3,
};

// Answers of CanAddUnit and CanMerge.
enum TGroupJoin : int {
    gjAllowed = 0,
    gjFull = 1,
    gjSecondHero = 2,
};

class TGroup : public TMapObject, public TUnitOwner {
public:
    explicit TGroup(TScenario* scenario);
    ~TGroup() override; // its units lose their home, the registry keeps them

    void Assign(const TDataObject*) override {}
    // Unit identifiers are resolved through the scenario's registry: an unknown one is
    // "Object with given ID not found (%d).", more than three units "Invalid data.".
    void LoadFromStream(TStream* stream) override;
    void SaveToStream(TStream* stream) const override;
    void Clear() override;

    Gfx::TSprite* GetSprite() const override;
    int GetFrame() const override;
    // Wounds age, the caption is rebuilt, the camp and idle animations play, and the
    // requested activity, the running animation and the walk advance.
    void Tick() override;
    RECT GetBounds() const override;
    RECT GetMarkerBounds() const override;
    void DrawMarkerToBitmap(ClassLib::TBitmap* target, int viewX, const RECT& clip,
                            int viewY) override;
    void DrawMarker(Win32::IDirectDrawSurface7* target, int viewX, const RECT& clip,
                    int viewY) override;
    void DrawOverlaysToBitmap(ClassLib::TBitmap* target, int viewX, const RECT& clip,
                              int viewY) override;
    void DrawOverlays(Win32::IDirectDrawSurface7* target, int viewX, const RECT& clip,
                      int viewY) override;
    void Deselect() override;

    // What the units ask of the group that holds them.
    TGroup* AsGroup() override { return this; }
    TCity* AsCity() override { return nullptr; }
    TUnitPlayer* PlayerOf(const TUnit& unit) override;
    bool IsCivilian(const TUnit&) const override { return false; }
    bool HasScriptedEntry() const override { return false; }
    bool IsCampPitched() const override { return CampState == csPitched; }
    std::span<TUnit* const> GroupUnits() const override { return Units; }
    void TakeOutOfGroup(TUnit& unit) override;

    // Composition.
    int UnitCount() const;
    TUnit* UnitAt(int slot) const { return Units[size_t(slot)]; }
    // "Maximum number of units in group reached." with three units held. The unit
    // takes the first free slot; with giveToAI the owner's planner gets it.
    void AddUnit(TUnit* unit, bool giveToAI);
    // The same for a unit the scenario's registry takes first (a new identifier
    // with newID).
    TUnit* AddUnit(std::unique_ptr<TUnit> unit, bool newID, bool giveToAI);
    // With fromAI the owner's planner lets go of the unit before it leaves; with
    // unregister the registry hands it back to the caller (null otherwise).
    std::unique_ptr<TUnit> RemoveUnitAt(int slot, bool unregister, bool fromAI);
    std::unique_ptr<TUnit> RemoveUnit(TUnit* unit, bool unregister, bool fromAI);
    // From the last slot to the first; unregistered units are deleted.
    void RemoveAll(bool unregister);
    int CanAddUnit(const TUnit& unit) const;
    int CanMerge(const TGroup& other) const;
    bool SplitPending() const;
    // Hands the group to another player: the old owner's planner drops every unit,
    // the new owner's gets it.
    void SetOwner(uint8_t index);
    TPlayer* GetOwner() const;
    TUnit* GetLeader() const;
    bool HasHero() const;
    bool HasStayingHero() const;
    TUnit* FindUnitByID(uint32_t id) const;

    // Queries; "moving" ones skip units marked to split off.
    int32_t LowestActionPoints() const;
    int32_t LowestMaxActionPoints() const;
    int32_t MovingMana() const;
    int32_t MovingMaxMana() const;
    int32_t MovingHitPoints() const;
    int32_t MovingMaxHitPoints() const;
    int32_t GroupSight() const;
    bool AllUnitsDead() const;
    bool AnyUnitCanAct() const;
    bool AllUnitsCanEnter(const TMapObject& location) const;
    bool AllUnitsCanAct() const;
    void SpendActionCost();
    void PayEntryCost(const TMapObject& location);
    void PayActionPoints(int32_t n);
    int32_t LowestHitPoints() const;
    int32_t WeakestUnitMaxHitPoints() const;
    int32_t TotalActionPoints() const;
    int32_t TotalHitPoints() const;
    int32_t TotalMaxHitPoints() const;
    int32_t TotalMana() const;
    int32_t LowestMorale() const;
    int32_t HighestMorale() const;
    int32_t HighestLevel() const;
    int32_t TotalAttack() const;
    int32_t TotalDefence() const;
    int32_t HighestSight() const;
    int32_t TotalSpellCount() const;
    int32_t ExpectedDamageTo(const TGroup& other) const;
    int32_t ExpectedDamageToByActive(const TGroup& other) const;
    int32_t ExpectedCounterDamageTo(const TGroup& other) const;
    int32_t ExpectedCounterDamageToByActive(const TGroup& other) const;
    bool IsSelectedCityGroup() const;
    // Some unit owns an active conversation of that event kind meant for the player.
    bool HasUnitConversation(int32_t playerIndex, int32_t kind) const;
    // Enough points for the cheapest step to a neighbouring cell.
    bool CanStillMove() const;
    bool CheckForDeadUnits();
    bool IsNearPitchedCamp() const;

    // Occupancy: a group covers its cell, 3 x 3 cells while camping.
    bool IsCellTaken(int x, int y) const;
    bool IsCellTakenByOther(int x, int y) const;
    bool IsCellOpenFor(int x, int y) const;

    // Camps (actions 7 and 8). Refusals are reported to the owner: no room (every
    // neighbour on the map, cheap, reachable and free of groups), too few action
    // points for the six a camp costs.
    bool HasRoomForCamp() const;
    // Around another cell, which must itself be fit; the group's own cell is
    // ignored among its neighbours.
    bool HasRoomForCampAt(int x, int y) const;
    void PitchCamp();
    void BreakCamp();

    // Turns and sightings.
    void NewTurn();
    void AgeWounds();
    // Every other player who sees the group's cell hears where each of its units is.
    void ReportSeenBy() const;
    void ReportEnteredCity(const TMapObject& city) const;
    void UpdateOwnerVisibility() const;

    // Orders. One that cannot be carried out posts a report to the owner.
    void MoveTo(int x, int y, bool refill, int32_t reserve);
    // Walks onto the other group's cell and merges with it there.
    void MoveToGroup(TGroup* other, int32_t reserve, bool refill);
    // Walks next to the other group, then fights it (mode 1) or meets it (mode 2).
    void MoveAgainstGroup(TGroup* other, int mode, bool refill, int32_t reserve);
    // Walks to the location's entry cell, then enters it or attacks its defenders.
    void MoveIntoLocation(TMapObject* location, int32_t reserve, bool refill);
    void StartFight(TGroup* target);
    void StartMeeting(TGroup* target);
    void EnterLocation(TMapObject* location);
    void StartCityAttack(TMapObject* city);
    void TurnTo(int direction);
    void FaceCell(int x, int y);
    void StartIdleTurn();
    void RequestStop();
    bool IsEngaged() const { return Engagement || EngagedBy || InBattle; }

    // The units marked for splitting stay behind as a new group on this cell.
    void Split();
    // Takes over the other group's units (they come first) and camp; the other group
    // leaves the map and is deleted after the update.
    void MergeWith(TGroup* other);

    // Prepares the spell's effect on a worker thread while the group turns and
    // casts; false, with nothing changed, when the scenario has no spell effects.
    bool StartSpellCast(uint32_t casterID, uint32_t spellID, int targetX, int targetY);
    bool IsCastThreadRunning() const { return FCastThread && FCastThread->IsRunning(); }
    // Asks the cast's preparation to stop and waits for it.
    void StopCastThread();

    // 4 with a unit of creature type 2, 4 or 8, else a draw of the game's state.
    void ChooseCampStyle();
    // The selection marker for the owner's colour.
    Gfx::TSprite* GetMarkerSprite() const;
    // The caption for the viewing player, followed by the units' names.
    void UpdateCaption();

    uint8_t Facing = 0;
    uint8_t OwnerIndex = NoOwner;
    std::array<TUnit*, MaxGroupUnits> Units{};
    std::array<uint8_t, MaxGroupUnits> SplitMarks{};
    uint32_t Ticks = 0;
    int16_t TicksPerStep = 1;
    int16_t PixelsPerStep = 4;
    uint8_t Frame = 0;
    uint8_t Activity = gaNone;
    uint8_t AnimState = asIdle;
    uint8_t TargetFacing = 0;
    uint8_t DesiredFacing = 0;
    int16_t StartX = 0;
    int16_t StartY = 0;
    int16_t CellX = 0;
    int16_t CellY = 0;
    int16_t NextX = 0;
    int16_t NextY = 0;
    int16_t TargetX = 0;
    int16_t TargetY = 0;
    int16_t PathIndex = 0;
    TGroup* TargetGroup = nullptr;
    TMapObject* TargetLocation = nullptr;
    uint8_t MergeOnArrival = 0;
    uint8_t OrderMode = 0;
    uint8_t Engagement = 0;
    uint8_t EngagedBy = 0;
    uint8_t InBattle = 0;
    int32_t Reserve = 0;
    int32_t CampState = csNone;
    int32_t CampStyle = 0;
    uint8_t KeptByte = 0; // carried through save and load; no reader yet
    uint8_t Interrupted = 0;
    uint8_t Blocked = 0;
    uint8_t StopByOwner = 0;
    uint8_t StopByArea = 0;
    int16_t BlockedX = 0;
    int16_t BlockedY = 0;
    uint8_t StepPaid = 0;
    // Set while another player sees the group; not stored (the fog sets it).
    uint8_t Spotted = 0;

private:
    bool CampCellFits(int x, int y) const;
    bool HasRoomForCampAround(int x, int y, bool fromOwnCell) const;
    // One point at a time from each unit that still has some, until six are paid
    // or a round takes none.
    void TakeCampActionPoints();
    void Report(int32_t outcome) const;
    void MoveHeroesForward();
    // The pace of this machine's movement-speed option.
    int16_t LocalTicksPerStep() const;
    // Movement (GroupMovement.cpp).
    void PlanMove(int x, int y, int32_t reserve, TCity* fromCity = nullptr);
    void OutOfPoints(bool refill);
    void StopWalking();
    void RefillCosts();
    void UpdateSpeed();
    bool CanStandOn(int x, int y) const;
    int32_t NextStepCost() const;
    bool CanPayNextStep() const;
    void BeginStep();
    void AnimateCamp();
    void AnimateIdle();
    void ProcessActivity();
    void ProcessAnimation();
    void Walk();
    void ReachCell();
    // Queues the owner's conversations of every area holding the cell; true when any
    // was queued, which stops the walk there.
    bool TriggerAreaConversations(int x, int y) const;
    void TurnOneStep();
    void AnimateDying();
    // The dead units' death sounds, when the player at this machine sees the group.
    void PlayDeathSounds() const;
    void CheckEngagement();
    // The common start of the four orders: false when the order goes no further.
    // fromCity is the city whose gate the group leaves, else null.
    bool BeginOrder(bool refill, TCity*& fromCity);
    bool IsOwnCell(int x, int y) const;
    // The city this group stands at the gate of, when it is its owner's selection.
    TCity* StartingCity() const;
    // Puts the gate group on the first cell of its path outside the city; false when
    // the walk ends on that cell (the order's end begun or the reason reported).
    bool LeaveCity(TCity& city);
    // The test on reaching a cell: true when the walk ends here.
    bool StopsAtCell();
    void FinishCast();
    void SpellCastThreadProc();

    void AfterCompositionChange();
    int32_t ExpectedDamage(const TGroup& other, bool counter, bool activeOnly) const;

    std::unique_ptr<TSpellEffect> FSpell;
    TSpellCast FCast;
    // Last, so that it is stopped before the spell it fills goes.
    std::unique_ptr<Base::TActionThread> FCastThread;
};

} // namespace GameData
