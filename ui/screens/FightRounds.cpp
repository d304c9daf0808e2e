// The round machine: one tick of the fight at a time.
#include "ui/screens/FightDialog.h"

namespace Main {

void TFightDialog::Tick() {}
void TFightDialog::NextPhase() {}
void TFightDialog::PlayQueuedSounds() {}
void TFightDialog::QueueSound(Audio::TAudioStream*, int32_t) {}
void TFightDialog::PrepareSpellEffect() {}
bool TFightDialog::AnimateHits() {
    return true;
}
bool TFightDialog::AnimateDeaths() {
    return true;
}
void TFightDialog::AnimateIdle() {}
int TFightDialog::NextStepDirection(int, int, int) const {
    return 0;
}
int TFightDialog::DirectionTo(int, int, int, int) {
    return 0;
}

} // namespace Main
