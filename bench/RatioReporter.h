// A console reporter that keeps every repetition's rate (items or bytes per second), real
// time and counters, and after the table prints the summary it was given: measurements as
// ratios of the references measured in the same run, each from the best repetitions and
// from the medians. Other programs on the machine only ever slow a repetition down, so the
// best one is the steadiest figure; the median shows how typical it is.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace Bench {

// The smallest and the middle of a set of samples.
struct TSpread {
    double Min = 0;
    double Median = 0;
    double Max = 0;
};

inline TSpread SpreadOf(std::vector<double> samples) {
    if (samples.empty())
        return {};
    std::sort(samples.begin(), samples.end());
    const size_t n = samples.size();
    const double median = n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
    return {samples.front(), median, samples.back()};
}

class TRatioReporter : public benchmark::ConsoleReporter {
public:
    explicit TRatioReporter(std::function<void(TRatioReporter&)> summary)
        : FSummary(std::move(summary)) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred)
                continue;
            const std::string name = run.benchmark_name();
            const auto& counters = run.counters;
            const auto items = counters.find("items_per_second");
            const auto bytes = counters.find("bytes_per_second");
            FRates[name].push_back(items != counters.end()   ? double(items->second)
                                   : bytes != counters.end() ? double(bytes->second)
                                                             : 0.0);
            FTimes[name].push_back(run.GetAdjustedRealTime());
            for (const auto& [counter, value] : counters)
                FCounters[name][counter].push_back(double(value));
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        PrintLoadAverage("at the end");
        std::printf("\nRatios (throughput of ours / throughput of the reference; best repetitions "
                    "and medians):\n");
        FSummary(*this);
    }

    // Prints ours / reference from the fastest repetition of each and from the medians;
    // a target of 0 means the figure has none.
    void Ratio(const char* ours, const char* reference, double target) {
        const TSpread a = Rate(ours), b = Rate(reference);
        if (a.Max <= 0 || b.Max <= 0) {
            std::printf("  %-34s / %-36s : not measured\n", ours, reference);
            return;
        }
        std::printf("  %-34s / %-36s = best %.2fx, median %.2fx", ours, reference, a.Max / b.Max,
                    a.Median / b.Median);
        if (target > 0)
            std::printf(" (target at least %.2fx)", target);
        std::printf("\n");
    }
    // The reference's time over ours: how many times slower ours is.
    void Slowdown(const char* ours, const char* reference, double target) {
        const TSpread a = Time(ours), b = Time(reference);
        if (a.Min <= 0 || b.Min <= 0) {
            std::printf("  %-34s / %-36s : not measured\n", ours, reference);
            return;
        }
        std::printf("  %-34s / %-36s = best %.1f times the time, median %.1f times", ours,
                    reference, a.Min / b.Min, a.Median / b.Median);
        if (target > 0)
            std::printf(" (target at most %.1f)", target);
        std::printf("\n");
    }

    // Per second, over the repetitions: Max is the fastest.
    TSpread Rate(const std::string& name) { return SpreadOf(FRates[name]); }
    // Real time of one iteration in the benchmark's unit, over the repetitions.
    TSpread Time(const std::string& name) { return SpreadOf(FTimes[name]); }
    TSpread Counter(const std::string& name, const std::string& counter) {
        return SpreadOf(FCounters[name][counter]);
    }

    // A busy machine slows every figure; the load average says how busy it was.
    static void PrintLoadAverage(const char* when) {
        double load[3] = {};
        if (getloadavg(load, 3) == 3)
            std::printf("Load average %s of the run: %.2f %.2f %.2f (1, 5, 15 minutes)\n", when,
                        load[0], load[1], load[2]);
    }

private:
    std::function<void(TRatioReporter&)> FSummary;
    std::map<std::string, std::vector<double>> FRates;
    std::map<std::string, std::vector<double>> FTimes;
    std::map<std::string, std::map<std::string, std::vector<double>>> FCounters;
};

// Runs the benchmarks named on the command line (all by default) with the ratio report.
// Unless the command line says otherwise each runs five times, so that min and median
// mean something, and the repetitions of all benchmarks are interleaved in random order,
// so that a busy spell on the machine does not fall on one benchmark's repetitions only.
inline int RunWithRatios(int argc, char** argv, std::function<void(TRatioReporter&)> summary) {
    std::vector<char*> args(argv, argv + argc);
    const auto add = [&](const char* flag, char* argument) {
        if (std::none_of(args.begin(), args.end(), [&](const char* arg) {
                return std::strncmp(arg, flag, std::strlen(flag)) == 0;
            }))
            args.push_back(argument);
    };
    static char repetitions[] = "--benchmark_repetitions=5";
    static char interleaving[] = "--benchmark_enable_random_interleaving=true";
    add("--benchmark_repetitions", repetitions);
    add("--benchmark_enable_random_interleaving", interleaving);
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 1;
    TRatioReporter reporter(std::move(summary));
    TRatioReporter::PrintLoadAverage("at the start");
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

} // namespace Bench
