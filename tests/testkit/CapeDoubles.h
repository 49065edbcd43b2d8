#pragma once
// The CAPE-OPEN components of the tests as COM doubles: a unit operation with every
// persistence interface, a 1.1 property package and a 1.1 Property Package Manager.
// Each records the calls it gets, answers every interface it is not told to refuse
// (ComDouble::refuse), and fails any call on demand, leaving an error object as
// components do. Also the array VARIANTs that components and hosts hand over.
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
#include "testkit/HostContainer.h"
#include "testkit/Misbehaviour.h"
#include "testkit/ServedClass.h"

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
// An array of zeroed elements (null texts), bounds in the platform's index order.
VariantHolder zeroedArray(VARTYPE vt, std::vector<SAFEARRAYBOUND> bounds);
VariantHolder variantArray(std::vector<VariantHolder> values);  // takes the values over
VariantHolder textValue(const wchar_t* text);
VariantHolder doubleValue(double value);
VariantHolder longValue(LONG value);

// ICapeUtilities and the record every CAPE-OPEN double keeps: its calls in order
// ("Initialize", "Save", "GetPhaseInfo Vapor UserDescription", ...). A method told to
// fail answers hr and leaves an error object with the description (source "TestDouble").
template <class... Interfaces>
class CapeDouble : public ComDouble<Interfaces..., ICapeUtilities> {
public:
    std::vector<std::string> calls;
    void failCall(const std::string& method, HRESULT hr, std::wstring description = L"The double cannot answer")
    {
        failing_[method] = {hr, std::move(description)};
    }
    // The method (the call's first word) goes wrong as m says, from now on.
    void misbehave(const std::string& method, Misbehaving m) { misbehaving_[method] = std::move(m); }
    HRESULT editResult = S_OK;  // a success code of Edit

    TESTKIT_NOT_IMPLEMENTED(get_parameters, IDispatch**) TESTKIT_NOT_IMPLEMENTED(put_simulationContext, IDispatch*)
    STDMETHODIMP Initialize() override { return enter("Initialize"); }
    STDMETHODIMP Terminate() override { return enter("Terminate"); }
    STDMETHODIMP Edit() override { return enter("Edit", editResult); }

protected:
    // Records the call (its method is its first word): a misbehaving one does so with
    // its out slots (misbehaved() tells), a failing one leaves its error object and
    // answers its code, another one answers success.
    HRESULT enter(const std::string& call, HRESULT success = S_OK, const std::vector<VARIANT*>& variants = {},
                  void** object = nullptr)
    {
        calls.push_back(call);
        const std::string method = call.substr(0, call.find(' '));
        misbehaved_ = false;
        if (const auto m = misbehaving_.find(method); m != misbehaving_.end())
            if (const auto answer = testkit::misbehave(m->second, variants, object))
                return misbehaved_ = true, *answer;
        const auto failing = failing_.find(method);
        if (failing == failing_.end())
            return success;
        leaveErrorObject(failing->second.second);
        return failing->second.first;
    }

    bool misbehaved() const { return misbehaved_; }

private:
    std::map<std::string, std::pair<HRESULT, std::wstring>> failing_;
    std::map<std::string, Misbehaving> misbehaving_;
    bool misbehaved_ = false;
};

// A unit operation that calculates nothing. Save writes `bytes` (into the stream, or
// into a stream "Own" of the storage), even when it then fails, Load reads what is
// there into `loaded`; InitNew, Load and Save answer `result` when they do not fail.
class UnitDouble : public CapeDouble<ICapeUnit, IPersistStorage, IPersistStream, IPersistStreamInit> {
public:
    explicit UnitDouble(std::string bytes = "component data") : bytes(std::move(bytes)) {}
    std::string bytes, loaded;
    HRESULT result = S_OK;
    ComPtr<IStream> keptStream;  // Save keeps its stream here when told to (keepsStream)
    bool keepsStream = false;

