#include "testkit/PackageDouble.h"

#include "support/AnsiText.h"
#include "testkit/ServedClass.h"

namespace testkit {

namespace {

// A one-dimensional array of vt elements, each written into its slot by store.
template <class Values, class Store>
VariantHolder arrayOf(VARTYPE vt, Values& values, long lowerBound, Store store)
{
    VariantHolder result;
    SAFEARRAY* array = SafeArrayCreateVector(vt, lowerBound, static_cast<ULONG>(values.size()));
    for (size_t i = 0; i < values.size(); ++i)
        store(array->pvData, i, values[i]);
    V_VT(&result) = VT_ARRAY | vt;
    V_ARRAY(&result) = array;
    return result;
}

template <class T>
VariantHolder plainArray(VARTYPE vt, const std::vector<T>& values)
{
    return arrayOf(vt, values, 0, [](void* slots, size_t i, T value) { static_cast<T*>(slots)[i] = value; });
}

// [in, out] and [out] VARIANTs: what came in is freed, a copy goes out.
void giveCopy(VARIANT* out, const VARIANT& value)
{
    VariantClear(out);
    VariantCopy(out, const_cast<VARIANT*>(&value));
}

}  // namespace

VariantHolder textArray(const std::vector<std::wstring>& texts, long lowerBound)
{
    return arrayOf(VT_BSTR, texts, lowerBound, [](void* slots, size_t i, const std::wstring& text) {
        static_cast<BSTR*>(slots)[i] = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    });
}

VariantHolder doubleArray(const std::vector<double>& values) { return plainArray(VT_R8, values); }
VariantHolder longArray(const std::vector<LONG>& values) { return plainArray(VT_I4, values); }

VariantHolder variantArray(std::vector<VariantHolder> values)
{
    return arrayOf(VT_VARIANT, values, 0,
                   [](void* slots, size_t i, VariantHolder& value) { static_cast<VARIANT*>(slots)[i] = value.detach(); });
}

VariantHolder textValue(const wchar_t* text)
{
    VariantHolder result;
    V_VT(&result) = VT_BSTR;
    V_BSTR(&result) = SysAllocString(text);
    return result;
}

VariantHolder doubleValue(double value)
{
    VariantHolder result;
    V_VT(&result) = VT_R8;
    V_R8(&result) = value;
    return result;
}

VariantHolder longValue(LONG value)
{
    VariantHolder result;
    V_VT(&result) = VT_I4;
    V_I4(&result) = value;
    return result;
}

PackageDouble::PackageDouble()
    : phaseLabels(textArray({L"Vapor", L"Liquid"})),
      statesOfAggregation(textArray({L"Vapor", L"Liquid"})),
      keyCompoundIds(textArray({L"", L"water"})),
      describePhase([](const std::wstring& label) { return textValue((label + L" phase").c_str()); }),
      compoundIds(textArray({L"water", L"methane", L"ethane"})),
      formulae(textArray({L"H2O", L"CH4", L"C2H6"})),
      compoundNames(textArray({L"Water", L"Methane", L"Ethane"})),
      boilingPoints(doubleArray({373.15, 111.66, 184.55})),
      molecularWeights(doubleArray({18.01528, 16.04, 30.07})),
      casNumbers(textArray({L"7732-18-5", L"74-82-8", L"74-84-0"})),
      constantProps(textArray({L"molecularWeight", L"criticalTemperature"})),
      singlePhaseProps(textArray({L"enthalpy", L"density", L"fugacityCoefficient"})),
      twoPhaseProps(textArray({L"kvalue", L"surfaceTension"}))
{
}

HRESULT PackageDouble::refusal(REFIID iid)
{
    for (const auto& [refusedIid, hr] : refused_)
        if (refusedIid == iid)
            return hr;
    return S_OK;
}

HRESULT PackageDouble::enter(const std::string& call, const std::string& method)
{
    calls.push_back(call);
    const auto failing = failing_.find(method);
    if (failing == failing_.end())
        return S_OK;
    leaveErrorObject(failing->second.second, L"PackageDouble");
    return failing->second.first;
}

STDMETHODIMP PackageDouble::GetNumPhases(LONG* num)
{
    if (HRESULT hr = enter("GetNumPhases", "GetNumPhases"); FAILED(hr))
        return hr;
    *num = numPhases >= 0 ? numPhases : static_cast<LONG>(V_ARRAY(&phaseLabels)->rgsabound[0].cElements);
    return S_OK;
}

STDMETHODIMP PackageDouble::GetPhaseInfo(BSTR phaseLabel, BSTR phaseAttribute, VARIANT* value)
{
    const std::wstring label = phaseLabel ? phaseLabel : L"";
    if (HRESULT hr = enter("GetPhaseInfo " + toAnsi(label) + " " + toAnsi(phaseAttribute), "GetPhaseInfo"); FAILED(hr))
        return hr;
    VariantHolder answer = describePhase(label);
    VariantClear(value);
    *value = answer.detach();
    return S_OK;
}

STDMETHODIMP PackageDouble::GetPhaseList(VARIANT* labels, VARIANT* states, VARIANT* keys)
{
    if (HRESULT hr = enter("GetPhaseList", "GetPhaseList"); FAILED(hr))
        return hr;
    giveCopy(labels, phaseLabels);
    giveCopy(states, statesOfAggregation);
    giveCopy(keys, keyCompoundIds);
    return S_OK;
}

STDMETHODIMP PackageDouble::GetCompoundList(VARIANT* ids, VARIANT* formulaeOut, VARIANT* names, VARIANT* boilTemps,
                                            VARIANT* molwts, VARIANT* casnos)
{
    if (HRESULT hr = enter("GetCompoundList", "GetCompoundList"); FAILED(hr))
        return hr;
    giveCopy(ids, compoundIds);
    giveCopy(formulaeOut, formulae);
    giveCopy(names, compoundNames);
    giveCopy(boilTemps, boilingPoints);
    giveCopy(molwts, molecularWeights);
    giveCopy(casnos, casNumbers);
    return compoundListResult;
}

STDMETHODIMP PackageDouble::GetConstPropList(VARIANT* props)
{
    if (HRESULT hr = enter("GetConstPropList", "GetConstPropList"); FAILED(hr))
        return hr;
    giveCopy(props, constantProps);
    return S_OK;
}

STDMETHODIMP PackageDouble::GetSinglePhasePropList(VARIANT* props)
{
    if (HRESULT hr = enter("GetSinglePhasePropList", "GetSinglePhasePropList"); FAILED(hr))
        return hr;
    giveCopy(props, singlePhaseProps);
    return S_OK;
}

STDMETHODIMP PackageDouble::GetTwoPhasePropList(VARIANT* props)
{
    if (HRESULT hr = enter("GetTwoPhasePropList", "GetTwoPhasePropList"); FAILED(hr))
        return hr;
    giveCopy(props, twoPhaseProps);
    return S_OK;
}

STDMETHODIMP PackageDouble::Edit()
{
    if (HRESULT hr = enter("Edit", "Edit"); FAILED(hr))
        return hr;
    return editResult;
}

STDMETHODIMP PackageDouble::InterfaceSupportsErrorInfo(REFIID iid)
{
    for (REFIID vouched : {IID_ICapeThermoPhases, IID_ICapeThermoCompounds, IID_ICapeThermoPropertyRoutine,
                           IID_ICapeUtilities})
        if (iid == vouched)
            return S_OK;
    return S_FALSE;
}

}  // namespace testkit
