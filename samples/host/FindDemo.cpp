// The host's user types into the library's find box. The "user" is a series of timers
// of the host: one types the text a key at a time into the box (control 1041) and
// selects a package in the narrowed tree, one presses Escape in the box, and one
// presses Accept; screenshots are taken in between, once the dialog has repainted.
#include "FindDemo.h"

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

constexpr UINT_PTR kTypeTimer = 0x4631;
constexpr UINT_PTR kEscapeTimer = 0x4632;
constexpr UINT_PTR kAcceptTimer = 0x4633;
// After the watcher's own screenshot of the freshly opened dialog (200 ms).
constexpr UINT kTypeDelay = 700;
constexpr UINT kShotDelay = 400;
constexpr int kTreeId = 1018;
constexpr int kFindBoxId = 1041;
constexpr long kEveryCategory = 32 | 512 | 1024;

const char* const kTyped = "mix";
// Kept because its manager's description matches: chosen at the end.
const std::vector<std::string> kPackage = {"CAPE-OPEN 1.1 Property Package Manager", "Oskvale.PackageManager",
                                           "Air and Water"};

// The simulated user of the ShowGUI call.
struct Finder {
    std::string folder;
    HWND dialog = nullptr;
    std::vector<std::string> narrowed;  // the items of the narrowed tree
    std::vector<std::string> cleared;   // and of the tree after Escape
    bool packageSelected = false;
};

Finder* g_finder = nullptr;

// Every item of the tree, indented by its depth.
void listItems(HWND tree, HTREEITEM first, int depth, std::vector<std::string>& into)
{
    for (HTREEITEM item = first; item; item = TreeView_GetNextSibling(tree, item)) {
        into.push_back(std::string(2 * depth, ' ') + itemText(tree, item));
        listItems(tree, TreeView_GetChild(tree, item), depth + 1, into);
    }
}

std::vector<std::string> treeItems(HWND dialog)
{
    std::vector<std::string> items;
    HWND tree = GetDlgItem(dialog, kTreeId);
    listItems(tree, TreeView_GetRoot(tree), 0, items);
    return items;
}

void screenshot(HWND dialog, const char* name)
{
    const std::string path = g_finder->folder + "\\" + name;
    if (saveWindowScreenshot(dialog, path))
        std::printf("  [find] saved as %s\n", path.c_str());
}

void CALLBACK acceptTimer(HWND dialog, UINT, UINT_PTR id, DWORD)
{
    KillTimer(dialog, id);
    if (!g_finder)
        return;
    g_finder->cleared = treeItems(dialog);
    screenshot(dialog, "find-cleared.bmp");
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

void CALLBACK escapeTimer(HWND dialog, UINT, UINT_PTR id, DWORD)
{
    KillTimer(dialog, id);
    if (!g_finder)
        return;
    g_finder->narrowed = treeItems(dialog);
    screenshot(dialog, "find-narrowed.bmp");
    // The key goes through the dialog's own message loop, as a real one does.
    std::printf("  [find] Escape in the find box\n");
    PostMessageA(GetDlgItem(dialog, kFindBoxId), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    SetTimer(dialog, kAcceptTimer, kShotDelay, acceptTimer);
}

void CALLBACK typeTimer(HWND dialog, UINT, UINT_PTR id, DWORD)
{
    KillTimer(dialog, id);
    if (!g_finder)
        return;
    HWND box = GetDlgItem(dialog, kFindBoxId);
    std::printf("  [find] typing \"%s\" into the find box\n", kTyped);
    for (const char* key = kTyped; *key; ++key)
        SendMessageA(box, WM_CHAR, static_cast<unsigned char>(*key), 1);
    HWND tree = GetDlgItem(dialog, kTreeId);
    HTREEITEM package = findPath(tree, kPackage);
    g_finder->packageSelected = package != nullptr;
    if (package)
        TreeView_SelectItem(tree, package);  // the dialog shows the package's information
    SetTimer(dialog, kEscapeTimer, kShotDelay, escapeTimer);
}

void printItems(const char* what, const std::vector<std::string>& items)
{
    std::printf("  %s (%zu items):\n", what, items.size());
    for (const std::string& item : items)
        std::printf("    %s\n", item.c_str());
}

}  // namespace

int runFindDemo(ICCAPEGUI* gui, const std::string& folder, WindowWatcher* watcher)
{
    std::printf("== Find box: \"%s\" in the Component Manager, then Escape\n", kTyped);
    HRESULT hr = gui->setup(0, nullptr, kEveryCategory);
    if (FAILED(hr)) {
        std::printf("  setup failed (0x%08lX)\n", static_cast<unsigned long>(hr));
        return 1;
    }
    if (watcher)
        watcher->setStep("find-box");
    Finder finder;
    finder.folder = folder;
    g_finder = &finder;
    const ShowGuiResult shown = showGuiAsUser(gui, {{kFindBoxId, kTypeTimer, kTypeDelay, typeTimer, &finder.dialog}});
    g_finder = nullptr;
    hr = shown.hr;

    const std::string chosen = shown.component.value_or("");
    printItems("The tree narrowed to \"mix\"", finder.narrowed);
    printItems("The tree after Escape", finder.cleared);
    std::printf("  ShowGUI              0x%08lX, chosen \"%s\"\n", static_cast<unsigned long>(hr), chosen.c_str());
    const bool ok =
        finder.packageSelected && finder.cleared.size() > finder.narrowed.size() && chosen == kPackage.back();
    return ok ? 0 : 1;
}
