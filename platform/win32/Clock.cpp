#include "platform/win32/Clock.h"

#include <chrono>
#include <thread>

namespace Win32 {

namespace {
TSteadyClock steadyClock;
std::atomic<TClock*> currentClock{&steadyClock};
} // namespace

uint32_t TSteadyClock::Now() {
    const auto elapsed = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

void TSteadyClock::Sleep(uint32_t milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void SetSystemClock(TClock* clock) {
    currentClock.store(clock ? clock : &steadyClock);
}
TClock& SystemClock() {
    return *currentClock.load();
}

uint32_t timeGetTime() {
    return SystemClock().Now();
}
uint32_t GetTickCount() {
    return SystemClock().Now();
}
void Sleep(uint32_t milliseconds) {
    SystemClock().Sleep(milliseconds);
}

} // namespace Win32
