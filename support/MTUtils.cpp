#include "support/MTUtils.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "support/ErrorReport.h"
#include "support/UniqueHandle.h"

// Process-wide identity of the module. Only the host's UI thread touches these,
// so they are plain values.
namespace {

// MAX_PATH - 1: the module name and environment values are held in MAX_PATH buffers.
constexpr size_t kMaxNameLength = MAX_PATH - 1;

std::string g_moduleName;
// Filled by the first getModuleDirectory after setModuleName.
std::optional<std::string> g_moduleDirectory;

}  // namespace

bool MTUtils::setModuleName(const char* name)
{
    std::string text = name ? name : "";
    if (text.size() > kMaxNameLength)
        text.resize(kMaxNameLength);
    g_moduleName = std::move(text);
    g_moduleDirectory.reset();
    return true;
}

std::string MTUtils::moduleName() { return g_moduleName; }

std::string MTUtils::moduleBaseName() { return g_moduleName.substr(0, g_moduleName.find('.')); }

std::string MTUtils::applicationTitle()
{
    const std::string base = moduleBaseName();
    return base.empty() ? kLibraryName : base;
}

std::string MTUtils::getEnvironmentValue(const char* name)
{
    if (!name)
        return {};
    char buffer[MAX_PATH] = {};
    // The result is the value's length when it fits, otherwise the size it would need
    // (terminating NUL included); 0 when the variable is not set.
    DWORD length = GetEnvironmentVariableA(name, buffer, MAX_PATH);
    if (length == 0)
        return {};
    if (length >= MAX_PATH) {
        showMessage("Value of Environment Variable is too long", name, MB_OK, nullptr);
        return {};
    }
    return std::string(buffer, length);
}

