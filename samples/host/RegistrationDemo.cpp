// The host shows the library's registration check. A "user" (timers of the host)
// presses the Component Manager's button and looks at the report's window.
#include "RegistrationDemo.h"

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <cstdio>
#include <string>
#include <vector>

#include "HostRef.h"
#include "ScriptedUser.h"
#include "Screenshot.h"
#include "WindowWatcher.h"

namespace {

// Control ids of the library's Component Manager and report window, as a host that
// drives them knows them from the library's documentation.
constexpr int kCheckRegistrationsButton = 1042;
constexpr int kReportEdit = 1043;

constexpr UINT_PTR kPressTimer = 0x5231;
constexpr UINT_PTR kResizeTimer = 0x5232;
constexpr UINT_PTR kLookTimer = 0x5233;
// After the watcher's own screenshots of the freshly opened windows (200 ms).
constexpr UINT kPressDelay = 700;
constexpr UINT kResizeDelay = 400;
constexpr UINT kLookDelay = 400;

const wchar_t* const kUnitCatid = L"{678C09A5-7D66-11D2-A67D-00105A42887F}";
const wchar_t* const kManagerCatid = L"{CF51E383-0110-4ED8-ACB7-B50CFDE6908E}";

// One registration the demo makes, in the view of 64-bit or of 32-bit programs.
struct BrokenRegistration {
    const wchar_t* clsid;
    const wchar_t* progId;
    const wchar_t* name;
    const wchar_t* catid;
    std::wstring server;
    REGSAM view;
    const char* whatIsWrong;
};

LONG writeText(HKEY root, const std::wstring& path, const wchar_t* name, const std::wstring& text, REGSAM view)
{
    HKEY key = nullptr;
    LONG status = RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE | view, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS)
        return status;
    status = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return status;
}

bool install(const BrokenRegistration& r)
{
    const std::wstring classKey = std::wstring(L"CLSID\\") + r.clsid;
    LONG status = writeText(HKEY_CLASSES_ROOT, classKey, nullptr, r.name, r.view);
    if (status == ERROR_SUCCESS)
        status = writeText(HKEY_CLASSES_ROOT, classKey + L"\\ProgID", nullptr, r.progId, r.view);
    if (status == ERROR_SUCCESS)
        status = writeText(HKEY_CLASSES_ROOT, classKey + L"\\InprocServer32", nullptr, r.server, r.view);
    if (status == ERROR_SUCCESS)
        status = writeText(HKEY_CLASSES_ROOT, classKey + L"\\Implemented Categories\\" + r.catid, nullptr, L"", r.view);
    if (status == ERROR_SUCCESS)
        status = writeText(HKEY_CLASSES_ROOT, classKey + L"\\CapeDescription", L"Name", r.name, r.view);
    if (status == ERROR_SUCCESS)
        status = writeText(HKEY_CLASSES_ROOT, classKey + L"\\CapeDescription", L"CapeVersion", L"1.1", r.view);
    if (status == ERROR_SUCCESS)
        status = writeText(HKEY_CLASSES_ROOT, std::wstring(r.progId) + L"\\CLSID", nullptr, r.clsid, r.view);
    std::printf("  %ls: %s%s\n", r.progId, r.whatIsWrong, status == ERROR_SUCCESS ? "" : " (could not be written)");
    return status == ERROR_SUCCESS;
}

void removeKey(const std::wstring& path, REGSAM view)
{
    HKEY parent = nullptr;
    const size_t split = path.find_last_of(L'\\');
    const std::wstring parentPath = split == std::wstring::npos ? L"" : path.substr(0, split);
    const std::wstring leaf = split == std::wstring::npos ? path : path.substr(split + 1);
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, parentPath.c_str(), 0, KEY_ALL_ACCESS | view, &parent) != ERROR_SUCCESS)
        return;
    RegDeleteTreeW(parent, leaf.c_str());
    RegDeleteKeyExW(parent, leaf.c_str(), view, 0);
    RegCloseKey(parent);
}

void uninstall(const BrokenRegistration& r)
{
    removeKey(std::wstring(L"CLSID\\") + r.clsid, r.view);
    removeKey(r.progId, r.view);
}

// The simulated user of the Component Manager and of the report's window.
struct User {
    std::string screenshot;
    HWND manager = nullptr;
    HWND report = nullptr;
    bool reportSeen = false;
};

User* g_user = nullptr;

