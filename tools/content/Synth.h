// Building blocks of the synthesised sounds: a mono signal of real samples,
// table oscillators, noise, envelopes and a resonant filter. Everything is
// deterministic: noise comes from seeded generators, never from the clock.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace Content {

class TSignal {
public:
    TSignal(uint32_t rate, double seconds);

    uint32_t Rate() const { return FRate; }
    size_t Size() const { return FSamples.size(); }
    double Seconds() const { return double(FSamples.size()) / FRate; }
    float& operator[](size_t index) { return FSamples[index]; }
    float operator[](size_t index) const { return FSamples[index]; }
    std::span<float> Samples() { return FSamples; }
    std::span<const float> Samples() const { return FSamples; }
    size_t Frame(double seconds) const;

    // Scales so that the loudest sample reaches peak (a silent signal stays silent).
    void Normalize(double peak);
    // Adds other, scaled, from the sample at start on (clipped to this signal).
    void Mix(const TSignal& other, double start, double gain);
    // Blends the part beyond loopSeconds over the start and cuts it off, so the
    // signal repeats without a seam.
    void MakeLoop(double loopSeconds);

private:
    uint32_t FRate;
    std::vector<float> FSamples;
};

// Mono or interleaved stereo 16-bit samples, clipped.
std::vector<int16_t> ToPCM16(const TSignal& signal);
std::vector<int16_t> ToPCM16(const TSignal& left, const TSignal& right);

// A small xorshift generator: the same seed gives the same sound on every machine.
class TRandom {
public:
    explicit TRandom(uint32_t seed) : FState(seed ? seed : 0x9E3779B9u) {}
    uint32_t Next();
    // Uniform in [-1, 1).
    double Signed() { return Next() / 2147483648.0 - 1.0; }
    // Uniform in [0, 1).
    double Unit() { return Next() / 4294967296.0; }

private:
    uint32_t FState;
};

// Attack, decay to a sustain level, release at the end of the note; times in seconds.
struct TEnvelope {
    double Attack = 0.005;
    double Decay = 0.1;
    double Sustain = 0.0;
    double Release = 0.05;
    double At(double t, double length) const;
};

// A partial: a multiple of the fundamental, its amplitude and its own decay
// rate (per second, 0 for none), so bells and plucks lose their overtones first.
struct TPartial {
    double Ratio;
    double Amplitude;
    double DecayRate = 0.0;
};

struct TTone {
    double Start = 0.0;
    double Length = 0.1;
    double From = 440.0; // frequency glides exponentially from From to To
    double To = 440.0;
    double Amplitude = 0.5;
    TEnvelope Envelope;
    double VibratoRate = 0.0;  // Hz
    double VibratoDepth = 0.0; // fraction of the frequency
};
void AddTone(TSignal& signal, const TTone& tone, std::span<const TPartial> partials);

// A state-variable filter; cutoff in Hz, resonance 0 (none) to below 1.
class TFilter {
public:
    TFilter(uint32_t rate, double cutoff, double resonance);
    void SetCutoff(double cutoff);
    // Feeds one sample; the three outputs are read afterwards.
    void Step(double input);
    double Low() const { return FLow; }
    double Band() const { return FBand; }
    double High() const { return FHigh; }

private:
    uint32_t FRate;
    double FF = 0.0;
    double FDamp;
    double FLow = 0.0, FBand = 0.0, FHigh = 0.0;
};

enum class TFilterKind { Low, Band, High };
struct TNoiseBurst {
    double Start = 0.0;
    double Length = 0.1;
    double Amplitude = 0.5;
    TEnvelope Envelope;
    TFilterKind Kind = TFilterKind::Band;
    double From = 1000.0; // cutoff glides exponentially from From to To
    double To = 1000.0;
    double Resonance = 0.3;
    uint32_t Seed = 1;
};
void AddNoise(TSignal& signal, const TNoiseBurst& burst);

} // namespace Content
