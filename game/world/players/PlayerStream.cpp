#include "game/world/players/Player.h"

#include "game/world/fog/Fog.h"
#include "game/world/players/ComputerPlayer.h"
#include "game/world/scenario/Scenario.h"

namespace GameData {

namespace {

void LoadTexts(Data::TStream* stream, ClassLib::TStringList& texts) {
    texts.Clear();
    // Each text holds at least its length.
    const int32_t count = Data::ReadCount(*stream, 4);
    for (int32_t i = 0; i < count; ++i)
        texts.Add(Data::ReadStreamString(*stream));
}

void SaveTexts(Data::TStream* stream, const ClassLib::TStringList& texts) {
    stream->WriteValue(static_cast<uint32_t>(texts.Count()));
    for (const AnsiString& text : texts)
        Data::WriteStreamString(stream, text);
}

} // namespace

void TPlayer::LoadFromStream(Data::TStream* stream) {
    TDataObject::LoadFromStream(stream);
    Type = stream->ReadValue<uint8_t>();
    Data::CheckData(Type <= ptRemote);
    Gold = stream->ReadValue<int32_t>();
    Color = stream->ReadValue<uint8_t>();
    Data::ReadStreamString(stream, Name);
    SpriteID = stream->ReadValue<uint32_t>();
    Fog->LoadFromStream(stream);
    Fog->UpdateImage();
    for (uint8_t& relation : Relations) {
        relation = stream->ReadValue<uint8_t>();
        Data::CheckData(relation <= reFriendly);
    }
    Blocked = stream->ReadValue<uint8_t>();
    Spotted = stream->ReadValue<uint8_t>();
    const int32_t areaCount = Data::ReadCount(*stream, 4);
    for (int32_t i = 0; i < areaCount; ++i) {
        const auto id = stream->ReadValue<uint32_t>();
        Data::CheckData(id != 0);
        RevealedAreas.Add(Scenario->Areas.GetByID(id));
    }
    AI->LoadFromStream(*stream);
    Area.LoadFromStream(stream);
    LoadTexts(stream, Texts1);
    LoadTexts(stream, Texts2);
    MetPrototypes.LoadFromStream(stream);
}

void TPlayer::SaveToStream(Data::TStream* stream) const {
    TDataObject::SaveToStream(stream);
    stream->WriteValue(Type);
    stream->WriteValue(Gold);
    stream->WriteValue(Color);
    Data::WriteStreamString(stream, Name);
    stream->WriteValue(SpriteID);
    Fog->SaveToStream(stream);
    for (uint8_t relation : Relations)
        stream->WriteValue(relation);
    stream->WriteValue(Blocked);
    stream->WriteValue(Spotted);
    stream->WriteValue(static_cast<uint32_t>(RevealedAreas.Count()));
    for (const TArea* area : RevealedAreas)
        stream->WriteValue(area->ID);
    AI->SaveToStream(*stream);
    Area.SaveToStream(stream);
    SaveTexts(stream, Texts1);
    SaveTexts(stream, Texts2);
    MetPrototypes.SaveToStream(stream);
}

} // namespace GameData
