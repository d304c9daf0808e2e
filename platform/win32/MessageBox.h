// Message boxes. The program shows real ones through SDL; headless runs (the
// dummy or offscreen video driver) write them to the error output and answer
// with the default button; tests install a recorder so that no box ever waits
// for a person.
#pragma once

#include "platform/WinTypes.h"

#include <mutex>
#include <string>
#include <vector>

namespace Win32 {

// Buttons
constexpr UINT MB_OK = 0x0;
constexpr UINT MB_OKCANCEL = 0x1;
constexpr UINT MB_ABORTRETRYIGNORE = 0x2;
constexpr UINT MB_YESNOCANCEL = 0x3;
constexpr UINT MB_YESNO = 0x4;
constexpr UINT MB_RETRYCANCEL = 0x5;
constexpr UINT MB_TYPEMASK = 0xF;
// Icons
constexpr UINT MB_ICONHAND = 0x10;
constexpr UINT MB_ICONERROR = 0x10;
constexpr UINT MB_ICONSTOP = 0x10;
constexpr UINT MB_ICONQUESTION = 0x20;
constexpr UINT MB_ICONEXCLAMATION = 0x30;
constexpr UINT MB_ICONWARNING = 0x30;
constexpr UINT MB_ICONASTERISK = 0x40;
constexpr UINT MB_ICONINFORMATION = 0x40;
constexpr UINT MB_ICONMASK = 0xF0;
// Default button
constexpr UINT MB_DEFBUTTON1 = 0x000;
constexpr UINT MB_DEFBUTTON2 = 0x100;
constexpr UINT MB_DEFBUTTON3 = 0x200;
constexpr UINT MB_DEFMASK = 0xF00;
// Modality
constexpr UINT MB_APPLMODAL = 0x0000;
constexpr UINT MB_SYSTEMMODAL = 0x1000;
constexpr UINT MB_TASKMODAL = 0x2000;
constexpr UINT MB_SETFOREGROUND = 0x10000;
constexpr UINT MB_TOPMOST = 0x40000;

// Answers
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// The button the box answers with when Enter is pressed.
int DefaultMessageBoxAnswer(UINT type);

class TMessageBoxHandler {
public:
    virtual ~TMessageBoxHandler() = default;
    virtual int Show(HWND owner, const std::string& text, const std::string& caption,
                     UINT type) = 0;
};

// Keeps every box instead of showing it and answers with a preset button, or
// with the box's default button when the answer is 0.
class TMessageBoxRecorder : public TMessageBoxHandler {
public:
    struct TCall {
        HWND Owner = nullptr;
        std::string Text;
        std::string Caption;
        UINT Type = 0;
    };

    explicit TMessageBoxRecorder(int answer = 0) : FAnswer(answer) {}
    int Show(HWND owner, const std::string& text, const std::string& caption, UINT type) override;
    std::vector<TCall> Calls() const;
    void SetAnswer(int answer);

private:
    mutable std::mutex FLock;
    std::vector<TCall> FCalls;
    int FAnswer;
};

// Null restores the real boxes.
void SetMessageBoxHandler(TMessageBoxHandler* handler);

class TScopedMessageBoxHandler {
public:
    explicit TScopedMessageBoxHandler(TMessageBoxHandler& handler) {
        SetMessageBoxHandler(&handler);
    }
    ~TScopedMessageBoxHandler() { SetMessageBoxHandler(nullptr); }
    TScopedMessageBoxHandler(const TScopedMessageBoxHandler&) = delete;
    TScopedMessageBoxHandler& operator=(const TScopedMessageBoxHandler&) = delete;
};

// The owner's SDL window becomes the box's parent; call it from another thread
// only without an owner. Returns the chosen button, 0 when no box could be shown.
int MessageBox(HWND owner, const char* text, const char* caption, UINT type);

} // namespace Win32
