// The map's index of objects against a scan of every object, after each of the ways
// objects enter the map, move, change their picture and leave it.
#include "engine/core/Archive.h"
#include "game/world/data/DataArchives.h"
#include "game/world/objects/Drawings.h"
#include "platform/classlib/Streams.h"
#include "tests/support/StateDigest.h"
#include "tests/support/TempDir.h"
#include "tests/support/TinyWorld.h"
#include "tests/support/UnitBuilder.h"
#include "tools/ArchiveWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

using namespace GameData;
using TestSupport::TTinyWorld;

namespace {

bool Meets(const RECT& a, const RECT& b) {
    return !Win32::IsEmpty(Win32::Intersect(a, b));
}

// Small squares all over the map and past its edges, thin strips along the blocks'
// borders, and the whole map.
std::vector<RECT> QueryRects(const TScenario& s) {
    const int width = s.Width * CellSize;
    const int height = s.Height * CellSize;
    std::vector<RECT> rects{{-500, -500, width + 500, height + 500}};
    for (int y = -80; y < height + 80; y += 70)
        for (int x = -80; x < width + 80; x += 70)
            rects.push_back({x, y, x + 50, y + 50});
    for (int border = TObjectIndex::BlockSize; border < width; border += TObjectIndex::BlockSize)
        rects.push_back({border - 1, 0, border + 1, height});
    for (int border = TObjectIndex::BlockSize; border < height; border += TObjectIndex::BlockSize)
        rects.push_back({0, border - 1, width, border + 1});
    return rects;
}

// Every object whose picture reaches into a rectangle, and every city, comes out, once
// and in draw order; a filed object comes out only when its picture reaches into it.
void ExpectIndexAgreesWithAScan(const TScenario& s) {
    ASSERT_TRUE(s.IsDrawOrderSorted());
    std::vector<TMapObject*> near;
    for (const RECT& rect : QueryRects(s)) {
        SCOPED_TRACE(testing::Message() << "rect " << rect.left << ", " << rect.top << ", "
                                        << rect.right << ", " << rect.bottom);
        s.CollectObjectsNear(rect, near);
        int previous = -1;
        for (const TMapObject* object : near) {
            const int index = s.IndexOfObject(object);
            EXPECT_GT(index, previous) << "object " << object->ID;
            previous = index;
            if (!TObjectIndex::IsRoaming(*object)) {
                EXPECT_TRUE(Meets(TObjectIndex::ReachBounds(*object), rect))
                    << "object " << object->ID << " does not reach into it";
            }
        }
        for (const TMapObject* object : s.Objects) {
            const bool wanted = object->Kind == okCity || Meets(object->DrawBounds(), rect) ||
                                Meets(TObjectIndex::ReachBounds(*object), rect);
            if (wanted) {
                EXPECT_NE(std::find(near.begin(), near.end(), object), near.end())
                    << "object " << object->ID << " missing";
            }
        }
    }
}

// The tiny world's sprite library and scenery prototypes as side files of a "scenario"
// archive folder, named by the scenario, so that its saved state loads with its scenery.
class TScenarioFiles {
public:
    explicit TScenarioFiles(TScenario& s) : FOldPath(Data::DataPath) {
        std::filesystem::create_directories(FFolder.Path() + "scenario");
        Tools::SaveLooseFile(FFolder.Path() + "scenario/tiny.gfx",
                             TestSupport::TinySpriteLibrary());
        std::ostringstream text;
        text << s.DoodlePrototypes.Count() << "\n";
        // Unary plus: the record is packed, its fields are read by value.
        for (const TDoodlePrototype& p : s.DoodlePrototypes)
            text << +p.ID << ' ' << +p.SpriteID << ' ' << +p.StartChance << ' ' << +p.AnimationMode
                 << ' ' << +p.AnimationPeriod << ' ' << +p.PatchMode << ' ' << +p.HeightDelta << ' '
                 << +p.CostDelta << ' ' << +p.Layer << ' ' << +p.SoundID << ' ' << +p.SoundVolume
                 << ' ' << p.Name << "\n";
        const std::string prototypes = text.str();
        Tools::SaveLooseFile(FFolder.Path() + "scenario/tiny.dpr",
                             Tools::TBytes(prototypes.begin(), prototypes.end()));
        Data::DataPath = FFolder.Path();
        FOldArchive = std::move(Data2::ScenarioArchive);
        Data2::ScenarioArchive = std::make_unique<Data::TArchive>("scenario", Data::arFolder);
        s.SpriteLibraryName = "tiny.gfx";
        s.PrototypeFileName = "tiny.dpr";
    }
    ~TScenarioFiles() {
        Data2::ScenarioArchive = std::move(FOldArchive);
        Data::DataPath = FOldPath;
    }
    TScenarioFiles(const TScenarioFiles&) = delete;
    TScenarioFiles& operator=(const TScenarioFiles&) = delete;

private:
    TestSupport::TempDir FFolder;
    AnsiString FOldPath;
    std::unique_ptr<Data::TArchive> FOldArchive;
};

struct TIndexStep {
    const char* Name;
    std::function<void(TTinyWorld&)> Apply;
};

TMapObject* ByID(TTinyWorld& world, uint32_t id) {
    return world.Scenario->GetObjectByID(id);
}

void MoveTo(TTinyWorld& world, uint32_t id, int x, int y) {
    TScenario& s = *world.Scenario;
    s.MoveObject(s.IndexOfObject(ByID(world, id)), x, y);
}

TEST(ObjectIndex, AgreesWithAScanOfEveryObjectThroughTheirWholeLife) {
    const TestSupport::TTestGameData data; // a stored city's merchants look for it
    TestSupport::TTinyWorldOptions options;
    options.Width = 24;
    options.Height = 24;
    TTinyWorld world(options);
    const TScenarioFiles files(*world.Scenario);
    // Identifiers, as objects change their address when the scenario is loaded.
    uint32_t tree = 0, rock = 0, fountain = 0, corner = 0, edge = 0, sparkle = 0, group = 0;
    const TIndexStep steps[] = {
        {"scenery added",
         [&](TTinyWorld& w) {
             tree = w.AddDoodle(TTinyWorld::Tree, 2, 2)->ID;
             fountain = w.AddDoodle(TTinyWorld::Fountain, 5, 5)->ID;
             rock = w.AddDoodle(TTinyWorld::Rock, 8, 3)->ID;   // across a block border
             corner = w.AddDoodle(TTinyWorld::Tree, 7, 7)->ID; // at a blocks' corner
             edge = w.AddDoodle(TTinyWorld::Rock, 23, 23)->ID; // past the map's edge
         }},
        {"animation waiting for its delay",
         [&](TTinyWorld& w) {
             auto animation = std::make_unique<TAnimation>(w.Scenario.get());
             animation->Setup(TTinyWorld::SparkleSprite, 630, 5, 0, 12, 330);
             ASSERT_EQ(animation->GetSprite(), nullptr);
             sparkle = w.Scenario->AddObject(std::move(animation))->ID;
         }},
        {"group and city",
         [&](TTinyWorld& w) {
             group = w.AddGroup(0, 10, 10)->ID;
             w.AddCity(1, 14, 14);
         }},
        {"moves across blocks and to the edge",
         [&](TTinyWorld& w) {
             MoveTo(w, tree, 700, 380);
             MoveTo(w, rock, 10, 500); // reaching past the edge
             MoveTo(w, group, 900, 60);
         }},
        {"moves within a block", [&](TTinyWorld& w) { MoveTo(w, tree, 710, 390); }},
        {"new picture in place",
         [&](TTinyWorld& w) {
             auto* doodle = static_cast<TDoodle*>(ByID(w, corner));
             for (const TDoodlePrototype& prototype : w.Scenario->DoodlePrototypes)
                 if (prototype.ID == TTinyWorld::Rock)
                     doodle->SetPrototype(&prototype);
             const uint32_t prototypeID = doodle->Prototype->ID; // a packed record's field
             ASSERT_EQ(prototypeID, TTinyWorld::Rock);
             MoveTo(w, corner, doodle->X, doodle->Y);
         }},
        {"animation plays",
         [&](TTinyWorld& w) {
             for (int tick = 0; tick < 6; ++tick)
                 ByID(w, sparkle)->Tick();
             ASSERT_NE(ByID(w, sparkle)->GetSprite(), nullptr);
         }},
        {"removal",
         [&](TTinyWorld& w) {
             // The group too, as a stored group holds units.
             for (const uint32_t id : {fountain, group})
                 w.Scenario->RemoveObjectAt(w.Scenario->IndexOfObject(ByID(w, id)), 0);
         }},
        {"retirement", [&](TTinyWorld& w) { w.Scenario->RetireObject(ByID(w, edge)); }},
        {"load",
         [&](TTinyWorld& w) {
             const int count = w.Scenario->Objects.Count();
             ClassLib::TMemoryStream stream(TestSupport::SavedBytes(*w.Scenario));
             w.Scenario = LoadScenario(stream, w.Scenario.get());
             ASSERT_EQ(w.Scenario->Objects.Count(), count);
         }},
        {"moves after loading", [&](TTinyWorld& w) { MoveTo(w, rock, 200, 820); }},
        {"larger map", [&](TTinyWorld& w) { w.Scenario->SetMapSize(32, 32); }},
        {"clear", [&](TTinyWorld& w) { w.Scenario->Clear(); }},
    };
    for (const TIndexStep& step : steps) {
        SCOPED_TRACE(step.Name);
        step.Apply(world);
        ExpectIndexAgreesWithAScan(*world.Scenario);
    }
    std::vector<TMapObject*> near;
    world.Scenario->CollectObjectsNear({-500, -500, 2000, 2000}, near);
    EXPECT_TRUE(near.empty());
}

} // namespace
