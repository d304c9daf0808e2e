#include "game/script/Conversation.h"

#include "engine/core/StreamData.h"
#include "game/world/objects/Drawings.h"
#include "game/world/scenario/Scenario.h"
#include "platform/classlib/Exception.h"

namespace GameData {

using ClassLib::AnsiString;

void TConversation::ScriptError(const AnsiString& message) const {
    throw ClassLib::Exception(ClassLib::Format("[TConversation]\n%s\nCommand:%s ConversationID=%d",
                                               message, CurrentCommand, static_cast<int>(ID)));
}

bool TConversation::ExecuteCommand(std::string_view tag, AnsiString& output) {
    const std::string_view inner =
        tag.size() >= 2 ? tag.substr(1, tag.size() - 2) : std::string_view();
    CurrentCommand = AnsiString(inner);
    TCommandParts parts = SplitCommand(inner);
    const TScriptCommandInfo* row = nullptr;
    for (const TScriptCommandInfo& candidate : Commands())
        if (!row && candidate.Name == std::string_view(parts.Name))
            row = &candidate;
    if (!row)
        ScriptError(ClassLib::Format("Unknown command: %s", parts.Name));
    if (!row->Handler)
        ScriptError(ClassLib::Format("Command not available yet: %s", parts.Name));
    return row->Handler(*this, parts.Params, output);
}

int32_t TConversation::LocalAliasIndex(const AnsiString& name) const {
    for (const TLocalAlias& alias : Aliases)
        if (ClassLib::SameText(alias.Name, name))
            return alias.Index;
    return -1;
}

void TConversation::SetLocalAlias(const AnsiString& name, int32_t index) {
    for (TLocalAlias& alias : Aliases)
        if (ClassLib::SameText(alias.Name, name)) {
            alias.Index = index;
            return;
        }
    Aliases.push_back({name, index});
}

void TConversation::SetFace(uint32_t spriteID) {
    // The talk dialog holds the sprite while it shows it; here the ID is checked.
    if (spriteID != 0 && GlobalSpriteList().IndexOf(spriteID) < 0)
        throw ClassLib::Exception(
            ClassLib::Format("Sprite with given ID not found (%d).", static_cast<int>(spriteID)));
    FaceID = spriteID;
}

void TConversation::Clear() {
    Texts.clear();
    Aliases.clear();
    FaceID = 0;
    OwnerType = 0;
    OwnerID = 0;
    ActivationTurn = 0;
    TargetPlayers = 0;
    TalkingGroup = nullptr;
    ChosenAnswer = 0;
    DeleteRequested = false;
    Locals = {};
    OwnerName.clear();
    Name.clear();
    Active = true;
    Running = false;
}

void TConversation::LoadFromStream(Data::TStream* stream) {
    TDataObject::LoadFromStream(stream);
    Data::ReadStreamString(stream, Name);
    OwnerType = stream->ReadValue<int32_t>();
    OwnerID = stream->ReadValue<int32_t>();
    FaceID = stream->ReadValue<uint32_t>();
    Data::ReadStreamString(stream, OwnerName);
    ActivationTurn = stream->ReadValue<int32_t>();
    TargetPlayers = stream->ReadValue<uint16_t>();
    for (int32_t& local : Locals)
        local = stream->ReadValue<int32_t>();
    // Any byte but 0 reads as active; it is written back as 1.
    Active = stream->ReadValue<uint8_t>() != 0;
    // An alias holds its index and its name's length.
    const int32_t aliasCount = Data::ReadCount(*stream, 8);
    for (int32_t i = 0; i < aliasCount; ++i) {
        const int32_t index = stream->ReadValue<int32_t>();
        Aliases.push_back({Data::ReadStreamString(*stream), index});
    }
    // A page holds at least its length.
    const int32_t pageCount = Data::ReadCount(*stream, 4);
    Texts.reserve(size_t(pageCount));
    for (int32_t i = 0; i < pageCount; ++i)
        Texts.push_back(Data::ReadStreamString(*stream));
}

void TConversation::SaveToStream(Data::TStream* stream) const {
    TDataObject::SaveToStream(stream);
    Data::WriteStreamString(stream, Name);
    stream->WriteValue(OwnerType);
    stream->WriteValue(OwnerID);
    stream->WriteValue(FaceID);
    Data::WriteStreamString(stream, OwnerName);
    stream->WriteValue(ActivationTurn);
    stream->WriteValue(TargetPlayers);
    for (const int32_t local : Locals)
        stream->WriteValue(local);
    stream->WriteValue(static_cast<uint8_t>(Active ? 1 : 0));
    stream->WriteValue(static_cast<int32_t>(Aliases.size()));
    for (const TLocalAlias& alias : Aliases) {
        stream->WriteValue(alias.Index);
        Data::WriteStreamString(stream, alias.Name);
    }
    stream->WriteValue(static_cast<int32_t>(Texts.size()));
    for (const AnsiString& page : Texts)
        Data::WriteStreamString(stream, page);
}

void InstallConversations(TScenario& scenario) {
    scenario.Conversations.Factory = [] { return std::make_unique<TConversation>(); };
}

} // namespace GameData
