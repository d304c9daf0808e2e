#include "game/world/scenario/Scenario.h"

#include "game/world/objects/MapGeometry.h"

#include "game/world/players/ComputerPlayer.h"
#include "game/world/players/Player.h"

namespace GameData {

TScenario::TScenario(uint8_t backgroundFlag)
    : BackgroundFlag(backgroundFlag), Background(this, backgroundFlag) {
    try {
        FillParticlePools();
        CreateSurfaces();
    } catch (const std::exception&) {
        throw ClassLib::Exception("Cannot construct TScenario object!");
    }
}

TScenario::~TScenario() {
    // Workers read the scenario; objects give their sprites back to its libraries.
    StopPlayerThreads();
    ReleasePlayerBanners();
    Players.Clear();
    PendingObjects.Clear();
    Objects.Clear();
    LooseUnits.Clear();
    Units.Clear();
}

void TScenario::FillParticlePools() {
    for (int i = 0; i < RainDropCount; ++i)
        RainDrops.List().Add(new TRainDrop);
    for (int i = 0; i < SnowFlakeCount; ++i)
        SnowFlakes.List().Add(new TSnowFlake);
    for (int i = 0; i < SandSeedCount; ++i)
        SandSeeds.List().Add(new TSandSeed);
}

void TScenario::Clear() {
    StopPlayerThreads();
    ReleasePlayerBanners();
    Players.Clear();
    CurrentPlayer = nullptr;
    CurrentPlayerIndex = -1;
    Turn = 0;
    PendingObjects.Clear();
    Objects.Clear();
    FObjectsByID.clear();
    FObjectIndex.Clear();
    FDrawnObjects.clear();
    NextObjectID = FirstObjectID;
    Width = 0;
    Height = 0;
    for (auto* text : {&Description, &SpriteLibraryName, &PrototypeFileName,
                       &PlayerSpriteLibraryName, &BackgroundFileName, &Briefing})
        *text = AnsiString();
    Background.Clear();
    Preview.Clear();
    for (auto* grid : {&BaseHeights, &Heights})
        grid->clear();
    for (auto* grid : {&BaseCosts, &Costs, &MoveCosts})
        grid->clear();
    Occupancy.clear();
    FOccupancyPlayer = nullptr;
    FOccupancyStale.clear();
    Distances.clear();
    Path = {};
    LooseUnits.Clear();
    Units.Clear();
    ConversationQueue.clear();
    Conversations.Clear();
    Quests.Clear();
    Areas.Clear();
    RedrawViewLeft = RedrawViewTop = RedrawOptions = RedrawSpare = 0;
    RedrawClip = {};
    for (TRainDrop* drop : RainDrops)
        drop->State = TRainDrop::Dead;
    for (TSnowFlake* flake : SnowFlakes)
        flake->State = TSnowFlake::Dead;
    for (TSandSeed* seed : SandSeeds)
        seed->State = TSandSeed::Dead;
    WeatherCounters = {};
    Weather = 0;
    Globals = {};
    GlobalAliases.clear();
    InBattle = 0;
    DeathsPending = 0;
    InCity = 0;
    MaxUnitLevel = 0;
    BackSounds.Clear();
    ControllerMusicID = KeptValue = MapMusicID = SecondMapMusicID = 0;
    BattleBackgrounds.Clear();
    View = {};
    ScrollTargetLeft = ScrollTargetTop = ScrollSteps = 0;
    RequiredUnitIDs.Clear();
    WaitingUnitIDs.Clear();
    MaxTransferUnits = 0;
    Networked = 0;
    HeaderValue = 0;
    PlainRandom = TPlainRandom();
    FrameCounter = 0;
    RemoteActionFlag = 0;
    DoodlePrototypes.Clear();
    SpriteLibrary.Clear();
    PlayerSpriteLibrary.Clear();
    AnimationsDone = 1;
    ActionCounter = 0;
    ConnectionLost = 0;
    FViewingPlayer = nullptr;
    FViewingPlayerSet = false;
}

void TScenario::SetMapSize(int width, int height) {
    if (width < 1 || height < 1 || width > MaxMapSize || height > MaxMapSize || width % 4 != 0 ||
        height % 4 != 0)
        throw ClassLib::Exception(ClassLib::Format("Invalid map size %d x %d.", width, height));
    Width = static_cast<int16_t>(width);
    Height = static_cast<int16_t>(height);
    const size_t cells = static_cast<size_t>(width * height);
    BaseHeights.assign(cells, 0);
    BaseCosts.assign(cells, 0);
    Heights.assign(cells, 0);
    Costs.assign(cells, 0);
    Occupancy.assign(cells, nullptr);
    FOccupancyPlayer = nullptr;
    MoveCosts.assign(cells, 0);
    Distances.assign(cells, 0);
    FObjectIndex.SetMapSize(width * CellSize, height * CellSize);
}

int TScenario::StoredCellIndex(int x, int y) const {
    Data::CheckData(IsCellOnMap(x, y));
    return CellIndex(x, y);
}

void TScenario::RebuildTerrainGrids() {
    Heights = BaseHeights;
    Costs = BaseCosts;
    for (TMapObject* object : Objects)
        object->PatchTerrain();
}

TUnit* TScenario::RegisterUnit(std::unique_ptr<TUnit> unit, bool newID) {
    if (newID)
        unit->ID = NewObjectID();
    return Units.Add(std::move(unit));
}

std::unique_ptr<TUnit> TScenario::UnregisterUnitAt(int index) {
    return std::unique_ptr<TUnit>(Units.List().Extract(index));
}

std::unique_ptr<TUnit> TScenario::UnregisterUnit(TUnit* unit) {
    const int index = Units.List().IndexOf(unit);
    return index < 0 ? nullptr : UnregisterUnitAt(index);
}

TUnit* TScenario::FindLooseUnit(uint32_t id) const {
    for (TUnit* unit : LooseUnits)
        if (unit->ID == id)
            return unit;
    return nullptr;
}

TPlayer* TScenario::AddPlayer(std::unique_ptr<TPlayer> player) {
    if (Players.Count() >= MaxPlayers)
        throw ClassLib::Exception(
            ClassLib::Format("A scenario holds at most %d players.", MaxPlayers));
    TPlayer* raw = player.release();
    Players.Add(raw);
    return raw;
}

int TScenario::IndexOfPlayer(const TPlayer* player) const {
    return player ? Players.IndexOf(player) : -1;
}

TPlayer* TScenario::PlayerAt(int index) const {
    return index >= 0 && index < Players.Count() ? Players[index] : nullptr;
}

int32_t TScenario::ReadPlayerCount(Data::TStream& stream) {
    const auto count = stream.ReadValue<uint32_t>();
    Data::CheckData(count <= MaxPlayers);
    return static_cast<int32_t>(count);
}

std::unique_ptr<TComputerPlayer> TScenario::CreatePlanner(TPlayer& player) const {
    if (PlannerFactory)
        return PlannerFactory(player);
    return std::make_unique<TEndTurnPlanner>(player);
}

void TScenario::StopPlayerThreads() {
    for (TPlayer* player : Players)
        player->StopThread();
}

} // namespace GameData
