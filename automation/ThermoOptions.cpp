// The options the property package dialog shows and edits, as the host sets and reads
// them: compound options, treatment of recoverable and critical errors, phase and
// socket properties, the import report and the dialog's address.
//
// The options (kept by the object, shown by the dialog) hold what the host passed (a
// VARIANT_BOOL widened with its sign: true is -1) or what the user left after OK (1);
// every getter answers VARIANT_TRUE for any non-zero field. A null out pointer gives
// E_POINTER.
#include "automation/CCCAPEGUI.h"

#include "automation/BstrText.h"
#include "automation/MethodBoundary.h"
#include "support/AnsiText.h"

namespace {

VARIANT_BOOL asVariantBool(int option) { return option != 0 ? VARIANT_TRUE : VARIANT_FALSE; }

// A flag option the host reads.
HRESULT readFlag(VARIANT_BOOL* out, int option)
{
    if (!out)
        return E_POINTER;
    *out = asVariantBool(option);
    return S_OK;
}

// A flag option the host sets is stored as 0 or 1.
int storedFlag(VARIANT_BOOL value) { return value != 0 ? 1 : 0; }

HRESULT readOptions(VARIANT_BOOL* first, int firstOption, VARIANT_BOOL* second, int secondOption, VARIANT_BOOL* third,
                    int thirdOption)
{
    if (!first || !second || !third)
        return E_POINTER;
    *first = asVariantBool(firstOption);
    *second = asVariantBool(secondOption);
    *third = asVariantBool(thirdOption);
    return S_OK;
}

// Three flag options the host sets, kept as it passed them.
void storeOptions(int& first, VARIANT_BOOL firstValue, int& second, VARIANT_BOOL secondValue, int& third,
                  VARIANT_BOOL thirdValue)
{
    first = firstValue;
    second = secondValue;
    third = thirdValue;
}

}  // namespace

