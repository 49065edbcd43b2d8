// Entry points of SamplePackageManager.dll: the Oskvale CAPE-OPEN 1.1 Property
// Package Manager and the registry description of the packages it offers.
#include <windows.h>

#include "ClassFactory.h"
#include "ManagerClassId.h"
#include "ManagerPackages.h"
#include "PackageManager.h"
#include "Registration.h"

namespace {

using oskvale::CLSID_OskvalePackageManager;

sample::ClassRegistration managerRegistration()
{
    sample::ClassRegistration registration{
        CLSID_OskvalePackageManager,
        L"Oskvale.PackageManager",
        L"Oskvale Property Package Manager",
        {sample::categoryCapeOpenComponent, sample::categoryPropertyPackageManager11},
        true,
        {L"Oskvale Property Package Manager",
         L"Offers three ideal-mixture property packages: natural gas, aromatics, air and water.",
         L"Oskvale Property Package Manager 2.0.1, Oskvale Thermodynamics (fictional vendor).", L"1.1", L"2.0.1",
         L"http://www.oskvale.example/", L"http://www.oskvale.example/help/manager.html"},
        {}};
    for (const oskvale::OfferedPackage& package : oskvale::offeredPackages())
        registration.packages.push_back({package.definition.name, package.registryDescription});
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
    if (clsid == CLSID_OskvalePackageManager)
        return sample::getClassObject(
            [](REFIID i, void** o) { return sample::createObject<oskvale::PackageManager>(i, o); }, iid, out);
    return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllCanUnloadNow() { return sample::module::canUnload() ? S_OK : S_FALSE; }
STDAPI DllRegisterServer() { return sample::registerClass(managerRegistration()); }
STDAPI DllUnregisterServer() { return sample::unregisterClass(managerRegistration()); }

// How many COM objects of this DLL are alive (the manager, its packages, class objects).
extern "C" LONG WINAPI GetLiveObjectCount() { return sample::module::liveObjects(); }
