// Sight spread over heights, the fog's areas, edge masks, image and stored form,
// checked against small maps drawn as text with the sight worked out by hand.
#include "game/world/fog/Fog.h"
#include "engine/core/InvalidData.h"
#include "game/world/data/GlobalData.h"
#include "game/world/objects/MapGeometry.h"
#include "game/world/players/Player.h"
#include "platform/classlib/Streams.h"
#include "tests/game/world/TextMap.h"
#include "tests/support/UnitBuilder.h"

#include <gtest/gtest.h>

using namespace GameData;
using TestSupport::MakeTextMapScenario;
using TestSupport::TTextRows;

namespace {

class TFogTest : public ::testing::Test {
protected:
    TFogTest() {
        Data.SetConstant(Data2::gcSightTolerance, 5);
        Data.SetConstant(Data2::gcSightHeightOffset, 0);
        Data.SetConstant(Data2::gcSightDistanceScale, 1);
    }

    // 'v' visible, 'e' explored, '.' unexplored.
    static TTextRows Draw(const TScenario& s, const TFog& fog) {
        return TestSupport::DrawGrid(s, [&](int cell) { return ".ev"[fog.Cells[size_t(cell)]]; });
    }
    static void Paint(const TScenario& s, TFog& fog, const TTextRows& rows) {
        for (int y = 0; y < s.Height; ++y)
            for (int x = 0; x < s.Width; ++x) {
                const char c = rows[size_t(y)][size_t(x)];
                fog.Cells[size_t(s.CellIndex(x, y))] = c == 'v' ? 2 : c == 'e' ? 1 : 0;
            }
    }
    static TSightSource AtCell(int x, int y, int sight) {
        return {x * CellSize + HalfCell, y * CellSize + HalfCell, sight};
    }

    TestSupport::TTestGameData Data;
};

const TTextRows Flat8 = TTextRows(8, "........");

} // namespace

TEST_F(TFogTest, SightOnFlatGroundSpendsItsBudgetRingByRing) {
    struct TCase {
        const char* Name;
        TSightSource Source;
        TTextRows Expected;
    };
    const TCase cases[] = {
        {"sight 2: one ring (budget 9: 3 left straight, 0 diagonal)",
         AtCell(3, 3, 2),
         {"........", "........", "..vvv...", "..vvv...", "..vvv...", "........", "........",
          "........"}},
        {"sight below 2 counts as 2",
         AtCell(3, 3, 0),
         {"........", "........", "..vvv...", "..vvv...", "..vvv...", "........", "........",
          "........"}},
        {"sight 3: second ring but its corners",
         AtCell(3, 3, 3),
         {"........", "..vvv...", ".vvvvv..", ".vvvvv..", ".vvvvv..", "..vvv...", "........",
          "........"}},
        {"sight 3 in the map's corner",
         AtCell(0, 0, 3),
         {"vvv.....", "vvv.....", "vv......", "........", "........", "........", "........",
          "........"}},
        {"a source off the map sees nothing", {-40, 20, 5}, Flat8},
        {"a sight beyond 16 bits of budget sees the whole map", AtCell(3, 3, 100000),
         TTextRows(8, "vvvvvvvv")},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        auto s = MakeTextMapScenario(Flat8);
        TFog& fog = *s->Players[0]->Fog;
        fog.SightSources = {c.Source};
        fog.Recompute();
        EXPECT_EQ(Draw(*s, fog), c.Expected);
    }
}

