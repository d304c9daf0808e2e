#include "ui/game/UnitDetailWindow.h"

#include "engine/graphics/GfxFont.h"
#include "engine/graphics/GfxPixels.h"
#include "engine/graphics/Sprite.h"
#include "engine/graphics/SpriteDrawing.h"
#include "engine/widgets/DXWindowSystem.h"
#include "game/world/data/GlobalData.h"
#include "game/world/units/Unit.h"
#include "ui/widgets/WidgetArt.h"

#include <algorithm>

namespace Main {

using ClassLib::AnsiString;
using GameData::TUnit;
using GameData::TUnitStat;

namespace {

constexpr int TextFont = 3;
constexpr int TitleFont = 8;
constexpr int PictureFrameSprite = 1087;
constexpr int EscapeKey = 27;

// Places on the sheet, relative to its top-left corner.
constexpr int PictureX = 75, PictureY = 95;
constexpr int TitleCentreX = 270, TitleY = 30;
constexpr int LabelX = 325, ValueX = 415, ColumnTop = 75, IndentX = 10;
constexpr int SpellsX = 40, SkillsX = 270, ListsY = 350, ListGap = 20;
constexpr int IconsPerRow = 4, IconStep = 50, MaxSpellIcons = 12, MaxSkillLines = 10;
// Where an effect has no icon to size it.
constexpr int FallbackIconSize = 40;

// One spell icon or skill line of the lists below the statistics, with its tooltip.
struct TSheetEntry {
    Win32::RECT Rect;
    Gfx::TSprite* Icon;
    AnsiString Text;
    AnsiString Tooltip;
};

std::vector<TSheetEntry> SpellEntries(const TUnit& unit, int sheetX, int sheetY) {
    std::vector<TSheetEntry> entries;
    const Data2::TGlobalData* global = Data2::GlobalData.get();
    if (!global)
        return entries;
    for (const GameData::TAfterEffect* effect : unit.Effects) {
        if (int(entries.size()) == MaxSpellIcons)
            break;
        const int found = global->FindSpell(effect->Kind);
        if (found < 0)
            continue;
        const Data2::TSpellPrototype& spell = global->SpellPrototypes[found];
        Gfx::TSprite* icon = global->SpellLibrary.FindSprite(uint32_t(spell.IconID));
        const int n = int(entries.size());
        const int x = sheetX + SpellsX + (n % IconsPerRow) * IconStep;
        const int y = sheetY + ListsY + ListGap + (n / IconsPerRow) * IconStep;
        const int width = icon ? icon->Width : FallbackIconSize;
        const int height = icon ? icon->Height : FallbackIconSize;
        entries.push_back({{x, y, x + width, y + height},
                           icon,
                           ClassLib::Format("(%d)", effect->Duration),
                           ClassLib::Format("%s\n%s", spell.Name, spell.Description)});
    }
    return entries;
}

const GameData::TAfterEffect* EffectOfKind(const TUnit& unit, int32_t kind) {
    for (const GameData::TAfterEffect* effect : unit.Effects)
        if (effect->Kind == kind)
            return effect;
    return nullptr;
}

std::vector<TSheetEntry> SkillEntries(const TUnit& unit, int sheetX, int sheetY) {
    std::vector<TSheetEntry> entries;
    const Data2::TGlobalData* global = Data2::GlobalData.get();
    const Gfx::TFont* font = InterfaceFont(TextFont);
    if (!global)
        return entries;
    for (int id = 1; id <= GameData::MaskedIDCount; ++id) {
        if (int(entries.size()) == MaxSkillLines)
            break;
        const int found = unit.HasSkill(id) ? global->FindSkill(id) : -1;
        if (found < 0)
            continue;
        const Data2::TSkillPrototype& skill = global->SkillPrototypes[found];
        const GameData::TAfterEffect* effect = EffectOfKind(unit, GameData::ekSkillBase + id);
        const AnsiString text = effect ? ClassLib::Format("%s (%d)", skill.Name, effect->Duration)
                                       : AnsiString(skill.Name);
        const int x = sheetX + SkillsX;
        const int y =
            sheetY + ListsY + ListGap + int(entries.size()) * TUnitDetailWindow::RowHeight;
        const int width = font ? font->TextWidth(text) : 0;
        entries.push_back({{x, y, x + width, y + TUnitDetailWindow::RowHeight},
                           nullptr,
                           text,
                           ClassLib::Format("%s\n%s", skill.Name, skill.Description)});
    }
    return entries;
}

bool Inside(const Win32::RECT& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

} // namespace

TUnitDetailWindow::TUnitDetailWindow(DXWin::TDXWindowSystem* windowSystem, uint32_t options)
    : TVRNWindow(windowSystem, options, 0), FBackground(CommonSprite(cgVertParchment)) {
    SetSize(800, 600);
    OnKeyDown = [this](Win32::WPARAM& key, DXWin::TShiftState) {
        if (key == EscapeKey)
            CloseSheet();
    };
    OnMouseDown = [this](int button, DXWin::TShiftState, int, int) {
        if (button == DXWin::mbLeft || button == DXWin::mbRight)
            CloseSheet();
    };
}

TUnitDetailWindow::~TUnitDetailWindow() {
    SetUnit(nullptr);
}

void TUnitDetailWindow::SetUnit(TUnit* unit) {
    // The picture of a unit shown before goes first, so that none is held twice.
    if (FUnit && FUnit != unit)
        FUnit->ReleaseDetailPicture();
    FUnit = unit;
    if (FUnit)
        FUnit->AcquireDetailPicture();
}

void TUnitDetailWindow::CloseSheet() {
    SetUnit(nullptr);
    SetModalResult(1);
    Close();
}

uint32_t TUnitDetailWindow::CompareColour(int effective, int own, bool zeroStaysBlack) {
    if (effective < own)
        return Red;
    if (effective > own && !(zeroStaysBlack && effective == 0))
        return Blue;
    return Black;
}

std::vector<TSheetRow> TUnitDetailWindow::StatisticRows(const TUnit& unit) {
    using namespace GameData;
    struct TCandidate {
        const char* Label;
        TSheetRowKind Kind;
        TUnitStat Stat;
        bool Indented;
    };
    static constexpr TCandidate Candidates[] = {
        {"Level:", TSheetRowKind::Level, HITPOINTS, false},
        {"Experiences:", TSheetRowKind::Experience, HITPOINTS, false},
        {nullptr, TSheetRowKind::Level, HITPOINTS, false}, // a gap
        {"Hit Points:", TSheetRowKind::Statistic, HITPOINTS, false},
        {"regeneration", TSheetRowKind::Statistic, HPREGENERATE, true},
        {"Action Points:", TSheetRowKind::Statistic, ACTIONPOINTS, false},
        {"Mana:", TSheetRowKind::Statistic, MANA, false},
        {"regeneration", TSheetRowKind::Statistic, MANAREGENERATE, true},
        {"Morale:", TSheetRowKind::Morale, HITPOINTS, false},
        {"regeneration", TSheetRowKind::Statistic, MORALEREGENERATE, true},
        {"Sight:", TSheetRowKind::Statistic, SIGHT, false},
        {"Attack:", TSheetRowKind::Statistic, ATTACK, false},
        {"Counterattack:", TSheetRowKind::Statistic, COUNTERATTACK, false},
        {"Defense:", TSheetRowKind::Statistic, DEFENCE, false},
    };
    std::vector<TSheetRow> rows;
    int offset = 0;
    for (const TCandidate& c : Candidates) {
        if (c.Indented && unit.Own.Value(c.Stat) <= 0)
            continue;
        if (c.Label)
            rows.push_back({c.Label, c.Kind, c.Stat, c.Indented, offset});
        offset += RowHeight;
    }
    return rows;
}

int TUnitDetailWindow::DrawStatValue(Win32::IDirectDrawSurface7* target, const TUnit& unit, int y,
                                     int x, TUnitStat stat) {
    const Gfx::TFont* font = InterfaceFont(TextFont);
    if (!font)
        return x;
    const GameData::TUnitStats& now = unit.Effective;
    const GameData::TUnitStats& own = unit.Own;
    const auto put = [&](const AnsiString& text, uint32_t colour) {
        font->DrawString(target, x, y, nullptr, Gfx::PackColor16(colour), text);
        x += font->TextWidth(text);
    };
    const auto number = [&](int value, int ownValue, bool zeroStaysBlack = false) {
        put(ClassLib::Format("%d", value), CompareColour(value, ownValue, zeroStaysBlack));
    };
    number(now.Value(stat), own.Value(stat), true);
    put("/", Black);
    number(now.AtLevel(stat), own.AtLevel(stat));
    if ((now.Delta(stat) >= 1 || own.Delta(stat) >= 1) && now.Every(stat) > 0) {
        put(" + ", Black);
        number(now.Delta(stat), own.Delta(stat));
        put("/", Black);
        number(now.Every(stat), own.Every(stat));
    }
    return x;
}

void TUnitDetailWindow::Tick() {
    TVRNWindow::Tick();
    const DXWin::TDXWindowSystem* system = GetWindowSystem();
    SetHint(system ? TooltipAt(system->MouseX(), system->MouseY()) : AnsiString());
}

AnsiString TUnitDetailWindow::TooltipAt(int x, int y) const {
    if (!FUnit)
        return {};
    for (const auto& entries :
         {SpellEntries(*FUnit, SheetX, SheetY), SkillEntries(*FUnit, SheetX, SheetY)})
        for (const TSheetEntry& entry : entries)
            if (Inside(entry.Rect, x, y))
                return entry.Tooltip;
    return {};
}

void TUnitDetailWindow::Draw(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) {
    TVRNWindow::Draw(target, bounds);
    const int x = SheetX, y = SheetY;
    if (FBackground)
        Gfx::DrawSpriteStretched(FBackground, target, 0, {x, y, x + SheetWidth, y + SheetHeight},
                                 &bounds, true);
    if (!FUnit)
        return;
    if (Gfx::TSprite* picture = FUnit->DetailPicture())
        Gfx::DrawSprite(picture, target, 0, x + PictureX, y + PictureY, &bounds);
    if (Gfx::TSprite* frame = CommonSprite(PictureFrameSprite))
        Gfx::DrawSprite(frame, target, 0, x + PictureX - frame->HotSpotX,
                        y + PictureY - frame->HotSpotY, &bounds);
    if (const Gfx::TFont* title = InterfaceFont(TitleFont))
        title->DrawString(target, x + TitleCentreX - title->TextWidth(FUnit->Name) / 2, y + TitleY,
                          &bounds, Black, FUnit->Name);
    DrawStatistics(target, x, y);
    DrawActiveSpells(target, x, y);
    DrawSkills(target, x, y);
}

void TUnitDetailWindow::DrawStatistics(Win32::IDirectDrawSurface7* target, int x, int y) const {
    const Gfx::TFont* font = InterfaceFont(TextFont);
    if (!font)
        return;
    const GameData::TUnitStats& stats = FUnit->Effective;
    for (const TSheetRow& row : StatisticRows(*FUnit)) {
        const int rowY = y + ColumnTop + row.Offset;
        font->DrawString(target, x + LabelX + (row.Indented ? IndentX : 0), rowY, nullptr, Black,
                         row.Label);
        const int valueX = x + ValueX;
        switch (row.Kind) {
        case TSheetRowKind::Level:
            font->DrawString(target, valueX, rowY, nullptr, Black,
                             ClassLib::Format("%d", int(stats.Level())));
            break;
        case TSheetRowKind::Experience:
            font->DrawString(target, valueX, rowY, nullptr, Black,
                             ClassLib::Format("%d (%lld)", int(stats.Experiences()),
                                              static_cast<long long>(
                                                  stats.ExperienceForLevel(stats.Level() + 1))));
            break;
        case TSheetRowKind::Morale: {
            const int maximum =
                Data2::GlobalData ? Data2::GlobalData->GameConstants[Data2::gcMaxMorale] : 0;
            font->DrawString(target, valueX, rowY, nullptr, Black,
                             ClassLib::Format("%d/%d", int(stats.Morale()), maximum));
            break;
        }
        case TSheetRowKind::Statistic:
            DrawStatValue(target, *FUnit, rowY, valueX, row.Stat);
            break;
        }
    }
}

void TUnitDetailWindow::DrawActiveSpells(Win32::IDirectDrawSurface7* target, int x, int y) const {
    const Gfx::TFont* font = InterfaceFont(TextFont);
    if (font)
        font->DrawString(target, x + SpellsX, y + ListsY, nullptr, Black, "Active spells:");
    for (const TSheetEntry& entry : SpellEntries(*FUnit, x, y)) {
        if (entry.Icon)
            Gfx::DrawSprite(entry.Icon, target, 0, entry.Rect.left, entry.Rect.top, nullptr);
        if (font)
            font->DrawString(target, entry.Rect.right - font->TextWidth(entry.Text),
                             entry.Rect.bottom - font->TextHeight(entry.Text), nullptr, Black,
                             entry.Text);
    }
}

void TUnitDetailWindow::DrawSkills(Win32::IDirectDrawSurface7* target, int x, int y) const {
    const Gfx::TFont* font = InterfaceFont(TextFont);
    if (!font)
        return;
    font->DrawString(target, x + SkillsX, y + ListsY, nullptr, Black, "Skills/artifacts:");
    for (const TSheetEntry& entry : SkillEntries(*FUnit, x, y))
        font->DrawString(target, entry.Rect.left, entry.Rect.top, nullptr, Black, entry.Text);
}

} // namespace Main
