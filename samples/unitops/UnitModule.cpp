// Entry points of SampleUnitOperations.dll: the Tarnwick sample unit operations.
#include <windows.h>

#include "ClassFactory.h"
#include "HeaterUnit.h"
#include "MixerUnit.h"
#include "Registration.h"
#include "UnitClassIds.h"

namespace {

using namespace tarnwick;

sample::ClassRegistration mixerRegistration()
{
    return {CLSID_TarnwickMixer,
            L"Tarnwick.Mixer",
            L"Tarnwick Mixer",
            {sample::categoryCapeOpenComponent, sample::categoryUnitOperation},
            true,
            {L"Tarnwick Mixer", L"Mixes its feeds into one outlet stream; a sample CAPE-OPEN 1.0 unit operation.",
             L"Tarnwick Mixer 1.0.0\\nSample unit operation of Tarnwick Process Models (fictional vendor).", L"1.0",
             L"1.0.0", L"http://www.tarnwick.example/", L"http://www.tarnwick.example/help/mixer.html"},
            {}};
}

sample::ClassRegistration heaterRegistration()
{
    return {CLSID_TarnwickHeater,
            L"Tarnwick.Heater",
            L"Tarnwick Heater",
            {sample::categoryCapeOpenComponent, sample::categoryUnitOperation},
            true,
            {L"Tarnwick.Heater",
             L"Heats or cools its feed to a set outlet temperature; a sample CAPE-OPEN 1.0 unit operation.",
             L"Tarnwick Heater 1.0.0, sample unit operation of Tarnwick Process Models (fictional vendor).", L"1.0",
             L"1.0.0", L"http://www.tarnwick.example/", L"http://www.tarnwick.example/help/heater.html"},
            {}};
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
    if (clsid == CLSID_TarnwickMixer)
        return sample::getClassObject([](REFIID i, void** o) { return sample::createObject<MixerUnit>(i, o); }, iid,
                                      out);
    if (clsid == CLSID_TarnwickHeater)
        return sample::getClassObject([](REFIID i, void** o) { return sample::createObject<HeaterUnit>(i, o); }, iid,
                                      out);
    return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllCanUnloadNow() { return sample::module::canUnload() ? S_OK : S_FALSE; }

STDAPI DllRegisterServer()
{
    HRESULT hr = sample::registerClass(mixerRegistration());
    if (SUCCEEDED(hr))
        hr = sample::registerClass(heaterRegistration());
    return hr;
}

STDAPI DllUnregisterServer()
{
    HRESULT mixer = sample::unregisterClass(mixerRegistration());
    HRESULT heater = sample::unregisterClass(heaterRegistration());
    return FAILED(mixer) ? mixer : heater;
}

// How many COM objects of this DLL are alive (components and class objects); a
// soak test checks that it returns to zero.
extern "C" LONG WINAPI GetLiveObjectCount() { return sample::module::liveObjects(); }
