// One scenario in play: the map grids, every map object in draw order, the
// players, areas, weather particles, script globals, the map view and the
// scenario's sprite libraries. Objects are found by identifier through an index
// kept beside the draw-ordered list.
#pragma once

#include "engine/core/DataList.h"
#include "engine/core/DynamicArray.h"
#include "engine/core/ObjectList.h"
#include "engine/graphics/BlendedTiles.h"
#include "engine/graphics/Sprite.h"
#include "engine/graphics/SpriteList.h"
#include "game/world/objects/Background.h"
#include "game/world/objects/DoodlePrototype.h"
#include "game/world/objects/MapObject.h"
#include "game/world/paths/CellQueue.h"
#include "game/world/paths/CostBuckets.h"
#include "game/world/players/ComputerPlayer.h"
#include "game/world/players/Player.h"
#include "game/world/players/PlayerAction.h"
#include "game/world/scenario/Area.h"
#include "game/world/scenario/ObjectIndex.h"
#include "game/world/scenario/Particles.h"
#include "game/world/scenario/ScriptRecords.h"
#include "game/world/sound/FrameworkSounds.h"
#include "game/world/spells/SpellEffect.h"
#include "game/world/units/Unit.h"
#include "game/world/weather/PlainRandom.h"
#include "game/world/weather/WeatherSurface.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace DPFrame {
class TDPFramework;
}

namespace GameData {

class TBuilding;
class TCity;
struct TGameSettings;
class TGroup;
class TLocation;
class TMapSounds;
class TMapViewScroller;

constexpr uint32_t FirstObjectID = 1000;
constexpr int MaxPlayers = 5;
// A stored scenario holds at least three players; neutral groups belong to none.
constexpr int MinPlayers = 3;
constexpr int GlobalCount = 1024;
constexpr int PathLength = 256;
constexpr uint8_t Impassable = 255;

struct TPathCell {
    int16_t X = 0;
    int16_t Y = 0;
    bool operator==(const TPathCell&) const = default;
};

// A name scripts use for a global variable.
struct TGlobalAlias {
    AnsiString Name;
    int32_t Index = 0; // 0 .. GlobalCount - 1
};

// A background sound: its identifier among the effect sounds.
using TBackSound = uint32_t;

// How a unit joins the map. A unit handed over with its owning pointer enters the
// registry (with the next identifier when NewID is set); one passed by pointer is
// registered already.
struct TPlacementOptions {
    bool AllowJoin = false; // an own group with room for it may take it
    bool NewID = false;
    bool GiveToAI = true; // its player's planner gets it
};

struct TMapView {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Width = 800;
    int32_t Height = 600;
};

// Makes the computer-player planner of a player; the computer player's library
// installs its own, until then every player gets the placeholder that ends its
// turn at once.
using TPlannerFactory = std::function<std::unique_ptr<TComputerPlayer>(TPlayer&)>;

class TScenario : public Data::TDataObject {
public:
    explicit TScenario(uint8_t backgroundFlag = 0);
    ~TScenario() override;

    // Empties every list and grid; the particle pools stay, every particle dead.
    void Clear() override;

    // The stored scenario (ScenarioStream.cpp). A failed load leaves the scenario
    // cleared; LoadScenario below keeps a running game untouched instead.
    void LoadFromStream(Data::TStream* stream) override;
    void SaveToStream(Data::TStream* stream) const override;
    void AfterLoadGame() {}
    void AfterSaveGame() {}
    // Side files from the "scenario" archive (ScenarioResources.cpp); empty names
    // load nothing.
    void LoadScenarioResources();
    void LoadPlayerSprites();
    void LoadBackground();
    // After loading: a unit housed twice stays with the holder nearest the end of
    // the object list, and a second unit of one identifier goes. True when it
    // changed anything.
    bool LinkUnits();

    // Map size in cells: 1 to 128, multiples of 4. Allocates every grid, zeroed.
    void SetMapSize(int width, int height);
    bool IsCellOnMap(int x, int y) const { return x >= 0 && y >= 0 && x < Width && y < Height; }
    // Index of an on-map cell in the grids (callers have checked it).
    int CellIndex(int x, int y) const { return y * Width + x; }
    // For cells taken from stored data: "Invalid data." off the map.
    int StoredCellIndex(int x, int y) const;
    // Working grids := base grids, then every object patches them.
    void RebuildTerrainGrids();

