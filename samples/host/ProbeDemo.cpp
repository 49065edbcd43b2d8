// The host right-clicks a unit operation in the library's Component Manager. The
// "user" is a timer of the host that finds the mixer in the dialog's tree by its
// label, selects it and sends the tree's right-click notification, then reads what
// the library appended under the item.
#include "ProbeDemo.h"

#include <windows.h>
#include <commctrl.h>
#include <oleauto.h>

#include <cstdio>
#include <string>
#include <vector>

#include "ScriptedUser.h"
#include "Screenshot.h"
#include "TreeItems.h"
#include "WindowWatcher.h"

namespace {

constexpr UINT_PTR kProbeTimer = 0x5031;
constexpr UINT_PTR kShotTimer = 0x5032;
// After the watcher's own screenshot of the freshly opened dialog (200 ms).
constexpr UINT kProbeDelay = 700;
constexpr UINT kShotDelay = 400;
constexpr int kTreeId = 1018;

const char* const kCategory = "Unit Operations";
const char* const kComponent = "Tarnwick.Mixer";

// The simulated user of the ShowGUI call.
struct Prober {
    std::string screenshot;
    HWND dialog = nullptr;
    HTREEITEM mixer = nullptr;
    std::vector<std::string> lines;
};

Prober* g_prober = nullptr;

void CALLBACK shotTimer(HWND dialog, UINT, UINT_PTR id, DWORD)
{
    KillTimer(dialog, id);
    if (!g_prober)
        return;
    HWND tree = GetDlgItem(dialog, kTreeId);
    if (g_prober->mixer) {
        HTREEITEM line = TreeView_GetChild(tree, g_prober->mixer);
        for (; line; line = TreeView_GetNextSibling(tree, line))
            g_prober->lines.push_back(itemText(tree, line));
    }
    if (saveWindowScreenshot(dialog, g_prober->screenshot))
        std::printf("  [probe] saved as %s\n", g_prober->screenshot.c_str());
    // Accept, as the button does: the mixer may be chosen with this filter.
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

void CALLBACK probeTimer(HWND dialog, UINT, UINT_PTR id, DWORD)
{
    KillTimer(dialog, id);
    if (!g_prober)
        return;
    HWND tree = GetDlgItem(dialog, kTreeId);
    g_prober->mixer = tree ? findPath(tree, {kCategory, kComponent}) : nullptr;
    if (g_prober->mixer) {
        TreeView_SelectItem(tree, g_prober->mixer);
        std::printf("  [right click] %s\n", itemText(tree, g_prober->mixer).c_str());
        // What the tree tells its dialog on a right click.
        NMHDR header{tree, static_cast<UINT_PTR>(kTreeId), static_cast<UINT>(NM_RCLICK)};
        SendMessageA(dialog, WM_NOTIFY, kTreeId, reinterpret_cast<LPARAM>(&header));
        // The mixer at the top, so that its lines fill the tree's window.
        TreeView_Select(tree, g_prober->mixer, TVGN_FIRSTVISIBLE);
    } else {
        std::printf("  [right click] nothing: %s is not in the tree (are the samples registered?)\n", kComponent);
    }
    SetTimer(dialog, kShotTimer, kShotDelay, shotTimer);
}

}  // namespace

int runProbeDemo(ICCAPEGUI* gui, const std::string& folder, WindowWatcher* watcher)
{
    std::printf("== Interface probe: right click on %s in the Component Manager\n", kComponent);
    HRESULT hr = gui->setup(0, nullptr, 32);
    if (FAILED(hr)) {
        std::printf("  setup failed (0x%08lX)\n", static_cast<unsigned long>(hr));
        return 1;
    }
    if (watcher)
        watcher->setStep("interface-probe");
    Prober prober;
    prober.screenshot = folder + "\\interface-probe.bmp";
    g_prober = &prober;
    hr = showGuiAsUser(gui, {{kTreeId, kProbeTimer, kProbeDelay, probeTimer, &prober.dialog}}).hr;
    g_prober = nullptr;

    std::printf("  ShowGUI              0x%08lX\n", static_cast<unsigned long>(hr));
    std::printf("  The lines under the mixer:\n");
    bool unitAnswered = false;
    for (const std::string& line : prober.lines) {
        std::printf("    %s\n", line.c_str());
        unitAnswered = unitAnswered || line == "QI( ICapeUnit ) succeeded";
    }
    return prober.lines.size() == 15 && unitAnswered ? 0 : 1;
}
