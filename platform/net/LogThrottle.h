// Keeps what strangers can make a program log within bounds: a few lines per
// interval go through, the rest are counted and the count rides on the next line
// that does, so a flood of junk neither fills the log nor goes unnoticed.
#pragma once

#include <chrono>
#include <cstddef>

namespace Win32 {

class TLogThrottle {
public:
    using TClock = std::chrono::steady_clock;

    TLogThrottle(size_t linesPerInterval, TClock::duration interval)
        : FLinesPerInterval(linesPerInterval), FInterval(interval) {}

    // True when a line may be written at now; heldBack is then the number of
    // lines refused since the last one written.
    bool Allow(TClock::time_point now, size_t& heldBack);

private:
    const size_t FLinesPerInterval;
    const TClock::duration FInterval;
    TClock::time_point FIntervalStart{};
    size_t FWritten = 0;
    size_t FHeldBack = 0;
    bool FStarted = false;
};

} // namespace Win32
