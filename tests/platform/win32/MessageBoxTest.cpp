#include "platform/win32/MessageBox.h"

#include <gtest/gtest.h>

using namespace Win32;

TEST(MessageBox, ARecorderKeepsTheBoxesAndAnswersForThePerson) {
    TMessageBoxRecorder recorder;
    const TScopedMessageBoxHandler scoped(recorder);
    const HWND owner = reinterpret_cast<HWND>(uintptr_t{3});
    EXPECT_EQ(MessageBox(owner, "Disk full.", "Varnholt", MB_ICONERROR), IDOK);
    EXPECT_EQ(MessageBox(nullptr, "Save?", nullptr, MB_YESNOCANCEL | MB_DEFBUTTON2), IDNO);
    recorder.SetAnswer(IDCANCEL);
    EXPECT_EQ(MessageBox(nullptr, "Retry?", "", MB_RETRYCANCEL), IDCANCEL);

    const auto calls = recorder.Calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].Owner, owner);
    EXPECT_EQ(calls[0].Text, "Disk full.");
    EXPECT_EQ(calls[0].Caption, "Varnholt");
    EXPECT_EQ(calls[0].Type, MB_ICONERROR);
    EXPECT_EQ(calls[1].Caption, "Error"); // no caption, as Windows titles it
}

TEST(MessageBox, DefaultAnswersFollowTheButtons) {
    EXPECT_EQ(DefaultMessageBoxAnswer(MB_OK), IDOK);
    EXPECT_EQ(DefaultMessageBoxAnswer(MB_ABORTRETRYIGNORE | MB_DEFBUTTON3), IDIGNORE);
    EXPECT_EQ(DefaultMessageBoxAnswer(MB_OKCANCEL | MB_DEFBUTTON3), IDOK); // no third button
}

TEST(MessageBox, WithoutADisplayTheBoxIsWrittenOutAndNeverWaits) {
    // The tests run on SDL's dummy video driver.
    testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBox(nullptr, "Nothing to see.", "Varnholt", MB_YESNO), IDYES);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Varnholt: Nothing to see.\n");
}
