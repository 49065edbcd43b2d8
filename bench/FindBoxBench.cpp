// How long a keystroke in the Component Manager's find box takes, from the key to the
// repainted tree, against the floor: filling a tree from empty with the same items
// from the same records, with no find rule at all. Registers N synthetic unit operations and M managers with K
// packages each in the prefix, builds the catalogue once, then types a text one key
// at a time and presses Escape, several times over, and prints per keystroke the items
// the tree keeps, both medians, their ratio and the keystroke's cost per kept item.
//   findbox_bench.exe [managers] [packages] [runs] [N...]     (default 10 20 9 500 2000)
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "SyntheticInstallation.h"
#include "catalogue/CapeOpenDlg.h"
#include "catalogue/TreeControl.h"
#include "resources/ControlIds.h"
#include "support/MTUtils.h"
#include "testkit/MessageBoxDriver.h"

namespace {

constexpr unsigned long kEveryCategory = 32 | 512 | 1024;
// "u" keeps nearly everything (the managers' description says "made up"), "un" the
// unit operations only, "unit 1" those numbered 1, 10 to 19, 100 to 199 and so on.
constexpr const char* kTyped = "unit 1";

// What the tree shows, read back: enough to fill it again without the find rule.
struct ShownItem {
    size_t parent;  // index in the list; npos at top level
    std::string label;
    LPARAM record;
};

void readShown(const TreeControl& tree, HTREEITEM first, size_t parent, std::vector<ShownItem>& into)
{
    for (HTREEITEM item = first; item; item = tree.nextSibling(item)) {
        into.push_back({parent, tree.text(item), tree.data(item)});
        readShown(tree, tree.firstChild(item), into.size() - 1, into);
    }
}

// The floor: a tree filled with the same items from the same records, from empty,
// inside one build as the catalogue fills its tree, and repainted.
void fillFromRecords(TreeControl& tree, const std::vector<ShownItem>& items)
{
    {
        TreeBuild build(tree);
        tree.deleteAll();
        std::vector<HTREEITEM> made(items.size(), nullptr);
        for (size_t i = 0; i < items.size(); ++i) {
            HTREEITEM above = items[i].parent == std::string::npos ? nullptr : made[items[i].parent];
            made[i] = tree.append(above, items[i].label, items[i].record);
            tree.makeVisible(made[i]);
        }
    }
    UpdateWindow(tree.hwnd());
}

// A second tree like the dialog's, in the same place, shown only while the floor is
// measured: the dialog's own tree must stay as the find box left it.
HWND makeFloorTree(HWND dialog, HWND model)
{
    RECT place{};
    GetWindowRect(model, &place);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
    HWND tree =
        CreateWindowExA(0, WC_TREEVIEWA, "", GetWindowLongA(model, GWL_STYLE) & ~WS_VISIBLE, place.left, place.top,
                        place.right - place.left, place.bottom - place.top, dialog, nullptr, nullptr, nullptr);
    SendMessageA(tree, WM_SETFONT, SendMessageA(model, WM_GETFONT, 0, 0), FALSE);
    SendMessageA(tree, TVM_SETBKCOLOR, 0, SendMessageA(model, TVM_GETBKCOLOR, 0, 0));
    SetWindowPos(tree, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return tree;
}

struct Step {
    std::string text;  // the box's text after the key
    size_t items = 0;
    std::vector<double> keystroke;
    std::vector<double> floor;
};

// The steps of one run: each key of kTyped, then Escape.
std::vector<Step> measure(int runs)
{
    std::vector<Step> steps;
    for (size_t typed = 1; typed <= std::char_traits<char>::length(kTyped); ++typed)
        steps.push_back({std::string(kTyped, typed), 0, {}, {}});
    steps.push_back({"(Escape)", 0, {}, {}});

    CCapeOpenDlg dialog(nullptr, nullptr);
    dialog.filterMask = kEveryCategory;
    MessageBoxDriver boxes;
    boxes.onDialog([&](HWND window) {
        HWND box = GetDlgItem(window, IDC_FIND_BOX);
        TreeControl tree;
        tree.attach(GetDlgItem(window, IDC_COMPONENT_TREE));
        TreeControl floorTree;
        floorTree.attach(makeFloorTree(window, tree.hwnd()));
        UpdateWindow(window);
        for (int run = 0; run < runs; ++run) {
            for (size_t i = 0; i < steps.size(); ++i) {
                const bool escape = i + 1 == steps.size();
                double start = now();
                if (escape)
                    SendMessageA(box, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
                else
                    SendMessageA(box, WM_CHAR, static_cast<unsigned char>(kTyped[i]), 1);
                UpdateWindow(tree.hwnd());
                steps[i].keystroke.push_back(now() - start);

                std::vector<ShownItem> shown;
                readShown(tree, tree.firstChild(nullptr), std::string::npos, shown);
                steps[i].items = shown.size();
                ShowWindow(floorTree.hwnd(), SW_SHOWNA);
                start = now();
                fillFromRecords(floorTree, shown);
                steps[i].floor.push_back(now() - start);
                ShowWindow(floorTree.hwnd(), SW_HIDE);
                UpdateWindow(window);
            }
        }
        DestroyWindow(floorTree.hwnd());
        EndDialog(window, IDOK);
    });
    dialog.DoModal();
    return steps;
}

}  // namespace

int main(int argc, char** argv)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    MTUtils::setModuleName("findbox_bench.exe");
    const auto [managers, packages, runs, sizes] = readCatalogueBenchArguments(argc, argv);

    std::printf("Find box: %zu managers with %zu packages each, typing \"%s\" then Escape, median of %d runs\n",
                managers, packages, kTyped, runs);
    for (size_t units : sizes) {
        Installation installation;
        installation.addUnits(units);
        installation.addManagers(managers, packages);
        const std::vector<Step> steps = measure(runs);
        std::printf("\nN = %zu unit operations\n", units);
        std::printf("%-10s %7s %14s %12s %7s %14s\n", "box", "items", "keystroke (ms)", "floor (ms)", "ratio",
                    "key us/item");
        double slowest = 0;
        for (const Step& step : steps) {
            const double key = median(step.keystroke);
            const double floor = median(step.floor);
            slowest = std::max(slowest, key);
            std::printf("%-10s %7zu %14.2f %12.2f %7.2f %14.2f\n", ("\"" + step.text + "\"").c_str(), step.items,
                        key * 1e3, floor * 1e3, key / floor, key * 1e6 / double(std::max<size_t>(step.items, 1)));
        }
        std::printf("slowest keystroke: %.2f ms\n", slowest * 1e3);
    }
    CoUninitialize();
    return 0;
}
