#include "registration/ModuleRegistration.h"

#include <oleauto.h>

#include "registration/RegistryScript.h"
#include "support/ComPtr.h"
#include "support/UniqueBstr.h"

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

}  // namespace

HRESULT registerTypeLibrary(const std::wstring& modulePath)
{
    std::wstring path = modulePath;
    ComPtr<ITypeLib> library;
    HRESULT hr = LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.put());
    if (FAILED(hr)) {
        path = typeLibraryFileBeside(modulePath);
        hr = LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.put());
        if (FAILED(hr))
            return hr;
    }
    UniqueBstr helpFile;
    hr = library->GetDocumentation(-1, nullptr, nullptr, nullptr, helpFile.put());
    if (FAILED(hr))
        return hr;
    std::wstring helpDirectory = helpFile.text();
    const size_t slash = helpDirectory.find_last_of(L"\\/");
    helpDirectory.resize(slash == std::wstring::npos ? 0 : slash);
    return RegisterTypeLib(library.get(), path.data(),
                           helpDirectory.empty() ? nullptr : helpDirectory.data());
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

}  // namespace

HRESULT registerServer(HMODULE module)
{
    HRESULT hr = runModuleScript(module, ScriptMode::Register);
    if (FAILED(hr))
        return hr;
    // The class registers no component categories: nothing to write for them.
    std::wstring path;
    hr = modulePathForRegistration(module, path);
    if (FAILED(hr))
        return hr;
    return registerTypeLibrary(path);
}

HRESULT unregisterServer(HMODULE module)
{
    // No component categories to remove; the type library stays registered.
    return runModuleScript(module, ScriptMode::Unregister);
}