    // Objects.
    uint32_t NewObjectID() { return NextObjectID++; }
    // Gives the object a new identifier and puts it at its draw-order place.
    TMapObject* AddObject(std::unique_ptr<TMapObject> object);
    // An object read from stored data keeps its identifier: 0 and one already in
    // use are "Invalid data.", and later identifiers are handed out above it.
    TMapObject* AddLoadedObject(std::unique_ptr<TMapObject> object);
    // Not owned: added to Objects at the end of the next update.
    void AddPendingObject(TMapObject* object) { PendingObjects.Add(object); }
    // Moves the object and restores the draw order by swapping it with its neighbours.
    void MoveObject(int index, int x, int y);
    // Groups and cities give up their units first (with the groups' and cities' issues).
    void RemoveObjectAt(int index, int flag);
    void RemoveObject(TMapObject* object, int flag);
    // Compares pointers only: safe with an object already freed.
    int IndexOfObject(const TMapObject* object) const { return Objects.IndexOf(object); }
    // The same for a live object, found through the draw order: a search, not a walk.
    int IndexOfLiveObject(const TMapObject& object) const;
    int ObjectIndexAtPixel(int x, int y) const;
    int ObjectIndexAtCell(int x, int y) const;
    // As ObjectIndexAtPixel, counting only what the current player is shown.
    int ObjectIndexAtPoint(int x, int y) const;
    // Null when none.
    TMapObject* FindObjectByID(uint32_t id) const;
    // Raises "Object with given ID not found (%d)." when none; null for ID 0.
    TMapObject* GetObjectByID(uint32_t id) const;
    // Null when none or of another kind.
    TMapObject* FindObjectOfKind(uint32_t id, uint16_t kind) const;
    TGroup* FindGroupByID(uint32_t id) const;
    TCity* FindCityByID(uint32_t id) const;
    TBuilding* FindBuildingByID(uint32_t id) const;
    // The current player's own groups and the groups it has spotted mark their cells.
    void RebuildOccupancyGrid();
    // After an object joined the list, moved in it or left it (index -1): the grid
    // stays equal to a rebuild, changing only the cells the object covered or covers.
    void UpdateOccupancyOf(const TMapObject* object, int index);
    // A group on the map changed side or camp outside a move: its cells follow at the
    // grid's next change, as they would with a rebuild.
    void OccupancyMayChange(const TGroup* group);
    // From the last object: the first group other than ignore standing on the cell;
    // null when none.
    TGroup* GroupAtCell(int x, int y, const TGroup* ignore) const;
    // As GroupAtCell, a camping group covering the 3 x 3 cells around its own.
    TGroup* GroupCoveringCell(int x, int y, const TGroup* ignore) const;
    // Layer, then row, then the larger column first.
    static int CompareDrawOrder(const TMapObject* a, const TMapObject* b);
    // Every object whose picture may reach into the map rectangle, in draw order, each
    // once; others may come along (groups, cities and buildings always do).
    void CollectObjectsNear(const RECT& mapRect, std::vector<TMapObject*>& out) const;
    bool IsDrawOrderSorted() const { return Objects.IsSorted(CompareDrawOrder); }
    void AdvanceTurn();

    // Scripts.
    // The global index bound to the name (exact match), -1 when unbound.
    int32_t GlobalAliasIndex(const AnsiString& name) const;
    // Binds the name, or rebinds it when bound already.
    void SetGlobalAlias(const AnsiString& name, int32_t index);
    // The stored alias table: count, then per alias its index and name. An index
    // outside the globals is "Invalid data.".
    void LoadGlobalAliases(Data::TStream& stream);
    void SaveGlobalAliases(Data::TStream& stream) const;
    // The quest list; each loaded quest is given this scenario.
    void LoadQuestObjectives(Data::TStream* stream);
    void SaveQuestObjectives(Data::TStream* stream) const;
    // Each given quest follows its hero; the current player's tasks are evaluated,
    // and a changed state queues the task's follow-up conversation. Checks draw from
    // the game's random state, so this runs only where every peer runs it in the
    // same order (the report after an action, the start of a turn), never per update.
    void UpdateQuests();
    // The conversation list; each loaded conversation is given this scenario.
    void LoadConversations(Data::TStream* stream);
    void SaveConversations(Data::TStream* stream) const;
    // Queues, in list order, every active conversation meant for the player whose
    // owner type is the event: of type 0 those whose activation turn is now, of
    // type 7 all, of other types those owned by the object. True when any joined
    // the queue.
    bool TriggerConversations(int32_t playerIndex, int32_t eventType, int32_t objectID);
    // The first conversation of the event type meant for the player: with activeMode
    // 1 only active ones, with 2 only inactive ones; of type 0 one whose activation
    // turn is now, of other types one owned by the object. Null when none.
    TScenarioConversation* FindConversation(int32_t playerIndex, int32_t eventType, int activeMode,
                                            int32_t objectID) const;
    // Appended unless queued already or running.
    void QueueConversation(TScenarioConversation* conversation);
    // The oldest queued conversation; null when none.
    TScenarioConversation* PopQueuedConversation();

