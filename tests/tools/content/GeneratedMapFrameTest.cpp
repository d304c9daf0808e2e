// The adventure map of level 3 on the generated content, drawn as the map tool draws it
// on the display device: a full redraw and frames after scrolls, with fog edges over
// explored and unexplored land, stay pixel for pixel what they were when these hashes
// were taken, and a scrolled frame is the frame redrawn from scratch.
#include "game/world/fog/Fog.h"
#include "game/world/players/Player.h"
#include "tests/engine/graphics/SpriteFixtures.h"
#include "tests/support/DisplayFixtures.h"
#include "tests/tools/content/GeneratedContent.h"
#include "tools/maptest/MapTestScene.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace GameData;

uint64_t BackBufferHash() {
    uint64_t hash = 1469598103934665603ull;
    for (const uint32_t pixel : TestSupport::ReadPixels(*D3DFrame::D3DFramework->BackBuffer()))
        hash = (hash ^ pixel) * 1099511628211ull;
    return hash;
}

// Cells in view with an edge of sight (First) and an edge of the unexplored (Second).
void CountFogEdges(const Tools::TMapTestScene& scene, int& sight, int& unexplored) {
    const TFog& fog = *scene.Scenario->Players[Tools::PersonsSide]->Fog;
    sight = unexplored = 0;
    for (int y = scene.ViewY / 40; y <= (scene.ViewY + Tools::MapViewHeight - 1) / 40; ++y)
        for (int x = scene.ViewX / 40; x <= (scene.ViewX + Tools::MapViewWidth - 1) / 40; ++x) {
            const TFogEdges edges = fog.GetEdgeIndices(x, y);
            sight += edges.First > 0;
            unexplored += edges.Second > 512;
        }
}

class GeneratedMapFrame : public TestSupport::GeneratedContent {};

TEST_F(GeneratedMapFrame, FramesKeepTheirPixelsAndAScrollEqualsARedraw) {
    struct TCase {
        bool Rgb555;
        uint64_t Full, Scrolled, Back;
    };
    const TCase cases[] = {
        {false, 0xe3f512987b996004ull, 0xf533e62cff0eae73ull, 0x01682c52b7143afeull},
        {true, 0xd31198192b8a06c4ull, 0xbc6dacd29e442033ull, 0xe07e2367fb57933eull},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Rgb555 ? "RGB555" : "RGB565");
        SpriteTests::TScopedDisplay display(16, c.Rgb555 ? SpriteTests::Rgb555Machine()
                                                         : Win32::DefaultDisplayHardware());
        Tools::OpenGameData(VRN_PROGRAM_DIR);
        uint64_t full = 0, scrolled = 0, back = 0;
        {
            Tools::TMapTestScene scene;
            int sight = 0, unexplored = 0;
            CountFogEdges(scene, sight, unexplored);
            EXPECT_GT(sight, 20);
            EXPECT_GT(unexplored, 0);

            scene.Frame(0, 0, true);
            full = BackBufferHash();
            for (int i = 0; i < 6; ++i)
                scene.Frame(8, 8);
            scrolled = BackBufferHash();
            scene.Frame(0, 0, true);
            EXPECT_EQ(BackBufferHash(), scrolled);
            for (int i = 0; i < 5; ++i)
                scene.Frame(-8, 0);
            scene.Frame(0, -24);
            back = BackBufferHash();
            scene.Frame(0, 0, true);
            EXPECT_EQ(BackBufferHash(), back);
        }
        Tools::CloseGameData();
        EXPECT_EQ(full, c.Full);
        EXPECT_EQ(scrolled, c.Scrolled);
        EXPECT_EQ(back, c.Back);
    }
}

} // namespace
