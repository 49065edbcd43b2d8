#include <windows.h>
#include <objbase.h>

#include "automation/ComModule.h"
#include "automation/MethodBoundary.h"
#include "registration/ClassTable.h"
#include "registration/ModuleRegistration.h"

// The module's entry points: the four exports of an in-process COM server, and
// DllInstall for the registration of the current user only (regsvr32 /n /i:user).

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

namespace {

// The one boundary of each export: no C++ exception leaves the module; out of memory
// answers E_OUTOFMEMORY, anything else E_UNEXPECTED. Exports show no box.
template <class Body>
HRESULT entryPoint(Body&& body) noexcept
{
    return methodBoundaryReportedBy([](HRESULT code) { return code; }, body);
}

}  // namespace

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow()
{
    return entryPoint([] { return ComModule::lockCount() == 0 ? S_OK : S_FALSE; });
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    return entryPoint([&] { return ClassTable::getClassObject(clsid, iid, out); });
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer()
{
    return entryPoint([] { return registerServer(ComModule::instance()); });
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer()
{
    return entryPoint([] { return unregisterServer(ComModule::instance()); });
}

extern "C" HRESULT STDAPICALLTYPE DllInstall(BOOL install, PCWSTR commandLine)
{
    return entryPoint([&] { return installServer(ComModule::instance(), install != FALSE, commandLine); });
}
