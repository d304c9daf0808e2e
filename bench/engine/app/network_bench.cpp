// Round trip of a 68-byte guaranteed message (a player action) between two
// processes on 127.0.0.1 through the network framework, reported as the median
// of single round trips, against the same round trip of 68 bytes through a pair
// of pipes between two processes (what the operating system alone costs).
// The benchmark starts copies of itself as the echoing processes.
#include "bench/RatioReporter.h"
#include "engine/app/DPFrame.h"
#include "tests/support/ChildProcess.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstring>
#include <iostream>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

using namespace Win32;
using DPFrame::TDPFramework;
using TClock = std::chrono::steady_clock;

constexpr int WaitMs = 60000;

TDirectPlayOptions LoopbackOptions(uint16_t searchPort) {
    TDirectPlayOptions options;
    options.SearchPort = searchPort;
    options.LocalNetwork = false;
    return options;
}

std::string SelfPath() {
    char path[4096];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    return length > 0 ? std::string(path, static_cast<size_t>(length)) : std::string();
}

double Microseconds(TClock::duration duration) {
    return std::chrono::duration<double, std::micro>(duration).count();
}

double Percentile(std::vector<double> samples, double fraction) {
    if (samples.empty())
        return 0;
    const size_t index = std::min(samples.size() - 1, size_t(fraction * double(samples.size())));
    std::nth_element(samples.begin(), samples.begin() + ptrdiff_t(index), samples.end());
    return samples[index];
}

// Echo side: joins the session on this machine and sends every message back to its sender.
int Echo(uint16_t port) {
    TDPFramework framework(LoopbackOptions(port));
    framework.InitializeConnection(framework.CreateTCPIPAddress(""));
    const auto deadline = TClock::now() + std::chrono::milliseconds(WaitMs);
    while (framework.Sessions().Count() == 0 && TClock::now() < deadline)
        framework.EnumSessions(100);
    if (framework.Sessions().Count() == 0)
        return 1;
    framework.JoinSession(0);
    DPID local = 0;
    framework.CreatePlayer("Echo", local);
    std::cout << "ready" << std::endl;
    std::vector<uint8_t> message;
    while (true) {
        DPID from = 0;
        if (!framework.Receive(from, local, DPRECEIVE_TOPLAYER, message)) {
            std::this_thread::yield();
            continue;
        }
        if (from != DPID_SYSMSG)
            framework.Send(local, from, DPSEND_GUARANTEED, message.data(),
                           uint32_t(message.size()));
        else if (message.size() >= 4 && message[0] == DPSYS_SESSIONLOST)
            return 0;
    }
}

// Pipe side: sends every line back.
int PipeEcho() {
    std::string line;
    while (std::getline(std::cin, line))
        std::cout << line << '\n' << std::flush;
    return 0;
}

// Median of single 68-byte round trips through pipes between two processes, in µs.
double PipeRoundTripMedian(int count) {
    TestSupport::TChildProcess echo(SelfPath(), {"--pipe-echo"});
    const std::string message(67, 'x');
    std::vector<double> samples;
    std::string line;
    for (int i = 0; i < count; ++i) {
        const auto start = TClock::now();
        if (!echo.Write(message + "\n") || !echo.ReadLine(line, WaitMs))
            return 0;
        samples.push_back(Microseconds(TClock::now() - start));
    }
    return Percentile(samples, 0.5);
}

void BM_GuaranteedRoundTrip68(benchmark::State& state) {
    const double pipeMedian = PipeRoundTripMedian(2000);

    TDPFramework framework(LoopbackOptions(0));
    framework.InitializeConnection(framework.CreateTCPIPAddress(""));
    framework.HostSession("bench", 0x2044, 8, 100, 0, 0, 0);
    DPID local = 0;
    framework.CreatePlayer("Bench", local);
    TestSupport::TChildProcess echo(
        SelfPath(), {"--echo", std::to_string(framework.DirectPlay().SearchPort())});
    std::string line;
    if (!echo.ReadLine(line, WaitMs) || line != "ready") {
        state.SkipWithError("the echoing process did not join");
        return;
    }
    framework.EnumPlayers(0);
    DPID other = 0;
    for (const DPFrame::TPlayerInfo* player : framework.Players())
        if (player->ID != local)
            other = player->ID;

    std::vector<uint8_t> action(68, 0x11);
    std::vector<uint8_t> reply;
    const auto roundTrip = [&] {
        framework.Send(local, other, DPSEND_GUARANTEED, action.data(), 68);
        DPID from = 0;
        while (!framework.Receive(from, local, DPRECEIVE_TOPLAYER, reply) || from != other) {
        }
    };
    for (int i = 0; i < 200; ++i)
        roundTrip();
    std::vector<double> samples;
    for (auto _ : state) {
        const auto start = TClock::now();
        roundTrip();
        samples.push_back(Microseconds(TClock::now() - start));
    }
    const double median = Percentile(samples, 0.5);
    state.counters["median_us"] = median;
    state.counters["p99_us"] = Percentile(samples, 0.99);
    state.counters["pipe_median_us"] = pipeMedian;
    state.counters["x_pipe"] = pipeMedian > 0 ? median / pipeMedian : 0;
}
BENCHMARK(BM_GuaranteedRoundTrip68)->Iterations(5000)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    std::signal(SIGPIPE, SIG_IGN);
    if (argc == 3 && std::strcmp(argv[1], "--echo") == 0)
        return Echo(uint16_t(std::stoi(argv[2])));
    if (argc == 2 && std::strcmp(argv[1], "--pipe-echo") == 0)
        return PipeEcho();
    return Bench::RunWithRatios(argc, argv, [](Bench::TRatioReporter& r) {
        const char* const name = "BM_GuaranteedRoundTrip68/iterations:5000/real_time";
        const auto ratio = r.Counter(name, "x_pipe");
        const auto median = r.Counter(name, "median_us");
        std::printf("  68-byte guaranteed round trip, median of single trips: best %.1f us, "
                    "median %.1f us\n",
                    median.Min, median.Median);
        std::printf("  the same / a round trip through pipes: best %.2f times the time, median "
                    "%.2f times\n",
                    ratio.Min, ratio.Median);
    });
}
