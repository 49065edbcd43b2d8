#include "testkit/MessageBoxDriver.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "testkit/Controls.h"

namespace {

// The static control that holds a message box's text, and its icon control (the
// icon's id is 0x14 on Windows and 0x440 in Wine's template).
constexpr int kBoxTextId = 0xFFFF;
constexpr int kBoxIconIds[] = {0x14, 0x440};
// A box or dialog activates before its WM_INITDIALOG has filled it in, so it is
// inspected from a timer that its own modal loop dispatches once it is ready.
constexpr UINT_PTR kInspectTimer = 0x5142;

// The driver that hooks this thread now (drivers nest: the newest one answers).
thread_local MessageBoxDriver* t_current = nullptr;

using testkit::windowText;

}  // namespace

MessageBoxDriver::MessageBoxDriver(int defaultButton) : defaultButton_(defaultButton), previous_(t_current)
{
    t_current = this;
    hook_ = SetWindowsHookExA(WH_CBT, hookProc, nullptr, GetCurrentThreadId());
}

MessageBoxDriver::~MessageBoxDriver()
{
    if (hook_)
        UnhookWindowsHookEx(hook_);
    t_current = previous_;
}

LRESULT CALLBACK MessageBoxDriver::hookProc(int code, WPARAM wParam, LPARAM lParam)
{
    HWND window = reinterpret_cast<HWND>(wParam);
    char className[16] = {};
    if (code == HCBT_ACTIVATE && t_current && GetClassNameA(window, className, sizeof className) &&
        std::string(className) == "#32770" &&
        std::find(t_current->seenDialogs_.begin(), t_current->seenDialogs_.end(), window) ==
            t_current->seenDialogs_.end()) {  // a dialog activated again (focus came back) is handled already
        t_current->seenDialogs_.push_back(window);
        SetTimer(window, kInspectTimer, 1, [](HWND shown, UINT, UINT_PTR id, DWORD) {
            KillTimer(shown, id);
            if (t_current)
                t_current->inspect(shown);
        });
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void MessageBoxDriver::inspect(HWND window)
{
    HWND textControl = GetDlgItem(window, kBoxTextId);
    if (!textControl) {
        if (dialogHandler_)
            return dialogHandler_(window);
        ADD_FAILURE() << "a dialog nobody expected: '" << windowText(window) << "'";
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        SetTimer(window, kInspectTimer, 2000, [](HWND open, UINT, UINT_PTR id, DWORD) {
            KillTimer(open, id);
            ADD_FAILURE() << "'" << windowText(open) << "' still open 2 s after Cancel";
            EndDialog(open, -2);
        });
        return;
    }
    ShownBox box{GetWindow(window, GW_OWNER), "", windowText(window), windowText(textControl),
                 GetWindowLongA(window, GWL_EXSTYLE), false, {}};
    box.ownerCaption = windowText(box.owner);
    for (int id : kBoxIconIds)
        if (HWND icon = GetDlgItem(window, id); icon && SendMessageA(icon, STM_GETICON, 0, 0))
            box.hasIcon = true;
    for (int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO, IDTRYAGAIN, IDCONTINUE})
        if (HWND button = GetDlgItem(window, id); button && IsWindowVisible(button))
            box.buttons.push_back(id);
    boxes_.push_back(box);
    if (boxHandler_)
        boxHandler_(window);
    int answer = defaultButton_;
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    }
    if (std::ranges::find(box.buttons, answer) == box.buttons.end()) {
        if (answer == kNobodyExpects)
            ADD_FAILURE() << "a box nobody expected: '" << box.caption << "': " << box.text;
        else
            ADD_FAILURE() << "the box '" << box.caption << "' has no button " << answer << ": " << box.text;
        answer = box.buttons.empty() ? IDCANCEL : box.buttons.back();
        for (int refusal : {IDNO, IDABORT, IDCANCEL})  // the answer that ends a question
            if (std::ranges::find(box.buttons, refusal) != box.buttons.end())
                answer = refusal;
    }
    // Posted: the box handles the click from its own message loop, as a user's click.
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, answer)));
}
