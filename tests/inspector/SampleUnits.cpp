#include "SampleUnits.h"

#include <objbase.h>

#include <string>

namespace {

std::wstring besideTestProgram(const wchar_t* fileName)
{
    wchar_t path[MAX_PATH] = {};
    const std::wstring program(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    return program.substr(0, program.find_last_of(L'\\') + 1) + fileName;
}

bool mixerRegistered()
{
    CLSID clsid{};
    return SUCCEEDED(CLSIDFromProgID(L"Tarnwick.Mixer", &clsid));
}

template <class Function>
Function exported(HMODULE module, const char* name)
{
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

}  // namespace

SampleUnits::SampleUnits()
{
    module_ = LoadLibraryW(besideTestProgram(L"SampleUnitOperations.dll").c_str());
    if (mixerRegistered()) {
        registered_ = true;
        return;
    }
    auto registerServer = exported<HRESULT(STDAPICALLTYPE*)()>(module_, "DllRegisterServer");
    registeredHere_ = registerServer && SUCCEEDED(registerServer());
    registered_ = registeredHere_ && mixerRegistered();
}

SampleUnits::~SampleUnits()
{
    if (registeredHere_)
        if (auto unregisterServer = exported<HRESULT(STDAPICALLTYPE*)()>(module_, "DllUnregisterServer"))
            unregisterServer();
    if (module_)
        FreeLibrary(module_);
}

long SampleUnits::liveObjects() const
{
    auto count = exported<LONG(WINAPI*)()>(module_, "GetLiveObjectCount");
    return count ? count() : -1;
}
