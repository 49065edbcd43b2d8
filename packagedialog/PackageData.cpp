#include "packagedialog/PackageData.h"

#include <new>
#include <string>
#include <utility>
#include <vector>

#include "CapeOpen.h"
#include "packagedialog/ArrayElements.h"
#include "packagedialog/DisplayText.h"
#include "support/ForeignCall.h"
#include "support/SetGet.h"
#include "support/UniqueBstr.h"

// {678C0996-7D66-11D2-A67D-00105A42887F}
const IID IID_ICapeThermoPropertyPackage10 = {
    0x678C0996, 0x7D66, 0x11D2, {0xA6, 0x7D, 0x00, 0x10, 0x5A, 0x42, 0x88, 0x7F}};

namespace {

// A failing call on the package: its code and the error object the package left for
// the interface it was called through (none when the package does not vouch for one).
class PackageCallFailed {
public:
    PackageCallFailed(HRESULT code, ComPtr<IErrorInfo> info) : code_(code), info_(std::move(info)) {}
    HRESULT code() const { return code_; }
    // Hands the package's error object to the caller's report (or clears a stale one).
    void restoreErrorInfo() const { SetErrorInfo(0, info_.get()); }

private:
    HRESULT code_;
    ComPtr<IErrorInfo> info_;
};

// The thread's error object, taken right after object's call through iid failed; kept
// only when the object says it supports error information on that interface.
ComPtr<IErrorInfo> errorInfoOfCall(HRESULT hr, IUnknown* object, REFIID iid)
{
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.put()) != S_OK)
        return nullptr;
    if (hr == kCallRaisedException)
        return info;  // the library's own account of the crash
    ComPtr<ISupportErrorInfo> support;
    if (FAILED(queryInterfaceOf(object, IID_ISupportErrorInfo, support)))
        return nullptr;
    const HRESULT vouched =
        callForeign("InterfaceSupportsErrorInfo", [&] { return support->InterfaceSupportsErrorInfo(iid); });
    return vouched == S_OK ? info : nullptr;
}

template <class Interface>
void checkCall(HRESULT hr, Interface* object, REFIID iid)
{
    if (FAILED(hr))
        throw PackageCallFailed(hr, errorInfoOfCall(hr, object, iid));
}

// The CAPE-OPEN 1.1 interfaces the gathering needs: a package without one fails with
// E_POINTER, any other failure of the query ends the gathering with its code.
template <class Interface>
ComPtr<Interface> requireInterface(IUnknown* package, REFIID iid)
{
    ComPtr<Interface> result;
    HRESULT hr = queryInterfaceOf(package, iid, result);
    if (hr == E_NOINTERFACE)
        throw PackageCallFailed(E_POINTER, nullptr);
    if (FAILED(hr))
        throw PackageCallFailed(hr, nullptr);
    return result;
}

// The description of one phase from its GetPhaseInfo value: a text as it is, the
// first element of an array, nothing for an empty value or any other type.
_bstr_t descriptionOf(const VARIANT& value)
{
    if (V_VT(&value) == VT_BSTR)
        return _bstr_t(V_BSTR(&value));  // a copy
    _bstr_t description(L"");
    forEachArrayElement(value, [&](const ArrayElement& first) {
        if (first.kind == ArrayElement::Kind::Text)
            description = _bstr_t(first.text);
        else if (first.kind == ArrayElement::Kind::Number)
            description = _bstr_t(gcvtText(first.number).c_str());
        return false;
    });
    return description;
}

// One phase to ask about: its label, when the package gave a text for it.
struct PhaseToAsk {
    bool hasLabel = false;
    BSTR label = nullptr;  // still owned by the label array
};

// The first `wanted` phases (fewer when the package lists fewer labels, so that no
// label is read beyond the array).
std::vector<PhaseToAsk> phasesToAsk(const VARIANT& labels, long wanted)
{
    std::vector<PhaseToAsk> result;
    if (wanted <= 0)
        return result;
    forEachArrayElement(labels, [&](const ArrayElement& label) {
        const bool isText = label.kind == ArrayElement::Kind::Text;
        result.push_back({isText, isText ? label.text : nullptr});
        return long(result.size()) < wanted;
    });
    return result;
}

bool holdsTextsFor(const VARIANT& array, size_t count)
{
    return V_VT(&array) == (VT_ARRAY | VT_BSTR) && arrayElementCount(array) == count;
}

