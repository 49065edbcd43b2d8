// The checks of one registered class: its ProgID, its servers, its CapeDescription
// and its type library, each read in the view of HKEY_CLASSES_ROOT given.
#include "catalogue/RegistrationChecks.h"

#include <objbase.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "catalogue/ServerFile.h"
#include "support/RegKey.h"

namespace {

enum class Opened { Yes, Missing, Unreadable };

std::string rootPath(const std::string& path) { return "HKEY_CLASSES_ROOT\\" + path; }

std::string classPath(const std::string& clsid, const char* subkey) { return "CLSID\\" + clsid + "\\" + subkey; }

// A key that is there but cannot be opened is reported; a missing one is not.
Opened openKey(const ClassesRootView& view, const std::string& path, RegKey& key, Findings& findings)
{
    const LONG status = view.open(path, key);
    if (status == ERROR_SUCCESS)
        return Opened::Yes;
    if (status == ERROR_FILE_NOT_FOUND)
        return Opened::Missing;
    findings.unreadable(rootPath(path), status);
    return Opened::Unreadable;
}

// A value that is there but cannot be read, or is too long to read, is reported; a
// missing one is not.
TextValue readValue(HKEY key, const std::string& path, const char* name, Findings& findings)
{
    TextValue value = readTextValue(key, name);
    const std::string what = name ? "the value " + std::string(name) + " of " + rootPath(path) : rootPath(path);
    if (value.status == ERROR_MORE_DATA)
        findings.warning(what + " is longer than 1 MB, too long to check: ask its vendor");
    else if (value.status != ERROR_SUCCESS && value.status != ERROR_FILE_NOT_FOUND)
        findings.unreadable(what, value.status);
    return value;
}

// A value of another type than text, as findings name it: "a REG_DWORD value, not text".
std::string notText(const TextValue& value)
{
    constexpr const char* kTypes[] = {"REG_NONE",
                                      "REG_SZ",
                                      "REG_EXPAND_SZ",
                                      "REG_BINARY",
                                      "REG_DWORD",
                                      "REG_DWORD_BIG_ENDIAN",
                                      "REG_LINK",
                                      "REG_MULTI_SZ",
                                      "REG_RESOURCE_LIST",
                                      "REG_FULL_RESOURCE_DESCRIPTOR",
                                      "REG_RESOURCE_REQUIREMENTS_LIST",
                                      "REG_QWORD"};
    const std::string type = value.type < std::size(kTypes) ? kTypes[value.type] : "type " + std::to_string(value.type);
    return "a " + type + " value, not text";
}

bool readable(const TextValue& value) { return value.status == ERROR_SUCCESS || value.status == ERROR_FILE_NOT_FOUND; }

bool sameClass(const std::string& first, const std::string& second)
{
    GUID a, b;
    const std::wstring wideFirst(first.begin(), first.end()), wideSecond(second.begin(), second.end());
    return SUCCEEDED(IIDFromString(wideFirst.c_str(), &a)) && SUCCEEDED(IIDFromString(wideSecond.c_str(), &b)) &&
           IsEqualGUID(a, b);
}

// A type library path may end in the index of the resource ("x.dll\2").
bool typeLibraryFileExists(const std::string& path)
{
    if (serverFileExists(path))
        return true;
    const size_t slash = path.find_last_of('\\');
    const bool indexed = slash != std::string::npos && slash + 1 < path.size() &&
                         path.find_first_not_of("0123456789", slash + 1) == std::string::npos;
    return indexed && serverFileExists(path.substr(0, slash));
}

// The file registered for one language of one version ("win64", else "win32"): empty
// when there is none.
std::string typeLibraryFile(const ClassesRootView& view, const std::string& languagePath, Findings& findings)
{
    for (const char* platform : {"win64", "win32"}) {
        const std::string path = languagePath + "\\" + platform;
        RegKey key;
        const Opened opened = openKey(view, path, key, findings);
        if (opened == Opened::Missing)
            continue;
        if (opened == Opened::Unreadable)
            return {};
        const TextValue file = readValue(key.get(), path, nullptr, findings);
        return file.found() ? serverFilePath(file.text, false) : std::string();
    }
    return {};
}

// Whether this 64-bit process can load an in-process server file, as far as its
// headers tell; a file that cannot be read is given the benefit of the doubt. (A
// local server runs as its own process, and a .NET assembly is loaded by the runtime:
// their machines do not matter.)
bool checkLoadable(const std::string& file, Findings& findings)
{
    const ServerImage image = readServerImage(file);
    if (image.kind == ServerImage::NotProgram)
        findings.error("server file is not a program file: " + file + "; reinstall the component");
    else if (image.kind == ServerImage::Program && image.machine == IMAGE_FILE_MACHINE_I386)
        findings.error("server file is built for 32-bit programs: " + file +
                       "; this 64-bit host cannot load it (install the component's 64-bit version)");
    else if (image.kind == ServerImage::Program && image.machine != IMAGE_FILE_MACHINE_AMD64) {
        char machine[8];
        std::snprintf(machine, sizeof machine, "0x%04X", image.machine);
        findings.error("server file is built for another processor (machine " + std::string(machine) + "): " + file +
                       "; this x64 host cannot load it (ask its vendor for an x64 version)");
    } else {
        return true;
    }
    return false;
}

bool isLanguageKey(const std::string& name)
{
    return !name.empty() && name.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
}

}  // namespace

