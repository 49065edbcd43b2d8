#pragma once
// A CAPE-OPEN 1.1 property package as a real COM object, for the gathering and the
// dialog: it records every call it gets, answers only the interfaces it is told to,
// and fails any call on demand, leaving an error object as packages do.
#include <windows.h>
#include <oaidl.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "CapeOpen.h"
#include "support/VariantHolder.h"

namespace packagetest {

class TestPackage : public ICapeThermoPhases,
                    public ICapeThermoCompounds,
                    public ICapeThermoPropertyRoutine,
                    public ICapeUtilities,
                    public ISupportErrorInfo {
public:
    // Two phases (Vapor, Liquid) and three compounds (water, methane, ethane).
    TestPackage();

    ULONG references = 1;  // the test's own
    IUnknown* unknown() { return static_cast<ICapeThermoPhases*>(this); }
    IDispatch* dispatch() { return static_cast<ICapeThermoPhases*>(this); }

    // What the package answers to.
    bool hasPhases = true;
    bool hasCompounds = true;
    bool hasRoutine = true;
    bool hasPackage10 = true;  // the CAPE-OPEN 1.0 property package interface
    bool hasUtilities = true;
    bool supportsErrorInfo = true;
    // Interface name ("ICapeThermoCompounds", ...) -> the failure its query gives.
    std::map<std::string, HRESULT> failingQueries;

    // Calls in the order they came: "GetNumPhases", "GetPhaseInfo Vapor UserDescription", ...
    std::vector<std::string> calls;
    // Method name -> failure code; the failing call leaves an error object with
    // errorDescription and the source "TestPackage".
    std::map<std::string, HRESULT> failingCalls;
    std::wstring errorDescription = L"The package cannot answer";

    // The data the package gives.
    long numPhases = -1;  // -1: as many as there are labels
    VariantHolder phaseLabels, statesOfAggregation, keyCompoundIds;
    // The GetPhaseInfo answer for a label; the default describes it as "<label> phase".
    std::function<VariantHolder(const std::wstring& label)> describePhase;
    VariantHolder compoundIds, formulae, compoundNames, boilingPoints, molecularWeights, casNumbers;
    HRESULT compoundListResult = S_OK;  // a success code GetCompoundList returns
    VariantHolder constantProps, singlePhaseProps, twoPhaseProps;

    int editCalls = 0;
    HRESULT editResult = S_OK;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }

    // IDispatch (vtable calls only)
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

    // ICapeThermoPhases
    HRESULT STDMETHODCALLTYPE GetNumPhases(LONG* num) override;
    HRESULT STDMETHODCALLTYPE GetPhaseInfo(BSTR phaseLabel, BSTR phaseAttribute, VARIANT* value) override;
    HRESULT STDMETHODCALLTYPE GetPhaseList(VARIANT* labels, VARIANT* states, VARIANT* keys) override;

    // ICapeThermoCompounds
    HRESULT STDMETHODCALLTYPE GetCompoundConstant(VARIANT, VARIANT, VARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCompoundList(VARIANT* ids, VARIANT* formulae, VARIANT* names, VARIANT* boilTemps,
                                              VARIANT* molwts, VARIANT* casnos) override;
    HRESULT STDMETHODCALLTYPE GetConstPropList(VARIANT* props) override;
    HRESULT STDMETHODCALLTYPE GetNumCompounds(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPDependentProperty(VARIANT, double, VARIANT, VARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPDependentPropList(VARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTDependentProperty(VARIANT, double, VARIANT, VARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTDependentPropList(VARIANT*) override { return E_NOTIMPL; }

    // ICapeThermoPropertyRoutine
    HRESULT STDMETHODCALLTYPE CalcAndGetLnPhi(BSTR, double, double, VARIANT, int, VARIANT*, VARIANT*, VARIANT*,
                                              VARIANT*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE CalcSinglePhaseProp(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CalcTwoPhaseProp(VARIANT, VARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CheckSinglePhasePropSpec(BSTR, BSTR, VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CheckTwoPhasePropSpec(BSTR, VARIANT, VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSinglePhasePropList(VARIANT* props) override;
    HRESULT STDMETHODCALLTYPE GetTwoPhasePropList(VARIANT* props) override;

    // ICapeUtilities
    HRESULT STDMETHODCALLTYPE get_parameters(IDispatch**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_simulationContext(IDispatch*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Initialize() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Terminate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Edit() override;

    // ISupportErrorInfo
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override;

private:
    // Records the call; a failing one leaves its error object and gives its code.
    HRESULT enter(const std::string& call, const std::string& method, REFIID iid);
};

}  // namespace packagetest
