// ICapeThermoPhases of the sample property packages.
#include "CapeErrors.h"
#include "ThermoPackage.h"
#include "VariantArrays.h"

namespace sample::thermo {
namespace {

const wchar_t infoSource[] = L"ICapeThermoPhases::GetPhaseInfo";

HRESULT textVariant(const std::wstring& text, Variant& result)
{
    result.get().bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!result.get().bstrVal)
        return E_OUTOFMEMORY;
    result.get().vt = VT_BSTR;
    return S_OK;
}

}  // namespace

STDMETHODIMP ThermoPackage::GetNumPhases(long* num)
{
    if (!num)
        return E_POINTER;
    *num = static_cast<long>(phases_.size());
    return S_OK;
}

// Attributes answered: "StateOfAggregation", "KeyCompoundId" (an empty VARIANT
// when the phase has none) and "UserDescription". The other attributes the
// standard names are not available here; anything else is an invalid argument.
STDMETHODIMP ThermoPackage::GetPhaseInfo(BSTR phaseLabel, BSTR phaseAttribute, VARIANT* value)
{
    if (!value)
        return E_POINTER;
    return guarded(infoSource, IID_ICapeThermoPhases, [&] {
        const std::wstring label = phaseLabel ? std::wstring(phaseLabel, SysStringLen(phaseLabel)) : std::wstring();
        const std::wstring attribute =
            phaseAttribute ? std::wstring(phaseAttribute, SysStringLen(phaseAttribute)) : std::wstring();
        const Phase* phase = findPhase(label);
        if (!phase)
            return raiseError(ECapeInvalidArgumentHR, L"Unknown phase '" + label + L"'.", infoSource,
                              IID_ICapeThermoPhases);
        Variant result;
        HRESULT hr = S_OK;
        if (attribute == L"StateOfAggregation")
            hr = textVariant(phase->stateOfAggregation, result);
        else if (attribute == L"KeyCompoundId")
            hr = phase->keyCompoundId.empty() ? S_OK : textVariant(phase->keyCompoundId, result);
        else if (attribute == L"UserDescription")
            hr = textVariant(phase->userDescription, result);
        else if (attribute == L"ExcludedCompoundId" || attribute == L"DensityDescription" ||
                 attribute == L"TypeOfSolid")
            return raiseError(ECapeThrmPropertyNotAvailableHR,
                              L"Phase attribute '" + attribute + L"' is not available.", infoSource,
                              IID_ICapeThermoPhases);
        else
            return raiseError(ECapeInvalidArgumentHR, L"Unknown phase attribute '" + attribute + L"'.", infoSource,
                              IID_ICapeThermoPhases);
        if (SUCCEEDED(hr))
            result.moveToOut(value);
        return hr;
    });
}

// Three arrays of texts in phase order; a phase without a key compound has an
// empty text there.
STDMETHODIMP ThermoPackage::GetPhaseList(VARIANT* phaseLabels, VARIANT* stateOfAggregation, VARIANT* keyCompoundId)
{
    if (!phaseLabels || !stateOfAggregation || !keyCompoundId)
        return E_POINTER;
    return guarded(L"ICapeThermoPhases::GetPhaseList", IID_ICapeThermoPhases, [&] {
        std::vector<std::wstring> labels, states, keys;
        for (const Phase& phase : phases_) {
            labels.push_back(phase.label);
            states.push_back(phase.stateOfAggregation);
            keys.push_back(phase.keyCompoundId);
        }
        Variant results[3];
        HRESULT hr = makeStringArray(labels, results[0]);
        if (SUCCEEDED(hr))
            hr = makeStringArray(states, results[1]);
        if (SUCCEEDED(hr))
            hr = makeStringArray(keys, results[2]);
        if (FAILED(hr))
            return hr;
        results[0].moveToInOut(phaseLabels);
        results[1].moveToInOut(stateOfAggregation);
        results[2].moveToInOut(keyCompoundId);
        return S_OK;
    });
}

}  // namespace sample::thermo
