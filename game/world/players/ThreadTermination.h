// Raised inside a player's worker when it is told to stop: unwinds the turn quietly.
#pragma once

#include <exception>

namespace GameData {

class EThreadTermination : public std::exception {
public:
    const char* what() const noexcept override { return "The player's thread was stopped."; }
};

} // namespace GameData
