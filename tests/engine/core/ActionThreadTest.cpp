#include "engine/core/ActionThread.h"

#include "platform/classlib/Exception.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>

using namespace Base;

namespace {

void WaitUntilIdle(const TActionThread& thread) {
    while (thread.IsRunning())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

struct Gate {
    std::mutex lock;
    std::condition_variable changed;
    bool open = false;
    void Open() {
        std::lock_guard<std::mutex> guard(lock);
        open = true;
        changed.notify_all();
    }
    void Wait() {
        std::unique_lock<std::mutex> guard(lock);
        changed.wait(guard, [this] { return open; });
    }
};

struct Task {
    Gate gate;
    std::atomic<int> runs{0};
    void Blocking() {
        gate.Wait();
        ++runs;
    }
    void Failing() { throw ClassLib::Exception("x"); }
    void FailingStd() { throw std::runtime_error("plain"); }
    void FailingOther() { throw 42; }
};

std::atomic<int> functionRuns{0};
void CountRun() {
    ++functionRuns;
}

} // namespace

TEST(ActionThread, RunsAFunctionAndReportsSuccess) {
    TActionThread thread;
    thread.SetAction(CountRun);
    const int before = functionRuns;
    thread.Start(0);
    WaitUntilIdle(thread);
    EXPECT_TRUE(thread.Succeeded());
    EXPECT_EQ(functionRuns, before + 1);
    thread.Start(-1); // a restart after the end
    WaitUntilIdle(thread);
    EXPECT_EQ(functionRuns, before + 2);
}

TEST(ActionThread, RefusesChangesWhileRunning) {
    Task task;
    TActionThread thread;
    thread.SetMethodAction(&Task::Blocking, &task);
    thread.Start(0);
    try {
        thread.Start(0);
        FAIL();
    } catch (const ClassLib::Exception& e) {
        EXPECT_EQ(e.Message, "TActionThread: Already running.");
    }
    try {
        thread.SetAction(CountRun);
        FAIL();
    } catch (const ClassLib::Exception& e) {
        EXPECT_EQ(e.Message, "TActionThread: Cannot initialize when running.");
    }
    EXPECT_TRUE(thread.IsRunning());
    task.gate.Open();
    WaitUntilIdle(thread);
    EXPECT_EQ(task.runs, 1);
    EXPECT_TRUE(thread.Succeeded());
}

TEST(ActionThread, AFailingTaskReportsItsMessage) {
    const struct {
        void (Task::*method)();
        const char* message;
    } cases[] = {{&Task::Failing, "x"},
                 {&Task::FailingStd, "plain"},
                 {&Task::FailingOther, "The task failed with an unknown error."}};
    for (const auto& c : cases) {
        Task task;
        TActionThread thread;
        thread.SetMethodAction(c.method, &task);
        thread.Start(0);
        WaitUntilIdle(thread);
        EXPECT_FALSE(thread.IsRunning());
        EXPECT_FALSE(thread.Succeeded());
        EXPECT_EQ(thread.ErrorText(), c.message);
    }
}

TEST(ActionThread, StopAsksTheTaskToEndAndWaits) {
    std::atomic<bool> sawStop{false};
    struct Polling {
        TActionThread* thread;
        std::atomic<bool>* sawStop;
        void Run() {
            while (!thread->StopRequested())
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            *sawStop = true;
        }
    };
    {
        TActionThread thread;
        Polling polling{&thread, &sawStop};
        thread.SetMethodAction(&Polling::Run, &polling);
        thread.Start(0);
        // destroyed while running: stops and waits
    }
    EXPECT_TRUE(sawStop);
}

TEST(ActionThread, AnUnknownPriorityIsRefusedBeforeStarting) {
    TActionThread thread;
    thread.SetAction(CountRun);
    EXPECT_THROW(thread.Start(7), ClassLib::Exception);
    EXPECT_FALSE(thread.IsRunning());
}
