// The spell book lists the unit's spells of the context by family, turns its pages by
// twos, gives back only spells the unit can cast now, and reads the game's keys.
#include "tests/ui/game/UnitWindowFixture.h"
#include "ui/game/SpellBookTab.h"
#include "ui/game/SpellSelectDialog.h"

#include <vector>

namespace {

using namespace Main;

class SpellBook : public UnitWindowTest {
protected:
    // Shown and open, at the centre of the screen.
    TSpellSelectDialog* OpenBook(GameData::TUnit& unit, int context) {
        auto* book = new TSpellSelectDialog(&Windows);
        book->SetUnit(&unit, context);
        book->Show();
        Windows.ProcessRequests();
        TickAt(Clock.Now(), 300);
        EXPECT_EQ(book->Stage(), BookStages - 1);
        return book;
    }
    std::vector<int> Listed(const TSpellSelectDialog& book, int tab) const {
        std::vector<int> ids;
        for (const TSpellInfo& spell : book.TabSpells(tab))
            ids.push_back(spell.Prototype->ID);
        return ids;
    }
    // A point inside a slot's hot rectangle, on the screen.
    static Win32::POINT SlotPoint(const TSpellSelectDialog& book, int slot) {
        const Win32::POINT anchor = TSpellSelectDialog::SlotAnchor(slot);
        return {book.X() + anchor.x + 20, book.Y() + anchor.y + 20};
    }
};

TEST_F(SpellBook, ListsTheSpellsOfTheContextByFamilyAndOpensOnTheFirstFamily) {
    AddSpell(70, 2); // battle spell: the place of 6
    AddSpell(13, 1); // battlemage
    AddSpell(6, 1);  // druid
    AddSpell(40, 1); // other
    AddSpell(30, 2); // psionic, battle only
    AddSpell(3, 1).MinLevel = 9;
    AddSpell(4, 1);
    // IDs with no place among the 64: never listed, whatever the masks say.
    for (const int id : {0, -3, 129, 200})
        AddSpell(id, 3);
    GameData::TUnit& unit = MakeCaster();
    unit.Own.Spells &= ~GameData::MaskBit(4);
    unit.RecalculateStats(false);

    TSpellSelectDialog* book = OpenBook(unit, scAdventureMap | scBattle);
    EXPECT_EQ(Listed(*book, stDruid), (std::vector<int>{70, 6}));
    EXPECT_EQ(Listed(*book, stBattlemage), (std::vector<int>{13}));
    EXPECT_EQ(Listed(*book, stPsionic), (std::vector<int>{30}));
    EXPECT_EQ(Listed(*book, stOther), (std::vector<int>{40}));
    EXPECT_EQ(book->CurrentTab(), stDruid);
    EXPECT_TRUE(book->Tab(stDruid)->Selected());
    EXPECT_FALSE(book->Tab(stOther)->Selected());

    book->SetUnit(&unit, scAdventureMap);
    EXPECT_EQ(Listed(*book, stDruid), (std::vector<int>{6}));
    EXPECT_TRUE(book->TabSpells(stPsionic).Count() == 0);
    EXPECT_FALSE(book->Tab(stPsionic)->Visible());
    EXPECT_TRUE(book->Tab(stOther)->Visible());

    struct {
        int ID, Tab;
    } const families[] = {{1, 0},  {12, 0}, {13, 1},  {24, 1}, {25, 2},  {36, 2},  {37, 3},
                          {64, 3}, {65, 0}, {128, 3}, {0, -1}, {-1, -1}, {129, -1}};
    for (const auto& c : families)
        EXPECT_EQ(TSpellSelectDialog::TabOfSpell(c.ID), c.Tab) << c.ID;
    delete book;
}

TEST_F(SpellBook, AUnitWithoutSpellsGetsNoTabAndCanOnlyCancel) {
    AddSpell(6, 1);
    GameData::TUnit& unit = MakeCaster();
    unit.Own.Spells = 0;
    unit.RecalculateStats(false);
    TSpellSelectDialog* book = OpenBook(unit, scAdventureMap);
    EXPECT_EQ(book->CurrentTab(), -1);
    for (int tab = 0; tab < TSpellSelectDialog::TabCount; ++tab)
        EXPECT_FALSE(book->Tab(tab)->Visible()) << tab;
    Key(Win32::VK_F1);
    Key('1');
    EXPECT_EQ(book->CurrentTab(), -1);
    EXPECT_FALSE(book->Done());
    Key(27);
    EXPECT_TRUE(book->Done());
    EXPECT_EQ(book->ModalResult(), 1000);
    EXPECT_EQ(TSpellSelectDialog::SpellOfResult(book->ModalResult()), 0);
    // Quitting the program ends the loop with 0: no spell either.
    EXPECT_EQ(TSpellSelectDialog::SpellOfResult(0), 0);
    delete book;
}

TEST_F(SpellBook, NineSpellsFillTwoOpeningsTurnedByEdgesAndKeys) {
    for (int id = 1; id <= 9; ++id)
        AddSpell(id, 1);
    GameData::TUnit& unit = MakeCaster();
    TSpellSelectDialog* book = OpenBook(unit, scAdventureMap);
    const int left = book->X() + 10, right = book->X() + book->Width() - 10;
    const int middleY = book->Y() + 30;

    book->NextPage();
    EXPECT_EQ(book->Page(), 2);
    book->NextPage();
    EXPECT_EQ(book->Page(), 2);
    book->PreviousPage();
    EXPECT_EQ(book->Page(), 0);
    book->PreviousPage();
    EXPECT_EQ(book->Page(), 0);

    ClickAt(right, middleY);
    EXPECT_EQ(book->Page(), 2);
    ClickAt(left, middleY);
    EXPECT_EQ(book->Page(), 0);
    Key(Win32::VK_END);
    EXPECT_EQ(book->Page(), 2);
    Key(Win32::VK_HOME);
    EXPECT_EQ(book->Page(), 0);
    Key(Win32::VK_NEXT);
    EXPECT_EQ(book->Page(), 2);
    Key(Win32::VK_PRIOR);
    EXPECT_EQ(book->Page(), 0);
    Send(Win32::WM_KEYDOWN, Win32::VK_NEXT, 1);
    EXPECT_EQ(book->Page(), 2);

    // Spell 9 is the first of the second opening: its key is 1.
    const Win32::POINT first = SlotPoint(*book, 0);
    MoveTo(first.x, first.y);
    EXPECT_EQ(book->HoverIndex(), 8);
    // Turned away, the spell under the mouse is no longer that one.
    Key(Win32::VK_HOME);
    EXPECT_EQ(book->HoverIndex(), -1);
    Key(Win32::VK_END);
    EXPECT_EQ(std::string(book->Hint()), "What Spell 9 does. [1]");
    MoveTo(left, middleY);
    EXPECT_EQ(std::string(book->Hint()), "Previous page [PgUp]");
    MoveTo(right, middleY);
    EXPECT_EQ(std::string(book->Hint()), "");
    Key('2'); // an empty slot
    EXPECT_FALSE(book->Done());
    Key('1');
    EXPECT_TRUE(book->Done());
    EXPECT_EQ(book->ModalResult(), 1009);
    delete book;
}

TEST_F(SpellBook, ASpellTheUnitCannotCastNowIsNotChosen) {
    AddSpell(1, 1).ManaCost = 500;
    AddSpell(2, 1);
    AddSpell(14, 1);
    GameData::TUnit& unit = MakeCaster();
    TSpellSelectDialog* book = OpenBook(unit, scAdventureMap);

    const Win32::POINT dear = SlotPoint(*book, 0), cheap = SlotPoint(*book, 1);
    ClickAt(dear.x, dear.y);
    book->ChooseSpell(0);
    Key('1');
    EXPECT_FALSE(book->Done());
    // With Alt the key is not the book's.
    Send(Win32::WM_KEYDOWN, '2', Win32::LParamFromBits(0x20000001));
    EXPECT_FALSE(book->Done());
    // F2 opens the battlemage family; F3's tab is not shown.
    Key(Win32::VK_F3);
    EXPECT_EQ(book->CurrentTab(), stDruid);
    Key(Win32::VK_F2);
    EXPECT_EQ(book->CurrentTab(), stBattlemage);
    Key(Win32::VK_F1);
    ClickAt(cheap.x, cheap.y);
    EXPECT_TRUE(book->Done());
    EXPECT_EQ(TSpellSelectDialog::SpellOfResult(book->ModalResult()), 2);
    delete book;
}

TEST_F(SpellBook, ARightClickCancels) {
    AddSpell(1, 1);
    TSpellSelectDialog* book = OpenBook(MakeCaster(), scAdventureMap);
    Mouse(Win32::WM_RBUTTONDOWN, book->X() + 200, book->Y() + 200, Win32::MK_RBUTTON);
    EXPECT_TRUE(book->Done());
    EXPECT_EQ(book->ModalResult(), 1000);
    delete book;
}

} // namespace

