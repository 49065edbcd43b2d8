// How long ShowThermoGUI takes to show the property package dialog with all lists
// filled for a package of 10,000 compounds, against the floor: walking the same
// arrays and converting every element to its display text, without a window.
// Prints both and their ratio.
//   packagedialog_bench.exe [compounds] [runs]
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "testkit/CapeDoubles.h"
#include "testkit/TestAccess.h"
#include "automation/CCCAPEGUI.h"
#include "packagedialog/ArrayElements.h"
#include "packagedialog/CCOTHConfig.h"

using namespace testkit;

namespace {

// A package whose compound lists hold `count` compounds with realistic texts.
void fillPackage(PackageDouble& package, size_t count)
{
    std::vector<std::wstring> ids, formulae, names, cas;
    std::vector<double> boiling, weights;
    for (size_t i = 0; i < count; ++i) {
        const std::wstring n = std::to_wstring(i);
        ids.push_back(L"compound-" + n);
        formulae.push_back(L"C" + std::to_wstring(i % 40 + 1) + L"H" + std::to_wstring(i % 82 + 2));
        names.push_back(L"Hypothetical compound number " + n);
        cas.push_back(std::to_wstring(100000 + i) + L"-" + std::to_wstring(i % 90 + 10) + L"-" +
                      std::to_wstring(i % 10));
        boiling.push_back(250.0 + double(i) * 0.0173);
        weights.push_back(i % 7 == 0 ? double(16 + i % 300) : 16.04 + double(i) * 0.01113);
    }
    package.compoundIds = textArray(ids);
    package.formulae = textArray(formulae);
    package.compoundNames = textArray(names);
    package.casNumbers = textArray(cas);
    package.boilingPoints = doubleArray(boiling);
    package.molecularWeights = doubleArray(weights);
}

// The floor: every element of the shown arrays becomes its display text.
size_t convertAll(const PackageData& data)
{
    size_t characters = 0;
    std::string text;
    for (const VARIANT* array :
         {static_cast<const VARIANT*>(&data.compoundIds), static_cast<const VARIANT*>(&data.formulae),
          static_cast<const VARIANT*>(&data.compoundNames), static_cast<const VARIANT*>(&data.boilingPoints),
          static_cast<const VARIANT*>(&data.molecularWeights), static_cast<const VARIANT*>(&data.casNumbers),
          static_cast<const VARIANT*>(&data.constantProps), static_cast<const VARIANT*>(&data.singlePhaseProps),
          static_cast<const VARIANT*>(&data.twoPhaseProps), static_cast<const VARIANT*>(&data.phaseLabels),
          static_cast<const VARIANT*>(&data.statesOfAggregation), static_cast<const VARIANT*>(&data.keyCompoundIds),
          static_cast<const VARIANT*>(&data.phaseDescriptions)}) {
        forEachArrayElement(*array, [&](const ArrayElement& element) {
            elementDisplayText(element, text);
            characters += text.size();
            return true;
        });
    }
    return characters;
}

// The host's window: the dialog's owner. The dialog's modal loop tells it when the
// dialog has nothing left to do (shown, filled and painted): that ends a measurement.
double g_shownAt = 0;
LRESULT CALLBACK hostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ENTERIDLE && wParam == MSGF_DIALOGBOX && g_shownAt == 0) {
        g_shownAt = now();
        PostMessageA(reinterpret_cast<HWND>(lParam), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND createHostWindow()
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = hostProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "QnPackageBenchHost";
    RegisterClassA(&windowClass);
    HWND host = CreateWindowA("QnPackageBenchHost", "bench host", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                              windowClass.hInstance, nullptr);
    ShowWindow(host, SW_SHOW);
    return host;
}

}  // namespace

int main(int argc, char** argv)
{
    const size_t compounds = argc > 1 ? size_t(std::atol(argv[1])) : 10000;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 1;
    int result = 0;
    {
        ComPtr<PackageDouble> package = makeDouble<PackageDouble>();
        fillPackage(*package.get(), compounds);
        HWND host = createHostWindow();

        // The host's side: its window, the package created, its data handed over.
        ComPtr<ICCAPEGUI> gui;
        if (FAILED(CCCAPEGUI::createInstance(nullptr, IID_ICCAPEGUI, gui.putVoid()))) {
            std::fprintf(stderr, "the automation object could not be created\n");
            return 1;
        }
        gui->setup(reinterpret_cast<INT_PTR>(host), nullptr, 65536);
        CCCAPEGUITestAccess::holdComponents(gui.get(), package->dispatch());
        gui->put_compCOversion(110);
        if (FAILED(gui->setPPInfo(nullptr, nullptr, nullptr))) {
            std::fprintf(stderr, "the package's data could not be gathered\n");
            return 1;
        }
        INT_PTR address = 0;
        gui->getThis(&address);
        const PackageData& data = reinterpret_cast<CCOTHConfig*>(address)->packageData;

        CCOTHConfig emptyDialog;  // the same dialog without package data: its fixed cost
        PackageOptions emptyOptions;
        std::vector<double> shown, floor, fixed;
        size_t characters = 0;
        for (int run = 0; run < runs && result == 0; ++run) {
            const double start = now();
            characters = convertAll(data);
            floor.push_back(now() - start);

            g_shownAt = 0;
            const double opened = now();
            gui->ShowThermoGUI(VARIANT_TRUE);
            shown.push_back(g_shownAt - opened);

            g_shownAt = 0;
            const double emptyOpened = now();
            emptyDialog.show(host, emptyOptions, {});
            fixed.push_back(g_shownAt - emptyOpened);
            if (shown.back() <= 0 || fixed.back() <= 0) {
                std::fprintf(stderr, "the dialog could not be shown\n");
                result = 1;
            }
        }
        gui = nullptr;
        DestroyWindow(host);
        if (result == 0) {
            const double dialogMs = median(shown) * 1000;
            const double floorMs = median(floor) * 1000;
            std::printf("compounds: %zu (%zu characters shown), runs: %d (medians)\n", compounds, characters, runs);
            std::printf("ShowThermoGUI to the dialog shown with all lists filled: %.1f ms\n", dialogMs);
            std::printf("floor (walk and convert, no window): %.1f ms\n", floorMs);
            std::printf("ratio: %.2f\n", dialogMs / floorMs);
            std::printf("of the dialog's time: the same dialog without package data %.1f ms\n", median(fixed) * 1000);
        }
    }
    CoUninitialize();
    return result;
}
