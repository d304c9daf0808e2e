// The sides' commands in the fight dialog: which command sets the fight-command action
// may carry, the person's clicks and keys, the buttons offered, the action posted for
// the player on turn, and a peer's messages over the network.
#include "ui/screens/FightDialog.h"

#include "engine/app/DPFrame.h"
#include "engine/widgets/DXButton.h"
#include "game/world/groups/Group.h"
#include "game/world/players/Player.h"
#include "platform/net/DirectPlayInProcess.h"
#include "tests/platform/net/DirectPlayTestSupport.h"
#include "tests/ui/game/GameFixture.h"
#include "ui/game/UnitInfoControl.h"

#include <array>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

namespace Main {

struct TFightCommandsTestAccess {
    static void SetGroups(TFightDialog& dialog, GameData::TGroup* attacker,
                          GameData::TGroup* defender) {
        dialog.FAttacker = attacker;
        dialog.FDefender = defender;
        dialog.FAttackerSide.emplace(*attacker);
        dialog.FDefenderSide.emplace(*defender);
        dialog.Battle.SetGroups(&*dialog.FAttackerSide, &*dialog.FDefenderSide);
    }
    static int CursorEntry(const TFightDialog& dialog) { return dialog.CursorEntry(); }
};

} // namespace Main

namespace {

using namespace GameData;
using Main::TFightDialog;

constexpr int LeastAP = 10;
constexpr int Spell = 70; // a battle spell the data knows
using TWords = std::array<uint32_t, 12>;

// Red (player 0, on turn) attacks with two walkers, blue defends with two.
class FightCommands : public GameTest {
protected:
    FightCommands() {
        Data.SetConstant(Data2::gcLeastActionPoints, LeastAP);
        SpellData = &Data.AddSpell(Spell, 1);
        Red = AddGroup(0, 2, 2, 2);
        Blue = AddGroup(1, 3, 2, 2);
        TakeWorld();
        Game->StartGame(AllLocal());
        Game->Update(); // red's opening report
        Dialog = std::make_unique<TFightDialog>(&Windows, *Game);
        Main::TFightCommandsTestAccess::SetGroups(*Dialog, Red, Blue);
        Dialog->AcceptButton = NewButton();
        Dialog->AutoButton = NewButton();
        Dialog->FleeButton = NewButton();
        // Units on the field, one cell apart.
        for (int slot = 0; slot < BattleSlotCount; ++slot) {
            Dialog->Units[size_t(slot)].X = 32 + 64 * (slot % 3);
            Dialog->Units[size_t(slot)].Y = slot < 3 ? 32 : 352;
        }
    }

    DXWin::TDXButton* NewButton() { return new DXWin::TDXButton(Dialog.get(), Dialog.get()); }

    std::array<TCombatantSlot, BattleSlotCount> Slots() const { return Dialog->Battle.Slots; }
    static bool Same(const std::array<TCombatantSlot, BattleSlotCount>& a,
                     const std::array<TCombatantSlot, BattleSlotCount>& b) {
        for (size_t i = 0; i < a.size(); ++i)
            if (a[i].Occupied != b[i].Occupied || a[i].Command != b[i].Command ||
                a[i].SpellID != b[i].SpellID || a[i].TargetSlot != b[i].TargetSlot)
                return false;
        return true;
    }
    static bool Shown(const DXWin::TDXButton* button) {
        return button->Visible() && button->Enabled();
    }
    static bool Hidden(const DXWin::TDXButton* button) {
        return !button->Visible() && !button->Enabled();
    }
    void PressKey(uint32_t key, DXWin::TShiftState shift = 0) {
        Win32::WPARAM pressed = key;
        Dialog->KeyDown(pressed, shift);
    }