    TESTKIT_NOT_IMPLEMENTED(get_ports, IDispatch**) TESTKIT_NOT_IMPLEMENTED(get_ValStatus, CapeValidationStatus*)
    TESTKIT_NOT_IMPLEMENTED(Calculate) TESTKIT_NOT_IMPLEMENTED(Validate, BSTR*, VARIANT_BOOL*)
    TESTKIT_NOT_IMPLEMENTED(GetClassID, CLSID*) TESTKIT_NOT_IMPLEMENTED(GetSizeMax, ULARGE_INTEGER*)
    STDMETHODIMP IsDirty() override { return S_OK; }
    STDMETHODIMP HandsOffStorage() override { return S_OK; }
    STDMETHODIMP InitNew(IStorage*) override { return enter("InitNew", result); }
    STDMETHODIMP InitNew() override { return enter("InitNew", result); }
    STDMETHODIMP Load(IStorage* storage) override { return Load(stream(storage, STGM_READ).get()); }
    STDMETHODIMP Load(IStream* stream) override { return loaded = contentOf(stream), enter("Load", result); }
    STDMETHODIMP Save(IStorage* storage, BOOL) override { return save(stream(storage, STGM_CREATE).get()); }
    STDMETHODIMP Save(IStream* stream, BOOL) override { return save(stream); }
    STDMETHODIMP SaveCompleted(IStorage*) override { return enter("SaveCompleted"); }

private:
    // The storage's stream "Own", opened to read or (STGM_CREATE) made to write.
    static ComPtr<IStream> stream(IStorage* storage, DWORD mode);
    HRESULT save(IStream* stream);
};

