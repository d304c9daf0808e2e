// The phases of a spell's visual, its sounds, its particles, and a map spell cast
// from a group through the scenario's update.
#include "game/spells/SpellVisual.h"
#include "game/spells/MapSpellEffect.h"
#include "tests/game/spells/MapSpellFixture.h"

#include "engine/core/ActionThread.h"
#include "engine/graphics/Sprite.h"
#include "engine/graphics/SpriteList.h"
#include "game/world/data/GlobalData.h"
#include "game/world/fog/Fog.h"
#include "platform/classlib/Streams.h"
#include "tests/engine/graphics/SpriteFixtures.h"
#include "tests/support/DisplayFixtures.h"

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace MapSpellTests {
namespace {

TEST(SpellPhases, EachRowOfSpellsTimesItsPhasesAndMomentOfEffect) {
    struct TRow {
        int Spell;
        TSpellPhases Expected; // cast, flight, impact, total, effect
    };
    // Cast sprite 4 frames x 3 ticks, flight over 400 pixels at 4 pixels a tick,
    // impact sprite 5 frames x 4 ticks.
    for (const TRow& row : {TRow{60, {0, 100, 20, 120, 100}}, TRow{98, {12, 100, 100, 212, 212}},
                            TRow{29, {0, 100, 20, 120, 120}}, TRow{31, {0, 100, 20, 280, 280}},
                            TRow{82, {0, 76, 20, 96, 86}}, TRow{21, {0, 0, 20, 20, 16}},
                            TRow{33, {0, 0, 40, 40, 0}}, TRow{23, {12, 0, 20, 32, 32}},
                            TRow{61, {0, 0, 20, 20, 20}}, TRow{2, {0, 0, 20, 20, 10}}}) {
        SCOPED_TRACE(row.Spell);
        const TSpellPhases p = ComputeSpellPhases(row.Spell, 4, 3, true, 400, 5, 4, 400.0);
        EXPECT_EQ(p.Cast, row.Expected.Cast);
        EXPECT_EQ(p.Flight, row.Expected.Flight);
        EXPECT_EQ(p.Impact, row.Expected.Impact);
        EXPECT_EQ(p.Total, row.Expected.Total);
        EXPECT_EQ(p.EffectTick, row.Expected.EffectTick);
    }
    // No impact sprite: a missile is done when it arrives; a speed of 0 arrives at once.
    EXPECT_EQ(ComputeSpellPhases(40, 0, 0, true, 400, 0, 4, 400.0).Total, 100u);
    EXPECT_EQ(ComputeSpellPhases(40, 0, 0, true, 0, 5, 4, 400.0).Flight, 0u);
}

class SpellVisual : public MapSpellTest {
protected:
    SpellVisual() {
        Impact.SetFrameCount(5);
        Impact.Width = Impact.Height = 40;
        Flight.SetFrameCount(2);
    }
    ~SpellVisual() override {
        // The sprites are the test's own: the visual must not hand them back.
        Visual.CastSprite = Visual.FlightSprite = Visual.ImpactSprite = nullptr;
    }
    void Start(int spell, int sourceCellX, int targetCellX) {
        Data2::TSpellPrototype& record = AddSpell(spell, {});
        record.ImpactTicks = 4;
        record.FlightSpeed = 400;
        record.FlightTicks = 2;
        record.CastSound = record.FlightSound = record.ImpactSound =
            reinterpret_cast<Audio::TAudioStream*>(&Impact); // any distinct pointer
        Visual.Scenario = World->Scenario.get();
        Visual.Prototype = &record;
        Visual.ImpactSprite = &Impact;
        Visual.FlightSprite = &Flight;
        Visual.PlaySound = [this](Audio::TAudioStream*, int32_t) { Sounds.push_back(Visual.Tick); };
        Visual.StartSpellAnimation(sourceCellX * 40 + 20, 100, 100, targetCellX * 40 + 20);
    }
    void See(int x, int y) { World->Player(Red).Fog->Cells[size_t(y * 12 + x)] = fsVisible; }
    // A blended 8 x 8 square of one colour, its hot spot in the middle.
    static std::unique_ptr<Gfx::TSprite> Solid(uint32_t argb) {
        Tools::TSpriteOptions options;
        options.BlendMode = 0xFF;
        options.HotSpotX = options.HotSpotY = 4;
        return SpriteTests::LoadSprite(
            Tools::EncodeSprite({SpriteTests::Picture(8, 8, [=](int, int) { return argb; })},
                                options),
            Gfx::sfConvert);
    }
    // The pixel at (x, y) once this tick's particles are drawn on black.
    uint32_t DrawnPixel(Win32::IDirectDrawSurface7* screen, const RECT& clip, int x, int y) {
        Win32::DDBLTFX fx;
        fx.dwFillColor = 0;
        screen->Blt(nullptr, nullptr, nullptr, Win32::DDBLT_COLORFILL, &fx);
        Visual.DrawSpellEffects(screen, 0, clip, 0);
        return TestSupport::ReadPixels(*screen)[size_t(y) * 800 + size_t(x)];
    }

    Gfx::TSprite Impact;
    Gfx::TSprite Flight;
    TSpell Visual;
    std::vector<uint32_t> Sounds;
};

TEST_F(SpellVisual, AMissileTakesEffectOnArrivalAndFinishesAfterItsImpact) {
    World->Scenario->CurrentPlayer = &World->Player(Red);
    for (int x = 0; x < 12; ++x)
        See(x, 2);
    Start(40, 0, 10); // 400 pixels at 4 a tick
    std::vector<uint32_t> effectTicks;
    uint32_t updates = 0;
    while (!Visual.Finished && updates < 1000) {
        const uint32_t tick = Visual.Tick;
        Visual.Advance();
        ++updates;
        if (Visual.EffectNow)
            effectTicks.push_back(tick);
        if (tick == 50) {
            // Half way: the flight sprite, turned towards the east, 10 pixels up.
            ASSERT_EQ(Visual.Particles.Count(), 1);
            EXPECT_EQ(Visual.Particles[0]->Sprite, &Flight);
            EXPECT_EQ(Visual.Particles[0]->X, 20 + 204);
            EXPECT_EQ(Visual.Particles[0]->Y, 90);
        }
    }
    EXPECT_EQ(effectTicks, std::vector<uint32_t>{100});
    EXPECT_EQ(updates, 100u + 20u + 2u);
    // Cast and flight sounds at tick 0 (no cast phase), the impact at arrival.
    EXPECT_EQ(Sounds, (std::vector<uint32_t>{0, 0, 100}));
}

TEST_F(SpellVisual, UnseenCastsAreSilentAndInvisibleToThePlayerOnTurn) {
    World->Scenario->CurrentPlayer = &World->Player(Red);
    Start(2, 8, 8);
    Visual.Advance();
    EXPECT_TRUE(Sounds.empty());
    EXPECT_EQ(Visual.Particles.Count(), 0);
    See(8, 2);
    Start(2, 8, 8);
    Visual.Advance();
    // No cast or flight phase: all three sounds start at once.
    EXPECT_EQ(Sounds.size(), 3u);
    ASSERT_EQ(Visual.Particles.Count(), 1);
    EXPECT_EQ(Visual.Particles[0]->Frame, 0u);
}

// A computer or a remote player on turn must neither show this machine's player what
// it sees nor hide what this player sees.
TEST_F(SpellVisual, EffectsFollowThePlayerAtThisMachineWhoeverIsOnTurn) {
    World->Scenario->CurrentPlayer = &World->Player(Blue);
    ASSERT_EQ(World->Scenario->ViewingPlayer(), &World->Player(Red));
    World->Player(Blue).Fog->Cells[size_t(2 * 12 + 8)] = fsVisible;
    Start(2, 8, 8);
    Visual.Advance();
    EXPECT_TRUE(Sounds.empty());
    EXPECT_EQ(Visual.Particles.Count(), 0);
    See(8, 2);
    World->Player(Blue).Fog->Cells[size_t(2 * 12 + 8)] = 0;
    Start(2, 8, 8);
    Visual.Advance();
    EXPECT_EQ(Sounds.size(), 3u);
    EXPECT_EQ(Visual.Particles.Count(), 1);
}

TEST_F(SpellVisual, ABarrageLaunchesAMissileEveryEightTicks) {
    World->Scenario->CurrentPlayer = &World->Player(Red);
    for (int x = 0; x < 12; ++x)
        See(x, 2);
    Start(31, 0, 10);
    while (Visual.Tick < 17)
        Visual.Advance();
    // Ticks 0, 8 and 16 have launched; the first is a fifth of the way grown and more.
    ASSERT_EQ(Visual.Particles.Count(), 3);
    EXPECT_FLOAT_EQ(Visual.Particles[2]->ScaleX, 0.2f + 0.8f * 1 / 100);
    EXPECT_EQ(Visual.Particles[0]->Y, 100 - 15);
}

// The effect is prepared on a worker thread, which makes no device surfaces; the turned
// missile still has to show on the map, the cast sprite near the caster, the flight
// sprite half way and the impact at the target.
TEST_F(SpellVisual, EachPhaseOfAMissileIsDrawnWhereItBelongs) {
    SpriteTests::TScopedDisplay display;
    World->Scenario->CurrentPlayer = &World->Player(Red);
    for (int x = 0; x < 12; ++x)
        See(x, 2);
    const auto cast = Solid(0xFFFF0000), flight = Solid(0xFF00FF00), impact = Solid(0xFF0000FF);
    Data2::TSpellPrototype& record = AddSpell(17, {});
    record.CastTicks = 3;
    record.FlightTicks = 2;
    record.FlightSpeed = 400;
    record.ImpactTicks = 4;
    Visual.Scenario = World->Scenario.get();
    Visual.Prototype = &record;
    Visual.CastSprite = cast.get();
    Visual.FlightSprite = flight.get();
    Visual.ImpactSprite = impact.get();
    Visual.StartSpellAnimation(20, 100, 100, 420); // 400 pixels at 4 a tick
    Win32::IDirectDrawSurface7* screen = display.BackBuffer();
    const RECT clip{0, 0, 800, 600};
    const auto pixelAfter = [&](uint32_t tick, int x, int y) {
        while (Visual.Tick < tick)
            Visual.Advance();
        return DrawnPixel(screen, clip, x, y);
    };
    // 10 pixels above the line from caster to target.
    EXPECT_EQ(pixelAfter(5, 40, 90), 0xF800u);
    EXPECT_EQ(pixelAfter(51, 224, 90), 0x07E0u);
    EXPECT_EQ(pixelAfter(102, 420, 100), 0x001Fu);
    Visual.CastSprite = Visual.FlightSprite = Visual.ImpactSprite = nullptr;
}

// The map view's clip holds the turned and scaled drawings too, and is let go after.
TEST_F(SpellVisual, AnEffectAtTheEdgeOfTheMapViewStaysInsideIt) {
    SpriteTests::TScopedDisplay display;
    World->Scenario->CurrentPlayer = &World->Player(Red);
    See(10, 2);
    const auto impact = Solid(0xFF0000FF);
    Data2::TSpellPrototype& record = AddSpell(26, {}); // drawn at twice its size
    record.ImpactTicks = 4;
    Visual.Scenario = World->Scenario.get();
    Visual.Prototype = &record;
    Visual.ImpactSprite = impact.get();
    Visual.StartSpellAnimation(420, 100, 100, 420);
    Visual.Advance();
    Win32::IDirectDrawSurface7* screen = display.BackBuffer();
    EXPECT_EQ(DrawnPixel(screen, {0, 0, 421, 600}, 414, 100), 0x001Fu);
    EXPECT_EQ(DrawnPixel(screen, {0, 0, 421, 600}, 424, 100), 0u);
    EXPECT_EQ(DrawnPixel(screen, {0, 0, 800, 600}, 424, 100), 0x001Fu);
    Visual.ImpactSprite = nullptr;
}

TEST_F(SpellVisual, RevealTakesEffectInTheFirstUpdate) {
    Start(33, 2, 2);
    Visual.Advance();
    EXPECT_TRUE(Visual.EffectNow);
}

TEST_F(MapSpellTest, ASpellCastFromAGroupLandsThroughTheScenariosUpdate) {
    InstallMapSpells(*World->Scenario);
    AddSpell(60, {5, 50, 0});
    TGroup* target = AddGroup(Blue, 4, 2, {Knight});
    World->Scenario->CurrentPlayer = &World->Player(Red);
    World->Player(Red).SelectObject(CasterGroup);
    ASSERT_TRUE(CasterGroup->StartSpellCast(Caster->ID, 60, 4, 2));
    // The effect is prepared on a worker thread, which a loaded machine may start late:
    // keep the frames coming until it lands, within a generous bound.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (target->UnitAt(0)->Effective.Value(HITPOINTS) == 40 &&
           std::chrono::steady_clock::now() < deadline) {
        World->Scenario->Update();
        std::this_thread::yield();
    }
    EXPECT_EQ(target->UnitAt(0)->Effective.Value(HITPOINTS), 40 - 8);
}

// The spell library has no lock, and the main thread releases the sprites of the
// effect before: the cast takes its sprites on the main thread before the worker
// starts, and the worker's preparation takes none.
TEST_F(MapSpellTest, ACastTakesItsSpritesOnTheMainThread) {
    std::vector<Tools::TBytes> sprites;
    for (const uint32_t id : {1u, 2u, 3u}) {
        Tools::TSpriteOptions options;
        options.ID = id;
        sprites.push_back(Tools::EncodeSprite(
            {SpriteTests::Picture(4, 4, [](int, int) { return 0xFF00FF00u; })}, options));
    }
    Gfx::TSpriteList& library = Data.Global().SpellLibrary;
    library.OpenDirectory(
        std::make_unique<ClassLib::TMemoryStream>(Tools::EncodeSpriteLibrary(9, sprites)));
    Data2::TSpellPrototype& spell = AddSpell(60, {5, 50, 0});
    spell.CastSpriteID = 1;
    spell.FlightSpriteID = 2;
    spell.ImpactSpriteID = 3;

    // The worker waits at the door of its preparation until the test lets it in.
    struct THeldEffect : TMapSpellEffect {
        THeldEffect(TScenario& scenario, std::atomic<bool>& open)
            : TMapSpellEffect(scenario), Open(open) {}
        void Prepare(const TSpellCast& cast, const std::function<bool()>& stop) override {
            while (!Open && !stop())
                std::this_thread::yield();
            TMapSpellEffect::Prepare(cast, stop);
        }
        std::atomic<bool>& Open;
    };
    std::atomic<bool> open{false};
    World->Scenario->SpellEffects = [&open](TScenario& owner) -> std::unique_ptr<TSpellEffect> {
        return std::make_unique<THeldEffect>(owner, open);
    };
    const auto references = [&] {
        std::vector<int32_t> counts;
        for (const Gfx::TSpriteEntry& entry : library.Directory())
            counts.push_back(entry.References);
        return counts;
    };
    // Each sprite: one reference for the effect, one for keeping it loaded.
    const std::vector<int32_t> held{2, 2, 2};
    World->Scenario->CurrentPlayer = &World->Player(Red);
    ASSERT_TRUE(CasterGroup->StartSpellCast(Caster->ID, 60, 4, 2));
    EXPECT_EQ(references(), held);
    open = true;
    while (CasterGroup->IsCastThreadRunning())
        std::this_thread::yield();
    EXPECT_EQ(references(), held);
}

TEST_F(MapSpellTest, APreparationStopsInTheMiddleAndNeverTakesEffect) {
    Data2::TSpellPrototype& spell = AddSpell(60, {5, 50, 0});
    TMapSpellEffect effect(*World->Scenario);
    TSpellCast cast;
    cast.Prototype = &spell;
    Base::TActionThread thread;
    std::atomic<int> polls{0};
    struct TPreparation {
        void Run() {
            Effect.Prepare(Cast, [this] {
                // The second poll waits for the stop, as a long preparation would meet it.
                if (++Polls == 2)
                    while (!Thread.StopRequested())
                        std::this_thread::yield();
                return Thread.StopRequested();
            });
        }
        TMapSpellEffect& Effect;
        const TSpellCast& Cast;
        Base::TActionThread& Thread;
        std::atomic<int>& Polls;
    } preparation{effect, cast, thread, polls};
    thread.SetMethodAction(&TPreparation::Run, &preparation);
    thread.Start(0);
    while (polls < 2)
        std::this_thread::yield();
    thread.Stop();
    EXPECT_FALSE(thread.IsRunning());
    EXPECT_TRUE(effect.Finished());
    effect.Advance();
    EXPECT_FALSE(effect.EffectNow());
}

} // namespace
} // namespace MapSpellTests
