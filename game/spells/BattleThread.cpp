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
    if (attackers)
        AIThread->SetMethodAction(&TBattle::RunAttackerDecision, this);
    else
        AIThread->SetMethodAction(&TBattle::RunDefenderDecision, this);
    AIThread->Start(NormalPriority);
}

void TBattle::RunAttackerDecision() {
    const Base::TActionThread* thread = AIThread.get();
    ChooseBattleCommands(*this, true, {[thread] { return thread->StopRequested(); }});
    AIDone = 1;
}

void TBattle::RunDefenderDecision() {
    const Base::TActionThread* thread = AIThread.get();
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
