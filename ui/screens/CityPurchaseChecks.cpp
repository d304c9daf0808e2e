// The checks a merchant's button makes before it posts a purchase.
#include "ui/screens/CityWindow.h"

namespace Main {

void TCityWindow::TryHire() {}
void TCityWindow::TryBuyDrink() {}
void TCityWindow::TryRestoreMana() {}
void TCityWindow::TryBuySpell() {}
void TCityWindow::TryTrainSkill() {}
void TCityWindow::TryHeal() {}
void TCityWindow::TryBuyAbility() {}

} // namespace Main
