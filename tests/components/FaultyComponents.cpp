#include "FaultyComponents.h"

#include "CapeErrors.h"
#include "VariantArrays.h"

namespace testfault {
namespace {

constexpr CLSID packageClass = {0x9516EFF9, 0x1BE8, 0x438D, {0x9C, 0x32, 0x5E, 0x70, 0xE5, 0xE8, 0x29, 0xD3}};

HRESULT copyOut(const std::wstring& text, BSTR* out)
{
    if (!out)
        return E_POINTER;
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

std::wstring textOf(BSTR value) { return value ? std::wstring(value, SysStringLen(value)) : std::wstring(); }

}  // namespace

// TestUnit

void* TestUnit::findInterface(REFIID iid)
{
    if (!hasCapeUnit_ && iid == IID_ICapeUnit)
        return nullptr;
    if (!hasCapeUnit_)  // identity and IDispatch then come from ICapeUtilities
        return sample::lookupInterface<ICapeUtilities, ICapeIdentification>(this, iid);
    return sample::lookupInterface<ICapeUnit, ICapeUtilities, ICapeIdentification>(this, iid);
}

STDMETHODIMP TestUnit::get_ports(IDispatch** ports)
{
    if (!ports)
        return E_POINTER;
    *ports = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP TestUnit::get_ValStatus(CapeValidationStatus* status)
{
    if (!status)
        return E_POINTER;
    *status = CAPE_VALID;
    return S_OK;
}

STDMETHODIMP TestUnit::Calculate() { return E_NOTIMPL; }

STDMETHODIMP TestUnit::Validate(BSTR* message, VARIANT_BOOL* isValid)
{
    if (!message || !isValid)
        return E_POINTER;
    *isValid = VARIANT_TRUE;
    return S_OK;
}

STDMETHODIMP TestUnit::get_parameters(IDispatch** parameters)
{
    if (!parameters)
        return E_POINTER;
    *parameters = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP TestUnit::put_simulationContext(IDispatch*) { return S_OK; }
STDMETHODIMP TestUnit::get_ComponentName(BSTR* name) { return copyOut(name_, name); }
STDMETHODIMP TestUnit::get_ComponentDescription(BSTR* description) { return copyOut(description_, description); }

STDMETHODIMP TestUnit::put_ComponentName(BSTR name)
{
    return sample::guarded(L"TestUnit", IID_ICapeIdentification, [&] {
        name_ = textOf(name);
        return S_OK;
    });
}

STDMETHODIMP TestUnit::put_ComponentDescription(BSTR description)
{
    return sample::guarded(L"TestUnit", IID_ICapeIdentification, [&] {
        description_ = textOf(description);
        return S_OK;
    });
}

// TestManager

void* TestManager::findInterface(REFIID iid)
{
    if (!behaviour_.hasManagerInterface)
        return sample::lookupInterface<ICapeUtilities, ICapeIdentification>(this, iid);
    return sample::lookupInterface<ICapeThermoPropertyPackageManager, ICapeUtilities, ICapeIdentification>(this, iid);
}

STDMETHODIMP TestManager::GetPropertyPackageList(VARIANT* packageNames)
{
    if (!packageNames)
        return E_POINTER;
    return sample::guarded(L"TestManager", IID_ICapeThermoPropertyPackageManager, [&] {
        sample::Variant result;
        HRESULT hr = S_OK;
        switch (behaviour_.list) {
        case ListShape::Packages:
            hr = sample::makeStringArray({L"Faulty Package"}, result);
            break;
        case ListShape::Empty:
            hr = sample::makeStringArray({}, result);
            break;
        case ListShape::NotArray:
            result.get().bstrVal = SysAllocString(L"Faulty Package");
            result.get().vt = VT_BSTR;
            hr = result.get().bstrVal ? S_OK : E_OUTOFMEMORY;
            break;
        case ListShape::Variants:
            hr = sample::makeVariantArray({std::wstring(L"Faulty Package"), std::wstring(L"Second Package")}, result);
            break;
        }
        if (SUCCEEDED(hr))
            result.moveToOut(packageNames);
        return hr;
    });
}

STDMETHODIMP TestManager::GetPropertyPackage(BSTR packageName, IDispatch** package)
{
    if (!package)
        return E_POINTER;
    *package = nullptr;
    if (behaviour_.returnsNoPackage)
        return S_OK;  // the fault: success without a package
    return sample::guarded(L"TestManager", IID_ICapeThermoPropertyPackageManager, [&] {
        const std::wstring name = textOf(packageName);
        if (name != L"Faulty Package" && name != L"Second Package")
            return sample::raiseError(sample::ECapeInvalidArgumentHR, L"No package named '" + name + L"'.",
                                      L"TestManager", IID_ICapeThermoPropertyPackageManager);
        return createPackage(behaviour_.packageFault, name, IID_IDispatch, reinterpret_cast<void**>(package));
    });
}

STDMETHODIMP TestManager::get_parameters(IDispatch** parameters)
{
    if (!parameters)
        return E_POINTER;
    *parameters = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP TestManager::put_simulationContext(IDispatch*) { return S_OK; }
STDMETHODIMP TestManager::get_ComponentName(BSTR* name) { return copyOut(name_, name); }
STDMETHODIMP TestManager::get_ComponentDescription(BSTR* description) { return copyOut(description_, description); }

STDMETHODIMP TestManager::put_ComponentName(BSTR name)
{
    return sample::guarded(L"TestManager", IID_ICapeIdentification, [&] {
        name_ = textOf(name);
        return S_OK;
    });
}

STDMETHODIMP TestManager::put_ComponentDescription(BSTR description)
{
    return sample::guarded(L"TestManager", IID_ICapeIdentification, [&] {
        description_ = textOf(description);
        return S_OK;
    });
}

// FaultyPackage

FaultyPackage::FaultyPackage(PackageFault fault, std::wstring name)
    : ThermoPackage({std::move(name), L"A test package.", {L"nitrogen", L"oxygen", L"argon"}, packageClass}),
      fault_(fault)
{
}

void* FaultyPackage::findInterface(REFIID iid)
{
    const bool hidden =
        (fault_ == PackageFault::EquilibriumOnly &&
         (iid == IID_ICapeThermoPropertyRoutine || iid == IID_ICapeThermoMaterialContext)) ||
        (fault_ == PackageFault::WithoutMaterialContext && iid == IID_ICapeThermoMaterialContext) ||
        (fault_ == PackageFault::WithoutUtilities && iid == IID_ICapeUtilities);
    return hidden ? nullptr : ThermoPackage::findInterface(iid);
}

STDMETHODIMP FaultyPackage::Initialize()
{
    if (fault_ == PackageFault::InitializeFails)
        return sample::raiseError(sample::ECapeFailedInitialisationHR, L"The test package refuses to initialise.",
                                  L"FaultyPackage::Initialize", IID_ICapeUtilities);
    return ThermoPackage::Initialize();
}

HRESULT createPackage(PackageFault fault, const std::wstring& name, REFIID iid, void** out)
{
    return sample::createObject<FaultyPackage>(iid, out, fault, name);
}

}  // namespace testfault
