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

#include "ScriptedUser.h"
#include "Screenshot.h"
#include "TreeItems.h"
#include "WindowWatcher.h"

namespace {

constexpr UINT_PTR kSelectTimer = 0x4D31;
constexpr UINT_PTR kAcceptTimer = 0x4D32;
// After the watcher's own screenshot of the freshly opened dialog (200 ms).
constexpr UINT kSelectDelay = 700;
constexpr UINT kAcceptDelay = 400;
constexpr int kTreeId = 1018;

// What the host reads back: "(null)" for a null string, else the text in quotes.
std::string shown(const std::optional<std::string>& text) { return text ? "\"" + *text + "\"" : "(null)"; }
std::string shown(BSTR text)
{
    return shown(text ? std::optional<std::string>(narrow(text, SysStringLen(text))) : std::nullopt);
}

// The simulated user of one ShowGUI call.
struct Chooser {
    std::vector<std::string> path;  // category, component, package
    std::string screenshot;
    HWND dialog = nullptr;
    bool found = false;
};

Chooser* g_chooser = nullptr;

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
    HWND tree = GetDlgItem(dialog, kTreeId);
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
    const ShowGuiResult shownGui =
        showGuiAsUser(gui, {{kTreeId, kSelectTimer, kSelectDelay, selectTimer, &chooser.dialog}});
    g_chooser = nullptr;

    std::printf("  ShowGUI              0x%08lX, szComponent %s, szCATIDs %s\n",
                static_cast<unsigned long>(shownGui.hr), shown(shownGui.component).c_str(),
                shown(shownGui.catids).c_str());
    const bool chosen = shownGui.component && !shownGui.component->empty();
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