std::optional<std::string> MTUtils::getModulePath(const char* name)
{
    std::string moduleToFind = name ? name : g_moduleName;
    if (moduleToFind.empty()) {
        showMessage("MTUtils must be initialized with setModuleName(<dllName>)", "", MB_OK, nullptr);
        return std::nullopt;
    }
    uintptr_t handle = 0;
    std::string failure = "Error getting the dll path for " + moduleToFind;
    if (FAILED(checkWin32Result(handle, reinterpret_cast<uintptr_t>(GetModuleHandleA(moduleToFind.c_str())),
                                failure.c_str(), true)))
        return std::nullopt;  // the box has told the user why

    char buffer[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(reinterpret_cast<HMODULE>(handle), buffer, MAX_PATH);
    // A result of MAX_PATH - 1 or more may have been cut: no path rather than a wrong one.
    if (length == 0 || length >= kMaxNameLength)
        return std::nullopt;
    return std::string(buffer, length);
}

std::string MTUtils::getModuleDirectory()
{
    if (!g_moduleDirectory) {
        std::string directory;
        if (std::optional<std::string> path = getModulePath(nullptr)) {
            size_t lastBackslash = path->rfind('\\');
            if (lastBackslash != std::string::npos)
                directory = path->substr(0, lastBackslash);
        }
        g_moduleDirectory = directory;
    }
    return *g_moduleDirectory;
}

std::string MTUtils::readIniValue(const char* key, const char* section, const char* fileName)
{
    if (!key)
        return {};  // a null key would list the section's keys, not read a value
    std::string file =
        fileName && *fileName ? std::string(fileName) : getModuleDirectory() + "\\" + moduleBaseName() + ".ini";
    const char* sectionToRead = section && *section ? section : "general";

    char buffer[kMaxNameLength] = {};
    DWORD length = GetPrivateProfileStringA(sectionToRead, key, "", buffer, sizeof buffer, file.c_str());
    std::string value(buffer, length);

    // Blanks after the value are padding, unless the value itself has a blank inside:
    // then it is kept as written.
    size_t firstBlank = value.find(' ');
    if (firstBlank != std::string::npos && value.find_first_not_of(' ', firstBlank) == std::string::npos)
        value.resize(firstBlank);
    return value;
}

std::array<unsigned long, 4> splitFileVersion(const std::string& fileVersion)
{
    std::array<unsigned long, 4> numbers = {0, 0, 0, 0};
    char separator = fileVersion.find('.') != std::string::npos ? '.' : ',';
    size_t start = 0;
    for (unsigned long& number : numbers) {
        size_t end = fileVersion.find(separator, start);
        std::string piece = fileVersion.substr(start, end == std::string::npos ? std::string::npos : end - start);
        // strtol is atol with defined behaviour on overflow; a negative piece wraps, as
        // atol's result stored into an unsigned number does.
        number = static_cast<unsigned long>(std::strtol(piece.c_str(), nullptr, 10));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return numbers;
}

namespace {

// The twelve strings of a version resource, in the order of VersionInfo.
using VersionField = std::string MTUtils::VersionInfo::*;
struct NamedVersionField {
    const char* name;
    VersionField field;
};
constexpr NamedVersionField kVersionFields[] = {
    {"CompanyName", &MTUtils::VersionInfo::CompanyName},
    {"FileDescription", &MTUtils::VersionInfo::FileDescription},
    {"FileVersion", &MTUtils::VersionInfo::FileVersion},
    {"InternalName", &MTUtils::VersionInfo::InternalName},
    {"LegalCopyright", &MTUtils::VersionInfo::LegalCopyright},
    {"OriginalFilename", &MTUtils::VersionInfo::OriginalFilename},
    {"ProductName", &MTUtils::VersionInfo::ProductName},
    {"ProductVersion", &MTUtils::VersionInfo::ProductVersion},
    {"Comments", &MTUtils::VersionInfo::Comments},
    {"LegalTrademarks", &MTUtils::VersionInfo::LegalTrademarks},
    {"PrivateBuild", &MTUtils::VersionInfo::PrivateBuild},
    {"SpecialBuild", &MTUtils::VersionInfo::SpecialBuild},
};

[[noreturn]] void throwLastError() { throw FInfoErr{GetLastError()}; }

// Seconds since 1970-01-01 UTC of a FILETIME (100 ns ticks since 1601-01-01 UTC).
std::time_t calendarTime(const FILETIME& time)
{
    constexpr unsigned long long kTicksPerSecond = 10'000'000ULL;
    constexpr unsigned long long kEpochDifference = 11'644'473'600ULL;  // 1601 to 1970, seconds
    unsigned long long ticks = (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return static_cast<std::time_t>(ticks / kTicksPerSecond) - static_cast<std::time_t>(kEpochDifference);
}

std::time_t lastWriteTime(const char* path)
{
    UniqueFile file(
        CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        throwLastError();
    BY_HANDLE_FILE_INFORMATION information = {};
    if (!GetFileInformationByHandle(file.get(), &information))
        throwLastError();
    return calendarTime(information.ftLastWriteTime);
}

struct Translation {
    WORD language;
    WORD codePage;
};

}  // namespace

MTUtils::VersionInfo MTUtils::readVersionInfo(const char* path)
{
    if (!path)
        throw FInfoErr{ERROR_INVALID_PARAMETER};
    VersionInfo info;
    info.lastWriteTime = lastWriteTime(path);

    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    if (size == 0)
        throwLastError();
    std::vector<char> resource(size);
    if (!GetFileVersionInfoA(path, 0, size, resource.data()))
        throwLastError();

    void* fixedInfo = nullptr;
    UINT fixedLength = 0;
    if (!VerQueryValueA(resource.data(), "\\", &fixedInfo, &fixedLength))
        throwLastError();
    void* table = nullptr;
    UINT tableLength = 0;
    if (!VerQueryValueA(resource.data(), "\\VarFileInfo\\Translation", &table, &tableLength))
        throwLastError();

    // Every translation is read in turn; a later one overwrites the strings it has.
    const auto* translations = static_cast<const Translation*>(table);
    for (UINT i = 0; i < tableLength / sizeof(Translation); ++i) {
        char prefix[9] = {};
        snprintf(prefix, sizeof prefix, "%08lX",
                 static_cast<unsigned long>(translations[i].language) * 65536UL + translations[i].codePage);
        for (const NamedVersionField& named : kVersionFields) {
            std::string query = std::string("\\StringFileInfo\\") + prefix + "\\" + named.name;
            void* value = nullptr;
            UINT valueLength = 0;
            if (VerQueryValueA(resource.data(), query.c_str(), &value, &valueLength) && value)
                info.*named.field =
                    std::string(static_cast<const char*>(value), strnlen(static_cast<const char*>(value), valueLength));
        }
    }
    return info;
}

bool MTUtils::getDLLversions(unsigned long versions[4], const char* name)
{
    std::string shownName = name ? name : g_moduleName;
    std::string failure = "error getting DLL version for " + shownName;
    try {
        std::optional<std::string> path = getModulePath(name);
        if (!path)
            return false;  // getModulePath has shown why
        VersionInfo info = readVersionInfo(path->c_str());
        if (info.FileVersion.empty())
            return false;
        std::array<unsigned long, 4> numbers = splitFileVersion(info.FileVersion);
        std::copy(numbers.begin(), numbers.end(), versions);
        return true;
    } catch (const FInfoErr& error) {
        failure += "FInfoErr returned error " + std::to_string(error.errorCode);
        reportError(failure.c_str(), "getDLLversions", nullptr, true);
    } catch (...) {
        reportError(failure.c_str(), "getDLLversions", nullptr, true);
    }
    return false;
}
