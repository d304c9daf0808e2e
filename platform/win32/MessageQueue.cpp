#include "platform/win32/MessageQueue.h"

#include "platform/win32/WinMessages.h"

#include <algorithm>

namespace Win32 {

void TMessageQueue::Post(const MSG& msg) {
    {
        const std::lock_guard lock(FLock);
        FMessages.push_back(msg);
        ++FPosts;
    }
    FPosted.notify_all();
}

void TMessageQueue::PostQuit(int exitCode) {
    {
        const std::lock_guard lock(FLock);
        FQuit = true;
        FExitCode = exitCode;
        ++FPosts;
    }
    FPosted.notify_all();
}

std::optional<MSG> TMessageQueue::Peek(HWND window, UINT first, UINT last, bool remove) {
    const bool anyCode = first == 0 && last == 0;
    const std::lock_guard lock(FLock);
    const auto found = std::find_if(FMessages.begin(), FMessages.end(), [&](const MSG& msg) {
        return (window == nullptr || msg.hwnd == window) &&
               (anyCode || (msg.message >= first && msg.message <= last));
    });
    if (found != FMessages.end()) {
        const MSG msg = *found;
        if (remove)
            FMessages.erase(found);
        return msg;
    }
    if (!FQuit)
        return std::nullopt;
    MSG quit;
    quit.message = WM_QUIT;
    quit.wParam = static_cast<WPARAM>(static_cast<intptr_t>(FExitCode));
    if (remove)
        FQuit = false;
    return quit;
}

bool TMessageQueue::HasMessages() const {
    const std::lock_guard lock(FLock);
    return FQuit || !FMessages.empty();
}

bool TMessageQueue::WaitFor(std::chrono::milliseconds timeout) {
    std::unique_lock lock(FLock);
    return FPosted.wait_for(lock, timeout, [this] { return FQuit || !FMessages.empty(); });
}

uint64_t TMessageQueue::PostCount() const {
    const std::lock_guard lock(FLock);
    return FPosts;
}

void TMessageQueue::WaitForPost(uint64_t seen, std::chrono::milliseconds timeout) {
    std::unique_lock lock(FLock);
    FPosted.wait_for(lock, timeout, [&] { return FPosts != seen; });
}

void TMessageQueue::RemoveWindow(HWND window) {
    const std::lock_guard lock(FLock);
    std::erase_if(FMessages, [window](const MSG& msg) { return msg.hwnd == window; });
}

} // namespace Win32
