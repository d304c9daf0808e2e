#include "ui/screens/CreaturePedia.h"

#include "engine/graphics/SpriteDrawing.h"
#include "engine/widgets/DXButton.h"
#include "engine/widgets/DXWindowSystem.h"
#include "game/world/data/GlobalData.h"
#include "game/world/players/Player.h"
#include "ui/widgets/WidgetArt.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

namespace Main {

namespace {

using Data2::GlobalData;
using GameData::TUnitStat;

// The interface font slot of the encyclopedia's font (font 27).
constexpr int PediaFont = 8;
constexpr int DescriptionWidth = 288;
constexpr int TextX = 429;
constexpr int DescriptionY = 285;
// What does not fit above the bottom of the page goes into the hint.
constexpr int DescriptionMaxHeight = 475 - DescriptionY;

constexpr int16_t KindHuman = 1;
constexpr int16_t KindUndead = 4;

DXWin::TDXButton* MakeButton(TCreaturePediaWindow* window, int x, int y, int width, int height,
                             const THotkey& key, const char* hint) {
    auto* button = new DXWin::TDXButton(window, window, 0);
    button->SetPosition(x, y);
    button->SetSize(width, height);
    button->SetHint(MakeHotkeyCaption(key, hint));
    return button;
}

ClassLib::AnsiString StatText(const GameData::TUnitStats& stats, TUnitStat stat) {
    // At level 1 the growth has not begun: the value is the base.
    ClassLib::AnsiString text = std::to_string(stats.Base(stat));
    if (stats.Delta(stat) >= 1 && stats.Every(stat) >= 1)
        text += " + " + std::to_string(stats.Delta(stat)) + "/" + std::to_string(stats.Every(stat));
    return text;
}

bool Grows(const GameData::TUnitStats& stats, TUnitStat stat) {
    return stats.Base(stat) > 0 || stats.Delta(stat) > 0;
}

std::string_view TrimLeadingBreaks(std::string_view text) {
    const size_t first = text.find_first_not_of("\r\n ");
    return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

} // namespace

TCreaturePediaWindow::TCreaturePediaWindow(DXWin::TDXWindowSystem* windowSystem,
                                           const GameData::TPlayer* player,
                                           const THotkeyTable& keys)
    : TVRNWindow(windowSystem, 0x110000, 0), FKeys(keys) {
    SetSize(800, 600);
    const auto key = [&](int entry) -> const THotkey& { return keys[size_t(entry)]; };
    CloseButton = MakeButton(this, 0, 525, 494, 75, key(hkPediaClose), "Close");
    NextButton = MakeButton(this, 744, 57, 40, 432, key(hkPediaNext), "Next page");
    PreviousButton = MakeButton(this, 23, 59, 40, 422, key(hkPediaPrevious), "Previous page");
    AnimalsButton = MakeButton(this, 518, 513, 30, 62, key(hkPediaAnimals), "Animals/Creatures");
    HumansButton = MakeButton(this, 598, 513, 30, 62, key(hkPediaHumans), "Humans");
    UndeadButton = MakeButton(this, 668, 513, 30, 62, key(hkPediaUndead), "Undead");
    CloseButton->OnClick = [this](DXWin::TDXControl*) { CloseBook(); };
    NextButton->OnClick = [this](DXWin::TDXControl*) { NextPage(); };
    PreviousButton->OnClick = [this](DXWin::TDXControl*) { PreviousPage(); };
    AnimalsButton->OnClick = [this](DXWin::TDXControl*) { ChooseCategory(Animals, AnimalsButton); };
    HumansButton->OnClick = [this](DXWin::TDXControl*) { ChooseCategory(Humans, HumansButton); };
    UndeadButton->OnClick = [this](DXWin::TDXControl*) { ChooseCategory(Undead, UndeadButton); };
    OnMouseDown = [this](int button, DXWin::TShiftState, int, int) {
        if (button == DXWin::mbRight)
            CloseBook();
    };
    OnKeyDown = [this](Win32::WPARAM& k, DXWin::TShiftState shift) { KeyPressed(k, shift); };

    FFont = InterfaceFont(PediaFont);
    BuildCategories(player);
    UpdateButtons();
}

TCreaturePediaWindow::~TCreaturePediaWindow() {
    ReleasePicture();
}

void TCreaturePediaWindow::ReleasePicture() {
    if (FPicture && GlobalData)
        GlobalData->CreatureLibrary.ReleaseSpriteByPointer(FPicture);
    FPicture = nullptr;
}

void TCreaturePediaWindow::BuildCategories(const GameData::TPlayer* player) {
    for (TCategory* category : {&Animals, &Humans, &Undead})
        *category = TCategory{};
    FCurrent = nullptr;
    if (!player || !GlobalData)
        return;
    for (int i = 0; i < player->MetPrototypes.Count(); ++i) {
        const int index = GlobalData->FindUnitPrototype(int(player->MetPrototypes[i]));
        if (index < 0)
            continue;
        const Data2::TUnitPrototype& prototype = GlobalData->UnitPrototypes[index];
        if (prototype.PictureID3 == 0)
            continue;
        TCategory& category = prototype.CreatureType == KindHuman    ? Humans
                              : prototype.CreatureType == KindUndead ? Undead
                                                                     : Animals;
        category.Prototypes.push_back(&prototype);
    }
    for (TCategory* category : {&Animals, &Humans, &Undead})
        if (category->Count() > 0) {
            ShowPage(*category, category->Index);
            break;
        }
}

const Data2::TUnitPrototype* TCreaturePediaWindow::Shown() const {
    return FCurrent && FCurrent->Count() > 0 ? FCurrent->Prototypes[size_t(FCurrent->Index)]
                                             : nullptr;
}

void TCreaturePediaWindow::ShowPage(TCategory& category, int index) {
    if (category.Count() == 0 || index < 0 || index >= category.Count())
        return;
    const Data2::TUnitPrototype& prototype = *category.Prototypes[size_t(index)];
    ReleasePicture();
    if (GlobalData)
        FPicture = GlobalData->CreatureLibrary.AcquireSpriteByID(uint32_t(prototype.PictureID3));

    FDescription.Clear();
    FDescriptionRest.clear();
    if (FFont) {
        ClassLib::AnsiString shown = FFont->WrapText(DescriptionWidth, prototype.Description);
        if (FFont->TextHeight(shown) > DescriptionMaxHeight) {
            // Whole lines, as many as fit.
            size_t end = shown.find_first_of("\r\n");
            while (end != ClassLib::AnsiString::npos) {
                const size_t next = shown.find_first_of("\r\n", end + 1);
                if (FFont->TextHeight(shown.substr(0, next)) > DescriptionMaxHeight)
                    break;
                end = next;
            }
            shown.resize(std::min(end, shown.size()));
            const std::string_view full = prototype.Description;
            // The fitted text is the wrapped beginning: count its characters other than
            // the soft breaks wrapping added.
            size_t consumed = 0;
            for (size_t i = 0; i < shown.size() && consumed < full.size(); ++i)
                if (shown[i] == full[consumed])
                    ++consumed;
            FDescriptionRest = "..." + std::string(TrimLeadingBreaks(full.substr(consumed)));
            shown += '\r';
        }
        FDescription.AddNode(*FFont, 0, 0, 0, shown, Gfx::cbNone);
        FDescription.Reflow(DescriptionWidth);
    }
    FCurrent = &category;
    category.Index = index;
}

void TCreaturePediaWindow::UpdateButtons() {
    const int index = FCurrent ? FCurrent->Index : 0;
    const int count = FCurrent ? FCurrent->Count() : 0;
    PreviousButton->SetEnabled(index >= 1);
    NextButton->SetEnabled(index < count - 1);
    AnimalsButton->SetVisible(Animals.Count() > 0);
    HumansButton->SetVisible(Humans.Count() > 0);
    UndeadButton->SetVisible(Undead.Count() > 0);
}

void TCreaturePediaWindow::UpdateHint() {
    const DXWin::TDXWindowSystem* system = GetWindowSystem();
    const Win32::POINT mouse =
        system ? Win32::POINT{system->MouseX(), system->MouseY()} : Win32::POINT{-1, -1};
    const Win32::POINT local = ScreenToLocal(mouse);
    const bool inside = local.x >= DescriptionRect.left && local.x < DescriptionRect.right &&
                        local.y >= DescriptionRect.top && local.y < DescriptionRect.bottom;
    SetHint(inside ? FDescriptionRest : ClassLib::AnsiString{});
}

void TCreaturePediaWindow::CloseBook() {
    SetModalResult(1);
    Close();
}

void TCreaturePediaWindow::PreviousPage() {
    if (FCurrent && FCurrent->Index > 0)
        ShowPage(*FCurrent, FCurrent->Index - 1);
    UpdateButtons();
}

void TCreaturePediaWindow::NextPage() {
    if (FCurrent && FCurrent->Index < FCurrent->Count() - 1)
        ShowPage(*FCurrent, FCurrent->Index + 1);
    UpdateButtons();
}

void TCreaturePediaWindow::FirstPage() {
    if (FCurrent)
        ShowPage(*FCurrent, 0);
    UpdateButtons();
}

void TCreaturePediaWindow::LastPage() {
    if (FCurrent && FCurrent->Count() > 0)
        ShowPage(*FCurrent, FCurrent->Count() - 1);
    UpdateButtons();
}

void TCreaturePediaWindow::ChooseCategory(TCategory& category, const DXWin::TDXButton* button) {
    if (!button->Visible() || !button->Enabled())
        return;
    if (&category != FCurrent)
        ShowPage(category, category.Index);
    UpdateButtons();
}

void TCreaturePediaWindow::KeyPressed(Win32::WPARAM& key, DXWin::TShiftState shift) {
    if (shift & (DXWin::ssShift | DXWin::ssCtrl | DXWin::ssAlt))
        return;
    uint32_t k = uint32_t(key);
    const auto pressed = [&](int entry) { return MatchHotkey(FKeys[size_t(entry)], k); };
    if (pressed(hkPediaClose))
        CloseBook();
    if (pressed(hkPediaPrevious))
        PreviousPage();
    if (pressed(hkPediaNext))
        NextPage();
    if (pressed(hkPediaFirstPage))
        FirstPage();
    if (pressed(hkPediaLastPage))
        LastPage();
    if (pressed(hkPediaAnimals))
        ChooseCategory(Animals, AnimalsButton);
    if (pressed(hkPediaHumans))
        ChooseCategory(Humans, HumansButton);
    if (pressed(hkPediaUndead))
        ChooseCategory(Undead, UndeadButton);
    key = k;
}

void TCreaturePediaWindow::Tick() {
    TVRNWindow::Tick();
    UpdateHint();
}

void TCreaturePediaWindow::Draw(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) {
    const Data2::TUnitPrototype* prototype = Shown();
    if (FPicture && prototype && FFont) {
        const int x0 = bounds.left, y0 = bounds.top;
        Gfx::DrawSprite(FPicture, target, 0, x0, y0, &bounds);
        FFont->DrawString(target, x0 + TextX, y0 + 72, &bounds, 0, prototype->Name);
        if (prototype->IsHero)
            FFont->DrawString(target, x0 + TextX, y0 + 95, &bounds, 0, "(hero)");
        FDescription.Draw(target, x0 + TextX, y0 + DescriptionY, &bounds);
        FFont->DrawString(target, x0 + TextX, y0 + 122, &bounds, 0,
                          prototype->IsHero ? "Attributes on level 1:"
                                            : "Typical attributes on level 1:");
        DrawAttributes(target, x0, y0);
    }
    TVRNWindow::Draw(target, bounds);
}

void TCreaturePediaWindow::DrawAttributes(Win32::IDirectDrawSurface7* target, int x0,
                                          int y0) const {
    const GameData::TUnitStats& stats = Shown()->Stats;
    struct TRow {
        const char* Label;
        ClassLib::AnsiString Value;
        bool Indented;
    };
    std::vector<TRow> left{{"Hit Points:", StatText(stats, GameData::HITPOINTS), false}};
    if (Grows(stats, GameData::HPREGENERATE))
        left.push_back({"regeneration", StatText(stats, GameData::HPREGENERATE), true});
    left.push_back({"Action Points:", StatText(stats, GameData::ACTIONPOINTS), false});
    left.push_back({"Mana:", StatText(stats, GameData::MANA), false});
    if (Grows(stats, GameData::MANAREGENERATE))
        left.push_back({"regeneration", StatText(stats, GameData::MANAREGENERATE), true});
    const int morale = GlobalData ? GlobalData->GameConstants[Data2::gcDefaultMorale] : 0;
    left.push_back({"Morale:", std::to_string(morale), false});
    if (Grows(stats, GameData::MORALEREGENERATE))
        left.push_back({"regeneration", StatText(stats, GameData::MORALEREGENERATE), true});
    const std::vector<TRow> right{
        {"Sight:", StatText(stats, GameData::SIGHT), false},
        {"Attack:", StatText(stats, GameData::ATTACK), false},
        {"Counterattack:", StatText(stats, GameData::COUNTERATTACK), false},
        {"Defense:", StatText(stats, GameData::DEFENCE), false}};
    const Win32::RECT clip{x0, y0, x0 + Width(), y0 + Height()};
    const auto column = [&](const std::vector<TRow>& rows, int labelX, int valueX) {
        int y = y0 + 152;
        for (const TRow& row : rows) {
            FFont->DrawString(target, x0 + labelX + (row.Indented ? 10 : 0), y, &clip, 0,
                              row.Label);
            FFont->DrawString(target, x0 + valueX, y, &clip, 0, row.Value);
            y += 16;
        }
    };
    column(left, 429, 519);
    column(right, 590, 670);
}

} // namespace Main
