// The tiny test world with every player planned by the computer player's handler.
//
//   TestSupport::TAIWorld world;            // red (local), blue and green (computer)
//   AIHandler::TAIHandler& blue = world.Handler(1);
#pragma once

#include "game/ai/AIHandler.h"
#include "tests/support/TinyWorld.h"

#include <memory>

namespace TestSupport {

inline TTinyWorldOptions AIWorldOptions(TTinyWorldOptions options = {}) {
    options.PlannerFactory = [](GameData::TPlayer& player) {
        return std::unique_ptr<GameData::TComputerPlayer>(
            std::make_unique<AIHandler::TAIHandler>(player));
    };
    return options;
}

class TAIWorld : public TTinyWorld {
public:
    explicit TAIWorld(const TTinyWorldOptions& options = {})
        : TTinyWorld(AIWorldOptions(options)) {}

    AIHandler::TAIHandler& Handler(int player) const {
        return static_cast<AIHandler::TAIHandler&>(*Player(player).AI);
    }
};

} // namespace TestSupport
