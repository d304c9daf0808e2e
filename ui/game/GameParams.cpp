#include "ui/game/GameParams.h"

namespace Main {

void TGameParams::Reset() {
    Mode = gmSingle;
    for (TPlayerParams& player : Players)
        player.Control = pcComputer;
    Players[1].Control = pcLocal;
}

} // namespace Main
