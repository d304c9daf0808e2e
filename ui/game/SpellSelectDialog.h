// The spell book from which a unit's spell is chosen: four tabs of spell families,
// two facing pages of four spells each, page turning at the book's edges and by keys.
// The chosen spell's ID + 1000 is the modal result; 1000 when cancelled.
#pragma once

#include "engine/core/DynamicArray.h"
#include "ui/widgets/BookWindow.h"

#include <array>
#include <cstdint>

namespace Data2 {
struct TSpellPrototype;
}
namespace GameData {
class TUnit;
}
namespace Gfx {
class TSprite;
}

namespace Main {

class TSpellBookTab;

struct TSpellInfo {
    Gfx::TSprite* Icon = nullptr; // lent by the spell library
    const Data2::TSpellPrototype* Prototype = nullptr;
};

// Where the book is opened from.
constexpr int scAdventureMap = 1;
constexpr int scBattle = 2;

// The tabs, by spell family.
enum TSpellBookTabIndex : int { stDruid = 0, stBattlemage = 1, stPsionic = 2, stOther = 3 };

class TSpellSelectDialog : public TBookWindow {
public:
    static constexpr int TabCount = 4;
    static constexpr int RowsPerPage = 4;
    static constexpr int SlotsPerOpening = 2 * RowsPerPage;
    static constexpr int ResultBase = 1000;
    // Clicks this close to the book's left or right edge turn the page.
    static constexpr int PageTurnMargin = 60;

    explicit TSpellSelectDialog(DXWin::TDXWindowSystem* windowSystem);
    ~TSpellSelectDialog() override;

    // Fills the tabs with the spells of the context (scAdventureMap, scBattle) the unit
    // knows and has the level for, and opens the first tab that has any.
    void SetUnit(GameData::TUnit* unit, int contextMask);
    void SelectTab(int tab);
    void PreviousPage();
    void NextPage();
    void FirstPage();
    void LastPage();
    // Slot 0..7 of the opening, left page first; only a spell the unit can cast now.
    void ChooseSpell(int slot);
    void Cancel();

    // The spell a modal result stands for; 0 when cancelled or ended without a choice.
    static int SpellOfResult(int modalResult);
    // Shows the book modally and gives the chosen spell's ID, 0 for none.
    int ShowAndChoose();

    void Draw(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) override;

    GameData::TUnit* Unit() const { return FUnit; }
    int ContextMask() const { return FContextMask; }
    int Page() const { return FPage; }
    int CurrentTab() const { return FCurrentTab; }
    int HoverIndex() const { return FHoverIndex; }
    const Data::TDynamicArray<TSpellInfo>& TabSpells(int tab) const { return FTabs[size_t(tab)]; }
    TSpellBookTab* Tab(int tab) const { return FTabButtons[size_t(tab)]; }
    // The tab a spell ID belongs in; -1 for an ID outside 1..128.
    static int TabOfSpell(int spellID);
    // A slot's anchor and hot rectangle, relative to the book.
    static Win32::POINT SlotAnchor(int slot);
    static Win32::RECT SlotHotRect(int slot);

private:
    void TurnTo(int page);
    const Data::TDynamicArray<TSpellInfo>* CurrentSpells() const;
    int SpellCount() const;
    // Index in the current tab of the listed spell under the point, -1 none.
    int SpellAt(int x, int y) const;
    bool CanCast(const TSpellInfo& spell) const;
    void HandleMouseDown(int button, int x, int y);
    void HandleMouseMove(int x, int y);
    void HandleKeyDown(Win32::WPARAM& key, DXWin::TShiftState shift);
    void DrawSpell(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds, int slot,
                   const TSpellInfo& spell) const;

    GameData::TUnit* FUnit = nullptr;
    int FContextMask = 0;
    int FPage = 0;
    int FCurrentTab = -1;
    int FMouseX = 0;
    int FMouseY = 0;
    int FHoverIndex = -1;
    std::array<Data::TDynamicArray<TSpellInfo>, TabCount> FTabs;
    std::array<TSpellBookTab*, TabCount> FTabButtons{};
};

} // namespace Main
