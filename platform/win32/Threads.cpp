#include "platform/win32/Threads.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace Win32 {

bool IsValidThreadPriority(int priority) {
    return priority == THREAD_PRIORITY_IDLE || priority == THREAD_PRIORITY_TIME_CRITICAL ||
           (priority >= THREAD_PRIORITY_LOWEST && priority <= THREAD_PRIORITY_HIGHEST);
}

bool SetCurrentThreadPriority(int priority) {
    if (!IsValidThreadPriority(priority))
        return false;
    if (priority >= THREAD_PRIORITY_NORMAL)
        return true;
    const int niceness = priority == THREAD_PRIORITY_IDLE ? 19 : -priority * 5;
    const auto thread = static_cast<id_t>(::syscall(SYS_gettid));
    return ::setpriority(PRIO_PROCESS, thread, niceness) == 0;
}

} // namespace Win32