namespace {

using namespace Main;

using SpellBookDrawing = SpellBook;

TEST_F(SpellBookDrawing, AnOpeningShowsItsSpellsWithEachCostOutOfReachInRed) {
    UseFont(2, 12);
    // A book short enough for the selected tab to show below it.
    UsePictures({{pgBook, 568, 420, BookStages}});
    for (int slot = 1094; slot <= 1097; ++slot)
        UseFrame(slot, 34, 60, 0xFF208020);
    UseFrame(1093, 48, 48, 0xFFD0B040);
    std::vector<uint32_t> icons;
    for (int id = 1; id <= 10; ++id) {
        Data2::TSpellPrototype& spell =
            AddSpell(id, 1,
                     id == 2 ? "Summon the Restless Spirits of the Northern Barrows"
                             : "Spell of a Rather Long Name " + std::to_string(id));
        spell.TargetFlags = id % 2 ? Data2::tfOwnCell | Data2::tfFriendlyGroup | Data2::tfFreeCell
                                   : Data2::tfEnemyGroup;
        icons.push_back(uint32_t(id));
    }
    Data2::GlobalData->SpellPrototypes[2].ManaCost = 300; // spell 3: short of mana
    Data2::GlobalData->SpellPrototypes[3].APCost = 300;   // spell 4: of action points
    AddSpell(70, 2, "Battle Spell");
    OpenLibrary(Data2::GlobalData->SpellLibrary, icons, 40, 40, 0xFF2050A0);
    for (const uint32_t id : icons)
        Data2::GlobalData->SpellLibrary.AcquireSpriteByID(id);
    GameData::TUnit& unit = MakeCaster();

    TSpellSelectDialog* book = OpenBook(unit, scAdventureMap);
    const Win32::POINT hovered = SlotPoint(*book, 1);
    MoveTo(hovered.x, hovered.y);
    DrawFrame();
    SaveFrame("spell-book");

    const int line = Data2::GlobalData->UIFonts[2]->CellHeight();
    const uint16_t red = Gfx::PackColor16(0xC00000);
    const auto count = [&](uint16_t colour, int left, int top, int right, int bottom) {
        int n = 0;
        for (int y = book->Y() + top; y < book->Y() + bottom; ++y)
            for (int x = book->X() + left; x < book->X() + right; ++x)
                n += At(x, y) == colour ? 1 : 0;
        return n;
    };
    // The caster has the level for every spell listed; only the cost it cannot pay is red.
    const struct {
        int Slot;
        bool Level, AP, Mana;
    } costs[] = {{1, false, false, false}, {2, false, false, true}, {3, false, true, false}};
    for (const auto& c : costs) {
        SCOPED_TRACE("slot " + std::to_string(c.Slot));
        const Win32::POINT a = TSpellSelectDialog::SlotAnchor(c.Slot);
        const bool shown[] = {c.Level, c.AP, c.Mana};
        for (int row = 1; row <= 3; ++row) {
            const int top = a.y - 10 + row * line;
            EXPECT_EQ(count(red, a.x + 55, top, a.x + 125, top + line) > 0, shown[row - 1])
                << "row " << row;
        }
    }
    // Every entry's text stays inside its hovered frame: nothing is written in the
    // 40 pixels right of it, where the left page's entries would cross the spine.
    for (int slot = 0; slot < TSpellSelectDialog::SlotsPerOpening; ++slot) {
        const Win32::RECT r = TSpellSelectDialog::SlotHotRect(slot);
        EXPECT_EQ(count(0, r.right, r.top, r.right + 40, r.bottom), 0) << "slot " << slot;
        EXPECT_GT(count(0, r.left, r.top, r.right, r.bottom), 0) << "slot " << slot;
    }
    EXPECT_LT(TSpellSelectDialog::SlotHotRect(3).right, book->Width() / 2);
    delete book;
}

} // namespace
