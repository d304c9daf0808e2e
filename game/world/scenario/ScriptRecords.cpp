#include "game/world/scenario/ScriptRecords.h"

#include "platform/classlib/Exception.h"

namespace GameData {

int32_t ReadScriptListHeader(Data::TStream& stream) {
    Data::ReadTag(stream, "list");
    // Every item holds at least its 4-byte identifier.
    return Data::ReadCount(stream, 4);
}

void WriteScriptListHeader(Data::TStream& stream, int count) {
    Data::WriteTag(stream, "list");
    stream.WriteValue(static_cast<int32_t>(count));
}

void RaiseDuplicateID(uint32_t id) {
    throw ClassLib::Exception(
        ClassLib::Format("Object with given ID is already in list (%d).", static_cast<int>(id)));
}

void RaiseMessage(const char* message) {
    throw ClassLib::Exception(message);
}

bool TScenarioConversation::IsTargetPlayer(int32_t playerIndex) const {
    return playerIndex >= 0 && ((uint32_t(TargetPlayers) >> (playerIndex % 32)) & 1u) != 0;
}

void TScenarioConversation::LoadFromStream(Data::TStream*) {
    RaiseMessage("Conversations need the scripting library.");
}

void TScenarioConversation::SaveToStream(Data::TStream*) const {
    RaiseMessage("Conversations need the scripting library.");
}

} // namespace GameData
