#include "testkit/DialogDriver.h"

#include <gtest/gtest.h>

#include "testkit/Controls.h"

namespace testkit {

namespace {
constexpr UINT_PTR kClosingTimer = 0x5143;
constexpr UINT kClosingLimitMs = 2000;

void cancel(HWND dialog) { PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); }
}  // namespace

void DialogDriver::opened(HWND window, const std::function<void(HWND)>& drive)
{
    if (dialog_ && IsWindow(dialog_)) {
        nestedCaptions_.push_back(windowText(window));
        nestedHandler_ ? nestedHandler_(window) : cancel(window);
        return;
    }
    dialog_ = window;
    if (drive)
        drive(window);
    if (!IsWindow(window))
        return;
    cancel(window);  // a dialog the steps ended ignores it
    SetTimer(window, kClosingTimer, kClosingLimitMs, [](HWND open, UINT, UINT_PTR id, DWORD) {
        KillTimer(open, id);
        ADD_FAILURE() << "'" << windowText(open) << "' still open 2 s after Cancel";
        EndDialog(open, -2);
    });
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
