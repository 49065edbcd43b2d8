#include "ServerTestKit.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <memory>
#include <type_traits>

namespace servertest {

std::wstring binDirectory()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring directory = path;
    return directory.substr(0, directory.rfind(L'\\'));
}

std::wstring builtDllPath() { return binDirectory() + L"\\QnCOGUI11.dll"; }

std::wstring newGuidText()
{
    GUID guid{};
    CoCreateGuid(&guid);
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return text;
}

ServerDll::ServerDll(const std::wstring& path) : module_(LoadLibraryW(path.c_str()))
{
    if (!module_)
        return;
    auto bind = [&](auto& function, const char* name) {
        function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(
            reinterpret_cast<void*>(GetProcAddress(module_, name)));
    };
    bind(canUnloadNow_, "DllCanUnloadNow");
    bind(getClassObject_, "DllGetClassObject");
    bind(registerServer_, "DllRegisterServer");
    bind(unregisterServer_, "DllUnregisterServer");
    if (!canUnloadNow_ || !getClassObject_ || !registerServer_ || !unregisterServer_) {
        FreeLibrary(module_);
        module_ = nullptr;
    }
}

ServerDll::~ServerDll()
{
    if (module_)
        FreeLibrary(module_);
}

std::wstring ServerDll::path() const
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(module_, path, MAX_PATH);
    return path;
}

TestRegistryKey::TestRegistryKey() : path_(L"Software\\QnCOGUI11ServerTests\\" + newGuidText())
{
    RegCreateKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
}

TestRegistryKey::~TestRegistryKey()
{
    if (key_)
        RegCloseKey(key_);
    RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\QnCOGUI11ServerTests");  // only when no other test uses it
}

PrivateClassesRoot::PrivateClassesRoot()
{
    // Without a key of its own, the override would be the machine's classes root.
    if (key_.get())
        active_ = RegOverridePredefKey(HKEY_CLASSES_ROOT, key_.get()) == ERROR_SUCCESS;
}

PrivateClassesRoot::~PrivateClassesRoot()
{
    if (active_)
        RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
}

ProductFolder::ProductFolder()
{
    wchar_t appData[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData);
    vendor_ = std::wstring(appData) + L"\\Corvatek";
    product_ = vendor_ + L"\\Corvane Quillon CAPE-OPEN";
    madeVendor_ = CreateDirectoryW(vendor_.c_str(), nullptr) != 0;
    madeProduct_ = CreateDirectoryW(product_.c_str(), nullptr) != 0;
}

ProductFolder::~ProductFolder()
{
    if (madeProduct_) {
        DeleteFileW((product_ + L"\\QnCOGUI11.trc").c_str());
        RemoveDirectoryW(product_.c_str());
    }
    if (madeVendor_)
        RemoveDirectoryW(vendor_.c_str());
}

namespace {

// Every test of the server runs on a machine where the product is installed.
class ProductFolderEnvironment : public ::testing::Environment {
public:
    void SetUp() override { folder_ = std::make_unique<ProductFolder>(); }
    void TearDown() override { folder_.reset(); }

private:
    std::unique_ptr<ProductFolder> folder_;
};

[[maybe_unused]] ::testing::Environment* const productFolderEnvironment =
    ::testing::AddGlobalTestEnvironment(new ProductFolderEnvironment);

void collect(HKEY key, const std::wstring& path, RegistrySnapshot& result)
{
    auto& values = result[path];
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD nameLength = 256;
        DWORD type = 0;
        BYTE data[2048];
        DWORD size = sizeof data;
        if (RegEnumValueW(key, index, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS)
            break;
        std::wstring text = type == REG_SZ ? std::wstring(reinterpret_cast<wchar_t*>(data), size / sizeof(wchar_t))
                                           : L"<type " + std::to_wstring(type) + L">";
        while (!text.empty() && text.back() == L'\0')
            text.pop_back();
        values[name] = text;
    }
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD nameLength = 256;
        if (RegEnumKeyExW(key, index, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        HKEY child = nullptr;
        if (RegOpenKeyExW(key, name, 0, KEY_READ, &child) == ERROR_SUCCESS) {
            collect(child, path.empty() ? name : path + L"\\" + name, result);
            RegCloseKey(child);
        }
    }
}

}  // namespace

RegistrySnapshot snapshot(HKEY root, const std::wstring& subkey)
{
    RegistrySnapshot result;
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return result;
    collect(key, L"", result);
    RegCloseKey(key);
    return result;
}

bool keyExists(HKEY root, const std::wstring& subkey)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

std::wstring stringValue(HKEY root, const std::wstring& subkey, const std::wstring& name)
{
    wchar_t data[1024] = {};
    DWORD size = sizeof data - sizeof(wchar_t);
    if (RegGetValueW(root, subkey.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return L"<missing>";
    return data;
}

void createKey(HKEY root, const std::wstring& subkey)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) ==
        ERROR_SUCCESS)
        RegCloseKey(key);
}

void setStringValue(HKEY root, const std::wstring& subkey, const std::wstring& name, const std::wstring& text)
{
    RegSetKeyValueW(root, subkey.c_str(), name.c_str(), REG_SZ, text.c_str(),
                    static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

}  // namespace servertest
