#include "registration/RegistryScript.h"

#include "registration/RegistryScriptParser.h"
#include "support/RegKey.h"

namespace {

HRESULT fromWin32(LONG error) { return HRESULT_FROM_WIN32(static_cast<DWORD>(error)); }

LONG setString(HKEY key, const wchar_t* name, const std::wstring& text)
{
    const DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), bytes);
}

HRESULT registerKey(HKEY parent, const ScriptKey& script)
{
    if (script.removal == ScriptKey::Removal::ForceRemove) {
        // The key itself goes too, with whatever others left under it.
        LONG removed = RegDeleteTreeW(parent, script.name.c_str());
        if (removed != ERROR_SUCCESS && removed != ERROR_FILE_NOT_FOUND)
            return fromWin32(removed);
    }
    RegKey key;
    LONG error = RegCreateKeyExW(parent, script.name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                                 nullptr, key.put(), nullptr);
    if (error != ERROR_SUCCESS)
        return fromWin32(error);
    if (script.defaultValue) {
        error = setString(key.get(), nullptr, *script.defaultValue);
        if (error != ERROR_SUCCESS)
            return fromWin32(error);
    }
    for (const auto& value : script.values) {
        error = setString(key.get(), value.name.c_str(), value.text);
        if (error != ERROR_SUCCESS)
            return fromWin32(error);
    }
    for (const auto& subkey : script.subkeys) {
        HRESULT hr = registerKey(key.get(), subkey);
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

HRESULT unregisterKey(HKEY parent, const ScriptKey& script)
{
    DWORD subkeysLeft = 0;
    {
        RegKey key;
        LONG error = RegOpenKeyExW(parent, script.name.c_str(), 0, KEY_READ | KEY_WRITE, key.put());
        if (error == ERROR_FILE_NOT_FOUND)
            return S_OK;  // nothing of it is registered
        if (error != ERROR_SUCCESS)
            return fromWin32(error);
        for (const auto& subkey : script.subkeys) {
            HRESULT hr = unregisterKey(key.get(), subkey);
            if (FAILED(hr))
                return hr;
        }
        for (const auto& value : script.values) {
            error = RegDeleteValueW(key.get(), value.name.c_str());
            if (error != ERROR_SUCCESS && error != ERROR_FILE_NOT_FOUND)
                return fromWin32(error);
        }
        error = RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subkeysLeft, nullptr, nullptr, nullptr, nullptr,
                                 nullptr, nullptr, nullptr);
        if (error != ERROR_SUCCESS)
            return fromWin32(error);
    }
    // A key that others added subkeys to stays, with everything of theirs.
    if (script.removal == ScriptKey::Removal::NoRemove || subkeysLeft != 0)
        return S_OK;
    LONG error = RegDeleteKeyW(parent, script.name.c_str());
    if (error != ERROR_SUCCESS && error != ERROR_FILE_NOT_FOUND)
        return fromWin32(error);
    return S_OK;
}

}  // namespace

HRESULT runRegistryScript(std::wstring_view script, const std::vector<ScriptReplacement>& replacements, ScriptMode mode)
{
    auto expanded = expandReplacements(script, replacements);
    if (!expanded)
        return kScriptSyntaxError;
    auto roots = parseRegistryScript(*expanded);
    if (!roots)
        return kScriptSyntaxError;
    for (const auto& root : *roots) {
        for (const auto& key : root.keys) {
            HRESULT hr = mode == ScriptMode::Register ? registerKey(root.root, key) : unregisterKey(root.root, key);
            if (FAILED(hr))
                return hr;
        }
    }
    return S_OK;
}

std::wstring moduleReplacementValue(std::wstring_view modulePath)
{
    std::wstring value;
    for (wchar_t c : modulePath) {
        value += c;
        if (c == L'\'')
            value += L'\'';
    }
    return value;
}
