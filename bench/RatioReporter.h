// A console reporter that keeps each run's rate (items or bytes per second) and real
// time, and after the table prints the summary it was given: measurements as ratios
// of the references measured in the same run.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace Bench {

class TRatioReporter : public benchmark::ConsoleReporter {
public:
    explicit TRatioReporter(std::function<void(TRatioReporter&)> summary)
        : FSummary(std::move(summary)) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const auto& counters = run.counters;
            const auto items = counters.find("items_per_second");
            const auto bytes = counters.find("bytes_per_second");
            FRates[run.benchmark_name()] = items != counters.end()   ? double(items->second)
                                           : bytes != counters.end() ? double(bytes->second)
                                                                     : 0.0;
            FTimes[run.benchmark_name()] = run.GetAdjustedRealTime();
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\nRatios (throughput of ours / throughput of the reference):\n");
        FSummary(*this);
    }

    void Ratio(const char* ours, const char* reference, double target) {
        const double ratio = FRates[reference] > 0 ? FRates[ours] / FRates[reference] : 0.0;
        std::printf("  %-28s / %-36s = %.2fx (target at least %.2fx)\n", ours, reference, ratio,
                    target);
    }
    double Rate(const std::string& name) { return FRates[name]; }
    double Time(const std::string& name) { return FTimes[name]; }

private:
    std::function<void(TRatioReporter&)> FSummary;
    std::map<std::string, double> FRates;
    std::map<std::string, double> FTimes;
};

} // namespace Bench
