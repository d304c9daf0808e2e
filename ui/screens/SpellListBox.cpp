#include "ui/screens/SpellListBox.h"

namespace Main {

TSpellListBox::TSpellListBox(DXWin::TDXGroup* parent, int width, uint8_t mode, int visibleRows,
                             DXWin::TDXScrollBar* scrollBar)
    : DXWin::TDXListBox(parent, width, RowHeight, scrollBar), Mode(mode) {
    SetVisibleRows(visibleRows);
}

void TSpellListBox::DrawItem(Win32::IDirectDrawSurface7*, const Win32::RECT&, bool, bool, int) {}

void TSpellListBox::SetOffers(TCityWindow* window, const TOfferTable* offers,
                              const GameData::TUnit* unit) {
    Window = window;
    Offers = offers;
    Unit = unit;
}

} // namespace Main
