// The options the property package dialog shows and edits, as the host sets and reads
// them: compound options, treatment of recoverable and critical errors, phase and
// socket properties, the import report and the dialog's address.
//
// The dialog's option fields hold what the host passed (a VARIANT_BOOL widened with
// its sign: true is -1) or what the user left after OK (1); every getter answers
// VARIANT_TRUE for any non-zero field. A null out pointer gives E_POINTER.
#include "automation/CCCAPEGUI.h"

#include "automation/BstrText.h"
#include "automation/MethodBoundary.h"
#include "support/AnsiText.h"

namespace {

VARIANT_BOOL asVariantBool(int option) { return option != 0 ? VARIANT_TRUE : VARIANT_FALSE; }

HRESULT readOptions(VARIANT_BOOL* first, int firstOption, VARIANT_BOOL* second, int secondOption,
                    VARIANT_BOOL* third, int thirdOption)
{
    if (!first || !second || !third)
        return E_POINTER;
    *first = asVariantBool(firstOption);
    *second = asVariantBool(secondOption);
    *third = asVariantBool(thirdOption);
    return S_OK;
}

}  // namespace

HRESULT STDMETHODCALLTYPE CCCAPEGUI::simulateThermoGUI(VARIANT_BOOL freeCompounds, VARIANT_BOOL allowSubsets,
                                                       VARIANT_BOOL treatAsHypos)
{
    const auto alive = enterMethod();
    packageDialog->treatAsHypos = treatAsHypos;
    packageDialog->allowSubsets = allowSubsets;
    packageDialog->freeCompounds = freeCompounds;
    // The host answers for the dialog from now on: it is never shown again.
    thermoGUIEnabled = false;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::setCompOptions(VARIANT_BOOL allowSubsets, VARIANT_BOOL freeCompounds,
                                                    VARIANT_BOOL treatAsHypos)
{
    const auto alive = enterMethod();
    packageDialog->allowSubsets = allowSubsets;
    packageDialog->freeCompounds = freeCompounds;
    packageDialog->treatAsHypos = treatAsHypos;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::getCompOptions(VARIANT_BOOL* allowSubsets, VARIANT_BOOL* freeCompounds,
                                                    VARIANT_BOOL* treatAsHypos)
{
    const auto alive = enterMethod();
    return readOptions(allowSubsets, packageDialog->allowSubsets, freeCompounds, packageDialog->freeCompounds,
                       treatAsHypos, packageDialog->treatAsHypos);
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::setRecovErrorsOptions(VARIANT_BOOL traceIt, VARIANT_BOOL logIt,
                                                           VARIANT_BOOL popUp)
{
    const auto alive = enterMethod();
    packageDialog->recovTrace = traceIt;
    packageDialog->recovLog = logIt;
    packageDialog->recovPopUp = popUp;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::getRecovErrorsOptions(VARIANT_BOOL* traceIt, VARIANT_BOOL* logIt,
                                                           VARIANT_BOOL* popUp)
{
    const auto alive = enterMethod();
    return readOptions(traceIt, packageDialog->recovTrace, logIt, packageDialog->recovLog, popUp,
                       packageDialog->recovPopUp);
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::setCritErrorsOptions(VARIANT_BOOL traceIt, VARIANT_BOOL logIt,
                                                          VARIANT_BOOL popUp)
{
    const auto alive = enterMethod();
    packageDialog->critTrace = traceIt;
    packageDialog->critLog = logIt;
    packageDialog->critPopUp = popUp;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::getCritErrorsOptions(VARIANT_BOOL* traceIt, VARIANT_BOOL* logIt,
                                                          VARIANT_BOOL* popUp)
{
    const auto alive = enterMethod();
    return readOptions(traceIt, packageDialog->critTrace, logIt, packageDialog->critLog, popUp,
                       packageDialog->critPopUp);
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::get_socketVersion(BSTR* pVal)
{
    const auto alive = enterMethod();
    return methodBoundary("socketVersion", hostWindow, [&] {
        if (!pVal)
            return E_POINTER;
        *pVal = newBstr(packageDialog->socketVersion);  // empty text: an empty BSTR
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::put_socketVersion(BSTR value)
{
    const auto alive = enterMethod();
    return methodBoundary("socketVersion", hostWindow, [&] {
        packageDialog->socketVersion = toAnsi(value);
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::get_requestLiquid2(VARIANT_BOOL* pVal)
{
    const auto alive = enterMethod();
    if (!pVal)
        return E_POINTER;
    *pVal = asVariantBool(packageDialog->requestLiquid2);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::put_requestLiquid2(VARIANT_BOOL value)
{
    const auto alive = enterMethod();
    packageDialog->requestLiquid2 = value != 0 ? 1 : 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::get_doOrderPhases(VARIANT_BOOL* pVal)
{
    const auto alive = enterMethod();
    if (!pVal)
        return E_POINTER;
    *pVal = asVariantBool(packageDialog->doOrderPhases);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::put_doOrderPhases(VARIANT_BOOL value)
{
    const auto alive = enterMethod();
    packageDialog->doOrderPhases = value != 0 ? 1 : 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::get_supportedPhaseTypes(VARIANT* pVal)
{
    const auto alive = enterMethod();
    if (!pVal)
        return E_POINTER;
    VariantInit(pVal);  // an out parameter: whatever it held is not ours to free
    return VariantCopy(pVal, &supportedPhaseTypes);
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::put_supportedPhaseTypes(VARIANT value)
{
    const auto alive = enterMethod();
    // A reference (as late-bound hosts pass arrays) is followed: the object keeps its
    // own copy of the array, never a pointer into the caller's memory.
    VariantCopyInd(&supportedPhaseTypes, &value);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::traceReport(BSTR msg, VARIANT_BOOL appendNewLine)
{
    const auto alive = enterMethod();
    return methodBoundary("traceReport", hostWindow, [&] {
        if (packageDialog) {
            packageDialog->importReport += toAnsi(msg);
            if (appendNewLine != 0)
                packageDialog->importReport += '\n';
        }
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::getThis(INT_PTR* rawPointer)
{
    const auto alive = enterMethod();
    if (!rawPointer)
        return E_POINTER;
    // The dialog's address, not the object's: the host reaches the dialog through it.
    *rawPointer = reinterpret_cast<INT_PTR>(packageDialog.get());
    return S_OK;
}
