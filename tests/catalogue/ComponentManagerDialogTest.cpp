// The Component Manager's window as it opens: template, controls, initialisation,
// the information panel and the settings-driven COGents button.
#include <cstdio>
#include <fstream>

#include "CatalogueFixture.h"
#include "catalogue/CapeOpenDlg.h"
#include "resources/ControlIds.h"
#include "support/MTUtils.h"

namespace {

std::string className(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

LONG styleOf(HWND dialog, int id)
{
    return GetWindowLongA(GetDlgItem(dialog, id), GWL_STYLE);
}

bool visible(HWND dialog, int id)
{
    return (styleOf(dialog, id) & WS_VISIBLE) != 0;
}

// Runs a creation-mode dialog with filter, hands its window to inspect, then cancels.
void inspectDialog(unsigned long filter, const std::function<void(HWND)>& inspect)
{
    MessageBoxDriver boxes;
    CCapeOpenDlg dialog(nullptr, nullptr);
    dialog.filterMask = filter;
    boxes.answerNext(IDYES);
    runDialog(dialog, boxes, [&](HWND window) {
        inspect(window);
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    });
}

}  // namespace

class ComponentManagerDialog : public CatalogueFixture {};

TEST_F(ComponentManagerDialog, HasTheTemplatesCaptionSizeAndControls)
{
    inspectDialog(32, [](HWND dialog) {
        char caption[128] = {};
        GetWindowTextA(dialog, caption, sizeof caption);
        EXPECT_STREQ(caption, "Corvane Quillon CAPE-OPEN 1.1 Property Component Manager");
        RECT client{};
        GetClientRect(dialog, &client);
        RECT units{0, 0, 500, 300};
        MapDialogRect(dialog, &units);
        EXPECT_EQ(client.right, units.right) << "500 dialog units wide";
        EXPECT_EQ(client.bottom, units.bottom) << "300 dialog units high";

        EXPECT_EQ(className(GetDlgItem(dialog, IDC_COMPONENT_TREE)), "SysTreeView32");
        const LONG treeStyle = styleOf(dialog, IDC_COMPONENT_TREE);
        for (LONG flag : {TVS_HASBUTTONS, TVS_HASLINES, TVS_LINESATROOT, TVS_SHOWSELALWAYS, TVS_SINGLEEXPAND})
            EXPECT_TRUE(treeStyle & flag) << "tree style " << flag;
        EXPECT_EQ(className(GetDlgItem(dialog, IDC_COMPONENT_TABS)), "SysTabControl32");
        EXPECT_EQ(className(GetDlgItem(dialog, IDC_CATEGORY_COMBO)), "ComboBox");
        EXPECT_EQ(styleOf(dialog, IDC_CATEGORY_COMBO) & 3, CBS_SIMPLE);
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_CATEGORY_COMBO)));
        for (int id : {IDC_DESCRIPTION, IDC_ABOUT}) {
            EXPECT_TRUE(styleOf(dialog, id) & ES_MULTILINE) << id;
            EXPECT_TRUE(styleOf(dialog, id) & ES_READONLY) << id;
        }
        for (int id : {IDC_CAPE_VERSION, IDC_COMPONENT_VERSION, IDC_CLSID, IDC_SPARE_EDIT_1, IDC_SPARE_EDIT_2})
            EXPECT_TRUE(styleOf(dialog, id) & ES_READONLY) << id;

        const std::vector<std::pair<int, std::string>> buttons = {
            {IDC_VENDOR_URL, ""},          {IDC_COMPONENT_HELP, "Component &Help"}, {IDC_REFRESH, "&Refresh"},
            {IDC_REMOTE, "Re&mote"},       {IDC_COGENTS, "&COGents"},               {IDC_SHOW_PROGIDS, "Show ProgIDs"},
            {IDOK, "&Accept"},             {IDCANCEL, "&Cancel"}};
        for (const auto& [id, text] : buttons) {
            EXPECT_EQ(className(GetDlgItem(dialog, id)), "Button") << id;
            if (id != IDC_VENDOR_URL) {  // its caption is the shown record's URL
                EXPECT_EQ(controlText(dialog, id), text) << id;
            }
        }
        EXPECT_EQ(styleOf(dialog, IDC_SHOW_PROGIDS) & 0xF, BS_AUTOCHECKBOX);

        for (int id : {IDC_REMOTE, IDC_SHOW_PROGIDS, IDC_SPARE_EDIT_1, IDC_SPARE_EDIT_2, IDC_COMPONENT_LIST})
            EXPECT_FALSE(visible(dialog, id)) << id << " is hidden";
        for (int id : {IDC_COMPONENT_TREE, IDC_COMPONENT_TABS, IDC_REFRESH, IDOK, IDCANCEL, IDC_VENDOR_URL})
            EXPECT_TRUE(visible(dialog, id)) << id << " is shown";
    });
}

