// Entry points of TestComponents.dll (see TestFault.h).
#include <windows.h>

#include <string>

#include "CapeErrors.h"
#include "ClassFactory.h"
#include "FaultyComponents.h"
#include "Registration.h"

using namespace testfault;

namespace {

const wchar_t kindValue[] = L"TestFaultKind";
constexpr HRESULT ECapeLicenceErrorHR = static_cast<HRESULT>(0x80040503);

enum class Role { Unit, Manager, Package };

bool known(long kind)
{
    return (kind >= 1 && kind <= 4) || (kind >= 10 && kind <= 19) || (kind >= 20 && kind <= 23);
}

Role roleOf(TestFault kind)
{
    const long value = static_cast<long>(kind);
    return value < 10 ? Role::Unit : value < 20 ? Role::Manager : Role::Package;
}

PackageFault packageFaultOf(TestFault kind)
{
    switch (kind) {
    case TestFault::ManagerOfEquilibriumOnlyPackage:
    case TestFault::PackageEquilibriumOnly:
        return PackageFault::EquilibriumOnly;
    case TestFault::ManagerOfPackageWithoutMaterialContext:
    case TestFault::PackageWithoutMaterialContext:
        return PackageFault::WithoutMaterialContext;
    case TestFault::ManagerOfPackageWithoutUtilities:
    case TestFault::PackageWithoutUtilities:
        return PackageFault::WithoutUtilities;
    case TestFault::ManagerOfPackageWhoseInitializeFails:
    case TestFault::PackageInitializeFails:
        return PackageFault::InitializeFails;
    default:
        return PackageFault::None;
    }
}

HRESULT createFault(TestFault kind, REFIID iid, void** out)
{
    switch (roleOf(kind)) {
    case Role::Unit:
        if (kind == TestFault::UnitWithOtherVersionInterface)
            return sample::createObject<TestManager>(iid, out, ManagerBehaviour{true, ListShape::Empty});
        return sample::createObject<TestUnit>(iid, out, kind != TestFault::UnitWithoutCapeUnit);
    case Role::Manager: {
        if (kind == TestFault::ManagerCreationFails)
            return sample::raiseError(ECapeLicenceErrorHR, L"The test manager has no licence on this machine.",
                                      L"TestComponents", IID_IClassFactory);
        ManagerBehaviour behaviour;
        behaviour.hasManagerInterface = kind != TestFault::ManagerWithoutManagerInterface;
        behaviour.returnsNoPackage = kind == TestFault::ManagerReturnsNoPackage;
        behaviour.list = kind == TestFault::ManagerEmptyList      ? ListShape::Empty
                         : kind == TestFault::ManagerListNotArray ? ListShape::NotArray
                         : kind == TestFault::ManagerListOfVariants ? ListShape::Variants
                                                                    : ListShape::Packages;
        behaviour.packageFault = packageFaultOf(kind);
        return sample::createObject<TestManager>(iid, out, behaviour);
    }
    case Role::Package:
        return createPackage(packageFaultOf(kind), L"Faulty Package", iid, out);
    }
    return E_UNEXPECTED;
}

bool parseClsid(const wchar_t* text, CLSID& clsid)
{
    return text && SUCCEEDED(CLSIDFromString(text, &clsid));
}

sample::ClassRegistration registrationOf(TestFault kind, const CLSID& clsid, const wchar_t* progId)
{
    const std::wstring number = std::to_wstring(static_cast<long>(kind));
    const Role role = roleOf(kind);
    sample::ClassRegistration registration{clsid,
                                           kind == TestFault::NoProgId || !progId ? L"" : progId,
                                           L"Test fault " + number,
                                           {sample::categoryCapeOpenComponent},
                                           kind != TestFault::NoCapeDescription,
                                           {L"Test fault " + number, L"A component with fault " + number + L".",
                                            L"", role == Role::Unit ? L"1.0" : L"1.1", L"0.0.1", L"", L""},
                                           {}};
    registration.categories.push_back(role == Role::Unit      ? sample::categoryUnitOperation
                                      : role == Role::Manager ? sample::categoryPropertyPackageManager11
                                                              : sample::categoryPropertyPackage11);
    if (role == Role::Manager)
        for (const wchar_t* package : {L"Faulty Package", L"Second Package"})
            registration.packages.push_back({package, {package, L"", L"", L"1.1", L"", L"", L""}});
    return registration;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        sample::module::setInstance(instance);
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    DWORD kind = 0, size = sizeof kind;
    const std::wstring key = L"CLSID\\" + sample::guidText(clsid);
    if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), kindValue, RRF_RT_REG_DWORD, nullptr, &kind, &size) !=
            ERROR_SUCCESS ||
        !known(static_cast<long>(kind)))
        return CLASS_E_CLASSNOTAVAILABLE;
    const auto fault = static_cast<TestFault>(kind);
    return sample::getClassObject([fault](REFIID i, void** o) { return createFault(fault, i, o); }, iid, out);
}

STDAPI DllCanUnloadNow() { return sample::module::canUnload() ? S_OK : S_FALSE; }

// Nothing is registered for good: tests register the faults they need.
STDAPI DllRegisterServer() { return S_OK; }
STDAPI DllUnregisterServer() { return S_OK; }

extern "C" HRESULT WINAPI RegisterFault(long kind, const wchar_t* clsidText, const wchar_t* progId)
{
    CLSID clsid{};
    if (!known(kind) || !parseClsid(clsidText, clsid))
        return E_INVALIDARG;
    return sample::guarded(L"RegisterFault", IID_NULL, [&] {
        const auto registration = registrationOf(static_cast<TestFault>(kind), clsid, progId);
        HRESULT hr = sample::registerClass(registration);
        if (FAILED(hr))
            return hr;
        const DWORD value = static_cast<DWORD>(kind);
        const std::wstring key = L"CLSID\\" + sample::guidText(clsid);
        LONG status = RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), kindValue, REG_DWORD, &value, sizeof value);
        if (status != ERROR_SUCCESS) {
            sample::unregisterClass(registration);
            return HRESULT_FROM_WIN32(status);
        }
        return S_OK;
    });
}

extern "C" HRESULT WINAPI UnregisterFault(const wchar_t* clsidText, const wchar_t* progId)
{
    CLSID clsid{};
    if (!parseClsid(clsidText, clsid))
        return E_INVALIDARG;
    return sample::guarded(L"UnregisterFault", IID_NULL, [&] {
        return sample::unregisterClass({clsid, progId ? progId : L"", L"", {}, false, {}, {}});
    });
}

extern "C" LONG WINAPI GetLiveObjectCount() { return sample::module::liveObjects(); }
