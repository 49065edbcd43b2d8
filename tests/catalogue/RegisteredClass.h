#pragma once
#include <windows.h>

#include <map>
#include <string>
#include <vector>

// Values of a "CapeDescription" key: value name to text.
using DescriptionTexts = std::map<std::string, std::string>;

// A class registered for the length of a test under a CLSID of its own: its CLSID
// key (with ProgID, implemented categories and CapeDescription values) and its
// ProgID key, removed again on destruction.
class RegisteredClass {
public:
    // progIdStem gets a unique suffix; an empty stem registers no ProgID at all.
    RegisteredClass(const std::string& progIdStem, const std::vector<std::string>& catids);
    ~RegisteredClass();
    RegisteredClass(const RegisteredClass&) = delete;
    RegisteredClass& operator=(const RegisteredClass&) = delete;

    const CLSID& clsid() const { return clsid_; }
    // Braced, upper case: as StringFromCLSID writes it.
    const std::string& clsidText() const { return clsidText_; }
    const std::string& progId() const { return progId_; }

    void describe(const DescriptionTexts& values) const;
    void describePackage(const std::string& package, const DescriptionTexts& values) const;
    // Any registry value under the class's key (relative path).
    void setValue(const std::string& subkey, const char* name, DWORD type, const void* data, DWORD size) const;

private:
    CLSID clsid_{};
    std::string clsidText_;
    std::string progId_;
};

// A registry key under HKEY_CLASSES_ROOT, created with values and deleted afterwards.
void writeClassesRootText(const std::string& subkey, const char* name, const std::string& text);
