#include "ui/game/SpellSelectDialog.h"

#include "engine/graphics/GfxFont.h"
#include "engine/graphics/GfxPixels.h"
#include "engine/graphics/GfxRects.h"
#include "engine/graphics/Sprite.h"
#include "engine/graphics/SpriteDrawing.h"
#include "game/world/data/GlobalData.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/units/Unit.h"
#include "ui/game/Game.h"
#include "ui/game/SpellBookTab.h"
#include "ui/widgets/WidgetArt.h"

namespace Main {

using ClassLib::AnsiString;
using GameData::TUnit;

namespace {

struct TTabLayout {
    int X, Y;
    int Sprite; // global sprite table entry
    const char* Caption;
};

constexpr TTabLayout TabLayouts[TSpellSelectDialog::TabCount] = {
    {337, 386, 1096, "Druid spells"},
    {375, 386, 1094, "Battlemage spells"},
    {414, 386, 1095, "Psionic spells"},
    {449, 386, 1097, "Other spells"},
};

// Spell families by the spell's place among the 64 mask bits: twelve each, the rest other.
constexpr int SpellsPerFamily = 12;
constexpr int BookOptions = DXWin::woModal | DXWin::woCentered;
constexpr int TextFont = 2;
constexpr int IconFrameSprite = 1093;
constexpr uint32_t CannotCastColour = 0xC00000;
constexpr int TooltipWidth = 300;

// Page layout, relative to the book. An entry is its hot rectangle: the left page's
// ends before the spine, and every text of an entry stays inside it.
constexpr int FirstAnchorX = 63, PageStepX = 235;
constexpr int FirstAnchorY = 98, RowStepY = 280 / TSpellSelectDialog::RowsPerPage;
constexpr Win32::RECT HotRectAroundAnchor{-11, -11, 212, 54};
constexpr int NameOffsetX = 55, NameOffsetY = -10;
constexpr int TargetOffsetX = 70;
constexpr int TextRight = HotRectAroundAnchor.right - 4;
constexpr int NameWidth = TextRight - NameOffsetX;
constexpr int CostWidth = TargetOffsetX - 4;
constexpr int TargetWidth = NameWidth - TargetOffsetX;

// Battle spells 65..128 share the place of 1..64; 0 for an ID outside both.
int FoldedSpellIndex(int spellID) {
    const int k = spellID > GameData::MaskedIDCount ? spellID - GameData::MaskedIDCount : spellID;
    return k >= 1 && k <= GameData::MaskedIDCount ? k : 0;
}

// The book's entries of the key table after its four tabs.
constexpr int hkBookPreviousPage = hkSpellBookFirst + 4;
constexpr int hkBookNextPage = hkSpellBookFirst + 5;
constexpr int hkBookFirstPage = hkSpellBookFirst + 6;
constexpr int hkBookLastPage = hkSpellBookFirst + 7;
constexpr int hkBookClose = hkSpellBookFirst + 8;

THotkeyTable KeyTable() {
    return Game ? Game->Hotkeys() : MakeKeyTable();
}

AnsiString TargetText(uint32_t flags) {
    struct TKind {
        uint32_t Bit;
        const char* Name;
    };
    static constexpr TKind Kinds[] = {
        {Data2::tfOwnCell, "Self"},          {Data2::tfFriendlyGroup, "Friends"},
        {Data2::tfNeutralGroup, "Neutrals"}, {Data2::tfEnemyGroup, "Enemies"},
        {Data2::tfAnyCell, "Anything"},      {Data2::tfFreeCell, "Empty ground"},
    };
    AnsiString text = "Target: ";
    bool first = true;
    for (const TKind& kind : Kinds) {
        if (!(flags & kind.Bit))
            continue;
        if (!first)
            text += " + ";
        text += kind.Name;
        first = false;
    }
    return text;
}

const char* BattleKindName(int kind) {
    switch (kind) {
    case 1:
        return "Neutral";
    case 2:
        return "Attack";
    case 3:
        return "Defend";
    default:
        return "";
    }
}

uint32_t OwnerColour(const TUnit& unit) {
    const auto* player = dynamic_cast<const GameData::TPlayer*>(unit.GetPlayer());
    if (!player || !player->Scenario)
        return 0;
    return TGame::PlayerColor(player->Scenario->IndexOfPlayer(player));
}

} // namespace

TSpellSelectDialog::TSpellSelectDialog(DXWin::TDXWindowSystem* windowSystem)
    : TBookWindow(windowSystem, BookOptions) {
    const THotkeyTable keys = KeyTable();
    for (int tab = 0; tab < TabCount; ++tab) {
        const TTabLayout& layout = TabLayouts[tab];
        auto* button = new TSpellBookTab(this, this, CommonSprite(layout.Sprite));
        button->SetPosition(layout.X, layout.Y);
        button->SetHint(MakeHotkeyCaption(keys[size_t(hkSpellBookFirst + tab)], layout.Caption));
        button->OnClick = [this, tab](DXWin::TDXControl*) { SelectTab(tab); };
        button->Hide();
        FTabButtons[size_t(tab)] = button;
    }
    OnMouseDown = [this](int button, DXWin::TShiftState, int x, int y) {
        HandleMouseDown(button, x, y);
    };
    OnMouseMove = [this](DXWin::TShiftState, int x, int y) { HandleMouseMove(x, y); };
    OnKeyDown = [this](Win32::WPARAM& key, DXWin::TShiftState shift) { HandleKeyDown(key, shift); };
}

// The tabs are children and go with the group.
TSpellSelectDialog::~TSpellSelectDialog() = default;

int TSpellSelectDialog::TabOfSpell(int spellID) {
    const int k = FoldedSpellIndex(spellID);
    if (k == 0)
        return -1;
    return std::min((k - 1) / SpellsPerFamily, int(stOther));
}

void TSpellSelectDialog::SetUnit(TUnit* unit, int contextMask) {
    FUnit = unit;
    FContextMask = contextMask;
    FCurrentTab = -1;
    FPage = 0;
    FHoverIndex = -1;
    for (auto& list : FTabs)
        list.Clear();
    if (unit && Data2::GlobalData) {
        Data2::TGlobalData& global = *Data2::GlobalData;
        for (const Data2::TSpellPrototype& spell : global.SpellPrototypes) {
            if (!(spell.Group & contextMask))
                continue;
            // An ID with no mask bit of its own belongs to no family and is never known.
            const int tab = TabOfSpell(spell.ID);
            if (tab < 0)
                continue;
            const uint64_t bit = GameData::MaskBit(spell.ID);
            const GameData::TUnitStats& stats = unit->Effective;
            if (!(stats.LearnableSpells & bit) || !(stats.Spells & bit) ||
                stats.Level() < spell.MinLevel)
                continue;
            FTabs[size_t(tab)].Add(
                {global.SpellLibrary.FindSprite(uint32_t(spell.IconID)), &spell});
        }
    }
    for (int tab = TabCount - 1; tab >= 0; --tab) {
        const bool listed = FTabs[size_t(tab)].Count() > 0;
        FTabButtons[size_t(tab)]->SetVisible(listed);
        if (listed)
            SelectTab(tab);
    }
}

void TSpellSelectDialog::SelectTab(int tab) {
    for (int i = 0; i < TabCount; ++i)
        FTabButtons[size_t(i)]->SetSelected(i == tab);
    if (tab != FCurrentTab) {
        TurnTo(0);
        FHoverIndex = -1;
    }
    FCurrentTab = tab;
}

const Data::TDynamicArray<TSpellInfo>* TSpellSelectDialog::CurrentSpells() const {
    return FCurrentTab >= 0 && FCurrentTab < TabCount ? &FTabs[size_t(FCurrentTab)] : nullptr;
}

int TSpellSelectDialog::SpellCount() const {
    const auto* spells = CurrentSpells();
    return spells ? spells->Count() : 0;
}

void TSpellSelectDialog::TurnTo(int page) {
    // The spell under the mouse is another one now; the next move finds it.
    if (page != FPage)
        FHoverIndex = -1;
    FPage = page;
}

void TSpellSelectDialog::PreviousPage() {
    if (FPage > 0)
        TurnTo(FPage - 2);
}

void TSpellSelectDialog::NextPage() {
    if ((FPage + 2) * RowsPerPage < SpellCount())
        TurnTo(FPage + 2);
}

void TSpellSelectDialog::FirstPage() {
    TurnTo(0);
}

void TSpellSelectDialog::LastPage() {
    for (int before = -1; before != FPage;) {
        before = FPage;
        NextPage();
    }
}

bool TSpellSelectDialog::CanCast(const TSpellInfo& spell) const {
    return FUnit && spell.Prototype && FUnit->CanCastSpell(*spell.Prototype);
}

void TSpellSelectDialog::ChooseSpell(int slot) {
    if (slot < 0 || slot >= SlotsPerOpening)
        return;
    const int index = FPage * RowsPerPage + slot;
    if (index >= SpellCount())
        return;
    const TSpellInfo& spell = (*CurrentSpells())[index];
    if (!CanCast(spell))
        return;
    SetModalResult(ResultBase + spell.Prototype->ID);
    Close();
}

void TSpellSelectDialog::Cancel() {
    SetModalResult(ResultBase);
    Close();
}

int TSpellSelectDialog::SpellOfResult(int modalResult) {
    // A loop ended by quitting leaves 0, which is no spell either.
    return modalResult > ResultBase ? modalResult - ResultBase : 0;
}

int TSpellSelectDialog::ShowAndChoose() {
    return SpellOfResult(ShowModal(true));
}

Win32::POINT TSpellSelectDialog::SlotAnchor(int slot) {
    const int side = slot / RowsPerPage, row = slot % RowsPerPage;
    return {FirstAnchorX + PageStepX * side, FirstAnchorY + row * RowStepY};
}

Win32::RECT TSpellSelectDialog::SlotHotRect(int slot) {
    const Win32::POINT a = SlotAnchor(slot);
    return {a.x + HotRectAroundAnchor.left, a.y + HotRectAroundAnchor.top,
            a.x + HotRectAroundAnchor.right, a.y + HotRectAroundAnchor.bottom};
}

int TSpellSelectDialog::SpellAt(int x, int y) const {
    const int count = SpellCount();
    for (int slot = 0; slot < SlotsPerOpening; ++slot) {
        const int index = FPage * RowsPerPage + slot;
        if (index >= count)
            break;
        const Win32::RECT r = SlotHotRect(slot);
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom)
            return index;
    }
    return -1;
}