std::string readProgId(const ClassesRootView& view, const std::string& clsid, Findings& findings)
{
    const std::string path = classPath(clsid, "ProgID");
    RegKey key;
    if (openKey(view, path, key, findings) != Opened::Yes)
        return {};
    const TextValue progId = readValue(key.get(), path, nullptr, findings);
    if (progId.isOtherType())
        findings.warning("its ProgID is " + notText(progId) +
                         "; the Component Manager does not list it: reinstall the component");
    return progId.found() ? progId.text : std::string();
}

std::string checkProgId(const ClassesRootView& view, const std::string& clsid, Findings& findings)
{
    const std::size_t before = findings.all().size();
    const std::string progId = readProgId(view, clsid, findings);
    if (findings.all().size() != before)
        return progId;  // what could not be read is said already
    if (progId.empty()) {
        findings.warning("no ProgID registered; the Component Manager does not list it: reinstall the component");
        return progId;
    }
    const std::string path = progId + "\\CLSID";
    RegKey key;
    const Opened opened = openKey(view, path, key, findings);
    if (opened == Opened::Unreadable)
        return progId;
    const TextValue back = opened == Opened::Yes ? readValue(key.get(), path, nullptr, findings) : TextValue{};
    if (!readable(back))
        return progId;
    if (!back.found() || back.text.empty())
        findings.warning("ProgID " + progId + " names no class (" + rootPath(path) + " is " +
                         (back.isOtherType() ? notText(back) : "missing") +
                         "); creating it by its ProgID fails: reinstall the component");
    else if (!sameClass(back.text, clsid))
        findings.warning("ProgID " + progId + " leads to " + back.text +
                         ", not to this class; creating it by its ProgID makes that other class: "
                         "reinstall the component");
    return progId;
}

bool checkServers(const ClassesRootView& view, const std::string& clsid, Findings& findings)
{
    bool registered = false;
    bool found = true;
    for (const auto& [name, commandLine] : {std::pair{"InprocServer32", false}, std::pair{"LocalServer32", true}}) {
        const std::string path = classPath(clsid, name);
        RegKey key;
        const Opened opened = openKey(view, path, key, findings);
        if (opened == Opened::Missing)
            continue;
        registered = true;
        const TextValue value = opened == Opened::Yes ? readValue(key.get(), path, nullptr, findings) : TextValue{};
        if (opened == Opened::Unreadable || !readable(value)) {
            found = false;
            continue;
        }
        std::string file = value.found() ? serverFilePath(value.text, commandLine) : std::string();
        if (file.empty()) {
            findings.error(std::string("its ") + name + " key names no server file" +
                           (value.isOtherType() ? " (its value is " + notText(value) + ")" : "") +
                           "; reinstall the component");
            found = false;
            continue;
        }
        std::string whose;
        const bool dotNet = !commandLine && isDotNetLoader(file);
        if (dotNet) {
            // The runtime's loader is there; the component is the assembly it loads.
            const TextValue codeBase = readValue(key.get(), path, "CodeBase", findings);
            if (codeBase.found() && !codeBase.text.empty()) {
                file = codeBaseFilePath(codeBase.text);
                whose = " (the CodeBase of its .NET assembly)";
            }
        }
        if (!serverFileExists(file)) {
            findings.error("server file not found: " + file + whose +
                           "; reinstall the component, or register it again from the folder its files are in now");
            found = false;
        } else if (!commandLine && !dotNet && !checkLoadable(file, findings)) {
            found = false;
        }
    }
    if (!registered)
        findings.error("no server registered (neither InprocServer32 nor LocalServer32); reinstall the component");
    return registered && found;
}

