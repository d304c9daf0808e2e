// One frame of the fight screen.
#include "ui/screens/FightDialog.h"

namespace Main {

void TFightDialog::Draw(Win32::IDirectDrawSurface7*, const Win32::RECT&) {}

bool TFightDialog::CompareDrawOrder(const TUnitData&, const TUnitData&) {
    return false;
}

} // namespace Main
