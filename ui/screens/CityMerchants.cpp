// The town's merchants: visiting one, its panel for the selected unit, carrying out the
// purchases, and closing it again.
#include "engine/graphics/GfxFont.h"
#include "engine/graphics/GfxPixels.h"
#include "engine/graphics/GfxRects.h"
#include "engine/graphics/Sprite.h"
#include "engine/graphics/SpriteList.h"
#include "game/world/cities/City.h"
#include "game/world/data/GlobalData.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/units/Unit.h"
#include "ui/game/Game.h"
#include "ui/game/UnitDrawing.h"
#include "ui/screens/CityArt.h"
#include "ui/screens/CityWindow.h"

#include "game/world/players/ActionValidation.h"
#include "ui/screens/FaceControl.h"
#include "ui/widgets/MenuButtons.h"
#include "ui/widgets/SpriteScrollBar.h"
#include "ui/widgets/WidgetArt.h"

#include <algorithm>

namespace Main {

namespace {

using GameData::TCity;
using GameData::TUnit;

// The merchant view's controls.
constexpr int PriceX = 229, PriceY = 86, MerchantButtonY = 125, BuyX = 614;
constexpr int ListX = 25, ListY = 172;
// The inn's hire grid: centred on x 400.
constexpr int HireColumns = 7, HireCellWidth = 104, HireCellHeight = 140, HireRows = 2;
constexpr int HireY = 175, HireBarWidth = 15, HireBarHeight = 260;
constexpr int HireX = 400 - HireColumns * HireCellWidth / 2;
constexpr int ScrollBarWidth = 15;
// Interface fonts of the merchant view.
constexpr int ButtonFont = 1, PriceFont = 0;
constexpr uint32_t ChosenOutline = 0xC0C0C0;
constexpr int HumanKind = 1;

// The merchant of a building 0..5 (inn, mage, battlemaster, herbalist, two houses).
const GameData::TMerchant* MerchantOf(const TCity& town, int32_t building) {
    switch (building) {
    case 0:
        return &town.Innkeeper;
    case 1:
        return &town.Mage;
    case 2:
        return &town.BattleMaster;
    case 3:
        return &town.Herbalist;
    case 4:
        return &town.Custom1;
    case 5:
        return &town.Custom2;
    default:
        return nullptr;
    }
}

TMenuButton* MakeButton(TCityWindow* window, int x, int y) {
    auto* button = new TMenuButton(window, window);
    button->SetPosition(x, y);
    Gfx::TFont* font = InterfaceFont(ButtonFont);
    button->SetFonts(font, font, font, font);
    button->SetBackground(CommonSprite(csMenuButton));
    button->AutoSize();
    button->Hide();
    return button;
}

// The text fills the button's background when it has one.
void SetButtonText(TMenuButton* button, const ClassLib::AnsiString& text) {
    button->SetText(text);
    if (CommonSprite(csMenuButton)) {
        button->CenterTextHorizontally();
        button->CenterTextVertically();
    } else {
        button->AutoSize();
    }
}

TSpriteScrollBar* MakeScrollBar(TCityWindow* window) {
    std::array<Gfx::TSprite*, ScrollBarSpriteCount> sprites{};
    for (int part = 0; part < ScrollBarSpriteCount; ++part)
        sprites[size_t(part)] = CommonSprite(csFirstScrollPart + part);
    const Gfx::TSprite* arrow = sprites[sbsUpNormal];
    const Gfx::TSprite* thumb = sprites[sbsThumbNormal];
    auto* bar = new TSpriteScrollBar(window, DXWin::sbVertical, arrow ? arrow->Height : 16,
                                     thumb ? thumb->Height : 20);
    bar->SetSprites(sprites);
    bar->SetSize(ScrollBarWidth, HireBarHeight);
    bar->Hide();
    return bar;
}

// Room left for a pool to fill: its level value less its current value.
int32_t Missing(const TUnit& unit, GameData::TUnitStat pool) {
    return std::max(0, unit.Effective.AtLevel(pool) - unit.Effective.Value(pool));
}

// Keeps the offers whose entry the test admits, in their order.
template <typename TAdmit>
void DropOffers(TOfferTable& offers, TAdmit admit) {
    int kept = 0;
    for (int i = 0; i < offers.Count; ++i)
        if (admit(offers.Offers[size_t(i)].Index))
            offers.Offers[size_t(kept++)] = offers.Offers[size_t(i)];
    offers.Count = kept;
}

} // namespace

void TCityWindow::CreateMerchantControls() {
    PriceLabel = MakeButton(this, PriceX, PriceY);
    PriceLabel->Disable();
    PriceLabel->SetFont(InterfaceFont(PriceFont));
    MerchantButton = MakeButton(this, PriceX, MerchantButtonY);
    MerchantButton->OnClick = [this](DXWin::TDXControl*) {
        switch (OpenMerchant) {
        case omInn:
            TryBuyDrink();
            break;
        case omMage:
            TryRestoreMana();
            break;
        case omHerbalist:
            TryHeal();
            break;
        default:
            break; // the battlemaster sells no morale
        }
    };
    BuyButton = MakeButton(this, BuyX, MerchantButtonY);
    BuyButton->OnClick = [this](DXWin::TDXControl*) {
        switch (OpenMerchant) {
        case omInn:
            TryHire();
            break;
        case omMage:
            TryBuySpell();
            break;
        case omBattleMaster:
            TryTrainSkill();
            break;
        case omHerbalist:
            TryBuyAbility();
            break;
        default:
            break;
        }
    };

    HireGrid = new TFaceControl(this, this, DXWin::csEnabled);
    HireGrid->ColumnCount = HireColumns;
    HireGrid->RowCount = HireRows;
    HireGrid->VisibleRowCount = HireRows;
    HireGrid->CellWidth = HireCellWidth;
    HireGrid->CellHeight = HireCellHeight;
    HireGrid->SetPosition(HireX, HireY);
    HireGrid->SetSize(HireColumns * HireCellWidth, HireRows * HireCellHeight);
    HireGrid->OnDrawCell = [this](int row, int column, const Win32::RECT& rect,
                                  Win32::IDirectDrawSurface7* target) {
        DrawHireCell(row, column, rect, target);
    };
    HireGrid->OnMouseDown = [this](int button, DXWin::TShiftState, int x, int y) {
        HireGridMouseDown(button, x, y);
    };
    HireScrollBar = MakeScrollBar(this);
    HireScrollBar->SetPosition(HireX + HireColumns * HireCellWidth - 7, HireY);
    HireScrollBar->SetSize(HireBarWidth, HireBarHeight);
    HireGrid->ScrollBar = HireScrollBar;
    HireGrid->Hide();

    const auto makeList = [this](uint8_t mode) {
        TSpriteScrollBar* bar = MakeScrollBar(this);
        auto* list = new TSpellListBox(this, TSpellListBox::Width, mode, TSpellListBox::Rows, bar);
        list->SetPosition(ListX, ListY);
        list->Hide();
        return list;
    };
    SpellList = makeList(slSpells);
    SkillList = makeList(slSkills);
    AbilityList = makeList(slSkills);
}

GameData::TCity* TCityWindow::EnteredTown() const {
    return FScenario && FScenario->CurrentPlayer
               ? GameData::FindEnteredCity(*FScenario, *FScenario->CurrentPlayer)
               : nullptr;
}

void TCityWindow::TakeBuildingPictures(const GameData::TMerchant& merchant, bool portrait) {
    Gfx::TSpriteList& library = FScenario->SpriteLibrary;
    library.ReleaseSpriteByPointer(BuildingPicture);
    BuildingPicture =
        merchant.PictureID != 0 ? library.TryAcquireSprite(merchant.PictureID) : nullptr;
    if (!portrait)
        return;
    library.ReleaseSpriteByPointer(MerchantPicture);
    MerchantPicture = merchant.Value3 != 0 ? library.TryAcquireSprite(merchant.Value3) : nullptr;
}

void TCityWindow::ReleaseBuildingPictures() {
    // Once the game has let its scenario go, the pictures went with its library.
    if (FScenario && FGame.Scenario.get() == FScenario) {
        FScenario->SpriteLibrary.ReleaseSpriteByPointer(BuildingPicture);
        FScenario->SpriteLibrary.ReleaseSpriteByPointer(MerchantPicture);
    }
    BuildingPicture = MerchantPicture = nullptr;
}

bool TCityWindow::VisitMerchant(int32_t building) {
    TCity* town = EnteredTown();
    const GameData::TMerchant* merchant = town ? MerchantOf(*town, building) : nullptr;
    if (!merchant || !merchant->Enabled)
        return false;
    if (building == OpenMerchant)
        return true;
    const bool opensPanel = building <= omHerbalist;
    if (opensPanel)
        OpenMerchant = building;
    if (LocalPlayer()) {
        // A house shows its picture beside the open merchant's portrait.
        TakeBuildingPictures(*merchant, opensPanel);
        switch (building) {
        case omInn:
            HireCandidate = 0;
            HireScrollBar->SetPositionValue(0);
            HireScrollBar->UpdatePosition(false);
            RefreshInnPanel();
            break;
        case omMage:
        case omBattleMaster:
        case omHerbalist: {
            TSpellListBox* list = building == omMage           ? SpellList
                                  : building == omBattleMaster ? SkillList
                                                               : AbilityList;
            list->SetTopRow(0);
            list->SetSelection(0);
            RefreshMerchantPanel();
            break;
        }
        default:
            break;
        }
        UpdatePanels();
        PaintBackdrop();
    }
    FScenario->TriggerConversations(FScenario->CurrentPlayerIndex, GameData::ceBuilding,
                                    int32_t(merchant->ID));
    return true;
}

void TCityWindow::CloseMerchant() {
    OpenMerchant = omNone;
    ReleaseBuildingPictures();
    PaintBackdrop();
    LayOutPanels();
    UpdatePanels();
}

bool TCityWindow::ApplyPurchase(int32_t kind, int32_t unitID, int32_t player, int32_t item) {
    TCity* town = EnteredTown();
    // The buyer is the player on turn: an action naming another is refused, not
    // charged to whoever it names.
    if (!town || player != FScenario->CurrentPlayerIndex)
        return false;
    const auto unit = uint32_t(unitID);
    const auto id = uint32_t(item);
    const char* message = nullptr;
    bool done = false;
    switch (kind) {
    case GameData::pkHireUnit:
        done = town->HireUnit(unit, player);
        message = "Unit hired";
        break;
    case GameData::pkRestoreMana:
        done = town->RestoreMana(unit, player);
        message = "Mana restored";
        break;
    case GameData::pkBuySpell:
        done = town->BuySpell(id, unit, player);
        message = "Spell bought";
        break;
    case GameData::pkTrainSkill:
        done = town->TrainSkill(id, unit, false, player);
        message = "Skill trained";
        break;
    case GameData::pkHealWounds:
        done = town->HealUnit(unit, player);
        message = "Unit healed";
        break;
    case GameData::pkObtainAbility:
        done = town->TrainSkill(id, unit, true, player);
        message = "Ability obtained";
        break;
    case GameData::pkBuyDrink:
        done = town->BuyDrink(unit, player);
        message = "Drink bought";
        break;
    default:
        break;
    }
    if (!done)
        return false;
    if (LocalPlayer()) {
        switch (kind) {
        case GameData::pkHireUnit:
        case GameData::pkBuyDrink:
            if (HireCandidate >= town->Civilians.Count())
                HireCandidate = std::max(0, town->Civilians.Count() - 1);
            RefreshInnPanel();
            break;
        case GameData::pkRestoreMana:
        case GameData::pkBuySpell:
            RefreshMagePanel();
            break;
        case GameData::pkTrainSkill:
            RefreshBattleMasterPanel();
            break;
        default:
            RefreshHerbalistPanel();
            break;
        }
        FGame.ShowMessage(message);
        UpdatePanels();
    }
    return true;
}

void TCityWindow::UpdatePanels() {
    const bool open = OpenMerchant != omNone;
    for (size_t i = 0; i < Containers.size(); ++i)
        if (Containers[i])
            // Civilians reach the player only through the inn's hire grid.
            Containers[i]->SetVisible(!open && i != size_t(cpnCivilians - 1));
    const bool withPrice = open && OpenMerchant != omBattleMaster;
    PriceLabel->SetVisible(withPrice);
    MerchantButton->SetVisible(withPrice);
    BuyButton->SetVisible(open);
    HireGrid->SetVisible(OpenMerchant == omInn);
    HireScrollBar->SetVisible(OpenMerchant == omInn && HireGrid->RowCount > HireRows);
    SpellList->SetVisible(OpenMerchant == omMage);
    SkillList->SetVisible(OpenMerchant == omBattleMaster);
    AbilityList->SetVisible(OpenMerchant == omHerbalist);
    if (GoldDisplay) {
        GoldDisplay->SetVisible(open);
        GoldDisplay->SetHint("Your gold");
        GoldDisplay->SetText(ClassLib::IntToStr(ShownGold()));
    }
    if (LeaveButton) {
        static const char* const hints[] = {"Leave inn", "Leave mage", "Leave battlemaster",
                                            "Leave herbalist"};
        LeaveButton->SetHint(open ? hints[OpenMerchant] : "Leave town");
    }
}

int64_t TCityWindow::ShownGold() const {
    const GameData::TPlayer* player = FScenario ? FScenario->CurrentPlayer : nullptr;
    return player ? player->Gold : 0;
}

void TCityWindow::RefreshMerchantPanel() {
    switch (OpenMerchant) {
    case omInn:
        RefreshInnPanel();
        break;
    case omMage:
        RefreshMagePanel();
        break;
    case omBattleMaster:
        RefreshBattleMasterPanel();
        break;
    case omHerbalist:
        RefreshHerbalistPanel();
        break;
    default:
        break;
    }
}

void TCityWindow::RefreshInnPanel() {
    const TCity* town = EnteredTown();
    if (!town)
        return;
    const TUnit* unit = SelectedUnit;
    const bool human = unit && unit->Prototype && unit->Prototype->CreatureType == HumanKind;
    PriceLabel->SetHint("Price for one beer");
    SetButtonText(PriceLabel, human ? ClassLib::IntToStr(town->Innkeeper.BeerPrice) : "0");
    MerchantButton->SetHint("Buy drink to selected unit");
    SetButtonText(MerchantButton, "Buy drink");
    MerchantButton->SetEnabled(human);

    const int count = town->Civilians.Count();
    HireGrid->RowCount = std::max(HireRows, count > 0 ? (count - 1) / HireColumns + 1 : 0);
    if (HireGrid->RowCount > HireRows) {
        HireScrollBar->SetRange(0, HireGrid->RowCount - HireRows);
        HireScrollBar->UpdatePosition(false);
    }
    HireCandidate = std::clamp(HireCandidate, 0, std::max(0, count - 1));
    BuyButton->SetHint("Hire selected unit");
    SetButtonText(BuyButton, "HIRE");
    BuyButton->SetEnabled(count > 0);
}

void TCityWindow::RefreshMagePanel() {
    const TCity* town = EnteredTown();
    if (!town)
        return;
    const TUnit* unit = SelectedUnit;
    const bool refill =
        unit && unit->Effective.AtLevel(GameData::MANA) > 0 && Missing(*unit, GameData::MANA) > 0;
    PriceLabel->SetHint("Price for restoring mana");
    SetButtonText(PriceLabel, refill ? ClassLib::IntToStr(int64_t(Missing(*unit, GameData::MANA)) *
                                                          town->Mage.ManaPrice)
                                     : "0");
    MerchantButton->SetHint("Restore mana of selected unit");
    SetButtonText(MerchantButton, "BUY MANA");
    MerchantButton->SetEnabled(refill);

    BuildOffers(town->Mage.SpellPrices, SpellOffers);
    // Only spells the game knows can be shown and learnt.
    DropOffers(SpellOffers, [](int index) {
        return GameData::TMageMerchant::GetSpellPrototype(index) != nullptr;
    });
    SpellList->SetOffers(this, &SpellOffers, unit, ShownGold());
    BuyButton->SetHint("Buy selected spell");
    SetButtonText(BuyButton, "BUY");
    BuyButton->SetEnabled(SpellOffers.Count > 0);
}

void TCityWindow::RefreshBattleMasterPanel() {
    const TCity* town = EnteredTown();
    if (!town)
        return;
    // No morale is sold; the two controls stay hidden while the battlemaster is open.
    PriceLabel->SetHint("Price for restoring morale to 50");
    SetButtonText(PriceLabel, "0");
    MerchantButton->SetHint("Restores morale to level of 50");
    SetButtonText(MerchantButton, "BALANCE");
    MerchantButton->Disable();

    BuildOffers(town->BattleMaster.SkillPrices, SkillOffers);
    DropOffers(SkillOffers, [](int index) {
        return GameData::TBattleMasterMerchant::GetSkillPrototype(index) != nullptr;
    });
    SkillList->SetOffers(this, &SkillOffers, SelectedUnit, ShownGold());
    BuyButton->SetHint("Train selected skill");
    SetButtonText(BuyButton, "BUY");
    BuyButton->SetEnabled(SkillOffers.Count > 0);
}

void TCityWindow::RefreshHerbalistPanel() {
    const TCity* town = EnteredTown();
    if (!town)
        return;
    const TUnit* unit = SelectedUnit;
    const bool heal = unit && Missing(*unit, GameData::HITPOINTS) > 0;
    PriceLabel->SetHint("Price for healing wounds");
    SetButtonText(PriceLabel,
                  heal ? ClassLib::IntToStr(int64_t(Missing(*unit, GameData::HITPOINTS)) *
                                            town->Herbalist.HealPrice)
                       : "0");
    MerchantButton->SetHint("Heal wounds of selected unit");
    SetButtonText(MerchantButton, "HEAL");
    MerchantButton->SetEnabled(heal);

    BuildOffers(town->Herbalist.AbilityPrices, AbilityOffers);
    DropOffers(AbilityOffers, [](int index) {
        return GameData::TBattleMasterMerchant::GetSkillPrototype(index) != nullptr;
    });
    AbilityList->SetOffers(this, &AbilityOffers, unit, ShownGold());
    BuyButton->SetHint("Buy selected ability");
    SetButtonText(BuyButton, "BUY");
    BuyButton->SetEnabled(AbilityOffers.Count > 0);
}

void TCityWindow::BuildOffers(const std::array<uint32_t, 64>& prices, TOfferTable& offers) {
    offers = {};
    for (size_t index = 0; index < prices.size(); ++index) {
        // Stored unsigned: a price past the signed range is no offer either.
        const auto price = int32_t(prices[index]);
        if (price > 0)
            offers.Offers[size_t(offers.Count++)] = {int32_t(index), price};
    }
}

void TCityWindow::DrawHireCell(int row, int column, const Win32::RECT& rect,
                               Win32::IDirectDrawSurface7* target) {
    const TCity* town = EnteredTown();
    const int index = row * HireColumns + column;
    if (!town || index >= town->Civilians.Count())
        return;
    const TUnit* unit = town->Civilians[index];
    const GameData::TPlayer* owner = town->GetUnitPlayer(*unit);
    const int64_t price = int64_t(unit->Effective.Level()) * unit->Effective.PricePerLevel();
    DrawUnitFace(owner ? owner->GetPlayerSprite() : nullptr, nullptr, unit,
                 InterfaceFont(PriceFont), ClassLib::IntToStr(price), ufPortrait | ufAvailable,
                 rect, target);
    if (index == HireCandidate)
        Gfx::FrameRect(target, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                       Gfx::PackColor565(ChosenOutline), nullptr);
}

void TCityWindow::HireGridMouseDown(int button, int x, int y) {
    const TCity* town = EnteredTown();
    int row = -1, column = -1;
    if (!town || !HireGrid->HitTest(x, y, row, column))
        return;
    const int index = row * HireColumns + column;
    if (index < 0 || index >= town->Civilians.Count())
        return;
    if (button == DXWin::mbLeft) {
        HireCandidate = index;
        RefreshInnPanel();
    } else if (button == DXWin::mbRight) {
        const Win32::POINT at = HireGrid->LocalToScreen({x, y});
        FGame.ShowUnitSheet(town->Civilians[index], at.x, at.y);
    }
}

} // namespace Main
