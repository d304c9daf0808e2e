// How many planning passes a computer player's turn has and which multitasks each
// pass runs. The first two passes move and fight, the next two escort; the
// scenario's first player plans once. Script lines found on the last pass earn one
// more pass, in which everything runs, up to MaxPasses in all.
#pragma once

#include "game/ai/AITask.h"

#include <cstdint>

namespace AIHandler {

class TPassSchedule {
public:
    // A turn never plans more often than this, however many lines scripts queue.
    static constexpr int MaxPasses = 8;

    explicit TPassSchedule(bool firstPlayer) : FPasses(firstPlayer ? 1 : 4) {}

    int Pass() const { return FPass; }
    int Passes() const { return FPasses; }
    // Whether a multitask led by a task of that type runs in this pass.
    bool Runs(int32_t taskType) const {
        if (taskType == ttGuardUnit)
            return FPass >= 2;
        return FPass <= 1 || FPass >= 4;
    }
    // Queued script lines were carried out in this pass.
    void ScriptLinesPerformed() {
        if (FPass == FPasses - 1 && FPasses < MaxPasses)
            ++FPasses;
    }
    // On to the next pass; false when the turn has none left.
    bool NextPass() { return ++FPass < FPasses; }

private:
    int FPass = 0;
    int FPasses;
};

} // namespace AIHandler