HRESULT STDMETHODCALLTYPE CCCAPEGUI::simulateThermoGUI(VARIANT_BOOL freeCompounds, VARIANT_BOOL allowSubsets,
                                                       VARIANT_BOOL treatAsHypos)
{
    const auto alive = enterMethod();
    return methodBoundary("simulateThermoGUI", hostWindow, [&] {
        storeOptions(packageOptions.allowSubsets, allowSubsets, packageOptions.freeCompounds, freeCompounds,
                     packageOptions.treatAsHypos, treatAsHypos);
        // The host answers for the dialog from now on: it is never shown again.
        thermoGUIEnabled = false;
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::setCompOptions(VARIANT_BOOL allowSubsets, VARIANT_BOOL freeCompounds,
                                                    VARIANT_BOOL treatAsHypos)
{
    const auto alive = enterMethod();
    return methodBoundary("setCompOptions", hostWindow, [&] {
        storeOptions(packageOptions.allowSubsets, allowSubsets, packageOptions.freeCompounds, freeCompounds,
                     packageOptions.treatAsHypos, treatAsHypos);
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::getCompOptions(VARIANT_BOOL* allowSubsets, VARIANT_BOOL* freeCompounds,
                                                    VARIANT_BOOL* treatAsHypos)
{
    const auto alive = enterMethod();
    return methodBoundary("getCompOptions", hostWindow, [&] {
        return readOptions(allowSubsets, packageOptions.allowSubsets, freeCompounds, packageOptions.freeCompounds,
                           treatAsHypos, packageOptions.treatAsHypos);
    });
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::setRecovErrorsOptions(VARIANT_BOOL traceIt, VARIANT_BOOL logIt, VARIANT_BOOL popUp)
{
    const auto alive = enterMethod();
    return methodBoundary("setRecovErrorsOptions", hostWindow, [&] {
        storeOptions(packageOptions.recovTrace, traceIt, packageOptions.recovLog, logIt, packageOptions.recovPopUp,
                     popUp);
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::getRecovErrorsOptions(VARIANT_BOOL* traceIt, VARIANT_BOOL* logIt,
                                                           VARIANT_BOOL* popUp)
{
    const auto alive = enterMethod();
    return methodBoundary("getRecovErrorsOptions", hostWindow, [&] {
        return readOptions(traceIt, packageOptions.recovTrace, logIt, packageOptions.recovLog, popUp,
                           packageOptions.recovPopUp);
    });
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::setCritErrorsOptions(VARIANT_BOOL traceIt, VARIANT_BOOL logIt, VARIANT_BOOL popUp)
{
    const auto alive = enterMethod();
    return methodBoundary("setCritErrorsOptions", hostWindow, [&] {
        storeOptions(packageOptions.critTrace, traceIt, packageOptions.critLog, logIt, packageOptions.critPopUp, popUp);
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::getCritErrorsOptions(VARIANT_BOOL* traceIt, VARIANT_BOOL* logIt,
                                                          VARIANT_BOOL* popUp)
{
    const auto alive = enterMethod();
    return methodBoundary("getCritErrorsOptions", hostWindow, [&] {
        return readOptions(traceIt, packageOptions.critTrace, logIt, packageOptions.critLog, popUp,
                           packageOptions.critPopUp);
    });
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::get_socketVersion(BSTR* pVal)
{
    const auto alive = enterMethod();
    return methodBoundary("socketVersion", hostWindow, [&] {
        if (!pVal)
            return E_POINTER;
        *pVal = newBstr(packageOptions.socketVersion);  // empty text: an empty BSTR
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::put_socketVersion(BSTR value)
{
    const auto alive = enterMethod();
    return methodBoundary("socketVersion", hostWindow, [&] {
        packageOptions.socketVersion = toAnsi(value);
        return S_OK;
    });
}

HRESULT CCCAPEGUI::getFlagOption(const char* name, int PackageOptions::*option, VARIANT_BOOL* out)
{
    const auto alive = enterMethod();
    return methodBoundary(name, hostWindow, [&] { return readFlag(out, packageOptions.*option); });
}

HRESULT CCCAPEGUI::putFlagOption(const char* name, int PackageOptions::*option, VARIANT_BOOL value)
{
    const auto alive = enterMethod();
    return methodBoundary(name, hostWindow, [&] {
        packageOptions.*option = storedFlag(value);
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::get_requestLiquid2(VARIANT_BOOL* pVal)
{
    return getFlagOption("requestLiquid2", &PackageOptions::requestLiquid2, pVal);
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::put_requestLiquid2(VARIANT_BOOL value)
{
    return putFlagOption("requestLiquid2", &PackageOptions::requestLiquid2, value);
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::get_doOrderPhases(VARIANT_BOOL* pVal)
{
    return getFlagOption("doOrderPhases", &PackageOptions::doOrderPhases, pVal);
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::put_doOrderPhases(VARIANT_BOOL value)
{
    return putFlagOption("doOrderPhases", &PackageOptions::doOrderPhases, value);
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::get_supportedPhaseTypes(VARIANT* pVal)
{
    const auto alive = enterMethod();
    return methodBoundary("supportedPhaseTypes", hostWindow, [&] {
        if (!pVal)
            return E_POINTER;
        return copyPhaseTypesInto(pVal);
    });
}

HRESULT CCCAPEGUI::copyPhaseTypesInto(VARIANT* out)
{
    VariantInit(out);  // an out parameter: whatever it held is not ours to free
    return VariantCopy(out, &supportedPhaseTypes);
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::put_supportedPhaseTypes(VARIANT value)
{
    const auto alive = enterMethod();
    return methodBoundary("supportedPhaseTypes", hostWindow, [&] {
        // A reference (as late-bound hosts pass arrays) is followed: the object keeps its
        // own copy of the array, never a pointer into the caller's memory. A value that
        // cannot be copied is refused with the copy's code (like the getter's).
        return VariantCopyInd(&supportedPhaseTypes, &value);
    });
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::traceReport(BSTR msg, VARIANT_BOOL appendNewLine)
{
    const auto alive = enterMethod();
    return methodBoundary("traceReport", hostWindow, [&] {
        packageOptions.importReport += toAnsi(msg);
        if (appendNewLine != 0)
            packageOptions.importReport += '\n';
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::getThis(INT_PTR* rawPointer)
{
    const auto alive = enterMethod();
    return methodBoundary("getThis", hostWindow, [&] {
        if (!rawPointer)
            return E_POINTER;
        // The dialog's address, not the object's: the host reaches the dialog through it.
        *rawPointer = reinterpret_cast<INT_PTR>(packageDialog.get());
        return S_OK;
    });
}