TEST_F(ComponentManagerDialog, InitialisesTreeTabIconAndTheVendorURLLook)
{
    inspectDialog(32, [](HWND dialog) {
        HWND tree = GetDlgItem(dialog, IDC_COMPONENT_TREE);
        EXPECT_EQ(static_cast<COLORREF>(SendMessageA(tree, TVM_GETBKCOLOR, 0, 0)), RGB(192, 192, 192));

        HWND tabs = GetDlgItem(dialog, IDC_COMPONENT_TABS);
        ASSERT_EQ(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), 1);
        char text[64] = {};
        TCITEMA tab{};
        tab.mask = TCIF_TEXT;
        tab.pszText = text;
        tab.cchTextMax = sizeof text;
        SendMessageA(tabs, TCM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tab));
        EXPECT_STREQ(text, "Registered Components");

        EXPECT_NE(SendMessageA(dialog, WM_GETICON, ICON_BIG, 0), 0);
        EXPECT_NE(SendMessageA(dialog, WM_GETICON, ICON_SMALL, 0), 0);

        HWND vendor = GetDlgItem(dialog, IDC_VENDOR_URL);
        LOGFONTA font{};
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(vendor, WM_GETFONT, 0, 0)), sizeof font, &font);
        EXPECT_TRUE(font.lfUnderline) << "the Vendor URL is underlined";
        HDC dc = CreateCompatibleDC(nullptr);
        SendMessageA(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(vendor));
        EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 255)) << "and blue";
        DeleteDC(dc);

        // Switching to the one tab shows the tree, not the list.
        NMHDR changed{tabs, IDC_COMPONENT_TABS, static_cast<UINT>(TCN_SELCHANGE)};
        ShowWindow(tree, SW_HIDE);
        SendMessageA(dialog, WM_NOTIFY, IDC_COMPONENT_TABS, reinterpret_cast<LPARAM>(&changed));
        EXPECT_TRUE(visible(dialog, IDC_COMPONENT_TREE));
        EXPECT_FALSE(visible(dialog, IDC_COMPONENT_LIST));
    });
}

TEST_F(ComponentManagerDialog, ClickingAComponentShowsItsRecordAndAnItemWithoutOneEmptiesThePanel)
{
    inspectDialog(32, [](HWND dialog) {
        HWND tree = GetDlgItem(dialog, IDC_COMPONENT_TREE);
        selectItem(dialog, findItem(tree, {kUnitsCategory, mixerLabel()}));
        notifyTree(dialog, NM_CLICK);
        EXPECT_EQ(controlText(dialog, IDC_DESCRIPTION), "Mixes streams");
        EXPECT_EQ(controlText(dialog, IDC_CAPE_VERSION), "1.0 ");
        EXPECT_EQ(controlText(dialog, IDC_COMPONENT_VERSION), "2.0");
        EXPECT_EQ(controlText(dialog, IDC_VENDOR_URL), "http://mixer.example");
        EXPECT_EQ(controlText(dialog, IDC_ABOUT), "Mixer\nVersion 2\r\n(c) 100%");
        EXPECT_EQ(controlText(dialog, IDC_CLSID), installed().mixer.clsidText());
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_VENDOR_URL)));
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_COMPONENT_HELP)));
        EXPECT_EQ(SendMessageA(GetDlgItem(dialog, IDC_CATEGORY_COMBO), CB_GETCURSEL, 0, 0), CB_ERR)
            << "unit operations have no entry in the category box";

        selectItem(dialog, findItem(tree, {kUnitsCategory}));
        for (int id : {IDC_DESCRIPTION, IDC_CAPE_VERSION, IDC_COMPONENT_VERSION, IDC_ABOUT, IDC_CLSID, IDC_VENDOR_URL})
            EXPECT_EQ(controlText(dialog, id), "") << id;
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_VENDOR_URL)));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_COMPONENT_HELP)));
    });
}

TEST_F(ComponentManagerDialog, TheCategoryBoxNamesTheManagerCategoryOnceAcrossRefreshes)
{
    inspectDialog(1536, [](HWND dialog) {
        HWND combo = GetDlgItem(dialog, IDC_CATEGORY_COMBO);
        HWND tree = GetDlgItem(dialog, IDC_COMPONENT_TREE);
        SendMessageA(dialog, WM_COMMAND, IDC_REFRESH, 0);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_SHOW_PROGIDS, BN_CLICKED), 0);
        ASSERT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 1);
        char entry[64] = {};
        SendMessageA(combo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(entry));
        EXPECT_STREQ(entry, kManagersCategory);

        selectItem(dialog, findItem(tree, {kManagersCategory, managerLabel()}));
        EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 0) << "a manager's CATID is in the list";
        selectItem(dialog, findItem(tree, {kManagersCategory, managerLabel(), "SRK"}));
        EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), CB_ERR) << "a package's CATID is not";
        EXPECT_EQ(controlText(dialog, IDC_DESCRIPTION), "Property package generated by Thermo server");
        EXPECT_EQ(controlText(dialog, IDC_CAPE_VERSION), "1.1") << "taken from the manager";
    });
}

namespace {

// The settings file beside the module, with "COGents" set to value (none: no file).
class COGentsSetting {
public:
    explicit COGentsSetting(const char* value)
        : path_(MTUtils::getModuleDirectory() + "\\" + MTUtils::moduleBaseName() + ".ini")
    {
        if (value)
            std::ofstream(path_) << "[general]\nCOGents=" << value << "\n";
    }
    ~COGentsSetting() { std::remove(path_.c_str()); }

private:
    std::string path_;
};

}  // namespace

TEST_F(ComponentManagerDialog, ShowsTheCOGentsButtonOnlyWhenTheSettingIsOne)
{
    const std::vector<std::pair<const char*, bool>> cases = {
        {nullptr, false}, {"", false}, {"2", false}, {"yes", false}, {"11", false}, {"1", true}};
    for (const auto& [value, shown] : cases) {
        COGentsSetting setting(value);
        inspectDialog(65536, [&, value = value, shown = shown](HWND dialog) {
            EXPECT_EQ(visible(dialog, IDC_COGENTS), shown) << "COGents=" << (value ? value : "(no file)");
        });
    }
}
