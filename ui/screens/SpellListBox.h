// The merchants' list of spells, skills or abilities for sale: one offer a row, drawn
// for the unit the offers are judged for (its name coloured by whether the unit can buy
// it), with the price.
#pragma once

#include "engine/widgets/DXListBox.h"

#include <array>
#include <cstdint>

namespace GameData {
class TUnit;
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

class TSpellListBox : public DXWin::TDXListBox {
public:
    static constexpr int Width = 725;
    static constexpr int RowHeight = 72;
    static constexpr int Rows = 4;

    TSpellListBox(DXWin::TDXGroup* parent, int width, uint8_t mode, int visibleRows,
                  DXWin::TDXScrollBar* scrollBar);

    void DrawItem(Win32::IDirectDrawSurface7* target, const Win32::RECT& rect, bool hover,
                  bool selected, int index) override;
    void SetOffers(TCityWindow* window, const TOfferTable* offers, const GameData::TUnit* unit);

    uint8_t Mode;
    TCityWindow* Window = nullptr;
    const TOfferTable* Offers = nullptr;
    const GameData::TUnit* Unit = nullptr;
};

} // namespace Main
