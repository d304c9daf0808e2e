// Thread priorities as Windows names them, applied to the calling thread.
#pragma once

namespace Win32 {

constexpr int THREAD_PRIORITY_IDLE = -15;
constexpr int THREAD_PRIORITY_LOWEST = -2;
constexpr int THREAD_PRIORITY_BELOW_NORMAL = -1;
constexpr int THREAD_PRIORITY_NORMAL = 0;
constexpr int THREAD_PRIORITY_ABOVE_NORMAL = 1;
constexpr int THREAD_PRIORITY_HIGHEST = 2;
constexpr int THREAD_PRIORITY_TIME_CRITICAL = 15;

bool IsValidThreadPriority(int priority);
// Lowers the calling thread's scheduling priority for values below normal.
// Raising it needs privileges a game does not have, so higher values run at normal priority.
bool SetCurrentThreadPriority(int priority);

} // namespace Win32
