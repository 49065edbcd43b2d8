#pragma once
#include <windows.h>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "registration/RegistryScript.h"

// The parsed form of a registration script (see RegistryScript.h for the language).

struct ScriptNamedValue {
    std::wstring name;
    std::wstring text;
};

struct ScriptKey {
    enum class Removal { Normal, ForceRemove, NoRemove };
    std::wstring name;
    Removal removal = Removal::Normal;
    std::optional<std::wstring> defaultValue;
    std::vector<ScriptNamedValue> values;
    std::vector<ScriptKey> subkeys;
};

struct ScriptRoot {
    HKEY root = nullptr;
    std::vector<ScriptKey> keys;
};

// Replaces %NAME% and %%; nullopt when a name has no replacement or a % is unpaired.
std::optional<std::wstring> expandReplacements(std::wstring_view script,
                                               const std::vector<ScriptReplacement>& replacements);

// The roots of an expanded script; nullopt on any syntax error.
std::optional<std::vector<ScriptRoot>> parseRegistryScript(std::wstring_view script);
