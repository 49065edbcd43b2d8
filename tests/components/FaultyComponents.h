#pragma once
#include <string>

#include "CapeOpen.h"
#include "ComObject.h"
#include "TestFault.h"
#include "ThermoPackage.h"

// The misbehaving components of TestComponents.dll (see TestFault.h for what each
// kind does). They are built from the samples' plumbing and property package, with
// the one fault switched on.
namespace testfault {

enum class PackageFault { None, EquilibriumOnly, WithoutMaterialContext, WithoutUtilities, InitializeFails };
enum class ListShape { Packages, Empty, NotArray, Variants };

// A unit operation with or without ICapeUnit. It calculates nothing.
class TestUnit : public sample::ObjectBase, public ICapeUnit, public ICapeUtilities, public ICapeIdentification {
public:
    explicit TestUnit(bool hasCapeUnit) : hasCapeUnit_(hasCapeUnit) {}
    void* findInterface(REFIID iid);

    STDMETHODIMP get_ports(IDispatch** ports) override;
    STDMETHODIMP get_ValStatus(CapeValidationStatus* status) override;
    STDMETHODIMP Calculate() override;
    STDMETHODIMP Validate(BSTR* message, VARIANT_BOOL* isValid) override;
    STDMETHODIMP get_parameters(IDispatch** parameters) override;
    STDMETHODIMP put_simulationContext(IDispatch* context) override;
    STDMETHODIMP Initialize() override { return S_OK; }
    STDMETHODIMP Terminate() override { return S_OK; }
    STDMETHODIMP Edit() override { return E_NOTIMPL; }
    STDMETHODIMP get_ComponentName(BSTR* name) override;
    STDMETHODIMP put_ComponentName(BSTR name) override;
    STDMETHODIMP get_ComponentDescription(BSTR* description) override;
    STDMETHODIMP put_ComponentDescription(BSTR description) override;

private:
    bool hasCapeUnit_;
    std::wstring name_ = L"Test unit";
    std::wstring description_;
};

struct ManagerBehaviour {
    bool hasManagerInterface = true;
    ListShape list = ListShape::Packages;
    bool returnsNoPackage = false;
    PackageFault packageFault = PackageFault::None;
};

class TestManager : public sample::ObjectBase,
                    public ICapeThermoPropertyPackageManager,
                    public ICapeUtilities,
                    public ICapeIdentification {
public:
    explicit TestManager(ManagerBehaviour behaviour) : behaviour_(behaviour) {}
    void* findInterface(REFIID iid);

    STDMETHODIMP GetPropertyPackageList(VARIANT* packageNames) override;
    STDMETHODIMP GetPropertyPackage(BSTR packageName, IDispatch** package) override;
    STDMETHODIMP get_parameters(IDispatch** parameters) override;
    STDMETHODIMP put_simulationContext(IDispatch* context) override;
    STDMETHODIMP Initialize() override { return S_OK; }
    STDMETHODIMP Terminate() override { return S_OK; }
    STDMETHODIMP Edit() override { return E_NOTIMPL; }
    STDMETHODIMP get_ComponentName(BSTR* name) override;
    STDMETHODIMP put_ComponentName(BSTR name) override;
    STDMETHODIMP get_ComponentDescription(BSTR* description) override;
    STDMETHODIMP put_ComponentDescription(BSTR description) override;

private:
    ManagerBehaviour behaviour_;
    std::wstring name_ = L"Test manager";
    std::wstring description_;
};

// The sample property package with one interface hidden or a failing Initialize.
class FaultyPackage : public sample::thermo::ThermoPackage {
public:
    FaultyPackage(PackageFault fault, std::wstring name);
    void* findInterface(REFIID iid);
    STDMETHODIMP Initialize() override;

private:
    PackageFault fault_;
};

// Creates a FaultyPackage (or, for PackageFault::None, a good one) named name.
HRESULT createPackage(PackageFault fault, const std::wstring& name, REFIID iid, void** out);

}  // namespace testfault
