#pragma once
// A CAPE-OPEN 1.1 property package as a COM double: it records every call it gets,
// answers only the interfaces it is told to, and fails any call on demand, leaving an
// error object as packages do. Also the array VARIANTs packages and hosts hand over.
#include <windows.h>
#include <oleauto.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "CapeOpen.h"
#include "support/VariantHolder.h"
#include "testkit/ComDouble.h"

// The CAPE-OPEN 1.0 property package interface: the double only hands it out (hosts
// keep it as a reference to the package), nobody calls it.
MIDL_INTERFACE("678c0996-7d66-11d2-a67d-00105a42887f")
ICapeThermoPropertyPackage10 : public IDispatch {};
__CRT_UUID_DECL(ICapeThermoPropertyPackage10, 0x678c0996, 0x7d66, 0x11d2, 0xa6, 0x7d, 0x00, 0x10, 0x5a, 0x42, 0x88,
                0x7f)

namespace testkit {

// One-dimensional arrays (lower bound 0 unless given) and single values.
VariantHolder textArray(const std::vector<std::wstring>& texts, long lowerBound = 0);
VariantHolder doubleArray(const std::vector<double>& values);
VariantHolder longArray(const std::vector<LONG>& values);
VariantHolder variantArray(std::vector<VariantHolder> values);  // takes the values over
VariantHolder textValue(const wchar_t* text);
VariantHolder doubleValue(double value);
VariantHolder longValue(LONG value);

class PackageDouble
    : public ComDouble<ICapeThermoPhases, ICapeThermoCompounds, ICapeThermoPropertyRoutine, ICapeUtilities,
                       ICapeThermoPropertyPackage10, ISupportErrorInfo> {
public:
    // Two phases (Vapor, Liquid; key compounds "" and water, described "<label> phase"),
    // three compounds (water H2O 18.01528 373.15 7732-18-5, methane CH4 16.04 111.66
    // 74-82-8, ethane C2H6 30.07 184.55 74-84-0), constants molecularWeight and
    // criticalTemperature, single-phase enthalpy, density, fugacityCoefficient and
    // two-phase kvalue, surfaceTension.
    PackageDouble();

    IUnknown* unknown() { return static_cast<ICapeThermoPhases*>(this); }
    IDispatch* dispatch() { return static_cast<ICapeThermoPhases*>(this); }

    // The question for iid answers hr (E_NOINTERFACE: the package has no such interface).
    void refuse(REFIID iid, HRESULT hr = E_NOINTERFACE) { refused_.emplace_back(iid, hr); }
    void answerAll() { refused_.clear(); }
    // The method ("GetCompoundList", "Edit", ...) fails with hr and leaves an error
    // object with this description and the source "PackageDouble".
    void failCall(const std::string& method, HRESULT hr, std::wstring description = L"The package cannot answer")
    {
        failing_[method] = {hr, std::move(description)};
    }
    void succeedCalls() { failing_.clear(); }

    // Calls in the order they came: "GetNumPhases", "GetPhaseInfo Vapor UserDescription", ...
    std::vector<std::string> calls;

    // What the package answers.
    long numPhases = -1;  // -1: as many as there are labels
    VariantHolder phaseLabels, statesOfAggregation, keyCompoundIds;
    std::function<VariantHolder(const std::wstring& label)> describePhase;  // GetPhaseInfo's value
    VariantHolder compoundIds, formulae, compoundNames, boilingPoints, molecularWeights, casNumbers;
    HRESULT compoundListResult = S_OK;  // a success code of GetCompoundList
    VariantHolder constantProps, singlePhaseProps, twoPhaseProps;
    HRESULT editResult = S_OK;  // a success code of Edit

    // ICapeThermoPhases
    STDMETHODIMP GetNumPhases(LONG* num) override;
    STDMETHODIMP GetPhaseInfo(BSTR phaseLabel, BSTR phaseAttribute, VARIANT* value) override;
    STDMETHODIMP GetPhaseList(VARIANT* labels, VARIANT* states, VARIANT* keys) override;

    // ICapeThermoCompounds
    STDMETHODIMP GetCompoundConstant(VARIANT, VARIANT, VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetCompoundList(VARIANT* ids, VARIANT* formulae, VARIANT* names, VARIANT* boilTemps,
                                 VARIANT* molwts, VARIANT* casnos) override;
    STDMETHODIMP GetConstPropList(VARIANT* props) override;
    STDMETHODIMP GetNumCompounds(LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP GetPDependentProperty(VARIANT, double, VARIANT, VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetPDependentPropList(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTDependentProperty(VARIANT, double, VARIANT, VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTDependentPropList(VARIANT*) override { return E_NOTIMPL; }

    // ICapeThermoPropertyRoutine
    STDMETHODIMP CalcAndGetLnPhi(BSTR, double, double, VARIANT, int, VARIANT*, VARIANT*, VARIANT*,
                                 VARIANT*) override
    {
        return E_NOTIMPL;
    }
    STDMETHODIMP CalcSinglePhaseProp(VARIANT, BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP CalcTwoPhaseProp(VARIANT, VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP CheckSinglePhasePropSpec(BSTR, BSTR, VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP CheckTwoPhasePropSpec(BSTR, VARIANT, VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP GetSinglePhasePropList(VARIANT* props) override;
    STDMETHODIMP GetTwoPhasePropList(VARIANT* props) override;

    // ICapeUtilities
    STDMETHODIMP get_parameters(IDispatch**) override { return E_NOTIMPL; }
    STDMETHODIMP put_simulationContext(IDispatch*) override { return E_NOTIMPL; }
    STDMETHODIMP Initialize() override { return enter("Initialize", "Initialize"); }
    STDMETHODIMP Terminate() override { return enter("Terminate", "Terminate"); }
    STDMETHODIMP Edit() override;

    // ISupportErrorInfo: for the CAPE-OPEN interfaces above.
    STDMETHODIMP InterfaceSupportsErrorInfo(REFIID iid) override;

protected:
    HRESULT refusal(REFIID iid) override;

private:
    // Records the call; a failing one leaves its error object and gives its code.
    HRESULT enter(const std::string& call, const std::string& method);

    std::vector<std::pair<IID, HRESULT>> refused_;
    std::map<std::string, std::pair<HRESULT, std::wstring>> failing_;
};

}  // namespace testkit
