// The registration check: each kind of finding on a registration made for it (only
// the lines of the test's own components are looked at: the report lists every
// component of the machine), the last line, the registered class, and the Component
// Manager's button.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "ComponentManager.h"
#include "QnShowCOCATIDs11.h"
#include "catalogue/RegistrationReport.h"
#include "resources/ControlIds.h"
#include "support/AnsiText.h"
#include "support/RegKey.h"
#include "support/UniqueBstr.h"
#include "support/VariantHolder.h"
#include "testkit/Controls.h"
#include "testkit/FileGuards.h"
#include "testkit/ServedClass.h"
#include "testkit/Texts.h"

namespace {

using testkit::RegistryTree;
using testkit::ServedClass;
using Names = std::vector<std::wstring>;

const testkit::DescriptionTexts kDescribed{{"Name", "Checked"}, {"CapeVersion", "1.1"}};
// The headers of a DLL for 32-bit programs: "MZ", at 0x3C the offset 0x40 of "PE\0\0" and machine 0x14C.
const std::string k32BitImage = "MZ" + std::string(0x3A, '\0') + std::string("\x40\0\0\0PE\0\0\x4C\x01", 10);

// What one row installs, removed again (undo steps first) when the test ends.
struct Install {
    std::unique_ptr<ServedClass> served;
    std::vector<std::unique_ptr<RegistryTree>> keys;
    std::vector<std::shared_ptr<void>> undo;
    std::string subject;  // its ProgID, or its CLSID without one

