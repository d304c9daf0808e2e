// The checks a merchant's button makes before it posts a purchase: the first that fails
// says why on the message line, so their order decides what the player reads.
#include "ui/screens/CityPurchaseChecks.h"
#include "game/world/cities/City.h"
#include "game/world/data/GlobalData.h"
#include "game/world/data/LoadedGlobalData.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/units/Unit.h"
#include "ui/game/Game.h"
#include "ui/screens/CityWindow.h"

#include <algorithm>

namespace Main {

namespace {

using GameData::TUnit;

int64_t Missing(const TUnit& unit, GameData::TUnitStat pool) {
    return std::max(0, unit.Effective.AtLevel(pool) - unit.Effective.Value(pool));
}

int32_t SkillAPCost(int id) {
    const Data2::TSkillPrototype* skill = Data2::FindSkillByID(id);
    return skill ? skill->APCost : 0;
}

// The messages of a learning check, by refusal.
struct TLearnMessages {
    const char* Known;
    const char* NotLearnable;
    const char* NoLevel;
    const char* NoGold;
};

const char* RefusalMessage(TLearnRefusal refusal, const TLearnMessages& messages) {
    switch (refusal) {
    case lrKnown:
        return messages.Known;
    case lrNotLearnable:
        return messages.NotLearnable;
    case lrNoLevel:
        return messages.NoLevel;
    case lrNoGold:
        return messages.NoGold;
    case lrNoActionPoints:
        return "Not enough action points!";
    default:
        return nullptr;
    }
}

} // namespace

TLearnRefusal SpellRefusal(const TUnit& unit, int id, int64_t price, int64_t gold) {
    if (unit.KnowsSpell(id))
        return lrKnown;
    if (!unit.CanLearnSpell(id))
        return lrNotLearnable;
    if (!unit.HasLevelForSpell(id))
        return lrNoLevel;
    if (price > gold)
        return lrNoGold;
    return lrNone;
}

TLearnRefusal SkillRefusal(const TUnit& unit, int id, int64_t price, int64_t gold) {
    if (unit.HasSkill(id))
        return lrKnown;
    if (!unit.CanLearnSkill(id))
        return lrNotLearnable;
    if (!unit.HasLevelForSkill(id))
        return lrNoLevel;
    if (price > gold)
        return lrNoGold;
    if (SkillAPCost(id) > unit.Effective.Value(GameData::ACTIONPOINTS))
        return lrNoActionPoints;
    return lrNone;
}

GameData::TPlayer* TCityWindow::Buyer() const {
    return EnteredTown() ? CommandingPlayer() : nullptr;
}

const TOfferTable::TOffer* TCityWindow::ChosenOffer(const TSpellListBox& list) {
    const int row = list.Selection();
    if (!list.Offers || row < 0 || row >= list.Offers->Count)
        return nullptr;
    return &list.Offers->Offers[size_t(row)];
}

void TCityWindow::PostPurchase(uint32_t kind, const GameData::TUnit& unit, uint32_t item) const {
    EnteredTown()->PostPurchase(kind, unit.ID, item, uint32_t(FScenario->CurrentPlayerIndex));
}

void TCityWindow::TryHire() {
    const GameData::TPlayer* buyer = Buyer();
    if (!buyer)
        return;
    const GameData::TCity& town = *EnteredTown();
    if (HireCandidate < 0 || HireCandidate >= town.Civilians.Count())
        return;
    const TUnit& candidate = *town.Civilians[HireCandidate];
    const int64_t price =
        int64_t(candidate.Effective.Level()) * candidate.Effective.PricePerLevel();
    if (price > buyer->Gold)
        FGame.ShowMessage("Not enough gold to hire unit");
    else
        PostPurchase(GameData::pkHireUnit, candidate, 0);
}

void TCityWindow::TryBuyDrink() {
    const GameData::TPlayer* buyer = Buyer();
    if (!buyer || !SelectedUnit)
        return;
    if (int64_t(EnteredTown()->Innkeeper.BeerPrice) > buyer->Gold)
        FGame.ShowMessage("Not enough gold to buy drink");
    else
        PostPurchase(GameData::pkBuyDrink, *SelectedUnit, 0);
}

void TCityWindow::TryRestoreMana() {
    const GameData::TPlayer* buyer = Buyer();
    if (!buyer || !SelectedUnit)
        return;
    const int64_t price = Missing(*SelectedUnit, GameData::MANA) * EnteredTown()->Mage.ManaPrice;
    if (price > buyer->Gold)
        FGame.ShowMessage("Not enough gold to restore mana");
    else
        PostPurchase(GameData::pkRestoreMana, *SelectedUnit, 0);
}

void TCityWindow::TryBuySpell() {
    const GameData::TPlayer* buyer = Buyer();
    const TOfferTable::TOffer* offer = ChosenOffer(*SpellList);
    if (!buyer || !SelectedUnit || !offer)
        return;
    const int id = offer->Index + 1;
    static constexpr TLearnMessages messages{
        "Unit already knows this spell", "Unit can't learn this spell",
        "Unit hasn't level to learn this spell", "Not enough gold to buy spell"};
    if (const char* refusal =
            RefusalMessage(SpellRefusal(*SelectedUnit, id, offer->Price, buyer->Gold), messages))
        FGame.ShowMessage(refusal);
    else
        PostPurchase(GameData::pkBuySpell, *SelectedUnit, uint32_t(id));
}

void TCityWindow::TryTrainSkill() {
    const GameData::TPlayer* buyer = Buyer();
    const TOfferTable::TOffer* offer = ChosenOffer(*SkillList);
    if (!buyer || !SelectedUnit || !offer)
        return;
    const int id = offer->Index + 1;
    static constexpr TLearnMessages messages{
        "Unit already knows this skill", "Unit can't learn this skill",
        "Unit hasn't level to learn this skill", "Not enough gold to train skill"};
    if (const char* refusal =
            RefusalMessage(SkillRefusal(*SelectedUnit, id, offer->Price, buyer->Gold), messages))
        FGame.ShowMessage(refusal);
    else
        PostPurchase(GameData::pkTrainSkill, *SelectedUnit, uint32_t(id));
}

void TCityWindow::TryHeal() {
    const GameData::TPlayer* buyer = Buyer();
    if (!buyer || !SelectedUnit)
        return;
    const int64_t price =
        Missing(*SelectedUnit, GameData::HITPOINTS) * EnteredTown()->Herbalist.HealPrice;
    if (price > buyer->Gold)
        FGame.ShowMessage("Not enough gold to heal wounds");
    else
        PostPurchase(GameData::pkHealWounds, *SelectedUnit, 0);
}

void TCityWindow::TryBuyAbility() {
    const GameData::TPlayer* buyer = Buyer();
    const TOfferTable::TOffer* offer = ChosenOffer(*AbilityList);
    if (!buyer || !SelectedUnit || !offer)
        return;
    const int id = offer->Index + 1;
    static constexpr TLearnMessages messages{
        "Unit already has this ability", "Unit can't obtain this ability",
        "Unit hasn't level to learn this ability", "Not enough gold to buy ability"};
    if (const char* refusal =
            RefusalMessage(SkillRefusal(*SelectedUnit, id, offer->Price, buyer->Gold), messages))
        FGame.ShowMessage(refusal);
    else
        PostPurchase(GameData::pkObtainAbility, *SelectedUnit, uint32_t(id));
}

} // namespace Main
