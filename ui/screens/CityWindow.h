// The town screen, shown in place of the map while the group of the player at this
// machine stands in a town: the town's picture, the gate group, the defender rows, the
// other units, the buttons of the town's buildings and, with a building open, that
// merchant's panel. Every change is posted as a player action; the handlers below carry
// the actions out for every player alike and touch this machine's screen only for the
// player who sits here.
#pragma once

#include "ui/game/TownScreen.h"
#include "ui/screens/SpellListBox.h"
#include "ui/widgets/VRNWindow.h"

#include <array>
#include <cstdint>

namespace DXWin {
class TDXButton;
class TDXGroup;
class TDXScrollBar;
} // namespace DXWin
namespace GameData {
class TCity;
class TGroup;
class TMerchant;
class TPlayer;
class TScenario;
class TUnit;
} // namespace GameData
namespace Gfx {
class TFont;
class TSprite;
} // namespace Gfx

namespace Main {

class TFaceControl;
class TGame;
class TMenuButton;
class TSpriteButton;
class TSpriteScrollBar;
class TTextLabel;

// The town's places as TCity::MoveUnit numbers them; the panels are laid out by them.
enum TCityPanel : int32_t {
    cpnNone = -1,
    cpnGateGroup = 0,
    cpnDefenders = 1,
    cpnOtherUnits = 2,
    cpnCivilians = 3,
};

// The open merchant; the town's two houses (4 and 5) open no panel.
enum TOpenMerchant : int32_t {
    omNone = -1,
    omInn = 0,
    omMage = 1,
    omBattleMaster = 2,
    omHerbalist = 3,
};

constexpr int CityBuildingCount = 6;
constexpr int CityListPanels = 3; // defenders, other units, civilians

class TCityWindow : public TVRNWindow, public TTownScreen {
public:
    TCityWindow(DXWin::TDXWindowSystem* windowSystem, TGame& game);
    ~TCityWindow() override;

    // TTownScreen: the action handlers (CityWindow.cpp; VisitMerchant and ApplyPurchase
    // in CityMerchants.cpp).
    void SetScenario(GameData::TScenario* scenario) override;
    void EnterCity(GameData::TCity* town, GameData::TGroup* group) override;
    void LeaveCity() override;
    bool ApplyMoveUnit(int32_t from, int32_t unitID, int32_t to, int32_t row) override;
    bool VisitMerchant(int32_t building) override;
    bool ApplyPurchase(int32_t kind, int32_t unitID, int32_t player, int32_t item) override;
    GameData::TCity* Town() const override { return FCity; }
    void PaintBackdrop() override;

    // The town view (CityWindow.cpp).
    void ArrangeBuildingButtons() override;
    void LayOutPanels();
    void SelectUnit(GameData::TUnit* unit);
    // The player on turn when it sits at this machine; null otherwise.
    GameData::TPlayer* LocalPlayer() const;
    // The unit shown in a cell of a panel; null for an empty cell.
    GameData::TUnit* UnitAt(int panel, int row, int column) const;

    // Mouse and keys (CityInput.cpp).
    void MouseDown(int button, DXWin::TShiftState shift, int x, int y) override;
    void MouseMove(DXWin::TShiftState shift, int x, int y) override;
    void MouseUp(int button, DXWin::TShiftState shift, int x, int y) override;
    void DblClick(int button, DXWin::TShiftState shift, int x, int y) override;
    void KeyDown(Win32::WPARAM& key, DXWin::TShiftState shift) override;
    // The "LEAVE" button and Escape: leave the town, or close the open merchant.
    void LeavePressed();
    void BuildingPressed(int building);

    // Drawing (CityDrawing.cpp).
    void Draw(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) override;
    void DrawCell(int panel, int row, int column, const Win32::RECT& rect,
                  Win32::IDirectDrawSurface7* target);
    // Takes the town's pictures, sprites and fonts, giving back any held first.
    void AcquireSprites();
    void ReleaseSprites();
    // A portrait's frame in the colour of the unit's player.
    Gfx::TSprite* CellFrame(int panel, const GameData::TUnit& unit) const;

    // Merchants (CityMerchants.cpp).
    void CloseMerchant();
    void UpdatePanels();
    void RefreshInnPanel();
    void RefreshMagePanel();
    void RefreshBattleMasterPanel();
    void RefreshHerbalistPanel();
    // The open merchant's panel, when one is open.
    void RefreshMerchantPanel();
    // The offer table of a merchant's 64 prices.
    static void BuildOffers(const std::array<uint32_t, 64>& prices, TOfferTable& offers);

    // Purchase checks, one per button (CityPurchaseChecks.cpp): a failing check says why
    // on the message line and posts nothing.
    void TryHire();
    void TryBuyDrink();
    void TryRestoreMana();
    void TryBuySpell();
    void TryTrainSkill();
    void TryHeal();
    void TryBuyAbility();

    TGame& Game() const { return FGame; }
    GameData::TScenario* Scenario() const { return FScenario; }

