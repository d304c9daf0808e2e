#include "ui/widgets/GameView.h"

namespace Main {

TGameView* GameView = nullptr;

} // namespace Main
