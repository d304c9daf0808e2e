#include "tools/content/Synth.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace Content {

namespace {

constexpr int SineSize = 4096;

const std::array<float, SineSize + 1>& SineTable() {
    static const std::array<float, SineSize + 1> table = [] {
        std::array<float, SineSize + 1> values{};
        for (int i = 0; i <= SineSize; ++i)
            values[i] = static_cast<float>(std::sin(2 * std::numbers::pi * i / SineSize));
        return values;
    }();
    return table;
}

// Exponential glide from a to b at fraction f of the way.
double Glide(double a, double b, double f) {
    return a == b ? a : a * std::pow(b / a, f);
}

inline double Sine(const float* table, double phase) {
    const double position = (phase - std::floor(phase)) * SineSize;
    const int index = std::min(static_cast<int>(position), SineSize - 1);
    const double f = position - index;
    return table[index] + (table[index + 1] - table[index]) * f;
}

int16_t Clip16(double value) {
    return static_cast<int16_t>(std::lround(std::clamp(value, -1.0, 1.0) * 32767.0));
}

} // namespace

TSignal::TSignal(uint32_t rate, double seconds)
    : FRate(rate), FSamples(static_cast<size_t>(std::max(0.0, seconds) * rate + 0.5), 0.0f) {}

size_t TSignal::Frame(double seconds) const {
    return static_cast<size_t>(std::max(0.0, seconds) * FRate + 0.5);
}

void TSignal::Normalize(double peak) {
    float most = 0.0f;
    for (const float s : FSamples)
        most = std::max(most, std::fabs(s));
    if (most <= 0.0f)
        return;
    const auto gain = static_cast<float>(peak / most);
    for (float& s : FSamples)
        s *= gain;
}

void TSignal::Mix(const TSignal& other, double start, double gain) {
    const size_t first = Frame(start);
    for (size_t i = 0; i < other.Size() && first + i < Size(); ++i)
        FSamples[first + i] += static_cast<float>(other[i] * gain);
}

void TSignal::MakeLoop(double loopSeconds) {
    const size_t loop = std::min(Frame(loopSeconds), Size());
    const size_t fade = Size() - loop;
    // Equal-power crossfade: the tail fades out where the start fades in.
    for (size_t i = 0; i < fade && i < loop; ++i) {
        const double f = (i + 0.5) / fade;
        const double in = std::sin(f * std::numbers::pi / 2);
        const double out = std::cos(f * std::numbers::pi / 2);
        FSamples[i] = static_cast<float>(FSamples[i] * in + FSamples[loop + i] * out);
    }
    FSamples.resize(loop);
}

std::vector<int16_t> ToPCM16(const TSignal& signal) {
    std::vector<int16_t> pcm(signal.Size());
    for (size_t i = 0; i < signal.Size(); ++i)
        pcm[i] = Clip16(signal[i]);
    return pcm;
}

std::vector<int16_t> ToPCM16(const TSignal& left, const TSignal& right) {
    const size_t frames = std::min(left.Size(), right.Size());
    std::vector<int16_t> pcm(frames * 2);
    for (size_t i = 0; i < frames; ++i) {
        pcm[2 * i] = Clip16(left[i]);
        pcm[2 * i + 1] = Clip16(right[i]);
    }
    return pcm;
}

uint32_t TRandom::Next() {
    FState ^= FState << 13;
    FState ^= FState >> 17;
    FState ^= FState << 5;
    return FState;
}

double TEnvelope::At(double t, double length) const {
    if (t < 0 || t >= length)
        return 0.0;
    double level;
    if (t < Attack)
        level = t / Attack;
    else if (t < Attack + Decay)
        level = 1.0 - (1.0 - Sustain) * (t - Attack) / Decay;
    else
        level = Sustain;
    const double left = length - t;
    if (left < Release)
        level *= left / Release;
    return level;
}

void AddTone(TSignal& signal, const TTone& tone, std::span<const TPartial> partials) {
    const size_t first = std::min(signal.Frame(tone.Start), signal.Size());
    const size_t count = std::min(signal.Frame(tone.Length), signal.Size() - first);
    if (count == 0)
        return;
    const double dt = 1.0 / signal.Rate();
    const double nyquist = signal.Rate() / 2.0;
    // Per-sample factors instead of pow and exp per sample: this runs for every
    // note of the music.
    struct TVoice {
        double Ratio, Amplitude, Decay, Step;
    };
    std::vector<TVoice> voices;
    for (const TPartial& p : partials)
        if (p.Ratio * std::max(tone.From, tone.To) < nyquist)
            voices.push_back({p.Ratio, p.Amplitude, 1.0, std::exp(-p.DecayRate * dt)});
    TVoice* const voice = voices.data();
    size_t audible = voices.size();
    const float* const table = SineTable().data();
    const double glide = std::pow(tone.To / tone.From, 1.0 / double(count));
    float* const out = signal.Samples().data() + first;
    double frequency = tone.From;
    double phase = 0.0;
    for (size_t i = 0; i < count; ++i) {
        const double t = i * dt;
        const double envelope = tone.Envelope.At(t, tone.Length) * tone.Amplitude;
        double sum = 0.0;
        for (size_t v = 0; v < audible; ++v) {
            sum += voice[v].Amplitude * voice[v].Decay * Sine(table, phase * voice[v].Ratio);
            voice[v].Decay *= voice[v].Step;
        }
        // Partials decay fastest from the top: drop the ones that can no longer be heard.
        while (audible > 0 && voice[audible - 1].Decay < 1e-4)
            --audible;
        out[i] += static_cast<float>(sum * envelope);
        double f = frequency;
        if (tone.VibratoDepth > 0)
            f *= 1.0 + tone.VibratoDepth * Sine(table, t * tone.VibratoRate);
        phase += f * dt;
        frequency *= glide;
    }
}

TFilter::TFilter(uint32_t rate, double cutoff, double resonance)
    : FRate(rate), FDamp(2.0 * (1.0 - std::clamp(resonance, 0.0, 0.98))) {
    SetCutoff(cutoff);
}

void TFilter::SetCutoff(double cutoff) {
    const double limited = std::clamp(cutoff, 10.0, FRate / 4.0);
    // The filter rings out of bounds beyond this coefficient for its damping.
    const double stable = 0.9 * (std::sqrt(FDamp * FDamp + 4.0) - FDamp);
    FF = std::min(2.0 * std::sin(std::numbers::pi * limited / FRate), stable);
}

void TFilter::Step(double input) {
    FLow += FF * FBand;
    FHigh = input - FLow - FDamp * FBand;
    FBand += FF * FHigh;
}

void AddNoise(TSignal& signal, const TNoiseBurst& burst) {
    TRandom random(burst.Seed);
    TFilter filter(signal.Rate(), burst.From, burst.Resonance);
    const size_t first = std::min(signal.Frame(burst.Start), signal.Size());
    const size_t count = std::min(signal.Frame(burst.Length), signal.Size() - first);
    const double dt = 1.0 / signal.Rate();
    float* out = signal.Samples().data() + first;
    for (size_t i = 0; i < count; ++i) {
        const double t = i * dt;
        if (burst.From != burst.To && i % 16 == 0)
            filter.SetCutoff(Glide(burst.From, burst.To, t / burst.Length));
        filter.Step(random.Signed());
        const double value = burst.Kind == TFilterKind::Low    ? filter.Low()
                             : burst.Kind == TFilterKind::High ? filter.High()
                                                               : filter.Band();
        out[i] += static_cast<float>(value * burst.Amplitude * burst.Envelope.At(t, burst.Length));
    }
}

} // namespace Content
