#include "tests/support/TinyWorld.h"

#include "platform/classlib/Streams.h"
#include "tools/SpriteWriter.h"

#include <cstring>
#include <thread>

namespace TestSupport {

using namespace GameData;

namespace {

Tools::TBytes Sprite(uint32_t id, int width, int height, int frames, int hotX, int hotY) {
    std::vector<Tools::TPicture> pictures;
    for (int f = 0; f < frames; ++f) {
        Tools::TPicture picture{width, height, {}};
        picture.Pixels.assign(size_t(width * height), 0xFF204060u + uint32_t(f) * 0x10);
        pictures.push_back(std::move(picture));
    }
    Tools::TSpriteOptions options;
    options.ID = id;
    options.Keyed = false;
    options.HotSpotX = hotX;
    options.HotSpotY = hotY;
    return Tools::EncodeSprite(pictures, options);
}

TDoodlePrototype Prototype(uint32_t id, uint32_t sprite, uint16_t mode, int16_t period,
                           uint16_t patch, int16_t height, int16_t cost, uint32_t sound,
                           const char* name) {
    TDoodlePrototype prototype{};
    prototype.ID = id;
    prototype.SpriteID = sprite;
    prototype.AnimationMode = mode;
    prototype.AnimationPeriod = period;
    prototype.PatchMode = patch;
    prototype.HeightDelta = height;
    prototype.CostDelta = cost;
    prototype.Layer = DefaultLayer;
    prototype.SoundID = sound;
    prototype.SoundVolume = sound ? 100 : 0;
    std::strncpy(prototype.Name, name, sizeof(prototype.Name) - 1);
    prototype.Loaded = 1;
    return prototype;
}

} // namespace

Tools::TBytes TinySpriteLibrary() {
    return Tools::EncodeSpriteLibrary(900, {Sprite(TTinyWorld::TreeSprite, 40, 60, 1, 20, 50),
                                            Sprite(TTinyWorld::FountainSprite, 40, 40, 4, 20, 20),
                                            Sprite(TTinyWorld::RockSprite, 80, 80, 1, 40, 40),
                                            Sprite(TTinyWorld::SparkleSprite, 20, 20, 3, 10, 10)});
}

Tools::TBytes TinyBackground(int width, int height) {
    ClassLib::TMemoryStream stream;
    stream.WriteValue<uint32_t>(901);
    TBackgroundHeader header{};
    std::memcpy(header.Signature, "BCKG", 4);
    header.Width = static_cast<int16_t>(width);
    header.Height = static_cast<int16_t>(height);
    stream.WriteBuffer(&header, sizeof(header));
    for (int i = 0; i < width * height; ++i) {
        const Tools::TBytes tile = Sprite(uint32_t(100 + i), TileSize, TileSize, 1, 0, 0);
        stream.WriteBuffer(tile.data(), int64_t(tile.size()));
    }
    return stream.Bytes();
}

TTinyWorld::TTinyWorld(const TTinyWorldOptions& options) : Scenario(std::make_unique<TScenario>()) {
    TScenario& s = *Scenario;
    s.PlannerFactory = options.PlannerFactory;
    s.SetMapSize(options.Width, options.Height);
    std::fill(s.BaseCosts.begin(), s.BaseCosts.end(), options.BaseCost);
    s.SpriteLibrary.OpenDirectory(std::make_unique<ClassLib::TMemoryStream>(TinySpriteLibrary()));
    s.DoodlePrototypes.Add(Prototype(Tree, TreeSprite, daStill, 0, dpOwnCell, 3, 10, 0, "Tree"));
    s.DoodlePrototypes.Add(Prototype(Fountain, FountainSprite, daLoop, 5, dpOwnCell, 0, 0,
                                     AmbientSoundID, "Fountain"));
    s.DoodlePrototypes.Add(
        Prototype(Rock, RockSprite, daStill, 0, dpUnderSprite, 2, 250, 0, "Rock"));

    ClassLib::TMemoryStream background(
        TinyBackground((options.Width * CellSize + TileSize - 1) / TileSize,
                       (options.Height * CellSize + TileSize - 1) / TileSize));
    s.Background.LoadFromStream(&background);

    const uint8_t types[3] = {ptLocal, options.SecondPlayerType, options.ThirdPlayerType};
    const char* names[3] = {"Red", "Blue", "Green"};
    for (int i = 0; i < 3; ++i) {
        auto player = std::make_unique<TPlayer>(&s);
        player->Type = types[i];
        player->Name = names[i];
        player->Color = uint8_t(i);
        player->Gold = 1000;
        if (i < 2)
            player->Relations[size_t(1 - i)] = reEnemy;
        s.AddPlayer(std::move(player));
    }
    s.RebuildTerrainGrids();
}

TArea* TTinyWorld::AddArea(const std::vector<TField>& cells) {
    auto area = std::make_unique<TArea>();
    area->ID = Scenario->NewObjectID();
    for (const TField cell : cells)
        area->AddCell(cell);
    return Scenario->Areas.Add(std::move(area));
}

TDoodle* TTinyWorld::AddDoodle(uint32_t prototypeID, int cellX, int cellY) {
    const TDoodlePrototype* prototype = nullptr;
    for (const TDoodlePrototype& p : Scenario->DoodlePrototypes)
        if (p.ID == prototypeID)
            prototype = &p;
    if (!prototype)
        throw ClassLib::Exception("No such scenery prototype in the tiny world.");
    auto doodle = std::make_unique<TDoodle>(Scenario.get());
    const TPoint centre = CellToPixelCentre(cellX, cellY);
    doodle->X = int16_t(centre.X);
    doodle->Y = int16_t(centre.Y);
    doodle->SetPrototype(prototype);
    auto* added = static_cast<TDoodle*>(Scenario->AddObject(std::move(doodle)));
    Scenario->RebuildTerrainGrids();
    return added;
}

TGroup* TTinyWorld::AddGroup(uint8_t owner, int cellX, int cellY) {
    auto group = std::make_unique<TGroup>(Scenario.get());
    const TPoint centre = CellToPixelCentre(cellX, cellY);
    group->X = int16_t(centre.X);
    group->Y = int16_t(centre.Y);
    group->OwnerIndex = owner;
    return static_cast<TGroup*>(Scenario->AddObject(std::move(group)));
}

TCity* TTinyWorld::AddCity(uint8_t owner, int cellX, int cellY, const char* caption) {
    auto city = std::make_unique<TCity>(Scenario.get());
    const TPoint centre = CellToPixelCentre(cellX, cellY);
    city->X = int16_t(centre.X);
    city->Y = int16_t(centre.Y);
    city->Owner = owner;
    city->GateGroup->OwnerIndex = owner;
    city->Caption = caption;
    city->Name = caption;
    for (int dy = 0; dy < 2; ++dy)
        for (int dx = 0; dx < 2; ++dx)
            city->Footprint.AddCell({int16_t(cellX + dx), int16_t(cellY + dy)});
    for (int dx = 0; dx < 2; ++dx)
        city->ExitArea.AddCell({int16_t(cellX + dx), int16_t(cellY + 2)});
    return static_cast<TCity*>(Scenario->AddObject(std::move(city)));
}

bool TTestExecutor::Step() {
    TPlayer* player = Scenario.CurrentPlayer;
    const TPlayerAction action = Scenario.TakeCurrentAction();
    if (action.Code == acNone)
        return false;
    Taken.push_back(action);
    Scenario.RemoteActionFlag = 0;
    int32_t result = arDone;
    switch (action.Code) {
    case acEndTurn:
        Scenario.PassTurn();
        break;
    case acSelectObject:
        player->SelectObject(Scenario.FindObjectByID(action.P[0]));
        break;
    case acReport:
        result = int32_t(action.P[0]);
        break;
    default:
        if (!OtherAction)
            throw ClassLib::Exception(ClassLib::Format(
                "The test executor has no effect for action %d.", int(action.Code)));
        result = OtherAction(*player, action);
    }
    if (result != 0)
        player->SetActionResult(result);
    return true;
}

bool TTestExecutor::RunUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        if (!Step())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

} // namespace TestSupport
