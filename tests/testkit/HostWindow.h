#pragma once
// A host application's real top-level window, for the tests of what the library's
// modal windows do to it (disabled while they run, enabled and active after).
#include <windows.h>

namespace testkit {

class HostWindow {
public:
    HostWindow();
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    HWND hwnd() const { return window_; }
    INT_PTR handle() const { return reinterpret_cast<INT_PTR>(window_); }
    bool enabled() const { return IsWindowEnabled(window_) != FALSE; }

private:
    HWND window_ = nullptr;
};

}  // namespace testkit
