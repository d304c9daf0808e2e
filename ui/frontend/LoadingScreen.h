// The full-screen loading picture shown while one long task (loading the global data,
// later a scenario or a saved game) runs on a worker thread. The main loop keeps
// drawing it at 10 ticks a second; the task's failure comes back as an exception.
#pragma once

#include "engine/core/ActionThread.h"
#include "engine/widgets/DXWindow.h"

#include <memory>

namespace FrontEnd {

class TLoadingScreen : public DXWin::TDXWindow {
public:
    // A modal 800 x 600 window at (0, 0), drawn with the main data's loading picture
    // and pointer cursor.
    explicit TLoadingScreen(DXWin::TDXWindowSystem* windowSystem);
    ~TLoadingScreen() override;

    // Shows the picture until function has run on the worker thread, then raises an
    // Exception with the task's own message when it failed. The task must not draw
    // or touch windows. Closing the window meanwhile ends the wait early (the
    // application's Quit); the task is then waited for and its outcome reported.
    void RunTask(void (*function)());
    template <typename C>
    void RunMethodTask(void (C::*method)(), C* object) {
        Run([&](Base::TActionThread& thread) { thread.SetMethodAction(method, object); });
    }

private:
    void Run(const std::function<void(Base::TActionThread&)>& setAction);

    std::unique_ptr<Base::TActionThread> FThread;
    bool FDrawn = false; // the picture has been on the screen since the task started
    int FTicksSinceDone = 0;
};

} // namespace FrontEnd
