#include "platform/net/DirectPlayLink.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <thread>
#include <unistd.h>

namespace Win32 {
namespace {

using namespace std::chrono_literals;
using TClock = std::chrono::steady_clock;

// Interrupts every blocking call of the process every few milliseconds, as a
// profiler's or a fuzzer's alarm does, for as long as it lives.
class TAlarmStorm {
public:
    TAlarmStorm() {
        struct sigaction action {};
        action.sa_handler = [](int) {};
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGALRM, &action, &FOld);
        const itimerval every2ms{{0, 2000}, {0, 2000}};
        ::setitimer(ITIMER_REAL, &every2ms, nullptr);
    }
    ~TAlarmStorm() {
        const itimerval off{};
        ::setitimer(ITIMER_REAL, &off, nullptr);
        ::sigaction(SIGALRM, &FOld, nullptr);
    }

private:
    struct sigaction FOld {};
};

TEST(PollUntilTest, SignalsNeitherEndTheWaitEarlyNorHideWhatArrives) {
    int ends[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, ends), 0);
    TAlarmStorm alarms;

    pollfd quiet{ends[0], POLLIN, 0};
    const auto start = TClock::now();
    EXPECT_EQ(PollUntil(quiet, start + 60ms), 0);
    EXPECT_GE(TClock::now() - start, 60ms);

    std::thread writer([&] {
        std::this_thread::sleep_for(30ms);
        const char byte = 1;
        EXPECT_EQ(::write(ends[1], &byte, 1), 1);
    });
    pollfd arriving{ends[0], POLLIN, 0};
    EXPECT_EQ(PollUntil(arriving, TClock::now() + 5s), 1);
    EXPECT_TRUE(arriving.revents & POLLIN);
    writer.join();
    ::close(ends[0]);
    ::close(ends[1]);
}

} // namespace
} // namespace Win32
