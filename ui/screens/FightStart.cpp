// A fight's start and finish: the dialog prepared, shown or run in the background,
// and the world put back in order afterwards.
#include "ui/screens/FightDialog.h"

namespace Main {

void TFightDialog::StartGroupFight(GameData::TGroup*, GameData::TGroup*) {}
void TFightDialog::StartCityFight(GameData::TGroup*, GameData::TCity*, int) {}
void TFightDialog::Run() {}
void TFightDialog::RunBackgroundGroupFight(GameData::TGroup*, GameData::TGroup*) {}
void TFightDialog::RunBackgroundCityFight(GameData::TGroup*, GameData::TCity*, int) {}
void TFightDialog::PaintBackdrop() {}
bool TFightDialog::Fighting() const {
    return false;
}
void TFightDialog::SetUpFight(GameData::TGroup*, GameData::TGroup*) {}
void TFightDialog::RunBackgroundFight(GameData::TGroup*, GameData::TGroup*) {}
void TFightDialog::FinishFight() {}
void TFightDialog::ResetState() {}
void TFightDialog::ShowPanels() {}
void TFightDialog::HidePanels() {}
void TFightDialog::ChooseBackdrop() {}
void TFightDialog::ReleaseSprites() {}

} // namespace Main
