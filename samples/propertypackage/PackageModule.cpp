// Entry points of SamplePropertyPackage.dll: the standalone CAPE-OPEN 1.1 property
// package Lindqvarn.PropertyPackage with all twelve sample compounds.
#include <windows.h>

#include "ClassFactory.h"
#include "CompoundData.h"
#include "PackageClassId.h"
#include "Registration.h"
#include "ThermoPackage.h"

namespace {

using lindqvarn::CLSID_LindqvarnPropertyPackage;

sample::ClassRegistration packageRegistration()
{
    return {
        CLSID_LindqvarnPropertyPackage,
        L"Lindqvarn.PropertyPackage",
        L"Lindqvarn Property Package",
        {sample::categoryCapeOpenComponent, sample::categoryPropertyPackage11},
        true,
        {L"Lindqvarn Twelve Compounds",
         L"Twelve common compounds with their constants, in a vapour and two liquid phases; a sample CAPE-OPEN 1.1 "
         L"property package.",
         L"Lindqvarn Twelve Compounds 1.2.0, sample property package of Lindqvarn Property Data (fictional vendor).",
         L"1.1", L"1.2.0", L"http://www.lindqvarn.example/", L"http://www.lindqvarn.example/help/package.html"},
        {}};
}

HRESULT createPackage(REFIID iid, void** out)
{
    sample::thermo::PackageDefinition definition{L"Lindqvarn Twelve Compounds",
                                                 L"Twelve common compounds (sample CAPE-OPEN 1.1 property package).",
                                                 {},
                                                 CLSID_LindqvarnPropertyPackage};
    for (const sample::thermo::Compound& compound : sample::thermo::compoundTable())
        definition.compoundIds.push_back(compound.id);
    return sample::createObject<sample::thermo::ThermoPackage>(iid, out, std::move(definition));
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
    if (clsid == CLSID_LindqvarnPropertyPackage)
        return sample::getClassObject(createPackage, iid, out);
    return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllCanUnloadNow() { return sample::module::canUnload() ? S_OK : S_FALSE; }
STDAPI DllRegisterServer() { return sample::registerClass(packageRegistration()); }
STDAPI DllUnregisterServer() { return sample::unregisterClass(packageRegistration()); }

// How many COM objects of this DLL are alive (packages and class objects).
extern "C" LONG WINAPI GetLiveObjectCount() { return sample::module::liveObjects(); }
