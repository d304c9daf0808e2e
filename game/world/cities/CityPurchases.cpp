// Purchases at a city's merchants. They arrive as actions from the screens, the
// computer player and other machines alike, so each is priced and checked first and
// refused with nothing changed when it cannot be made.
#include "game/world/cities/City.h"
#include "game/world/data/GlobalData.h"
#include "game/world/data/LoadedGlobalData.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/units/Unit.h"

#include <algorithm>

namespace GameData {

namespace {

constexpr int64_t Refused = -1;

bool IsMaskedID(uint32_t id) {
    return id >= 1 && id <= uint32_t(PriceTableSize);
}

// A price of 0 in a table means the merchant does not offer the item.
int64_t Offered(const TPriceTable& prices, uint32_t id) {
    if (!IsMaskedID(id) || prices[id - 1] == 0)
        return Refused;
    return prices[id - 1];
}

int32_t Missing(const TUnit& unit, TUnitStat pool) {
    return std::max(0, unit.Effective.AtLevel(pool) - unit.Effective.Value(pool));
}

// A skill is learnt at the cost of action points the unit must still have.
bool HasActionPointsFor(const TUnit& unit, uint32_t skillID) {
    const Data2::TSkillPrototype* skill = Data2::FindSkillByID(int(skillID));
    return skill && skill->APCost <= unit.Effective.Value(ACTIONPOINTS);
}

// The merchant selling a purchase kind; null for an unknown kind.
const TMerchant* SellerOf(const TCity& city, uint32_t kind) {
    switch (kind) {
    case pkHireUnit:
    case pkBuyDrink:
        return &city.Innkeeper;
    case pkRestoreMana:
    case pkBuySpell:
        return &city.Mage;
    case pkTrainSkill:
        return &city.BattleMaster;
    case pkHealWounds:
    case pkObtainAbility:
        return &city.Herbalist;
    default:
        return nullptr;
    }
}

} // namespace

void TCity::PostVisitMerchant(const TMerchant& merchant) const {
    if (merchant.Type < mtInnkeeper || merchant.Type > mtHerbalist || !Scenario ||
        !Scenario->CurrentPlayer)
        return;
    Scenario->CurrentPlayer->PostAction(true,
                                        MakeAction(acVisitMerchant, merchant.Type - mtInnkeeper));
}

void TCity::PostPurchase(uint32_t kind, uint32_t unitID, uint32_t item,
                         uint32_t playerIndex) const {
    if (Scenario && Scenario->CurrentPlayer)
        Scenario->CurrentPlayer->PostAction(
            true, MakeAction(acMerchantPurchase, kind, unitID, playerIndex, item));
}

TUnit* TCity::FindPurchaseUnit(uint32_t unitID) const {
    TUnit* unit = Scenario ? Scenario->Units.FindByID(unitID) : nullptr;
    // Only units in the city are served: in a place or at the gate.
    if (!unit || !(unit->Owner == this || GateGroup->FindUnitByID(unitID) == unit))
        return nullptr;
    return unit;
}

int64_t TCity::PurchasePrice(uint32_t kind, uint32_t unitID, uint32_t player, uint32_t item) const {
    const TUnit* unit = FindPurchaseUnit(unitID);
    const TPlayer* buyer =
        player < uint32_t(MaxPlayers) ? Scenario->PlayerAt(int(player)) : nullptr;
    const TMerchant* seller = SellerOf(*this, kind);
    // Only the town's owner trades here, at a merchant the town has; everything but a
    // hire is for a unit serving the buyer.
    if (!unit || !buyer || player != Owner || !seller || !seller->Enabled)
        return Refused;
    if (kind != pkHireUnit && unit->GetPlayer() != buyer)
        return Refused;
    switch (kind) {
    case pkHireUnit:
        if (!IsCivilian(*unit))
            return Refused;
        return std::max<int64_t>(0, int64_t(unit->Effective.Level()) *
                                        unit->Effective.PricePerLevel());
    case pkRestoreMana:
        return int64_t(Missing(*unit, MANA)) * Mage.ManaPrice;
    case pkBuySpell:
        if (!IsMaskedID(item) || !unit->CanLearnSpell(int(item)) || unit->KnowsSpell(int(item)) ||
            !unit->HasLevelForSpell(int(item)))
            return Refused;
        return Offered(Mage.SpellPrices, item);
    case pkTrainSkill:
    case pkObtainAbility:
        if (!IsMaskedID(item) || !unit->CanLearnSkill(int(item)) || unit->HasSkill(int(item)) ||
            !unit->HasLevelForSkill(int(item)) || !HasActionPointsFor(*unit, item))
            return Refused;
        return Offered(kind == pkTrainSkill ? BattleMaster.SkillPrices : Herbalist.AbilityPrices,
                       item);
    case pkHealWounds:
        return int64_t(Missing(*unit, HITPOINTS)) * Herbalist.HealPrice;
    case pkBuyDrink:
        return Innkeeper.BeerPrice;
    default:
        return Refused;
    }
}

bool TCity::Purchase(uint32_t kind, uint32_t unitID, uint32_t player, uint32_t item) {
    const int64_t price = PurchasePrice(kind, unitID, player, item);
    if (price < 0)
        return false;
    TPlayer& buyer = *Scenario->PlayerAt(int(player));
    if (price > buyer.Gold)
        return false;
    TUnit& unit = *FindPurchaseUnit(unitID);
    const int32_t* constants = Data2::GlobalData->GameConstants;
    switch (kind) {
    case pkHireUnit:
        RemoveCivilian(&unit, false, true);
        unit.Marker = uint8_t(player);
        AddOtherUnit(&unit, true);
        break;
    case pkRestoreMana:
    case pkHealWounds: {
        const TUnitStat pool = kind == pkRestoreMana ? MANA : HITPOINTS;
        const int32_t missing = Missing(unit, pool);
        if (missing > 0) {
            unit.Own.Value(pool) = int16_t(unit.Own.Value(pool) + missing);
            unit.RecalculateStats(false);
        }
        break;
    }
    case pkBuySpell:
        unit.LearnSpell(int(item));
        break;
    case pkTrainSkill:
    case pkObtainAbility: {
        const int index = Data2::GlobalData->FindSkill(int(item));
        const int32_t cost = Data2::GlobalData->SkillPrototypes[index].APCost;
        unit.LearnSkill(int(item));
        unit.AddActionPoints(-cost);
        break;
    }
    case pkBuyDrink: {
        const int32_t gain = std::min(constants[Data2::gcDrinkMoraleCap] - unit.Effective.Morale(),
                                      constants[Data2::gcDrinkMorale]);
        if (gain > 0)
            unit.ChangeMorale(gain);
        auto effect = std::make_unique<TAfterEffect>();
        effect->Delta.Value(ATTACK) = int16_t(-constants[Data2::gcDrinkPenalty]);
        effect->Delta.Value(COUNTERATTACK) = int16_t(-constants[Data2::gcDrinkPenalty]);
        effect->Duration = constants[Data2::gcDrinkDuration];
        effect->Kind = 0;
        unit.AddEffect(std::move(effect));
        break;
    }
    }
    buyer.Gold -= int32_t(price);
    return true;
}

bool TCity::HireUnit(uint32_t unitID, int player) {
    return Purchase(pkHireUnit, unitID, uint32_t(player), 0);
}

bool TCity::RestoreMana(uint32_t unitID, int player) {
    return Purchase(pkRestoreMana, unitID, uint32_t(player), 0);
}

bool TCity::BuySpell(uint32_t spellID, uint32_t unitID, int player) {
    return Purchase(pkBuySpell, unitID, uint32_t(player), spellID);
}

bool TCity::TrainSkill(uint32_t skillID, uint32_t unitID, bool fromHerbalist, int player) {
    return Purchase(fromHerbalist ? pkObtainAbility : pkTrainSkill, unitID, uint32_t(player),
                    skillID);
}

bool TCity::HealUnit(uint32_t unitID, int player) {
    return Purchase(pkHealWounds, unitID, uint32_t(player), 0);
}

bool TCity::BuyDrink(uint32_t unitID, int player) {
    return Purchase(pkBuyDrink, unitID, uint32_t(player), 0);
}

} // namespace GameData
