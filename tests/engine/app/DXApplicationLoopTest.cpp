// The frame step's timing and the message loops, on the manual clock.
#include "tests/engine/app/ApplicationFixture.h"

#include <chrono>
#include <thread>

using namespace DXApp;
using namespace Win32;

TEST_F(ApplicationTest, AFixedStepCatchesUpAfterAStallAndRendersOnceCaughtUp) {
    Create(0xA0, 100);
    App.RunFrame(); // the first step only renders
    EXPECT_EQ(Calls, TCalls{"render"});
    Calls.clear();

    Clock.Advance(35);
    for (int i = 0; i < 5; ++i)
        App.RunFrame();
    EXPECT_EQ(Calls, (TCalls{"update", "update", "update", "render"}));
    EXPECT_EQ(App.TickCount, 3u);
    EXPECT_EQ(App.GameTime, 30);
    EXPECT_EQ(App.Delta, 10);
    EXPECT_EQ(Clock.Now(), 1036u); // a millisecond given up after the render
}

TEST_F(ApplicationTest, ABusyGameStillRendersOnceASecond) {
    Create(0xA0, 100);
    App.Active = true;
    std::vector<uint32_t> renders;
    App.OnUpdate = [&] {
        Clock.Advance(15); // every update takes longer than a tick
        if (App.TickCount == 600)
            App.Terminate();
    };
    App.OnRender = [&] {
        if (App.TickCount > 10) // once it has fallen behind for good
            renders.push_back(Clock.Now());
    };
    EXPECT_EQ(App.RunMessageLoop(), 0);
    ASSERT_GE(renders.size(), 8u);
    for (size_t i = 1; i < renders.size(); ++i) {
        EXPECT_GE(renders[i] - renders[i - 1], 1000u);
        EXPECT_LE(renders[i] - renders[i - 1], 1000u + 15 + 1);
    }
    EXPECT_LT(App.LastUpdate, Clock.Now() - 1000); // it never caught up
}

TEST_F(ApplicationTest, TheVariableStepCapsItsDeltaUnlessTold) {
    const struct {
        uint32_t options;
        uint32_t stall;
        int32_t delta; // 0: no update
    } cases[] = {
        {0x00, 200, 50}, {0x02, 200, 200}, {0x00, 5, 0}, {0x40, 5, 5}, {0x00, 30, 30},
    };
    for (const auto& c : cases) {
        TDXApplication app;
        app.Options = c.options;
        app.SetTicksPerSecond(0);
        app.ResetTiming = true;
        TCalls calls;
        app.OnUpdate = [&] { calls.push_back("update"); };
        app.OnRender = [&] { calls.push_back("render"); };
        app.RunFrame();
        EXPECT_EQ(calls, TCalls{"render"});
        calls.clear();
        Clock.Advance(c.stall);
        app.RunFrame();
        if (c.delta == 0) {
            EXPECT_TRUE(calls.empty()) << c.stall;
            continue;
        }
        EXPECT_EQ(calls, (TCalls{"update", "render"})) << c.options << " " << c.stall;
        EXPECT_EQ(app.Delta, c.delta) << c.options << " " << c.stall;
        EXPECT_EQ(app.GameTime, c.delta);
    }
}

TEST_F(ApplicationTest, TicksPerSecondAreCappedAndGiveTheStep) {
    const struct {
        uint32_t asked, stored, step;
    } cases[] = {{5000, 1000, 1}, {1000, 1000, 1}, {100, 100, 10},
                 {10, 10, 100},   {3, 3, 333},     {0, 0, 0}};
    for (const auto& c : cases) {
        App.SetTicksPerSecond(c.asked);
        EXPECT_EQ(App.TicksPerSecond, c.stored) << c.asked;
        EXPECT_EQ(App.StepMs, c.step) << c.asked;
    }
}

TEST_F(ApplicationTest, FramesPerSecondAreCountedOverEachSecond) {
    Create(0xA0, 100);
    App.Active = true;
    App.OnUpdate = [&] {
        if (App.TickCount == 250)
            App.Terminate();
    };
    EXPECT_EQ(App.RunMessageLoop(), 0);
    // Every tick rendered: a hundred frames a second, give or take the last one counted.
    EXPECT_NEAR(App.FPS, 100.0f, 1.0f);
}

TEST_F(ApplicationTest, ModalLoopsNestWithTheirOwnCallbacksAndEndWhenDone) {
    Create(0xA0, 100);
    App.Active = true;
    bool done = false;
    App.OnUpdate = [&] {
        Calls.push_back("update");
        if (App.TickCount == 2) {
            App.ProcessMessages(
                &done,
                [&] {
                    Calls.push_back("modal update");
                    done = App.TickCount == 5;
                },
                nullptr);
            Calls.push_back("modal closed");
        }
        if (App.TickCount == 7)
            App.Terminate();
    };
    App.OnRender = nullptr;
    EXPECT_EQ(App.RunMessageLoop(), 0);
    EXPECT_EQ(Calls, (TCalls{"update", "update", "modal update", "modal update", "modal update",
                             "modal closed", "update", "update", "destroy"}));
}

TEST_F(ApplicationTest, QuittingInsideAModalLoopEndsTheOuterLoopToo) {
    Create(0xA0, 100);
    App.Active = true;
    App.OnUpdate = [&] {
        Calls.push_back("update");
        App.ProcessMessages(
            nullptr, [] { PostQuitMessage(7); }, nullptr);
        Calls.push_back("modal closed");
    };
    App.OnRender = nullptr;
    EXPECT_EQ(App.RunMessageLoop(), 7);
    EXPECT_EQ(Calls, (TCalls{"update", "modal closed"}));

    // Terminate inside a modal loop ends it at once; the window then closes.
    bool done = false;
    App.Quit = false;
    App.OnUpdate = [&] {
        Calls.push_back("update");
        App.ProcessMessages(
            &done, [&] { App.Terminate(); }, nullptr);
        Calls.push_back("modal closed");
    };
    Calls.clear();
    EXPECT_EQ(App.RunMessageLoop(), 0);
    EXPECT_EQ(Calls, (TCalls{"update", "modal closed", "destroy"}));
    EXPECT_FALSE(IsWindow(App.Window));
}

TEST_F(ApplicationTest, AnErrorInTheFrameStepReachesTheLoopsCaller) {
    Create(0xA0, 100);
    App.Active = true;
    App.OnUpdate = [] { throw ClassLib::Exception("Update failed."); };
    bool done = false;
    EXPECT_THROW(App.ProcessMessages(&done, nullptr, Record("modal render")), ClassLib::Exception);
    EXPECT_EQ(Calls, TCalls{"modal render"});
    // The modal loop gave the outer callbacks back.
    App.ResetTiming = true;
    App.RunFrame();
    EXPECT_EQ(Calls.back(), "render");
    EXPECT_THROW(App.RunMessageLoop(), ClassLib::Exception);
}

TEST_F(ApplicationTest, AnInactiveApplicationWaitsForMessages) {
    Create(0xA0, 100);
    App.Active = false;
    App.OnUpdate = [&] { Calls.push_back("update"); };
    std::thread poster([&] {
        // Long enough for the loop to be waiting; the manual clock stands still meanwhile.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        PostQuitMessage(4);
    });
    EXPECT_EQ(App.RunMessageLoop(), 4);
    poster.join();
    EXPECT_EQ(Count("update"), 0);
    EXPECT_EQ(Clock.Now(), 1000u);
}
