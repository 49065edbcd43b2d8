#include "testkit/HostWindow.h"

namespace testkit {

namespace {
constexpr const char* kClassName = "QnTestHostWindow";

ATOM registerHostClass()
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClassName;
    return RegisterClassA(&windowClass);
}
}  // namespace

HostWindow::HostWindow()
{
    static const ATOM registered = registerHostClass();
    (void)registered;
    window_ = CreateWindowExA(0, kClassName, "Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 400, 300, nullptr,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
}

HostWindow::~HostWindow()
{
    if (window_)
        DestroyWindow(window_);
}

}  // namespace testkit