void CALLBACK lookTimer(HWND report, UINT, UINT_PTR id, DWORD)
{
    KillTimer(report, id);
    if (!g_user)
        return;
    g_user->reportSeen = true;
    char owner[256] = {};
    GetWindowTextA(GetWindow(report, GW_OWNER), owner, sizeof owner);
    std::printf("  [report window] owned by \"%s\", %d characters in its edit\n", owner,
                GetWindowTextLengthA(GetDlgItem(report, kReportEdit)));
    if (saveWindowScreenshot(report, g_user->screenshot))
        std::printf("  [report window] saved as %s\n", g_user->screenshot.c_str());
    // Close the report, then Accept without a choice: the Component Manager asks
    // whether to try again, and the watcher's OK answer ends it.
    PostMessageA(report, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    PostMessageA(g_user->manager, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

void CALLBACK resizeTimer(HWND report, UINT, UINT_PTR id, DWORD)
{
    KillTimer(report, id);
    // The user makes the window larger: the report follows.
    SetWindowPos(report, nullptr, 20, 20, 960, 360, SWP_NOZORDER);
    SetTimer(report, kLookTimer, kLookDelay, lookTimer);
}

void CALLBACK pressTimer(HWND manager, UINT, UINT_PTR id, DWORD)
{
    KillTimer(manager, id);
    std::printf("  [user] presses \"Check Registrations...\"\n");
    PostMessageA(manager, WM_COMMAND, MAKEWPARAM(kCheckRegistrationsButton, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(manager, kCheckRegistrationsButton)));
}

// The Component Manager of filter, its button pressed. True when the report's window was seen.
bool showReportWindow(ICCAPEGUI* gui, long filter, const std::string& folder)
{
    if (FAILED(gui->setup(0, nullptr, filter)))
        return false;
    User user{folder + "\\registration-report.bmp"};
    g_user = &user;
    const HRESULT hr =
        showGuiAsUser(gui, {{kCheckRegistrationsButton, kPressTimer, kPressDelay, pressTimer, &user.manager},
                            {kReportEdit, kResizeTimer, kResizeDelay, resizeTimer, &user.report}})
            .hr;
    g_user = nullptr;
    std::printf("  ShowGUI              0x%08lX\n", static_cast<unsigned long>(hr));
    return user.reportSeen;
}

// The report of IRegistrationCheck, created by its ProgID as a script would.
std::wstring reportByProgId(long filter)
{
    CLSID clsid;
    HostRef<IRegistrationCheck> check;
    HRESULT hr = CLSIDFromProgID(L"QnShowCOCATIDs.RegistrationCheck", &clsid);
    if (SUCCEEDED(hr))
        hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IRegistrationCheck, check.putVoid());
    BSTR report = nullptr;
    if (SUCCEEDED(hr))
        hr = check->Report(filter, &report);
    check.reset();
    std::wstring text = report ? std::wstring(report, SysStringLen(report)) : std::wstring();
    SysFreeString(report);
    if (FAILED(hr))
        std::printf("  the registration check failed (0x%08lX)\n", static_cast<unsigned long>(hr));
    return text;
}

}  // namespace

int runRegistrationDemo(ICCAPEGUI* gui, const std::string& libraryPath, const std::string& folder,
                        WindowWatcher* watcher)
{
    std::printf("== The registration check over broken registrations\n");
    const std::wstring library(libraryPath.begin(), libraryPath.end());
    const std::vector<BrokenRegistration> broken = {
        {L"{034E15E9-33E6-4DBD-B81E-3745A5C9FF26}", L"QnDemo.MovedHeater", L"Moved Heater", kUnitCatid,
         L"C:\\Program Files\\Qn Demo Vendor\\MovedHeater.dll", KEY_WOW64_64KEY,
         "a unit operation whose server file was moved away"},
        {L"{945343ED-BA5C-4322-ABD3-120F73B94B61}", L"QnDemo.Mixer32", L"32-bit Mixer", kUnitCatid,
         L"C:\\Program Files (x86)\\Qn Demo Vendor\\Mixer32.dll", KEY_WOW64_32KEY,
         "a unit operation registered for 32-bit programs only"},
        {L"{2D270F1B-CDA6-4C47-BA95-BD941F85D688}", L"QnDemo.RetiredManager", L"Retired Manager", kManagerCatid,
         library, KEY_WOW64_64KEY, "a Property Package Manager whose server no longer serves its class"},
    };
    bool installed = true;
    for (const BrokenRegistration& registration : broken)
        installed = install(registration) && installed;

    if (watcher)
        watcher->setStep("registration-check");
    const bool shown = showReportWindow(gui, 32 | 512, folder);
    if (!shown)
        std::printf("  the report's window did not open\n");

    std::printf("== IRegistrationCheck::Report(32 | 512 | 1024) by the ProgID QnShowCOCATIDs.RegistrationCheck\n");
    const std::wstring report = reportByProgId(32 | 512 | 1024);
    std::printf("%ls", report.c_str());
    std::fflush(stdout);

    for (const BrokenRegistration& registration : broken)
        uninstall(registration);
    std::printf("  the broken registrations are removed again\n");

    bool allNamed = true;
    for (const BrokenRegistration& registration : broken)
        allNamed = allNamed && report.find(std::wstring(L": ") + registration.progId + L" [") != std::wstring::npos;
    return installed && shown && allNamed ? 0 : 1;
}
