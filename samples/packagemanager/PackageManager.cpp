#include "PackageManager.h"

#include "CapeErrors.h"
#include "ManagerPackages.h"
#include "VariantArrays.h"

namespace oskvale {
namespace {

std::wstring textOf(BSTR value) { return value ? std::wstring(value, SysStringLen(value)) : std::wstring(); }

HRESULT copyOut(const std::wstring& text, BSTR* out)
{
    if (!out)
        return E_POINTER;
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

const wchar_t packageSource[] = L"ICapeThermoPropertyPackageManager::GetPropertyPackage";

}  // namespace

PackageManager::PackageManager()
    : name_(L"Oskvale Property Package Manager"), description_(L"Offers the Oskvale sample property packages.")
{
}

PackageManager::~PackageManager() { put_simulationContext(nullptr); }

STDMETHODIMP PackageManager::GetPropertyPackageList(VARIANT* packageNames)
{
    if (!packageNames)
        return E_POINTER;
    return sample::guarded(L"ICapeThermoPropertyPackageManager::GetPropertyPackageList",
                           IID_ICapeThermoPropertyPackageManager, [&] {
                               std::vector<std::wstring> names;
                               for (const OfferedPackage& package : offeredPackages())
                                   names.push_back(package.definition.name);
                               sample::Variant result;
                               HRESULT hr = sample::makeStringArray(names, result);
                               if (SUCCEEDED(hr))
                                   result.moveToOut(packageNames);
                               return hr;
                           });
}

STDMETHODIMP PackageManager::GetPropertyPackage(BSTR packageName, IDispatch** package)
{
    if (!package)
        return E_POINTER;
    *package = nullptr;
    return sample::guarded(packageSource, IID_ICapeThermoPropertyPackageManager, [&] {
        const std::wstring wanted = textOf(packageName);
        for (const OfferedPackage& offered : offeredPackages())
            if (offered.definition.name == wanted)
                return sample::createObject<sample::thermo::ThermoPackage>(
                    IID_IDispatch, reinterpret_cast<void**>(package), offered.definition);
        return sample::raiseError(sample::ECapeInvalidArgumentHR,
                                  L"This manager offers no property package named '" + wanted + L"'.", packageSource,
                                  IID_ICapeThermoPropertyPackageManager);
    });
}

STDMETHODIMP PackageManager::get_parameters(IDispatch** parameters)
{
    if (!parameters)
        return E_POINTER;
    *parameters = nullptr;
    return sample::raiseError(sample::ECapeNoImplHR, L"This sample manager has no parameters.",
                              L"ICapeUtilities::parameters", IID_ICapeUtilities);
}

STDMETHODIMP PackageManager::put_simulationContext(IDispatch* context)
{
    simulationContext_.assign(context);
    return S_OK;
}

STDMETHODIMP PackageManager::Initialize() { return S_OK; }
STDMETHODIMP PackageManager::Terminate() { return put_simulationContext(nullptr); }

STDMETHODIMP PackageManager::Edit()
{
    return sample::raiseError(sample::ECapeNoImplHR, L"This sample manager has no editor.", L"ICapeUtilities::Edit",
                              IID_ICapeUtilities);
}

STDMETHODIMP PackageManager::get_ComponentName(BSTR* name)
{
    return sample::guarded(L"ICapeIdentification::ComponentName", IID_ICapeIdentification,
                           [&] { return copyOut(name_, name); });
}

STDMETHODIMP PackageManager::put_ComponentName(BSTR name)
{
    return sample::guarded(L"ICapeIdentification::ComponentName", IID_ICapeIdentification, [&] {
        name_ = textOf(name);
        return S_OK;
    });
}

STDMETHODIMP PackageManager::get_ComponentDescription(BSTR* description)
{
    return sample::guarded(L"ICapeIdentification::ComponentDescription", IID_ICapeIdentification,
                           [&] { return copyOut(description_, description); });
}

STDMETHODIMP PackageManager::put_ComponentDescription(BSTR description)
{
    return sample::guarded(L"ICapeIdentification::ComponentDescription", IID_ICapeIdentification, [&] {
        description_ = textOf(description);
        return S_OK;
    });
}

STDMETHODIMP PackageManager::InterfaceSupportsErrorInfo(REFIID iid) { return findInterface(iid) ? S_OK : S_FALSE; }

}  // namespace oskvale
