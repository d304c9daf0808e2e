#include "game/world/scenario/ScriptRecords.h"

#include "engine/core/Sorting.h"
#include "platform/classlib/Exception.h"

namespace GameData {

namespace {

int CompareToID(const TScenarioQuest* quest, uint32_t id) {
    return Data::CompareIDs(quest->ID, id);
}

} // namespace

TScenarioQuest* TQuestList::FindByID(uint32_t id) const {
    int index = 0;
    return id != 0 && FList.BinarySearch(id, CompareToID, &index) ? FList[index] : nullptr;
}

TScenarioQuest* TQuestList::Add(std::unique_ptr<TScenarioQuest> quest) {
    int index = 0;
    if (FList.BinarySearch(quest->ID, CompareToID, &index))
        throw ClassLib::Exception(ClassLib::Format("Object with given ID is already in list (%d).",
                                                   static_cast<int>(quest->ID)));
    TScenarioQuest* raw = quest.release();
    FList.Insert(index, raw);
    return raw;
}

void TQuestList::LoadFromStream(Data::TStream* stream) {
    TDataObject::LoadFromStream(stream);
    FList.Clear();
    Data::ReadTag(*stream, "list");
    // Every quest holds at least its 4-byte identifier.
    const int32_t count = Data::ReadCount(*stream, 4);
    if (count > 0 && !Factory)
        throw ClassLib::Exception("Quests need the scripting library.");
    for (int32_t i = 0; i < count; ++i) {
        std::unique_ptr<TScenarioQuest> quest = Factory();
        quest->LoadFromStream(stream);
        Add(std::move(quest));
    }
}

void TQuestList::SaveToStream(Data::TStream* stream) const {
    TDataObject::SaveToStream(stream);
    Data::WriteTag(*stream, "list");
    stream->WriteValue(static_cast<int32_t>(FList.Count()));
    for (const TScenarioQuest* quest : FList)
        quest->SaveToStream(stream);
}

bool TConversation::IsTargetPlayer(int32_t playerIndex) const {
    return playerIndex >= 0 && ((uint32_t(TargetPlayers) >> (playerIndex % 32)) & 1u) != 0;
}

[[noreturn]] static void RaiseNoConversations() {
    throw ClassLib::Exception("Conversations need the scripting library.");
}

void TConversation::LoadFromStream(Data::TStream*) {
    RaiseNoConversations();
}
void TConversation::SaveToStream(Data::TStream*) const {
    RaiseNoConversations();
}

} // namespace GameData
