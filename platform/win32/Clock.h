// The system clock as Windows offers it (timeGetTime, GetTickCount, Sleep). The
// program runs on the steady clock; tests install a manual clock so that time
// moves only when they say so.
#pragma once

#include <atomic>
#include <cstdint>

namespace Win32 {

class TClock {
public:
    virtual ~TClock() = default;
    // Milliseconds since an arbitrary start; wraps around like the Windows call.
    virtual uint32_t Now() = 0;
    virtual void Sleep(uint32_t milliseconds) = 0;
};

class TSteadyClock : public TClock {
public:
    uint32_t Now() override;
    void Sleep(uint32_t milliseconds) override;
};

// Time stands still until Advance; Sleep advances it by the time slept, so a
// loop that sleeps on the manual clock never blocks a single-threaded test.
class TManualClock : public TClock {
public:
    explicit TManualClock(uint32_t start = 0) : FNow(start) {}
    uint32_t Now() override { return FNow.load(); }
    void Sleep(uint32_t milliseconds) override { Advance(milliseconds); }
    void Advance(uint32_t milliseconds) { FNow.fetch_add(milliseconds); }
    void Set(uint32_t now) { FNow.store(now); }

private:
    std::atomic<uint32_t> FNow;
};

// The clock every caller of timeGetTime and Sleep uses: the steady clock unless
// a test has installed another. Passing null restores the steady clock.
void SetSystemClock(TClock* clock);
TClock& SystemClock();

uint32_t timeGetTime();
uint32_t GetTickCount();
void Sleep(uint32_t milliseconds);

// Installs a clock for the lifetime of the object, then restores the steady clock.
class TScopedClock {
public:
    explicit TScopedClock(TClock& clock) { SetSystemClock(&clock); }
    ~TScopedClock() { SetSystemClock(nullptr); }
    TScopedClock(const TScopedClock&) = delete;
    TScopedClock& operator=(const TScopedClock&) = delete;
};

} // namespace Win32
