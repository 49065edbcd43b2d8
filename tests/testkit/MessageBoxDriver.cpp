#include "testkit/MessageBoxDriver.h"

#include <algorithm>

// The static control that holds a message box's text, and its icon control (the
// icon's id is 0x14 on Windows and 0x440 in Wine's template).
static constexpr int kBoxTextId = 0xFFFF;
static constexpr int kBoxIconIds[] = {0x14, 0x440};

// The driver that hooks this thread now (drivers nest: the newest one answers).
static thread_local MessageBoxDriver* t_current = nullptr;

bool ShownBox::hasButton(int id) const
{
    return std::find(buttons.begin(), buttons.end(), id) != buttons.end();
}

static std::string windowText(HWND window)
{
    std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

static bool isDialog(HWND window)
{
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    return std::string(className) == "#32770";
}

MessageBoxDriver::MessageBoxDriver(int defaultButton) : defaultButton_(defaultButton)
{
    previous_ = t_current;
    t_current = this;
    hook_ = SetWindowsHookExA(WH_CBT, hookProc, nullptr, GetCurrentThreadId());
}

MessageBoxDriver::~MessageBoxDriver()
{
    if (hook_)
        UnhookWindowsHookEx(hook_);
    t_current = previous_;
}

void MessageBoxDriver::answerNext(int button)
{
    answers_.push_back(button);
}

void MessageBoxDriver::onDialog(std::function<void(HWND)> handler)
{
    dialogHandler_ = std::move(handler);
}

LRESULT CALLBACK MessageBoxDriver::hookProc(int code, WPARAM wParam, LPARAM lParam)
{
    MessageBoxDriver* driver = t_current;
    if (code == HCBT_ACTIVATE && driver)
        driver->activated(reinterpret_cast<HWND>(wParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A box or dialog activates before its WM_INITDIALOG has filled it in, so it is
// inspected from a timer that its own modal loop dispatches once it is ready.
static constexpr UINT_PTR kInspectTimer = 0x5142;

void MessageBoxDriver::activated(HWND window)
{
    if (!isDialog(window))
        return;
    if (std::find(seenDialogs_.begin(), seenDialogs_.end(), window) != seenDialogs_.end())
        return;  // activated again (focus came back): handled already
    seenDialogs_.push_back(window);
    SetTimer(window, kInspectTimer, 1, inspectTimerProc);
}

void CALLBACK MessageBoxDriver::inspectTimerProc(HWND window, UINT, UINT_PTR id, DWORD)
{
    KillTimer(window, id);
    if (MessageBoxDriver* driver = t_current)
        driver->inspect(window);
}

void MessageBoxDriver::inspect(HWND window)
{
    HWND textControl = GetDlgItem(window, kBoxTextId);
    if (!textControl) {
        if (dialogHandler_)
            dialogHandler_(window);
        return;
    }

    ShownBox box;
    box.owner = GetWindow(window, GW_OWNER);
    box.ownerCaption = windowText(box.owner);
    box.caption = windowText(window);
    box.text = windowText(textControl);
    box.style = GetWindowLongA(window, GWL_STYLE);
    box.exStyle = GetWindowLongA(window, GWL_EXSTYLE);
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
    // Posted: the box handles the click from its own message loop, as a user's click.
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, answer)));
}
