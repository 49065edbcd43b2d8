// The host lets the user choose a component in the library's Component Manager. The
// "user" here is a timer of the host that finds the wanted item in the dialog's tree
// by its label, selects it and presses Accept, with the messages a real click sends.
#include "ManagerDemo.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <oleauto.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Screenshot.h"
#include "TreeItems.h"
#include "WindowWatcher.h"

namespace {

constexpr UINT_PTR kSelectTimer = 0x4D31;
constexpr UINT_PTR kAcceptTimer = 0x4D32;
// After the watcher's own screenshot of the freshly opened dialog (200 ms).
constexpr UINT kSelectDelay = 700;
constexpr UINT kAcceptDelay = 400;

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

// What the host reads back: "(null)" for a null BSTR, else the text in quotes.
std::string shown(BSTR text) { return text ? "\"" + narrow(text, SysStringLen(text)) + "\"" : "(null)"; }

// The simulated user of one ShowGUI call.
struct Chooser {
    std::vector<std::string> path;  // category, component, package
    std::string screenshot;
    HWND dialog = nullptr;
    bool found = false;
};

Chooser* g_chooser = nullptr;
HHOOK g_hook = nullptr;

void CALLBACK acceptTimer(HWND dialog, UINT, UINT_PTR id, DWORD)
{
    KillTimer(dialog, id);
    if (g_chooser && saveWindowScreenshot(dialog, g_chooser->screenshot))
        std::printf("  [chosen] saved as %s\n", g_chooser->screenshot.c_str());
    // Accept, as the button does. Without a chosen item the dialog asks whether to try
    // again; the watcher's OK answer closes it without a component.
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

void CALLBACK selectTimer(HWND dialog, UINT, UINT_PTR id, DWORD)
{
    KillTimer(dialog, id);
    if (!g_chooser)
        return;
    HWND tree = FindWindowExA(dialog, nullptr, "SysTreeView32", nullptr);
    HTREEITEM item = tree ? findPath(tree, g_chooser->path) : nullptr;
    g_chooser->found = item != nullptr;
    if (item) {
        TreeView_SelectItem(tree, item);  // the dialog shows the item's information
        std::printf("  [chosen] %s\n", itemText(tree, item).c_str());
    } else {
        std::printf("  [chosen] nothing: %s is not in the tree (are the samples registered?)\n",
                    g_chooser->path.back().c_str());
    }
    SetTimer(dialog, kAcceptTimer, kAcceptDelay, acceptTimer);
}

LRESULT CALLBACK activationHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE && g_chooser && !g_chooser->dialog) {
        HWND window = reinterpret_cast<HWND>(wParam);
        if (FindWindowExA(window, nullptr, "SysTreeView32", nullptr)) {
            g_chooser->dialog = window;
            SetTimer(window, kSelectTimer, kSelectDelay, selectTimer);
        }
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

void printText(const char* member, HRESULT hr, BSTR text)
{
    if (SUCCEEDED(hr))
        std::printf("  %-20s %s\n", member, shown(text).c_str());
    else
        std::printf("  %-20s failed (0x%08lX)\n", member, static_cast<unsigned long>(hr));
    SysFreeString(text);
}

template <class Member>
void readText(const char* name, Member&& member)
{
    BSTR text = nullptr;
    const HRESULT hr = member(&text);
    printText(name, hr, text);
}

void printReadBack(ICCAPEGUI* gui)
{
    readText("GetItemProgID", [&](BSTR* out) { return gui->GetItemProgID(out); });
    readText("GetItemAlias", [&](BSTR* out) { return gui->GetItemAlias(out); });
    readText("GetItemCLSID", [&](BSTR* out) { return gui->GetItemCLSID(out); });
    readText("GetCATID", [&](BSTR* out) { return gui->GetCATID(out); });
    readText("GetParentProgID", [&](BSTR* out) { return gui->GetParentProgID(out); });
    readText("GetParentAlias", [&](BSTR* out) { return gui->GetParentAlias(out); });
    LONG version = -1;
    const HRESULT hr = gui->get_compCOversion(&version);
    std::printf("  %-20s %ld%s\n", "compCOversion", static_cast<long>(version), SUCCEEDED(hr) ? "" : " (failed)");
    readText("serverName", [&](BSTR* out) { return gui->get_serverName(out); });
    BSTR info[5] = {};
    const HRESULT infoResult = gui->GetItemInfo(&info[0], &info[1], &info[2], &info[3], &info[4]);
    const char* labels[5] = {"description", "componentVersion", "vendorURL", "helpURL", "about"};
    for (int i = 0; i < 5; ++i)
        printText((std::string("GetItemInfo ") + labels[i]).c_str(), infoResult, info[i]);
}

// One ShowGUI with filter, choosing the item at path. True when it came back chosen.
bool chooseWith(ICCAPEGUI* gui, long filter, const std::vector<std::string>& path, const std::string& folder,
                WindowWatcher* watcher)
{
    std::printf("== Component Manager with filter %ld: choosing %s\n", filter, path.back().c_str());
    HRESULT hr = gui->setup(0, nullptr, filter);
    if (FAILED(hr)) {
        std::printf("  setup failed (0x%08lX)\n", static_cast<unsigned long>(hr));
        return false;
    }
    if (watcher)
        watcher->setStep("component-manager-" + std::to_string(filter));
    Chooser chooser{path, folder + "\\manager-" + std::to_string(filter) + "-chosen.bmp"};
    g_chooser = &chooser;
    g_hook = SetWindowsHookExA(WH_CBT, activationHook, nullptr, GetCurrentThreadId());
    BSTR component = nullptr;
    BSTR catids = nullptr;
    hr = gui->ShowGUI(&component, &catids);
    UnhookWindowsHookEx(g_hook);
    g_hook = nullptr;
    g_chooser = nullptr;

    std::printf("  ShowGUI              0x%08lX, szComponent %s, szCATIDs %s\n", static_cast<unsigned long>(hr),
                shown(component).c_str(), shown(catids).c_str());
    const bool chosen = component && SysStringLen(component) > 0;
    SysFreeString(component);
    SysFreeString(catids);
    std::printf("  The host reads back:\n");
    printReadBack(gui);
    return chooser.found && chosen;
}

}  // namespace

int runManagerDemo(ICCAPEGUI* gui, const std::string& folder, WindowWatcher* watcher)
{
    int failures = 0;
    if (!chooseWith(gui, 1536, {"CAPE-OPEN 1.1 Property Package Manager", "Oskvale.PackageManager", "Natural Gas"},
                    folder, watcher))
        ++failures;
    if (!chooseWith(gui, 32, {"Unit Operations", "Tarnwick.Mixer"}, folder, watcher))
        ++failures;
    return failures == 0 ? 0 : 1;
}
