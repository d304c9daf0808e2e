#include "engine/core/ActionThread.h"

#include "platform/classlib/Exception.h"
#include "platform/win32/Threads.h"

namespace Base {

TActionThread::~TActionThread() {
    Stop();
}

bool TActionThread::IsRunning() const {
    const std::lock_guard<std::mutex> guard(FLock);
    return FRunning;
}

void TActionThread::SetTask(std::function<void()> task) {
    if (IsRunning())
        throw ClassLib::Exception("TActionThread: Cannot initialize when running.");
    FTask = std::move(task);
}

void TActionThread::SetAction(void (*function)()) {
    SetTask(function ? std::function<void()>(function) : std::function<void()>());
}

void TActionThread::Start(int priority) {
    if (IsRunning())
        throw ClassLib::Exception("TActionThread: Already running.");
    if (!Win32::IsValidThreadPriority(priority))
        throw ClassLib::Exception("TActionThread: Thread priority could not be set.");
    // The previous task has ended; collect its thread before starting another.
    if (FThread.joinable())
        FThread.join();
    {
        const std::lock_guard<std::mutex> guard(FLock);
        FRunning = true;
    }
    FSucceeded = false;
    FStopRequested = false;
    try {
        FThread = std::thread([this, priority] {
            Win32::SetCurrentThreadPriority(priority);
            Execute();
        });
    } catch (const std::exception&) {
        const std::lock_guard<std::mutex> guard(FLock);
        FRunning = false;
        throw ClassLib::Exception("TActionThread: Thread could not be created.");
    }
}

void TActionThread::Stop() {
    FStopRequested = true;
    if (FThread.joinable())
        FThread.join();
}

void TActionThread::Join() {
    if (FThread.joinable())
        FThread.join();
}

void TActionThread::Execute() {
    try {
        if (FTask)
            FTask();
        FSucceeded = true;
    } catch (const std::exception& e) {
        FSucceeded = false;
        FErrorText = ClassLib::ExceptionMessage(e);
    } catch (...) {
        FSucceeded = false;
        FErrorText = "The task failed with an unknown error.";
    }
    const std::lock_guard<std::mutex> guard(FLock);
    FRunning = false;
}

} // namespace Base
