// Weather: particle counts rise and fall within their pools, particles wrap inside
// the weather tile, the looping sounds follow the weather, and nothing of the
// weather reaches the game's state.
#include "engine/core/Random.h"
#include "engine/graphics/SpriteDrawing.h"
#include "game/world/objects/MapSounds.h"
#include "tests/engine/graphics/SpriteFixtures.h"
#include "tests/game/world/CityGroupFixture.h"

#include <cstdlib>

namespace CityGroupTests {
namespace {

class TWeatherSounds : public TMapSounds {
public:
    int EffectVolume() const override { return 100; }
    int PlayEffectByID(uint32_t soundID, int) override {
        Effects.push_back(soundID);
        return 0;
    }
    bool IsTrackPlaying(int track) const override { return track == 1 && Looping != 0; }
    void SetTrackVolume(int, int) override {}
    void FadeOutTrack(int track) override {
        if (track == 1)
            Looping = 0;
    }
    void PlayInterfaceSound(uint32_t soundID, int volume, bool loop) override {
        EXPECT_TRUE(loop);
        Looping = soundID;
        LoopVolume = volume;
    }
    std::vector<uint32_t> Effects;
    uint32_t Looping = 0;
    int LoopVolume = 0;
};

class WeatherTest : public CityGroupTest {
protected:
    WeatherTest() {
        for (int i = 0; i < 3; ++i)
            Data.SetConstant(Data2::gcFirstStepHeight + i, 10 * (i + 1));
        Scenario().BeginTurnOf(Red);
    }

    template <typename T>
    static int Alive(const Data::TDataList<T>& pool) {
        int alive = 0;
        for (const T* particle : pool)
            alive += particle->IsAlive();
        return alive;
    }

    const std::array<int32_t, 6>& Counters() { return Scenario().WeatherCounters; }
};

TEST_F(WeatherTest, ParticleCountsRiseAndFallWithinTheirPools) {
    TScenario& scenario = Scenario();
    scenario.SetWeather(1);
    for (int i = 0; i < 300; ++i)
        scenario.Update();
    EXPECT_EQ(Counters()[3], 75);
    EXPECT_EQ(Alive(scenario.RainDrops), 75);

    // Rain gives way to snow: the rain dies out while the snow rises.
    scenario.SetWeather(2);
    for (int i = 0; i < 2000; ++i) {
        scenario.Update();
        ASSERT_LE(Alive(scenario.RainDrops), RainDropCount);
        ASSERT_LE(Alive(scenario.SnowFlakes), SnowFlakeCount);
        ASSERT_EQ(Alive(scenario.RainDrops), Counters()[3]);
        ASSERT_EQ(Alive(scenario.SnowFlakes), Counters()[4]);
    }
    EXPECT_EQ(Counters()[0], 0);
    EXPECT_EQ(Counters()[3], 0);
    EXPECT_EQ(Counters()[1], SnowFlakeCount);
    EXPECT_EQ(scenario.RainDrops.Count(), RainDropCount);

    // A sand storm fills its whole pool, then falls by two per update to nothing.
    scenario.SetWeather(3);
    for (int i = 0; i < 1000; ++i)
        scenario.Update();
    EXPECT_EQ(Counters()[2], SandSeedCount);
    ASSERT_LE(Alive(scenario.SandSeeds), SandSeedCount);
    scenario.SetWeather(0);
    scenario.Update();
    EXPECT_EQ(Counters()[2], SandSeedCount - 2);
    for (int i = 0; i < 1000; ++i)
        scenario.Update();
    EXPECT_EQ(Counters()[2], 0);
    EXPECT_EQ(Alive(scenario.SandSeeds), 0);
}

TEST_F(WeatherTest, ParticlesWrapInsideTheTile) {
    TWeatherSurface surface;
    TRainDrop drop;
    drop.Start(250, 100, 0x1234, 0, 5, 0); // landed at once: falling from height 0
    drop.ScreenX = 250;
    drop.ScreenY = 100;
    TPlainRandom random;
    drop.Draw(surface, 10, 0, random);
    EXPECT_EQ(surface.At(4, 100), 0x1234);
    EXPECT_EQ(surface.At(4, 99), 0x1234);
    EXPECT_EQ(surface.At(5, 97), 0x1234); // the streak leans right as it rises

    TSandSeed seed;
    seed.Start(0, 0, 0, 0x4321, 0, 1, 0);
    seed.ScreenX = -3;
    seed.ScreenY = 258;
    seed.Draw(surface, 0, 0);
    EXPECT_EQ(surface.At(253, 2), 0x4321);
}

TEST_F(WeatherTest, LoopingSoundsFollowTheWeatherAndTheOverlayIsSilent) {
    TWeatherSounds sounds;
    Scenario().Sounds = &sounds;
    Data.Global().WeatherSounds[1] = {21, 50};
    Data.Global().WeatherSounds[2] = {22, 40};
    Scenario().SetWeather(1);
    Scenario().Update();
    EXPECT_EQ(sounds.Looping, 21u);
    EXPECT_EQ(sounds.LoopVolume, 50);
    Scenario().SetWeather(2);
    EXPECT_EQ(sounds.Looping, 0u); // faded out, the next update starts the new one
    Scenario().Update();
    EXPECT_EQ(sounds.Looping, 22u);
    Scenario().SetWeather(4);
    Scenario().Update();
    EXPECT_EQ(sounds.Looping, 0u);
    Scenario().Sounds = nullptr;
}

TEST_F(WeatherTest, TheOverlayCoversTheViewInsteadOfParticles) {
    constexpr int OverlaySlot = 1110;
    constexpr uint16_t Background = 0x1234;
    SpriteTests::TScopedDisplay display;
    const SpriteTests::TPicture picture = SpriteTests::Picture(8, 6, [](int x, int y) {
        return 0xFF000040u | uint32_t(x * 30) << 16 | uint32_t(y * 40) << 8;
    });
    auto overlay = SpriteTests::LoadSprite(Tools::EncodeSprite({picture}, {}), Gfx::sfConvert);
    overlay->PrepareSurfaces(false);
    Data.Global().CommonSprites[OverlaySlot] = overlay.get();
    Scenario().CreateSurfaces();

    Scenario().SetWeather(4);
    for (int i = 0; i < 100; ++i)
        Scenario().Update();
    EXPECT_EQ(Counters()[3] + Counters()[4] + Counters()[5], 0) << "no particles";

    Win32::IDirectDrawSurface7* screen = display.BackBuffer();
    Win32::DDBLTFX fill;
    fill.dwFillColor = Background;
    screen->Blt(nullptr, nullptr, nullptr, Win32::DDBLT_COLORFILL, &fill);
    const RECT clip{40, 30, 200, 150}; // the picture twenty times as large
    Scenario().DrawWeather(screen, 333, clip, 77);
    const std::vector<uint32_t> pixels = TestSupport::ReadPixels(*screen);
    int wrong = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 240; ++x) {
            const bool inside =
                x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom;
            const uint16_t expected = inside
                                          ? SpriteTests::Expected(picture, (x - clip.left) / 20,
                                                                  (y - clip.top) / 20, Background)
                                          : Background;
            if (pixels[size_t(y) * 800 + size_t(x)] != expected && wrong++ < 3)
                ADD_FAILURE() << "pixel " << x << "," << y;
        }
    EXPECT_EQ(wrong, 0);

