#include "support/ErrorReport.h"

#include "support/RegKey.h"
#include "support/RegistryText.h"

namespace {

// Largest value GetRegPath reads, in bytes, terminating NUL included.
constexpr DWORD kValueBufferSize = 2047;

std::string readClassesRootText(const char* subkey, const char* valueName)
{
    RegKey key;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, subkey, 0, KEY_READ, key.put()) != ERROR_SUCCESS)
        return {};
    return readRegistryText(key.get(), valueName);
}

}  // namespace

std::string readRegistryText(HKEY key, const char* valueName)
{
    char buffer[kValueBufferSize] = {};
    DWORD type = 0;
    DWORD size = sizeof buffer;
    if (RegQueryValueExA(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS)
        return {};
    // Names, descriptions and paths are strings; any other value type has no text.
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return {};
    std::string text(buffer, size);
    // The stored terminator (if the writer included one) and anything after it.
    return text.substr(0, text.find('\0'));
}

std::string GetRegPath(const char* subkey, const char* valueName)
{
    try {
        return readClassesRootText(subkey, valueName);
    } catch (...) {
        reportError(kInternalFailure, "Unexpected error in GetRegPath. ", nullptr, nullptr, true);
        return {};
    }
}