HRESULT gatherFrom(PackageData& data, IUnknown* package)
{
    {
        ComPtr<IUnknown> held;
        HRESULT hr = queryInterfaceOf(package, IID_ICapeThermoPropertyPackage10, held);
        data.heldPackageInterface = held;  // the earlier one is released
        if (FAILED(hr) && hr != E_NOINTERFACE)
            throw PackageCallFailed(hr, nullptr);
    }

    auto phases = requireInterface<ICapeThermoPhases>(package, IID_ICapeThermoPhases);
    long numPhases = 0;
    checkCall(callForeign("GetNumPhases", [&] { return phases->GetNumPhases(&numPhases); }), phases.get(),
              IID_ICapeThermoPhases);
    data.numPhases = numPhases;
    {
        VariantHolder labels, states, keys;
        checkCall(callForeign(
                      "GetPhaseList", [&](VARIANT* l, VARIANT* s, VARIANT* k) { return phases->GetPhaseList(l, s, k); },
                      labels, states, keys),
                  phases.get(), IID_ICapeThermoPhases);
        std::swap(data.phaseLabels, labels);
        std::swap(data.statesOfAggregation, states);
        std::swap(data.keyCompoundIds, keys);
    }

    std::vector<_bstr_t> descriptions;
    const UniqueBstr attribute(L"UserDescription");
    for (const PhaseToAsk& phase : phasesToAsk(data.phaseLabels, data.numPhases)) {
        if (!phase.hasLabel) {
            descriptions.emplace_back(L"");  // not a text: the phase cannot be named
            continue;
        }
        VariantHolder value;
        checkCall(callForeign(
                      "GetPhaseInfo",
                      [&](VARIANT* slot) { return phases->GetPhaseInfo(phase.label, attribute.get(), slot); }, value),
                  phases.get(), IID_ICapeThermoPhases);
        descriptions.push_back(descriptionOf(value));
    }
    SetGet::bstrListToVariant(data.phaseDescriptions, descriptions);
    if (!holdsTextsFor(data.phaseDescriptions, descriptions.size())) {
        // The array could not be made (SetGet has reported): the compound interface is
        // still asked for, but no compound is read.
        ComPtr<ICapeThermoCompounds> compounds;
        queryInterfaceOf(package, IID_ICapeThermoCompounds, compounds);
        return E_FAIL;
    }

    auto compounds = requireInterface<ICapeThermoCompounds>(package, IID_ICapeThermoCompounds);
    HRESULT result = S_OK;
    {
        VariantHolder ids, formulae, names, boilingPoints, molecularWeights, casNumbers;
        result = callForeign(
            "GetCompoundList",
            [&](VARIANT* i, VARIANT* f, VARIANT* n, VARIANT* b, VARIANT* m, VARIANT* c) {
                return compounds->GetCompoundList(i, f, n, b, m, c);
            },
            ids, formulae, names, boilingPoints, molecularWeights, casNumbers);
        checkCall(result, compounds.get(), IID_ICapeThermoCompounds);
        std::swap(data.compoundIds, ids);
        std::swap(data.formulae, formulae);
        std::swap(data.compoundNames, names);
        std::swap(data.boilingPoints, boilingPoints);
        std::swap(data.molecularWeights, molecularWeights);
        std::swap(data.casNumbers, casNumbers);
    }
    {
        VariantHolder constants;
        checkCall(callForeign(
                      "GetConstPropList", [&](VARIANT* slot) { return compounds->GetConstPropList(slot); }, constants),
                  compounds.get(), IID_ICapeThermoCompounds);
        std::swap(data.constantProps, constants);
    }

    auto routine = requireInterface<ICapeThermoPropertyRoutine>(package, IID_ICapeThermoPropertyRoutine);
    {
        VariantHolder singlePhase;
        checkCall(callForeign(
                      "GetSinglePhasePropList", [&](VARIANT* slot) { return routine->GetSinglePhasePropList(slot); },
                      singlePhase),
                  routine.get(), IID_ICapeThermoPropertyRoutine);
        std::swap(data.singlePhaseProps, singlePhase);
    }
    {
        VariantHolder twoPhase;
        checkCall(
            callForeign(
                "GetTwoPhasePropList", [&](VARIANT* slot) { return routine->GetTwoPhasePropList(slot); }, twoPhase),
            routine.get(), IID_ICapeThermoPropertyRoutine);
        std::swap(data.twoPhaseProps, twoPhase);
    }
    return result;  // the three interfaces are released on the way out
}

}  // namespace

HRESULT gatherPackageData(PackageData& data, IUnknown* package, long version) noexcept
{
    if (version != 110)
        return S_OK;
    if (!package) {
        data.heldPackageInterface = nullptr;
        return E_POINTER;
    }
    try {
        // The package's interfaces are released before a failure's error object is
        // made the thread's again, so that their releases cannot overwrite it.
        return gatherFrom(data, package);
    } catch (const PackageCallFailed& failure) {
        failure.restoreErrorInfo();
        return failure.code();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}
