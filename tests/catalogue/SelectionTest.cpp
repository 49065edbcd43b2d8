// The host's side of the choice: the registered library's ShowGUI, setProgIds and
// showStaticInfo run the Component Manager, and the item fields read it back.
#include "QnShowCOCATIDs11.h"

#include "CatalogueFixture.h"
#include "automation/CapeVersion.h"
#include "resources/ControlIds.h"
#include "support/AnsiText.h"
#include "support/ComPtr.h"
#include "support/UniqueBstr.h"

namespace {

std::string text(const UniqueBstr& bstr)
{
    return toAnsi(bstr.text());
}

std::wstring wide(const std::string& narrow)
{
    return std::wstring(narrow.begin(), narrow.end());
}

}  // namespace

TEST(CapeVersion, ParsesTheRegisteredVersionText)
{
    EXPECT_EQ(parseCOVersion("1.0"), 100);
    EXPECT_EQ(parseCOVersion("1.1"), 110);
    EXPECT_EQ(parseCOVersion("1.10"), 110);
    EXPECT_EQ(parseCOVersion("Product 1.0"), 100) << "not a number, but it says 1.";
    EXPECT_EQ(parseCOVersion("version 1.1 beta"), 110);
    EXPECT_EQ(parseCOVersion("2.0"), 110);
    EXPECT_EQ(parseCOVersion("0.93"), 110);
    EXPECT_EQ(parseCOVersion(""), 110);
    EXPECT_EQ(parseCOVersion("1e308"), 110) << "a huge number is none of the two";
}

TEST(CapeVersion, NamesTheVersionNumbers)
{
    EXPECT_EQ(coVersionText(0), "none");
    EXPECT_EQ(coVersionText(100), "1.0");
    EXPECT_EQ(coVersionText(110), "1.1");
    EXPECT_EQ(coVersionText(1000), "not supported");
    EXPECT_EQ(coVersionText(93), "0.930000");
    EXPECT_EQ(coVersionText(90), "0.900000");
}

class Selection : public CatalogueFixture {
protected:
    void SetUp() override
    {
        CoCreateInstance(CLSID_CCAPEGUI, nullptr, CLSCTX_INPROC_SERVER, IID_ICCAPEGUI, gui_.putVoid());
        ASSERT_TRUE(gui_) << "the library is registered (fixture) and creatable";
    }
    // setup with filter, then ShowGUI with the script driving the dialog.
    HRESULT showGUI(long filter, const std::function<void(HWND)>& script, UniqueBstr& component,
                    UniqueBstr& catids)
    {
        EXPECT_EQ(gui_->setup(0, nullptr, filter), S_OK);
        bool shown = false;
        boxes_.onDialog([&](HWND dialog) {
            shown = true;
            script(dialog);
        });
        // In/out parameters: what the host passes in is replaced.
        BSTR componentSlot = SysAllocString(L"previous");
        BSTR catidSlot = SysAllocString(L"previous");
        const HRESULT hr = gui_->ShowGUI(&componentSlot, &catidSlot);
        component = UniqueBstr::attach(componentSlot);
        catids = UniqueBstr::attach(catidSlot);
        boxes_.onDialog(nullptr);
        EXPECT_TRUE(shown) << "the Component Manager was shown";
        return hr;
    }
    std::string item(HRESULT (STDMETHODCALLTYPE ICCAPEGUI::*member)(BSTR*))
    {
        UniqueBstr value;
        EXPECT_EQ((gui_.get()->*member)(value.put()), S_OK);
        return value.get() ? text(value) : "(null)";
    }
    std::vector<std::string> itemInfo()
    {
        UniqueBstr info[5];
        EXPECT_EQ(gui_->GetItemInfo(info[0].put(), info[1].put(), info[2].put(), info[3].put(), info[4].put()),
                  S_OK);
        std::vector<std::string> texts;
        for (const UniqueBstr& each : info)
            texts.push_back(text(each));
        return texts;
    }
    long version()
    {
        LONG value = -1;
        gui_->get_compCOversion(&value);
        return value;
    }

    ComPtr<ICCAPEGUI> gui_;
    MessageBoxDriver boxes_;
};

