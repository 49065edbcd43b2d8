// The bridge between the host and the property package dialog: the package's data
// handed to the dialog, the dialog shown, and what the dialog asks of the object
// while it runs (parent ProgID, flash types, static information, custom view).
#include "automation/CCCAPEGUI.h"

#include "CapeOpen.h"

#include "automation/MethodBoundary.h"
#include "support/ScopedFlag.h"
#include "packagedialog/OwnPropertySystem.h"
#include "support/AnsiText.h"
#include "support/ErrorReport.h"
#include "support/UniqueBstr.h"

namespace {

constexpr const char* kNoCustomViewText = "The component does not provide a Custom View.";
constexpr const char* kGatheringFailedText = "The compounds, properties and phases of the property package could not be read.";
// ECapeUnknown: what packages of the maker's own property system answer for a custom view.
constexpr HRESULT kNoCustomViewOfOwnSystem = static_cast<HRESULT>(0x80040501);

}  // namespace

HRESULT STDMETHODCALLTYPE CCCAPEGUI::ShowThermoGUI(VARIANT_BOOL allowModifications)
{
    if (!thermoGUIEnabled)
        return S_OK;  // the host simulates the dialog (simulateThermoGUI)
    const auto alive = enterMethod();
    if (HRESULT refused = refuseWhileDialogRuns("ShowThermoGUI"); FAILED(refused))
        return refused;
    return methodBoundary("ShowThermoGUI", hostWindow, [&] {
        const ScopedFlag running(dialogRunning);
        packageDialog->owner = this;
        packageDialog->allowModifications = allowModifications != 0 ? 1 : 0;
        // Modal to the host: its window, else whatever window of the host is active.
        packageDialog->show(IsWindow(hostWindow) ? hostWindow : GetActiveWindow());
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::setPPInfo(VARIANT* hyNames, VARIANT* matchedBy, VARIANT* mapping)
{
    const auto alive = enterMethod();
    return methodBoundary("setPPInfo", hostWindow, [&] {
        LONG version = 0;
        get_compCOversion(&version);
        // The dialog keeps its own reference to what it needs of the component.
        HRESULT hr = packageDialog->gatherPackageData(component.get(), hyNames, matchedBy, mapping, version);
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
    try {
        try {
            HRESULT result = E_FAIL;
            if (namesOwnPropertySystem(parentProgID)) {
                result = kNoCustomViewOfOwnSystem;
            } else if (component) {
                ComPtr<ICapeUtilities> utilities;
                HRESULT hr = component.queryInterface(IID_ICapeUtilities, utilities);
                if (FAILED(hr) && hr != E_NOINTERFACE)
                    throw RaisedError(hr);
                if (utilities) {
                    result = utilities->Edit();
                    throwIfFailed(result);  // with the component's error information
                }
            }
            if (SUCCEEDED(result))
                return result;
            // Owned by the window the user is working in (the dialog that asked).
            reportError(E_FAIL, kNoCustomViewText, nullptr, GetActiveWindow(), true);
            return result;
        } catch (const RaisedError& error) {
            // The editor itself failed: the same box, with the failure's code and text.
            error.restoreErrorInfo();
            return reportError(error.code(), kNoCustomViewText, nullptr, GetActiveWindow(), true);
        }
    } catch (...) {
        return E_UNEXPECTED;
    }
}

std::string CCCAPEGUI::parentProgIdOfPackage()
{
    try {
        UniqueBstr progId;
        if (FAILED(GetParentProgID(progId.put())))
            return {};
        return toAnsi(progId.get());
    } catch (...) {
        return {};
    }
}

void CCCAPEGUI::copySupportedPhaseTypes(VariantHolder& out)
{
    get_supportedPhaseTypes(out.put());
}

void CCCAPEGUI::showStaticInfoView()
{
    // Asked by the package dialog while it runs: the Component Manager opens over it
    // (the innermost running dialog owns it), not refused as a second dialog.
    const auto alive = enterMethod();
    methodBoundary("showStaticInfo", hostWindow, [&] { return loadItemInfo(true); });
}
