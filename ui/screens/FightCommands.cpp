// The sides' commands: the person's mouse and keys, the computer's assignment, a
// peer's message, all ending in one fight-command action.
#include "ui/screens/FightDialog.h"

#include "engine/widgets/DXWindowSystem.h"

#include "engine/app/DPFrame.h"
#include "engine/widgets/DXButton.h"
#include "game/world/data/MainData.h"
#include "game/world/groups/Group.h"
#include "game/world/players/Player.h"
#include "game/world/players/PlayerAction.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/units/Unit.h"
#include "platform/classlib/Exception.h"
#include "ui/game/Game.h"
#include "ui/game/Hotkeys.h"
#include "ui/game/MapWindow.h"
#include "ui/game/SpellSelectDialog.h"
#include "ui/game/UnitInfoControl.h"
#include "ui/widgets/WidgetArt.h"

#include <cstring>
#include <vector>

namespace Main {

using GameData::TCombatantSlot;
using GameData::TGroup;
using GameData::TPlayer;
using GameData::TPlayerAction;
using GameData::TUnit;

namespace {

constexpr int msGuardCursor = 23;

constexpr uint32_t WordsPerRecord = 4;

const char* const NotEnoughActionPoints = "Not enough action points!";

int OwnerType(const TGroup* group) {
    const TPlayer* owner = group ? group->GetOwner() : nullptr;
    return owner ? owner->Type : -1;
}

TPlayer* PlayerOnTurn(const TGame& game) {
    const GameData::TScenario* scenario = game.Scenario.get();
    return scenario ? scenario->PlayerAt(scenario->CurrentPlayerIndex) : nullptr;
}

// False when nothing could be posted now: no player on turn, or its slot still holds
// an action (an earlier answer not yet carried out, or a peer's action its replay
// posted meanwhile); the caller tries again on a later tick.
bool PostAsPlayerOnTurn(const TGame& game, bool send, const TPlayerAction& action) {
    TPlayer* player = PlayerOnTurn(game);
    if (!player || player->HasPendingAction())
        return false;
    try {
        player->PostAction(send, action);
    } catch (const ClassLib::Exception&) {
        // A worker filled the slot between the test and the post.
        return false;
    }
    return true;
}

bool PlayerOnTurnIsBusy(const TGame& game) {
    const TPlayer* player = PlayerOnTurn(game);
    return player && player->HasPendingAction();
}

void ShowButton(DXWin::TDXButton* button, bool shown) {
    if (!button)
        return;
    button->SetVisible(shown);
    button->SetEnabled(shown);
}

bool Usable(const DXWin::TDXButton* button) {
    return button && button->Visible() && button->Enabled();
}

bool EndsConnection(uint32_t systemMessage) {
    return systemMessage == Win32::DPSYS_DESTROYPLAYERORGROUP ||
           systemMessage == Win32::DPSYS_SESSIONLOST || systemMessage == Win32::DPSYS_HOST;
}

int FirstSlotOf(bool attackers) {
    return attackers ? 0 : GameData::FirstDefenderSlot;
}

// The choosing side's three records as an accepting fight-command action.
bool PostCommandsOf(const TFightDialog& dialog) {
    TPlayerAction action;
    action.Code = GameData::acFightCommands;
    action.P[0] = frAccept;
    const int first = FirstSlotOf(dialog.Phase == fpAttackerCommands);
    for (int i = 0; i < GameData::SideSlotCount; ++i) {
        const TCombatantSlot& slot = dialog.Battle.Slots[size_t(first + i)];
        uint32_t* words = action.P + 1 + WordsPerRecord * uint32_t(i);
        words[0] = slot.Occupied;
        words[1] = uint32_t(slot.Command);
        words[2] = uint32_t(slot.SpellID);
        words[3] = uint32_t(slot.TargetSlot);
    }
    return PostAsPlayerOnTurn(dialog.Game(), true, action);
}

} // namespace

bool TFightDialog::SetSideCommands(uint32_t answer, const uint32_t* commands) {
    if (!commands || !FAttacker || !FDefender)
        return false;
    if (Phase != fpAttackerCommands && Phase != fpDefenderCommands)
        return false;
    // Only the attackers may flee; the automatic answer never travels.
    if (answer != frAccept && !(answer == frFlee && Phase == fpAttackerCommands))
        return false;
    if (answer == frAccept) {
        const int first = FirstSlotOf(Phase == fpAttackerCommands);
        std::array<TCombatantSlot, GameData::SideSlotCount> records{};
        for (int i = 0; i < GameData::SideSlotCount; ++i) {
            const uint32_t* words = commands + WordsPerRecord * uint32_t(i);
            const TCombatantSlot& current = Battle.Slots[size_t(first + i)];
            // Which slots hold a unit is the battle's to say, never the message's.
            if (words[0] != current.Occupied)
                return false;
            TCombatantSlot& record = records[size_t(i)];
            record.Occupied = current.Occupied;
            record.Command = int32_t(words[1]);
            record.SpellID = int32_t(words[2]);
            record.TargetSlot = int32_t(words[3]);
            if (!Battle.IsValidCommand(first + i, record))
                return false;
        }
        for (int i = 0; i < GameData::SideSlotCount; ++i)
            Battle.Slots[size_t(first + i)] = records[size_t(i)];
    }
    Request = int32_t(answer);
    return true;
}

void TFightDialog::UpdateButtons() {
    const bool fighting =
        FAttacker && FDefender && !Battle.AttackersDefeated() && !Battle.DefendersDefeated();
    const bool choosing = fighting && Automatic == 0 &&
                          ((Phase == fpAttackerCommands && AttackerIsLocal()) ||
                           (Phase == fpDefenderCommands && DefenderIsLocal()));
    ShowButton(AcceptButton, choosing);
    ShowButton(AutoButton, choosing);
    ShowButton(FleeButton, choosing && Phase == fpAttackerCommands && FAttacker->AllUnitsCanAct());
}

bool TFightDialog::AttackerIsLocal() const {
    return OwnerType(FAttacker) == GameData::ptLocal;
}
bool TFightDialog::DefenderIsLocal() const {
    return OwnerType(FDefender) == GameData::ptLocal;
}
bool TFightDialog::AttackerIsComputer() const {
    return OwnerType(FAttacker) == GameData::ptComputer;
}
bool TFightDialog::DefenderIsComputer() const {
    return OwnerType(FDefender) == GameData::ptComputer;
}
bool TFightDialog::AttackerIsRemote() const {
    return OwnerType(FAttacker) == GameData::ptRemote;
}
bool TFightDialog::DefenderIsRemote() const {
    return OwnerType(FDefender) == GameData::ptRemote;
}

bool TFightDialog::CurrentPlayerIsRemote() const {
    const TPlayer* player = PlayerOnTurn(FGame);
    return player && player->Type == GameData::ptRemote;
}

void TFightDialog::PostSideCommands() {
    PostCommandsOf(*this);
}

void TFightDialog::Flee() {
    if (Background || !Usable(FleeButton))
        return;
    PostAsPlayerOnTurn(FGame, true, GameData::MakeAction(GameData::acFightCommands, frFlee));
}

void TFightDialog::Accept() {
    if (Background || !Usable(AcceptButton))
        return;
    PostSideCommands();
}

void TFightDialog::AssignAutomatically() {
    if (Background || !Usable(AutoButton))
        return;
    Request = frAutomatic;
}

void TFightDialog::ClickSlot(int slot) {
    if (Background || slot < 0 || !Battle.IsSlotAlive(slot) || Automatic != 0)
        return;
    const bool attackers = Phase == fpAttackerCommands && AttackerIsLocal();
    const bool defenders = Phase == fpDefenderCommands && DefenderIsLocal();
    if (!attackers && !defenders)
        return;
    if (PendingSpell >= 1) {
        if (SelectedSlot >= 0 && Battle.CanCastSpellAt(SelectedSlot, PendingSpell, slot)) {
            Battle.SetSpellCommand(SelectedSlot, PendingSpell, slot);
            PendingSpell = 0;
        }
        if (SelectedSlot >= 0 || defenders)
            return;
    }
    const TUnit* selected = Battle.UnitAt(SelectedSlot);
    if (attackers) {
        if (!GameData::IsAttackerSlot(SelectedSlot)) {
            if (GameData::IsAttackerSlot(slot))
                SelectedSlot = slot;
        } else if (GameData::IsDefenderSlot(slot)) {
            if (selected && selected->CanAct())
                Battle.SetAttackCommand(SelectedSlot, slot);
            else
                FGame.ShowMessage(NotEnoughActionPoints);
        } else if (slot == SelectedSlot) {
            Battle.ClearCommand(slot);
        }
        return;
    }
    if (!GameData::IsDefenderSlot(SelectedSlot)) {
        if (GameData::IsDefenderSlot(slot))
            SelectedSlot = slot;
    } else if (!selected || !selected->CanAct()) {
        FGame.ShowMessage(NotEnoughActionPoints);
    } else if (GameData::IsAttackerSlot(slot)) {
        Battle.SetAttackCommand(SelectedSlot, slot);
    } else if (slot != SelectedSlot) {
        Battle.SetGuardCommand(SelectedSlot, slot);
    } else {
        Battle.ClearCommand(slot);
    }
}

void TFightDialog::CancelSlot(int slot) {
    if (Background || Automatic != 0)
        return;
    const bool attackers = Phase == fpAttackerCommands && AttackerIsLocal();
    const bool defenders = Phase == fpDefenderCommands && DefenderIsLocal();
    if (!attackers && !defenders)
        return;
    if (PendingSpell >= 1)
        PendingSpell = 0;
    else if (SelectedSlot >= 0)
        SelectedSlot = -1;
    else if (attackers ? GameData::IsAttackerSlot(slot) : GameData::IsDefenderSlot(slot))
        Battle.ClearCommand(slot);
}

void TFightDialog::ChooseSpell(int slot) {
    if (Background || Phase >= fpShowCommands || Automatic != 0 || !Battle.IsSlotAlive(slot))
        return;
    const bool attackers = Phase == fpAttackerCommands;
    if (attackers ? !GameData::IsAttackerSlot(slot) : !GameData::IsDefenderSlot(slot))
        return;
    // Only the side choosing at this machine opens its units' books.
    if (attackers ? !AttackerIsLocal() : !DefenderIsLocal())
        return;
    TUnit* unit = Battle.UnitAt(slot);
    SelectedSlot = slot;
    const int phase = Phase;
    const auto book = std::make_unique<TSpellSelectDialog>(GetWindowSystem());
    book->SetUnit(unit, scBattle);
    const int spell = book->ShowAndChoose();
    // The book took the keys while it was open; they come back to the fight.
    if (DXWin::TDXWindowSystem* windows = GetWindowSystem())
        windows->ActivateWindow(this);
    // The game runs on while the book is open: an answer or a peer's message may have
    // ended the choosing, and a spell chosen then must not linger.
    if (Phase != phase || SelectedSlot != slot || Automatic != 0 || Battle.UnitAt(slot) != unit)
        return;
    PendingSpell = spell;
}

void TFightDialog::SetHoverSlot(int slot) {
    if (Phase > fpDefenderCommands)
        return;
    HoverSlot = slot >= 0 && Battle.IsSlotAlive(slot) ? slot : -1;
}

int TFightDialog::SlotAt(int x, int y) const {
    constexpr int Reach = 20;
    for (int slot = 0; slot < GameData::BattleSlotCount; ++slot) {
        if (!Battle.IsValidSlot(slot))
            continue;
        const int cx = FieldLeft + Units[size_t(slot)].X;
        const int cy = FieldTop + Units[size_t(slot)].Y;
        if (x >= cx - Reach && x < cx + Reach && y >= cy - Reach && y < cy + Reach)
            return slot;
    }
    return -1;
}

void TFightDialog::PollNetwork() {
    GameData::TScenario* scenario = FGame.Scenario.get();
    if (!scenario || !scenario->Network)
        return;
    Win32::DPID from = 0;
    std::vector<uint8_t> bytes;
    if (!scenario->Network->Receive(from, scenario->LocalPlayerID, Win32::DPRECEIVE_TOPLAYER,
                                    bytes))
        return;
    if (from == Win32::DPID_SYSMSG) {
        uint32_t type = 0;
        if (bytes.size() >= sizeof(type))
            std::memcpy(&type, bytes.data(), sizeof(type));
        if (EndsConnection(type))
            scenario->ConnectionLost = 1;
        return;
    }
    // Anything but the peer's well-formed fight commands, numbered as this machine
    // expects the next action, is no answer to this prompt.
    GameData::TActionMessage message;
    if (from == scenario->LocalPlayerID || bytes.size() != sizeof(message))
        return;
    std::memcpy(&message, bytes.data(), sizeof(message));
    if (message.Size != sizeof(message) || message.Type != GameData::ActionMessageType ||
        message.Sequence != scenario->ActionCounter.load() ||
        message.Action.Code != GameData::acFightCommands)
        return;
    PostAsPlayerOnTurn(FGame, false, message.Action);
}

void TFightDialog::MouseDown(int button, DXWin::TShiftState shift, int x, int y) {
    TVRNWindow::MouseDown(button, shift, x, y);
    if (Background)
        return;
    const int slot = SlotAt(x, y);
    if (button == DXWin::mbLeft)
        ClickSlot(slot);
    else if (button == DXWin::mbRight)
        CancelSlot(slot);
}

void TFightDialog::MouseMove(DXWin::TShiftState shift, int x, int y) {
    TVRNWindow::MouseMove(shift, x, y);
    if (Background || Phase > fpDefenderCommands)
        return;
    SetHoverSlot(SlotAt(x, y));
    SetCursor(Data2::MainData ? Data2::MainData->Sprites[CursorEntry()] : nullptr);
}

int TFightDialog::CursorEntry() const {
    if (SelectedSlot < 0)
        return msNormalCursor;
    if (PendingSpell >= 1)
        return HoverSlot >= 0 && Battle.CanCastSpellAt(SelectedSlot, PendingSpell, HoverSlot)
                   ? msCanCastCursor
                   : msCannotCastCursor;
    if (HoverSlot < 0)
        return msNormalCursor;
    if (!GameData::OnSameSide(SelectedSlot, HoverSlot))
        return msAttackCursor;
    return GameData::IsDefenderSlot(SelectedSlot) ? msGuardCursor : msNormalCursor;
}

void TFightDialog::KeyDown(Win32::WPARAM& key, DXWin::TShiftState shift) {
    TVRNWindow::KeyDown(key, shift);
    if (key == 0 || (shift & (DXWin::ssShift | DXWin::ssCtrl | DXWin::ssAlt)) != 0)
        return;
    const THotkeyTable& keys = FGame.Hotkeys();
    uint32_t pressed = uint32_t(key);
    for (int slot = 0; slot < GameData::BattleSlotCount; ++slot)
        if (MatchHotkey(keys[size_t(hkFightSelectUnit + slot)], pressed)) {
            ClickSlot(slot);
            break;
        }
    if (MatchHotkey(keys[hkFightCancel], pressed))
        CancelSlot(SelectedSlot);
    if (MatchHotkey(keys[hkFightSpellbook], pressed))
        ChooseSpell(SelectedSlot);
    if (MatchHotkey(keys[hkFightAutomatic], pressed))
        AssignAutomatically();
    if (MatchHotkey(keys[hkFightFlee], pressed))
        Flee();
    if (MatchHotkey(keys[hkFightAccept], pressed))
        Accept();
    key = pressed;
}

void TFightDialog::StepCommands(bool attackers) {
    if (!FAttacker || !FDefender)
        return;
    const int first = FirstSlotOf(attackers);
    const int otherFirst = FirstSlotOf(!attackers);
    const bool local = attackers ? AttackerIsLocal() : DefenderIsLocal();
    const bool computer = attackers ? AttackerIsComputer() : DefenderIsComputer();
    const bool remote = attackers ? AttackerIsRemote() : DefenderIsRemote();
    const bool byHand = local && Automatic == 0;

    for (int i = 0; i < GameData::SideSlotCount; ++i) {
        TUnitInfoControl* panel = Panels[size_t(first + i)];
        const TUnit* unit = Battle.UnitAt(first + i);
        if (!panel || !unit)
            continue;
        panel->PortraitButton()->SetEnabled(true);
        panel->SpellbookButton()->SetEnabled(unit->HasUsableSpell());
        panel->ShowSelection = true;
    }
    // The other side's portraits are the targets while a person chooses.
    for (int i = 0; i < GameData::SideSlotCount; ++i) {
        TUnitInfoControl* panel = Panels[size_t(otherFirst + i)];
        if (!panel || !Battle.UnitAt(otherFirst + i))
            continue;
        panel->PortraitButton()->SetEnabled(byHand);
        if (!byHand)
            panel->SpellbookButton()->SetEnabled(false);
        panel->ShowSelection = byHand;
    }

    if (Request == frAccept) {
        Request = frNone;
        SelectedSlot = -1;
        PendingSpell = 0;
        NextPhase();
    } else if (Request == frFlee && attackers) {
        Request = frNone;
        FAttacker->SpendActionCost();
        FinishFight();
        return;
    } else if (Request == frAutomatic) {
        Request = frNone;
        Automatic = 1;
        SelectedSlot = -1;
        PendingSpell = 0;
        UpdateButtons();
    } else if (byHand) {
        if (PendingSpell >= 1)
            StatusText = "Choose target of spell";
        else if (SelectedSlot >= 0)
            StatusText = "Assign command to selected unit";
        else
            StatusText = attackers ? "Assign commands to attacking units"
                                   : "Assign commands to defending units";
        for (int i = 0; i < GameData::SideSlotCount; ++i) {
            TUnitInfoControl* panel = Panels[size_t(first + i)];
            TUnit* unit = Battle.UnitAt(first + i);
            if (!panel || !unit)
                continue;
            const bool alive = !unit->IsDead();
            panel->PortraitButton()->SetEnabled(alive);
            panel->SpellbookButton()->SetEnabled(alive);
            if (!alive && unit->HasUsableSpell())
                panel->SpellbookButton()->SetVisible(false);
            panel->ShowSelection = alive;
        }
        // Nobody of the side can do anything: nothing to wait for.
        if (!attackers && !FDefender->AnyUnitCanAct() && !PlayerOnTurnIsBusy(FGame))
            PostSideCommands();
    } else {
        StatusText = attackers ? "Computer is assigning commands to attackers"
                               : "Computer is assigning commands to defenders";
        for (int i = 0; i < GameData::SideSlotCount; ++i) {
            TUnitInfoControl* panel = Panels[size_t(first + i)];
            if (!panel || !Battle.UnitAt(first + i))
                continue;
            panel->PortraitButton()->SetEnabled(false);
            panel->SpellbookButton()->SetEnabled(false);
            panel->ShowSelection = false;
        }
        if (computer || Automatic != 0) {
            // An answer already posted and not yet carried out: no second decision.
            if (!Battle.HasAIThread()) {
                if (!PlayerOnTurnIsBusy(FGame)) {
                    if (attackers)
                        Battle.StartAttackerAIThread();
                    else
                        Battle.StartDefenderAIThread();
                }
            } else if (!Battle.IsAIThreadRunning() && PostCommandsOf(*this)) {
                Battle.FreeAIThread();
            }
        } else if (remote && !CurrentPlayerIsRemote()) {
            PollNetwork();
        }
    }
    if (FAttacker && FDefender)
        AnimateIdle();
}

} // namespace Main