void TSpellSelectDialog::HandleMouseDown(int button, int x, int y) {
    if (button == DXWin::mbRight) {
        Cancel();
        return;
    }
    if (button != DXWin::mbLeft)
        return;
    const int index = SpellAt(x, y);
    if (index >= 0)
        ChooseSpell(index - FPage * RowsPerPage);
    else if (x < PageTurnMargin)
        PreviousPage();
    else if (Width() - x < PageTurnMargin)
        NextPage();
}

void TSpellSelectDialog::HandleMouseMove(int x, int y) {
    FMouseX = x;
    FMouseY = y;
    const int index = SpellAt(x, y);
    const THotkeyTable keys = KeyTable();
    if (index >= 0) {
        if (index == FHoverIndex)
            return;
        FHoverIndex = index;
        const int slot = index - FPage * RowsPerPage;
        const AnsiString caption =
            MakeHotkeyCaption(keys[size_t(hkSpellBookSpell1 + slot)],
                              (*CurrentSpells())[index].Prototype->Description);
        const Gfx::TFont* font = InterfaceFont(TextFont);
        SetHint(font ? font->WrapText(TooltipWidth, caption) : caption);
        SetCursor(MainDataSprite(msNormalCursor));
        return;
    }
    FHoverIndex = -1;
    if (x < PageTurnMargin && FPage > 0) {
        SetHint(MakeHotkeyCaption(keys[size_t(hkBookPreviousPage)], "Previous page"));
        SetCursor(MainDataSprite(msPageTurnCursor));
    } else if (Width() - x < PageTurnMargin && (FPage + 2) * RowsPerPage < SpellCount()) {
        SetHint(MakeHotkeyCaption(keys[size_t(hkBookNextPage)], "Next page"));
        SetCursor(MainDataSprite(msPageTurnCursor));
    } else {
        SetHint("");
        SetCursor(MainDataSprite(msNormalCursor));
    }
}

