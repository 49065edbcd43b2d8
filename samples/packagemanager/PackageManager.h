#pragma once
#include <string>

#include "CapeOpen.h"
#include "ComObject.h"
#include "ComRef.h"

// The Oskvale sample CAPE-OPEN 1.1 Property Package Manager. GetPropertyPackageList
// returns the names of offeredPackages() as a VARIANT holding a SAFEARRAY of BSTR;
// GetPropertyPackage(name) creates a new package of that name (names match exactly)
// and fails with ECapeInvalidArgumentHR for any other name. The list needs no
// Initialize first: catalogues ask managers for it without initialising them.
namespace oskvale {

class PackageManager : public sample::ObjectBase,
                       public ICapeThermoPropertyPackageManager,
                       public ICapeUtilities,
                       public ICapeIdentification,
                       public ISupportErrorInfo {
public:
    PackageManager();
    ~PackageManager() override;

    void* findInterface(REFIID iid)
    {
        return sample::lookupInterface<ICapeThermoPropertyPackageManager, ICapeUtilities, ICapeIdentification,
                                       ISupportErrorInfo>(this, iid);
    }

    // ICapeThermoPropertyPackageManager
    STDMETHODIMP GetPropertyPackageList(VARIANT* packageNames) override;
    STDMETHODIMP GetPropertyPackage(BSTR packageName, IDispatch** package) override;
    // ICapeUtilities
    STDMETHODIMP get_parameters(IDispatch** parameters) override;
    STDMETHODIMP put_simulationContext(IDispatch* context) override;
    STDMETHODIMP Initialize() override;
    STDMETHODIMP Terminate() override;
    STDMETHODIMP Edit() override;
    // ICapeIdentification
    STDMETHODIMP get_ComponentName(BSTR* name) override;
    STDMETHODIMP put_ComponentName(BSTR name) override;
    STDMETHODIMP get_ComponentDescription(BSTR* description) override;
    STDMETHODIMP put_ComponentDescription(BSTR description) override;
    // ISupportErrorInfo
    STDMETHODIMP InterfaceSupportsErrorInfo(REFIID iid) override;

private:
    std::wstring name_;
    std::wstring description_;
    sample::ComRef<IDispatch> simulationContext_;
};

}  // namespace oskvale