    Data2::TSpellPrototype* SpellData = nullptr;
    TGroup* Red = nullptr;
    TGroup* Blue = nullptr;
    std::unique_ptr<TFightDialog> Dialog;
};

// Attacker 0 strikes defender 3, attacker 1 casts on defender 4, slot 2 is empty.
TWords ValidAttackerWords() {
    return {1, bcAttack, uint32_t(-1), 3,           1, bcCastSpell, Spell, 4,
            0, bcNone,   uint32_t(-1), uint32_t(-1)};
}
// Defender 3 guards 4, defender 4 strikes attacker 1.
TWords ValidDefenderWords() {
    return {1, bcGuard, uint32_t(-1), 4,           1, bcAttack, uint32_t(-1), 1,
            0, bcNone,  uint32_t(-1), uint32_t(-1)};
}

TEST_F(FightCommands, AValidSetReplacesTheChoosingSidesCommands) {
    const TWords attackers = ValidAttackerWords();
    ASSERT_TRUE(Dialog->SetSideCommands(Main::frAccept, attackers.data()));
    EXPECT_EQ(Dialog->Request, Main::frAccept);
    const auto& s = Dialog->Battle.Slots;
    EXPECT_EQ(s[0].Command, bcAttack);
    EXPECT_EQ(s[0].TargetSlot, 3);
    EXPECT_EQ(s[1].Command, bcCastSpell);
    EXPECT_EQ(s[1].SpellID, Spell);
    EXPECT_EQ(s[1].TargetSlot, 4);
    EXPECT_EQ(s[2].Command, bcNone);
    EXPECT_EQ(s[3].Command, bcNone); // the defenders untouched

    Dialog->Request = Main::frNone;
    Dialog->Phase = Main::fpDefenderCommands;
    const TWords defenders = ValidDefenderWords();
    ASSERT_TRUE(Dialog->SetSideCommands(Main::frAccept, defenders.data()));
    EXPECT_EQ(s[3].Command, bcGuard);
    EXPECT_EQ(s[3].TargetSlot, 4);
    EXPECT_EQ(s[4].Command, bcAttack);
    EXPECT_EQ(s[4].TargetSlot, 1);
    EXPECT_EQ(s[0].Command, bcAttack); // the attackers untouched
}

TEST_F(FightCommands, TheAttackersFleeWithoutTheirRecordsBeingTaken) {
    const auto before = Slots();
    const TWords zeros{};
    ASSERT_TRUE(Dialog->SetSideCommands(Main::frFlee, zeros.data()));
    EXPECT_EQ(Dialog->Request, Main::frFlee);
    EXPECT_TRUE(Same(Slots(), before));
}

TEST_F(FightCommands, AnInvalidSetIsRefusedAndChangesNothing) {
    struct TCase {
        const char* Name;
        int32_t Phase;
        uint32_t Answer;
        size_t Word; // the word changed, 12 for none
        uint32_t Value;
    };
    const TCase cases[] = {
        {"target beyond the field", Main::fpAttackerCommands, Main::frAccept, 3, 6},
        {"target below the field", Main::fpAttackerCommands, Main::frAccept, 3, uint32_t(-1)},
        {"spell target beyond the field", Main::fpAttackerCommands, Main::frAccept, 7, 9},
        {"unknown spell", Main::fpAttackerCommands, Main::frAccept, 6, 99},
        {"no battle spell", Main::fpAttackerCommands, Main::frAccept, 6, 12},
        {"unknown command", Main::fpAttackerCommands, Main::frAccept, 1, 7},
        {"guard by an attacker", Main::fpAttackerCommands, Main::frAccept, 1, bcGuard},
        {"empty slot claimed", Main::fpAttackerCommands, Main::frAccept, 8, 1},
        {"unit slot given up", Main::fpAttackerCommands, Main::frAccept, 0, 0},
        {"occupied beyond a byte", Main::fpAttackerCommands, Main::frAccept, 4, 0x101},
        {"defenders' flight", Main::fpDefenderCommands, Main::frFlee, 12, 0},
        {"automatic answer", Main::fpAttackerCommands, Main::frAutomatic, 12, 0},
        {"no answer", Main::fpAttackerCommands, Main::frNone, 12, 0},
        {"unknown answer", Main::fpAttackerCommands, 4, 12, 0},
        {"while the commands are shown", Main::fpShowCommands, Main::frAccept, 12, 0},
        {"while blows fall", Main::fpAnimateAttackers, Main::frAccept, 12, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Dialog->Phase = c.Phase;
        Dialog->Request = Main::frNone;
        TWords words =
            c.Phase == Main::fpDefenderCommands ? ValidDefenderWords() : ValidAttackerWords();
        if (c.Word < words.size())
            words[c.Word] = c.Value;
        const auto before = Slots();
        EXPECT_FALSE(Dialog->SetSideCommands(c.Answer, words.data()));
        EXPECT_TRUE(Same(Slots(), before));
        EXPECT_EQ(Dialog->Request, Main::frNone);
    }
    // Without a fight there is no side to choose.
    Dialog->Phase = Main::fpAttackerCommands;
    const TWords words = ValidAttackerWords();
    TFightDialog idle(&Windows, *Game);
    EXPECT_FALSE(idle.SetSideCommands(Main::frAccept, words.data()));
    EXPECT_FALSE(Dialog->SetSideCommands(Main::frAccept, nullptr));
}

TEST_F(FightCommands, TheAttackersClickTheirCommands) {
    Dialog->ClickSlot(3); // nobody selected: a defender is no choice
    EXPECT_EQ(Dialog->SelectedSlot, -1);
    Dialog->ClickSlot(0);
    EXPECT_EQ(Dialog->SelectedSlot, 0);
    Dialog->ClickSlot(1); // another attacker keeps the selection
    EXPECT_EQ(Dialog->SelectedSlot, 0);
    EXPECT_EQ(Dialog->Battle.Slots[0].Command, bcNone);
    Dialog->ClickSlot(4);
    EXPECT_EQ(Dialog->Battle.Slots[0].Command, bcAttack);
    EXPECT_EQ(Dialog->Battle.Slots[0].TargetSlot, 4);
    Dialog->ClickSlot(0); // the selected unit itself: its command goes
    EXPECT_EQ(Dialog->Battle.Slots[0].Command, bcNone);

    // Right button: first the selection goes, then a command.
    Dialog->ClickSlot(3);
    Dialog->CancelSlot(1);
    EXPECT_EQ(Dialog->SelectedSlot, -1);
    EXPECT_EQ(Dialog->Battle.Slots[0].Command, bcAttack);
    Dialog->CancelSlot(3); // a defender's command is not the attackers' to clear
    Dialog->CancelSlot(0);
    EXPECT_EQ(Dialog->Battle.Slots[0].Command, bcNone);

    // A spell waiting for its target is cancelled before the selection.
    Dialog->ClickSlot(1);
    Dialog->PendingSpell = Spell;
    Dialog->ClickSlot(3); // the walker cannot cast it: nothing happens
    EXPECT_EQ(Dialog->Battle.Slots[1].Command, bcNone);
    EXPECT_EQ(Dialog->PendingSpell, Spell);
    Dialog->CancelSlot(-1);
    EXPECT_EQ(Dialog->PendingSpell, 0);
    EXPECT_EQ(Dialog->SelectedSlot, 1);
}

TEST_F(FightCommands, AUnitWithoutActionPointsIsGivenNoStrike) {
    Red->UnitAt(1)->AddActionPoints(-100);
    ASSERT_FALSE(Red->UnitAt(1)->CanAct());
    Dialog->ClickSlot(1);
    ASSERT_EQ(Dialog->SelectedSlot, 1);
    const auto before = Slots();
    Dialog->ClickSlot(3);
    EXPECT_EQ(CountMessages("Not enough action points!"), 1);
    EXPECT_TRUE(Same(Slots(), before));

    Dialog->Phase = Main::fpDefenderCommands;
    Blue->UnitAt(0)->AddActionPoints(-100);
    Dialog->SelectedSlot = -1;
    Dialog->ClickSlot(3);
    ASSERT_EQ(Dialog->SelectedSlot, 3);
    Dialog->ClickSlot(0);
    Dialog->ClickSlot(4);
    EXPECT_EQ(CountMessages("Not enough action points!"), 3);
    EXPECT_TRUE(Same(Slots(), before));
}

TEST_F(FightCommands, TheDefendersStrikeGuardAndClear) {
    Dialog->Phase = Main::fpDefenderCommands;
    Dialog->ClickSlot(0); // an attacker is no choice for the defenders
    EXPECT_EQ(Dialog->SelectedSlot, -1);
    Dialog->ClickSlot(3);
    ASSERT_EQ(Dialog->SelectedSlot, 3);
    Dialog->ClickSlot(4);
    EXPECT_EQ(Dialog->Battle.Slots[3].Command, bcGuard);
    EXPECT_EQ(Dialog->Battle.Slots[3].TargetSlot, 4);
    Dialog->ClickSlot(1);
    EXPECT_EQ(Dialog->Battle.Slots[3].Command, bcAttack);
    EXPECT_EQ(Dialog->Battle.Slots[3].TargetSlot, 1);
    Dialog->ClickSlot(3);
    EXPECT_EQ(Dialog->Battle.Slots[3].Command, bcNone);
    EXPECT_EQ(Dialog->Battle.Slots[0].Command, bcNone);
}

TEST_F(FightCommands, ClicksCountOnlyForTheSideChoosingHereByHand) {
    const auto before = Slots();
    Blue->UnitAt(1)->AddHitPoints(-100);
    ASSERT_TRUE(Blue->UnitAt(1)->IsDead());
    Dialog->ClickSlot(0);
    Dialog->ClickSlot(4); // a dead unit is no target
    EXPECT_TRUE(Same(Slots(), before));

    struct TCase {
        const char* Name;
        std::function<void()> Arrange;
    };
    const TCase cases[] = {
        {"computer attackers", [this] { Player(0).Type = ptComputer; }},
        {"remote attackers", [this] { Player(0).Type = ptRemote; }},
        {"automatic", [this] { Dialog->Automatic = 1; }},
        {"background", [this] { Dialog->Background = 1; }},
        {"commands shown", [this] { Dialog->Phase = Main::fpShowCommands; }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Player(0).Type = ptLocal;
        Dialog->Automatic = 0;
        Dialog->Background = 0;
        Dialog->Phase = Main::fpAttackerCommands;
        Dialog->SelectedSlot = 0;
        c.Arrange();
        Dialog->ClickSlot(3);
        Dialog->CancelSlot(0);
        EXPECT_EQ(Dialog->SelectedSlot, 0);
        EXPECT_TRUE(Same(Slots(), before));
    }
}

TEST_F(FightCommands, TheMouseFindsTheUnitUnderIt) {
    const int x = Dialog->FieldLeft + Dialog->Units[4].X;
    const int y = Dialog->FieldTop + Dialog->Units[4].Y;
    EXPECT_EQ(Dialog->SlotAt(x, y), 4);
    EXPECT_EQ(Dialog->SlotAt(x - 20, y + 19), 4);
    EXPECT_EQ(Dialog->SlotAt(x + 20, y), -1);
    EXPECT_EQ(Dialog->SlotAt(x, y - 21), -1);
    // Slot 2 holds no unit.
    EXPECT_EQ(Dialog->SlotAt(Dialog->FieldLeft + Dialog->Units[2].X,
                             Dialog->FieldTop + Dialog->Units[2].Y),
              -1);

    Dialog->MouseDown(DXWin::mbLeft, 0, Dialog->FieldLeft + Dialog->Units[1].X,
                      Dialog->FieldTop + Dialog->Units[1].Y);
    EXPECT_EQ(Dialog->SelectedSlot, 1);
    Dialog->MouseDown(DXWin::mbLeft, 0, x, y);
    EXPECT_EQ(Dialog->Battle.Slots[1].Command, bcAttack);
    EXPECT_EQ(Dialog->Battle.Slots[1].TargetSlot, 4);
    Dialog->MouseMove(0, x, y);
    EXPECT_EQ(Dialog->HoverSlot, 4);
    Blue->UnitAt(1)->AddHitPoints(-100);
    Dialog->MouseMove(0, x, y);
    EXPECT_EQ(Dialog->HoverSlot, -1);
    Dialog->MouseDown(DXWin::mbRight, 0, 0, 0);
    EXPECT_EQ(Dialog->SelectedSlot, -1);
}

TEST_F(FightCommands, ASpellIsAimedAtATargetItMayReach) {
    SpellData->TargetFlags = Data2::tfEnemyGroup;
    for (TUnitStats* stats : {&Red->UnitAt(1)->Own, &Red->UnitAt(1)->Effective}) {
        stats->LearnableSpells |= MaskBit(Spell);
        stats->Spells |= MaskBit(Spell);
    }
    Dialog->ClickSlot(1);
    Dialog->PendingSpell = Spell;
    Dialog->ClickSlot(0); // a friend is out of the spell's reach
    EXPECT_EQ(Dialog->PendingSpell, Spell);
    EXPECT_EQ(Dialog->Battle.Slots[1].Command, bcNone);
    Dialog->ClickSlot(4);
    EXPECT_EQ(Dialog->PendingSpell, 0);
    EXPECT_EQ(Dialog->Battle.Slots[1].Command, bcCastSpell);
    EXPECT_EQ(Dialog->Battle.Slots[1].SpellID, Spell);
    EXPECT_EQ(Dialog->Battle.Slots[1].TargetSlot, 4);
    EXPECT_EQ(Dialog->SelectedSlot, 1);
}

TEST_F(FightCommands, TheCursorTellsWhatAClickWouldDo) {
    const auto cursorOver = [&](int selected, int hover, int spell) {
        Dialog->SelectedSlot = selected;
        Dialog->HoverSlot = hover;
        Dialog->PendingSpell = spell;
        return Main::TFightCommandsTestAccess::CursorEntry(*Dialog);
    };
    constexpr int Normal = 1, Attack = 3, CannotCast = 4, CanCast = 5, Guard = 23;
    EXPECT_EQ(cursorOver(-1, 3, 0), Normal);
    EXPECT_EQ(cursorOver(0, 3, 0), Attack);
    EXPECT_EQ(cursorOver(0, 1, 0), Normal);
    EXPECT_EQ(cursorOver(0, -1, 0), Normal);
    EXPECT_EQ(cursorOver(3, 0, 0), Attack);
    EXPECT_EQ(cursorOver(3, 4, 0), Guard);
    EXPECT_EQ(cursorOver(0, 3, Spell), CannotCast);
    EXPECT_EQ(cursorOver(0, -1, Spell), CannotCast);
    SpellData->TargetFlags = Data2::tfEnemyGroup;
    Red->UnitAt(0)->Effective.LearnableSpells |= MaskBit(Spell);
    Red->UnitAt(0)->Effective.Spells |= MaskBit(Spell);
    EXPECT_EQ(cursorOver(0, 3, Spell), CanCast);
    EXPECT_EQ(cursorOver(0, 1, Spell), CannotCast);
}

TEST_F(FightCommands, TheSpellBookOpensOnlyForAUnitChoosingHere) {
    struct TCase {
        const char* Name;
        int Slot;
        std::function<void()> Arrange;
    };
    const TCase cases[] = {
        {"a defender while the attackers choose", 3, [] {}},
        {"no unit", 2, [] {}},
        {"a dead unit", 1, [this] { Red->UnitAt(1)->AddHitPoints(-100); }},
        {"computer attackers", 0, [this] { Player(0).Type = ptComputer; }},
        {"automatic", 0, [this] { Dialog->Automatic = 1; }},
        {"background", 0, [this] { Dialog->Background = 1; }},
        {"commands shown", 0, [this] { Dialog->Phase = Main::fpShowCommands; }},
        {"an attacker while the defenders choose", 0,
         [this] { Dialog->Phase = Main::fpDefenderCommands; }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Player(0).Type = ptLocal;
        Dialog->Automatic = 0;
        Dialog->Background = 0;
        Dialog->Phase = Main::fpAttackerCommands;
        c.Arrange();
        Dialog->ChooseSpell(c.Slot);
        EXPECT_EQ(Dialog->SelectedSlot, -1);
        EXPECT_EQ(Dialog->PendingSpell, 0);
    }
}

TEST_F(FightCommands, KeysSelectCancelAndAnswer) {
    const uint32_t digit2 = '2', digit4 = '4';
    PressKey(digit2);
    EXPECT_EQ(Dialog->SelectedSlot, 1);
    PressKey(digit4);
    EXPECT_EQ(Dialog->Battle.Slots[1].TargetSlot, 3);
    PressKey(Win32::VK_BACK);
    EXPECT_EQ(Dialog->SelectedSlot, -1);
    PressKey(digit2, DXWin::ssShift); // with Shift held no key counts
    EXPECT_EQ(Dialog->SelectedSlot, -1);

    Dialog->UpdateButtons();
    PressKey('A');
    EXPECT_EQ(Dialog->Request, Main::frAutomatic);
    PressKey(Win32::VK_RETURN);
    const TPlayerAction accepted = Player(0).TakeAction();
    EXPECT_EQ(accepted.Code, acFightCommands);
    EXPECT_EQ(accepted.P[0], uint32_t(Main::frAccept));
    PressKey('R');
    const TPlayerAction fled = Player(0).TakeAction();
    EXPECT_EQ(fled.Code, acFightCommands);
    EXPECT_EQ(fled.P[0], uint32_t(Main::frFlee));
}

TEST_F(FightCommands, TheButtonsAreOfferedToTheSideChoosingHere) {
    Dialog->UpdateButtons();
    EXPECT_TRUE(Shown(Dialog->AcceptButton));
    EXPECT_TRUE(Shown(Dialog->AutoButton));
    EXPECT_TRUE(Shown(Dialog->FleeButton));

    // A dead attacker without action points does not keep the others from fleeing.
    Red->UnitAt(0)->AddActionPoints(-100);
    Red->UnitAt(0)->AddHitPoints(-100);
    Dialog->UpdateButtons();
    EXPECT_TRUE(Shown(Dialog->FleeButton));
    Red->UnitAt(1)->AddActionPoints(-(100 - LeastAP + 1));
    Dialog->UpdateButtons();
    EXPECT_TRUE(Hidden(Dialog->FleeButton));
    EXPECT_TRUE(Shown(Dialog->AcceptButton));

    Dialog->Phase = Main::fpDefenderCommands;
    Dialog->UpdateButtons();
    EXPECT_TRUE(Shown(Dialog->AcceptButton));
    EXPECT_TRUE(Hidden(Dialog->FleeButton));

    struct TCase {
        const char* Name;
        std::function<void()> Arrange;
    };
    const TCase cases[] = {
        {"computer defenders", [this] { Player(1).Type = ptComputer; }},
        {"remote defenders", [this] { Player(1).Type = ptRemote; }},
        {"automatic", [this] { Dialog->Automatic = 1; }},
        {"commands shown", [this] { Dialog->Phase = Main::fpShowCommands; }},
        {"attackers beaten", [this] { Red->UnitAt(1)->AddHitPoints(-100); }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        c.Arrange();
        Dialog->UpdateButtons();
        EXPECT_TRUE(Hidden(Dialog->AcceptButton));
        EXPECT_TRUE(Hidden(Dialog->AutoButton));
        EXPECT_TRUE(Hidden(Dialog->FleeButton));
        Player(1).Type = ptLocal;
        Dialog->Automatic = 0;
        Dialog->Phase = Main::fpDefenderCommands;
    }
}

TEST_F(FightCommands, TheSidesCommandsArePostedAsThePlayerOnTurnsAction) {
    const TWords attackers = ValidAttackerWords();
    ASSERT_TRUE(Dialog->SetSideCommands(Main::frAccept, attackers.data()));
    const uint32_t counter = Scenario().ActionCounter.load();
    Dialog->PostSideCommands();
    // An answer not yet carried out is not answered twice.
    Dialog->PostSideCommands();
    EXPECT_EQ(Scenario().ActionCounter.load(), counter + 1);
    TPlayerAction action = Player(0).TakeAction();
    EXPECT_EQ(action.Code, acFightCommands);
    EXPECT_EQ(action.P[0], uint32_t(Main::frAccept));
    EXPECT_EQ(0, std::memcmp(action.P + 1, attackers.data(), sizeof(attackers)));

    Dialog->Phase = Main::fpDefenderCommands;
    const TWords defenders = ValidDefenderWords();
    ASSERT_TRUE(Dialog->SetSideCommands(Main::frAccept, defenders.data()));
    Dialog->PostSideCommands();
    action = Player(0).TakeAction();
    EXPECT_EQ(0, std::memcmp(action.P + 1, defenders.data(), sizeof(defenders)));
    EXPECT_FALSE(Player(1).HasPendingAction());
}

TEST_F(FightCommands, TheButtonsAnswerOnlyWhileOffered) {
    Dialog->Automatic = 1; // nothing offered
    Dialog->UpdateButtons();
    Dialog->Flee();
    EXPECT_FALSE(Player(0).HasPendingAction());
    Dialog->Automatic = 0;
    Dialog->UpdateButtons();
    Dialog->Flee();
    const TPlayerAction action = Player(0).TakeAction();
    EXPECT_EQ(action.Code, acFightCommands);
    EXPECT_EQ(action.P[0], uint32_t(Main::frFlee));
    for (int i = 1; i < 13; ++i)
        EXPECT_EQ(action.P[i], 0u);
    Dialog->Background = 1;
    Dialog->Flee();
    Dialog->Accept();
    EXPECT_FALSE(Player(0).HasPendingAction());
    Dialog->Background = 0;

    Dialog->AssignAutomatically();
    EXPECT_EQ(Dialog->Request, Main::frAutomatic);
    EXPECT_FALSE(Player(0).HasPendingAction()); // the automatic answer stays here

    Dialog->Request = Main::frNone;
    Dialog->Phase = Main::fpDefenderCommands;
    Dialog->UpdateButtons();
    Dialog->Flee();
    EXPECT_FALSE(Player(0).HasPendingAction());
    Player(1).Type = ptComputer;
    Dialog->UpdateButtons();
    Dialog->Accept();
    Dialog->AssignAutomatically();
    EXPECT_FALSE(Player(0).HasPendingAction());
    EXPECT_EQ(Dialog->Request, Main::frNone);
}

TEST_F(FightCommands, APromptStepAnswersTheRequest) {
    Dialog->StepCommands(true);
    EXPECT_EQ(Dialog->StatusText, "Assign commands to attacking units");
    Dialog->SelectedSlot = 0;
    Dialog->StepCommands(true);
    EXPECT_EQ(Dialog->StatusText, "Assign command to selected unit");
    Dialog->PendingSpell = Spell;
    Dialog->StepCommands(true);
    EXPECT_EQ(Dialog->StatusText, "Choose target of spell");

    Dialog->Request = Main::frAutomatic;
    Dialog->StepCommands(true);
    EXPECT_EQ(Dialog->Request, Main::frNone);
    EXPECT_EQ(Dialog->Automatic, 1);
    EXPECT_EQ(Dialog->SelectedSlot, -1);
    EXPECT_TRUE(Hidden(Dialog->AcceptButton));

    Dialog->Automatic = 0;
    Dialog->SelectedSlot = 1;
    Dialog->Request = Main::frAccept;
    Dialog->StepCommands(true);
    EXPECT_EQ(Dialog->Request, Main::frNone);
    EXPECT_EQ(Dialog->SelectedSlot, -1);
    EXPECT_EQ(Dialog->PendingSpell, 0);

    // Flight costs every attacker the least action cost.
    const int32_t before = Red->UnitAt(0)->Effective.Value(ACTIONPOINTS);
    Dialog->Phase = Main::fpAttackerCommands;
    Dialog->Request = Main::frFlee;
    Dialog->StepCommands(true);
    EXPECT_EQ(Dialog->Request, Main::frNone);
    EXPECT_EQ(Red->UnitAt(0)->Effective.Value(ACTIONPOINTS), before - LeastAP);
}

TEST_F(FightCommands, ThePanelsOfferWhatTheChoosingSideMayClick) {
    for (int slot = 0; slot < BattleSlotCount; ++slot) {
        auto* panel = new Main::TUnitInfoControl(
            Dialog.get(), Dialog.get(), slot < 3 ? Main::ulFightLeft : Main::ulFightRight, 0);
        panel->SetUnit(Dialog->Battle.UnitAt(slot));
        Dialog->Panels[size_t(slot)] = panel;
    }
    const auto portrait = [&](int slot) {
        return Dialog->Panels[size_t(slot)]->PortraitButton()->Enabled();
    };
    const auto selectable = [&](int slot) { return Dialog->Panels[size_t(slot)]->ShowSelection; };
    Red->UnitAt(1)->AddHitPoints(-100);
    Dialog->StepCommands(true);
    EXPECT_TRUE(portrait(0) && selectable(0));
    EXPECT_FALSE(portrait(1) || selectable(1)); // the dead are given nothing
    EXPECT_TRUE(portrait(3) && selectable(3));  // the targets
    EXPECT_TRUE(portrait(4) && selectable(4));

    Player(0).Type = ptComputer;
    Dialog->StepCommands(true);
    EXPECT_EQ(Dialog->StatusText, "Computer is assigning commands to attackers");
    for (int slot : {0, 3, 4}) {
        SCOPED_TRACE(slot);
        EXPECT_FALSE(portrait(slot) || selectable(slot));
        EXPECT_FALSE(Dialog->Panels[size_t(slot)]->SpellbookButton()->Enabled());
    }
    Dialog->Battle.FreeAIThread();
}

TEST_F(FightCommands, LocalDefendersWhoCannotActAnswerAtOnce) {
    Dialog->Phase = Main::fpDefenderCommands;
    Blue->UnitAt(0)->AddActionPoints(-100);
    Blue->UnitAt(1)->AddActionPoints(-100);
    Dialog->StepCommands(false);
    EXPECT_EQ(Dialog->StatusText, "Assign commands to defending units");
    const TPlayerAction action = Player(0).TakeAction();
    EXPECT_EQ(action.Code, acFightCommands);
    EXPECT_EQ(action.P[0], uint32_t(Main::frAccept));
    EXPECT_EQ(action.P[1], 1u); // defender 3's record
}

TEST_F(FightCommands, TheComputerAssignsItsSideOnTheBattlesThread) {
    Player(1).Type = ptComputer;
    Dialog->Phase = Main::fpDefenderCommands;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!Player(0).HasPendingAction() && std::chrono::steady_clock::now() < deadline) {
        Dialog->StepCommands(false);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(Dialog->StatusText, "Computer is assigning commands to defenders");
    EXPECT_FALSE(Dialog->Battle.HasAIThread());
    // While the answer waits for the executor, no second decision starts.
    Dialog->StepCommands(false);
    EXPECT_FALSE(Dialog->Battle.HasAIThread());
    const TPlayerAction action = Player(0).TakeAction();
    EXPECT_EQ(action.Code, acFightCommands);
    EXPECT_EQ(action.P[0], uint32_t(Main::frAccept));
    const TWords words = [&] {
        TWords w{};
        std::memcpy(w.data(), action.P + 1, sizeof(w));
        return w;
    }();
    EXPECT_TRUE(Dialog->SetSideCommands(action.P[0], words.data()));
}

// This machine plays red; blue's defenders are commanded on the peer, which sends
// their commands as messages.
class FightCommandsOverNetwork : public FightCommands {
protected:
    FightCommandsOverNetwork() {
        Host = Framework();
        Host->HostSession("Fight", 0, 4, 0, 0, 0, 0);
        Host->CreatePlayer("Red", HostID);
        Peer = Framework();
        Peer->EnumSessions(50);
        EXPECT_EQ(Peer->Sessions().Count(), 1);
        Peer->JoinSession(0);
        Peer->CreatePlayer("Blue", PeerID);
        Scenario().Network = Host.get();
        Scenario().LocalPlayerID = HostID;
        Scenario().Networked = 1;
        Player(1).Type = ptRemote;
        Dialog->Phase = Main::fpDefenderCommands;
    }
    ~FightCommandsOverNetwork() override { Scenario().Network = nullptr; }

    std::unique_ptr<DPFrame::TDPFramework> Framework() {
        auto framework = std::make_unique<DPFrame::TDPFramework>(
            DirectPlayTestSupport::InProcessOptions(Network, Log));
        framework->InitializeConnection(framework->CreateTCPIPAddress(""));
        return framework;
    }
    TActionMessage Message() const {
        TActionMessage message;
        message.Size = sizeof(message);
        message.Type = ActionMessageType;
        message.Sequence = Scenario().ActionCounter.load();
        message.Action.Code = acFightCommands;
        message.Action.P[0] = Main::frAccept;
        const TWords words = ValidDefenderWords();
        std::memcpy(message.Action.P + 1, words.data(), sizeof(words));
        return message;
    }
    void Send(const void* data, size_t size) {
        Peer->Send(PeerID, HostID, Win32::DPSEND_GUARANTEED, data, uint32_t(size));
    }
    // Polls until red has an action posted or the time runs out (a hang, not a speed test).
    bool PollUntilPosted() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!Player(0).HasPendingAction()) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            Dialog->PollNetwork();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }

    std::shared_ptr<Win32::TInProcessNetwork> Network =
        std::make_shared<Win32::TInProcessNetwork>();
    DirectPlayTestSupport::TLogLines Log;
    std::unique_ptr<DPFrame::TDPFramework> Host;
    std::unique_ptr<DPFrame::TDPFramework> Peer;
    Win32::DPID HostID = 0;
    Win32::DPID PeerID = 0;
};

TEST_F(FightCommandsOverNetwork, OnlyThePeersWellFormedCommandsArePosted) {
    struct TCase {
        const char* Name;
        std::function<void(TActionMessage&)> Spoil;
        size_t Size;
    };
    const uint32_t counter = Scenario().ActionCounter.load();
    const TCase cases[] = {
        {"short", [](TActionMessage&) {}, sizeof(TActionMessage) - 1},
        {"size field", [](TActionMessage& m) { m.Size = 56; }, sizeof(TActionMessage)},
        {"type", [](TActionMessage& m) { m.Type = 2; }, sizeof(TActionMessage)},
        {"sequence ahead", [=](TActionMessage& m) { m.Sequence = counter + 1; },
         sizeof(TActionMessage)},
        {"sequence behind", [=](TActionMessage& m) { m.Sequence = counter - 1; },
         sizeof(TActionMessage)},
        {"other action", [](TActionMessage& m) { m.Action.Code = acEndTurn; },
         sizeof(TActionMessage)},
    };
    std::vector<uint8_t> bytes(sizeof(TActionMessage) + 1);
    for (const TCase& c : cases) {
        TActionMessage message = Message();
        message.Action.P[4] = 5; // told apart from the good one, should it get through
        c.Spoil(message);
        std::memcpy(bytes.data(), &message, sizeof(message));
        Send(bytes.data(), c.Size);
    }
    TActionMessage tooLong = Message();
    tooLong.Action.P[4] = 5;
    std::memcpy(bytes.data(), &tooLong, sizeof(tooLong));
    Send(bytes.data(), bytes.size());
    const TActionMessage good = Message();
    Send(&good, sizeof(good));

    ASSERT_TRUE(PollUntilPosted());
    const TPlayerAction posted = Player(0).TakeAction();
    EXPECT_EQ(0, std::memcmp(&posted, &good.Action, sizeof(posted)));
    EXPECT_EQ(Scenario().ActionCounter.load(), counter + 1);
    EXPECT_FALSE(Scenario().ConnectionLost);
    // Posted here only: the peer has it already.
    EXPECT_TRUE(Dialog->SetSideCommands(posted.P[0], posted.P + 1));
    EXPECT_EQ(Dialog->Battle.Slots[3].Command, bcGuard);
}

TEST_F(FightCommandsOverNetwork, APeerThatLeavesEndsTheGame) {
    // The peer's arrival is a system message that changes nothing.
    for (int i = 0; i < 50; ++i) {
        Dialog->PollNetwork();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_FALSE(Scenario().ConnectionLost);
    Peer->Close();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!Scenario().ConnectionLost && std::chrono::steady_clock::now() < deadline) {
        Dialog->PollNetwork();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_TRUE(Scenario().ConnectionLost);
    EXPECT_FALSE(Player(0).HasPendingAction());
}

} // namespace