    // Units. Every unit of a group, a city or LooseUnits is registered here.
    // With newID the unit is given the next object identifier first; an identifier
    // already registered raises "Object with given ID is already in list (%d).".
    TUnit* RegisterUnit(std::unique_ptr<TUnit> unit, bool newID);
    // Takes the unit out of the registry and hands it back.
    std::unique_ptr<TUnit> UnregisterUnitAt(int index);
    std::unique_ptr<TUnit> UnregisterUnit(TUnit* unit);
    TUnit* FindLooseUnit(uint32_t id) const;
    // For every registered unit: known spells above its level are forgotten.
    void ValidateUnitSpells();

    // Placing units (UnitPlacement.cpp); x and y are cells unless said otherwise.
    // The object at pixel (x, y) takes the unit: a group, a city (as one of its other
    // units, serving the city's owner), else a new group of the player at that cell.
    // A new group that cannot take it leaves the map: "Error placing unit!".
    TUnit* PlaceUnit(std::unique_ptr<TUnit> unit, int x, int y, TPlacementOptions options,
                     uint8_t ownerIndex);
    TUnit* PlaceUnit(TUnit& unit, int x, int y, TPlacementOptions options, uint8_t ownerIndex);
    // A passable cell of the map on which nothing stands or that is free; with
    // allowJoin also a cell of an own group with room, unless the unit would be its
    // second hero.
    bool CanPlaceUnitAt(const TUnit& unit, uint8_t ownerIndex, bool allowJoin, int x, int y) const;
    // On the cell nearest to (x, y) that can take the unit, searching rings of cells
    // outwards; the nearest cell of the first ring with one wins. With none, "There
    // is no place for new unit in scenario!" (an owned unit is freed).
    TUnit* PlaceNewUnit(uint8_t ownerIndex, int x, int y, TPlacementOptions options,
                        std::unique_ptr<TUnit> unit);
    TUnit* PlaceNewUnit(uint8_t ownerIndex, int x, int y, TPlacementOptions options, TUnit& unit);
    // The first listed cell that can take the unit; else the nearest one around the
    // last listed cell (the map's first cell for an empty list).
    TUnit* PlaceUnitInArea(std::unique_ptr<TUnit> unit, uint8_t ownerIndex,
                           TPlacementOptions options, const Data::TDynamicArray<TField>& cells);
    TUnit* PlaceUnitInArea(TUnit& unit, uint8_t ownerIndex, TPlacementOptions options,
                           const Data::TDynamicArray<TField>& cells);
    // Takes the unit out of its group (an emptied group other than a city's gate group
    // leaves the map), its city or the loose units; with deleteUnit it leaves the
    // registry and is freed, else it stays registered without a place. withAI: its
    // player's planner lets go of it.
    void RemoveUnit(TUnit* unit, bool deleteUnit, bool withAI);
    // The unit stands in the gate group of a city on the map.
    bool IsGateGroup(const TUnit& unit) const;

    // Players. A sixth player is refused: relations hold five entries.
    TPlayer* AddPlayer(std::unique_ptr<TPlayer> player);
    int PlayerCount() const { return Players.Count(); }
    int IndexOfPlayer(const TPlayer* player) const;
    // Null out of range.
    TPlayer* PlayerAt(int index) const;
    // Reads a stored player count: above five is "Invalid data.".
    static int32_t ReadPlayerCount(Data::TStream& stream);
    std::unique_ptr<TComputerPlayer> CreatePlanner(TPlayer& player) const;
    // Stops every player's worker thread.
    void StopPlayerThreads();

