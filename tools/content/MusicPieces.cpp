#include "tools/content/ContentIds.h"
#include "tools/content/SoundDesigns.h"

#include <array>
#include <cmath>

namespace Content {

namespace {

struct TNote {
    int Key; // MIDI key number, 0 for a rest
    double Beats;
};

struct TPiece {
    uint32_t ID;
    double Tempo;                           // beats a minute, four beats a bar
    std::vector<std::array<int, 3>> Chords; // one chord a bar, MIDI keys
    std::vector<TNote> Melody;
    bool Drums;
    double Brightness; // 0 soft .. 1 bright
};

double Hz(int key) {
    return 440.0 * std::pow(2.0, (key - 69) / 12.0);
}

constexpr std::array<TPartial, 4> Pad{{{1, 0.5}, {2, 0.25}, {3, 0.12}, {4, 0.06}}};
constexpr std::array<TPartial, 5> Harp{
    {{1, 0.6, 2.0}, {2, 0.3, 4.0}, {3, 0.15, 6.0}, {4, 0.1, 9.0}, {5, 0.05, 12.0}}};
constexpr std::array<TPartial, 3> Flute{{{1, 0.8}, {2, 0.12}, {3, 0.05}}};
constexpr std::array<TPartial, 2> Bass{{{1, 0.8, 1.5}, {2, 0.3, 3.0}}};
constexpr std::array<TPartial, 1> Thump{{{1, 1.0}}};

// The stereo image: each instrument has its place, pan -1 left to 1 right.
struct TStereo {
    TSignal Left, Right;
    void Add(const TSignal& mono, double pan, double gain) {
        Left.Mix(mono, 0, gain * (1 - pan));
        Right.Mix(mono, 0, gain * (1 + pan));
    }
};

// A little room: two echoes per side that feed back, so the notes do not stop dead.
void AddEcho(TSignal& s, double delay, double feedback) {
    const size_t d = s.Frame(delay);
    for (size_t i = d; i < s.Size(); ++i)
        s[i] += static_cast<float>(s[i - d] * feedback);
}

TStereoSound Render(const TPiece& piece) {
    const double beat = 60.0 / piece.Tempo;
    const double bar = 4 * beat;
    const double length = piece.Chords.size() * bar + 3.0;
    TSignal pad(MusicRate, length), harp(MusicRate, length), lead(MusicRate, length),
        bass(MusicRate, length), drums(MusicRate, length);

    for (size_t b = 0; b < piece.Chords.size(); ++b) {
        const auto& chord = piece.Chords[b];
        const double start = b * bar;
        const bool last = b + 1 == piece.Chords.size();
        const double hold = last ? bar + 2.5 : bar + 0.3;
        for (const int key : chord)
            AddTone(pad,
                    {.Start = start,
                     .Length = hold,
                     .From = Hz(key),
                     .To = Hz(key),
                     .Amplitude = 0.12,
                     .Envelope = {0.4, 0.5, 0.8, 0.6},
                     .VibratoRate = 4.5,
                     .VibratoDepth = 0.003},
                    Pad);
        AddTone(bass,
                {.Start = start,
                 .Length = 2 * beat,
                 .From = Hz(chord[0] - 12),
                 .To = Hz(chord[0] - 12),
                 .Amplitude = 0.35,
                 .Envelope = {0.01, 0.5, 0.5, 0.2}},
                Bass);
        AddTone(bass,
                {.Start = start + 2 * beat,
                 .Length = last ? bar + 2 : 2 * beat,
                 .From = Hz(chord[0] - 12),
                 .To = Hz(chord[0] - 12),
                 .Amplitude = 0.3,
                 .Envelope = {0.01, 0.5, 0.5, 0.2}},
                Bass);
        // Broken chords in eighths: up the chord, the octave, and back.
        constexpr std::array<int, 8> pattern{0, 1, 2, 3, 2, 1, 2, 1};
        for (int i = 0; i < (last ? 1 : 8); ++i) {
            const int key = pattern[i] == 3 ? chord[0] + 12 : chord[pattern[i]];
            AddTone(harp,
                    {.Start = start + i * beat / 2,
                     .Length = last ? 3.0 : 1.2,
                     .From = Hz(key + 12),
                     .To = Hz(key + 12),
                     .Amplitude = i % 2 ? 0.12 : 0.16,
                     .Envelope = {0.003, 1.0, 0, 0.2}},
                    Harp);
        }
        if (piece.Drums && !last)
            for (int i = 0; i < 4; ++i) {
                if (i % 2 == 0)
                    AddTone(drums,
                            {.Start = start + i * beat,
                             .Length = 0.25,
                             .From = 110,
                             .To = 45,
                             .Amplitude = 0.6,
                             .Envelope = {0.002, 0.2, 0, 0.03}},
                            Thump);
                AddNoise(drums, {.Start = start + (i + 0.5) * beat,
                                 .Length = 0.06,
                                 .Amplitude = 0.12,
                                 .Envelope = {0.001, 0.05, 0, 0.005},
                                 .Kind = TFilterKind::High,
                                 .From = 7000,
                                 .To = 7000,
                                 .Seed = static_cast<uint32_t>(b * 4 + i + 1)});
            }
    }

    double t = 0;
    for (const TNote& note : piece.Melody) {
        const double seconds = note.Beats * beat;
        if (note.Key > 0)
            AddTone(lead,
                    {.Start = t,
                     .Length = seconds + 0.08,
                     .From = Hz(note.Key),
                     .To = Hz(note.Key),
                     .Amplitude = 0.22,
                     .Envelope = {0.04, 0.15, 0.75, 0.1},
                     .VibratoRate = 5.2,
                     .VibratoDepth = 0.004 + 0.002 * piece.Brightness},
                    Flute);
        t += seconds;
    }

    TStereo mix{TSignal(MusicRate, length), TSignal(MusicRate, length)};
    mix.Add(pad, -0.3, 0.8);
    mix.Add(harp, 0.35, 0.6 + 0.3 * piece.Brightness);
    mix.Add(lead, 0.05, 0.9);
    mix.Add(bass, 0.0, 0.8);
    mix.Add(drums, 0.1, 0.7);
    AddEcho(mix.Left, 0.31, 0.25);
    AddEcho(mix.Right, 0.23, 0.25);
    mix.Left.Normalize(0.85);
    mix.Right.Normalize(0.85);
    return {piece.ID, std::move(mix.Left), std::move(mix.Right)};
}

TPiece MainMenu() {
    // D minor, stately: a harp under a flute.
    return {1,
            80,
            {{50, 53, 57},
             {46, 50, 53},
             {53, 57, 60},
             {48, 52, 55},
             {50, 53, 57},
             {55, 58, 62},
             {57, 61, 64},
             {50, 53, 57}},
            {{69, 2}, {65, 1}, {67, 1}, {65, 1.5}, {64, 0.5}, {62, 2}, {72, 2},
             {69, 1}, {65, 1}, {67, 3}, {0, 1},    {69, 1},   {74, 2}, {72, 1},
             {70, 2}, {69, 1}, {67, 1}, {64, 1},   {69, 1},   {73, 2}, {74, 4}},
            false,
            0.3};
}

TPiece MapTheme() {
    // C major, walking pace, with a drum.
    return {2,
            104,
            {{48, 52, 55},
             {53, 57, 60},
             {55, 59, 62},
             {48, 52, 55},
             {57, 60, 64},
             {53, 57, 60},
             {55, 59, 62},
             {48, 52, 55},
             {48, 52, 55},
             {53, 57, 60},
             {55, 59, 62},
             {48, 52, 55}},
            {{76, 1}, {79, 1}, {76, 1}, {72, 1}, {77, 1}, {81, 1}, {77, 1},   {72, 1},
             {74, 1}, {71, 1}, {67, 1}, {71, 1}, {72, 2}, {67, 2}, {69, 1},   {72, 1},
             {76, 1}, {81, 1}, {81, 1}, {79, 1}, {77, 1}, {76, 1}, {74, 1.5}, {76, 0.5},
             {74, 1}, {71, 1}, {72, 4}, {79, 1}, {76, 1}, {79, 1}, {84, 1},   {81, 2},
             {77, 2}, {79, 1}, {77, 1}, {76, 1}, {74, 1}, {72, 3}, {0, 1}},
            true,
            1.0};
}

TPiece Credits() {
    // A minor turning to C major, slow and warm.
    return {3,
            72,
            {{57, 60, 64},
             {53, 57, 60},
             {48, 52, 55},
             {55, 59, 62},
             {57, 60, 64},
             {53, 57, 60},
             {55, 60, 62},
             {48, 52, 55}},
            {{76, 2},
             {69, 2},
             {72, 2},
             {77, 2},
             {76, 3},
             {74, 1},
             {74, 2},
             {71, 2},
             {72, 1},
             {71, 1},
             {69, 2},
             {77, 2},
             {76, 2},
             {74, 2},
             {79, 2},
             {76, 4}},
            false,
            0.5};
}

TPiece Market() {
    // F major, an easy stroll past the stalls: a lilting tune over a soft pulse.
    return {TownMusicID,
            92,
            {{53, 57, 60},
             {58, 62, 65},
             {53, 57, 60},
             {48, 52, 55},
             {50, 53, 57},
             {58, 62, 65},
             {48, 52, 55},
             {53, 57, 60}},
            {{72, 1},   {74, 0.5}, {76, 0.5}, {77, 1}, {72, 1}, {74, 1}, {77, 1},   {82, 1},
             {81, 1},   {77, 1.5}, {76, 0.5}, {74, 1}, {72, 1}, {67, 1}, {70, 1},   {72, 1},
             {76, 1},   {74, 1},   {69, 1},   {72, 1}, {77, 1}, {74, 1}, {77, 0.5}, {79, 0.5},
             {82, 1.5}, {81, 0.5}, {79, 1},   {76, 1}, {72, 1}, {74, 1}, {76, 1},   {77, 3}},
            false,
            0.6};
}

} // namespace

std::vector<TStereoSound> MusicPieces() {
    std::vector<TStereoSound> pieces;
    for (const TPiece& piece : {MainMenu(), MapTheme(), Credits(), Market()})
        pieces.push_back(Render(piece));
    return pieces;
}

} // namespace Content