    // A component as its installer would leave it (described, its server file there),
    // in the category, served by this process when given a creator.
    ServedClass& component(testkit::DescriptionTexts description = kDescribed, std::string stem = "QnCheck.Unit",
                           const std::string& catid = kUnitCatid, testkit::Creator create = {}, bool server = true)
    {
        served = std::make_unique<ServedClass>(testkit::ClassRegistration{stem, {catid}, description}, create);
        if (server)
            served->setText("InprocServer32", nullptr, testkit::programPath());
        subject = stem.empty() ? served->clsidText() : served->progId();
        return *served;
    }
    void manager(testkit::Creator create) { component(kDescribed, "QnCheck.Manager", kManagerCatid, create); }
    RegistryTree& key(const std::string& path, REGSAM view = 0)
    {
        return *keys.emplace_back(std::make_unique<RegistryTree>(path, HKEY_CLASSES_ROOT, view));
    }
    // No one may read the class's subkey (an empty access list) until the test ends.
    void denyReading(const std::string& subkey)
    {
        auto key = std::make_shared<RegKey>();
        RegOpenKeyExA(HKEY_CLASSES_ROOT, ("CLSID\\" + served->clsidText() + "\\" + subkey).c_str(), 0,
                      WRITE_DAC, key->put());
        static ACL nobody{ACL_REVISION, 0, sizeof(ACL), 0, 0};
        SECURITY_DESCRIPTOR access{SECURITY_DESCRIPTOR_REVISION, 0, SE_DACL_PRESENT, {}, {}, {}, &nobody};
        RegSetKeySecurity(key->get(), DACL_SECURITY_INFORMATION, &access);
        access.Control = 0;  // no access list: open to all again
        undo.emplace_back(nullptr,
                          [=](void*) mutable { RegSetKeySecurity(key->get(), DACL_SECURITY_INFORMATION, &access); });
    }
    // A component whose InprocServer32 is a file in "C:\QnCheck.Exe Files" (a folder
    // whose name reads as a program and an argument), removed with the folder.
    void serverFile(const std::string& name, const std::string& contents)
    {
        undo.push_back(std::make_shared<testkit::FolderGuard>("C:\\QnCheck.Exe Files"));
        const auto made = std::make_shared<testkit::TemporaryFile>("C:\\QnCheck.Exe Files\\" + name, contents);
        undo.push_back(made);
        component().setText("InprocServer32", nullptr, made->path());
    }
};

// The findings about subject, without their line ends.
Lines linesAbout(const std::string& report, const std::string& subject)
{
    Lines found;
    std::istringstream in(report);
    for (std::string line; std::getline(in, line);)
        if (line.rfind("error: " + subject + " [", 0) == 0 || line.rfind("warning: " + subject + " [", 0) == 0)
            found.push_back(line.substr(0, line.find('\r')));
    return found;
}

struct FindingRow {
    const char* kind;
    std::function<void(Install&)> install;
    Lines expected;  // <id>: the component's ProgID, or its CLSID without one; <clsid>: its CLSID
    unsigned long filter = 32;
};
class KindsOfFinding : public ::testing::TestWithParam<FindingRow> {};

TEST_P(KindsOfFinding, AreReportedOneALineForTheBrokenComponent)
{
    Install installed;
    GetParam().install(installed);
    // The check shows no box, not even for a manager that cannot be created: the test
    // main's driver fails a test that shows one.
    const std::string report = registrationReport(GetParam().filter);
    const std::string clsid = installed.served ? installed.served->clsidText() : "";
    EXPECT_EQ(linesAbout(report, installed.subject),
              testkit::replaced(GetParam().expected, {{"<id>", installed.subject}, {"<clsid>", clsid}}))
        << "the findings of row " << GetParam().kind;
}

const std::string kInstallAgain =
    "; reinstall the component, or register it again from the folder its files are in now";

INSTANTIATE_TEST_SUITE_P(
    RegistrationCheck, KindsOfFinding,
    ::testing::Values(
        FindingRow{"CompleteWithQuotedAndUnquotedServerPathsWithBlanks",
                   [](Install& in) {
                       in.serverFile("server.exe", "");  // found as CreateProcess finds it: ".exe" added
                       in.served->setText("InprocServer32", nullptr, "\"" + testkit::programPath() + "\"");
                       in.served->setText("LocalServer32", nullptr, "C:\\QnCheck.Exe Files\\server -Embedding");
                   },
                   {}},
        FindingRow{"ServerFilesMissing",
                   [](Install& in) {
                       in.component().setText("InprocServer32", nullptr, "%SystemRoot%\\QnMissing\\Moved.dll");
                       in.served->setText("LocalServer32", nullptr, "C:\\QnMissing Folder\\server.exe -Embedding");
                   },
                   {"error: <id> [Unit Operations]: server file not found: C:\\windows\\QnMissing\\Moved.dll" +
                        kInstallAgain,
                    "error: <id> [Unit Operations]: server file not found: C:\\QnMissing Folder\\server.exe" +
                        kInstallAgain}},
        FindingRow{"ServerFileNotAProgram",
                   [](Install& in) { in.serverFile("Notes.txt", "MZ, and no more"); },
                   {"error: <id> [Unit Operations]: server file is not a program file: C:\\QnCheck.Exe "
                    "Files\\Notes.txt; reinstall the component"}},
        FindingRow{"ServerFileFor32BitPrograms",
                   [](Install& in) { in.serverFile("Win32.dll", k32BitImage); },
                   {"error: <id> [Unit Operations]: server file is built for 32-bit programs: C:\\QnCheck.Exe "
                    "Files\\Win32.dll; this 64-bit host cannot load it (install the component's 64-bit version)"}},
        FindingRow{"DotNetCodeBaseMissing",
                   [](Install& in) {
                       in.component().setText("InprocServer32", nullptr, "mscoree.dll");
                       in.served->setText("InprocServer32", "CodeBase", "file:///C:/QnMissing/Managed%20Unit.DLL");
                   },
                   {"error: <id> [Unit Operations]: server file not found: C:\\QnMissing\\Managed Unit.DLL (the "
                    "CodeBase of its .NET assembly)" + kInstallAgain}},
        FindingRow{"ThirtyTwoBitOnly",
                   [](Install& in) {
                       GUID guid;
                       const std::string clsid = testkit::newTestGuid(guid);
                       RegistryTree& key = in.key("CLSID\\" + clsid, KEY_WOW64_32KEY);
                       key.createKey("Implemented Categories\\" + kUnitCatid);
                       in.subject = "QnCheck.Unit32." + clsid.substr(1, 8);
                       key.setText("ProgID", nullptr, in.subject);
                   },
                   {"error: <id> [Unit Operations]: registered for 32-bit programs only; this 64-bit host cannot load "
                    "it (install the component's 64-bit version)"}},
        FindingRow{"NoProgId", [](Install& in) { in.component(kDescribed, ""); },
                   {"warning: <id> [Unit Operations]: no ProgID registered; the Component Manager does not list it: "
                    "reinstall the component"}},
        FindingRow{"ProgIdWithoutClass",
                   [](Install& in) {
                       in.component(kDescribed, "");
                       in.subject = "QnCheck.Orphan." + in.subject.substr(1, 8);
                       in.served->setText("ProgID", nullptr, in.subject);
                   },
                   {"warning: <id> [Unit Operations]: ProgID <id> names no class (HKEY_CLASSES_ROOT\\<id>\\CLSID is "
                    "missing); creating it by its ProgID fails: reinstall the component"}},
        FindingRow{"ProgIdOfAnotherClass",
                   [](Install& in) {
                       in.component();
                       in.key(in.subject).setText("CLSID", nullptr, "{0000000A-0000-0000-0000-00000000000A}");
                   },
                   {"warning: <id> [Unit Operations]: ProgID <id> leads to {0000000A-0000-0000-0000-00000000000A}, "
                    "not to this class; creating it by its ProgID makes that other class: reinstall the component"}},
        FindingRow{"NumericNameAndLongCapeVersion",
                   [](Install& in) {
                       in.component({{"CapeVersion", std::string(100000, ' ') + "1.1"}});  // read whole: 1.1
                       const std::string key = "CLSID\\" + in.served->clsidText() + "\\CapeDescription";
                       RegSetKeyValueA(HKEY_CLASSES_ROOT, key.c_str(), "Name", REG_DWORD, "\7\0\0\0", 4);  // 7
                   },
                   {"warning: <id> [Unit Operations]: its CapeDescription Name is a REG_DWORD value, not text; hosts "
                    "show its ProgID instead"}},
        FindingRow{"NameLongerThanTheCheckReadsAndUnreadableCapeVersion",
                   [](Install& in) { in.component({{"Name", std::string(1 << 20, 'N')}, {"CapeVersion", "1.x"}}); },
                   {"warning: <id> [Unit Operations]: the value Name of HKEY_CLASSES_ROOT\\CLSID\\<clsid>\\"
                    "CapeDescription is longer than 1 MB, too long to check: ask its vendor",
                    "warning: <id> [Unit Operations]: its CapeVersion \"1.x\" is neither 1.0 nor 1.1; hosts may take "
                    "it for the wrong CAPE-OPEN version: ask its vendor"}},
        FindingRow{"TypeLibraryNotRegistered",
                   [](Install& in) {
                       in.component().setText("TypeLib", nullptr, "{0000000B-0000-0000-0000-00000000000B}");
                   },
                   {"warning: <id> [Unit Operations]: type library {0000000B-0000-0000-0000-00000000000B} (named by "
                    "its TypeLib key) is not registered; late-bound callers (scripts, automation clients through "
                    "IDispatch) may fail: ask its vendor"}},
        FindingRow{"TypeLibraryFileMissing",
                   [](Install& in) {
                       in.component().setText("TypeLib", nullptr, "{0000000C-0000-0000-0000-00000000000C}");
                       in.key("TypeLib\\{0000000C-0000-0000-0000-00000000000C}")
                           .setText("1.0\\0\\win64", nullptr, "C:\\QnMissing\\Types.tlb");
                   },
                   {"warning: <id> [Unit Operations]: file of type library {0000000C-0000-0000-0000-00000000000C} not "
                    "found: C:\\QnMissing\\Types.tlb; late-bound callers (scripts, automation clients through "
                    "IDispatch) may fail: ask its vendor"}},
        FindingRow{"UnreadableKey",
                   [](Install& in) {
                       in.component();
                       in.denyReading("CapeDescription");
                   },
                   {"error: <id> [Unit Operations]: cannot read HKEY_CLASSES_ROOT\\CLSID\\<clsid>\\CapeDescription: "
                    "Access denied (error 5); check the key's permissions, or reinstall the component"}},
        FindingRow{"ManagerNotCreated",
                   [](Install& in) {
                       in.manager(testkit::failingCreator(0x80040503, L"The test manager has no licence here."));
                   },
                   {"error: <id> [CAPE-OPEN 1.1 Property Package Manager]: cannot be created: The test manager has "
                    "no licence here (0x80040503); reinstall the component, or ask its vendor (a licence may be "
                    "missing)"},
                   512},
        FindingRow{"ManagerWithoutItsInterface",
                   [](Install& in) { in.manager(testkit::creatorOf<ManagerDouble>(Names{L"A"}, E_NOINTERFACE)); },
                   {"error: <id> [CAPE-OPEN 1.1 Property Package Manager]: does not answer for "
                    "ICapeThermoPropertyPackageManager: E_NOINTERFACE (0x80004002); hosts cannot take "
                    "packages from it: ask its vendor"},
                   512},
        FindingRow{"ManagerListCrashes",
                   [](Install& in) {
                       in.manager(testkit::creatorOf<ManagerDouble>([](ManagerDouble& made) {
                           made.misbehave("GetPropertyPackageList", {testkit::Misbehaviour::Crashes});
                       }));
                   },
                   {"error: <id> [CAPE-OPEN 1.1 Property Package Manager]: crashes when asked for its property "
                    "package list: The component failed inside GetPropertyPackageList (exception 0xC0000005) "
                    "(RPC_E_SERVERFAULT, 0x80010105); hosts that ask for it may crash too: ask its vendor"},
                   512},
        FindingRow{"ManagerListEmpty",
                   [](Install& in) { in.manager(testkit::creatorOf<ManagerDouble>(Names{})); },
                   {"warning: <id> [CAPE-OPEN 1.1 Property Package Manager]: its property package list is empty; "
                    "hosts offer no package from it: configure packages in the manager"},
                   512}),
    [](const auto& info) { return std::string(info.param.kind); });

TEST(RegistrationReport, EndsWithTheCountOfComponentsErrorsAndWarnings)
{
    EXPECT_EQ(registrationReport(65536), "0 components checked, 0 errors, 0 warnings.\r\n")
        << "a filter without a listed category checks nothing";
    // A category of the test's own: nothing else on the machine is in it.
    GUID guid;
    const std::string narrowCatid = testkit::newTestGuid(guid);
    const std::wstring catid(narrowCatid.begin(), narrowCatid.end());
    const CategoryEntry category{kUnitOperationFilter, catid.c_str(), narrowCatid.c_str(), "Test Units"};
    Install clean, broken;
    clean.component(kDescribed, "QnCheck.Clean", narrowCatid);
    broken.component({{"Description", "Heats"}}, "QnCheck.Unit", narrowCatid, {}, false);
    const std::string id = broken.subject;
    EXPECT_EQ(registrationReport(std::span(&category, 1)),
              "error: " + id + " [Test Units]: no server registered (neither InprocServer32 nor LocalServer32); "
              "reinstall the component\r\n"
              "warning: " + id + " [Test Units]: its CapeDescription has no Name; hosts show its ProgID instead\r\n"
              "warning: " + id + " [Test Units]: its CapeDescription has no CapeVersion; hosts take it for "
              "CAPE-OPEN 1.1\r\n"
              "2 components checked, 1 errors, 2 warnings.\r\n")
        << "the broken component's findings, then both components counted with its error and warnings";
}

// Both ProgIDs of the class are checked with the library's registration keys.
TEST(RegistrationCheckClass, ReportsByItsProgIdEarlyAndLateBound)
{
    Install installed;
    installed.component({});
    const Lines expected{"warning: " + installed.subject + " [Unit Operations]: no CapeDescription key; hosts show it "
                         "without name, description or CAPE-OPEN version: ask its vendor for a complete registration"};
    CLSID clsid = CLSID_NULL;
    ASSERT_EQ(CLSIDFromProgID(L"QnShowCOCATIDs.RegistrationCheck", &clsid), S_OK) << "the ProgID is registered";
    ComPtr<IRegistrationCheck> check;
    ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IRegistrationCheck, check.putVoid()), S_OK);
    UniqueBstr report;
    ASSERT_EQ(check->Report(32, report.put()), S_OK);
    EXPECT_EQ(linesAbout(toAnsi(report.text()), installed.subject), expected) << "early bound, by its ProgID";

    DISPID id = 0;
    LPOLESTR name = const_cast<LPOLESTR>(L"Report");
    ASSERT_EQ(check->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), S_OK);
    EXPECT_EQ(id, 1) << "Report is DISPID 1";
    VariantHolder filter = testkit::longValue(32), result;
    DISPPARAMS arguments{&filter, nullptr, 1, 0};
    ASSERT_EQ(check->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &arguments, result.put(), nullptr, nullptr), S_OK);
    ASSERT_EQ(V_VT(&result), VT_BSTR) << "the report comes back as text";
    EXPECT_EQ(linesAbout(toAnsi(V_BSTR(&result)), installed.subject), expected) << "late bound";
}

