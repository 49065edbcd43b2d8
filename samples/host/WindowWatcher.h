#pragma once
#include <windows.h>
#include <string>

// The host's scripted mode: every message box or dialog that the library shows on
// this thread is saved as a screenshot (<folder>\<n>-<what>.bmp), its text printed,
// and the box answered with OK (dialogs are left to the step that opened them).
class WindowWatcher {
public:
    explicit WindowWatcher(std::string folder);
    ~WindowWatcher();
    WindowWatcher(const WindowWatcher&) = delete;
    WindowWatcher& operator=(const WindowWatcher&) = delete;

    // Names the screenshots that follow ("reported-error", "component-manager", ...).
    void setStep(const std::string& step) { step_ = step; }

private:
    static LRESULT CALLBACK hookProc(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK timerProc(HWND window, UINT, UINT_PTR id, DWORD);
    void shown(HWND window);

    HHOOK hook_ = nullptr;
    std::string folder_;
    std::string step_ = "window";
    int count_ = 0;
};
