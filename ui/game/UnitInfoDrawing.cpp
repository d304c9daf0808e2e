// How a unit panel looks: its background by layout, the name, the four value bars with
// their labels, the other values, the portrait with its frames and the spell book.
#include "engine/graphics/GfxFont.h"
#include "engine/graphics/Sprite.h"
#include "engine/graphics/SpriteDrawing.h"
#include "engine/widgets/DXButton.h"
#include "game/world/cities/City.h"
#include "game/world/groups/Group.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/units/Unit.h"
#include "ui/game/ButtonSprite.h"
#include "ui/game/UnitDrawing.h"
#include "ui/game/UnitInfoControl.h"
#include "ui/widgets/WidgetArt.h"

#include <algorithm>

namespace Main {

using ClassLib::AnsiString;
using namespace GameData;

namespace {

// Slots of the global data's interface sprite table.
constexpr int gsPanelBackground = 1054;
constexpr int gsFightLeftBackground = 1061;
constexpr int gsFightRightBackground = 1062;
constexpr int gsSpellbook = 1055;
constexpr int gsSpellbookLit = 1056;
constexpr int gsSplitMark = 1058;
constexpr int gsNeutralFrame = 1059;
constexpr int gsLitFrame = 1060;
constexpr int gsHitPointsBar = 1104;
constexpr int gsActionPointsBar = 1105;
constexpr int gsExperienceBar = 1106;
constexpr int gsManaBar = 1107;
constexpr int gsFirstOwnerFrame = 1136; // + the owner's player index
constexpr int gsDeadCover = 1141;

constexpr int FightLeftBackgroundShift = 6;
constexpr int NameFont = 2;
constexpr int HeroNameFont = 4;
constexpr int NumberFont = 2;
constexpr int NameWidth = 90;
constexpr int NameTop = 93;
// The group panel's next row begins here, the fight panels' values just below: a font
// too tall for the box from NameTop is raised to end here, into the empty top of its cell.
constexpr int NameBottom = 104;
constexpr int BarTop = 38;
constexpr int BarSpacing = 16;
constexpr int LabelShift = 4;
constexpr int LabelTop = 59;

void DrawCentred(const Gfx::TFont* font, Win32::IDirectDrawSurface7* target, int32_t x, int32_t y,
                 const AnsiString& text) {
    if (font)
        font->DrawString(target, x - font->TextWidth(text) / 2, y - font->CellHeight() / 2, nullptr,
                         0, text);
}

void DrawAtHotSpot(Gfx::TSprite* sprite, Win32::IDirectDrawSurface7* target, int32_t x, int32_t y) {
    if (sprite)
        Gfx::DrawSprite(sprite, target, 0, x - sprite->HotSpotX, y - sprite->HotSpotY, nullptr);
}

// The index of the unit's player in its scenario's player list; -1 for none.
int OwnerIndexOf(const TUnit& unit) {
    const TUnitPlayer* player = unit.GetPlayer();
    const TMapObject* home = unit.GetGroup();
    if (!home)
        home = unit.GetCity();
    if (!player || !home || !home->Scenario)
        return -1;
    const TScenario& scenario = *home->Scenario;
    for (int i = 0; i < scenario.PlayerCount(); ++i)
        if (static_cast<const TUnitPlayer*>(scenario.Players[i]) == player)
            return i;
    return -1;
}

} // namespace

void TUnitInfoControl::DrawPanel(Win32::IDirectDrawSurface7* target,
                                 const Win32::RECT& bounds) const {
    if (!FUnit)
        return;
    const int32_t x = bounds.left, y = bounds.top;
    switch (FLayout) {
    case ulGroupPanel:
        Gfx::DrawSprite(CommonSprite(gsPanelBackground), target, 0, x, y, nullptr);
        break;
    case ulFightLeft:
        Gfx::DrawSprite(CommonSprite(gsFightLeftBackground), target, 0,
                        x - FightLeftBackgroundShift, y, nullptr);
        break;
    case ulFightRight:
        Gfx::DrawSprite(CommonSprite(gsFightRightBackground), target, 0, x, y, nullptr);
        break;
    }
    if (const Gfx::TFont* font = InterfaceFont(FUnit->IsHero ? HeroNameFont : NameFont)) {
        AnsiString name = FUnit->Name;
        font->FitTextToWidth(name, NameWidth, -1);
        const int32_t top = std::min(NameTop, NameBottom - int(font->CellHeight()));
        font->DrawString(target, x + FPortraitButton->X(), y + top, nullptr, 0, name);
    }
    DrawBars(target, x, y);
    DrawNumbers(target, x, y);
}

void TUnitInfoControl::DrawBars(Win32::IDirectDrawSurface7* target, int32_t x, int32_t y) const {
    const TUnitStats& stats = FUnit->Effective;
    const int32_t level = stats.Level();
    const struct {
        int Sprite;
        const char* Label;
        int32_t Minimum, Value, Maximum;
    } bars[] = {
        {gsHitPointsBar, "HP", -1, stats.Value(HITPOINTS), stats.AtLevel(HITPOINTS)},
        {gsActionPointsBar, "AP", -1, stats.Value(ACTIONPOINTS), stats.AtLevel(ACTIONPOINTS)},
        {gsManaBar, "M", -1, stats.Value(MANA), stats.AtLevel(MANA)},
        {gsExperienceBar, "E", int32_t(stats.ExperienceForLevel(level)), stats.Experiences(),
         int32_t(stats.ExperienceForLevel(level + 1))},
    };
    const Gfx::TFont* font = InterfaceFont(NumberFont);
    int32_t barX = x + (FLayout == ulFightLeft ? 10 : 130);
    const int32_t barY = y + BarTop;
    for (const auto& bar : bars) {
        DrawValueBar(target, CommonSprite(bar.Sprite), barX, bar.Minimum, bar.Value, bar.Maximum,
                     barY);
        DrawCentred(font, target, barX + LabelShift, barY + LabelTop, bar.Label);
        barX += BarSpacing;
    }
}

void TUnitInfoControl::DrawNumbers(Win32::IDirectDrawSurface7* target, int32_t x, int32_t y) const {
    const Gfx::TFont* font = InterfaceFont(NumberFont);
    const TUnitStats& stats = FUnit->Effective;
    const auto number = [&](int32_t cx, int32_t cy, int value) {
        DrawCentred(font, target, cx, cy, ClassLib::IntToStr(value));
    };
    if (FLayout == ulGroupPanel) {
        const int values[] = {stats.Morale(), stats.Value(SIGHT), stats.Value(ATTACK),
                              stats.Value(COUNTERATTACK), stats.Value(DEFENCE)};
        for (int i = 0; i < 5; ++i)
            number(x + 225, y + 11 + 19 * i, values[i]);
        number(x + 114, y + 71, stats.Level());
        return;
    }
    const int values[] = {stats.Morale(), stats.Value(ATTACK), stats.Value(COUNTERATTACK),
                          stats.Value(DEFENCE)};
    const int32_t rowX = x + (FLayout == ulFightLeft ? 25 : 76);
    for (int i = 0; i < 4; ++i)
        number(rowX + 35 * i, y + 113, values[i]);
    if (FLayout == ulFightLeft)
        number(x + 90, y + 70, stats.Level());
    else
        number(x + 115, y + 71, stats.Level());
}

void TUnitInfoControl::DrawPortrait(Win32::IDirectDrawSurface7* target,
                                    const Win32::RECT& bounds) const {
    // An empty panel is on its way out: nothing to frame.
    if (!FUnit)
        return;
    Gfx::DrawSprite(FUnit->Portrait(), target, 0, bounds.left, bounds.top, nullptr);
    FUnit->DrawEffectIcons(target, bounds.left, bounds, bounds.top);
    if (FUnit->IsDead())
        Gfx::DrawSpriteStretched(CommonSprite(gsDeadCover), target, 0, bounds, nullptr, true);
    if (Marked)
        DrawAtHotSpot(CommonSprite(gsSplitMark), target, bounds.left, bounds.top);
    const int owner = OwnerFrame ? OwnerIndexOf(*FUnit) : -1;
    DrawAtHotSpot(CommonSprite(owner >= 0 ? gsFirstOwnerFrame + owner : gsNeutralFrame), target,
                  bounds.left, bounds.top);
    if (ShowSelection && FPortraitButton->Hovered())
        DrawAtHotSpot(CommonSprite(gsLitFrame), target, bounds.left, bounds.top);
    if (FOnPortraitDraw)
        FOnPortraitDraw(target, bounds);
}

void TUnitInfoControl::DrawSpellbookButton(Win32::IDirectDrawSurface7* target,
                                           const Win32::RECT& bounds) const {
    const TGroup* group = FUnit ? FUnit->GetGroup() : nullptr;
    if (group && group->IsSelectedCityGroup())
        return;
    DrawButtonSprite(*FSpellbookButton, CommonSprite(gsSpellbook), CommonSprite(gsSpellbookLit),
                     target, bounds);
}

} // namespace Main
