// While one of the library's dialogs runs, everything it shows is owned by the
// innermost running dialog: the host and every dialog below stay disabled.
#include "HostFixture.h"

#include "resources/ControlIds.h"
#include "testkit/Controls.h"

using namespace testkit;

namespace {

// What the screen was like while a box or a nested dialog was up.
struct Moment { HWND owner; bool hostEnabled, ownerEnabled; };

class ModalWindows : public Host {
protected:
    Moment now(HWND shown) const
    {
        HWND owner = GetWindow(shown, GW_OWNER);
        return {owner, window.enabled(), IsWindowEnabled(owner) != FALSE};
    }
    // Every box was owned by owner, which was disabled under it as the host was.
    void expectBoxesOver(HWND owner)
    {
        ASSERT_FALSE(moments.empty()) << "the failure is explained";
        for (const Moment& moment : moments) {
            EXPECT_EQ(moment.owner, owner) << "the box is owned by the running dialog";
            EXPECT_FALSE(moment.hostEnabled || moment.ownerEnabled) << "the host and the dialog disabled under it";
        }
    }
    std::vector<Moment> moments;
};

TEST_F(ModalWindows, BrowseStaticInformationIsModalToThePackageDialog)
{
    ComPtr<ICCAPEGUI> gui = libraryObject(kManagersFilter);
    HWND packageDialog = nullptr;
    bool hostEnabledAfterManager = true, packageEnabledAfterManager = false;
    driver.onNestedDialog([&](HWND manager) {
        moments.push_back(now(manager));
        driver.answerNextBox(IDYES);  // yes, abort the choice
        PostMessageA(manager, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
    driver.run([&] { return gui->ShowThermoGUI(VARIANT_TRUE); },
               [&](HWND dialog) {
                   packageDialog = dialog;
                   click(dialog, IDC_BROWSE_STATIC_INFO);
                   hostEnabledAfterManager = window.enabled();
                   packageEnabledAfterManager = IsWindowEnabled(dialog) != FALSE;
               });
    ASSERT_EQ(driver.nestedCaptions(), std::vector<std::string>{"Corvane Quillon CAPE-OPEN 1.1 Property Component Manager"});
    expectBoxesOver(packageDialog);  // the Component Manager, owned by the package dialog
    EXPECT_TRUE(packageEnabledAfterManager) << "the package dialog works again once the manager is closed";
    EXPECT_FALSE(hostEnabledAfterManager) << "the host stays disabled while the package dialog is open";
    EXPECT_TRUE(window.enabled()) << "the host is enabled once the last dialog is closed";
}

TEST_F(ModalWindows, ASecondDialogIsRefusedAndTheFirstStillStoresItsOptions)
{
    ComPtr<ICCAPEGUI> gui = libraryObject(kManagersFilter);
    ASSERT_EQ(S_OK, gui->setCompOptions(VARIANT_FALSE, VARIANT_FALSE, VARIANT_FALSE));
    driver.boxes().onBox([this](HWND box) { moments.push_back(now(box)); });
    HWND packageDialog = nullptr;
    BSTR component = nullptr, catids = nullptr;
    std::vector<HRESULT> second;
    driver.run([&] { return gui->ShowThermoGUI(VARIANT_TRUE); },
               [&](HWND dialog) {
                   packageDialog = dialog;
                   click(dialog, IDC_ALLOW_SUBSETS);
                   second = {gui->ShowThermoGUI(VARIANT_TRUE), gui->ShowGUI(&component, &catids),
                             gui->showStaticInfo()};
                   click(dialog, IDC_PACKAGE_OK);
               });
    EXPECT_EQ(second, std::vector<HRESULT>(3, HRESULT_FROM_WIN32(ERROR_BUSY))) << "every second dialog is refused";
    EXPECT_TRUE(!component && !catids) << "a refused ShowGUI hands out no strings";
    const std::string busy = ":  ERROR: A dialog of this CAPE-OPEN object is already open; close it before opening "
                             "another one.\nResource in use.\r\n(0x800700AA)";
    EXPECT_EQ(driver.boxes().texts(), (std::vector<std::string>{"ShowThermoGUI" + busy, "ShowGUI" + busy,
                                                                "showStaticInfo" + busy}))
        << "each refusal is explained once";
    expectBoxesOver(packageDialog);
    VARIANT_BOOL allowSubsets = VARIANT_FALSE, freeCompounds = VARIANT_TRUE, treatAsHypos = VARIANT_TRUE;
    ASSERT_EQ(S_OK, gui->getCompOptions(&allowSubsets, &freeCompounds, &treatAsHypos));
    EXPECT_EQ(allowSubsets, VARIANT_TRUE) << "OK of the running dialog stored the option the user set";
}

// The host lets go of the object from a timer while the Component Manager runs.
ICCAPEGUI* g_releasedByTimer = nullptr;

TEST_F(ModalWindows, TheObjectOutlivesTheHostsLastReleaseDuringItsDialog)
{
    ComPtr<ICCAPEGUI> gui = libraryObject(kUnitsFilter);
    ICCAPEGUI* raw = gui.get();
    bool released = false;
    BSTR component = nullptr, catids = nullptr;
    const HRESULT shown = driver.run([&] { return raw->ShowGUI(&component, &catids); }, [&](HWND dialog) {
        g_releasedByTimer = gui.detach();
        SetTimer(dialog, 0x77, 1, [](HWND w, UINT, UINT_PTR id, DWORD) {
            KillTimer(w, id);
            std::exchange(g_releasedByTimer, nullptr)->Release();
        });
        released = pumpUntil([] { return g_releasedByTimer == nullptr; });
        driver.answerNextBox(IDYES);  // cancelled: yes, abort
    });
    const UniqueBstr cancelled[] = {UniqueBstr::attach(component), UniqueBstr::attach(catids)};
    EXPECT_TRUE(released) << "the host's last reference went while the dialog ran";
    EXPECT_EQ(shown, S_OK) << "ShowGUI ends normally";
    auto canUnload = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("QnCOGUI11.dll"), "DllCanUnloadNow")));
    ASSERT_TRUE(canUnload) << "the library is loaded";
    EXPECT_EQ(canUnload(), S_OK) << "the object is gone once ShowGUI returned";
}

}  // namespace
