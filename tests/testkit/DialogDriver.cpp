#include "testkit/DialogDriver.h"

#include <gtest/gtest.h>

#include "testkit/Controls.h"

namespace testkit {

namespace {
constexpr UINT_PTR kLimitTimer = 0x5143;
// How long a dialog may run: its steps (which may run nested dialogs of their own),
// then the Cancel that ends it.
constexpr UINT kStepsLimitMs = 15000, kClosingLimitMs = 2000;
thread_local const char* t_overrun = nullptr;  // what the running limit says when it passes

void cancel(HWND dialog) { PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); }

// Ends the dialog, and whatever this thread still shows over it (which may never have
// been seen: a window that never activated), naming each as a failure; again every 2 s
// for what the test's steps open next, until the dialog is gone.
void CALLBACK endOverrunDialogs(HWND dialog, UINT, UINT_PTR id, DWORD)
{
    SetTimer(dialog, id, kClosingLimitMs, endOverrunDialogs);
    EndMenu();  // a menu's own loop would keep the dialogs from ending
    EnumThreadWindows(GetCurrentThreadId(), [](HWND shown, LPARAM) {
        char className[16] = {};
        GetClassNameA(shown, className, sizeof className);
        if (std::string(className) == "#32770") {
            ADD_FAILURE() << "'" << windowText(shown) << "' " << t_overrun;
            EndDialog(shown, -2);
        }
        return TRUE;
    }, 0);
    t_overrun = "still open 2 s after the dialog under it was ended";
}
}  // namespace

void DialogDriver::opened(HWND window, const std::function<void(HWND)>& drive)
{
    if (dialog_ && IsWindow(dialog_)) {
        nestedCaptions_.push_back(windowText(window));
        nestedHandler_ ? nestedHandler_(window) : cancel(window);
        return;
    }
    dialog_ = window;
    t_overrun = "still open 15 s after it opened";
    SetTimer(window, kLimitTimer, kStepsLimitMs, endOverrunDialogs);
    if (drive)
        drive(window);
    if (!IsWindow(window))
        return;
    cancel(window);  // a dialog the steps ended ignores it
    t_overrun = "still open 2 s after Cancel";
    SetTimer(window, kLimitTimer, kClosingLimitMs, endOverrunDialogs);
}

bool pumpUntil(const std::function<bool()>& done, UINT timeLimitMs)
{
    const ULONGLONG end = GetTickCount64() + timeLimitMs;
    while (!done() && GetTickCount64() < end) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return done();
}

}  // namespace testkit
