#include "game/world/scenario/ScenarioHeader.h"

#include "platform/classlib/Exception.h"

#include <cstring>

namespace GameData {

namespace {

bool NameTerminated(const char (&field)[16]) {
    return std::memchr(field, 0, MaxSideFileName + 1) != nullptr;
}

} // namespace

ClassLib::AnsiString SideFileName(const char (&field)[16]) {
    return ClassLib::AnsiString(field, ::strnlen(field, MaxSideFileName + 1));
}

void SetSideFileName(char (&field)[16], const ClassLib::AnsiString& name) {
    if (name.size() > size_t(MaxSideFileName) || name.find('\0') != std::string::npos)
        throw ClassLib::Exception(
            ClassLib::Format("The file name '%s' is longer than 12 characters.", name.c_str()));
    std::memset(field, 0, sizeof(field));
    std::memcpy(field, name.data(), name.size());
}

void ReadScenarioHeader(Data::TStream& stream, TScenarioThumbNail& thumbNail) {
    ReadScenarioHeader(stream, thumbNail.Header, thumbNail.Description, thumbNail.Preview);
}

void ReadScenarioHeader(Data::TStream& stream, TScenarioHeader& header,
                        ClassLib::AnsiString& description, Gfx::TSprite& preview) {
    stream.ReadBuffer(&header, sizeof(header));
    Data::CheckData(std::memcmp(header.Signature, "SCEN", 4) == 0);
    if (header.Version != ScenarioVersion)
        throw ClassLib::Exception("Invalid version:" + std::to_string(header.Version) +
                                  " Current version is: " + std::to_string(ScenarioVersion));
    Data::CheckData(header.Width >= 1 && header.Height >= 1 && header.Width <= 128 &&
                    header.Height <= 128);
    Data::CheckData(header.Width % 4 == 0 && header.Height % 4 == 0);
    for (const auto* name : {&header.PrototypeFileName, &header.SpriteLibraryName,
                             &header.PlayerSpriteLibraryName, &header.BackgroundFileName})
        Data::CheckData(NameTerminated(*name));
    Data::ReadStreamString(&stream, description);
    preview.LoadFromStream(&stream);
}

} // namespace GameData
