#pragma once
#include <array>
#include <ctime>
#include <optional>
#include <string>
#include <windows.h>

// The library's module name: what the automation object registers, the caption of
// the application's boxes before one is registered, the source of its error objects.
inline constexpr char kLibraryName[] = "QnCOGUI11";
inline constexpr wchar_t kLibraryNameWide[] = L"QnCOGUI11";

// The module's identity and surroundings: its registered name, path and directory,
// environment values, its settings file and the version resources of loaded modules.
class MTUtils {
public:
    virtual ~MTUtils() = default;

    // Registers the module name (at most 259 characters) and forgets the cached directory.
    static bool setModuleName(const char* name);
    static std::string moduleName();
    // The module name up to its first '.'.
    static std::string moduleBaseName();
    // The caption of the application's own boxes: the module base name, else
    // "QnCOGUI11" while no module name is registered.
    static std::string applicationTitle();

    // Full path of the named loaded module (the registered one when name is null).
    static std::optional<std::string> getModulePath(const char* name);
    // Directory of the registered module, without a trailing backslash; cached.
    static std::string getModuleDirectory();

    // Empty when unset; a value of 260 characters or more is refused with a box.
    static std::string getEnvironmentValue(const char* name);

    // A value of the settings file; empty section: "general"; empty file: <module>.ini
    // beside the module. Trailing blanks are removed as described there.
    static std::string readIniValue(const char* key, const char* section, const char* fileName);

    // The four numbers of the module's "FileVersion" string. False (reported when the
    // resource cannot be read) when there is none.
    static bool getDLLversions(unsigned long versions[4], const char* moduleName);

    struct VersionInfo {
        std::time_t lastWriteTime = 0;
        std::string CompanyName, FileDescription, FileVersion, InternalName, LegalCopyright, OriginalFilename,
            ProductName, ProductVersion, Comments, LegalTrademarks, PrivateBuild, SpecialBuild;
    };
    // Raises FInfoErr with the failing step's system error code.
    static VersionInfo readVersionInfo(const char* path);
};

// The error readVersionInfo raises.
struct FInfoErr {
    DWORD errorCode;
};

// The four numbers of a "FileVersion" text: split at '.' when it has one, else at ',';
// each piece read as atol does; missing pieces are 0. "37, 0, 0, 1" gives 37,0,0,1.
std::array<unsigned long, 4> splitFileVersion(const std::string& fileVersion);