void TSpellSelectDialog::HandleKeyDown(Win32::WPARAM& key, DXWin::TShiftState shift) {
    if (shift & (DXWin::ssShift | DXWin::ssCtrl | DXWin::ssAlt))
        return;
    const THotkeyTable keys = KeyTable();
    uint32_t code = uint32_t(key);
    const auto matches = [&keys, &code](int entry) {
        return MatchHotkey(keys[size_t(entry)], code);
    };
    if (matches(hkBookClose)) {
        Cancel();
    } else if (matches(hkBookPreviousPage)) {
        PreviousPage();
    } else if (matches(hkBookNextPage)) {
        NextPage();
    } else if (matches(hkBookFirstPage)) {
        FirstPage();
    } else if (matches(hkBookLastPage)) {
        LastPage();
    } else {
        for (int tab = 0; tab < TabCount; ++tab)
            if (matches(hkSpellBookFirst + tab) && FTabButtons[size_t(tab)]->Visible())
                SelectTab(tab);
        for (int slot = 0; slot < SlotsPerOpening; ++slot)
            if (matches(hkSpellBookSpell1 + slot))
                ChooseSpell(slot);
    }
    key = code;
}

void TSpellSelectDialog::Draw(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) {
    TBookWindow::Draw(target, bounds);
    // The spells lie on the open pages only.
    if (Stage() != BookStages - 1)
        return;
    const int count = SpellCount();
    for (int slot = 0; slot < SlotsPerOpening; ++slot) {
        const int index = FPage * RowsPerPage + slot;
        if (index >= count)
            break;
        DrawSpell(target, bounds, slot, (*CurrentSpells())[index]);
    }
    if (FHoverIndex >= 0 && FUnit) {
        const Win32::RECT r = SlotHotRect(FHoverIndex - FPage * RowsPerPage);
        Gfx::FrameRect(target, bounds.left + r.left, bounds.top + r.top, r.right - r.left,
                       r.bottom - r.top, Gfx::PackColor16(OwnerColour(*FUnit)), &bounds);
    }
}

