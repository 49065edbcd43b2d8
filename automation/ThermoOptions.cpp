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

// The options the host sets and reads in threes.
constexpr std::array<int PackageOptions::*, 3> kCompoundOptions{
    &PackageOptions::allowSubsets, &PackageOptions::freeCompounds, &PackageOptions::treatAsHypos};
constexpr std::array<int PackageOptions::*, 3> kRecoverableErrorOptions{
    &PackageOptions::recovTrace, &PackageOptions::recovLog, &PackageOptions::recovPopUp};
constexpr std::array<int PackageOptions::*, 3> kCriticalErrorOptions{
    &PackageOptions::critTrace, &PackageOptions::critLog, &PackageOptions::critPopUp};

}  // namespace

HRESULT STDMETHODCALLTYPE CCCAPEGUI::simulateThermoGUI(VARIANT_BOOL freeCompounds, VARIANT_BOOL allowSubsets,
                                                       VARIANT_BOOL treatAsHypos)
{
    const auto alive = enterMethod();
    return methodBoundary("simulateThermoGUI", hostWindow, [&] {
        packageOptions.allowSubsets = allowSubsets;
        packageOptions.freeCompounds = freeCompounds;
        packageOptions.treatAsHypos = treatAsHypos;
        // The host answers for the dialog from now on: it is never shown again.
        thermoGUIEnabled = false;
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::setCompOptions(VARIANT_BOOL allowSubsets, VARIANT_BOOL freeCompounds,
                                                    VARIANT_BOOL treatAsHypos)
{
    return putOptionTriple("setCompOptions", kCompoundOptions, allowSubsets, freeCompounds, treatAsHypos);
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::getCompOptions(VARIANT_BOOL* allowSubsets, VARIANT_BOOL* freeCompounds,
                                                    VARIANT_BOOL* treatAsHypos)
{
    return getOptionTriple("getCompOptions", kCompoundOptions, allowSubsets, freeCompounds, treatAsHypos);
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::setRecovErrorsOptions(VARIANT_BOOL traceIt, VARIANT_BOOL logIt, VARIANT_BOOL popUp)
{
    return putOptionTriple("setRecovErrorsOptions", kRecoverableErrorOptions, traceIt, logIt, popUp);
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::getRecovErrorsOptions(VARIANT_BOOL* traceIt, VARIANT_BOOL* logIt,
                                                           VARIANT_BOOL* popUp)
{
    return getOptionTriple("getRecovErrorsOptions", kRecoverableErrorOptions, traceIt, logIt, popUp);
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::setCritErrorsOptions(VARIANT_BOOL traceIt, VARIANT_BOOL logIt, VARIANT_BOOL popUp)
{
    return putOptionTriple("setCritErrorsOptions", kCriticalErrorOptions, traceIt, logIt, popUp);
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::getCritErrorsOptions(VARIANT_BOOL* traceIt, VARIANT_BOOL* logIt,
                                                          VARIANT_BOOL* popUp)
{
    return getOptionTriple("getCritErrorsOptions", kCriticalErrorOptions, traceIt, logIt, popUp);
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

HRESULT CCCAPEGUI::putOptionTriple(const char* name, const OptionTriple& options, VARIANT_BOOL first,
                                   VARIANT_BOOL second, VARIANT_BOOL third)
{
    const auto alive = enterMethod();
    return methodBoundary(name, hostWindow, [&] {
        packageOptions.*options[0] = first;
        packageOptions.*options[1] = second;
        packageOptions.*options[2] = third;
        return S_OK;
    });
}

HRESULT CCCAPEGUI::getOptionTriple(const char* name, const OptionTriple& options, VARIANT_BOOL* first,
                                   VARIANT_BOOL* second, VARIANT_BOOL* third)
{
    const auto alive = enterMethod();
    return methodBoundary(name, hostWindow, [&] {
        if (!first || !second || !third)
            return E_POINTER;
        *first = asVariantBool(packageOptions.*options[0]);
        *second = asVariantBool(packageOptions.*options[1]);
        *third = asVariantBool(packageOptions.*options[2]);
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
        // cannot be copied is refused with the copy's code (like the getter's); a
        // reference to nothing is refused before it is followed.
        if ((value.vt & VT_BYREF) && !value.byref)
            return reportError(E_POINTER, kUnexpectedErrorText, "supportedPhaseTypes", hostWindow, true);
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
