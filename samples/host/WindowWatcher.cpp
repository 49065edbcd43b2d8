#include "WindowWatcher.h"
#include "Screenshot.h"

#include <cstdio>

static WindowWatcher* g_watcher = nullptr;
static constexpr UINT_PTR kShownTimer = 0x4857;
static constexpr int kBoxTextId = 0xFFFF;

WindowWatcher::WindowWatcher(std::string folder) : folder_(std::move(folder))
{
    g_watcher = this;
    hook_ = SetWindowsHookExA(WH_CBT, hookProc, nullptr, GetCurrentThreadId());
}

WindowWatcher::~WindowWatcher()
{
    if (hook_)
        UnhookWindowsHookEx(hook_);
    g_watcher = nullptr;
}

LRESULT CALLBACK WindowWatcher::hookProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE && g_watcher) {
        HWND window = reinterpret_cast<HWND>(wParam);
        char className[16] = {};
        GetClassNameA(window, className, sizeof className);
        // Dialogs activate before they are filled in and painted: look a moment later,
        // from their own message loop.
        if (std::string(className) == "#32770" && !GetPropA(window, "QnHostSeen")) {
            SetPropA(window, "QnHostSeen", reinterpret_cast<HANDLE>(1));
            SetTimer(window, kShownTimer, 200, timerProc);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK WindowWatcher::timerProc(HWND window, UINT, UINT_PTR id, DWORD)
{
    KillTimer(window, id);
    RemovePropA(window, "QnHostSeen");
    if (g_watcher)
        g_watcher->shown(window);
}

void WindowWatcher::shown(HWND window)
{
    char caption[256] = {};
    GetWindowTextA(window, caption, sizeof caption);
    const std::string bmp = folder_ + "\\" + std::to_string(++count_) + "-" + step_ + ".bmp";
    const bool saved = saveWindowScreenshot(window, bmp);
    std::printf("  [window] \"%s\"%s\n", caption, saved ? (" saved as " + bmp).c_str() : " (no screenshot)");

    if (HWND text = GetDlgItem(window, kBoxTextId)) {
        char message[4096] = {};
        GetWindowTextA(text, message, sizeof message);
        std::printf("  [message box text]\n%s\n  [end of text]\n", message);
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    std::fflush(stdout);
}
