#pragma once
// A host application's real top-level window, for the tests of what the library's
// modal windows do to it (disabled while they run, enabled and active after).
#include <windows.h>

namespace testkit {

class HostWindow {
public:
    HostWindow()
    {
        static const ATOM registered = [] {
            WNDCLASSA windowClass{};
            windowClass.lpfnWndProc = DefWindowProcA;
            windowClass.hInstance = GetModuleHandleA(nullptr);
            windowClass.lpszClassName = "QnTestHostWindow";
            return RegisterClassA(&windowClass);
        }();
        window_ = CreateWindowExA(0, MAKEINTATOM(registered), "Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 400,
                                  300, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~HostWindow() { DestroyWindow(window_); }
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    HWND hwnd() const { return window_; }
    INT_PTR handle() const { return reinterpret_cast<INT_PTR>(window_); }
    bool enabled() const { return IsWindowEnabled(window_) != FALSE; }

private:
    HWND window_ = nullptr;
};

}  // namespace testkit
