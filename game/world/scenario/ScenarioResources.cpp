#include "game/world/scenario/Scenario.h"

#include "engine/core/TextReader.h"
#include "game/world/data/DataArchives.h"

#include <cstring>
#include <limits>

namespace GameData {

namespace {

const Data::TArchive& ScenarioArchive() {
    if (!Data2::ScenarioArchive)
        throw ClassLib::EStreamError("Archive 'scenario' not found.");
    return *Data2::ScenarioArchive;
}

template <typename T>
T ReadField(Data::TTextReader& text) {
    const int value = Data::ReadTokenInt(text);
    Data::CheckData(value >= std::numeric_limits<T>::min() &&
                    value <= std::numeric_limits<T>::max());
    return static_cast<T>(value);
}

uint32_t ReadUnsigned(Data::TTextReader& text) {
    const int value = Data::ReadTokenInt(text);
    Data::CheckData(value >= 0);
    return static_cast<uint32_t>(value);
}

// Prototype records keep a terminating zero in their 80 characters, so a name
// holds at most 79.
constexpr size_t MaxPrototypeName = sizeof(TDoodlePrototype::Name) - 1;
// Twelve tokens of at least one character and one separator each.
constexpr int64_t MinPrototypeText = 24;

TDoodlePrototype ReadPrototype(Data::TTextReader& text) {
    TDoodlePrototype prototype{};
    prototype.ID = ReadUnsigned(text);
    prototype.SpriteID = ReadUnsigned(text);
    prototype.StartChance = ReadField<uint16_t>(text);
    prototype.AnimationMode = ReadField<uint16_t>(text);
    prototype.AnimationPeriod = ReadField<int16_t>(text);
    prototype.PatchMode = ReadField<uint16_t>(text);
    prototype.HeightDelta = ReadField<int16_t>(text);
    prototype.CostDelta = ReadField<int16_t>(text);
    prototype.Layer = ReadField<uint16_t>(text);
    prototype.SoundID = ReadUnsigned(text);
    prototype.SoundVolume = ReadUnsigned(text);
    const AnsiString name = Data::ReadTokenString(text);
    Data::CheckData(name.size() <= MaxPrototypeName);
    std::memcpy(prototype.Name, name.data(), name.size());
    prototype.Loaded = 1;
    return prototype;
}

} // namespace

void TScenario::LoadScenarioResources() {
    SpriteLibrary.Clear();
    DoodlePrototypes.Clear();
    if (!SpriteLibraryName.empty())
        SpriteLibrary.LoadFromArchive(ScenarioArchive(), SpriteLibraryName);
    if (PrototypeFileName.empty())
        return;
    const auto file = ScenarioArchive().OpenFile(PrototypeFileName);
    Data::TTextReader text(*file);
    const int count = Data::ReadTokenInt(text);
    Data::CheckData(count >= 0 && int64_t(count) * MinPrototypeText <= text.Remaining());
    for (int i = 0; i < count; ++i)
        DoodlePrototypes.Add(ReadPrototype(text));
}

void TScenario::ReleasePlayerBanners() {
    for (TPlayer* player : Players) {
        PlayerSpriteLibrary.ReleaseSpriteByPointer(player->Banner);
        player->Banner = nullptr;
    }
}

void TScenario::LoadPlayerSprites() {
    ReleasePlayerBanners();
    PlayerSpriteLibrary.Clear();
    if (PlayerSpriteLibraryName.empty())
        return;
    PlayerSpriteLibrary.LoadFromArchive(ScenarioArchive(), PlayerSpriteLibraryName);
    for (TPlayer* player : Players)
        player->Banner = PlayerSpriteLibrary.AcquireSpriteByID(player->SpriteID);
}

void TScenario::LoadBackground() {
    if (BackgroundFileName.empty()) {
        Background.Clear();
        return;
    }
    const auto file = ScenarioArchive().OpenFile(BackgroundFileName);
    Background.LoadFromStream(file.get());
}

} // namespace GameData
