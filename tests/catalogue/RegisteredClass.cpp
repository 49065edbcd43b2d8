#include "RegisteredClass.h"

#include <objbase.h>

#include <stdexcept>

#include "support/AnsiText.h"
#include "support/RegKey.h"

namespace {

RegKey createKey(const std::string& path)
{
    RegKey key;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(),
                        nullptr) != ERROR_SUCCESS)
        throw std::runtime_error("cannot create HKCR\\" + path);
    return key;
}

}  // namespace

void writeClassesRootText(const std::string& subkey, const char* name, const std::string& text)
{
    RegKey key = createKey(subkey);
    RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
}

RegisteredClass::RegisteredClass(const std::string& progIdStem, const std::vector<std::string>& catids)
{
    CoCreateGuid(&clsid_);
    wchar_t text[40] = {};
    StringFromGUID2(clsid_, text, 40);
    clsidText_ = toAnsi(text);
    const std::string classKey = "CLSID\\" + clsidText_;
    createKey(classKey);
    if (!progIdStem.empty()) {
        // The CLSID's first group keeps ProgIDs of concurrent runs apart.
        progId_ = progIdStem + "." + clsidText_.substr(1, 8);
        writeClassesRootText(classKey + "\\ProgID", nullptr, progId_);
        writeClassesRootText(progId_ + "\\CLSID", nullptr, clsidText_);
    }
    for (const std::string& catid : catids)
        createKey(classKey + "\\Implemented Categories\\" + catid);
}

RegisteredClass::~RegisteredClass()
{
    RegDeleteTreeA(HKEY_CLASSES_ROOT, ("CLSID\\" + clsidText_).c_str());
    RegDeleteKeyA(HKEY_CLASSES_ROOT, ("CLSID\\" + clsidText_).c_str());
    if (!progId_.empty()) {
        RegDeleteTreeA(HKEY_CLASSES_ROOT, progId_.c_str());
        RegDeleteKeyA(HKEY_CLASSES_ROOT, progId_.c_str());
    }
}

void RegisteredClass::describe(const DescriptionTexts& values) const
{
    for (const auto& [name, text] : values)
        writeClassesRootText("CLSID\\" + clsidText_ + "\\CapeDescription", name.c_str(), text);
}

void RegisteredClass::describePackage(const std::string& package, const DescriptionTexts& values) const
{
    const std::string key = "CLSID\\" + clsidText_ + "\\PropertyPackages\\" + package + "\\CapeDescription";
    createKey(key);
    for (const auto& [name, text] : values)
        writeClassesRootText(key, name.c_str(), text);
}

void RegisteredClass::setValue(const std::string& subkey, const char* name, DWORD type, const void* data,
                               DWORD size) const
{
    RegKey key = createKey("CLSID\\" + clsidText_ + (subkey.empty() ? "" : "\\" + subkey));
    RegSetValueExA(key.get(), name, 0, type, static_cast<const BYTE*>(data), size);
}