void checkDescription(const ClassesRootView& view, const std::string& clsid, Findings& findings)
{
    const std::string path = classPath(clsid, "CapeDescription");
    RegKey key;
    const Opened opened = openKey(view, path, key, findings);
    if (opened == Opened::Missing)
        findings.warning("no CapeDescription key; hosts show it without name, description or CAPE-OPEN version: "
                         "ask its vendor for a complete registration");
    if (opened != Opened::Yes)
        return;
    const TextValue name = readValue(key.get(), path, "Name", findings);
    if (readable(name) && (!name.found() || name.text.empty()))
        findings.warning((name.isOtherType() ? "its CapeDescription Name is " + notText(name)
                                             : std::string("its CapeDescription has no Name")) +
                         "; hosts show its ProgID instead");
    const TextValue version = readValue(key.get(), path, "CapeVersion", findings);
    if (!readable(version))
        return;
    if (!version.found() || version.text.empty())
        findings.warning((version.isOtherType() ? "its CapeDescription CapeVersion is " + notText(version)
                                                : std::string("its CapeDescription has no CapeVersion")) +
                         "; hosts take it for CAPE-OPEN 1.1");
    else if (!isReadableCapeVersion(version.text))
        findings.warning("its CapeVersion \"" + version.text +
                         "\" is neither 1.0 nor 1.1; hosts may take it for the wrong CAPE-OPEN version: "
                         "ask its vendor");
}

void checkTypeLibrary(const ClassesRootView& view, const std::string& clsid, Findings& findings)
{
    const std::string path = classPath(clsid, "TypeLib");
    RegKey key;
    if (openKey(view, path, key, findings) != Opened::Yes)
        return;
    const TextValue library = readValue(key.get(), path, nullptr, findings);
    if (!readable(library))
        return;
    // The library describes the class's interfaces for IDispatch; hosts that call the
    // CAPE-OPEN interfaces directly (and their proxies, described by the CAPE-OPEN
    // type library) do not need it.
    constexpr const char* kConsequence =
        "; late-bound callers (scripts, automation clients through IDispatch) may fail: ask its vendor";
    if (!library.found() || library.text.empty()) {
        findings.warning(std::string("its TypeLib key names no type library") +
                         (library.isOtherType() ? " (its value is " + notText(library) + ")" : "") + kConsequence);
        return;
    }
    const std::string libraryPath = "TypeLib\\" + library.text;
    RegKey libraryKey;
    const Opened opened = openKey(view, libraryPath, libraryKey, findings);
    if (opened == Opened::Missing)
        findings.warning("type library " + library.text + " (named by its TypeLib key) is not registered" +
                         kConsequence);
    if (opened != Opened::Yes)
        return;
    std::vector<std::string> versions;
    if (const LONG status = readSubkeyNames(libraryKey.get(), versions); status != ERROR_SUCCESS)
        findings.unreadable(rootPath(libraryPath), status);
    std::string missingFile;
    for (const std::string& version : versions) {
        const std::string versionPath = libraryPath + "\\" + version;
        RegKey versionKey;
        if (openKey(view, versionPath, versionKey, findings) != Opened::Yes)
            continue;
        std::vector<std::string> languages;
        if (const LONG status = readSubkeyNames(versionKey.get(), languages); status != ERROR_SUCCESS)
            findings.unreadable(rootPath(versionPath), status);
        for (const std::string& language : languages) {
            if (!isLanguageKey(language))
                continue;  // FLAGS, HELPDIR
            const std::string file = typeLibraryFile(view, versionPath + "\\" + language, findings);
            if (!file.empty() && typeLibraryFileExists(file))
                return;
            if (missingFile.empty())
                missingFile = file;
        }
    }
    if (missingFile.empty())
        findings.warning("type library " + library.text + " is registered without a file" + kConsequence);
    else
        findings.warning("file of type library " + library.text + " not found: " + missingFile + kConsequence);
}

bool isReadableCapeVersion(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return false;
    const std::string number = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    char* end = nullptr;
    const double value = std::strtod(number.c_str(), &end);
    if (end != number.c_str() + number.size() || !(std::fabs(value) < 1e6))
        return false;
    // Truncated as the library truncates: 1.1 * 100 is a hair above 110.
    const long hundredths = static_cast<long>(value * 100);
    return hundredths == 100 || hundredths == 110;
}