TEST_F(TFogTest, HillsHideWhatLiesBelowTheirHorizon) {
    // Looking east along row 1 from (0, 1): a hill of 100 at x = 2 (26 degrees at
    // distance 20) hides the level cells behind it (0 degrees); a hill of 300 at
    // x = 5 rises to 30 degrees and shows, then hides the rest. Sight 8 (budget 45)
    // carries to the map's edge. Cells out of sight keep what they were.
    const TTextRows heights = {"00000000", "00100300", "00000000", "00000000"};
    struct TCase {
        int Tolerance;
        const char* Before;
        const char* Row;
    };
    const TCase cases[] = {
        {5, "........", "vvv..v.."},  {5, "eeeeeeee", "vvveevee"},
        {21, "........", "vvv..v.."}, // 26 - 21 > 0 still hides the level ground
        {26, "........", "vvvvvv.."}, // 26 - 26 does not; behind the 30-degree hill it does
        {30, "........", "vvvvvvvv"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Tolerance);
        Data.SetConstant(Data2::gcSightTolerance, c.Tolerance);
        auto s = MakeTextMapScenario(TTextRows(4, "........"), heights, 100);
        TFog& fog = *s->Players[0]->Fog;
        Paint(*s, fog, {"........", c.Before, "........", "........"});
        fog.SightSources = {AtCell(0, 1, 8)};
        fog.Recompute();
        EXPECT_EQ(Draw(*s, fog)[1], c.Row);
    }
}

TEST_F(TFogTest, RecomputeDemotesWhatIsNoLongerSeenAndShowsRevealedAreas) {
    auto s = MakeTextMapScenario(Flat8);
    TPlayer& player = *s->Players[0];
    TFog& fog = *player.Fog;
    fog.SightSources = {AtCell(1, 1, 2)};
    fog.Recompute();
    TArea shown;
    shown.AddCell({6, 6});
    shown.AddCell({7, 7});
    player.RevealedAreas.Add(&shown);
    fog.CollectSources();
    EXPECT_TRUE(fog.SightSources.empty());
    fog.Recompute();
    EXPECT_EQ(Draw(*s, fog), (TTextRows{"eee.....", "eee.....", "eee.....", "........", "........",
                                        "........", "......v.", ".......v"}));
    player.RevealedAreas.Clear();
}

TEST_F(TFogTest, AreasRaiseForgetAndAnswer) {
    auto s = MakeTextMapScenario({"....", "....", "....", "...."});
    TFog& fog = *s->Players[0]->Fog;
    Paint(*s, fog, {".ev.", "....", "....", "...."});
    TArea row;
    for (int x = 0; x < 4; ++x)
        row.AddCell({int16_t(x), 0});
    TArea empty;
    TArea offMap;
    offMap.AddCell({-1, 0});

    EXPECT_TRUE(fog.IsAnyCellVisible(&row));
    EXPECT_FALSE(fog.AreAllCellsExplored(&row));
    EXPECT_FALSE(fog.IsAnyCellVisible(&empty));
    EXPECT_TRUE(fog.AreAllCellsExplored(&empty));
    EXPECT_FALSE(fog.AreAllCellsExplored(&offMap));

    fog.RaiseArea(&row, fsExplored);
    EXPECT_EQ(Draw(*s, fog)[0], "eeve");
    EXPECT_TRUE(fog.AreAllCellsExplored(&row));
    fog.ForgetArea(&row);
    EXPECT_EQ(Draw(*s, fog)[0], "..v.");
    fog.RaiseArea(&offMap, fsVisible);
    fog.ForgetArea(&offMap);
    EXPECT_EQ(fog.GetCell(-1, 0, 7), 7);
    EXPECT_EQ(fog.GetCell(2, 0, 7), fsVisible);
}

