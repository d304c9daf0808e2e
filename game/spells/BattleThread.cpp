// The computer's command choice on the battle's worker thread.
#include "game/spells/Battle.h"
#include "game/spells/BattleDecisions.h"

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
    if (attackers)
        AIThread->SetMethodAction(&TBattle::RunAttackerDecision, this);
    else
        AIThread->SetMethodAction(&TBattle::RunDefenderDecision, this);
    AIThread->Start(NormalPriority);
}

void TBattle::RunAttackerDecision() {
    const Base::TActionThread* thread = FDecisionThread;
    ChooseBattleCommands(*this, true, {[thread] { return thread->StopRequested(); }});
    AIDone = 1;
}

void TBattle::RunDefenderDecision() {
    const Base::TActionThread* thread = FDecisionThread;
    ChooseBattleCommands(*this, false, {[thread] { return thread->StopRequested(); }});
    AIDone = 1;
}

bool TBattle::IsAIThreadRunning() const {
    return AIThread && AIThread->IsRunning();
}

void TBattle::FreeAIThread() {
    AIThread.reset();
}

} // namespace GameData
