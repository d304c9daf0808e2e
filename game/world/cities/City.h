// A city: a location that belongs to a player and holds units in four places (the
// gate group, the defender rows, the other units, the civilian units), carries six
// merchants, changes hands, and sells what its merchants offer.
#pragma once

#include "engine/core/DynamicArray.h"
#include "engine/core/ObjectList.h"
#include "game/world/cities/Location.h"
#include "game/world/cities/Merchants.h"
#include "game/world/groups/Group.h"
#include "game/world/units/Unit.h"
#include "game/world/units/UnitOwner.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace GameData {

class TPlayer;

enum TCityPlace : uint32_t {
    cpGateGroup = 0,
    cpDefenders = 1,
    cpOtherUnits = 2,
    cpCivilians = 3,
};

// Answers of CanAddDefender.
enum TDefenderJoin : int {
    djAllowed = 0,
    djRowFull = 1,
    djSecondHero = 2,
    djMoraleTooLow = 3,
};

// Modes of ChangeOwner.
enum TOwnerChangeMode : int {
    ocTakeOverAll = 1, // every unit of the old side goes to the new owner
    ocConquest = 2,    // heroes of the old side go, third players' units stay
    ocKeepLoyalty = 3, // units keep serving the side they served
};

constexpr uint8_t CityOwnerByte = 255; // a unit's player byte: the city's owner
constexpr int DefenderRowSize = 3;

#pragma pack(push, 1)
struct TCityDecoration {
    uint32_t Kind;
    int32_t DX;
    int32_t DY;
};
#pragma pack(pop)
static_assert(sizeof(TCityDecoration) == 12);

class TCity : public TLocation, public TUnitOwner {
public:
    explicit TCity(TScenario* scenario);
    ~TCity() override;

    // Units are resolved through the scenario's registry ("Object with given ID not
    // found (%d)."); a unit in two places, a defender count other than three per
    // row, or a merchant of the wrong type is "Invalid data.".
    void LoadFromStream(TStream* stream) override;
    void SaveToStream(TStream* stream) const override;
    void Clear() override;

    void Tick() override { Update(); }
    void Draw(Win32::IDirectDrawSurface7* target, int viewX, const RECT& clip, int viewY) override;
    void DrawOverlaysToBitmap(ClassLib::TBitmap* target, int viewX, const RECT& clip,
                              int viewY) override;
    void DrawOverlays(Win32::IDirectDrawSurface7* target, int viewX, const RECT& clip,
                      int viewY) override;
    // The decorations again with their animated frames.
    void DrawSecondPass(Win32::IDirectDrawSurface7* target, int viewX, const RECT& clip, int viewY);
    RECT GetDecorationBounds(int index) const;
    // Units at the gate go to the other units.
    void Deselect() override;

    // What the units ask of the city that holds them.
    TGroup* AsGroup() override { return nullptr; }
    TCity* AsCity() override { return this; }
    TUnitPlayer* PlayerOf(const TUnit& unit) override;
    bool IsCivilian(const TUnit& unit) const override;
    bool HasScriptedEntry() const override { return EntryCostFlag != 0; }
    bool IsCampPitched() const override { return false; }
    std::span<TUnit* const> GroupUnits() const override { return {}; }
    void TakeOutOfGroup(TUnit&) override {}

    // Gives every merchant without an identifier the scenario's next one: when the
    // city enters the scenario and after loading, never when saving.
    void GiveMerchantIDs();

    // Queries.
    TPlayer* GetOwner() const;
    TPlayer* GetUnitPlayer(const TUnit& unit) const;
    bool IsDefender(const TUnit& unit) const;
    bool IsOtherUnit(const TUnit& unit) const;
    bool HasDefenders() const;
    int FindDefenderRow(const TUnit& unit) const;
    int DefenderCountInRow(int row) const;
    bool RowHasHero(int row) const;
    int CanAddDefender(int row, const TUnit& unit) const;
    int DefenderPlaceCount() const { return static_cast<int>(DefenderSlots.size()); }
    TUnit* DefenderAt(int place) const { return DefenderSlots[size_t(place)]; }

