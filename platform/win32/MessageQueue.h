// The message queue of the program's window thread. Any thread may post to it;
// the window thread reads it. A posted quit is a flag, as in Windows: WM_QUIT
// comes out only when no other message is waiting, so everything posted
// before or after PostQuitMessage is still handled first.
#pragma once

#include "platform/WinTypes.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>

namespace Win32 {

class TMessageQueue {
public:
    void Post(const MSG& msg);
    void PostQuit(int exitCode);
    // The oldest message for the window (null: any window, and thread messages)
    // with a code in [first, last] (both 0: any code); WM_QUIT, whatever the
    // filter, once a quit was posted and nothing else matches.
    std::optional<MSG> Peek(HWND window, UINT first, UINT last, bool remove);
    bool HasMessages() const;
    // Blocks until a message is waiting or the time is up; true when one is.
    bool WaitFor(std::chrono::milliseconds timeout);
    // Counts every post, so a reader can wait for something new to arrive.
    uint64_t PostCount() const;
    void WaitForPost(uint64_t seen, std::chrono::milliseconds timeout);
    // Drops the messages of a window that no longer exists.
    void RemoveWindow(HWND window);

private:
    mutable std::mutex FLock;
    std::condition_variable FPosted;
    std::deque<MSG> FMessages;
    bool FQuit = false;
    int FExitCode = 0;
    uint64_t FPosts = 0;
};

} // namespace Win32
