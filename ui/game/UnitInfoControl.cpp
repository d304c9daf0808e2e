#include "ui/game/UnitInfoControl.h"

#include "engine/widgets/DXButton.h"
#include "game/world/data/GlobalData.h"
#include "game/world/units/Unit.h"
#include "ui/game/Game.h"

namespace Main {

using ClassLib::AnsiString;
using GameData::TUnit;

namespace {

constexpr Win32::SIZE LayoutSizes[UnitInfoLayoutCount] = {{238, 114}, {195, 132}, {194, 132}};

constexpr Win32::RECT HotRects[UnitInfoValueCount][UnitInfoLayoutCount] = {
    {{126, 10, 142, 105}, {7, 10, 23, 105}, {126, 10, 142, 105}},      // hit points
    {{142, 10, 158, 105}, {23, 10, 39, 105}, {142, 10, 158, 105}},     // action points
    {{158, 10, 174, 105}, {39, 10, 55, 105}, {158, 10, 174, 105}},     // mana
    {{174, 10, 190, 105}, {55, 10, 71, 105}, {174, 10, 190, 105}},     // experience
    {{200, 10, 235, 29}, {0, 112, 35, 131}, {53, 112, 88, 131}},       // morale
    {{200, 29, 235, 48}, {}, {}},                                      // sight
    {{200, 48, 235, 67}, {35, 112, 70, 131}, {88, 112, 123, 131}},     // attack
    {{200, 67, 235, 86}, {70, 112, 105, 131}, {123, 112, 158, 131}},   // counterattack
    {{200, 86, 235, 105}, {105, 112, 140, 131}, {158, 112, 193, 131}}, // defense
    {{96, 72, 122, 84}, {72, 71, 97, 84}, {96, 72, 122, 84}},          // level
};

constexpr int PortraitSize = 80;
constexpr int SpellbookSize = 28;

bool Holds(const Win32::RECT& r, int32_t x, int32_t y) {
    return x > r.left && x < r.right && y > r.top && y < r.bottom;
}

int32_t MaximumMorale() {
    return Data2::GlobalData ? Data2::GlobalData->GameConstants[Data2::gcMaxMorale] : 0;
}

AnsiString Tooltip(const TUnit& unit, TUnitInfoValue value) {
    using namespace GameData;
    const TUnitStats& stats = unit.Effective;
    const auto pool = [&stats](const char* name, TUnitStat stat) {
        return ClassLib::Format("%s: %d/%d", name, int(stats.Value(stat)),
                                int(stats.AtLevel(stat)));
    };
    const auto rating = [](const char* name, int value) {
        return ClassLib::Format("%s: %d", name, value);
    };
    switch (value) {
    case uvHitPoints:
        return pool("Hit points", HITPOINTS);
    case uvActionPoints:
        return pool("Action points", ACTIONPOINTS);
    case uvMana:
        return pool("Mana", MANA);
    case uvExperience:
        return ClassLib::Format("%s: %d (%d)", "Experience", int(stats.Experiences()),
                                int(stats.ExperienceForLevel(stats.Level() + 1)));
    case uvMorale:
        return ClassLib::Format("%s: %d/%d", "Morale", int(stats.Morale()), int(MaximumMorale()));
    case uvSight:
        return rating("Sight", stats.Value(SIGHT));
    case uvAttack:
        return rating("Attack", stats.Value(ATTACK));
    case uvCounterattack:
        return rating("Counterattack", stats.Value(COUNTERATTACK));
    case uvDefense:
        return rating("Defense", stats.Value(DEFENCE));
    case uvLevel:
        return rating("Level", stats.Level());
    default:
        return {};
    }
}

} // namespace

TUnitInfoControl::TUnitInfoControl(DXWin::TDXGroup* parent, DXWin::TDXWindow* owner,
                                   TUnitInfoLayout layout, uint32_t options)
    : TDXGroup(parent, owner, options), FLayout(layout) {
    const Win32::SIZE size = SizeOf(layout);
    SetBoundsRect({0, 0, size.cx, size.cy});
    OnDraw = [this](Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) {
        DrawPanel(target, bounds);
    };
    OnTick = [this](DXWin::TDXControl*) { Step(); };
    OnMouseMove = [this](DXWin::TShiftState, int x, int y) {
        FMouseX = x;
        FMouseY = y;
        SetHint(TooltipAt(x, y));
    };
    OnMouseLeave = [this](DXWin::TDXControl*) { FMouseX = FMouseY = -1; };

    FSpellbookButton = new DXWin::TDXButton(this, owner, DXWin::csEnabled);
    const bool left = layout == ulFightLeft;
    // Between the portrait and the bars, level with the bars' top: clear of the level box.
    const int bookX = left ? 72 : 96, bookY = 34;
    FSpellbookButton->SetBoundsRect({bookX, bookY, bookX + SpellbookSize, bookY + SpellbookSize});
    FSpellbookButton->SetHint("Spellbook");
    FSpellbookButton->OnDraw = [this](Win32::IDirectDrawSurface7* target,
                                      const Win32::RECT& bounds) {
        DrawSpellbookButton(target, bounds);
    };

    FPortraitButton = new DXWin::TDXButton(this, owner, DXWin::csEnabled | DXWin::csVisible);
    const int portraitX = left ? 100 : 15, portraitY = 11;
    FPortraitButton->SetBoundsRect(
        {portraitX, portraitY, portraitX + PortraitSize, portraitY + PortraitSize});
    FPortraitButton->SetHint(layout == ulGroupPanel ? "Select/Unselect unit" : "Select unit");
    FPortraitButton->OnDraw = [this](Win32::IDirectDrawSurface7* target,
                                     const Win32::RECT& bounds) { DrawPortrait(target, bounds); };
    FPortraitButton->OnMouseDown = [this](int button, DXWin::TShiftState, int, int) {
        if (button == DXWin::mbRight)
            OpenDetailSheet();
    };
}

// The buttons are children and go with the group.
TUnitInfoControl::~TUnitInfoControl() = default;

Win32::SIZE TUnitInfoControl::SizeOf(TUnitInfoLayout layout) {
    return LayoutSizes[size_t(layout)];
}

Win32::RECT TUnitInfoControl::HotRect(TUnitInfoLayout layout, TUnitInfoValue value) {
    return HotRects[size_t(value)][size_t(layout)];
}

AnsiString TUnitInfoControl::TooltipAt(int32_t x, int32_t y) const {
    if (!FUnit)
        return {};
    for (int value = 0; value < UnitInfoValueCount; ++value)
        if (Holds(HotRect(FLayout, TUnitInfoValue(value)), x, y))
            return Tooltip(*FUnit, TUnitInfoValue(value));
    return {};
}

void TUnitInfoControl::SetUnit(TUnit* unit) {
    if (unit == FUnit)
        return;
    FUnit = unit;
    OwnerFrame = false;
    Marked = false;
    if (unit && unit->HasUsableSpell())
        FSpellbookButton->Show();
    else
        FSpellbookButton->Hide();
    SetHint(TooltipAt(FMouseX, FMouseY));
}

void TUnitInfoControl::SlideTo(int32_t x, int32_t y, int32_t duration) {
    FSlide.SlideTo(*this, x, y, duration);
}

void TUnitInfoControl::SetFacePosition(int32_t x, int32_t y) {
    FDetailX = x;
    FDetailY = y;
}

void TUnitInfoControl::Step() {
    FSlide.Step(*this);
    // The values change under a still mouse.
    const AnsiString hint = TooltipAt(FMouseX, FMouseY);
    if (hint != Hint())
        SetHint(hint);
}

void TUnitInfoControl::OpenDetailSheet() {
    if (FUnit && Game)
        Game->ShowUnitSheet(FUnit, FDetailX, FDetailY);
}

} // namespace Main
