#include "ScriptedUser.h"

#include <oleauto.h>

namespace {

const std::vector<UserStep>* g_steps = nullptr;
HHOOK g_hook = nullptr;

LRESULT CALLBACK activationHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE && g_steps) {
        HWND window = reinterpret_cast<HWND>(wParam);
        for (const UserStep& step : *g_steps) {
            if (*step.window || !GetDlgItem(window, step.control))
                continue;
            *step.window = window;
            SetTimer(window, step.timer, step.delay, step.start);
            break;
        }
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

// The text of a string the host was handed, which it frees.
std::optional<std::string> takeText(BSTR text)
{
    std::optional<std::string> result;
    if (text)
        result = narrow(text, SysStringLen(text));
    SysFreeString(text);
    return result;
}

}  // namespace

std::string narrow(const wchar_t* text, size_t length)
{
    if (!text || length == 0)
        return {};
    std::string result(length * 4, '\0');
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), result.data(),
                                         static_cast<int>(result.size()), nullptr, nullptr);
    result.resize(size > 0 ? static_cast<size_t>(size) : 0);
    return result;
}

ShowGuiResult showGuiAsUser(ICCAPEGUI* gui, const std::vector<UserStep>& steps)
{
    g_steps = &steps;
    g_hook = SetWindowsHookExA(WH_CBT, activationHook, nullptr, GetCurrentThreadId());
    BSTR component = nullptr;
    BSTR catids = nullptr;
    ShowGuiResult result;
    result.hr = gui->ShowGUI(&component, &catids);
    UnhookWindowsHookEx(g_hook);
    g_hook = nullptr;
    g_steps = nullptr;
    result.component = takeText(component);
    result.catids = takeText(catids);
    return result;
}
