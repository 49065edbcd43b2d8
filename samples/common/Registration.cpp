#include "Registration.h"

#include <objbase.h>
#include <comcat.h>
#include <utility>

#include "ComRef.h"
#include "ModuleState.h"

namespace sample {

const ComponentCategory categoryCapeOpenComponent{
    {0x678C09A1, 0x7D66, 0x11D2, {0xA6, 0x7D, 0x00, 0x10, 0x5A, 0x42, 0x88, 0x7F}}, L"CAPE-OPEN Component"};
const ComponentCategory categoryUnitOperation{
    {0x678C09A5, 0x7D66, 0x11D2, {0xA6, 0x7D, 0x00, 0x10, 0x5A, 0x42, 0x88, 0x7F}}, L"CAPE-OPEN Unit Operation"};
const ComponentCategory categoryPropertyPackageManager11{
    {0xCF51E383, 0x0110, 0x4ED8, {0xAC, 0xB7, 0xB5, 0x0C, 0xFD, 0xE6, 0x90, 0x8E}},
    L"CAPE-OPEN 1.1 Property Package Manager"};
const ComponentCategory categoryPropertyPackage11{
    {0xCF51E384, 0x0110, 0x4ED8, {0xAC, 0xB7, 0xB5, 0x0C, 0xFD, 0xE6, 0x90, 0x8E}}, L"CAPE-OPEN 1.1 Property Package"};

namespace {

// One open registry key, closed on destruction.
class Key {
public:
    Key() = default;
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    ~Key()
    {
        if (key_)
            RegCloseKey(key_);
    }
    HKEY get() const { return key_; }
    HKEY* put() { return &key_; }

private:
    HKEY key_ = nullptr;
};

// COM for the duration of a registration call: regsvr32 and test programs may or
// may not have entered an apartment already.
class ComScope {
public:
    ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    ~ComScope()
    {
        if (SUCCEEDED(hr_))
            CoUninitialize();
    }

private:
    HRESULT hr_;
};

HRESULT fromWin32(LONG status) { return status == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(status); }

// Creates (or opens) path under parent and sets its default value when given.
HRESULT createKey(HKEY parent, const std::wstring& path, Key& key, const std::wstring* defaultValue = nullptr)
{
    HRESULT hr = fromWin32(RegCreateKeyExW(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                           KEY_READ | KEY_WRITE, nullptr, key.put(), nullptr));
    if (SUCCEEDED(hr) && defaultValue)
        hr = fromWin32(RegSetValueExW(key.get(), nullptr, 0, REG_SZ,
                                      reinterpret_cast<const BYTE*>(defaultValue->c_str()),
                                      static_cast<DWORD>((defaultValue->size() + 1) * sizeof(wchar_t))));
    return hr;
}

HRESULT setText(HKEY key, const wchar_t* name, const std::wstring& value)
{
    if (value.empty())
        return S_OK;  // a missing value, as the description's reader should see it
    return fromWin32(RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))));
}

HRESULT writeDescription(HKEY parent, const std::wstring& path, const CapeDescription& d)
{
    Key key;
    HRESULT hr = createKey(parent, path, key);
    const std::pair<const wchar_t*, const std::wstring*> values[] = {
        {L"Name", &d.name},
        {L"Description", &d.description},
        {L"About", &d.about},
        {L"CapeVersion", &d.capeVersion},
        {L"ComponentVersion", &d.componentVersion},
        {L"VendorURL", &d.vendorUrl},
        {L"HelpURL", &d.helpUrl},
    };
    for (const auto& [name, value] : values)
        if (SUCCEEDED(hr))
            hr = setText(key.get(), name, *value);
    return hr;
}

HRESULT deleteTree(const std::wstring& path)
{
    // RegDeleteTree removes the key itself too; the second call only makes sure.
    LONG status = RegDeleteTreeW(HKEY_CLASSES_ROOT, path.c_str());
    if (status == ERROR_SUCCESS)
        status = RegDeleteKeyW(HKEY_CLASSES_ROOT, path.c_str());
    return status == ERROR_FILE_NOT_FOUND ? S_OK : fromWin32(status);
}

