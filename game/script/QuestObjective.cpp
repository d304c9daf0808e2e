#include "game/script/QuestObjective.h"

#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"
#include "platform/classlib/Exception.h"

namespace GameData {

void TQuestObjective::SetScenario(TScenario* scenario) {
    Scenario = scenario;
    Check.SetScenario(scenario);
}

void TQuestObjective::GiveQuest(int32_t heroID) {
    GivenID = heroID;
    State = qsActive;
    Check.Locals = {};
    if (const TUnit* hero = Scenario->Units.FindByID(static_cast<uint32_t>(heroID)))
        HeroName = hero->Name;
    GivenOrder = static_cast<int32_t>(Scenario->NewObjectID());
}

void TQuestObjective::GiveObjective(int32_t player) {
    Player = player;
    State = qsActive;
    GivenOrder = static_cast<int32_t>(Scenario->NewObjectID());
}

void TQuestObjective::Reset() {
    GivenID = 0;
    State = qsNotGiven;
    Player = 0;
    HeroName.clear();
    GivenOrder = 0;
}

void TQuestObjective::UpdateQuest() {
    if (State != qsActive)
        return;
    Check.ID = ID; // errors name the quest
    if (Type == qtQuest && !Scenario->Units.FindByID(static_cast<uint32_t>(GivenID))) {
        State = qsFailed;
        return;
    }
    const int32_t result = Check.Run();
    if (result > 0)
        State = qsCompleted;
    else if (result < 0)
        State = qsFailed;
}

void TQuestObjective::UpdatePlayerFromHero(bool raise) {
    if (Type != qtQuest)
        return;
    const TUnit* hero = Scenario->Units.FindByID(static_cast<uint32_t>(GivenID));
    if (!hero) {
        if (raise)
            throw ClassLib::Exception(ClassLib::Format("Hero not in scenario! ID=%d", GivenID));
        return;
    }
    Player = Scenario->IndexOfPlayer(dynamic_cast<const TPlayer*>(hero->GetPlayer()));
}

void TQuestObjective::Clear() {
    Type = qtQuest;
    State = qsNotGiven;
    Player = 1;
    FinalConversationID = 0;
    Text.clear();
    GivenID = 0;
    Check.Clear();
    Name.clear();
    Hidden = 0;
    HeroName.clear();
    GivenOrder = 0;
}

void TQuestObjective::LoadFromStream(Data::TStream* stream) {
    TDataObject::LoadFromStream(stream);
    Data::ReadStreamString(stream, Name);
    Type = stream->ReadValue<int32_t>();
    GivenID = stream->ReadValue<int32_t>();
    State = stream->ReadValue<int32_t>();
    Player = stream->ReadValue<int32_t>();
    Hidden = stream->ReadValue<uint8_t>();
    Data::ReadStreamString(stream, Text);
    FinalConversationID = stream->ReadValue<int32_t>();
    Check.LoadFromStream(stream);
    Data::ReadStreamString(stream, HeroName);
    GivenOrder = stream->ReadValue<int32_t>();
    Check.ID = ID;
}

void TQuestObjective::SaveToStream(Data::TStream* stream) const {
    TDataObject::SaveToStream(stream);
    Data::WriteStreamString(stream, Name);
    stream->WriteValue(Type);
    stream->WriteValue(GivenID);
    stream->WriteValue(State);
    stream->WriteValue(Player);
    stream->WriteValue(Hidden);
    Data::WriteStreamString(stream, Text);
    stream->WriteValue(FinalConversationID);
    Check.SaveToStream(stream);
    Data::WriteStreamString(stream, HeroName);
    stream->WriteValue(GivenOrder);
}

void InstallQuestObjectives(TScenario& scenario) {
    scenario.Quests.Factory = [] { return std::make_unique<TQuestObjective>(); };
}

} // namespace GameData
