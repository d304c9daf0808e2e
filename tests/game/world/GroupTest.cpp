// Groups: composition and its limits, owners and their planners, leaders, camps,
// occupancy, captions and the stored form.
#include "tests/game/world/CityGroupFixture.h"

#include "engine/core/Random.h"
#include "engine/graphics/GfxPixels.h"
#include "game/world/objects/CentredText.h"
#include "platform/classlib/Bitmap.h"
#include "tests/engine/graphics/FontTestSupport.h"
#include "tests/support/DisplayFixtures.h"
#include "tools/SpriteWriter.h"

#include <climits>
#include <cstring>
#include <functional>

namespace CityGroupTests {
namespace {

using TestSupport::ErrorOf;

class GroupTest : public CityGroupTest {
protected:
    TGroup* RedGroup(std::initializer_list<int> prototypes, bool giveToAI = false) {
        TGroup* group = World->AddGroup(Red, 2, 2);
        for (int id : prototypes)
            group->AddUnit(Make(id), true, giveToAI);
        return group;
    }
};

TEST_F(GroupTest, UnitsFillFromTheFrontHeroesGoFirstAndAFourthIsRefused) {
    TGroup* group = RedGroup({SoldierID, SoldierID});
    TUnit* first = group->UnitAt(0);
    TUnit* second = group->UnitAt(1);
    TUnit* hero = group->AddUnit(Make(HeroID), true, false);
    EXPECT_EQ(group->UnitAt(0), hero); // a hero added last ends in slot 0
    EXPECT_EQ(group->UnitAt(1), first);
    EXPECT_EQ(group->UnitAt(2), second);
    EXPECT_EQ(group->UnitCount(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(group->UnitAt(i)->GetGroup(), group);

    EXPECT_EQ(group->CanAddUnit(*Make(SoldierID)), gjFull);
    EXPECT_EQ(ErrorOf([&] { group->AddUnit(Make(SoldierID), true, false); }),
              "Maximum number of units in group reached.");
    EXPECT_EQ(group->UnitCount(), 3);
    EXPECT_EQ(Scenario().Units.Count(), 3); // the refused unit never entered the registry

    TGroup* other = RedGroup({HeroID});
    EXPECT_EQ(other->CanAddUnit(*Make(HeroID)), gjSecondHero);
    EXPECT_EQ(other->CanAddUnit(*Make(SoldierID)), gjAllowed);
}

TEST_F(GroupTest, RemovingTheMiddleUnitClosesTheSlots) {
    TGroup* group = RedGroup({SoldierID, BeastID, SoldierID});
    TUnit* a = group->UnitAt(0);
    TUnit* b = group->UnitAt(1);
    TUnit* c = group->UnitAt(2);
    group->SplitMarks = {0, 0, 1};
    std::unique_ptr<TUnit> removed = group->RemoveUnitAt(1, true, false);
    EXPECT_EQ(removed.get(), b);
    EXPECT_EQ(b->Owner, nullptr);
    EXPECT_EQ(Scenario().Units.FindByID(b->ID), nullptr);
    EXPECT_EQ(group->UnitAt(0), a);
    EXPECT_EQ(group->UnitAt(1), c);
    EXPECT_EQ(group->UnitAt(2), nullptr);
    EXPECT_EQ(group->SplitMarks, (std::array<uint8_t, 3>{0, 1, 0})); // marks move with units

    group->RemoveAll(false);
    EXPECT_EQ(group->UnitCount(), 0);
    EXPECT_EQ(a->Owner, nullptr);
    EXPECT_EQ(Scenario().Units.Count(), 2); // kept registered
}

TEST_F(GroupTest, PlannersOfTheOwnerHearOfJoiningLeavingAndOwnerChanges) {
    TGroup* group = RedGroup({SoldierID}, true);
    const std::string id = TLogPlanner::Id(*group->UnitAt(0));
    EXPECT_EQ(Log, (std::vector<std::string>{"Red+" + id}));

    Log.clear();
    group->SetOwner(Blue);
    EXPECT_EQ(Log, (std::vector<std::string>{"Red-" + id, "Blue+" + id}));
    EXPECT_EQ(group->GetOwner(), &Player(Blue));
    EXPECT_EQ(group->UnitAt(0)->GetPlayer(), &Player(Blue));

    Log.clear();
    group->SetOwner(Blue); // unchanged: nobody hears of it
    group->AddUnit(Make(SoldierID), true, false);
    EXPECT_TRUE(Log.empty());

    group->RemoveUnitAt(0, false, true);
    EXPECT_EQ(Log, (std::vector<std::string>{"Blue-" + id}));

    Log.clear();
    group->SetOwner(NoOwner); // no owner has no planner
    EXPECT_EQ(Log.size(), 1u);
    EXPECT_EQ(group->GetOwner(), nullptr);
}

TEST_F(GroupTest, AUnitWhoseLeaveGroupEffectEndsIsLooseOnTheMap) {
    TGroup* group = RedGroup({SoldierID, SoldierID}, true);
    TUnit* leaving = group->UnitAt(1);
    auto effect = std::make_unique<TAfterEffect>();
    effect->Kind = ekLeavesGroup;
    effect->Duration = 2;
    leaving->AddEffect(std::move(effect));
    Log.clear();
    leaving->DropUnrenewedEffects();
    EXPECT_EQ(group->UnitCount(), 1);
    EXPECT_EQ(leaving->Owner, nullptr);
    EXPECT_EQ(Scenario().FindLooseUnit(leaving->ID), leaving);
    EXPECT_EQ(Log, (std::vector<std::string>{"Red-" + TLogPlanner::Id(*leaving)}));
}

TEST_F(GroupTest, MergingCountsOnlyTheUnitsThatStay) {
    struct Case {
        std::initializer_list<int> Own;
        std::array<uint8_t, 3> Marks;
        std::initializer_list<int> Other;
        int Expected;
    };
    const Case cases[] = {
        {{SoldierID, SoldierID, SoldierID}, {0, 0, 1}, {SoldierID}, gjAllowed},
        {{SoldierID, SoldierID, SoldierID}, {0, 0, 0}, {SoldierID}, gjFull},
        {{SoldierID, SoldierID, SoldierID}, {1, 1, 1}, {SoldierID}, gjFull}, // all marked: no split
        {{HeroID, SoldierID}, {0, 0, 0}, {HeroID}, gjSecondHero},
        {{HeroID, SoldierID}, {1, 0, 0}, {HeroID}, gjAllowed}, // the hero splits off
    };
    for (const Case& c : cases) {
        TGroup* own = RedGroup(c.Own);
        own->SplitMarks = c.Marks;
        TGroup* other = RedGroup(c.Other);
        EXPECT_EQ(own->CanMerge(*other), c.Expected) << int(&c - cases);
    }
}

TEST_F(GroupTest, TheLeaderIsTheLastHeroOrTheLastLivingUnit) {
    TGroup* group = RedGroup({SoldierID, SoldierID});
    EXPECT_EQ(group->GetLeader(), group->UnitAt(0));
    group->UnitAt(0)->Own.Value(HITPOINTS) = 0;
    group->UnitAt(0)->RecalculateStats(false);
    EXPECT_EQ(group->GetLeader(), group->UnitAt(1));
    TUnit* hero = group->AddUnit(Make(HeroID), true, false);
    EXPECT_EQ(group->GetLeader(), hero);

    TGroup* empty = RedGroup({});
    EXPECT_EQ(empty->GetLeader(), nullptr);
    EXPECT_EQ(empty->GetSprite(), nullptr);
    EXPECT_EQ(empty->LowestHitPoints(), INT_MAX);
    EXPECT_EQ(empty->LowestActionPoints(), -1);
    EXPECT_TRUE(empty->AllUnitsDead());
}

TEST_F(GroupTest, MovingMeasuresSkipUnitsMarkedToSplitOff) {
    TGroup* group = RedGroup({SoldierID, SoldierID, HeroID});
    group->UnitAt(1)->AddActionPoints(-4);
    group->UnitAt(2)->AddMana(-5);
    EXPECT_EQ(group->LowestActionPoints(), 6);
    EXPECT_EQ(group->MovingMana(), 55);
    group->SplitMarks = {0, 1, 0};
    EXPECT_EQ(group->LowestActionPoints(), 10);
    EXPECT_EQ(group->MovingMaxHitPoints(), 60);
    EXPECT_EQ(group->TotalHitPoints(), 90);
    EXPECT_EQ(group->GroupSight(), 3);
    group->Deselect();
    EXPECT_EQ(group->SplitMarks, (std::array<uint8_t, 3>{}));
}

TEST_F(GroupTest, CampStyleFollowsTheCreaturesOrTheGamesState) {
    TGroup* beasts = RedGroup({SoldierID, BeastID});
    EXPECT_EQ(beasts->CampStyle, 4);

    Base::TRandomSeed expected = Base::RandomSeed;
    TGroup* soldiers = RedGroup({SoldierID});
    EXPECT_EQ(soldiers->CampStyle, int32_t(Base::NextRandom(expected) % 4));
    EXPECT_EQ(Base::RandomSeed.Low, expected.Low);
    EXPECT_EQ(Base::RandomSeed.High, expected.High);

    soldiers->CampState = csPitched; // a camped group keeps its tents
    const int32_t style = soldiers->CampStyle;
    soldiers->AddUnit(Make(BeastID), true, false);
    EXPECT_EQ(soldiers->CampStyle, style);
}

TEST_F(GroupTest, CampsCoverThreeByThreeCellsOnTheMapAndInTheOccupancyGrid) {
    TGroup* group = RedGroup({SoldierID});
    EXPECT_EQ(group->GetBounds(), (RECT{80, 80, 121, 121}));
    group->CampState = csPitched;
    EXPECT_EQ(group->GetBounds(), (RECT{40, 40, 161, 161}));
    EXPECT_EQ(group->GetMarkerBounds(), group->GetBounds());

    TGroup* enemy = World->AddGroup(Blue, 9, 9);
    enemy->AddUnit(Make(SoldierID), true, false);
    Scenario().BeginTurnOf(Red);
    const auto at = [&](int x, int y) {
        return Scenario().Occupancy[size_t(Scenario().CellIndex(x, y))];
    };
    for (int y = 1; y <= 3; ++y)
        for (int x = 1; x <= 3; ++x)
            EXPECT_EQ(at(x, y), group) << x << "," << y;
    EXPECT_EQ(at(4, 2), nullptr);
    EXPECT_EQ(at(9, 9), nullptr); // not seen by red
    enemy->Spotted = 1;
    Scenario().RebuildOccupancyGrid();
    EXPECT_EQ(at(9, 9), enemy);

    EXPECT_TRUE(group->IsCellTaken(2, 2)); // a camped group counts itself
    EXPECT_FALSE(enemy->IsCellTaken(9, 9));
    EXPECT_TRUE(group->IsCellOpenFor(1, 1));
    EXPECT_FALSE(group->IsCellOpenFor(9, 9));
    EXPECT_TRUE(group->IsCellOpenFor(5, 5));
}

TEST_F(GroupTest, PitchingACampTakesSixPointsInTurnsAndNeedsRoomAround) {
    std::fill(Scenario().Costs.begin(), Scenario().Costs.end(), 5);
    Data.SetConstant(Data2::gcFirstStepHeight + 2, 8);
    TGroup* group = RedGroup({SoldierID, SoldierID}); // at (2, 2)
    Scenario().BeginTurnOf(Red);
    group->UnitAt(0)->AddActionPoints(-8); // 2 left
    group->UnitAt(1)->AddActionPoints(-5); // 5 left
    const auto report = [&] { return int(Player(Red).TakeAction().P[0]); };

    struct Case {
        const char* Name;
        std::function<void()> Spoil, Mend;
    };
    TGroup* neighbour = nullptr;
    const auto cost = [&](int x, int y) -> uint8_t& {
        return Scenario().Costs[size_t(Scenario().CellIndex(x, y))];
    };
    const auto height = [&](int x, int y) -> int16_t& {
        return Scenario().Heights[size_t(Scenario().CellIndex(x, y))];
    };
    const Case blocked[] = {
        {"dear ground", [&] { cost(3, 3) = 10; }, [&] { cost(3, 3) = 5; }},
        {"a steep step", [&] { height(1, 2) = 8; }, [&] { height(1, 2) = 0; }},
        {"another group", [&] { neighbour = World->AddGroup(Blue, 3, 1); },
         [&] { Scenario().RemoveObject(neighbour, 0); }},
    };
    for (const Case& c : blocked) {
        c.Spoil();
        EXPECT_FALSE(group->HasRoomForCamp()) << c.Name;
        group->PitchCamp();
        EXPECT_EQ(report(), arBlocked) << c.Name;
        EXPECT_EQ(group->CampState, csNone) << c.Name;
        c.Mend();
    }
    height(1, 2) = 7; // still a step
    EXPECT_TRUE(group->HasRoomForCamp());
    TGroup* corner = World->AddGroup(Red, 0, 5);
    EXPECT_FALSE(corner->HasRoomForCamp());     // half the camp off the map
    EXPECT_TRUE(group->HasRoomForCampAt(3, 3)); // its own cell does not stand in the way
    EXPECT_FALSE(group->HasRoomForCampAt(11, 4));

    group->PitchCamp();
    EXPECT_EQ(group->CampState, csSettingUp);
    EXPECT_EQ(group->UnitAt(0)->Effective.Value(ACTIONPOINTS), 0); // 2 from the first
    EXPECT_EQ(group->UnitAt(1)->Effective.Value(ACTIONPOINTS), 1); // 4 from the second
    EXPECT_EQ(Scenario().Occupancy[size_t(Scenario().CellIndex(3, 3))], group);

    group->CampState = csPitched;
    group->BreakCamp();
    EXPECT_EQ(report(), arNoActionPoints);
    EXPECT_EQ(group->CampState, csPitched);
    group->NewTurn();
    group->BreakCamp();
    EXPECT_EQ(group->CampState, csPacking);
    EXPECT_EQ(group->TotalActionPoints(), 20 - 6);
    group->PitchCamp(); // only from no camp at all
    EXPECT_EQ(group->CampState, csPacking);

    group->CampState = csPitched;
    TGroup* passing = World->AddGroup(Blue, 3, 2); // 40 pixels away: not near
    passing->AddUnit(Make(SoldierID), true, false);
    passing->Activity = gaMove;
    EXPECT_FALSE(passing->IsNearPitchedCamp());
    passing->X = 139;
    EXPECT_TRUE(passing->IsNearPitchedCamp());
    passing->Activity = gaNone; // idle groups are never disturbed
    EXPECT_FALSE(passing->IsNearPitchedCamp());
}

TEST_F(GroupTest, TheCaptionSaysWhoseGroupItIsToTheViewingPlayer) {
    TGroup* own = RedGroup({SoldierID, HeroID});
    TGroup* enemy = World->AddGroup(Blue, 8, 8);
    enemy->AddUnit(Make(BeastID), true, false);
    TGroup* neutral = World->AddGroup(Green, 5, 8);
    TGroup* stray = World->AddGroup(NoOwner, 5, 5);
    Scenario().BeginTurnOf(Red);
    for (TGroup* group : {own, enemy, neutral, stray})
        group->Tick();
    EXPECT_EQ(own->Name, "Your group:\nHero (1), Soldier (1)");
    EXPECT_EQ(enemy->Name, "Enemy group:\nBeast (1)");
    EXPECT_EQ(neutral->Name, "Neutral group:\n");
    EXPECT_EQ(stray->Name, "Group:\n");

    // Whoever is on turn, the captions speak to the player at this machine (red).
    Scenario().BeginTurnOf(Blue);
    for (TGroup* group : {own, enemy})
        group->Tick();
    EXPECT_EQ(own->Name, "Your group:\nHero (1), Soldier (1)");
    EXPECT_EQ(enemy->Name, "Enemy group:\nBeast (1)");
}

TEST_F(GroupTest, UnitConversationsAreFoundByKindPlayerAndUnit) {
    TGroup* group = RedGroup({SoldierID, HeroID});
    const int32_t kind = 5;
    struct Case {
        const char* Name;
        int32_t Kind;
        uint32_t Owner; // 1: the group's second unit, 0: another object
        uint16_t Targets;
        bool Active;
        bool Found;
    };
    const Case cases[] = {
        {"a unit's conversation for red", kind, 1, 1 << Red, true, true},
        {"for blue only", kind, 1, 1 << Blue, true, false},
        {"of another kind", kind + 1, 1, 1 << Red, true, false},
        {"of another object", kind, 0, 1 << Red, true, false},
        {"not active", kind, 1, 1 << Red, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Scenario().Conversations.Clear();
        auto conversation = std::make_unique<TScenarioConversation>();
        conversation->ID = 1;
        conversation->OwnerType = c.Kind;
        conversation->OwnerID = c.Owner ? int32_t(group->UnitAt(1)->ID) : 77;
        conversation->TargetPlayers = c.Targets;
        conversation->Active = c.Active;
        Scenario().Conversations.Add(std::move(conversation));
        EXPECT_EQ(group->HasUnitConversation(Red, kind), c.Found);
    }
}

TEST_F(GroupTest, EnteringACityIsReportedToEveryOtherPlayer) {
    TGroup* group = RedGroup({SoldierID, SoldierID});
    TCity* city = World->AddCity(Blue, 6, 6);
    group->ReportEnteredCity(*city);
    EXPECT_EQ(Player(Red).SightingCount(), 0);
    for (int p : {Blue, Green}) {
        ASSERT_EQ(Player(p).SightingCount(), 2);
        const TSighting s = Player(p).GetSighting(1);
        EXPECT_EQ(s.Kind, skUnitEnteredCity);
        EXPECT_EQ(s.CellX, 2);
        EXPECT_EQ(s.UnitID, group->UnitAt(1)->ID);
        EXPECT_EQ(s.Extra, city->ID);
    }
}

TEST_F(GroupTest, AStoredGroupLoadsBackByteForByte) {
    TGroup* group = RedGroup({SoldierID, HeroID});
    group->Facing = 5;
    group->Ticks = 77;
    group->AnimState = asWalk;
    group->TargetX = 9;
    group->PathIndex = 12;
    group->KeptByte = 3;
    group->BlockedY = -4;
    group->CampState = csPacking;
    group->CampStyle = 2;
    const std::vector<uint8_t> bytes = Bytes(*group);
    const std::vector<uint32_t> ids{group->UnitAt(0)->ID, group->UnitAt(1)->ID};
    group->Clear(); // lets the units go

    TGroup loaded(&Scenario());
    ClassLib::TMemoryStream stream(bytes);
    loaded.LoadFromStream(&stream);
    EXPECT_EQ(Bytes(loaded), bytes);
    EXPECT_EQ(loaded.UnitAt(0)->ID, ids[0]);
    EXPECT_EQ(loaded.UnitAt(1)->GetGroup(), &loaded);
    EXPECT_EQ(loaded.PixelsPerStep, 4);
}

TEST_F(GroupTest, StoredGroupsOutOfRangeAreRefused) {
    TGroup* group = RedGroup({SoldierID});
    const std::vector<uint8_t> good = Bytes(*group);
    const uint32_t unitID = group->UnitAt(0)->ID;
    group->Clear();
    constexpr size_t CountAt = 14, FirstIDAt = 18, PathIndexAt = 53;
    struct Case {
        size_t Offset;
        uint32_t Value;
        int Width;
        std::string Error;
    };
    const Case cases[] = {
        {CountAt, 4, 4, "Invalid data."},
        {CountAt, 0xFFFFFFFF, 4, "Invalid data."},
        {FirstIDAt, 4242, 4, "Object with given ID not found (4242)."},
        {FirstIDAt, 0, 4, "Invalid data."},
        {PathIndexAt, 256, 2, "Invalid data."},
        {PathIndexAt, 0xFFFF, 2, "Invalid data."},
        {PathIndexAt, 255, 2, "no error"},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = good;
        std::memcpy(&bytes[c.Offset], &c.Value, size_t(c.Width));
        TGroup loaded(&Scenario());
        ClassLib::TMemoryStream stream(bytes);
        EXPECT_EQ(ErrorOf([&] { loaded.LoadFromStream(&stream); }), c.Error) << c.Offset;
    }
    // A unit already standing in another group cannot stand in this one too.
    TGroup holder(&Scenario());
    holder.AddUnit(Scenario().Units.FindByID(unitID), false);
    TGroup loaded(&Scenario());
    ClassLib::TMemoryStream stream(good);
    EXPECT_EQ(ErrorOf([&] { loaded.LoadFromStream(&stream); }), "Invalid data.");
    std::vector<uint8_t> cut(good.begin(), good.end() - 3);
    ClassLib::TMemoryStream shortStream(cut);
    EXPECT_NE(ErrorOf([&] { TGroup(&Scenario()).LoadFromStream(&shortStream); }), "no error");
}

} // namespace
} // namespace CityGroupTests

namespace CityGroupTests {
namespace {

constexpr uint32_t R = 0xFFFF0000, G = 0xFF00FF00, B = 0xFF0000FF, W = 0xFFFFFFFF, C = 0xFF00FFFF,
                   Y = 0xFFFFFF00;

std::unique_ptr<Gfx::TSprite> SpriteOf(const std::vector<Tools::TPicture>& frames, int hotX = 0,
                                       int hotY = 0) {
    Tools::TSpriteOptions options;
    options.Keyed = false;
    options.HotSpotX = hotX;
    options.HotSpotY = hotY;
    auto sprite = std::make_unique<Gfx::TSprite>(0);
    ClassLib::TMemoryStream stream(Tools::EncodeSprite(frames, options));
    sprite->LoadFromStream(&stream);
    return sprite;
}

// A sprite of frames filled with one colour each.
std::unique_ptr<Gfx::TSprite> Plain(int width, int height, const std::vector<uint32_t>& colours,
                                    int hotX, int hotY) {
    std::vector<Tools::TPicture> frames;
    for (uint32_t colour : colours)
        frames.push_back({width, height, std::vector<uint32_t>(size_t(width * height), colour)});
    return SpriteOf(frames, hotX, hotY);
}

uint16_t Pixel(ClassLib::TBitmap& bitmap, int x, int y) {
    return bitmap.ScanLine(y)[x];
}

TEST_F(GroupTest, MarkerAndBadgeShowTheOwnersColourAndTheUnitCount) {
    // The badge sheet: 2 x 2 cells, a column per unit count, a row per owner colour.
    const uint32_t cells[2][3] = {{R, G, B}, {W, C, Y}};
    std::vector<uint32_t> pixels(24);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            pixels[size_t(y * 6 + x)] = cells[y / 2][x / 2];
    auto sheet = SpriteOf({{6, 4, pixels}});
    auto redMarker = Plain(4, 4, {R, R}, 2, 2);
    auto blueMarker = Plain(4, 4, {B, Y}, 2, 2); // a second frame every ten ticks
    Data2::TGlobalData& global = Data.Global();
    global.CommonSprites[1111] = sheet.get();
    global.CommonSprites[5] = redMarker.get();
    global.CommonSprites[6] = blueMarker.get();
    global.BadgeCellWidth = 2;
    global.BadgeCellHeight = 2;

    TGroup* group = World->AddGroup(Blue, 2, 2); // centre (100, 100), box (80, 80)-(121, 121)
    group->AddUnit(Make(SoldierID), true, false);
    group->AddUnit(Make(SoldierID), true, false);
    ClassLib::TBitmap bitmap(41, 41);
    const RECT clip{0, 0, 41, 41};
    group->DrawOverlaysToBitmap(&bitmap, 80, clip, 80);
    for (int y = 2; y < 4; ++y)
        for (int x = 2; x < 4; ++x)
            EXPECT_EQ(Pixel(bitmap, x, y), 0x07FF) << x << "," << y; // row 1, column 1
    EXPECT_EQ(Pixel(bitmap, 4, 2), 0);
    EXPECT_EQ(Pixel(bitmap, 2, 4), 0);
    EXPECT_EQ(Pixel(bitmap, 1, 1), 0);

    group->DrawMarkerToBitmap(&bitmap, 80, clip, 80);
    EXPECT_EQ(Pixel(bitmap, 18, 18), 0); // not selected
    group->Select();
    Scenario().FrameCounter = 10;
    group->DrawMarkerToBitmap(&bitmap, 80, clip, 80);
    EXPECT_EQ(Pixel(bitmap, 18, 18), 0xFFE0); // frame 1 of blue's marker
    EXPECT_EQ(Pixel(bitmap, 21, 21), 0xFFE0);
    EXPECT_EQ(Pixel(bitmap, 22, 22), 0);
    EXPECT_EQ(group->GetMarkerBounds(), (RECT{98, 98, 102, 102}));

    for (int index : {5, 6, 1111})
        global.CommonSprites[index] = nullptr;
}

} // namespace
} // namespace CityGroupTests

namespace CityGroupTests {
namespace {

TEST_F(GroupTest, OwnGroupsShowTheirPointsHitPointsAndManaInBars) {
    using TestSupport::ReadPixels;
    TGroup* own = RedGroup({SoldierID, SoldierID}); // box (80, 80)-(121, 121)
    TGroup* foreign = World->AddGroup(Blue, 2, 2);
    foreign->AddUnit(Make(SoldierID), true, false);
    Scenario().BeginTurnOf(Red);
    own->UnitAt(0)->AddActionPoints(-5); // 5 of 10
    own->UnitAt(1)->AddHitPoints(-15);   // 45 of 60
    auto directDraw = TestSupport::PrimaryDirectDraw();
    const RECT clip{0, 0, 41, 41};
    const auto draw = [&](TGroup* group) {
        auto surface = TestSupport::MakeSurface(*directDraw, 41, 41, Win32::TPixelLayout::RGB565);
        TestSupport::FillSurface(*surface, 0x1234);
        group->DrawOverlays(surface.Get(), 80, clip, 80);
        return ReadPixels(*surface);
    };
    const std::vector<uint32_t> pixels = draw(own);
    const auto at = [&](int x, int y) { return pixels[size_t(y * 41 + x)]; };
    const uint32_t light[3] = {Gfx::PackColor565(0xB6FF9F), Gfx::PackColor565(0xF7A096),
                               Gfx::PackColor565(0x9DA7FC)};
    const uint32_t dark[3] = {Gfx::PackColor565(0x5B7F4F), Gfx::PackColor565(0x7B504B),
                              Gfx::PackColor565(0x4E537E)};
    // Inner rows and light widths: 39 pixels inside the frame, shared by the ratio.
    const struct {
        int Row, Light;
    } bars[3] = {{41 - 7 + 1, 39 * 5 / 10}, {41 - 10 + 1, 39 * 45 / 60}, {41 - 4 + 1, 39}};
    for (int b = 0; b < 3; ++b)
        for (int dy = 0; dy < 2; ++dy) {
            const int y = bars[b].Row + dy;
            EXPECT_EQ(at(0, y), 0u) << b;
            EXPECT_EQ(at(40, y), 0u) << b;
            EXPECT_EQ(at(bars[b].Light, y), light[b]) << b;
            if (bars[b].Light < 39) {
                EXPECT_EQ(at(bars[b].Light + 1, y), dark[b]) << b;
            }
        }
    EXPECT_EQ(at(20, 41 - 10 - 1), 0x1234u); // above the bars

    const std::vector<uint32_t> none = draw(foreign);
    EXPECT_EQ(none, std::vector<uint32_t>(41 * 41, 0x1234)); // another player's group

    // The bars are for the player at this machine, not for the player on turn.
    Scenario().BeginTurnOf(Blue);
    EXPECT_EQ(draw(own), pixels);
    EXPECT_EQ(draw(foreign), none);
}

} // namespace
} // namespace CityGroupTests

namespace CityGroupTests {
namespace {

TEST_F(GroupTest, WoundsOfTheSameAgeRiseOverTheGroupAsOneFadingNumber) {
    Gfx::TFont font;
    TestSupport::MakeTestFont(font);
    Data.Global().UIFonts[2] = &font;
    TGroup* group = World->AddGroup(Blue, 2, 2); // centre (100, 100); no bars for red
    group->AddUnit(Make(SoldierID), true, false);
    group->AddUnit(Make(SoldierID), true, false);
    group->UnitAt(0)->Wounds.Add({5, 30});
    group->UnitAt(1)->Wounds.Add({4, 100});
    group->UnitAt(1)->Wounds.Add({7, 30});
    Scenario().BeginTurnOf(Red);

    auto directDraw = TestSupport::PrimaryDirectDraw();
    const RECT clip{0, 0, 81, 81}; // the map from (60, 60): the centre at (40, 40)
    const auto canvas = [&] {
        auto surface = TestSupport::MakeSurface(*directDraw, 81, 81, Win32::TPixelLayout::RGB565);
        TestSupport::FillSurface(*surface, 0x1234);
        return surface;
    };
    auto drawn = canvas();
    group->DrawOverlays(drawn.Get(), 60, clip, 60);
    // 4 points ten ticks ago, 5 + 7 three: one pixel higher per ten ticks, and
    // darker with age.
    auto expected = canvas();
    DrawTextCentred(&font, expected.Get(), 40, clip, 20 - 10, "4", uint32_t(255 - 50) << 16);
    DrawTextCentred(&font, expected.Get(), 40, clip, 20 - 3, "12", uint32_t(255 - 15) << 16);
    EXPECT_EQ(TestSupport::ReadPixels(*drawn), TestSupport::ReadPixels(*expected));
    EXPECT_NE(TestSupport::ReadPixels(*drawn), TestSupport::ReadPixels(*canvas()));

    Data.Global().UIFonts[2] = nullptr;
}

} // namespace
} // namespace CityGroupTests
