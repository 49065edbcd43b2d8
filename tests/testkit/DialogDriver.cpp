#include "testkit/DialogDriver.h"

namespace testkit {

namespace {
constexpr UINT_PTR kTimeLimitTimer = 0x5143;
DialogDriver* g_timedDriver = nullptr;  // the driver whose time limit runs (one at a time)
}  // namespace

DialogDriver::DialogDriver(int defaultButton) : boxes_(defaultButton) {}

void DialogDriver::arm(std::function<void(HWND)> drive, UINT timeLimitMs)
{
    drive_ = std::move(drive);
    timeLimitMs_ = timeLimitMs;
    timedOut_ = false;
    dialog_ = nullptr;
    boxes_.onDialog([this](HWND window) { dialogOpened(window); });
}

void DialogDriver::disarm()
{
    boxes_.onDialog(nullptr);
    dialog_ = nullptr;
    drive_ = nullptr;
    if (g_timedDriver == this)
        g_timedDriver = nullptr;
}

void DialogDriver::dialogOpened(HWND window)
{
    if (dialog_ && IsWindow(dialog_)) {
        char caption[256] = {};
        GetWindowTextA(window, caption, sizeof caption);
        nestedCaptions_.push_back(caption);
        if (nestedHandler_)
            nestedHandler_(window);
        else
            PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return;
    }
    dialog_ = window;
    g_timedDriver = this;
    SetTimer(window, kTimeLimitTimer, timeLimitMs_, [](HWND w, UINT, UINT_PTR id, DWORD) {
        KillTimer(w, id);
        if (g_timedDriver)
            g_timedDriver->timedOut_ = true;
        EndDialog(w, -2);
    });
    if (drive_)
        drive_(window);
    // Cancelled after the steps; a dialog the steps ended ignores it.
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
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
