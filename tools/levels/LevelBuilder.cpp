#include "tools/levels/LevelBuilder.h"

#include "game/ai/AIHandler.h"
#include "game/script/Conversation.h"
#include "game/world/cities/City.h"
#include "game/world/data/LoadedGlobalData.h"
#include "game/world/groups/Group.h"
#include "game/world/objects/Doodle.h"
#include "game/world/objects/MapGeometry.h"
#include "platform/classlib/Streams.h"
#include "tools/ConversationSource.h"
#include "tools/TextDataFile.h"
#include "tools/content/ContentIds.h"
#include "tools/levels/LevelArt.h"
#include "tools/levels/Terrain.h"
#include "tools/levels/TownArt.h"

#include <cstdlib>
#include <cstring>
#include <span>

namespace Tools {

using namespace GameData;

namespace {

struct TSceneryKind {
    uint32_t ID;
    uint32_t SpriteID;
    int16_t CostDelta;
    const char* Name;
};

// Trees slow a walk; rocks close their cell.
constexpr TSceneryKind SceneryKinds[] = {
    {TreePrototypeID, TreeSpriteID, 3, "Tree"},
    {RockPrototypeID, RockSpriteID, 250, "Rock"},
};

TDoodlePrototype MakePrototype(const TSceneryKind& kind) {
    TDoodlePrototype prototype{};
    prototype.ID = kind.ID;
    prototype.SpriteID = kind.SpriteID;
    prototype.AnimationMode = daStill;
    prototype.PatchMode = dpOwnCell;
    prototype.CostDelta = kind.CostDelta;
    prototype.Layer = DefaultLayer;
    std::strncpy(prototype.Name, kind.Name, sizeof(prototype.Name) - 1);
    prototype.Loaded = 1;
    return prototype;
}

std::unique_ptr<TUnit> MakeUnit(int prototypeID) {
    const Data2::TUnitPrototype* prototype = Data2::FindUnitPrototypeByID(prototypeID);
    if (!prototype)
        throw ClassLib::Exception(
            ClassLib::Format("Level: no unit prototype with identifier %d.", prototypeID));
    auto unit = std::make_unique<TUnit>();
    unit->InitFromPrototype(*prototype);
    return unit;
}

void PlaceAtCell(TMapObject& object, int x, int y) {
    const TPoint centre = CellToPixelCentre(x, y);
    object.X = int16_t(centre.X);
    object.Y = int16_t(centre.Y);
}

// Cells where scenery may not stand: within two cells of anything placed.
std::vector<uint8_t> ReservedCells(const TLevelDescription& level, const TTerrain& terrain) {
    std::vector<uint8_t> reserved(terrain.Water);
    const auto reserve = [&](int cx, int cy, int radius) {
        for (int y = cy - radius; y <= cy + radius; ++y)
            for (int x = cx - radius; x <= cx + radius; ++x)
                if (x >= 0 && y >= 0 && x < terrain.Width && y < terrain.Height)
                    reserved[size_t(terrain.Index(x, y))] = 1;
    };
    for (const TLevelPlayer& player : level.Players)
        reserve(player.StartX, player.StartY, 2);
    for (const TLevelGroup& group : level.Groups)
        reserve(group.X, group.Y, 2);
    for (const TLevelCity& city : level.Cities)
        reserve(city.X, city.Y + 1, 3);
    return reserved;
}

void AddScenery(TScenario& scenario, const TLevelDescription& level, const TTerrain& terrain) {
    std::vector<uint8_t> taken = ReservedCells(level, terrain);
    TContentRandom random(uint64_t(level.Seed) * 31 + 7);
    const auto place = [&](uint32_t prototypeID, int count) {
        const TDoodlePrototype* prototype = nullptr;
        for (const TDoodlePrototype& p : scenario.DoodlePrototypes)
            if (p.ID == prototypeID)
                prototype = &p;
        // Give up on a crowded map rather than search forever.
        for (int placed = 0, tries = 0; placed < count && tries < count * 20; ++tries) {
            const int x = random.Below(terrain.Width);
            const int y = random.Below(terrain.Height);
            uint8_t& cell = taken[size_t(terrain.Index(x, y))];
            if (cell)
                continue;
            cell = 1;
            auto doodle = std::make_unique<TDoodle>(&scenario);
            PlaceAtCell(*doodle, x, y);
            doodle->SetPrototype(prototype);
            scenario.AddObject(std::move(doodle));
            ++placed;
        }
    };
    place(TreePrototypeID, level.Trees);
    place(RockPrototypeID, level.Rocks);
}

void AddPlayers(TScenario& scenario, const TLevelDescription& level) {
    const int count = int(level.Players.size());
    for (int i = 0; i < count; ++i) {
        const TLevelPlayer& source = level.Players[size_t(i)];
        auto player = std::make_unique<TPlayer>(&scenario);
        player->Type = source.Type == 0 ? ptLocal : ptComputer;
        player->Name = source.Name;
        player->Color = uint8_t(source.Colour);
        player->Gold = source.Gold;
        player->SpriteID = FirstBannerID + uint32_t(source.Colour);
        for (int j = 0; j < count; ++j)
            if (j != i)
                player->Relations[size_t(j)] = reEnemy;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (scenario.IsCellOnMap(source.StartX + dx, source.StartY + dy))
                    player->Area.AddCell(
                        {int16_t(source.StartX + dx), int16_t(source.StartY + dy)});
        TPlayer* added = scenario.AddPlayer(std::move(player));
        added->Banner = scenario.PlayerSpriteLibrary.AcquireSpriteByID(added->SpriteID);
    }
}

// Every unit of a player enters that player's planner, as it would joining in play.
void AddGroups(TScenario& scenario, const TLevelDescription& level) {
    for (const TLevelGroup& source : level.Groups) {
        auto group = std::make_unique<TGroup>(&scenario);
        PlaceAtCell(*group, source.X, source.Y);
        group->OwnerIndex = uint8_t(source.Owner);
        auto* added = static_cast<TGroup*>(scenario.AddObject(std::move(group)));
        for (int id : source.Units)
            added->AddUnit(MakeUnit(id), true, true);
    }
}

// Towers at the corners, the banner, the owner's shield and a brazier at the gate.
void Decorate(TCity& city) {
    enum { Banner, Watchtower, Shield, Brazier };
    const TCityDecoration decorations[] = {
        {Watchtower, -12, -14}, {Watchtower, 52, -14}, {Banner, 14, 16}, {Shield, 34, 30},
        {Watchtower, -12, 46},  {Watchtower, 52, 46},  {Brazier, 20, 62}};
    for (const TCityDecoration& decoration : decorations)
        city.Decorations.Add(decoration);
}

struct TOffer {
    uint32_t ID;
    uint32_t Price;
};

// Map spells (each with its battle spell) for the heroes of the first levels, dearer by
// the level they need.
constexpr TOffer SpellOffers[] = {{1, 120},  {2, 120},  {3, 120},  {17, 150}, {25, 100}, {38, 100},
                                  {40, 150}, {60, 150}, {4, 220},  {14, 220}, {15, 220}, {22, 200},
                                  {27, 220}, {33, 200}, {52, 220}, {53, 250}, {5, 350},  {13, 320},
                                  {29, 350}, {32, 320}, {35, 350}, {42, 350}};
// The soldiers' own skills.
constexpr TOffer SkillOffers[] = {{62, 150}, {63, 200}, {64, 250}};
// Skills that teach a battle spell, for heroes.
constexpr TOffer AbilityOffers[] = {{1, 200},  {2, 200},  {3, 200},  {38, 200},
                                    {14, 300}, {22, 300}, {52, 300}, {53, 300}};

void Offer(TPriceTable& prices, std::span<const TOffer> offers) {
    for (const TOffer& offer : offers)
        prices[offer.ID - 1] = offer.Price;
}

void Open(TMerchant& merchant, int building, const char* name, const char* greeting) {
    const uint32_t b = uint32_t(building);
    merchant.Enabled = 1;
    merchant.Text1 = name;
    merchant.Text2 = greeting;
    merchant.PictureID = FirstInteriorID + b;
    merchant.Value3 = FirstMerchantPortraitID + b;
    merchant.Value1 = FirstBuildingButtonID + b;
}

// The four merchants with the prices of the sample bestiary, spells and skills.
void OpenMarket(TCity& city) {
    Open(city.Innkeeper, 0, "Innkeeper", "Ale for the thirsty, and fellows who seek work.");
    city.Innkeeper.BeerPrice = 15;
    Open(city.Mage, 1, "Mage", "Mana and spells, for those with the gold and the wit.");
    city.Mage.ManaPrice = 3;
    Offer(city.Mage.SpellPrices, SpellOffers);
    Open(city.BattleMaster, 2, "Battlemaster", "Sweat in the yard now, bleed less in the field.");
    Offer(city.BattleMaster.SkillPrices, SkillOffers);
    Open(city.Herbalist, 3, "Herbalist", "Salves for wounds, and the lore of herbs.");
    city.Herbalist.HealPrice = 2;
    Offer(city.Herbalist.AbilityPrices, AbilityOffers);
}

void AddCities(TScenario& scenario, const TLevelDescription& level) {
    for (const TLevelCity& source : level.Cities) {
        auto city = std::make_unique<TCity>(&scenario);
        PlaceAtCell(*city, source.X, source.Y);
        city->Owner = uint8_t(source.Owner);
        city->GateGroup->OwnerIndex = uint8_t(source.Owner);
        city->Caption = source.Caption;
        city->Name = source.Caption;
        for (int dy = 0; dy < 2; ++dy)
            for (int dx = 0; dx < 2; ++dx)
                city->Footprint.AddCell({int16_t(source.X + dx), int16_t(source.Y + dy)});
        for (int dx = 0; dx < 2; ++dx)
            city->ExitArea.AddCell({int16_t(source.X + dx), int16_t(source.Y + 2)});
        Decorate(*city);
        auto* added = static_cast<TCity*>(scenario.AddObject(std::move(city)));
        // The town's own units serve whoever holds the town.
        const auto townUnit = [](int id) {
            std::unique_ptr<TUnit> unit = MakeUnit(id);
            unit->Marker = CityOwnerByte;
            return unit;
        };
        for (int id : source.Defenders) {
            TUnit* unit = scenario.RegisterUnit(townUnit(id), true);
            if (!added->AddDefender(0, unit, true))
                throw ClassLib::Exception("Level: a city's first row holds three defenders.");
        }
        for (int id : source.Civilians)
            added->AddCivilian(townUnit(id), true, true);
        added->LeadingValues[0] = TownPictureID;
        added->MusicID = Content::TownMusicID;
        if (source.Owner != 255)
            OpenMarket(*added);
    }
}

// The guarding group's units hold the task, which keeps just them: with priority 0 it
// recruits no others.
void AddGuards(TScenario& scenario, const TLevelDescription& level) {
    for (const TLevelGuard& guard : level.Guards) {
        TGroup* group = scenario.GroupAtCell(guard.X, guard.Y, nullptr);
        TPlayer* player = group ? scenario.PlayerAt(group->OwnerIndex) : nullptr;
        auto* handler = player ? dynamic_cast<AIHandler::TAIHandler*>(player->AI.get()) : nullptr;
        if (!handler)
            throw ClassLib::Exception("Level: no computer player's group on a guarded cell.");
        auto task = std::make_unique<AIHandler::TAITask>(handler, true);
        task->Name = guard.Alias;
        task->SetGoToCell(guard.X, guard.Y, guard.Radius);
        task->Header->TaskType = AIHandler::ttGuardCell;
        task->SetPriority(0);
        for (TUnit* unit : group->GroupUnits())
            if (AIHandler::TAIUnit* record = unit ? handler->FindAIUnit(unit) : nullptr)
                task->AssignUnit(*record);
        scenario.Globals[size_t(guard.Global)] = int32_t(task->ID);
        scenario.SetGlobalAlias(guard.Alias, guard.Global);
        handler->Tasks.Add(task.release());
    }
}

void AddConversations(TScenario& scenario, const TLevelDescription& level) {
    for (std::unique_ptr<TConversation>& conversation :
         ReadConversationSource(level.Conversations)) {
        conversation->SetScenario(&scenario);
        scenario.Conversations.Add(std::move(conversation));
    }
}

} // namespace

std::string SceneryPrototypeText() {
    std::string text = "; id sprite chance mode period patch height cost layer sound volume name\n";
    text += std::to_string(std::size(SceneryKinds)) + "\n";
    for (const TSceneryKind& kind : SceneryKinds) {
        const TDoodlePrototype p = MakePrototype(kind);
        // Copies: the record is packed.
        const unsigned values[] = {p.ID, p.SpriteID, p.StartChance, p.AnimationMode};
        const int period = p.AnimationPeriod, height = p.HeightDelta, cost = p.CostDelta;
        text += ClassLib::Format("%u %u %u %u %d %u %d %d %u %u %u \"%s\"\n", values[0], values[1],
                                 values[2], values[3], period, unsigned(p.PatchMode), height, cost,
                                 unsigned(p.Layer), unsigned(p.SoundID), unsigned(p.SoundVolume),
                                 kind.Name);
    }
    return text;
}

TBuiltLevel BuildLevel(const TLevelDescription& level) {
    const TTerrain terrain = GenerateTerrain(level);
    TBuiltLevel built;
    const std::string background = level.Stem + ".bkg";
    built.Files[background] = DrawBackground(terrain, level.Seed);
    built.Files[ScenerySpriteFile] = DrawSceneryLibrary();
    built.Files[BannerSpriteFile] = DrawBannerLibrary();
    built.Files[SceneryPrototypeFile] = TextDataFile(SceneryPrototypeText());

    built.Scenario = std::make_unique<TScenario>();
    TScenario& s = *built.Scenario;
    // Each player's planner is stored in the level with its units and tasks.
    AIHandler::InstallComputerPlayers(s);
    s.SetMapSize(level.Width, level.Height);
    s.BaseHeights = terrain.Heights;
    s.BaseCosts = terrain.Costs;
    s.PrototypeFileName = SceneryPrototypeFile;
    s.SpriteLibraryName = ScenerySpriteFile;
    s.PlayerSpriteLibraryName = BannerSpriteFile;
    s.BackgroundFileName = background;
    s.Description = level.Title;
    s.Briefing = level.Briefing;
    s.SpriteLibrary.OpenDirectory(
        std::make_unique<ClassLib::TMemoryStream>(built.Files[ScenerySpriteFile]));
    s.PlayerSpriteLibrary.OpenDirectory(
        std::make_unique<ClassLib::TMemoryStream>(built.Files[BannerSpriteFile]));
    for (const TSceneryKind& kind : SceneryKinds)
        s.DoodlePrototypes.Add(MakePrototype(kind));
    s.BattleBackgrounds.Add(BattlePictureID);
    ClassLib::TMemoryStream backgroundStream(built.Files[background]);
    s.Background.LoadFromStream(&backgroundStream);
    ClassLib::TMemoryStream preview(DrawPreview(terrain, level));
    s.Preview.LoadFromStream(&preview);

    AddPlayers(s, level);
    AddScenery(s, level, terrain);
    AddGroups(s, level);
    AddCities(s, level);
    AddGuards(s, level);
    AddConversations(s, level);
    s.RebuildTerrainGrids();

    const TLevelPlayer& first = level.Players.front();
    s.View.Left = std::max(0, first.StartX * CellSize - s.View.Width / 2);
    s.View.Top = std::max(0, first.StartY * CellSize - s.View.Height / 2);
    s.Turn = 1;
    s.HeaderValue = uint32_t(level.Players.size());
    s.MaxTransferUnits = LevelTransferLimit;
    s.CurrentPlayerIndex = 0;
    s.CurrentPlayer = s.PlayerAt(0);
    // The game ends the level on the first report that finds a player's own global at 0;
    // every side starts still playing, and the level's scripts clear one to finish it.
    for (int i = 0; i < s.PlayerCount(); ++i)
        s.Globals[size_t(i)] = 1;
    // As loading leaves it, so that a loaded level saves to the same bytes.
    s.RebuildOccupancyGrid();
    s.UpdatePlayerVisibility(s.CurrentPlayer);
    s.LinkUnits();

    ClassLib::TMemoryStream out;
    s.SaveToStream(&out);
    built.Files[level.Stem + ".scn"] = out.Bytes();
    return built;
}

} // namespace Tools
