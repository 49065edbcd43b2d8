// The find box driven as a user drives it: typing narrows the tree without reading the
// registry again, Escape clears the box and brings the whole tree back, the selection
// and the information panel follow the tree.
#include "CatalogueFixture.h"
#include "testkit/Controls.h"

using testkit::TreeNode;
using testkit::TreeView;

namespace {

// Every item of the tree as "category / item / child", in tree order; a closed one
// with items below it (which the user then does not see) is marked.
Lines itemsOf(const TreeNode& node, const std::string& above = "")
{
    Lines items;
    for (const TreeNode& child : node.children) {
        items.push_back(above + child.label + (child.expanded || child.children.empty() ? "" : " (closed)"));
        const Lines below = itemsOf(child, above + child.label + " / ");
        items.insert(items.end(), below.begin(), below.end());
    }
    return items;
}
Lines itemsOf(HWND dialog) { return itemsOf(TreeView(dialog).read()); }

// One WM_CHAR per character, as the keyboard sends them.
void type(HWND dialog, const std::string& text)
{
    for (char c : text)
        SendDlgItemMessageA(dialog, IDC_FIND_BOX, WM_CHAR, static_cast<unsigned char>(c), 1);
}

struct NarrowingRow {
    const char* name;
    std::string typed;  // <mixer> etc. stand for the installed ProgIDs
    Lines items;
};
using Narrowing = CatalogueTable<NarrowingRow>;

}  // namespace

TEST_P(Narrowing, KeepsTheMatchingItemsWithTheirCategoryAndManager)
{
    const InstalledCatalogue& it = installed();
    const int creations = it.manager.creations();
    ComponentManagerRun run(32 | 512 | 1024);
    Lines narrowed, refreshed;
    run([&](HWND dialog) {
        type(dialog, it.expand(GetParam().typed));
        narrowed = itemsOf(dialog);
        testkit::click(dialog, IDC_REFRESH);
        refreshed = itemsOf(dialog);
    });
    EXPECT_EQ(narrowed, it.expand(GetParam().items)) << "typed: " << it.expand(GetParam().typed);
    EXPECT_EQ(it.manager.creations() - creations, 2) << "typing reads nothing again: the manager is created "
                                                        "for the first listing and for Refresh only";
    EXPECT_EQ(refreshed, narrowed) << "Refresh rebuilds the tree narrowed by the text in the box";
}

INSTANTIATE_TEST_SUITE_P(
    Catalogue, Narrowing,
    ::testing::Values(
        NarrowingRow{"PackageKeepsItsManager", "cUBIC",
                     {kManagersCategory, kManagersCategory + " / Thermo Manager [<manager>]",
                      kManagersCategory + " / Thermo Manager [<manager>] / Peng-Robinson [PR]"}},
        NarrowingRow{"ManagerKeepsItsPackages", "<manager>",
                     {kManagersCategory, kManagersCategory + " / Thermo Manager [<manager>]",
                      kManagersCategory + " / Thermo Manager [<manager>] / SRK",
                      kManagersCategory + " / Thermo Manager [<manager>] / Peng-Robinson [PR]",
                      kManagersCategory + " / Thermo Manager [<manager>] / Ideal"}},
        NarrowingRow{"ManagerKeepsItsMessage", "<refusing>",
                     {kManagersCategory, kManagersCategory + " / <refusing>",
                      kManagersCategory + " / <refusing> /  ERROR: (0x8000FFFF)"}},
        NarrowingRow{"NotByACategoryOrALineWithoutRecord", "operations", {}},
        NarrowingRow{"NotByALineUnderAComponent", "error", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CatalogueTest, EscapeInTheFindBoxBringsTheWholeTreeAndTheSelectionBack)
{
    const InstalledCatalogue& it = installed();
    ComponentManagerRun run(32 | 512 | 1024);
    run([&](HWND dialog) {
        wchar_t cue[64] = {};
        SendDlgItemMessageW(dialog, IDC_FIND_BOX, EM_GETCUEBANNER, reinterpret_cast<WPARAM>(cue), 64);
        EXPECT_EQ(std::wstring(cue), L"Find a component") << "the find box's cue text";
        RECT box{}, tree{};
        GetWindowRect(GetDlgItem(dialog, IDC_FIND_BOX), &box);
        GetWindowRect(GetDlgItem(dialog, IDC_COMPONENT_TREE), &tree);
        EXPECT_LE(box.bottom, tree.top) << "the box sits above the tree";

        const Lines whole = itemsOf(dialog);
        TreeView(dialog).select(it.expand({kUnitsCategory, "Mixer [<mixer>]"}));
        type(dialog, "mixes");
        EXPECT_EQ(TreeView(dialog).find(it.expand({kUnitsCategory, "Mixer [<mixer>]"})),
                  reinterpret_cast<HTREEITEM>(
                      SendDlgItemMessageA(dialog, IDC_COMPONENT_TREE, TVM_GETNEXTITEM, TVGN_CARET, 0)))
            << "a selected item that stays stays selected";
        EXPECT_EQ(testkit::controlText(dialog, IDC_DESCRIPTION), "Mixes streams") << "and the panel shows it";

        type(dialog, " and more");
        EXPECT_EQ(itemsOf(dialog), Lines{}) << "\"mixes and more\" matches nothing";
        EXPECT_EQ(testkit::controlText(dialog, IDC_DESCRIPTION) + testkit::controlText(dialog, IDC_CLSID), "")
            << "and the panel is empty";
        EXPECT_FALSE(testkit::isEnabled(dialog, IDC_VENDOR_URL)) << "its web buttons off";

        testkit::pressKey(dialog, VK_ESCAPE, IDC_FIND_BOX);
        EXPECT_EQ(testkit::controlText(dialog, IDC_FIND_BOX), "") << "Escape clears the box";
        EXPECT_EQ(itemsOf(dialog), whole) << "and the whole tree is back";
        EXPECT_EQ(testkit::controlText(dialog, IDC_DESCRIPTION), "Mixes streams")
            << "with the mixer selected again and shown";
        EXPECT_EQ(run.boxes().count(), 0u) << "Escape in a box with text does not cancel the dialog";

        run.driver.answerNextBox(IDNO);
        testkit::pressKey(dialog, VK_ESCAPE, IDC_FIND_BOX);
        EXPECT_EQ(run.boxes().texts(), Lines{kAbortQuestion}) << "Escape in the empty box cancels, which asks first";
    });
}