TEST_F(TFogTest, EdgeMasksIndexTheFogEdgeTable) {
    struct TCase {
        const char* Name;
        TTextRows Fog;
        int X, Y;
        TFogEdges Expected;
    };
    const TTextRows allVisible(4, "vvvv");
    const TCase cases[] = {
        {"all visible: no edges", allVisible, 1, 1, {-1, -1}},
        {"all unexplored", TTextRows(4, "...."), 1, 1, {0, 512}},
        {"the cell alone visible", {"....", ".v..", "....", "...."}, 1, 1, {16, 528}},
        {"outside the map counts as unexplored", allVisible, 0, 0, {432, 944}},
        {"explored above, unexplored here", {"eee.", "....", "....", "...."}, 1, 1, {0, 519}},
        {"visible and explored mixed", {"veee", "eeee", "ee..", "...."}, 1, 1, {1, 512 + 255}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        auto s = MakeTextMapScenario({"....", "....", "....", "...."});
        TFog& fog = *s->Players[0]->Fog;
        Paint(*s, fog, c.Fog);
        const TFogEdges edges = fog.GetEdgeIndices(c.X, c.Y);
        EXPECT_EQ(edges.First, c.Expected.First);
        EXPECT_EQ(edges.Second, c.Expected.Second);
    }

    // The table is the common sprites from slot 10 on.
    Gfx::TSprite visibleEdge, exploredEdge;
    Data.Global().CommonSprites[10 + 16] = &visibleEdge;
    Data.Global().CommonSprites[10 + 528] = &exploredEdge;
    auto s = MakeTextMapScenario({"....", "....", "....", "...."});
    TFog& fog = *s->Players[0]->Fog;
    Paint(*s, fog, {"....", ".v..", "....", "...."});
    Gfx::TSprite* first = nullptr;
    Gfx::TSprite* second = nullptr;
    fog.GetEdgeSprites(1, 1, first, second);
    EXPECT_EQ(first, &visibleEdge);
    EXPECT_EQ(second, &exploredEdge);
    Paint(*s, fog, TTextRows(4, "vvvv"));
    fog.GetEdgeSprites(1, 1, first, second);
    EXPECT_EQ(first, nullptr);
    EXPECT_EQ(second, nullptr);
    Data.Global().CommonSprites[10 + 16] = nullptr;
    Data.Global().CommonSprites[10 + 528] = nullptr;
}

TEST_F(TFogTest, ImageShowsStatesAndGroupMarks) {
    auto s = MakeTextMapScenario({"....", "....", "....", "...."});
    TFog& fog = *s->Players[0]->Fog;
    Paint(*s, fog, {"ve..", "....", "....", "...."});
    fog.UpdateImage();
    EXPECT_EQ(fog.FogImage.Width, 4);
    EXPECT_EQ(fog.FogImage.BitsPerPixel(), 32);
    EXPECT_EQ(fog.ImagePixel(0, 0), 0x00000000u);
    EXPECT_EQ(fog.ImagePixel(1, 0), 0x80000000u);
    EXPECT_EQ(fog.ImagePixel(2, 0), 0xFF000000u);

    fog.DrawGroupMark(0, 0, 2); // red, in the corner: two neighbours on the map
    EXPECT_EQ(fog.ImagePixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(fog.ImagePixel(1, 0), 0x00FF0000u);
    EXPECT_EQ(fog.ImagePixel(0, 1), 0x00FF0000u);
    EXPECT_EQ(fog.ImagePixel(1, 1), 0xFF000000u);
    fog.DrawGroupMark(2, 2, 9); // an unknown colour index draws in the first colour
    EXPECT_EQ(fog.ImagePixel(2, 2), 0xFF505050u);
    EXPECT_EQ(fog.ImagePixel(3, 2), 0x00505050u);
    EXPECT_EQ(fog.ImagePixel(2, 3), 0x00505050u);
}

TEST_F(TFogTest, StoredFormIsTheIdentifierAndTheCellBytes) {
    auto s = MakeTextMapScenario({"....", "....", "....", "...."});
    TFog& fog = *s->Players[0]->Fog;
    fog.ID = 77;
    Paint(*s, fog, {"ve..", "..v.", "....", "eeee"});
    ClassLib::TMemoryStream stream;
    fog.SaveToStream(&stream);
    EXPECT_EQ(stream.GetSize(), 4 + 16);

    TFog copy(s->Players[0]);
    stream.SetPosition(0);
    copy.LoadFromStream(&stream);
    EXPECT_EQ(copy.ID, 77u);
    EXPECT_EQ(copy.Cells, fog.Cells);

    TFog assigned(s->Players[0]);
    assigned.Assign(&fog);
    EXPECT_EQ(assigned.Cells, fog.Cells);

    // A state byte above 2, or a stream cut short, is refused.
    uint8_t* bytes = static_cast<uint8_t*>(stream.Memory());
    bytes[4 + 5] = 3;
    stream.SetPosition(0);
    EXPECT_THROW(copy.LoadFromStream(&stream), Data::EInvalidData);
    ClassLib::TMemoryStream cut;
    cut.WriteBuffer(bytes, 10);
    cut.SetPosition(0);
    EXPECT_ANY_THROW(copy.LoadFromStream(&cut));
}
