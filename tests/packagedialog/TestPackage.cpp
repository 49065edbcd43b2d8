#include "TestPackage.h"

#include "TestArrays.h"
#include "packagedialog/PackageData.h"
#include "support/AnsiText.h"
#include "support/ComPtr.h"

namespace packagetest {

namespace {

// [in, out] and [out] VARIANTs: what came in is freed, the copy goes out.
void giveCopy(VARIANT* out, const VARIANT& value)
{
    VariantClear(out);
    VariantCopy(out, const_cast<VARIANT*>(&value));
}

}  // namespace

TestPackage::TestPackage()
{
    phaseLabels = textArray({L"Vapor", L"Liquid"});
    statesOfAggregation = textArray({L"Vapor", L"Liquid"});
    keyCompoundIds = textArray({L"", L"water"});
    describePhase = [](const std::wstring& label) { return textValue((label + L" phase").c_str()); };
    compoundIds = textArray({L"water", L"methane", L"ethane"});
    formulae = textArray({L"H2O", L"CH4", L"C2H6"});
    compoundNames = textArray({L"Water", L"Methane", L"Ethane"});
    boilingPoints = doubleArray({373.15, 111.66, 184.55});
    molecularWeights = doubleArray({18.01528, 16.04, 30.07});
    casNumbers = textArray({L"7732-18-5", L"74-82-8", L"74-84-0"});
    constantProps = textArray({L"molecularWeight", L"criticalTemperature"});
    singlePhaseProps = textArray({L"enthalpy", L"density", L"fugacityCoefficient"});
    twoPhaseProps = textArray({L"kvalue", L"surfaceTension"});
}

HRESULT STDMETHODCALLTYPE TestPackage::QueryInterface(REFIID iid, void** out)
{
    *out = nullptr;
    auto answer = [&](const char* name, bool has, void* itf) -> HRESULT {
        if (auto failing = failingQueries.find(name); failing != failingQueries.end())
            return failing->second;
        if (!has)
            return E_NOINTERFACE;
        *out = itf;
        AddRef();
        return S_OK;
    };
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch))
        return answer("IUnknown", true, static_cast<ICapeThermoPhases*>(this));
    if (IsEqualIID(iid, IID_ICapeThermoPhases))
        return answer("ICapeThermoPhases", hasPhases, static_cast<ICapeThermoPhases*>(this));
    if (IsEqualIID(iid, IID_ICapeThermoCompounds))
        return answer("ICapeThermoCompounds", hasCompounds, static_cast<ICapeThermoCompounds*>(this));
    if (IsEqualIID(iid, IID_ICapeThermoPropertyRoutine))
        return answer("ICapeThermoPropertyRoutine", hasRoutine, static_cast<ICapeThermoPropertyRoutine*>(this));
    if (IsEqualIID(iid, IID_ICapeThermoPropertyPackage10))
        return answer("ICapeThermoPropertyPackage", hasPackage10, static_cast<ICapeThermoPhases*>(this));
    if (IsEqualIID(iid, IID_ICapeUtilities))
        return answer("ICapeUtilities", hasUtilities, static_cast<ICapeUtilities*>(this));
    if (IsEqualIID(iid, IID_ISupportErrorInfo))
        return answer("ISupportErrorInfo", supportsErrorInfo, static_cast<ISupportErrorInfo*>(this));
    return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE TestPackage::GetTypeInfoCount(UINT* count)
{
    *count = 0;
    return S_OK;
}

HRESULT TestPackage::enter(const std::string& call, const std::string& method, REFIID iid)
{
    calls.push_back(call);
    auto failing = failingCalls.find(method);
    if (failing == failingCalls.end())
        return S_OK;
    ComPtr<ICreateErrorInfo> creator;
    if (SUCCEEDED(CreateErrorInfo(creator.put()))) {
        creator->SetDescription(errorDescription.data());
        creator->SetSource(const_cast<wchar_t*>(L"TestPackage"));
        creator->SetGUID(iid);
        ComPtr<IErrorInfo> info;
        if (SUCCEEDED(creator->QueryInterface(IID_IErrorInfo, info.putVoid())))
            SetErrorInfo(0, info.get());
    }
    return failing->second;
}

