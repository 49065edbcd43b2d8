// The bridge between the host and the property package dialog: the package's data
// handed to the dialog, the dialog shown, and what the dialog asks of the object
// while it runs (parent ProgID, flash types, static information, custom view).
#include "automation/CCCAPEGUI.h"

#include "CapeOpen.h"

#include "automation/MethodBoundary.h"
#include "support/ForeignCall.h"
#include "support/ScopedFlag.h"
#include "packagedialog/OwnPropertySystem.h"
#include "support/AnsiText.h"
#include "support/ErrorReport.h"
#include "support/UniqueBstr.h"

namespace {

constexpr const char* kNoCustomViewText = "The component does not provide a Custom View.";
constexpr const char* kGatheringFailedText =
    "The compounds, properties and phases of the property package could not be read.";
// ECapeUnknown: what packages of the maker's own property system answer for a custom view.
constexpr HRESULT kNoCustomViewOfOwnSystem = static_cast<HRESULT>(0x80040501);

}  // namespace

HRESULT STDMETHODCALLTYPE CCCAPEGUI::ShowThermoGUI(VARIANT_BOOL allowModifications)
{
    if (!thermoGUIEnabled)
        return S_OK;  // the host simulates the dialog (simulateThermoGUI)
    const auto alive = enterMethod();
    return methodBoundary("ShowThermoGUI", hostWindow, [&] {
        if (HRESULT refused = refuseWhileDialogRuns("ShowThermoGUI"); FAILED(refused))
            return refused;
        const ScopedFlag running(dialogRunning);
        const PackageDialogContext context{this, itemAlias, parentAlias, allowModifications != 0};
        // Modal to the host: its window, else whatever window of the host is active.
        packageDialog->show(IsWindow(hostWindow) ? hostWindow : GetActiveWindow(), packageOptions, context);
        return S_OK;
    });
}

// The host's compound mapping (names, matched by, mapping) is not read.
HRESULT STDMETHODCALLTYPE CCCAPEGUI::setPPInfo(VARIANT*, VARIANT*, VARIANT*)
{
    const auto alive = enterMethod();
    return methodBoundary("setPPInfo", hostWindow, [&] {
        // A package that calls back from inside its own answers would replace the data
        // the walk is reading, and so would a host while the dialog shows it.
        if (HRESULT refused = refuseWhileDialogRuns("setPPInfo"); FAILED(refused))
            return refused;
        if (gatheringPackageData)
            return reportError(HRESULT_FROM_WIN32(ERROR_BUSY),
                               "The property package's data is being read; it cannot be read again from inside "
                               "the package's own calls.",
                               "setPPInfo", hostWindow, true);
        const ScopedFlag gathering(gatheringPackageData);
        // Held for the whole walk (the host may let go of it from inside the package's
        // calls); the dialog keeps its own reference to what it needs of the component.
        const ComPtr<IDispatch> package = component;
        HRESULT hr = packageDialog->gatherPackageData(package.get(), compCOversion);
        if (FAILED(hr)) {
            // The package's error object, when it left one, is the thread's: the report
            // shows its description.
            return reportError(hr, kGatheringFailedText, "setPPInfo", hostWindow, true);
        }
        return S_OK;
    });
}

HRESULT CCCAPEGUI::showCustomView()
{
    // The boxes are owned by the window the user is working in (the dialog that asked).
    try {
        HRESULT result = E_FAIL;
        if (namesOwnPropertySystem(parentProgID)) {
            result = kNoCustomViewOfOwnSystem;
        } else if (component) {
            ComPtr<ICapeUtilities> utilities;
            HRESULT hr = component.queryInterface(IID_ICapeUtilities, utilities);
            if (FAILED(hr) && hr != E_NOINTERFACE)
                return reportError(hr, kNoCustomViewText, nullptr, GetActiveWindow(), true);
            if (utilities) {
                // A failing editor: the same box, with the failure's code and the
                // component's error information.
                result = callForeign("Edit", [&] { return utilities->Edit(); });
                if (FAILED(result))
                    return reportError(result, kNoCustomViewText, nullptr, GetActiveWindow(), true);
            }
        }
        if (SUCCEEDED(result))
            return result;
        reportError(E_FAIL, kNoCustomViewText, nullptr, GetActiveWindow(), true);
        return result;
    } catch (...) {
        return E_UNEXPECTED;  // the dialog that asked gets a failure, nothing else
    }
}

std::string CCCAPEGUI::parentProgIdOfPackage()
{
    try {
        return parentProgID;
    } catch (...) {
        return {};  // the dialog shows the package as one of another system
    }
}

void CCCAPEGUI::copySupportedPhaseTypes(VariantHolder& out) { copyPhaseTypesInto(out.put()); }

void CCCAPEGUI::showStaticInfoView()
{
    // Asked by the package dialog while it runs: the Component Manager opens over it
    // (the innermost running dialog owns it), not refused as a second dialog.
    const auto alive = enterMethod();
    methodBoundary("showStaticInfo", hostWindow, [&] { return loadItemInfo(true); });
}
