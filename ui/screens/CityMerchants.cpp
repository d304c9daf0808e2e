// The town's merchants: visiting one, its panel for the selected unit, carrying out the
// purchases, and closing it again.
#include "ui/screens/CityWindow.h"

namespace Main {

void TCityWindow::CreateMerchantControls() {}
bool TCityWindow::VisitMerchant(int32_t) {
    return false;
}
bool TCityWindow::ApplyPurchase(int32_t, int32_t, int32_t, int32_t) {
    return false;
}
void TCityWindow::CloseMerchant() {}
void TCityWindow::UpdatePanels() {}
void TCityWindow::RefreshInnPanel() {}
void TCityWindow::RefreshMagePanel() {}
void TCityWindow::RefreshBattleMasterPanel() {}
void TCityWindow::RefreshHerbalistPanel() {}
void TCityWindow::RefreshMerchantPanel() {}
void TCityWindow::BuildOffers(const std::array<uint32_t, 64>&, TOfferTable& offers) {
    offers = {};
}

} // namespace Main