    // Expanded (all rows) or collapsed (one row), by defenders, other units, civilians.
    std::array<bool, CityListPanels> Expanded{};
    // Press and drag.
    bool PressPending = false;
    bool Dragging = false;
    GameData::TUnit* PressedUnit = nullptr;
    int32_t PressX = 0, PressY = 0;
    int32_t GrabX = 0, GrabY = 0;
    int32_t PressPanel = cpnNone;
    // The mouse's last window position, for hovered cells and the dragged unit.
    int32_t MouseX = -1, MouseY = -1;
    GameData::TUnit* SelectedUnit = nullptr;
    int32_t OpenMerchant = omNone;
    int32_t HireCandidate = 0;
    TOfferTable SpellOffers, SkillOffers, AbilityOffers;

    // Controls; the window owns them through its children.
    TMenuButton* LeaveButton = nullptr;
    TMenuButton* GoldDisplay = nullptr;
    TFaceControl* GateGroupPanel = nullptr;
    TFaceControl* DefendersPanel = nullptr;
    TFaceControl* OtherUnitsPanel = nullptr;
    TFaceControl* CiviliansPanel = nullptr;
    // By defenders, other units, civilians; then the buildings' container.
    std::array<DXWin::TDXGroup*, CityListPanels + 1> Containers{};
    std::array<TSpriteButton*, CityListPanels> ExpandButtons{};
    std::array<TSpriteScrollBar*, CityListPanels> PanelScrollBars{};
    std::array<TMenuButton*, CityBuildingCount> BuildingButtons{};
    std::array<TTextLabel*, CityBuildingCount> BuildingLabels{};
    // The merchant view: price label, the merchant's own button, the buy button.
    TMenuButton* PriceLabel = nullptr;
    TMenuButton* MerchantButton = nullptr;
    TMenuButton* BuyButton = nullptr;
    // The inn's hire grid and the three lists, each with its scroll bar.
    TFaceControl* HireGrid = nullptr;
    TSpriteScrollBar* HireScrollBar = nullptr;
    TSpellListBox* SpellList = nullptr;
    TSpellListBox* SkillList = nullptr;
    TSpellListBox* AbilityList = nullptr;

    // Held while the town is open.
    Gfx::TSprite* TownPicture = nullptr;
    Gfx::TSprite* BuildingPicture = nullptr;
    Gfx::TSprite* MerchantPicture = nullptr;
    std::array<Gfx::TSprite*, CityBuildingCount> ButtonPictures{};

private:
    // The merchant view's controls and lists (CityMerchants.cpp), made by the constructor.
    void CreateMerchantControls();
    // The merchant of a building 0..5.
    const GameData::TMerchant* Building(int building) const;
    // After a drag or double click takes the selected unit out of the gate group.
    void SelectOtherGateUnit(const GameData::TUnit* leaving);
    // Back to idle: no press pending, nothing dragged.
    void ClearPress();
    // The rows a list panel shows when expanded (at least one).
    int PanelRows(int panel) const;
    // The panel and cell under a window point; cpnNone outside every shown panel.
    int PanelAt(int x, int y, int& row, int& column) const;
    TFaceControl* PanelControl(int panel) const;
    // Whether a panel and its container are shown and take input.
    bool PanelUsable(int panel) const;
    // The drop of the dragged unit onto the cell under (x, y), as an action posted.
    void Drop(int x, int y);
    void PostMove(int32_t from, const GameData::TUnit& unit, int32_t to, int32_t row);
    // Whether the player on turn may press the unit of that panel.
    bool MayPress(int panel, const GameData::TUnit& unit) const;
    bool OwnsTown() const;
    // The local player while no posted action waits for its result; null otherwise.
    GameData::TPlayer* CommandingPlayer() const;

    // The merchants' own (CityMerchants.cpp, CityPurchaseChecks.cpp).
    // The town whose gate group the player on turn has entered; null when none. The
    // purchases read it from the shared game, never from what this screen shows.
    GameData::TCity* EnteredTown() const;
    // The player on turn for a purchase check at this screen; null when the screen
    // takes no command now.
    GameData::TPlayer* Buyer() const;
    // The gold of the player on turn, as the screen shows it and judges offers by.
    int64_t ShownGold() const;
    void DrawHireCell(int row, int column, const Win32::RECT& rect,
                      Win32::IDirectDrawSurface7* target);
    void HireGridMouseDown(int button, int x, int y);
    void TakeBuildingPictures(const GameData::TMerchant& merchant, bool portrait);
    void ReleaseBuildingPictures();
    // The offer on the list's selected row; null when there is none.
    static const TOfferTable::TOffer* ChosenOffer(const TSpellListBox& list);
    void PostPurchase(uint32_t kind, const GameData::TUnit& unit, uint32_t item) const;

    TGame& FGame;
    GameData::TScenario* FScenario = nullptr;
    GameData::TCity* FCity = nullptr;
};

} // namespace Main