HRESULT STDMETHODCALLTYPE TestPackage::GetNumPhases(LONG* num)
{
    if (HRESULT hr = enter("GetNumPhases", "GetNumPhases", IID_ICapeThermoPhases); FAILED(hr))
        return hr;
    *num = numPhases >= 0 ? numPhases : static_cast<LONG>(V_ARRAY(&phaseLabels)->rgsabound[0].cElements);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TestPackage::GetPhaseInfo(BSTR phaseLabel, BSTR phaseAttribute, VARIANT* value)
{
    const std::wstring label = phaseLabel ? phaseLabel : L"";
    const std::string call = "GetPhaseInfo " + toAnsi(label) + " " + toAnsi(phaseAttribute);
    if (HRESULT hr = enter(call, "GetPhaseInfo", IID_ICapeThermoPhases); FAILED(hr))
        return hr;
    VariantHolder answer = describePhase(label);
    VariantClear(value);
    *value = answer.detach();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TestPackage::GetPhaseList(VARIANT* labels, VARIANT* states, VARIANT* keys)
{
    if (HRESULT hr = enter("GetPhaseList", "GetPhaseList", IID_ICapeThermoPhases); FAILED(hr))
        return hr;
    giveCopy(labels, phaseLabels);
    giveCopy(states, statesOfAggregation);
    giveCopy(keys, keyCompoundIds);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TestPackage::GetCompoundList(VARIANT* ids, VARIANT* formulaeOut, VARIANT* names,
                                                       VARIANT* boilTemps, VARIANT* molwts, VARIANT* casnos)
{
    if (HRESULT hr = enter("GetCompoundList", "GetCompoundList", IID_ICapeThermoCompounds); FAILED(hr))
        return hr;
    giveCopy(ids, compoundIds);
    giveCopy(formulaeOut, formulae);
    giveCopy(names, compoundNames);
    giveCopy(boilTemps, boilingPoints);
    giveCopy(molwts, molecularWeights);
    giveCopy(casnos, casNumbers);
    return compoundListResult;
}

HRESULT STDMETHODCALLTYPE TestPackage::GetConstPropList(VARIANT* props)
{
    if (HRESULT hr = enter("GetConstPropList", "GetConstPropList", IID_ICapeThermoCompounds); FAILED(hr))
        return hr;
    giveCopy(props, constantProps);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TestPackage::GetSinglePhasePropList(VARIANT* props)
{
    if (HRESULT hr = enter("GetSinglePhasePropList", "GetSinglePhasePropList", IID_ICapeThermoPropertyRoutine);
        FAILED(hr))
        return hr;
    giveCopy(props, singlePhaseProps);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TestPackage::GetTwoPhasePropList(VARIANT* props)
{
    if (HRESULT hr = enter("GetTwoPhasePropList", "GetTwoPhasePropList", IID_ICapeThermoPropertyRoutine); FAILED(hr))
        return hr;
    giveCopy(props, twoPhaseProps);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TestPackage::Edit()
{
    ++editCalls;
    if (HRESULT hr = enter("Edit", "Edit", IID_ICapeUtilities); FAILED(hr))
        return hr;
    return editResult;
}

HRESULT STDMETHODCALLTYPE TestPackage::InterfaceSupportsErrorInfo(REFIID iid)
{
    const bool supported = IsEqualIID(iid, IID_ICapeThermoPhases) || IsEqualIID(iid, IID_ICapeThermoCompounds) ||
                           IsEqualIID(iid, IID_ICapeThermoPropertyRoutine) || IsEqualIID(iid, IID_ICapeUtilities);
    return supported ? S_OK : S_FALSE;
}

}  // namespace packagetest
