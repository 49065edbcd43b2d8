// What a host does with the property package it imported: options, compound mapping,
// import report and the package's information dialog, through ICCAPEGUI only.
#include "PackageDemo.h"

#include <windows.h>
#include <commctrl.h>
#include <oleauto.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Screenshot.h"

namespace {

// The dialog as hosts know it: its caption, its tab control and its OK button.
constexpr const char* kPackageDialogCaption = "CAPE-OPEN Property Package Detailed Information";
constexpr int kTabControl = 7000;
constexpr int kOkButton = 247;
constexpr const char* kTabNames[] = {"general", "components", "properties", "phases", "about"};
// After the window watcher's own screenshot (200 ms after activation).
constexpr UINT kTourDelayMs = 400;
constexpr UINT_PTR kTourTimer = 0x5044;

// The tour of the dialog's tabs: one per demo run, on this thread.
struct TabTour {
    std::string folder;
    HHOOK hook = nullptr;
    bool started = false;
    int saved = 0;
};
TabTour* g_tour = nullptr;

void CALLBACK tourTimerProc(HWND dialog, UINT, UINT_PTR id, DWORD)
{
    KillTimer(dialog, id);
    if (!g_tour)
        return;
    HWND tabs = GetDlgItem(dialog, kTabControl);
    for (int i = 0; i < static_cast<int>(std::size(kTabNames)); ++i) {
        // What a click on the tab does: the selection changes and the dialog is told.
        SendMessageA(tabs, TCM_SETCURSEL, static_cast<WPARAM>(i), 0);
        NMHDR change{tabs, static_cast<UINT_PTR>(kTabControl), static_cast<UINT>(TCN_SELCHANGE)};
        SendMessageA(dialog, WM_NOTIFY, kTabControl, reinterpret_cast<LPARAM>(&change));
        RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        const std::string path = g_tour->folder + "\\package-" + std::to_string(i + 1) + "-" + kTabNames[i] + ".bmp";
        const bool saved = saveWindowScreenshot(dialog, path);
        g_tour->saved += saved ? 1 : 0;
        std::printf("  [tab %s] %s\n", kTabNames[i], saved ? ("saved as " + path).c_str() : "(no screenshot)");
    }
    std::fflush(stdout);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(kOkButton, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, kOkButton)));
}

