// The merchants' list of spells, skills or abilities for sale: one offer a row, drawn
// for the unit the offers are judged for (its name coloured by whether the unit can buy
// it with the gold at hand), with the price.
#pragma once

#include "engine/widgets/DXListBox.h"
#include "ui/screens/CityPurchaseChecks.h"

#include <array>
#include <cstdint>

namespace GameData {
class TUnit;
}
namespace Gfx {
class TFont;
}

namespace Main {

class TCityWindow;

// The entries a merchant offers: only those priced above 0, in ascending index; the item
// ID of an entry is its index + 1.
struct TOfferTable {
    struct TOffer {
        int32_t Index = 0;
        int32_t Price = 0;
    };
    int32_t Count = 0;
    std::array<TOffer, 64> Offers{};
};

// Mode byte of TSpellListBox.
enum TSpellListMode : uint8_t { slSkills = 0, slSpells = 1 };

// Colours (0xRRGGBB) of an offer's name by the unit's standing towards it.
enum TSpellStanding : uint32_t {
    ssKnown = 0xA0A0A0,
    ssCannotLearn = 0xD00000,
    ssNotYet = 0xD08000, // the level, gold or action points fall short
    ssCanBuy = 0x00C000,
};

// The colour of an offer's name by what keeps the unit from buying it; green only when
// nothing does (also with no unit to judge for).
uint32_t SpellStandingColour(const GameData::TUnit* unit, TLearnRefusal refusal);
// The grey (0..255) of a row's outline: C0 for the chosen row, for a hovered one
// 191 - |(tick mod 128) - 64|.
uint32_t RowOutlineGrey(bool selected, uint32_t tick);
// The common sprite of the frame around a spell row's icons, by the entry's index.
int SpellFrameSprite(int index);
// "(Level: 3 AP: 2)", either part left out when 0.
ClassLib::AnsiString RequirementText(int minLevel, int apCost);
// A description wrapped to the width and cut to the lines that fit the height, ending in
// "..." where it was cut.
ClassLib::AnsiString FitDescription(const Gfx::TFont& font, const ClassLib::AnsiString& text,
                                    int width, int height);

class TSpellListBox : public DXWin::TDXListBox {
public:
    static constexpr int Width = 725;
    static constexpr int RowHeight = 72;
    static constexpr int Rows = 4;

    TSpellListBox(DXWin::TDXGroup* parent, int width, uint8_t mode, int visibleRows,
                  DXWin::TDXScrollBar* scrollBar);

    void DrawItem(Win32::IDirectDrawSurface7* target, const Win32::RECT& rect, bool hover,
                  bool selected, int index) override;
    // Stores them and lays the list out again for the offers; the gold is the buyer's.
    void SetOffers(TCityWindow* window, const TOfferTable* offers, const GameData::TUnit* unit,
                   int64_t gold);

    uint8_t Mode;
    TCityWindow* Window = nullptr;
    const TOfferTable* Offers = nullptr;
    const GameData::TUnit* Unit = nullptr;
    int64_t Gold = 0;

private:
    // A skill or ability row: the name coloured by the unit's standing with its
    // requirements, the description below it.
    void DrawSkillRow(Win32::IDirectDrawSurface7* target, const Win32::RECT& rect, int entry,
                      int32_t price) const;
    // A spell row: spell entry + 1 in the left half, entry + 65 in the right, each in its
    // frame with its icon, name and description.
    void DrawSpellRow(Win32::IDirectDrawSurface7* target, const Win32::RECT& rect, int entry,
                      int32_t price) const;
};

} // namespace Main
