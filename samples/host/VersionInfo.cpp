#include "VersionInfo.h"

#include <windows.h>
#include <cstdio>
#include <vector>

bool printVersionInfo(const std::string& path)
{
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0)
        return false;
    std::vector<char> data(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, data.data()))
        return false;

    struct Translation {
        WORD language, codePage;
    }* translations = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations), &length) ||
        length < sizeof(Translation))
        return false;

    char prefix[32];
    std::snprintf(prefix, sizeof prefix, "\\StringFileInfo\\%04X%04X\\", translations[0].language,
                  translations[0].codePage);
    std::printf("Version information of %s\n", path.c_str());
    for (const char* name :
         {"CompanyName", "FileDescription", "FileVersion", "ProductName", "ProductVersion", "LegalCopyright"}) {
        char* value = nullptr;
        UINT valueLength = 0;
        const std::string query = std::string(prefix) + name;
        if (VerQueryValueA(data.data(), query.c_str(), reinterpret_cast<void**>(&value), &valueLength) && value)
            std::printf("  %-16s %s\n", name, value);
    }
    return true;
}
