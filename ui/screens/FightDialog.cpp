// The fight dialog's window: its panels and buttons, made once for the whole game.
#include "ui/screens/FightDialog.h"

#include "engine/widgets/DXButton.h"
#include "game/spells/SpellVisual.h"
#include "game/world/data/GlobalData.h"
#include "game/world/scenario/Scenario.h"
#include "ui/game/ButtonSprite.h"
#include "ui/game/Game.h"
#include "ui/game/UnitInfoControl.h"
#include "ui/widgets/WidgetArt.h"

namespace Main {

namespace {

constexpr int PanelTop = 200, PanelStep = 140;
constexpr int ButtonSize = 60, ButtonY = 540;
constexpr int LeftSheetX = 240, RightSheetX = 20, SheetY = 20;

// Common sprites of the three buttons, normal and lit.
constexpr int AutoSprite = 1044, FleeSprite = 1045, AcceptSprite = 1046;
constexpr int LitOffset = 3;

} // namespace

TFightDialog::TFightDialog(DXWin::TDXWindowSystem* windowSystem, TGame& game)
    : TVRNWindow(windowSystem, 0x110000, 0), FGame(game) {
    SetSize(800, 600);
    const THotkeyTable& keys = game.Hotkeys();
    for (int slot = 0; slot < GameData::BattleSlotCount; ++slot) {
        const bool left = slot < GameData::FirstDefenderSlot;
        const TUnitInfoLayout layout = left ? ulFightLeft : ulFightRight;
        auto* panel = new TUnitInfoControl(this, this, layout, DXWin::csEnabled | DXWin::csVisible);
        const Win32::SIZE size = TUnitInfoControl::SizeOf(layout);
        const int row = left ? slot : slot - GameData::FirstDefenderSlot;
        panel->SetPosition(left ? 0 : 800 - size.cx, PanelTop + PanelStep * row - size.cy / 2);
        panel->SetFacePosition(left ? LeftSheetX : RightSheetX, SheetY);
        panel->PortraitButton()->SetHint(
            MakeHotkeyCaption(keys[size_t(hkFightSelectUnit + slot)], "Select unit"));
        panel->SpellbookButton()->SetHint(
            MakeHotkeyCaption(keys[size_t(hkFightSpellbook)], "Spellbook"));
        // A portrait click is a left click on the fighter it shows.
        panel->PortraitButton()->OnClick = [this, slot](DXWin::TDXControl*) {
            const TUnitData& unit = Units[size_t(slot)];
            MouseDown(DXWin::mbLeft, 0, FieldLeft + unit.X, FieldTop + unit.Y);
        };
        panel->SpellbookButton()->OnClick = [this, slot](DXWin::TDXControl*) { ChooseSpell(slot); };
        panel->PortraitButton()->OnMouseMove = [this, slot](DXWin::TShiftState, int, int) {
            SetHoverSlot(slot);
        };
        panel->SetOnSelect(
            [this, slot, left](Win32::IDirectDrawSurface7* target, const Win32::RECT& portrait) {
                // Beside the portrait, outside it: clipped to the dialog, not the portrait.
                DrawBadge(target, GetScreenRect(), slot,
                          left ? portrait.left - 21 : portrait.left + 90, portrait.top + 5);
            });
        Panels[size_t(slot)] = panel;
    }

    const auto makeButton = [&](int x, int key, const char* hint, int sprite) {
        auto* button = new DXWin::TDXButton(this, this, 0);
        button->SetPosition(x, ButtonY);
        button->SetSize(ButtonSize, ButtonSize);
        button->SetHint(MakeHotkeyCaption(keys[size_t(key)], hint));
        button->OnDraw = [button, sprite](Win32::IDirectDrawSurface7* target,
                                          const Win32::RECT& bounds) {
            if (button->Enabled())
                DrawButtonSprite(*button, CommonSprite(sprite), CommonSprite(sprite + LitOffset),
                                 target, bounds);
        };
        return button;
    };
    AutoButton = makeButton(270, hkFightAutomatic, "Assign commands automatically", AutoSprite);
    FleeButton = makeButton(370, hkFightFlee, "Flee from fight", FleeSprite);
    AcceptButton = makeButton(470, hkFightAccept, "Accept current commands", AcceptSprite);
    AutoButton->OnClick = [this](DXWin::TDXControl*) { AssignAutomatically(); };
    FleeButton->OnClick = [this](DXWin::TDXControl*) { Flee(); };
    AcceptButton->OnClick = [this](DXWin::TDXControl*) { Accept(); };

    Battle.Reset();
}

TFightDialog::~TFightDialog() {
    ReleaseSprites();
    Sounds.clear();
    StatusText.clear();
    // The spells give their sprites back while the global data still exists.
    CurrentSpell.reset();
    PreparedSpell.reset();
}

} // namespace Main
