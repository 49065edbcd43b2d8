#include "support/MTUtils.h"

#include "support/ErrorReport.h"

// Process-wide identity of the module. Only the host's UI thread touches these,
// so they are plain values (see the class comment in MTUtils.h).
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

std::string MTUtils::moduleName()
{
    return g_moduleName;
}

std::string MTUtils::moduleBaseName()
{
    return g_moduleName.substr(0, g_moduleName.find('.'));
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
