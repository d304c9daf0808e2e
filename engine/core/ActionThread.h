// Runs one long task (loading, a battle decision, a session search) on a worker
// thread while the main thread keeps the window alive. The owner polls
// IsRunning and then reads Succeeded and ErrorText.
#pragma once

#include "platform/classlib/AnsiString.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

namespace Base {

using ClassLib::AnsiString;

class TActionThread {
public:
    TActionThread() = default;
    TActionThread(const TActionThread&) = delete;
    TActionThread& operator=(const TActionThread&) = delete;
    // Asks the task to stop and waits for it.
    ~TActionThread();

    bool IsRunning() const;
    // Both refuse while running: "TActionThread: Cannot initialize when running.".
    void SetAction(void (*function)());
    template <typename C>
    void SetMethodAction(void (C::*method)(), C* object) {
        SetTask([method, object] { (object->*method)(); });
    }
    // "TActionThread: Already running." while a task runs. priority is a Windows
    // thread priority; an unknown value is "TActionThread: Thread priority could not be set.".
    void Start(int priority);
    // Threads cannot be killed safely: Stop asks the task to end (see StopRequested)
    // and waits for it.
    void Stop();
    // Waits for the task to end by itself, without asking it to stop.
    void Join();
    // Long tasks poll this to end early when the owner stops them.
    bool StopRequested() const { return FStopRequested.load(); }

    bool Succeeded() const { return FSucceeded; }
    const AnsiString& ErrorText() const { return FErrorText; }

private:
    void SetTask(std::function<void()> task);
    void Execute();

    mutable std::mutex FLock;
    std::thread FThread;
    std::function<void()> FTask;
    std::atomic<bool> FStopRequested{false};
    bool FRunning = false;
    bool FSucceeded = false;
    AnsiString FErrorText;
};

} // namespace Base
