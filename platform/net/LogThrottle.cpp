#include "platform/net/LogThrottle.h"

namespace Win32 {

bool TLogThrottle::Allow(TClock::time_point now, size_t& heldBack) {
    if (!FStarted || now - FIntervalStart >= FInterval) {
        FStarted = true;
        FIntervalStart = now;
        FWritten = 0;
    }
    if (FWritten >= FLinesPerInterval) {
        ++FHeldBack;
        return false;
    }
    ++FWritten;
    heldBack = FHeldBack;
    FHeldBack = 0;
    return true;
}

} // namespace Win32