TEST_F(Selection, ChoosingAPackageFillsTheItemAndItsManager)
{
    UniqueBstr server(L"remote-host");
    gui_->put_serverName(server.get());
    UniqueBstr component, catids;
    EXPECT_EQ(showGUI(1536, [](HWND dialog) {
                  selectItem(dialog, findItem(GetDlgItem(dialog, IDC_COMPONENT_TREE),
                                              {kManagersCategory, managerLabel(), "Peng-Robinson [PR]"}));
                  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
              }, component, catids),
              S_OK);
    EXPECT_EQ(text(component), "PR");
    EXPECT_EQ(text(catids), kPackageCatid);
    EXPECT_EQ(item(&ICCAPEGUI::GetItemProgID), "PR");
    EXPECT_EQ(item(&ICCAPEGUI::GetCATID), kPackageCatid);
    EXPECT_EQ(item(&ICCAPEGUI::GetParentProgID), installed().manager.progId());
    EXPECT_EQ(item(&ICCAPEGUI::GetItemAlias), "Peng-Robinson");
    EXPECT_EQ(item(&ICCAPEGUI::GetParentAlias), "Thermo Manager");
    EXPECT_EQ(item(&ICCAPEGUI::GetItemCLSID), installed().manager.clsidText())
        << "a package name is no ProgID: the catalogue's CLSID text stands in";
    EXPECT_EQ(itemInfo(), (std::vector<std::string>{"Cubic equation", "", "http://thermo.example", "", ""}));
    EXPECT_EQ(version(), 110);
    EXPECT_EQ(item(&ICCAPEGUI::get_serverName), "(null)") << "every read-back empties the server name";
}

TEST_F(Selection, AUnitOperationsVersionIsReadWithoutItsTrailingBlank)
{
    UniqueBstr component, catids;
    showGUI(32, [](HWND dialog) {
        selectItem(dialog, findItem(GetDlgItem(dialog, IDC_COMPONENT_TREE), {kUnitsCategory, mixerLabel()}));
        notifyTree(dialog, NM_DBLCLK);
    }, component, catids);
    EXPECT_EQ(text(component), installed().mixer.progId());
    EXPECT_EQ(version(), 100) << "\"1.0 \" reads as 1.0";
    EXPECT_EQ(item(&ICCAPEGUI::GetParentProgID), "(null)");
    EXPECT_EQ(itemInfo()[4], "Mixer\\nVersion 2%n(c) 100%%") << "the host gets the About text as registered";
}

TEST_F(Selection, CancellingLeavesTheObjectWithoutASelection)
{
    UniqueBstr none;
    gui_->setProgIds(UniqueBstr(wide(installed().mixer.progId()).c_str()).get(), none.get());
    ASSERT_EQ(item(&ICCAPEGUI::GetItemProgID), installed().mixer.progId());

    boxes_.answerNext(IDYES);
    UniqueBstr component, catids;
    showGUI(32, [](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); }, component, catids);
    ASSERT_NE(component.get(), nullptr);
    EXPECT_EQ(component.length(), 0u) << "an empty, non-null BSTR";
    ASSERT_NE(catids.get(), nullptr);
    EXPECT_EQ(catids.length(), 0u);
    EXPECT_EQ(item(&ICCAPEGUI::GetItemProgID), "(null)");
    EXPECT_EQ(item(&ICCAPEGUI::GetCATID), "");
}

TEST_F(Selection, SetProgIdsLooksTheComponentUpWithoutShowingTheDialog)
{
    bool shown = false;
    boxes_.onDialog([&](HWND) { shown = true; });
    UniqueBstr server(L"remote-host");
    gui_->put_serverName(server.get());
    UniqueBstr package(L"SRK");
    UniqueBstr manager(wide(installed().manager.progId()).c_str());
    EXPECT_EQ(gui_->setProgIds(package.get(), manager.get()), S_OK);
    EXPECT_FALSE(shown);
    EXPECT_EQ(item(&ICCAPEGUI::GetItemProgID), "SRK");
    EXPECT_EQ(item(&ICCAPEGUI::GetParentProgID), installed().manager.progId());
    EXPECT_EQ(item(&ICCAPEGUI::GetItemAlias), "SRK");
    EXPECT_EQ(item(&ICCAPEGUI::GetParentAlias), "Thermo Manager");
    EXPECT_EQ(item(&ICCAPEGUI::GetCATID), "") << "the look-up has no category";
    EXPECT_EQ(itemInfo()[0], "Property package generated by Thermo server");
    EXPECT_EQ(item(&ICCAPEGUI::get_serverName), "(null)");
}

TEST_F(Selection, StaticInfoShowsTheCurrentItemForInformationOnly)
{
    UniqueBstr none;
    gui_->setup(0, nullptr, 32);
    gui_->setProgIds(UniqueBstr(wide(installed().mixer.progId()).c_str()).get(), none.get());
    std::string shownDescription;
    bool treeEnabled = true;
    boxes_.onDialog([&](HWND dialog) {
        shownDescription = controlText(dialog, IDC_DESCRIPTION);
        treeEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_COMPONENT_TREE));
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(gui_->showStaticInfo(), S_OK);
    EXPECT_EQ(shownDescription, "Mixes streams");
    EXPECT_FALSE(treeEnabled);
    EXPECT_EQ(boxes_.count(), 0u);
    EXPECT_EQ(item(&ICCAPEGUI::GetItemProgID), installed().mixer.progId()) << "the selection stays";
}
