// The scenario's side of scripting: the alias table of the globals, the quest list
// and its evaluation pass, the conversation list with its triggers, and the queue
// of conversations waiting to be played.
#include "game/world/scenario/Scenario.h"

#include <algorithm>

namespace GameData {

int32_t TScenario::GlobalAliasIndex(const AnsiString& name) const {
    for (const TGlobalAlias& alias : GlobalAliases)
        if (alias.Name == name)
            return alias.Index;
    return -1;
}

void TScenario::SetGlobalAlias(const AnsiString& name, int32_t index) {
    for (TGlobalAlias& alias : GlobalAliases)
        if (alias.Name == name) {
            alias.Index = index;
            return;
        }
    GlobalAliases.push_back({name, index});
}

void TScenario::LoadGlobalAliases(Data::TStream& stream) {
    GlobalAliases.clear();
    // Each alias holds its index and the length of its name.
    const int32_t count = Data::ReadCount(stream, 8);
    for (int32_t i = 0; i < count; ++i) {
        const auto index = stream.ReadValue<uint32_t>();
        // A script reaching through an alias must land inside the globals.
        if (index >= uint32_t(GlobalCount))
            throw Data::EInvalidData();
        SetGlobalAlias(Data::ReadStreamString(stream), int32_t(index));
    }
}

void TScenario::SaveGlobalAliases(Data::TStream& stream) const {
    stream.WriteValue(static_cast<uint32_t>(GlobalAliases.size()));
    for (const TGlobalAlias& alias : GlobalAliases) {
        stream.WriteValue(static_cast<uint32_t>(alias.Index));
        Data::WriteStreamString(&stream, alias.Name);
    }
}

void TScenario::LoadQuestObjectives(Data::TStream* stream) {
    Quests.LoadFromStream(stream);
    for (TScenarioQuest* quest : Quests)
        quest->SetScenario(this);
}

void TScenario::SaveQuestObjectives(Data::TStream* stream) const {
    Quests.SaveToStream(stream);
}

void TScenario::UpdateQuests() {
    for (TScenarioQuest* quest : Quests) {
        if (quest->State > 0)
            quest->UpdatePlayerFromHero(false);
        if (quest->Player != CurrentPlayerIndex)
            continue;
        const int32_t before = quest->State;
        quest->UpdateQuest();
        if (quest->State != before)
            if (TScenarioConversation* conversation =
                    Conversations.FindByID(static_cast<uint32_t>(quest->FinalConversationID)))
                QueueConversation(conversation);
    }
}

void TScenario::LoadConversations(Data::TStream* stream) {
    Conversations.LoadFromStream(stream);
    for (TScenarioConversation* conversation : Conversations)
        conversation->SetScenario(this);
}

void TScenario::SaveConversations(Data::TStream* stream) const {
    Conversations.SaveToStream(stream);
}

bool TScenario::TriggerConversations(int32_t playerIndex, int32_t eventType, int32_t objectID) {
    const size_t queued = ConversationQueue.size();
    for (TScenarioConversation* conversation : Conversations) {
        if (!conversation->Active || conversation->OwnerType != eventType ||
            !conversation->IsTargetPlayer(playerIndex))
            continue;
        const bool starts = eventType == ceTurn        ? conversation->ActivationTurn == Turn
                            : eventType == ceEveryTurn ? true
                                                       : conversation->OwnerID == objectID;
        if (starts)
            QueueConversation(conversation);
    }
    return ConversationQueue.size() > queued;
}

TScenarioConversation* TScenario::FindConversation(int32_t playerIndex, int32_t eventType,
                                                   int activeMode, int32_t objectID) const {
    for (TScenarioConversation* conversation : Conversations) {
        if (conversation->OwnerType != eventType || !conversation->IsTargetPlayer(playerIndex) ||
            (activeMode == 1 && !conversation->Active) || (activeMode == 2 && conversation->Active))
            continue;
        if (eventType == ceTurn ? conversation->ActivationTurn == Turn
                                : conversation->OwnerID == objectID)
            return conversation;
    }
    return nullptr;
}

void TScenario::QueueConversation(TScenarioConversation* conversation) {
    if (conversation->Running || std::find(ConversationQueue.begin(), ConversationQueue.end(),
                                           conversation) != ConversationQueue.end())
        return;
    ConversationQueue.push_back(conversation);
}

TScenarioConversation* TScenario::PopQueuedConversation() {
    if (ConversationQueue.empty())
        return nullptr;
    TScenarioConversation* first = ConversationQueue.front();
    ConversationQueue.pop_front();
    return first;
}

} // namespace GameData
