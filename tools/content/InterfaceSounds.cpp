#include "tools/content/SoundDesigns.h"

#include <array>

namespace Content {

namespace {

constexpr std::array<TPartial, 1> Pure{{{1.0, 1.0}}};
// Inharmonic partials of a small metal plate: coins, mail and plate armour.
constexpr std::array<TPartial, 4> Metal{
    {{1.0, 0.6, 18.0}, {2.76, 0.35, 26.0}, {5.40, 0.2, 40.0}, {8.93, 0.12, 60.0}}};
constexpr std::array<TPartial, 3> Wood{{{1.0, 0.7, 30.0}, {2.3, 0.25, 60.0}, {4.1, 0.1, 90.0}}};

TSignal Click() {
    TSignal s(EffectRate, 0.06);
    AddNoise(s, {.Length = 0.012,
                 .Amplitude = 0.8,
                 .Envelope = {0.0005, 0.01, 0, 0.001},
                 .From = 3500,
                 .To = 2500,
                 .Resonance = 0.5,
                 .Seed = 11});
    AddTone(s,
            {.Length = 0.05,
             .From = 1400,
             .To = 1100,
             .Amplitude = 0.4,
             .Envelope = {0.001, 0.04, 0, 0.005}},
            Wood);
    return s;
}

TSignal Hover() {
    TSignal s(EffectRate, 0.04);
    AddTone(s,
            {.Length = 0.035,
             .From = 2400,
             .To = 2600,
             .Amplitude = 0.3,
             .Envelope = {0.004, 0.02, 0.2, 0.01}},
            Pure);
    return s;
}

TSignal SpellFails() {
    TSignal s(EffectRate, 0.6);
    constexpr std::array<TPartial, 3> hollow{{{1.0, 0.6}, {2.0, 0.2}, {3.0, 0.15}}};
    AddTone(s,
            {.Length = 0.55,
             .From = 620,
             .To = 140,
             .Amplitude = 0.5,
             .Envelope = {0.01, 0.2, 0.5, 0.2},
             .VibratoRate = 11,
             .VibratoDepth = 0.03},
            hollow);
    AddNoise(s, {.Start = 0.05,
                 .Length = 0.5,
                 .Amplitude = 0.25,
                 .Envelope = {0.02, 0.3, 0.2, 0.15},
                 .Kind = TFilterKind::High,
                 .From = 4000,
                 .To = 1500,
                 .Seed = 12});
    return s;
}

// Parchment rustles over a wooden roller: a crackling band of noise.
TSignal Parchment(bool opening) {
    TSignal s(EffectRate, 0.5);
    TRandom random(opening ? 21 : 22);
    for (int i = 0; i < 28; ++i) {
        const double t = 0.03 + random.Unit() * 0.4;
        AddNoise(s, {.Start = t,
                     .Length = 0.02 + random.Unit() * 0.04,
                     .Amplitude = 0.15 + random.Unit() * 0.2,
                     .Envelope = {0.002, 0.02, 0.1, 0.01},
                     .From = 1800 + random.Unit() * 2500,
                     .To = 1500 + random.Unit() * 2000,
                     .Resonance = 0.4,
                     .Seed = random.Next()});
    }
    AddNoise(s, {.Length = 0.48,
                 .Amplitude = 0.12,
                 .Envelope = {0.1, 0.2, 0.6, 0.15},
                 .From = opening ? 900.0 : 2400.0,
                 .To = opening ? 2400.0 : 900.0,
                 .Seed = 23});
    // The roller knocks against its stop when the scroll is open or closed.
    AddTone(s,
            {.Start = opening ? 0.42 : 0.0,
             .Length = 0.07,
             .From = 220,
             .To = 180,
             .Amplitude = 0.5,
             .Envelope = {0.001, 0.06, 0, 0.01}},
            Wood);
    return s;
}

TSignal ListTick() {
    TSignal s(EffectRate, 0.03);
    AddNoise(s, {.Length = 0.008,
                 .Amplitude = 0.5,
                 .Envelope = {0.0005, 0.007, 0, 0.0005},
                 .From = 5000,
                 .Resonance = 0.6,
                 .Seed = 31});
    return s;
}

TSignal Coins() {
    TSignal s(EffectRate, 0.7);
    TRandom random(41);
    for (int i = 0; i < 6; ++i) {
        const double t = i * 0.07 + random.Unit() * 0.04;
        const double f = 2300 + random.Unit() * 1300;
        AddTone(s,
                {.Start = t,
                 .Length = 0.25,
                 .From = f,
                 .To = f,
                 .Amplitude = 0.3,
                 .Envelope = {0.001, 0.2, 0, 0.05}},
                Metal);
    }
    return s;
}

// The sound of a blow: the weapon's attack, then the armour's answer.
TSignal Hit(int weapon, int armour) {
    TSignal s(EffectRate, 0.45);
    const auto seed = static_cast<uint32_t>(100 + weapon * 10 + armour);
    switch (weapon) {
    case 1: // blade: a quick swish
        AddNoise(s, {.Length = 0.08,
                     .Amplitude = 0.35,
                     .Envelope = {0.03, 0.04, 0, 0.01},
                     .From = 1500,
                     .To = 5000,
                     .Seed = seed});
        break;
    case 2: // blunt: a heavy thud
        AddTone(s,
                {.Start = 0.02,
                 .Length = 0.18,
                 .From = 140,
                 .To = 60,
                 .Amplitude = 0.8,
                 .Envelope = {0.002, 0.15, 0, 0.02}},
                Pure);
        break;
    case 3: // claws and fangs: two tearing rips
        for (int i = 0; i < 2; ++i)
            AddNoise(s, {.Start = i * 0.06,
                         .Length = 0.05,
                         .Amplitude = 0.5,
                         .Envelope = {0.005, 0.04, 0, 0.005},
                         .From = 2500,
                         .To = 900,
                         .Resonance = 0.5,
                         .Seed = seed + static_cast<uint32_t>(i)});
        break;
    default: // arrow: a whistle, then the point strikes
        AddNoise(s, {.Length = 0.1,
                     .Amplitude = 0.3,
                     .Envelope = {0.06, 0.03, 0, 0.01},
                     .From = 3000,
                     .To = 1800,
                     .Resonance = 0.8,
                     .Seed = seed});
        break;
    }
    const double impact = weapon == 4 ? 0.1 : 0.04;
    switch (armour) {
    case 1: // hide: a dull smack
        AddNoise(s, {.Start = impact,
                     .Length = 0.12,
                     .Amplitude = 0.8,
                     .Envelope = {0.001, 0.1, 0, 0.01},
                     .Kind = TFilterKind::Low,
                     .From = 700,
                     .To = 300,
                     .Seed = seed + 5});
        break;
    case 2: // mail: rings jingle
        AddNoise(s, {.Start = impact,
                     .Length = 0.25,
                     .Amplitude = 0.4,
                     .Envelope = {0.001, 0.2, 0, 0.03},
                     .Kind = TFilterKind::High,
                     .From = 6000,
                     .To = 4000,
                     .Seed = seed + 5});
        AddTone(s,
                {.Start = impact,
                 .Length = 0.2,
                 .From = 3100,
                 .To = 3100,
                 .Amplitude = 0.2,
                 .Envelope = {0.001, 0.15, 0, 0.03}},
                Metal);
        break;
    default: // plate and bone: a ringing clang
        AddTone(s,
                {.Start = impact,
                 .Length = 0.38,
                 .From = 820,
                 .To = 800,
                 .Amplitude = 0.6,
                 .Envelope = {0.001, 0.3, 0, 0.05}},
                Metal);
        AddNoise(s, {.Start = impact,
                     .Length = 0.04,
                     .Amplitude = 0.5,
                     .Envelope = {0.001, 0.03, 0, 0.005},
                     .From = 2500,
                     .Seed = seed + 5});
        break;
    }
    return s;
}

} // namespace

std::vector<TSound> InterfaceSounds() {
    std::vector<TSound> sounds;
    sounds.push_back({1, Click()});
    sounds.push_back({2, Hover()});
    sounds.push_back({3, SpellFails()});
    sounds.push_back({4, Parchment(true)});
    sounds.push_back({5, Parchment(false)});
    sounds.push_back({6, ListTick()});
    sounds.push_back({7, Coins()});
    for (int weapon = 1; weapon <= 4; ++weapon)
        for (int armour = 1; armour <= 3; ++armour)
            sounds.push_back(
                {static_cast<uint32_t>(8 + 3 * (weapon - 1) + (armour - 1)), Hit(weapon, armour)});
    for (TSound& sound : sounds)
        sound.Signal.Normalize(0.8);
    return sounds;
}

} // namespace Content
