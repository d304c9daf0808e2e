#include "game/world/scenario/Scenario.h"

#include "game/world/cities/City.h"
#include "game/world/cities/Location.h"
#include "game/world/groups/Group.h"
#include "game/world/objects/Doodle.h"
#include "game/world/objects/Drawings.h"
#include "game/world/scenario/ScenarioHeader.h"

#include <cstring>

namespace GameData {

namespace {

std::unique_ptr<TMapObject> MakeObjectOfKind(uint16_t kind, TScenario* scenario) {
    switch (kind) {
    case okDoodle:
        return std::make_unique<TDoodle>(scenario);
    case okGroup:
        return std::make_unique<TGroup>(scenario);
    case okBuilding:
        return std::make_unique<TBuilding>(scenario);
    case okDrawing:
        return std::make_unique<TDrawing>(scenario);
    case okCorpse:
        return std::make_unique<TCorpse>(scenario);
    case okCity:
        return std::make_unique<TCity>(scenario);
    case okAnimation:
        return std::make_unique<TAnimation>(scenario);
    case okNaturalCorpse:
        return std::make_unique<TNaturalCorpse>(scenario);
    default:
        Data::RaiseInvalidData();
    }
}

// The pools keep the sizes the weather code draws from; another stored size, or a
// particle in a state the weather does not know, is corrupt.
template <typename T>
void LoadParticlePool(Data::TStream* stream, Data::TDataList<T>& pool, int size) {
    pool.LoadFromStream(stream);
    Data::CheckData(pool.Count() == size);
    for (const T* particle : pool)
        Data::CheckData(particle->State <= T::Dead);
}

template <typename T>
void LoadCells(Data::TStream* stream, std::vector<T>& cells, size_t count) {
    Data::CheckData(int64_t(count * sizeof(T)) <= stream->Remaining());
    cells.assign(count, T{});
    stream->ReadBuffer(cells.data(), int64_t(count * sizeof(T)));
}

template <typename T>
void SaveCells(Data::TStream* stream, const std::vector<T>& cells) {
    if (!cells.empty())
        stream->WriteBuffer(cells.data(), int64_t(cells.size() * sizeof(T)));
}

} // namespace

void TScenario::LoadFromStream(Data::TStream* stream) {
    try {
        LoadSections(stream);
    } catch (...) {
        // Nothing half-built stays behind.
        Clear();
        throw;
    }
}

void TScenario::LoadSections(Data::TStream* stream) {
    TDataObject::LoadFromStream(stream);

    TScenarioHeader header{};
    ReadScenarioHeader(*stream, header, Description, Preview);
    PrototypeFileName = SideFileName(header.PrototypeFileName);
    SpriteLibraryName = SideFileName(header.SpriteLibraryName);
    PlayerSpriteLibraryName = SideFileName(header.PlayerSpriteLibraryName);
    BackgroundFileName = SideFileName(header.BackgroundFileName);
    CurrentPlayer = nullptr;
    CurrentPlayerIndex = header.CurrentPlayerIndex;
    Turn = header.Turn;
    Networked = header.Networked;
    HeaderValue = header.HeaderValue;
    PlainRandom = TPlainRandom(header.PlainRandomState);

    NextObjectID = stream->ReadValue<uint32_t>();
    for (int32_t* field : {&View.Left, &View.Top, &View.Width, &View.Height})
        *field = stream->ReadValue<int32_t>();
    Data::ReadStreamString(stream, Briefing);
    LoadGlobalAliases(*stream);
    Weather = stream->ReadValue<int32_t>();
    Data::CheckData(Weather >= 0 && Weather <= MaxWeather);
    for (int32_t& counter : WeatherCounters)
        counter = stream->ReadValue<int32_t>();
    LoadParticlePool(stream, RainDrops, RainDropCount);
    LoadParticlePool(stream, SnowFlakes, SnowFlakeCount);
    LoadParticlePool(stream, SandSeeds, SandSeedCount);
    for (size_t i = 0; i < 3; ++i)
        Data::CheckData(WeatherCounters[i] >= 0 && WeatherCounters[i + 3] >= 0);
    Data::CheckData(WeatherCounters[0] <= RainDropCount && WeatherCounters[3] <= RainDropCount &&
                    WeatherCounters[1] <= SnowFlakeCount && WeatherCounters[4] <= SnowFlakeCount &&
                    WeatherCounters[2] <= SandSeedCount && WeatherCounters[5] <= SandSeedCount);

    LoadScenarioResources();

    SetMapSize(header.Width, header.Height);
    const size_t cells = size_t(Width) * size_t(Height);
    LoadCells(stream, BaseHeights, cells);
    LoadCells(stream, BaseCosts, cells);

    Units.LoadFromStream(stream);
    for (const TUnit* unit : Units)
        Data::CheckData(unit->ID != 0);
    LoadObjects(stream);
    RebuildTerrainGrids();

    // A walking group steps onto the stored path's cells.
    for (TPathCell& cell : Path) {
        cell.X = stream->ReadValue<int16_t>();
        cell.Y = stream->ReadValue<int16_t>();
        Data::CheckData(IsCellOnMap(cell.X, cell.Y));
    }

    Areas.LoadFromStream(stream);
    LoadPlayers(stream);

    LoadConversations(stream);
    LoadQuestObjectives(stream);

    // Each loose unit costs its 4-byte identifier.
    const int32_t looseCount = Data::ReadCount(*stream, 4);
    for (int32_t i = 0; i < looseCount; ++i) {
        const auto id = stream->ReadValue<uint32_t>();
        Data::CheckData(id != 0 && FindLooseUnit(id) == nullptr);
        LooseUnits.Add(Units.GetByID(id));
    }
    MaxUnitLevel = stream->ReadValue<uint32_t>();
    BackSounds.LoadFromStream(stream);
    for (uint32_t* field : {&ControllerMusicID, &KeptValue, &MapMusicID, &SecondMapMusicID})
        *field = stream->ReadValue<uint32_t>();
    BattleBackgrounds.LoadFromStream(stream);
    stream->ReadBuffer(Globals.data(), int64_t(sizeof(Globals)));
    RequiredUnitIDs.LoadFromStream(stream);
    WaitingUnitIDs.LoadFromStream(stream);
    MaxTransferUnits = stream->ReadValue<uint32_t>();

    LoadPlayerSprites();
    LoadBackground();

    RebuildOccupancyGrid();
    if (CurrentPlayer)
        UpdatePlayerVisibility(CurrentPlayer);
    LinkUnits();
}

void TScenario::LoadObjects(Data::TStream* stream) {
    // The smallest object is its identifier, kind, position and layer after its kind code.
    const int32_t count = Data::ReadCount(*stream, 2 + 12);
    Objects.SetCapacity(count);
    const TMapObject* previous = nullptr;
    for (int32_t i = 0; i < count; ++i) {
        const auto kind = stream->ReadValue<uint16_t>();
        auto object = MakeObjectOfKind(kind, this);
        try {
            object->LoadFromStream(stream);
        } catch (const Data::EInvalidData&) {
            throw;
        } catch (const std::exception&) {
            throw ClassLib::Exception("Error loading object!");
        }
        // Stored objects are already in draw order.
        Data::CheckData(!previous || CompareDrawOrder(previous, object.get()) <= 0);
        if (object->Kind == okGroup)
            Data::CheckData(static_cast<const TGroup*>(object.get())->UnitCount() > 0);
        previous = AddLoadedObject(std::move(object));
    }
}

void TScenario::LoadPlayers(Data::TStream* stream) {
    const int32_t count = ReadPlayerCount(*stream);
    Data::CheckData(count >= MinPlayers);
    for (int32_t i = 0; i < count; ++i) {
        auto player = std::make_unique<TPlayer>(this);
        player->LoadFromStream(stream);
        AddPlayer(std::move(player));
    }
    Data::CheckData(CurrentPlayerIndex >= -1 && CurrentPlayerIndex < count);
    CurrentPlayer = PlayerAt(CurrentPlayerIndex);
}

void TScenario::SaveToStream(Data::TStream* stream) const {
    TDataObject::SaveToStream(stream);
    TScenarioHeader header{};
    std::memcpy(header.Signature, "SCEN", 4);
    header.Width = Width;
    header.Height = Height;
    SetSideFileName(header.PrototypeFileName, PrototypeFileName);
    SetSideFileName(header.SpriteLibraryName, SpriteLibraryName);
    SetSideFileName(header.PlayerSpriteLibraryName, PlayerSpriteLibraryName);
    SetSideFileName(header.BackgroundFileName, BackgroundFileName);
    header.CurrentPlayerIndex = static_cast<int16_t>(IndexOfPlayer(CurrentPlayer));
    header.Turn = Turn;
    header.Version = ScenarioVersion;
    header.Networked = Networked;
    header.HeaderValue = HeaderValue;
    header.PlainRandomState = PlainRandom.State();
    stream->WriteBuffer(&header, sizeof(header));
    Data::WriteStreamString(stream, Description);
    if (Preview.Frames.empty()) {
        // A sprite record holds at least one frame: a scenario without a preview
        // stores an empty picture.
        Gfx::TSprite blank;
        blank.CreateBlank(0, 0, 16);
        blank.SaveToStream(stream);
    } else {
        Preview.SaveToStream(stream);
    }

    stream->WriteValue(NextObjectID);
    for (int32_t field : {View.Left, View.Top, View.Width, View.Height})
        stream->WriteValue(field);
    Data::WriteStreamString(stream, Briefing);
    SaveGlobalAliases(*stream);
    stream->WriteValue(Weather);
    for (int32_t counter : WeatherCounters)
        stream->WriteValue(counter);
    RainDrops.SaveToStream(stream);
    SnowFlakes.SaveToStream(stream);
    SandSeeds.SaveToStream(stream);
    SaveCells(stream, BaseHeights);
    SaveCells(stream, BaseCosts);
    Units.SaveToStream(stream);
    stream->WriteValue(static_cast<uint32_t>(Objects.Count()));
    for (const TMapObject* object : Objects) {
        stream->WriteValue(object->Kind);
        object->SaveToStream(stream);
    }
    for (const TPathCell& cell : Path) {
        stream->WriteValue(cell.X);
        stream->WriteValue(cell.Y);
    }
    Areas.SaveToStream(stream);
    stream->WriteValue(static_cast<uint32_t>(Players.Count()));
    for (const TPlayer* player : Players)
        player->SaveToStream(stream);
    SaveConversations(stream);
    SaveQuestObjectives(stream);
    stream->WriteValue(static_cast<uint32_t>(LooseUnits.Count()));
    for (const TUnit* unit : LooseUnits)
        stream->WriteValue(Units.GetByID(unit->ID)->ID);
    stream->WriteValue(MaxUnitLevel);
    BackSounds.SaveToStream(stream);
    for (uint32_t field : {ControllerMusicID, KeptValue, MapMusicID, SecondMapMusicID})
        stream->WriteValue(field);
    BattleBackgrounds.SaveToStream(stream);
    stream->WriteBuffer(Globals.data(), int64_t(sizeof(Globals)));
    RequiredUnitIDs.SaveToStream(stream);
    WaitingUnitIDs.SaveToStream(stream);
    stream->WriteValue(MaxTransferUnits);
}

std::unique_ptr<TScenario> LoadScenario(Data::TStream& stream, const TScenario* services) {
    auto scenario = std::make_unique<TScenario>(services ? services->BackgroundFlag : 0);
    if (services) {
        // A scenario's own framework sounds stay with it.
        if (services->Sounds != &services->FrameworkSounds)
            scenario->Sounds = services->Sounds;
        scenario->Settings = services->Settings;
        scenario->SpellEffects = services->SpellEffects;
        scenario->PlannerFactory = services->PlannerFactory;
        scenario->Network = services->Network;
        scenario->LocalPlayerID = services->LocalPlayerID;
        // The scripting library's factories make the stored quests and conversations.
        scenario->Quests.Factory = services->Quests.Factory;
        scenario->Conversations.Factory = services->Conversations.Factory;
    }
    scenario->LoadFromStream(&stream);
    return scenario;
}

} // namespace GameData
