#pragma once
#include <string>
#include <vector>

#include "CapeOpen.h"
#include "ComObject.h"
#include "ComRef.h"
#include "CompoundData.h"

// A CAPE-OPEN 1.1 property package of the samples. It describes its compounds
// (ICapeThermoCompounds), its three phases Vapor, Liquid and Liquid2
// (ICapeThermoPhases) and the properties it models (ICapeThermoPropertyRoutine),
// accepts a material (ICapeThermoMaterialContext) and persists its name and
// description (IPersistStream). It does not calculate: Calc* and CalcEquilibrium
// fail with ECapeBadInvOrderHR without a material and ECapeNoImplHR with one, and
// the Check*Spec methods answer VARIANT_FALSE accordingly.
//
// Persisted record (StreamIO.h encoding): u32 magic 0x4B505053 (the bytes "SPPK"),
// u32 format 1, text name, text description.
namespace sample::thermo {

struct PackageDefinition {
    std::wstring name;
    std::wstring description;
    std::vector<std::wstring> compoundIds;  // identifiers of compoundTable(), in package order
    CLSID persistClass;                     // what IPersist::GetClassID reports
};

class ThermoPackage : public ObjectBase,
                      public ICapeIdentification,
                      public ICapeUtilities,
                      public ICapeThermoPropertyRoutine,
                      public ICapeThermoEquilibriumRoutine,
                      public ICapeThermoMaterialContext,
                      public ICapeThermoCompounds,
                      public ICapeThermoPhases,
                      public ISupportErrorInfo,
                      public IPersistStream {
public:
    explicit ThermoPackage(PackageDefinition definition);
    ~ThermoPackage() override;

    void* findInterface(REFIID iid)
    {
        if (iid == IID_IPersist)
            return static_cast<IPersistStream*>(this);
        return lookupInterface<ICapeIdentification, ICapeUtilities, ICapeThermoPropertyRoutine,
                               ICapeThermoEquilibriumRoutine, ICapeThermoMaterialContext, ICapeThermoCompounds,
                               ICapeThermoPhases, ISupportErrorInfo, IPersistStream>(this, iid);
    }

    // ICapeIdentification
    STDMETHODIMP get_ComponentName(BSTR* name) override;
    STDMETHODIMP put_ComponentName(BSTR name) override;
    STDMETHODIMP get_ComponentDescription(BSTR* description) override;
    STDMETHODIMP put_ComponentDescription(BSTR description) override;
    // ICapeUtilities
    STDMETHODIMP get_parameters(IDispatch** parameters) override;
    STDMETHODIMP put_simulationContext(IDispatch* context) override;
    STDMETHODIMP Initialize() override;
    STDMETHODIMP Terminate() override;
    STDMETHODIMP Edit() override;
    // ICapeThermoPropertyRoutine
    STDMETHODIMP CalcAndGetLnPhi(BSTR phaseLabel, double temperature, double pressure, VARIANT moleNumbers, int flags,
                                 VARIANT* lnPhi, VARIANT* lnPhiDT, VARIANT* lnPhiDP, VARIANT* lnPhiDn) override;
    STDMETHODIMP CalcSinglePhaseProp(VARIANT props, BSTR phaseLabel) override;
    STDMETHODIMP CalcTwoPhaseProp(VARIANT props, VARIANT phaseLabels) override;
    STDMETHODIMP CheckSinglePhasePropSpec(BSTR property, BSTR phaseLabel, VARIANT_BOOL* valid) override;
    STDMETHODIMP CheckTwoPhasePropSpec(BSTR property, VARIANT phaseLabels, VARIANT_BOOL* valid) override;
    STDMETHODIMP GetSinglePhasePropList(VARIANT* props) override;
    STDMETHODIMP GetTwoPhasePropList(VARIANT* props) override;
    // ICapeThermoEquilibriumRoutine
    STDMETHODIMP CalcEquilibrium(VARIANT condition1, VARIANT condition2, BSTR solutionType) override;
    STDMETHODIMP CheckEquilibriumSpec(VARIANT condition1, VARIANT condition2, BSTR solutionType,
                                      VARIANT_BOOL* isSupported) override;
    // ICapeThermoMaterialContext
    STDMETHODIMP SetMaterial(IDispatch* material) override;
    STDMETHODIMP UnsetMaterial() override;
    // ICapeThermoCompounds (PackageCompounds.cpp)
    STDMETHODIMP GetCompoundConstant(VARIANT props, VARIANT compIds, VARIANT* propVals) override;
    STDMETHODIMP GetCompoundList(VARIANT* compIds, VARIANT* formulae, VARIANT* names, VARIANT* boilTemps,
                                 VARIANT* molwts, VARIANT* casnos) override;
    STDMETHODIMP GetConstPropList(VARIANT* props) override;
    STDMETHODIMP GetNumCompounds(long* num) override;
    STDMETHODIMP GetPDependentProperty(VARIANT props, double pressure, VARIANT compIds, VARIANT* propVals) override;
    STDMETHODIMP GetPDependentPropList(VARIANT* props) override;
    STDMETHODIMP GetTDependentProperty(VARIANT props, double temperature, VARIANT compIds, VARIANT* propVals) override;
    STDMETHODIMP GetTDependentPropList(VARIANT* props) override;
    // ICapeThermoPhases (PackagePhases.cpp)
    STDMETHODIMP GetNumPhases(long* num) override;
    STDMETHODIMP GetPhaseInfo(BSTR phaseLabel, BSTR phaseAttribute, VARIANT* value) override;
    STDMETHODIMP GetPhaseList(VARIANT* phaseLabels, VARIANT* stateOfAggregation, VARIANT* keyCompoundId) override;
    // ISupportErrorInfo
    STDMETHODIMP InterfaceSupportsErrorInfo(REFIID iid) override;
    // IPersistStream
    STDMETHODIMP GetClassID(CLSID* clsid) override;
    STDMETHODIMP IsDirty() override;
    STDMETHODIMP Load(IStream* stream) override;
    STDMETHODIMP Save(IStream* stream, BOOL clearDirty) override;
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER* size) override;

    // The property names of the lists, as the standard spells them.
    static const std::vector<std::wstring>& constantProperties();
    static const std::vector<std::wstring>& singlePhaseProperties();
    static const std::vector<std::wstring>& twoPhaseProperties();

private:
    struct Phase {
        std::wstring label;
        std::wstring stateOfAggregation;
        std::wstring keyCompoundId;  // empty: none
        std::wstring userDescription;
    };
    const Phase* findPhase(const std::wstring& label) const;
    std::vector<const Compound*> compounds() const;
    HRESULT notCalculated(const wchar_t* source, REFIID iid) const;

    const PackageDefinition definition_;
    std::vector<Phase> phases_;
    std::wstring name_;
    std::wstring description_;
    sample::ComRef<IDispatch> material_;
    sample::ComRef<IDispatch> simulationContext_;
    bool dirty_ = false;
};

}  // namespace sample::thermo
