// The scenario's weather: the live particle counts rise while a weather lasts and
// fall when it ends, particles restart at random places of the tile, and rain,
// snow and sand are drawn into the weather tile. Particles restart from the
// scenario's stored plain generator, so every peer keeps the same ones; drawing
// and sounds, which differ from machine to machine, draw from the local one.
#include "engine/graphics/GfxPixels.h"
#include "game/world/data/GlobalData.h"
#include "game/world/objects/MapSounds.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/sound/SoundTracks.h"

#include <algorithm>

namespace GameData {

namespace {

enum TWeatherCounter : size_t {
    wcRainTarget = 0,
    wcSnowTarget = 1,
    wcSandTarget = 2,
    wcRainLive = 3,
    wcSnowLive = 4,
    wcSandLive = 5,
};

// Advances the live particles from the last to the first, then restarts dead ones
// from the first until the target is met; returns the live count.
template <typename T, typename Restart>
int32_t StepPool(Data::TDataList<T>& pool, int32_t target, Restart restart) {
    int32_t live = 0;
    for (int i = pool.Count() - 1; i >= 0; --i) {
        T* particle = pool[i];
        if (!particle->IsAlive())
            continue;
        particle->Advance();
        if (particle->IsAlive())
            ++live;
    }
    for (int i = 0; i < pool.Count() && live < target; ++i)
        if (!pool[i]->IsAlive()) {
            restart(*pool[i]);
            ++live;
        }
    return live;
}

} // namespace

void TScenario::UpdateRain() {
    int32_t& target = WeatherCounters[wcRainTarget];
    int32_t& live = WeatherCounters[wcRainLive];
    if (Weather == wsRain) {
        if (FrameCounter % 4 == 0)
            target = std::min<int32_t>(target + 1, RainDropCount);
    } else {
        if (live == 0)
            return;
        if (FrameCounter % 2 == 0)
            target = std::max<int32_t>(target - 1, 0);
    }
    live = StepPool(RainDrops, target, [this](TRainDrop& drop) {
        const int x = PlainRandom.Below(256);
        const int y = PlainRandom.Below(256);
        const int height = 300 + PlainRandom.Below(300);
        const int speed = 4 + PlainRandom.Below(3);
        const int b = 160 + PlainRandom.Below(64);
        const int d = PlainRandom.Below(20);
        const int r = b - (d + PlainRandom.Below(50));
        const uint32_t colour = (uint32_t(r) << 16) | (uint32_t(b - d) << 8) | uint32_t(b);
        drop.Start(x, y, Gfx::PackColor16(colour), 0, speed, height);
    });
}

void TScenario::UpdateSnow() {
    int32_t& target = WeatherCounters[wcSnowTarget];
    int32_t& live = WeatherCounters[wcSnowLive];
    if (Weather == wsSnow) {
        if (FrameCounter % 2 == 0)
            target = std::min<int32_t>(target + 1, SnowFlakeCount);
    } else {
        if (live == 0)
            return;
        if (FrameCounter % 2 == 0)
            target = std::max<int32_t>(target - 1, 0);
    }
    live = StepPool(SnowFlakes, target, [this](TSnowFlake& flake) {
        const int height = 300 + PlainRandom.Below(300);
        const int speed = 1 + PlainRandom.Below(3);
        const int phase = PlainRandom.Below(100);
        const int y = PlainRandom.Below(256);
        const int x = PlainRandom.Below(256);
        flake.Start(x, y, phase, 0, speed, height);
    });
}

void TScenario::UpdateSand() {
    int32_t& target = WeatherCounters[wcSandTarget];
    int32_t& live = WeatherCounters[wcSandLive];
    if (Weather == wsSand) {
        target = std::min<int32_t>(target + 1, SandSeedCount);
    } else {
        if (live == 0)
            return;
        target = std::max<int32_t>(target - 2, 0);
    }
    live = StepPool(SandSeeds, target, [this](TSandSeed& seed) {
        const uint32_t v = 25 + uint32_t(PlainRandom.Below(5));
        const uint32_t colour = ((v * 224 / 30) << 16) | ((v * 192 / 30) << 8) | (v * 152 / 30);
        const int height = 300 + PlainRandom.Below(300);
        const int phase = PlainRandom.Below(100);
        const int x = PlainRandom.Below(256);
        const int y = PlainRandom.Below(256);
        seed.Start(x, y, phase, Gfx::PackColor16(colour), 0, 1, height);
    });
}

bool TScenario::DrawWeatherParticles() {
    const bool rain = WeatherCounters[wcRainLive] > 0;
    const bool snow = WeatherCounters[wcSnowLive] > 0;
    const bool sand = WeatherCounters[wcSandLive] > 0;
    if (!rain && !snow && !sand)
        return false;
    WeatherSurface.Fill(0);
    if (rain)
        for (const TRainDrop* drop : RainDrops)
            drop->Draw(WeatherSurface, 0, 0, EffectRandom);
    if (snow)
        for (const TSnowFlake* flake : SnowFlakes)
            flake->Draw(WeatherSurface, 0, 0);
    if (sand)
        for (const TSandSeed* seed : SandSeeds)
            seed->Draw(WeatherSurface, 0, 0);
    return true;
}

void TScenario::SetWeather(int32_t state) {
    if (state == Weather)
        return;
    Weather = state;
    if (Sounds)
        Sounds->FadeOutTrack(InterfaceTrack);
}

void TScenario::PlayWeatherSounds() {
    if (!Sounds || !Data2::GlobalData || InBattle || InCity)
        return;
    const int option = Sounds->EffectVolume();
    if (option < 1)
        return;
    const Data2::TWeatherSound* sounds = Data2::GlobalData->WeatherSounds;
    // Entry 0 belongs to no weather: it names the thunder heard in the rain.
    const Data2::TWeatherSound& thunder = sounds[wsNone];
    if (Weather == wsRain && thunder.SoundID != 0 && GameTimeMs() % 3000 == 0 &&
        EffectRandom.Below(7) == 0) {
        const int half = thunder.Volume * option / 100 / 2;
        Sounds->PlayEffectByID(uint32_t(thunder.SoundID), half + EffectRandom.Below(half));
    }
    if (Sounds->IsTrackPlaying(InterfaceTrack))
        return;
    if (Weather == wsRain || Weather == wsSnow || Weather == wsSand) {
        const Data2::TWeatherSound& loop = sounds[Weather];
        if (loop.SoundID != 0)
            Sounds->PlayInterfaceSound(uint32_t(loop.SoundID), loop.Volume * option / 100, true);
    }
}

void TScenario::PlayAmbientSound() {
    if (!Sounds || GameTimeMs() % 2000 != 0 || InBattle || InCity || BackSounds.Count() == 0)
        return;
    // Ambient variety: this machine's generator, never the game's.
    if (EffectRandom.Below(5) != 0)
        return;
    const int volume = EffectRandom.Below(Sounds->EffectVolume());
    const int index = EffectRandom.Below(BackSounds.Count());
    Sounds->PlayEffectByID(BackSounds[index], volume);
}

} // namespace GameData
