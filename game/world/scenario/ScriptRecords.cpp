#include "game/world/scenario/ScriptRecords.h"

#include "platform/classlib/Exception.h"

namespace GameData {

namespace {

[[noreturn]] void RaiseNoScripting() {
    throw ClassLib::Exception("Quests and conversations need the scripting library.");
}

} // namespace

void TQuestObjective::LoadFromStream(Data::TStream*) {
    RaiseNoScripting();
}
void TQuestObjective::SaveToStream(Data::TStream*) const {
    RaiseNoScripting();
}
void TConversation::LoadFromStream(Data::TStream*) {
    RaiseNoScripting();
}
void TConversation::SaveToStream(Data::TStream*) const {
    RaiseNoScripting();
}

} // namespace GameData
