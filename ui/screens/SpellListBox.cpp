#include "ui/screens/SpellListBox.h"

#include "engine/app/DXApplication.h"
#include "engine/graphics/GfxFont.h"
#include "engine/graphics/GfxPixels.h"
#include "engine/graphics/GfxRects.h"
#include "engine/graphics/Sprite.h"
#include "engine/graphics/SpriteDrawing.h"
#include "game/world/cities/Merchants.h"
#include "game/world/data/GlobalData.h"
#include "game/world/units/Unit.h"
#include "ui/screens/CityArt.h"
#include "ui/widgets/WidgetArt.h"

#include <algorithm>
#include <cstdlib>

namespace Main {

namespace {

// Interface fonts of a row: the names, and the descriptions and prices.
constexpr int NameFont = 1, TextFont = 0;
constexpr uint32_t TextColour = 0xA0A0A0, SelectedPriceColour = 0xFFFFFF;
// A skill's description is wrapped to the row's width less 20 pixels, 10 on each side.
constexpr int Square = 72, IconInset = 16, TextGap = 6, Margin = 4, DescriptionInset = 10;
constexpr int PriceWidth = 60;

// The whole frame stretched onto the rectangle, when the sprite is there.
void Stretch(Gfx::TSprite* sprite, Win32::IDirectDrawSurface7* target, const Win32::RECT& rect) {
    if (sprite && sprite->DrawableFrameCount() > 0 && rect.right > rect.left &&
        rect.bottom > rect.top)
        Gfx::DrawSpriteStretched(sprite, target, 0, rect, nullptr, true);
}

// The text wrapped to the rectangle's width and cut with "..." to its height.
void DrawDescription(Win32::IDirectDrawSurface7* target, const Win32::RECT& rect,
                     const char* description) {
    const Gfx::TFont* font = InterfaceFont(TextFont);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (!font || width <= 0 || height < font->CellHeight())
        return;
    font->DrawWrappedText(target, rect, &rect, Gfx::PackColor565(TextColour),
                          FitDescription(*font, description, width, height));
}

} // namespace

ClassLib::AnsiString FitDescription(const Gfx::TFont& font, const ClassLib::AnsiString& text,
                                    int width, int height) {
    // Cut by the lines the wrapping makes: unwrapped, the text counts as one line.
    ClassLib::AnsiString fitted = font.WrapText(width, text);
    font.FitTextToHeight(fitted, width, -1, height);
    return fitted;
}

uint32_t SpellStandingColour(const GameData::TUnit* unit, TLearnRefusal refusal) {
    if (!unit)
        return ssCanBuy;
    switch (refusal) {
    case lrNone:
        return ssCanBuy;
    case lrKnown:
        return ssKnown;
    case lrNotLearnable:
        return ssCannotLearn;
    default:
        return ssNotYet;
    }
}

uint32_t RowOutlineGrey(bool selected, uint32_t tick) {
    if (selected)
        return 0xC0;
    return uint32_t(191 - std::abs(int(tick % 128) - 64));
}

int SpellFrameSprite(int index) {
    if (index <= 12)
        return csFirstSpellFrame;
    if (index <= 23)
        return csFirstSpellFrame + 1;
    if (index <= 35)
        return csFirstSpellFrame + 2;
    return csFirstSpellFrame + 3;
}

ClassLib::AnsiString RequirementText(int minLevel, int apCost) {
    const ClassLib::AnsiString level =
        minLevel > 0 ? ClassLib::Format("%s: %d", "Level", minLevel) : ClassLib::AnsiString();
    const ClassLib::AnsiString ap =
        apCost > 0 ? ClassLib::Format("%s: %d", "AP", apCost) : ClassLib::AnsiString();
    const char* gap = !level.empty() && !ap.empty() ? " " : "";
    return ClassLib::Format("(%s%s%s)", level, gap, ap);
}

TSpellListBox::TSpellListBox(DXWin::TDXGroup* parent, int width, uint8_t mode, int visibleRows,
                             DXWin::TDXScrollBar* scrollBar)
    : DXWin::TDXListBox(parent, width, RowHeight, scrollBar), Mode(mode) {
    SetVisibleRows(visibleRows);
    UpdateLayout();
}

void TSpellListBox::DrawItem(Win32::IDirectDrawSurface7* target, const Win32::RECT& rect,
                             bool hover, bool selected, int index) {
    if (!Offers || index < 0 || index >= Offers->Count)
        return;
    const TOfferTable::TOffer& offer = Offers->Offers[size_t(index)];
    Stretch(CommonSprite(csListRow), target,
            {rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1});
    if (Mode == slSpells)
        DrawSpellRow(target, rect, offer.Index, offer.Price);
    else
        DrawSkillRow(target, rect, offer.Index, offer.Price);
    // The menus' look: the chosen row outlined, a hovered one in a pulsing grey.
    if (selected || hover) {
        const uint32_t grey = RowOutlineGrey(
            selected, DXApp::Application ? uint32_t(DXApp::Application->TickCount) : 0);
        Gfx::FrameRect(target, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                       Gfx::PackColor565(grey * 0x010101), nullptr);
    }
    // On the name line, at the row's right end.
    if (const Gfx::TFont* font = InterfaceFont(NameFont)) {
        const ClassLib::AnsiString price = ClassLib::IntToStr(offer.Price);
        font->DrawString(target, rect.right - Margin * 2 - font->TextWidth(price),
                         rect.top + Margin, &rect,
                         Gfx::PackColor565(selected ? SelectedPriceColour : TextColour), price);
    }
}

void TSpellListBox::DrawSkillRow(Win32::IDirectDrawSurface7* target, const Win32::RECT& rect,
                                 int entry, int32_t price) const {
    const Data2::TSkillPrototype* skill = GameData::TBattleMasterMerchant::GetSkillPrototype(entry);
    const Gfx::TFont* font = InterfaceFont(NameFont);
    if (!skill || !font)
        return;
    const int id = entry + 1;
    const uint32_t colour =
        SpellStandingColour(Unit, Unit ? SkillRefusal(*Unit, id, price, Gold) : lrNone);
    const int x = rect.left + DescriptionInset, y = rect.top + Margin;
    ClassLib::AnsiString name = skill->Name;
    if (skill->MinLevel > 0 || skill->APCost > 0)
        name = name + " " + RequirementText(skill->MinLevel, skill->APCost);
    font->DrawString(target, x, y, &rect, Gfx::PackColor565(colour), name);
    DrawDescription(target,
                    {x, y + font->CellHeight(), rect.right - DescriptionInset, rect.bottom - 2},
                    skill->Description);
}

void TSpellListBox::DrawSpellRow(Win32::IDirectDrawSurface7* target, const Win32::RECT& rect,
                                 int entry, int32_t price) const {
    const int middle = rect.left + (rect.right - rect.left) / 2;
    const int id = entry + 1;
    const uint32_t colour =
        SpellStandingColour(Unit, Unit ? SpellRefusal(*Unit, id, price, Gold) : lrNone);
    const Data2::TSpellPrototype* spells[] = {
        GameData::TMageMerchant::GetSpellPrototype(entry),
        GameData::THerbalistMerchant::GetAbilityPrototype(entry)};
    const int lefts[] = {rect.left, middle};
    const int rights[] = {middle, rect.right - PriceWidth};
    Gfx::TSprite* frame = CommonSprite(SpellFrameSprite(entry));
    for (int half = 0; half < 2; ++half) {
        const int left = lefts[half];
        const Win32::RECT square{left, rect.top, left + Square, rect.top + Square};
        Stretch(frame, target, square);
        const Data2::TSpellPrototype* spell = spells[half];
        if (!spell)
            continue;
        if (Data2::GlobalData) {
            if (Gfx::TSprite* icon =
                    Data2::GlobalData->SpellLibrary.FindSprite(uint32_t(spell->IconID));
                icon && icon->DrawableFrameCount() > 0)
                Gfx::DrawSprite(icon, target, 0, left + IconInset, rect.top + IconInset, &square);
        }
        const Gfx::TFont* font = InterfaceFont(NameFont);
        if (!font)
            continue;
        const int x = left + Square + TextGap, y = rect.top + Margin;
        const Win32::RECT area{x, rect.top, std::max(x, rights[half] - TextGap), rect.bottom};
        font->DrawString(target, x, y, &area, Gfx::PackColor565(colour),
                         ClassLib::Format("%s (%d)", spell->Name, int(spell->ManaCost)));
        DrawDescription(target, {x, y + font->CellHeight(), area.right, rect.bottom - 2},
                        spell->Description);
    }
}

void TSpellListBox::SetOffers(TCityWindow* window, const TOfferTable* offers,
                              const GameData::TUnit* unit, int64_t gold) {
    Window = window;
    Offers = offers;
    Unit = unit;
    Gold = gold;
    SetItemCount(offers ? offers->Count : 0);
    UpdateLayout();
}

} // namespace Main
