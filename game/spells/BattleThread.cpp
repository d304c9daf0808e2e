// The computer's command choice on the battle's worker thread.
#include "game/spells/Battle.h"
#include "game/spells/BattleDecisions.h"
#include "game/world/scenario/GameSettings.h"

namespace GameData {

namespace {

constexpr int NormalPriority = 0;

} // namespace

void TBattle::StartAttackerAIThread() {
    StartAIThread(true);
}

void TBattle::StartDefenderAIThread() {
    StartAIThread(false);
}

void TBattle::StartAIThread(bool attackers) {
    FreeAIThread();
    AIDone = 0;
    AIThread = std::make_unique<Base::TActionThread>();
    // Set before the start: the worker reads it, never AIThread, which the main
    // thread may be resetting while it waits for the worker to stop.
    FDecisionThread = AIThread.get();
    FDecisionRandom = *Random;
    // Taken now, on the main thread: the options may change while the worker runs.
    CastInAutomaticCombat = GameSettings.CastInAutoCombat;
    if (attackers)
        AIThread->SetMethodAction(&TBattle::RunAttackerDecision, this);
    else
        AIThread->SetMethodAction(&TBattle::RunDefenderDecision, this);
    AIThread->Start(NormalPriority);
}

void TBattle::RunAttackerDecision() {
    RunDecision(true);
}

void TBattle::RunDefenderDecision() {
    RunDecision(false);
}

void TBattle::RunDecision(bool attackers) {
    const Base::TActionThread* thread = FDecisionThread;
    TDecisionLimits limits;
    limits.StopRequested = [thread] { return thread->StopRequested(); };
    limits.Random = FDecisionRandom;
    ChooseBattleCommands(*this, attackers, limits);
    AIDone = 1;
}

bool TBattle::IsAIThreadRunning() const {
    return AIThread && AIThread->IsRunning();
}

void TBattle::FreeAIThread() {
    AIThread.reset();
}

} // namespace GameData
