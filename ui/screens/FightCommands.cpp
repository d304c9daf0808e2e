// The sides' commands: the person's mouse and keys, the computer's assignment, a
// peer's message, all ending in one fight-command action.
#include "ui/screens/FightDialog.h"

namespace Main {

bool TFightDialog::SetSideCommands(uint32_t, const uint32_t*) {
    return false;
}
void TFightDialog::UpdateButtons() {}
bool TFightDialog::AttackerIsLocal() const {
    return false;
}
bool TFightDialog::DefenderIsLocal() const {
    return false;
}
bool TFightDialog::AttackerIsComputer() const {
    return false;
}
bool TFightDialog::DefenderIsComputer() const {
    return false;
}
bool TFightDialog::AttackerIsRemote() const {
    return false;
}
bool TFightDialog::DefenderIsRemote() const {
    return false;
}
bool TFightDialog::CurrentPlayerIsRemote() const {
    return false;
}
void TFightDialog::PostSideCommands() {}
void TFightDialog::Flee() {}
void TFightDialog::Accept() {}
void TFightDialog::AssignAutomatically() {}
void TFightDialog::ClickSlot(int) {}
void TFightDialog::CancelSlot(int) {}
void TFightDialog::ChooseSpell(int) {}
void TFightDialog::SetHoverSlot(int) {}
int TFightDialog::SlotAt(int, int) const {
    return -1;
}
void TFightDialog::PollNetwork() {}
void TFightDialog::MouseDown(int, DXWin::TShiftState, int, int) {}
void TFightDialog::MouseMove(DXWin::TShiftState, int, int) {}
void TFightDialog::KeyDown(Win32::WPARAM&, DXWin::TShiftState) {}
void TFightDialog::StepCommands(bool) {}

} // namespace Main
