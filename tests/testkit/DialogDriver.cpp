#include "testkit/DialogDriver.h"

namespace testkit {

namespace {
constexpr UINT_PTR kTimeLimitTimer = 0x5143;
bool* g_timedOut = nullptr;  // the flag of the driver whose time limit runs (one at a time)

void cancel(HWND dialog) { PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); }
}  // namespace

void DialogDriver::opened(HWND window, const std::function<void(HWND)>& drive, UINT timeLimitMs)
{
    if (dialog_ && IsWindow(dialog_)) {
        char caption[256] = {};
        GetWindowTextA(window, caption, sizeof caption);
        nestedCaptions_.push_back(caption);
        nestedHandler_ ? nestedHandler_(window) : cancel(window);
        return;
    }
    dialog_ = window;
    g_timedOut = &timedOut_;
    SetTimer(window, kTimeLimitTimer, timeLimitMs, [](HWND w, UINT, UINT_PTR id, DWORD) {
        KillTimer(w, id);
        *g_timedOut = true;
        EndDialog(w, -2);
    });
    if (drive)
        drive(window);
    cancel(window);  // after the steps; a dialog the steps ended ignores it
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
