#pragma once
// Everything below a registry key, read back for comparison with a literal table:
// key path (relative to the key, "" for the key itself) -> value name ("" for the
// default value) -> text (REG_SZ; "<type n>" for other types).
#include <windows.h>

#include <cstring>
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>

#include "support/RegKey.h"

namespace testkit {

using RegistrySnapshot = std::map<std::string, std::map<std::string, std::string>>;

// Subtrees whose path starts with one of the skipped prefixes (letter case ignored)
// are left out.
inline void snapshotInto(HKEY key, const std::string& path, RegistrySnapshot& into,
                         std::initializer_list<std::string_view> skipped = {})
{
    for (std::string_view prefix : skipped)
        if (_strnicmp(path.c_str(), prefix.data(), prefix.size()) == 0)
            return;
    auto& values = into[path];
    char name[256], data[2048];
    DWORD nameSize = sizeof name, size = sizeof data, type = 0;
    for (DWORD i = 0; RegEnumValueA(key, i, name, &nameSize, 0, &type, LPBYTE(data), &size) == ERROR_SUCCESS; ++i) {
        values[name] = type == REG_SZ ? std::string(data, strnlen(data, size)) : "<type " + std::to_string(type) + ">";
        nameSize = sizeof name, size = sizeof data;
    }
    for (DWORD i = 0; nameSize = sizeof name, RegEnumKeyExA(key, i, name, &nameSize, 0, 0, 0, 0) == ERROR_SUCCESS; ++i) {
        RegKey child;
        if (RegOpenKeyExA(key, name, 0, KEY_READ, child.put()) == ERROR_SUCCESS)
            snapshotInto(child.get(), path.empty() ? name : path + "\\" + name, into, skipped);
    }
}

inline RegistrySnapshot snapshot(HKEY key, std::initializer_list<std::string_view> skipped = {})
{
    RegistrySnapshot all;
    snapshotInto(key, "", all, skipped);
    return all;
}

}  // namespace testkit
