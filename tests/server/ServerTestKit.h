#pragma once
// Machine state and modules the COM server tests arrange, each undone by its destructor.
#include <windows.h>
#include <objbase.h>

#include <map>
#include <string>

namespace servertest {

// The directory of the test executable, where the build also puts QnCOGUI11.dll.
std::wstring binDirectory();
std::wstring builtDllPath();
std::wstring newGuidText();

// QnCOGUI11.dll loaded into this process by path, with its four exports.
class ServerDll {
public:
    explicit ServerDll(const std::wstring& path = builtDllPath());
    ~ServerDll();
    ServerDll(const ServerDll&) = delete;
    ServerDll& operator=(const ServerDll&) = delete;

    bool loaded() const { return module_ != nullptr; }
    HMODULE module() const { return module_; }
    std::wstring path() const;

    HRESULT canUnloadNow() const { return canUnloadNow_(); }
    HRESULT getClassObject(REFCLSID clsid, REFIID iid, void** out) const { return getClassObject_(clsid, iid, out); }
    HRESULT registerServer() const { return registerServer_(); }
    HRESULT unregisterServer() const { return unregisterServer_(); }

private:
    HMODULE module_ = nullptr;
    HRESULT(STDAPICALLTYPE* canUnloadNow_)() = nullptr;
    HRESULT(STDAPICALLTYPE* getClassObject_)(REFCLSID, REFIID, void**) = nullptr;
    HRESULT(STDAPICALLTYPE* registerServer_)() = nullptr;
    HRESULT(STDAPICALLTYPE* unregisterServer_)() = nullptr;
};

// A registry key of the test's own under HKCU\Software\QnCOGUI11ServerTests, deleted with
// everything below it.
class TestRegistryKey {
public:
    TestRegistryKey();
    ~TestRegistryKey();
    TestRegistryKey(const TestRegistryKey&) = delete;
    TestRegistryKey& operator=(const TestRegistryKey&) = delete;

    HKEY get() const { return key_; }
    // Path below HKEY_CURRENT_USER.
    const std::wstring& path() const { return path_; }

private:
    std::wstring path_;
    HKEY key_ = nullptr;
};

// While it lives, HKEY_CLASSES_ROOT of this process is an empty key of the test's own:
// what registration writes lands there and the machine's classes stay untouched.
class PrivateClassesRoot {
public:
    PrivateClassesRoot();
    ~PrivateClassesRoot();
    PrivateClassesRoot(const PrivateClassesRoot&) = delete;
    PrivateClassesRoot& operator=(const PrivateClassesRoot&) = delete;

    HKEY get() const { return key_.get(); }
    // False when the private key could not be made: nothing may be registered then.
    bool active() const { return active_; }

private:
    TestRegistryKey key_;
    bool active_ = false;
};

// Key path (relative to the snapshot's root, "" for the root) -> value name ("" for
// the default) -> string data; keys without values appear with an empty map.
using RegistrySnapshot = std::map<std::wstring, std::map<std::wstring, std::wstring>>;
RegistrySnapshot snapshot(HKEY root, const std::wstring& subkey = L"");

// The product's folder below the user's local application data, where the library
// writes its trace file; made for the test run when missing (as the product's
// installer would), removed afterwards with what the run wrote into it.
class ProductFolder {
public:
    ProductFolder();
    ~ProductFolder();
    ProductFolder(const ProductFolder&) = delete;
    ProductFolder& operator=(const ProductFolder&) = delete;

private:
    std::wstring vendor_, product_;
    bool madeVendor_ = false, madeProduct_ = false;
};

bool keyExists(HKEY root, const std::wstring& subkey);
// The string value, or "<missing>".
std::wstring stringValue(HKEY root, const std::wstring& subkey, const std::wstring& name = L"");
void createKey(HKEY root, const std::wstring& subkey);
void setStringValue(HKEY root, const std::wstring& subkey, const std::wstring& name, const std::wstring& text);

}  // namespace servertest
