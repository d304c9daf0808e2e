// The scenario's conversation queue: events start the conversations aimed at a
// player, and the game controller runs them one after another.
#include "game/world/scenario/Scenario.h"

namespace GameData {

namespace {
constexpr int ckTurn = 0;   // starts on its activation turn
constexpr int ckAlways = 7; // starts at every turn start
} // namespace

TConversation* TScenario::FindConversation(int player, int kind, int activeMode,
                                           uint32_t ownerID) const {
    for (TConversation* conversation : Conversations) {
        if (conversation->OwnerType != kind || !conversation->IsTargetPlayer(player))
            continue;
        if ((activeMode == 1 && !conversation->Active) || (activeMode == 2 && conversation->Active))
            continue;
        const bool matches = kind == ckTurn ? conversation->ActivationTurn == Turn
                                            : conversation->OwnerID == ownerID;
        if (matches)
            return conversation;
    }
    return nullptr;
}

bool TScenario::TriggerConversations(int player, int kind, uint32_t ownerID) {
    bool queued = false;
    for (TConversation* conversation : Conversations) {
        if (conversation->OwnerType != kind || !conversation->Active ||
            !conversation->IsTargetPlayer(player))
            continue;
        const bool starts = kind == ckTurn     ? conversation->ActivationTurn == Turn
                            : kind == ckAlways ? true
                                               : conversation->OwnerID == ownerID;
        if (starts) {
            QueueConversation(conversation);
            queued = true;
        }
    }
    return queued;
}

void TScenario::QueueConversation(TConversation* conversation) {
    if (conversation->Running || ConversationQueue.IndexOf(conversation) >= 0)
        return;
    ConversationQueue.Add(conversation);
}

TConversation* TScenario::PopQueuedConversation() {
    if (ConversationQueue.Count() == 0)
        return nullptr;
    return ConversationQueue.Extract(0);
}

} // namespace GameData