// A 1.1 property package: two phases (Vapor, Liquid; key compounds "" and water,
// described "<label> phase"), three compounds (water H2O 18.01528 373.15 7732-18-5,
// methane CH4 16.04 111.66 74-82-8, ethane C2H6 30.07 184.55 74-84-0), constants
// molecularWeight and criticalTemperature, single-phase enthalpy, density,
// fugacityCoefficient and two-phase kvalue, surfaceTension. It calculates nothing, and
// vouches for the error objects of all its interfaces.
class PackageDouble
    : public CapeDouble<ICapeThermoPhases, ICapeThermoCompounds, ICapeThermoPropertyRoutine,
                        ICapeThermoEquilibriumRoutine, ICapeThermoMaterialContext, ICapeThermoPropertyPackage10,
                        ISupportErrorInfo> {
public:
    // What the package answers.
    long numPhases = -1;  // -1: as many as there are labels
    VariantHolder phaseLabels = textArray({L"Vapor", L"Liquid"}), statesOfAggregation = textArray({L"Vapor", L"Liquid"}),
                  keyCompoundIds = textArray({L"", L"water"});
    std::function<VariantHolder(const std::wstring& label)> describePhase = [](const std::wstring& label) {
        return textValue((label + L" phase").c_str());
    };
    VariantHolder compoundIds = textArray({L"water", L"methane", L"ethane"}),
                  formulae = textArray({L"H2O", L"CH4", L"C2H6"}),
                  compoundNames = textArray({L"Water", L"Methane", L"Ethane"}),
                  boilingPoints = doubleArray({373.15, 111.66, 184.55}),
                  molecularWeights = doubleArray({18.01528, 16.04, 30.07}),
                  casNumbers = textArray({L"7732-18-5", L"74-82-8", L"74-84-0"});
    HRESULT compoundListResult = S_OK;  // a success code of GetCompoundList
    VariantHolder constantProps = textArray({L"molecularWeight", L"criticalTemperature"}),
                  singlePhaseProps = textArray({L"enthalpy", L"density", L"fugacityCoefficient"}),
                  twoPhaseProps = textArray({L"kvalue", L"surfaceTension"});

    STDMETHODIMP GetNumPhases(LONG* num) override;
    STDMETHODIMP GetPhaseInfo(BSTR phaseLabel, BSTR phaseAttribute, VARIANT* value) override;
    STDMETHODIMP GetPhaseList(VARIANT* labels, VARIANT* states, VARIANT* keys) override
    {
        return handOut("GetPhaseList", {{labels, &phaseLabels}, {states, &statesOfAggregation}, {keys, &keyCompoundIds}});
    }
    STDMETHODIMP GetCompoundList(VARIANT* ids, VARIANT* formulaeOut, VARIANT* names, VARIANT* boilTemps,
                                 VARIANT* molwts, VARIANT* casnos) override
    {
        return handOut("GetCompoundList", {{ids, &compoundIds}, {formulaeOut, &formulae}, {names, &compoundNames},
                                           {boilTemps, &boilingPoints}, {molwts, &molecularWeights},
                                           {casnos, &casNumbers}},
                       compoundListResult);
    }
    STDMETHODIMP GetConstPropList(VARIANT* props) override { return handOut("GetConstPropList", {{props, &constantProps}}); }
    STDMETHODIMP GetSinglePhasePropList(VARIANT* props) override
    {
        return handOut("GetSinglePhasePropList", {{props, &singlePhaseProps}});
    }
    STDMETHODIMP GetTwoPhasePropList(VARIANT* props) override
    {
        return handOut("GetTwoPhasePropList", {{props, &twoPhaseProps}});
    }
    STDMETHODIMP SetMaterial(IDispatch*) override { return S_OK; }
    STDMETHODIMP UnsetMaterial() override { return S_OK; }
    STDMETHODIMP InterfaceSupportsErrorInfo(REFIID) override { return S_OK; }
    TESTKIT_NOT_IMPLEMENTED(GetCompoundConstant, VARIANT, VARIANT, VARIANT*)
    TESTKIT_NOT_IMPLEMENTED(GetNumCompounds, LONG*) TESTKIT_NOT_IMPLEMENTED(GetPDependentPropList, VARIANT*)
    TESTKIT_NOT_IMPLEMENTED(GetPDependentProperty, VARIANT, double, VARIANT, VARIANT*)
    TESTKIT_NOT_IMPLEMENTED(GetTDependentProperty, VARIANT, double, VARIANT, VARIANT*)
    TESTKIT_NOT_IMPLEMENTED(GetTDependentPropList, VARIANT*) TESTKIT_NOT_IMPLEMENTED(CalcSinglePhaseProp, VARIANT, BSTR)
    TESTKIT_NOT_IMPLEMENTED(CalcAndGetLnPhi, BSTR, double, double, VARIANT, int, VARIANT*, VARIANT*, VARIANT*, VARIANT*)
    TESTKIT_NOT_IMPLEMENTED(CalcTwoPhaseProp, VARIANT, VARIANT) TESTKIT_NOT_IMPLEMENTED(CalcEquilibrium, VARIANT, VARIANT, BSTR)
    TESTKIT_NOT_IMPLEMENTED(CheckSinglePhasePropSpec, BSTR, BSTR, VARIANT_BOOL*)
    TESTKIT_NOT_IMPLEMENTED(CheckTwoPhasePropSpec, BSTR, VARIANT, VARIANT_BOOL*)
    TESTKIT_NOT_IMPLEMENTED(CheckEquilibriumSpec, VARIANT, VARIANT, BSTR, VARIANT_BOOL*)

private:
    // Records the call and, unless it fails, gives each out VARIANT a copy of its
    // answer and answers success.
    HRESULT handOut(const std::string& call, std::initializer_list<std::pair<VARIANT*, const VARIANT*>> answers,
                    HRESULT success = S_OK);
};

// A 1.1 Property Package Manager whose list, `list`, holds the names (an array of
// BSTR; a test may put another answer there) and comes with listResult; managerQuery
// answers the question for its interface. GetPropertyPackage hands out a new
// PackageDouble, set up by preparePackage, for a listed name (S_OK and no package when
// handsOutNothing); another name fails with E_INVALIDARG and an error object.
class ManagerDouble : public CapeDouble<ICapeThermoPropertyPackageManager> {
public:
    explicit ManagerDouble(std::vector<std::wstring> names = {L"Only Package"}, HRESULT managerQuery = S_OK,
                           HRESULT listResult = S_OK);
    VariantHolder list;
    HRESULT listResult;
    std::function<void(PackageDouble&)> preparePackage;
    bool handsOutNothing = false;

    STDMETHODIMP GetPropertyPackageList(VARIANT* names) override;
    STDMETHODIMP GetPropertyPackage(BSTR name, IDispatch** package) override;

private:
    std::vector<std::wstring> names_;
};

}  // namespace testkit