    // Turns, as the game controller's executor runs them.
    // The player at index starts its turn and becomes the current player.
    void BeginTurnOf(int index);
    // The current player's turn ends and the next player's begins; after the last
    // player the scenario starts a new turn with the first.
    void PassTurn();
    // Main thread: the current player's pending action, or code 0. An action that
    // fails validation is refused here: its poster gets the refusal as its result.
    TPlayerAction TakeCurrentAction();

    // Players call it under their lock: the next action's sequence number.
    uint32_t TakeActionNumber() { return ActionCounter.fetch_add(1); }
    bool IsNetworked() const { return Network != nullptr; }
    bool IsBusyFlagSet() const { return DeathsPending.load() != 0; }
    // The screens issue no command while the current player's action is pending or
    // the dead are still to be removed.
    bool IsBusy() const;
    // Whether the unit in that slot of the current player's selected group may cast
    // the spell on the cell: it can cast it now, the cell lies within its LEVEL + 2
    // cells and the spell's target bits accept what stands there.
    bool CanCastSpellAt(int unitSlot, int spellID, int y, int x) const;
    bool IsPaused() const { return InBattle || InCity; }

    // Visibility (ScenarioVisibility.cpp): the player's fog and then its friends'
    // fogs are recomputed from their sources, the current player's sightings
    // updated, and the fog images redrawn.
    void UpdatePlayerVisibility(TPlayer* player);
    void UpdateVisibilityOfIndex(int index);
    void UpdateAllVisibility();
    // Every fog back to unexplored, then recomputed.
    void ResetAllFog();
    // At the start of a game.
    void ResetFog() { ResetAllFog(); }

    // Path finding over the terrain grids (game/world/paths/). Cells off the map,
    // (-1, -1) among them, are never reached: fills from them reach nothing, and
    // paths and searches towards them fail.
    // Both cells on the map and their height difference below the impassable step.
    bool HeightStepAllowed(int fromX, int fromY, int toY, int toX) const;
    // MoveCosts from one cell for the moving player: 255 unreached, at most 200.
    void FloodFillCosts(int x, int y, const TPlayer* player);
    // The same from every listed cell at cost 0; a cell held by a stranger or an
    // enemy of the player is no start.
    void FloodFillCostsFromCells(const Data::TDynamicArray<TField>& cells, const TPlayer* player);
    // Distances without occupancy, bounded by maximum (a negative one counts as 0),
    // which also stands for unreached.
    void FillDistanceMap(int x, int y, int32_t maximum, const TPlayer* player);
    int32_t TravelDistance(int fromX, int fromY, int32_t maximum, const TPlayer* player, int toY,
                           int toX);
    // The last distance fill's maximum for a cell off the map.
    int32_t DistanceAt(int x, int y) const;
    // Path cells into Path[0 .. n-1], ending with the target, over MoveCosts filled
    // from the start: n, 0 when start is target, -1 when there is no path.
    int BuildPath(int startX, int startY, const TPlayer* player, int targetY, int targetX);
    // The same from whichever start of the fill is nearest, counting that start cell.
    int BuildPathTo(int targetX, int targetY, const TPlayer* player);
    // The cell nearest the target along the path that the budget of action points
    // reaches this turn; out (-1, -1) and false when none.
    bool ReachableCellTowardsTarget(int targetX, int targetY, int& outY, int& outX, int budget,
                                    int ownX, int ownY) const;
    bool IsCellReachable(int x, int y) const;
    // The reachable, unoccupied cell nearest (x, y); the first in row order wins ties.
    bool FindNearestReachableCell(int& x, int& y) const;

    // Per-frame update (ScenarioUpdate.cpp), 100 times per second on the main thread.
    void Update();
    // Takes a map object out of the draw order at once and deletes it after the
    // current update, so that an update walking the objects never meets a freed one.
    void RetireObject(TMapObject* object);
    // The player whose eyes the screens use; null for none. The game object sets it
    // at the start of a game and of each turn; until anything sets it (a scenario
    // played without the game object), the first local player. This machine's alone:
    // never stored.
    TPlayer* ViewingPlayer() const;
    void SetViewingPlayer(TPlayer* player);
    // Game time from the update count: ten milliseconds per update.
    uint32_t GameTimeMs() const { return FrameCounter * 10; }
    // After a fight or a spell: the dead leave corpses and the map, and cities let
    // go of their dead.
    void RemoveDeadUnits();
    // Groups with dead units start removing them, and the next updates take the dead
    // away (cities' dead as well).
    void FlagDeadUnits();
    // The fight between the two groups is over: they take orders again.
    void ClearBattleFlags(TGroup* attackers, TGroup* defenders);
    // Takes over the playing map spell, which the update deletes once it has finished.
    void SetSpellEffect(std::unique_ptr<TSpellEffect> effect) { SpellEffect = std::move(effect); }
    // No animation object is still playing; scripts wait for it.
    bool AnimationsFinished() const { return AnimationsDone != 0; }