LRESULT CALLBACK tourHookProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE && g_tour && !g_tour->started) {
        HWND window = reinterpret_cast<HWND>(wParam);
        char caption[128] = {};
        GetWindowTextA(window, caption, sizeof caption);
        if (std::string(caption) == kPackageDialogCaption) {
            g_tour->started = true;
            SetTimer(window, kTourTimer, kTourDelayMs, tourTimerProc);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool succeeded(const char* call, HRESULT hr)
{
    std::printf("  %-24s %s (0x%08lX)\n", call, SUCCEEDED(hr) ? "ok" : "FAILED", static_cast<unsigned long>(hr));
    return SUCCEEDED(hr);
}

const char* yesNo(VARIANT_BOOL value) { return value ? "yes" : "no"; }

// A VARIANT holding an array of texts, as hosts pass lists.
VARIANT textList(const std::vector<const wchar_t*>& texts)
{
    VARIANT list;
    VariantInit(&list);
    SAFEARRAY* array = SafeArrayCreateVector(VT_BSTR, 0, static_cast<ULONG>(texts.size()));
    if (!array)
        return list;
    for (LONG i = 0; i < static_cast<LONG>(texts.size()); ++i) {
        BSTR text = SysAllocString(texts[static_cast<size_t>(i)]);
        SafeArrayPutElement(array, &i, text);
        SysFreeString(text);
    }
    V_VT(&list) = VT_ARRAY | VT_BSTR;
    V_ARRAY(&list) = array;
    return list;
}

void printOptions(ICCAPEGUI* gui)
{
    VARIANT_BOOL subsets = 0, free = 0, hypos = 0, trace = 0, log = 0, popUp = 0, order = 0;
    if (SUCCEEDED(gui->getCompOptions(&subsets, &free, &hypos)))
        std::printf("  compounds: subsets %s, free selection %s, hypothetical %s\n", yesNo(subsets), yesNo(free),
                    yesNo(hypos));
    if (SUCCEEDED(gui->getRecovErrorsOptions(&trace, &log, &popUp)))
        std::printf("  recoverable errors: trace %s, log %s, pop up %s\n", yesNo(trace), yesNo(log), yesNo(popUp));
    if (SUCCEEDED(gui->getCritErrorsOptions(&trace, &log, &popUp)))
        std::printf("  critical errors: trace %s, log %s, pop up %s\n", yesNo(trace), yesNo(log), yesNo(popUp));
    if (SUCCEEDED(gui->get_doOrderPhases(&order)))
        std::printf("  order phases after flash: %s\n", yesNo(order));
}

}  // namespace

int runPackageDemo(ICCAPEGUI* gui, const std::string& folder)
{
    std::printf("== Property package information\n");
    LONG version = 0;
    gui->get_compCOversion(&version);
    std::printf("  CAPE-OPEN version of the component: %ld\n", static_cast<long>(version));

    bool ok = succeeded("setCompOptions", gui->setCompOptions(VARIANT_TRUE, VARIANT_FALSE, VARIANT_FALSE));
    ok &= succeeded("setRecovErrorsOptions", gui->setRecovErrorsOptions(VARIANT_TRUE, VARIANT_FALSE, VARIANT_TRUE));
    ok &= succeeded("setCritErrorsOptions", gui->setCritErrorsOptions(VARIANT_TRUE, VARIANT_TRUE, VARIANT_FALSE));
    ok &= succeeded("doOrderPhases", gui->put_doOrderPhases(VARIANT_TRUE));
    BSTR socket = SysAllocString(L"1.1 (sample host)");
    ok &= succeeded("socketVersion", gui->put_socketVersion(socket));
    SysFreeString(socket);
    VARIANT phaseTypes = textList({L"Vapor", L"Liquid", L"Liquid2", L"Solid"});
    ok &= succeeded("supportedPhaseTypes", gui->put_supportedPhaseTypes(phaseTypes));
    VariantClear(&phaseTypes);

    BSTR line = SysAllocString(L"Property package imported by the sample host.");
    ok &= succeeded("traceReport", gui->traceReport(line, VARIANT_TRUE));
    SysFreeString(line);
    line = SysAllocString(L"Compounds matched by name: ");
    ok &= succeeded("traceReport", gui->traceReport(line, VARIANT_FALSE));
    SysFreeString(line);
    line = SysAllocString(L"all of them.");
    ok &= succeeded("traceReport", gui->traceReport(line, VARIANT_TRUE));
    SysFreeString(line);

    // The host's compound mapping; the library keeps the package's own lists.
    VARIANT names = textList({L"Water", L"Methane"});
    VARIANT matchedBy = textList({L"name", L"name"});
    VARIANT mapping = textList({L"water", L"methane"});
    ok &= succeeded("setPPInfo", gui->setPPInfo(&names, &matchedBy, &mapping));
    VariantClear(&names);
    VariantClear(&matchedBy);
    VariantClear(&mapping);

    TabTour tour;
    tour.folder = folder;
    g_tour = &tour;
    tour.hook = SetWindowsHookExA(WH_CBT, tourHookProc, nullptr, GetCurrentThreadId());
    ok &= succeeded("ShowThermoGUI", gui->ShowThermoGUI(VARIANT_TRUE));
    if (tour.hook)
        UnhookWindowsHookEx(tour.hook);
    g_tour = nullptr;
    if (tour.saved != static_cast<int>(std::size(kTabNames))) {
        std::printf("  only %d of the %d tabs were saved\n", tour.saved, static_cast<int>(std::size(kTabNames)));
        ok = false;
    }
    printOptions(gui);
    return ok ? 0 : 1;
}
