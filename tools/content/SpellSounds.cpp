#include "tools/content/SoundDesigns.h"

#include <array>

namespace Content {

namespace {

enum TPhase { phCast, phFlight, phImpact };

constexpr std::array<TPartial, 1> Pure{{{1.0, 1.0}}};
constexpr std::array<TPartial, 4> Bell{
    {{1.0, 0.6, 3.0}, {2.0, 0.3, 5.0}, {3.01, 0.2, 7.0}, {4.2, 0.1, 9.0}}};
constexpr std::array<TPartial, 4> Chime{
    {{1.0, 0.5, 6.0}, {2.76, 0.3, 9.0}, {5.4, 0.2, 14.0}, {8.9, 0.1, 20.0}}};
constexpr std::array<TPartial, 5> Choir{{{1, 0.5}, {2, 0.3}, {3, 0.2}, {4, 0.1}, {5, 0.05}}};
constexpr std::array<TPartial, 6> Buzz{
    {{1, 0.5}, {2, 0.25}, {3, 0.17}, {4, 0.12}, {5, 0.1}, {6, 0.08}}};

double Length(TPhase phase) {
    return phase == phImpact ? 0.9 : 0.6;
}

// A rising (cast), travelling (flight) or falling (impact) sweep of the family's noise.
void Sweep(TSignal& s, TPhase phase, TFilterKind kind, double low, double high, double amplitude,
           double resonance, uint32_t seed) {
    const double from = phase == phImpact ? high : low;
    const double to = phase == phImpact ? low : high;
    AddNoise(s, {.Length = s.Seconds(),
                 .Amplitude = amplitude,
                 .Envelope = {phase == phImpact ? 0.005 : 0.15, 0.2, 0.6, 0.2},
                 .Kind = kind,
                 .From = from,
                 .To = to,
                 .Resonance = resonance,
                 .Seed = seed});
}

void Arpeggio(TSignal& s, std::span<const double> notes, double step, double amplitude,
              std::span<const TPartial> partials) {
    for (size_t i = 0; i < notes.size(); ++i)
        AddTone(s,
                {.Start = i * step,
                 .Length = s.Seconds() - i * step,
                 .From = notes[i],
                 .To = notes[i],
                 .Amplitude = amplitude,
                 .Envelope = {0.005, 0.3, 0.3, 0.2}},
                partials);
}

void Crackle(TSignal& s, int count, double low, double high, uint32_t seed) {
    TRandom random(seed);
    for (int i = 0; i < count; ++i) {
        const double f = low + random.Unit() * (high - low);
        AddNoise(s, {.Start = random.Unit() * s.Seconds() * 0.9,
                     .Length = 0.012,
                     .Amplitude = 0.2 + random.Unit() * 0.3,
                     .Envelope = {0.0005, 0.01, 0, 0.001},
                     .From = f,
                     .To = f,
                     .Resonance = 0.7,
                     .Seed = random.Next()});
    }
}

TSignal Spell(int family, TPhase phase) {
    TSignal s(EffectRate, Length(phase));
    const auto seed = static_cast<uint32_t>(3000 + family * 10 + phase);
    const double down = phase == phImpact ? 0.5 : 1.0;
    switch (family) {
    case 1: // fire: roaring, crackling flame
        Sweep(s, phase, TFilterKind::Low, 200, 1800, 0.8, 0.3, seed);
        Crackle(s, phase == phImpact ? 60 : 30, 1500, 5000, seed + 1);
        break;
    case 2: { // ice: glassy chimes and a crack
        constexpr std::array<double, 4> notes{1568, 2093, 2637, 3136};
        Arpeggio(s, notes, 0.06, 0.25, Chime);
        if (phase == phImpact)
            AddNoise(s, {.Length = 0.08,
                         .Amplitude = 0.8,
                         .Envelope = {0.001, 0.07, 0, 0.005},
                         .Kind = TFilterKind::High,
                         .From = 3000,
                         .To = 3000,
                         .Seed = seed});
        break;
    }
    case 3: // lightning: a buzzing zap, thunder on impact
        AddTone(s,
                {.Length = s.Seconds() * 0.7,
                 .From = 90 / down,
                 .To = 60 * down,
                 .Amplitude = 0.4,
                 .Envelope = {0.005, 0.2, 0.4, 0.1},
                 .VibratoRate = 31,
                 .VibratoDepth = 0.3},
                Buzz);
        Crackle(s, 40, 3000, 7000, seed);
        if (phase == phImpact)
            AddNoise(s, {.Start = 0.05,
                         .Length = 0.8,
                         .Amplitude = 1.0,
                         .Envelope = {0.01, 0.5, 0.2, 0.2},
                         .Kind = TFilterKind::Low,
                         .From = 300,
                         .To = 80,
                         .Seed = seed + 1});
        break;
    case 4: { // holy light: a bright major chord sung
        constexpr std::array<double, 3> chord{523.25, 659.25, 783.99};
        for (const double f : chord)
            AddTone(s,
                    {.Length = s.Seconds(),
                     .From = f * down,
                     .To = f,
                     .Amplitude = 0.25,
                     .Envelope = {0.08, 0.2, 0.7, 0.25},
                     .VibratoRate = 5.5,
                     .VibratoDepth = 0.006},
                    Choir);
        break;
    }
    case 5: { // darkness: a low, beating minor drone
        constexpr std::array<double, 3> chord{98.0, 116.5, 146.8};
        for (const double f : chord)
            AddTone(s,
                    {.Length = s.Seconds(),
                     .From = f,
                     .To = f * (phase == phImpact ? 0.8 : 1.0),
                     .Amplitude = 0.3,
                     .Envelope = {0.1, 0.2, 0.7, 0.2},
                     .VibratoRate = 3,
                     .VibratoDepth = 0.01},
                    Buzz);
        Sweep(s, phase, TFilterKind::Low, 100, 600, 0.4, 0.5, seed);
        break;
    }
    case 6: { // nature: rustling leaves and a chirp
        Sweep(s, phase, TFilterKind::Band, 1500, 4000, 0.5, 0.2, seed);
        AddTone(s,
                {.Start = 0.1,
                 .Length = 0.12,
                 .From = 2800,
                 .To = 3900,
                 .Amplitude = 0.3,
                 .Envelope = {0.01, 0.1, 0, 0.01}},
                Pure);
        AddTone(s,
                {.Start = 0.3,
                 .Length = 0.1,
                 .From = 3200,
                 .To = 4200,
                 .Amplitude = 0.25,
                 .Envelope = {0.01, 0.08, 0, 0.01}},
                Pure);
        break;
    }
    case 7: // earth: rumble and falling stones
        Sweep(s, phase, TFilterKind::Low, 60, 300, 1.0, 0.4, seed);
        Crackle(s, phase == phImpact ? 25 : 8, 300, 1200, seed + 1);
        break;
    case 8: { // arcane: a shimmering run of fourths
        constexpr std::array<double, 5> notes{440, 587.3, 784, 1046.5, 1396.9};
        Arpeggio(s, notes, phase == phImpact ? 0.03 : 0.08, 0.25, Bell);
        AddTone(s,
                {.Length = s.Seconds(),
                 .From = 880 * down,
                 .To = 1760 * down,
                 .Amplitude = 0.15,
                 .Envelope = {0.05, 0.2, 0.5, 0.2},
                 .VibratoRate = 13,
                 .VibratoDepth = 0.04},
                Pure);
        break;
    }
    case 9: { // healing: a gentle rising bell arpeggio
        constexpr std::array<double, 4> notes{523.25, 659.25, 783.99, 1046.5};
        Arpeggio(s, notes, 0.09, 0.3, Bell);
        break;
    }
    default: // wind: a whooshing gust
        Sweep(s, phase, TFilterKind::Band, 400, 2500, 1.0, 0.7, seed);
        break;
    }
    return s;
}

} // namespace

std::vector<TSound> SpellSounds() {
    std::vector<TSound> sounds;
    for (uint32_t family = 1; family <= 10; ++family)
        for (const TPhase phase : {phCast, phFlight, phImpact}) {
            sounds.push_back({300 + 3 * family + phase, Spell(static_cast<int>(family), phase)});
            sounds.back().Signal.Normalize(0.8);
        }
    return sounds;
}

} // namespace Content