    // The map view (ScenarioView.cpp).
    void ScrollViewTo(int x, int y, int steps);
    void SetViewPosition(int x, int y);
    void StepViewScroll();

    // Weather (game/world/weather/).
    void SetWeather(int32_t state);
    void PlayWeatherSounds();
    void PlayAmbientSound();
    void UpdateRain();
    void UpdateSnow();
    void UpdateSand();
    // Redraws the particles into WeatherSurface; false when none is alive.
    bool DrawWeatherParticles();
    // The same for a group (GroupPaths.cpp): its owner moves, from its own cell with
    // its lowest action points.
    void FloodFillCosts(int x, int y, const TGroup& group);
    void FloodFillCostsFromCells(const Data::TDynamicArray<TField>& cells, const TGroup& group);
    int BuildPath(int startX, int startY, const TGroup& group, int targetY, int targetX);
    int BuildPathTo(int targetX, int targetY, const TGroup& group);
    bool ReachableCellTowardsTarget(int targetX, int targetY, int& outY, int& outX,
                                    const TGroup& group) const;
    bool IsObjectReachable(const TMapObject& object) const;
    // The cheapest reachable cell beside the target (the ring around a camp) from
    // which the mover can step onto it and that no other group holds.
    bool FindApproachCell(const TMapObject& target, const TGroup& mover, int& outY,
                          int& outX) const;
    bool CanApproachObject(const TMapObject& target, const TGroup& mover) const;
    // The cheapest reachable cell of the location's footprint that the group may
    // enter: free, or held by its own side in a city it may share.
    bool FindLocationEntryCell(const TLocation& location, const TGroup& group, int& outY,
                               int& outX) const;
    bool CanReachLocation(const TLocation& location, const TGroup& group) const;
    bool IsCellInAnyCity(int x, int y) const;
    bool FindNearestFreeCellOutsideCities(int& x, int& y) const;
    // For the current player's selected group: the free cell outside cities
    // nearest (x, y) along its way there that its action points reach.
    bool FreeCellTowardsTarget(int& x, int& y);

    // Map rendering (game/world/rendering/). target is the map window's retained
    // surface; clip is the part of it the map fills and (viewX, viewY) the map pixel
    // shown at clip's top-left corner.
    enum TRedrawOption : int32_t { roBackground = 1, roObjects = 2 };
    // The weather tile's device surface and the scenario sprite libraries' device surfaces.
    void CreateSurfaces();
    void FreeSurfaces();
    void RestoreSpriteLists();
    // Brings the retained surface up to date: shifts the kept image and draws the
    // uncovered strips after a short scroll, redraws only changed objects, or
    // starts from scratch.
    void RedrawMapView(Win32::IDirectDrawSurface7* target, int viewX, bool force, int32_t options,
                       const RECT& clip, int viewY);
    void DrawArea(Win32::IDirectDrawSurface7* target, int viewX, int32_t options, const RECT& clip,
                  int viewY);
    void DrawObjectMarkers(Win32::IDirectDrawSurface7* target, int viewX, const RECT& clip,
                           int viewY);
    void DrawObjectOverlays(Win32::IDirectDrawSurface7* target, int viewX, const RECT& clip,
                            int viewY);
    void DrawFog(Win32::IDirectDrawSurface7* target, int viewX, const RECT& clip, int viewY);
    void DrawWeather(Win32::IDirectDrawSurface7* target, int viewX, const RECT& clip, int viewY);
    void DrawSpellEffect(Win32::IDirectDrawSurface7* target, int offsetX, int offsetY,
                         const RECT& clip);
    // Every object without a current player.
    bool IsShownToCurrentPlayer(const TMapObject& object) const;
    // The rectangles the last redraw drew as changed objects, in target coordinates.
    const std::vector<RECT>& LastDirtyRects() const { return DirtyRects; }

