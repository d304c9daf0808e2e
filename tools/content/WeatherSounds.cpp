#include "tools/content/SoundDesigns.h"

#include <cmath>
#include <numbers>

namespace Content {

namespace {

// Each loop is made a little longer than it plays and its tail blended over its start.
constexpr double Overlap = 0.5;

// A slow gust curve: the sum of a few sines whose periods divide the loop, so
// the wind itself also repeats without a jump.
double Gust(double t, double loop, double phase) {
    const double x = t / loop;
    return 0.55 + 0.25 * std::sin(2 * std::numbers::pi * (2 * x + phase)) +
           0.15 * std::sin(2 * std::numbers::pi * (5 * x + 2 * phase)) +
           0.05 * std::sin(2 * std::numbers::pi * (11 * x + 3 * phase));
}

// Noise through a filter whose cutoff and loudness follow the gusts.
void AddWind(TSignal& s, double loop, double low, double high, double resonance, double amplitude,
             uint32_t seed, double phase) {
    TRandom random(seed);
    TFilter filter(s.Rate(), low, resonance);
    for (size_t i = 0; i < s.Size(); ++i) {
        const double t = double(i) / s.Rate();
        const double gust = Gust(t, loop, phase);
        if (i % 32 == 0)
            filter.SetCutoff(low + (high - low) * gust);
        filter.Step(random.Signed());
        s[i] += static_cast<float>(filter.Band() * amplitude * gust);
    }
}

TSignal Rain() {
    constexpr double loop = 4.0;
    TSignal s(EffectRate, loop + Overlap);
    // The steady hiss of rain far and near.
    AddNoise(s, {.Length = s.Seconds(),
                 .Amplitude = 0.25,
                 .Envelope = {0, 0, 1, 0},
                 .Kind = TFilterKind::Low,
                 .From = 3500,
                 .To = 3500,
                 .Seed = 201});
    AddNoise(s, {.Length = s.Seconds(),
                 .Amplitude = 0.08,
                 .Envelope = {0, 0, 1, 0},
                 .Kind = TFilterKind::High,
                 .From = 6000,
                 .To = 6000,
                 .Seed = 202});
    // Single drops on leaves and puddles.
    TRandom random(203);
    for (int i = 0; i < 420; ++i) {
        const double t = random.Unit() * s.Seconds();
        const double f = 1200 + random.Unit() * 3800;
        AddNoise(s, {.Start = t,
                     .Length = 0.015,
                     .Amplitude = 0.1 + random.Unit() * 0.25,
                     .Envelope = {0.0005, 0.012, 0, 0.001},
                     .From = f,
                     .To = f * 0.7,
                     .Resonance = 0.85,
                     .Seed = random.Next()});
    }
    s.MakeLoop(loop);
    return s;
}

TSignal SnowWind() {
    constexpr double loop = 6.0;
    TSignal s(EffectRate, loop + Overlap);
    AddWind(s, loop, 250, 900, 0.6, 0.9, 211, 0.0);
    // A thin whistle through the trees.
    AddWind(s, loop, 1100, 1700, 0.95, 0.12, 212, 0.37);
    s.MakeLoop(loop);
    return s;
}

TSignal SandStorm() {
    constexpr double loop = 5.0;
    TSignal s(EffectRate, loop + Overlap);
    AddWind(s, loop, 500, 1600, 0.4, 0.8, 221, 0.2);
    // Sand grains hiss against each other.
    AddNoise(s, {.Length = s.Seconds(),
                 .Amplitude = 0.15,
                 .Envelope = {0, 0, 1, 0},
                 .Kind = TFilterKind::High,
                 .From = 5000,
                 .To = 5000,
                 .Seed = 222});
    s.MakeLoop(loop);
    return s;
}

} // namespace

std::vector<TSound> WeatherSounds() {
    std::vector<TSound> sounds;
    sounds.push_back({21, Rain()});
    sounds.push_back({22, SnowWind()});
    sounds.push_back({23, SandStorm()});
    for (TSound& sound : sounds)
        sound.Signal.Normalize(0.7);
    return sounds;
}

} // namespace Content