    // Places. A unit the registry takes is given with its owning pointer (a new
    // identifier with newID); withAI gives it to, or takes it from, the planner of
    // the unit's player; deleteUnit removes it from the registry, which deletes it.
    TUnit* AddOtherUnit(std::unique_ptr<TUnit> unit, bool newID, bool withAI);
    void AddOtherUnit(TUnit* unit, bool withAI);
    TUnit* AddCivilian(std::unique_ptr<TUnit> unit, bool newID, bool withAI);
    void AddCivilian(TUnit* unit, bool withAI);
    void RemoveOtherUnitAt(int index, bool deleteUnit, bool withAI);
    void RemoveOtherUnit(TUnit* unit, bool deleteUnit, bool withAI);
    void RemoveCivilianAt(int index, bool deleteUnit, bool withAI);
    void RemoveCivilian(TUnit* unit, bool deleteUnit, bool withAI);
    // Into the given place (the caller has checked CanAddDefender).
    void SetDefenderSlot(int place, TUnit* unit, bool withAI);
    // Into the first empty place of the row; false when the row is full.
    bool AddDefender(int row, TUnit* unit, bool withAI);
    void ClearDefenderSlot(int place, bool deleteUnit, bool withAI);
    // The later places of the row close up.
    void RemoveDefenderAt(int place, bool deleteUnit, bool withAI);
    void RemoveDefender(TUnit* unit, bool deleteUnit, bool withAI);
    // From whichever place holds it; false when none does.
    bool RemoveUnit(TUnit* unit, bool deleteUnit, bool withAI);
    void RemoveAllUnits(bool withAI);
    // Rows beyond n are dropped; their defenders join the other units.
    void SetRowCount(int n);
    void LoadDefenderGroup(int row);
    void ReleaseDefenderGroup();
    void MoveGateGroupToOtherUnits();
    void SortOtherUnits();

    // Actions.
    void PostMoveUnit(uint32_t from, uint32_t unitID, uint32_t to, int32_t row) const;
    // False, changing nothing, unless the unit is in place from and the target has
    // room (a defender row from 0 to the row count, or -1 for the first with room).
    bool MoveUnit(uint32_t from, uint32_t unitID, uint32_t to, int32_t row);
    void ChangeOwner(uint8_t newOwner, int mode);
    void ExpelHostileUnits();
    void EnterGroup(TGroup& group);
    void PrepareLeave();
    void NewTurn();
    void Update();

    // Merchants.
    void PostVisitMerchant(const TMerchant& merchant) const;
    void PostPurchase(uint32_t kind, uint32_t unitID, uint32_t item, uint32_t playerIndex) const;
    // Purchases: false, changing nothing, when the unit or player is unknown, the buyer
    // does not own the town, the merchant is not one the town has or does not offer the
    // item, a unit other than a hire does not serve the buyer, the unit cannot take it
    // (a skill also needs the action points it costs) or the buyer lacks the gold.
    bool HireUnit(uint32_t unitID, int player);
    bool RestoreMana(uint32_t unitID, int player);
    bool BuySpell(uint32_t spellID, uint32_t unitID, int player);
    bool TrainSkill(uint32_t skillID, uint32_t unitID, bool fromHerbalist, int player);
    bool HealUnit(uint32_t unitID, int player);
    bool BuyDrink(uint32_t unitID, int player);
    // Runs a purchase action's arguments: kind, unit ID, buyer's index, item.
    bool Purchase(uint32_t kind, uint32_t unitID, uint32_t player, uint32_t item);
    // What the purchase costs; -1 when it cannot be made.
    int64_t PurchasePrice(uint32_t kind, uint32_t unitID, uint32_t player, uint32_t item) const;

    std::array<uint32_t, 2> LeadingValues{}; // kept through save and load; no reader yet
    uint8_t Owner = NoOwner;
    std::unique_ptr<TGroup> DefenderGroup;
    std::unique_ptr<TGroup> GateGroup;
    std::vector<TUnit*> DefenderSlots; // RowCount x 3 places; each row packed from its first
    Data::TObjectList<TUnit> OtherUnits{false};
    Data::TObjectList<TUnit> Civilians{false};
    int32_t RowCount = 1;
    uint32_t RowValue = 0; // kept; no reader yet
    uint32_t MusicID = 0;
    std::array<uint32_t, 2> TrailingValues{}; // kept; no reader yet
    TArea KeptArea;                           // kept; no reader yet
    Data::TDynamicArray<TCityDecoration> Decorations;
    uint32_t EntryCostFlag = 0;
    TInnkeeperMerchant Innkeeper;
    TMageMerchant Mage;
    TBattleMasterMerchant BattleMaster;
    THerbalistMerchant Herbalist;
    TCustomMerchant Custom1;
    TCustomMerchant Custom2;

private:
    std::array<TMerchant*, 6> Merchants();
    std::array<const TMerchant*, 6> Merchants() const;
    void LetUnitsGo();
    void TakeUnit(TUnit* unit, bool withAI);
    void ReleaseUnit(TUnit* unit, bool deleteUnit, bool withAI);
    TUnit* FindPurchaseUnit(uint32_t unitID) const;
    void TakeOver(TUnit& unit, uint8_t newOwner);
    void DeleteUnitOf(TUnit* unit, bool tellPlanner);
    void DrawDecorations(Win32::IDirectDrawSurface7* target, int viewX, const RECT& clip, int viewY,
                         bool animated);
};

} // namespace GameData