    uint8_t BackgroundFlag;
    uint32_t NextObjectID = FirstObjectID;
    int16_t Width = 0;
    int16_t Height = 0;
    AnsiString Description;
    AnsiString SpriteLibraryName;
    AnsiString PrototypeFileName;
    AnsiString PlayerSpriteLibraryName;
    AnsiString BackgroundFileName;
    TBackground Background;
    Gfx::TSprite Preview;
    std::vector<int16_t> BaseHeights;
    std::vector<uint8_t> BaseCosts;
    std::vector<int16_t> Heights;
    std::vector<uint8_t> Costs;
    std::vector<TMapObject*> Occupancy;
    Data::TObjectList<TMapObject> Objects{true};
    Data::TObjectList<TMapObject> PendingObjects{false};
    Data::TDataList<TUnit> Units;
    TConversationList Conversations;
    TQuestList Quests;
    std::deque<TScenarioConversation*> ConversationQueue;
    std::vector<uint8_t> MoveCosts;
    std::vector<int32_t> Distances;
    std::array<TPathCell, PathLength> Path{};
    int32_t DistanceMaximum = 0;
    TCostBuckets FillBuckets; // movement costs
    TCellQueue FillQueue;     // distances
    TPlayer* CurrentPlayer = nullptr;
    int16_t CurrentPlayerIndex = -1;
    uint16_t Turn = 0;
    Data::TObjectList<TPlayer> Players{true};
    int32_t RedrawViewLeft = 0;
    int32_t RedrawViewTop = 0;
    RECT RedrawClip{};
    int32_t RedrawOptions = 0;
    int32_t RedrawSpare = 0;
    Data::TDataList<TRainDrop> RainDrops{false};
    Data::TDataList<TSnowFlake> SnowFlakes{false};
    Data::TDataList<TSandSeed> SandSeeds{false};
    std::array<int32_t, 6> WeatherCounters{};
    int32_t Weather = 0;
    std::array<int32_t, GlobalCount> Globals{};
    std::vector<TGlobalAlias> GlobalAliases;
    Data::TDataList<TArea> Areas;
    Data::TObjectList<TUnit> LooseUnits{false};
    uint8_t InBattle = 0;
    std::atomic<uint8_t> DeathsPending{0}; // the busy flag the players' waits read
    uint8_t InCity = 0;
    uint32_t MaxUnitLevel = 0;
    Data::TDynamicArray<TBackSound> BackSounds;
    uint32_t ControllerMusicID = 0;
    uint32_t KeptValue = 0;
    uint32_t MapMusicID = 0;
    uint32_t SecondMapMusicID = 0;
    Data::TDynamicArray<uint32_t> BattleBackgrounds;
    TMapView View;
    int32_t ScrollTargetLeft = 0;
    int32_t ScrollTargetTop = 0;
    int32_t ScrollSteps = 0;
    AnsiString Briefing;
    Data::TDynamicArray<uint32_t> RequiredUnitIDs;
    Data::TDynamicArray<uint32_t> WaitingUnitIDs;
    uint32_t MaxTransferUnits = 0;
    uint32_t Networked = 0;
    uint32_t HeaderValue = 0;
    uint32_t FrameCounter = 0;
    std::atomic<uint8_t> RemoteActionFlag{0};
    Data::TDynamicArray<TDoodlePrototype> DoodlePrototypes;
    Gfx::TSpriteList SpriteLibrary{17};
    Gfx::TSpriteList PlayerSpriteLibrary{17};
    uint8_t AnimationsDone = 1;
    // The weather tile on the display, blitted over the view; null without a display.
    Win32::TRefPtr<Win32::IDirectDrawSurface7> WeatherDeviceSurface;

    // Players' actions: every posted action takes the next number, on every machine.
    std::atomic<uint32_t> ActionCounter{0};
    // Raised by a remote player's worker when the network fails; the game controller
    // closes the game.
    std::atomic<uint8_t> ConnectionLost{0};
    // The networked game's framework (not owned; null in a local game) and this
    // machine's player in it.
    DPFrame::TDPFramework* Network = nullptr;
    uint32_t LocalPlayerID = 0; // a DirectPlay player ID