    Scenario().FreeSurfaces();
    Data.Global().CommonSprites[OverlaySlot] = nullptr;
}

// The state of the game a peer keeps in step: every object's stored form, the
// units and the game's random state.
std::vector<uint8_t> GameStateDigest(const TScenario& scenario) {
    ClassLib::TMemoryStream stream;
    for (const TMapObject* object : scenario.Objects)
        object->SaveToStream(&stream);
    for (const TUnit* unit : scenario.Units)
        unit->SaveToStream(&stream);
    stream.WriteValue(Base::RandomSeed.Low);
    stream.WriteValue(Base::RandomSeed.High);
    return stream.Bytes();
}

TEST_F(WeatherTest, TheWeatherLeavesTheGameStateAlone) {
    const auto run = [this](bool weather) {
        Base::RandomSeed = {1234, 5678};
        std::srand(7); // idle looks and corpses: the same on both runs
        World = std::make_unique<TestSupport::TTinyWorld>();
        World->Scenario->BeginTurnOf(Red);
        TGroup* group = World->AddGroup(Red, 1, 1);
        for (int i = 0; i < 3; ++i)
            group->AddUnit(Make(SoldierID), true, false);
        group->SplitMarks = {0, 0, 1}; // the split draws from the game's state
        group->Facing = 2;
        group->MoveTo(3, 1, true, 0);
        for (int i = 0; i < 600; ++i) {
            if (weather && i % 150 == 0)
                World->Scenario->SetWeather(1 + (i / 150) % 3);
            World->Scenario->Update();
            World->Scenario->DrawWeatherParticles();
            Player(Red).TakeAction();
        }
        return GameStateDigest(*World->Scenario);
    };
    const std::vector<uint8_t> calm = run(false);
    const Base::TRandomSeed calmSeed = Base::RandomSeed;
    const std::vector<uint8_t> stormy = run(true);
    EXPECT_EQ(Base::RandomSeed.Low, calmSeed.Low);
    EXPECT_EQ(Base::RandomSeed.High, calmSeed.High);
    EXPECT_EQ(stormy, calm);
}

} // namespace
} // namespace CityGroupTests