// The ProgID key's CLSID, or empty when there is none.
std::wstring progIdClass(const std::wstring& progId)
{
    wchar_t buffer[64] = {};
    LONG size = sizeof(buffer);
    if (RegQueryValueW(HKEY_CLASSES_ROOT, (progId + L"\\CLSID").c_str(), buffer, &size) != ERROR_SUCCESS)
        return {};
    buffer[63] = L'\0';
    return buffer;
}

// Defines the categories the machine does not know yet, then files the class
// under all of them; both through the system's component categories manager,
// which is also what finds the class again (ICatInformation).
HRESULT registerCategories(const ClassRegistration& registration)
{
    if (registration.categories.empty())
        return S_OK;
    ComRef<ICatRegister> categories;
    HRESULT hr = CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr, CLSCTX_INPROC_SERVER, IID_ICatRegister,
                                  categories.putVoid());
    if (FAILED(hr))
        return hr;
    ComRef<ICatInformation> information;
    hr = categories->QueryInterface(IID_ICatInformation, information.putVoid());
    if (FAILED(hr))
        return hr;
    std::vector<CATID> ids;
    for (const ComponentCategory& category : registration.categories) {
        ids.push_back(category.id);
        LPWSTR known = nullptr;
        if (SUCCEEDED(information->GetCategoryDesc(category.id, 0x409, &known))) {
            CoTaskMemFree(known);
            continue;
        }
        CATEGORYINFO info{};
        info.catid = category.id;
        info.lcid = 0x409;
        lstrcpynW(info.szDescription, category.description, ARRAYSIZE(info.szDescription));
        hr = categories->RegisterCategories(1, &info);
        if (FAILED(hr))
            return hr;
    }
    return categories->RegisterClassImplCategories(registration.clsid, static_cast<ULONG>(ids.size()), ids.data());
}

HRESULT writeRegistration(const ClassRegistration& registration)
{
    const std::wstring clsid = guidText(registration.clsid);
    const std::wstring classPath = L"CLSID\\" + clsid;
    const std::wstring modulePath = module::path();
    if (modulePath.empty())
        return HRESULT_FROM_WIN32(GetLastError());

    Key classKey;
    HRESULT hr = createKey(HKEY_CLASSES_ROOT, classPath, classKey, &registration.title);
    if (FAILED(hr))
        return hr;
    {
        Key server;
        hr = createKey(classKey.get(), L"InprocServer32", server, &modulePath);
        if (SUCCEEDED(hr))
            hr = setText(server.get(), L"ThreadingModel", L"Apartment");
        if (FAILED(hr))
            return hr;
    }
    if (!registration.progId.empty()) {
        Key progIdOfClass, progIdKey, progIdClsid;
        hr = createKey(classKey.get(), L"ProgID", progIdOfClass, &registration.progId);
        if (SUCCEEDED(hr))
            hr = createKey(HKEY_CLASSES_ROOT, registration.progId, progIdKey, &registration.title);
        if (SUCCEEDED(hr))
            hr = createKey(progIdKey.get(), L"CLSID", progIdClsid, &clsid);
        if (FAILED(hr))
            return hr;
    }
    if (registration.hasCapeDescription) {
        hr = writeDescription(classKey.get(), L"CapeDescription", registration.capeDescription);
        if (FAILED(hr))
            return hr;
    }
    for (const PackageDescription& package : registration.packages) {
        hr = writeDescription(classKey.get(), L"PropertyPackages\\" + package.name + L"\\CapeDescription",
                              package.description);
        if (FAILED(hr))
            return hr;
    }
    return registerCategories(registration);
}

}  // namespace

std::wstring guidText(REFGUID guid)
{
    wchar_t buffer[40] = {};
    StringFromGUID2(guid, buffer, ARRAYSIZE(buffer));
    return buffer;
}

HRESULT registerClass(const ClassRegistration& registration)
{
    ComScope com;
    HRESULT hr = writeRegistration(registration);
    if (FAILED(hr))
        unregisterClass(registration);
    return hr;
}

HRESULT unregisterClass(const ClassRegistration& registration)
{
    ComScope com;
    const std::wstring clsid = guidText(registration.clsid);
    HRESULT result = S_OK;
    if (!registration.progId.empty() && _wcsicmp(progIdClass(registration.progId).c_str(), clsid.c_str()) == 0)
        result = deleteTree(registration.progId);
    HRESULT hr = deleteTree(L"CLSID\\" + clsid);
    return FAILED(result) ? result : hr;
}

}  // namespace sample