    // The sound framework's effects unless a caller installs other sounds; null is silent.
    TFrameworkSounds FrameworkSounds;
    TMapSounds* Sounds = &FrameworkSounds;
    // Services of the layers above (not owned).
    // This machine's options: the game object gives its scenario the process's
    // settings; without any the world plays unscaled at the default speed.
    const TGameSettings* Settings = nullptr;
    TPlannerFactory PlannerFactory;
    // Held by a computer player's planner while it reads the world between its
    // actions; the per-frame update skips a frame rather than change the world under it.
    std::mutex PlannerLock;
    TSpellEffectFactory SpellEffects;
    // The map window while one shows this scenario; scripts scroll the view through it.
    TMapViewScroller* ViewScroller = nullptr;

    // The map spell playing now, handed over by its casting group.
    std::unique_ptr<TSpellEffect> SpellEffect;
    // The 256 x 256 weather tile the map renderer repeats over the view.
    TWeatherSurface WeatherSurface;
    // Visual variety that the stored game keeps (weather particles, scenery frames,
    // groups' idle frames and glances, corpse lifetimes) draws from here, never from
    // the game's states. Saved with the scenario, so every peer draws alike.
    TPlainRandom PlainRandom;
    // Sounds and drawing: this machine's alone, never stored.
    TPlainRandom EffectRandom;

private:
    void FillParticlePools();
    void LoadSections(Data::TStream* stream);
    void LoadObjects(Data::TStream* stream);
    void LoadPlayers(Data::TStream* stream);
    void ReleasePlayerBanners();
    TMapObject* InsertInDrawOrder(std::unique_ptr<TMapObject> object);
    int ObjectIndexAt(int x, int y, bool shownOnly) const;
    // Groups aiming at the object leaving the map forget it.
    void ForgetTarget(const TMapObject* object);
    // The object leaves the map's index and the list of what the last redraw drew.
    void UnindexObject(TMapObject* object);
    // Draw order by the objects' places in Objects; duplicates go.
    void SortInDrawOrder(std::vector<TMapObject*>& objects) const;

    TPlayer* FViewingPlayer = nullptr;
    bool FViewingPlayerSet = false;

    // The cells a group marked at the last change of the grid.
    struct TOccupancyMark {
        int X;
        int Y;
        int Reach;
    };
    static TOccupancyMark MarkOf(const TGroup& group);
    void ApplyOccupancyOf(const TGroup* group, int index);
    // The last group in draw order whose mark covers the cell; null when none.
    TMapObject* LastGroupMarking(int x, int y) const;

    std::unordered_map<uint32_t, TMapObject*> FObjectsByID;
    // How many marks cover each cell, beside the grid.
    std::vector<uint16_t> FOccupancyCover;
    std::unordered_map<const TMapObject*, TOccupancyMark> FOccupancyMarks;
    std::vector<const TGroup*> FOccupancyStale;
    // The player the marks were made for; null when the grid needs a rebuild.
    const TPlayer* FOccupancyPlayer = nullptr;
    std::vector<std::unique_ptr<TMapObject>> FRetired;
    std::vector<std::pair<TMapObject*, uint32_t>> FTickList;
    void CollectDirtyRects(int viewX, const RECT& clip, int viewY);
    void AddDirtyRect(RECT rect);
    void ScrollKeptImage(Win32::IDirectDrawSurface7* target, int viewX, const RECT& clip,
                         int viewY);
    std::vector<RECT> DirtyRects;
    TObjectIndex FObjectIndex;
    // The filed objects whose picture reached into the view at the last redraw, by
    // address: their drawn state is kept; any other filed object had no pixel in the
    // retained image.
    std::vector<TMapObject*> FDrawnObjects;
    // The objects near the view in the redraw at work.
    std::vector<TMapObject*> FRedrawObjects;
    void StoreDrawnStates(int viewX, const RECT& clip, int viewY);
    void DrawMarkersOf(const std::vector<TMapObject*>& objects, Win32::IDirectDrawSurface7* target,
                       int viewX, const RECT& clip, int viewY);
    // The fog edges composed as the device draws them; false where they cannot be.
    bool ComposeFog(Win32::IDirectDrawSurface7* target, int viewX, const RECT& clip, int viewY);
    Gfx::TBlendedTiles FogTiles;
};

// Loads a scenario into a new object, so that a running game is only replaced once
// the new one has loaded completely. The services of the layers above (sounds,
// settings, planners, network) are taken from services when given.
std::unique_ptr<TScenario> LoadScenario(Data::TStream& stream, const TScenario* services);

} // namespace GameData
