// What the widget set reads of the game object: whether a game with a scenario is
// running, and the colour of the player on turn. The game object implements it; until
// there is one, GameView stays null and the widgets behave as with no game running.
#pragma once

#include <cstdint>

namespace Main {

class TGameView {
public:
    virtual ~TGameView() = default;
    virtual bool HoldsScenario() const = 0;
    // 0x00RRGGBB; 0 without a scenario.
    virtual uint32_t CurrentPlayerColor() const = 0;
};

// The global game object as the widgets see it; null while none exists.
extern TGameView* GameView;

} // namespace Main