void TSpellSelectDialog::DrawSpell(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds,
                                   int slot, const TSpellInfo& spell) const {
    const Win32::POINT anchor = SlotAnchor(slot);
    const int x = bounds.left + anchor.x, y = bounds.top + anchor.y;
    if (spell.Icon)
        Gfx::DrawSprite(spell.Icon, target, 0, x, y - 2, &bounds);
    if (Gfx::TSprite* frame = CommonSprite(IconFrameSprite))
        Gfx::DrawSprite(frame, target, 0, x - frame->HotSpotX, y - 2 - frame->HotSpotY, &bounds);
    const Gfx::TFont* font = InterfaceFont(TextFont);
    if (!font)
        return;
    const Data2::TSpellPrototype& prototype = *spell.Prototype;
    const int line = font->CellHeight();
    const int textX = x + NameOffsetX, textY = y + NameOffsetY;
    const auto draw = [&](int left, int row, int width, bool red, AnsiString text) {
        font->FitTextToWidth(text, width, -1);
        font->DrawString(target, left, textY + row * line, &bounds,
                         Gfx::PackColor16(red ? CannotCastColour : 0), text);
    };
    draw(textX, 0, NameWidth, false, prototype.Name);
    // Each cost is red only when the unit falls short of that one.
    const GameData::TUnitStats* stats = FUnit ? &FUnit->Effective : nullptr;
    draw(textX, 1, CostWidth, stats && stats->Level() < prototype.MinLevel,
         ClassLib::Format("Level: %d", int(prototype.MinLevel)));
    draw(textX, 2, CostWidth, stats && stats->Value(GameData::ACTIONPOINTS) < prototype.APCost,
         ClassLib::Format("AP: %d", int(prototype.APCost)));
    draw(textX, 3, CostWidth, stats && stats->Value(GameData::MANA) < prototype.ManaCost,
         ClassLib::Format("Mana: %d", int(prototype.ManaCost)));
    // The targets take the two rows above the range, cut with dots past them.
    const int targetX = textX + TargetOffsetX;
    AnsiString targets = font->WrapText(TargetWidth, TargetText(prototype.TargetFlags));
    font->FitTextToHeight(targets, TargetWidth, -1, 2 * line);
    font->DrawString(target, targetX, textY + line, &bounds, 0, targets);
    const AnsiString last =
        prototype.ID <= GameData::MaskedIDCount
            ? ClassLib::Format("Range: %d", FUnit ? FUnit->Effective.Level() + 2 : 0)
            : AnsiString("Kind: ") + BattleKindName(prototype.Phase);
    draw(targetX, 3, TargetWidth, false, last);
}

} // namespace Main
