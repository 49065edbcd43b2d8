// How long the Component Manager takes to build its catalogue into the dialog's tree,
// against the floor: the same enumeration of the categories, the same registry reads
// and the same manager calls, without a tree. Registers N synthetic unit operations
// and M managers with K packages each in the prefix, for each N asked for (and N = 0),
// and prints both times, their ratio, the cost per listed item and the cost of each
// unit operation above N = 0.
//   catalogue_bench.exe [managers] [packages] [runs] [N...]     (default 10 20 9 500 2000)
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "SyntheticInstallation.h"
#include "testkit/MessageBoxDriver.h"
#include "catalogue/CapeOpenDlg.h"
#include "catalogue/CategoryClasses.h"
#include "catalogue/PackageList.h"
#include "catalogue/RecordReader.h"
#include "support/WideText.h"
#include "support/ComPtr.h"
#include "support/ErrorReport.h"
#include "support/MTUtils.h"

namespace {

constexpr unsigned long kEveryCategory = 32 | 512 | 1024;

// The floor: what DisplayCategories does, without the tree. Returns the items it
// would list.
size_t buildWithoutTree()
{
    size_t items = 0;
    for (const CategoryEntry& entry : kCategoryTable) {
        RecordList records;
        std::vector<CAPETreeItemTag*> listed;
        forEachClassOfCategory(entry.wideCatid, nullptr, [&](const CLSID& clsid) {
            records.push_back(std::make_unique<CAPETreeItemTag>());
            RecordReading progress;
            if (readRecord(clsid, entry.catid, "", *records.back(), progress) == S_OK &&
                !records.back()->ProgID.empty())
                listed.push_back(records.back().get());
        });
        items += listed.size() + 1;
        if (entry.filterFlag != kManagerFilter)
            continue;
        for (const CAPETreeItemTag* manager : listed) {
            CLSID clsid = CLSID_NULL;
            CLSIDFromProgID(toWide(manager->ProgID).c_str(), &clsid);
            ComPtr<IUnknown> object;
            if (FAILED(createInterface(clsid, nullptr, kAnyServerContext, IID_IUnknown, object.putVoid(), nullptr)))
                continue;
            const PackageListing listing = readPackageListing(object.get());
            for (const std::string& name : listing.packageNames) {
                records.push_back(std::make_unique<CAPETreeItemTag>());
                RecordReading progress;
                readRecord(clsid, kPackageCatid, name, *records.back(), progress);
                ++items;
            }
        }
    }
    return items;
}

size_t treeItemCount(HWND tree) { return static_cast<size_t>(SendMessageA(tree, TVM_GETCOUNT, 0, 0)); }

struct Figures {
    double tree = 0;   // median
    double floor = 0;  // median
    double ratio = 0;  // median of the ratios of runs made back to back
    size_t items = 0;
};

// Floor and tree runs alternate, so that both see the machine in the same state; the
// ratio is taken per pair of runs, which keeps a change of the machine's load between
// pairs out of it.
Figures measure(int runs)
{
    Figures figures;
    std::vector<double> floors;
    std::vector<double> trees;
    CCapeOpenDlg dialog(nullptr, nullptr);
    dialog.filterMask = kEveryCategory;
    MessageBoxDriver boxes;
    size_t shown = 0;
    boxes.onDialog([&](HWND window) {
        // The dialog has built its tree once already: registry and COM caches are warm.
        for (int run = 0; run < runs; ++run) {
            double start = now();
            figures.items = buildWithoutTree();
            floors.push_back(now() - start);

            dialog.ClearCatalogue(true);  // each tree run starts from an empty tree
            start = now();
            dialog.DisplayCategories();
            trees.push_back(now() - start);
        }
        shown = treeItemCount(GetDlgItem(window, 1018));
        EndDialog(window, IDOK);
    });
    dialog.DoModal();
    figures.floor = median(floors);
    figures.tree = median(trees);
    std::vector<double> ratios;
    for (size_t run = 0; run < trees.size(); ++run)
        ratios.push_back(trees[run] / floors[run]);
    figures.ratio = median(ratios);
    if (shown != figures.items)
        std::printf("  (the tree holds %zu items, the floor counted %zu)\n", shown, figures.items);
    return figures;
}

}  // namespace

int main(int argc, char** argv)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    MTUtils::setModuleName("catalogue_bench.exe");
    auto [managers, packages, runs, sizes] = readCatalogueBenchArguments(argc, argv);

    std::printf("Catalogue build: %zu managers with %zu packages each, median of %d runs\n", managers, packages, runs);
    // N = 0 first: the cost of everything but the unit operations (the categories
    // manager's walk over every registered class, the managers and their packages),
    // so that the cost of each added unit operation can be told apart.
    if (sizes.front() != 0)
        sizes.insert(sizes.begin(), 0);
    std::printf("%8s %8s %12s %12s %7s %14s %16s\n", "N", "items", "tree (ms)", "floor (ms)", "ratio", "tree us/item",
                "tree us/unit op");
    double baseline = 0;
    for (size_t units : sizes) {
        Installation installation;
        installation.addUnits(units);
        installation.addManagers(managers, packages);
        const Figures f = measure(runs);
        if (units == 0)
            baseline = f.tree;
        std::printf("%8zu %8zu %12.1f %12.1f %7.2f %14.1f", units, f.items, f.tree * 1e3, f.floor * 1e3, f.ratio,
                    f.tree * 1e6 / double(f.items));
        if (units > 0)
            std::printf(" %16.1f", (f.tree - baseline) * 1e6 / double(units));
        std::printf("\n");
    }
    CoUninitialize();
    return 0;
}
