#include "registration/ModuleRegistration.h"

#include <oleauto.h>
#include <wchar.h>

#include "registration/RegistryScript.h"
#include "registration/UserClassesRoot.h"
#include "support/ComPtr.h"
#include "support/RegKey.h"
#include "support/UniqueBstr.h"

// The per-user type library registration (oleaut32, Windows Vista on), which the
// compiler's headers do not declare.
extern "C" HRESULT WINAPI RegisterTypeLibForUser(ITypeLib* library, OLECHAR* path, OLECHAR* helpDirectory);
extern "C" HRESULT WINAPI UnRegisterTypeLibForUser(REFGUID libraryId, WORD major, WORD minor, LCID lcid, SYSKIND kind);

HRESULT modulePathForRegistration(HMODULE module, std::wstring& path)
{
    wchar_t buffer[MAX_PATH];
    const DWORD length = GetModuleFileNameW(module, buffer, MAX_PATH);
    if (length == 0)
        return HRESULT_FROM_WIN32(GetLastError());
    // A path that fills the buffer may have been cut: refused, not guessed at.
    if (length >= MAX_PATH)
        return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
    path.assign(buffer, length);
    return S_OK;
}

HRESULT loadRegistryScript(HMODULE module, WORD resourceId, std::wstring& script)
{
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(resourceId), L"REGISTRY");
    if (!found)
        return HRESULT_FROM_WIN32(GetLastError());
    HGLOBAL loaded = LoadResource(module, found);
    const DWORD size = SizeofResource(module, found);
    const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (!bytes || size == 0)
        return HRESULT_FROM_WIN32(ERROR_RESOURCE_DATA_NOT_FOUND);
    const int count = static_cast<int>(size);
    const int length = MultiByteToWideChar(CP_ACP, 0, bytes, count, nullptr, 0);
    if (length <= 0)
        return HRESULT_FROM_WIN32(GetLastError());
    std::wstring text(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes, count, text.data(), length);
    script = std::move(text);
    return S_OK;
}

namespace {

// The path with its extension (after the last backslash) replaced by ".tlb".
std::wstring typeLibraryFileBeside(const std::wstring& modulePath)
{
    const size_t slash = modulePath.find_last_of(L"\\/");
    const size_t dot = modulePath.find_last_of(L'.');
    const bool hasExtension = dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash);
    return (hasExtension ? modulePath.substr(0, dot) : modulePath) + L".tlb";
}

// The type library of the module (see registerTypeLibrary) and the path it came from.
HRESULT loadModuleTypeLibrary(const std::wstring& modulePath, ComPtr<ITypeLib>& library, std::wstring& path)
{
    path = modulePath;
    HRESULT hr = LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.put());
    if (FAILED(hr)) {
        path = typeLibraryFileBeside(modulePath);
        hr = LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.put());
    }
    return hr;
}

// Whether HKEY_CLASSES_ROOT (as mapped now) holds a registration of the library.
bool typeLibraryRegistered(const GUID& libraryId)
{
    wchar_t braced[40] = {};
    if (!StringFromGUID2(libraryId, braced, 40))
        return false;
    RegKey key;
    return RegOpenKeyExW(HKEY_CLASSES_ROOT, (std::wstring(L"TypeLib\\") + braced).c_str(), 0, KEY_READ, key.put()) ==
           ERROR_SUCCESS;
}

// Removes the current user's registration of the module's type library, when there is one.
HRESULT unregisterTypeLibraryForUser(const std::wstring& modulePath)
{
    ComPtr<ITypeLib> library;
    std::wstring path;
    HRESULT hr = loadModuleTypeLibrary(modulePath, library, path);
    if (FAILED(hr))
        return hr;
    TLIBATTR* attributes = nullptr;
    hr = library->GetLibAttr(&attributes);
    if (FAILED(hr))
        return hr;
    const TLIBATTR registered = *attributes;
    library->ReleaseTLibAttr(attributes);
    if (!typeLibraryRegistered(registered.guid))
        return S_OK;  // nothing of it to remove
    return UnRegisterTypeLibForUser(registered.guid, registered.wMajorVerNum, registered.wMinorVerNum, registered.lcid,
                                    registered.syskind);
}

}  // namespace

HRESULT registerTypeLibrary(const std::wstring& modulePath, RegistrationScope scope)
{
    ComPtr<ITypeLib> library;
    std::wstring path;
    HRESULT hr = loadModuleTypeLibrary(modulePath, library, path);
    if (FAILED(hr))
        return hr;
    UniqueBstr helpFile;
    hr = library->GetDocumentation(-1, nullptr, nullptr, nullptr, helpFile.put());
    if (FAILED(hr))
        return hr;
    std::wstring helpDirectory = helpFile.text();
    const size_t slash = helpDirectory.find_last_of(L"\\/");
    helpDirectory.resize(slash == std::wstring::npos ? 0 : slash);
    wchar_t* directory = helpDirectory.empty() ? nullptr : helpDirectory.data();
    if (scope == RegistrationScope::User)
        return RegisterTypeLibForUser(library.get(), path.data(), directory);
    return RegisterTypeLib(library.get(), path.data(), directory);
}

namespace {

HRESULT runModuleScript(HMODULE module, ScriptMode mode)
{
    std::wstring path;
    HRESULT hr = modulePathForRegistration(module, path);
    if (FAILED(hr))
        return hr;
    std::wstring script;
    hr = loadRegistryScript(module, IDR_CCAPEGUI, script);
    if (FAILED(hr))
        return hr;
    return runRegistryScript(script, {{L"MODULE", moduleReplacementValue(path)}}, mode);
}

// The module's script run in mode, then typeLibrary with the module's path.
template <class TypeLibraryStep>
HRESULT scriptThenTypeLibrary(HMODULE module, ScriptMode mode, TypeLibraryStep&& typeLibrary)
{
    HRESULT hr = runModuleScript(module, mode);
    if (FAILED(hr))
        return hr;
    std::wstring path;
    hr = modulePathForRegistration(module, path);
    if (FAILED(hr))
        return hr;
    return typeLibrary(path);
}

// The script, the class's component categories (none: nothing to write), the type library.
HRESULT registerModule(HMODULE module, RegistrationScope scope)
{
    return scriptThenTypeLibrary(module, ScriptMode::Register,
                                 [&](const std::wstring& path) { return registerTypeLibrary(path, scope); });
}

}  // namespace

HRESULT registerServer(HMODULE module) { return registerModule(module, RegistrationScope::Machine); }

HRESULT unregisterServer(HMODULE module)
{
    // No component categories to remove; the type library stays registered.
    return runModuleScript(module, ScriptMode::Unregister);
}

HRESULT installServer(HMODULE module, bool install, const wchar_t* commandLine)
{
    if (!commandLine || _wcsicmp(commandLine, L"user") != 0)
        return E_INVALIDARG;
    const UserClassesRoot userRoot;
    if (FAILED(userRoot.status()))
        return userRoot.status();
    if (install)
        return registerModule(module, RegistrationScope::User);
    return scriptThenTypeLibrary(module, ScriptMode::Unregister,
                                 [](const std::wstring& path) { return unregisterTypeLibraryForUser(path); });
}
