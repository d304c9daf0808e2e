#include "tools/content/SoundDesigns.h"

#include <algorithm>
#include <array>

namespace Content {

namespace {

// A vowel: the formants a voice rings at, in Hz.
struct TVowel {
    double F1, F2, F3;
};

// Pulses of a voice through three resonators that glide from vowel to vowel.
void AddVowels(TSignal& s, std::span<const TVowel> vowels, double pitch, double pitchEnd) {
    std::array<TFilter, 3> formants{TFilter(s.Rate(), vowels[0].F1, 0.9),
                                    TFilter(s.Rate(), vowels[0].F2, 0.9),
                                    TFilter(s.Rate(), vowels[0].F3, 0.9)};
    const double length = s.Seconds();
    const double part = length / vowels.size();
    double phase = 0;
    for (size_t i = 0; i < s.Size(); ++i) {
        const double t = double(i) / s.Rate();
        const size_t v = std::min(vowels.size() - 1, static_cast<size_t>(t / part));
        const size_t next = std::min(vowels.size() - 1, v + 1);
        const double f = t / part - v;
        const TVowel& a = vowels[v];
        const TVowel& b = vowels[next];
        if (i % 32 == 0) {
            formants[0].SetCutoff(a.F1 + (b.F1 - a.F1) * f);
            formants[1].SetCutoff(a.F2 + (b.F2 - a.F2) * f);
            formants[2].SetCutoff(a.F3 + (b.F3 - a.F3) * f);
        }
        phase += (pitch + (pitchEnd - pitch) * t / length) / s.Rate();
        // A glottal pulse: a sharp step once a period.
        double pulse = 0;
        if (phase >= 1) {
            phase -= 1;
            pulse = 1;
        }
        double out = 0;
        for (TFilter& formant : formants) {
            formant.Step(pulse);
            out += formant.Band();
        }
        // Syllables: the voice swells and falls on each vowel.
        const double swell = std::min(1.0, std::min(t, length - t) / 0.04) * (0.6 + 0.4 * f);
        s[i] += static_cast<float>(out * swell);
    }
}

} // namespace

std::vector<TSound> SpeechSounds() {
    // "Ah-eh-oh": a short call like a greeting.
    constexpr std::array<TVowel, 3> vowels{
        {{730, 1090, 2440}, {530, 1840, 2480}, {570, 840, 2410}}};
    TSignal s(EffectRate, 0.9);
    AddVowels(s, vowels, 150, 115);
    s.Normalize(0.8);
    std::vector<TSound> sounds;
    sounds.push_back({1, std::move(s)});
    return sounds;
}

} // namespace Content