std::string clipboardText()
{
    if (!OpenClipboard(nullptr))
        return "(clipboard not open)";
    HANDLE data = GetClipboardData(CF_TEXT);
    const std::string text = data ? static_cast<const char*>(GlobalLock(data)) : "";
    GlobalUnlock(data);
    CloseClipboard();
    return text;
}

TEST(RegistrationCheckButton, ShowsTheReportOfTheDialogsFilterInAWindowOwnedByTheComponentManager)
{
    Install installed;
    installed.component({});
    ComponentManagerRun run(32);
    HWND manager = nullptr, owner = nullptr;
    std::string shown, copied;
    run.driver.onNestedDialog([&](HWND report) {
        owner = GetWindow(report, GW_OWNER);
        shown = testkit::controlText(report, IDC_REGISTRATION_REPORT);
        SendMessageA(report, WM_COMMAND, MAKEWPARAM(IDC_COPY_REPORT, BN_CLICKED), 0);
        copied = clipboardText();
        PostMessageA(report, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
    run([&](HWND dialog) {
        manager = dialog;
        testkit::click(dialog, IDC_CHECK_REGISTRATIONS);
    });
    EXPECT_EQ(run.driver.nestedCaptions(), Lines{"CAPE-OPEN Registration Check"}) << "the report's window opened";
    EXPECT_EQ(owner, manager) << "owned by the Component Manager";
    EXPECT_EQ(linesAbout(shown, installed.subject).size(), 1u) << "the edit shows the report of the dialog's filter";
    EXPECT_NE(shown.find(" components checked, "), std::string::npos) << "down to its last line";
    EXPECT_EQ(copied, shown) << "Copy puts the whole report on the clipboard";
}

}  // namespace
