#include <windows.h>
#include <objbase.h>

#include "automation/ComModule.h"
#include "registration/ClassTable.h"
#include "registration/ModuleRegistration.h"

// The module's entry points: the four exports of an in-process COM server.

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
        ComModule::setInstance(instance);
        ClassTable::initialise();
    } else if (reason == DLL_PROCESS_DETACH && !reserved) {
        // Unloaded by FreeLibrary. At process exit nothing is given back: other
        // threads are gone and the memory goes with the process.
        ClassTable::tearDown();
    }
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow()
{
    return ComModule::lockCount() == 0 ? S_OK : S_FALSE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    return ClassTable::getClassObject(clsid, iid, out);
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer()
{
    return registerServer(ComModule::instance());
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer()
{
    return unregisterServer(ComModule::instance());
}
