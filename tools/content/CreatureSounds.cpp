#include "tools/content/SoundDesigns.h"

#include <array>

namespace Content {

namespace {

// How a creature kind sounds: the pitch of its voice, how much of it is breath
// or hiss, and what its attack sounds like.
struct TVoice {
    double Pitch;   // Hz
    double Breath;  // 0 clean voice .. 1 all noise
    double Formant; // Hz, where the voice rings
    bool Rattle;    // bones instead of a voice
    int Weapon;     // 1 blade, 2 blunt, 3 claws and fangs, 4 missile, 5 fire breath
};

// Kinds 1-12: Footman, Archer, Knight, Wolf, Giant Spider, Skeleton, Orc Raider,
// Troll, Fire Drake, Wizard, Priestess, Peasant.
constexpr std::array<TVoice, 12> Voices{{
    {130, 0.2, 700, false, 1},
    {150, 0.2, 800, false, 4},
    {110, 0.15, 600, false, 1},
    {420, 0.3, 1200, false, 3},
    {0, 1.0, 3500, false, 3},
    {0, 0.0, 0, true, 1},
    {100, 0.35, 550, false, 1},
    {65, 0.4, 400, false, 2},
    {85, 0.6, 500, false, 5},
    {170, 0.2, 900, false, 4},
    {240, 0.15, 1000, false, 4},
    {145, 0.25, 750, false, 2},
}};

// A voiced sound: harmonics falling off like a rough throat.
constexpr std::array<TPartial, 6> Throat{
    {{1, 0.6}, {2, 0.45}, {3, 0.3}, {4, 0.2}, {5, 0.12}, {7, 0.06}}};
constexpr std::array<TPartial, 3> Bone{{{1.0, 0.7, 60.0}, {2.9, 0.3, 90.0}, {4.7, 0.2, 120.0}}};

void AddCry(TSignal& s, const TVoice& v, double start, double length, double from, double to,
            uint32_t seed) {
    if (v.Pitch > 0)
        AddTone(s,
                {.Start = start,
                 .Length = length,
                 .From = v.Pitch * from,
                 .To = v.Pitch * to,
                 .Amplitude = 0.6 * (1 - v.Breath),
                 .Envelope = {0.03, length * 0.4, 0.6, 0.1},
                 .VibratoRate = 6,
                 .VibratoDepth = 0.02},
                Throat);
    AddNoise(s, {.Start = start,
                 .Length = length,
                 .Amplitude = 0.2 + 0.6 * v.Breath,
                 .Envelope = {0.03, length * 0.4, 0.5, 0.1},
                 .From = v.Formant * from,
                 .To = v.Formant * to,
                 .Resonance = 0.6,
                 .Seed = seed});
}

void AddRattle(TSignal& s, double start, double length, uint32_t seed) {
    TRandom random(seed);
    for (double t = start; t < start + length; t += 0.03 + random.Unit() * 0.05) {
        const double f = 900 + random.Unit() * 700;
        AddTone(s,
                {.Start = t,
                 .Length = 0.06,
                 .From = f,
                 .To = f,
                 .Amplitude = 0.5,
                 .Envelope = {0.001, 0.05, 0, 0.005}},
                Bone);
    }
}

TSignal Attack(const TVoice& v, uint32_t seed) {
    TSignal s(EffectRate, 0.6);
    switch (v.Weapon) {
    case 1: // a swing
        AddNoise(s, {.Start = 0.1,
                     .Length = 0.18,
                     .Amplitude = 0.5,
                     .Envelope = {0.08, 0.08, 0, 0.02},
                     .From = 900,
                     .To = 4000,
                     .Seed = seed});
        break;
    case 2: // a heavy swing
        AddNoise(s, {.Start = 0.1,
                     .Length = 0.28,
                     .Amplitude = 0.6,
                     .Envelope = {0.15, 0.1, 0, 0.03},
                     .From = 300,
                     .To = 1200,
                     .Seed = seed});
        break;
    case 3: // a snap of jaws
        AddNoise(s, {.Start = 0.15,
                     .Length = 0.05,
                     .Amplitude = 0.8,
                     .Envelope = {0.002, 0.04, 0, 0.005},
                     .From = 2200,
                     .To = 1200,
                     .Resonance = 0.5,
                     .Seed = seed});
        break;
    case 4: // a bowstring or a spell thrown
        AddTone(s,
                {.Start = 0.05,
                 .Length = 0.2,
                 .From = 180,
                 .To = 160,
                 .Amplitude = 0.5,
                 .Envelope = {0.002, 0.18, 0, 0.02}},
                Throat);
        AddNoise(s, {.Start = 0.06,
                     .Length = 0.25,
                     .Amplitude = 0.3,
                     .Envelope = {0.05, 0.15, 0, 0.05},
                     .From = 3000,
                     .To = 1500,
                     .Seed = seed});
        break;
    default: // fire breath
        AddNoise(s, {.Start = 0.05,
                     .Length = 0.5,
                     .Amplitude = 0.7,
                     .Envelope = {0.08, 0.3, 0.4, 0.1},
                     .Kind = TFilterKind::Low,
                     .From = 400,
                     .To = 2000,
                     .Seed = seed});
        break;
    }
    if (v.Rattle)
        AddRattle(s, 0.0, 0.3, seed + 1);
    else
        AddCry(s, v, 0.0, 0.3, 1.1, 1.25, seed + 2);
    return s;
}

TSignal Death(const TVoice& v, uint32_t seed, bool second) {
    const double length = second ? 0.9 : 0.7;
    TSignal s(EffectRate, length + 0.1);
    if (v.Rattle) {
        AddRattle(s, 0.0, length, seed);
    } else {
        AddCry(s, v, 0.0, length * 0.8, second ? 1.3 : 1.1, second ? 0.6 : 0.7, seed);
        // The body falls.
        AddTone(s,
                {.Start = length * 0.75,
                 .Length = 0.15,
                 .From = 90,
                 .To = 50,
                 .Amplitude = 0.5,
                 .Envelope = {0.002, 0.12, 0, 0.02}},
                Throat);
    }
    return s;
}

} // namespace

std::vector<TSound> CreatureSounds() {
    std::vector<TSound> sounds;
    for (uint32_t kind = 1; kind <= Voices.size(); ++kind) {
        const TVoice& voice = Voices[kind - 1];
        const uint32_t seed = 1000 + kind * 10;
        sounds.push_back({100 + 3 * kind, Attack(voice, seed)});
        sounds.push_back({101 + 3 * kind, Death(voice, seed + 3, false)});
        sounds.push_back({102 + 3 * kind, Death(voice, seed + 6, true)});
    }
    for (TSound& sound : sounds)
        sound.Signal.Normalize(0.8);
    return sounds;
}

} // namespace Content
