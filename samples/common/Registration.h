#pragma once
#include <windows.h>
#include <string>
#include <vector>

// Self-registration of a CAPE-OPEN component, as DllRegisterServer writes it under
// HKEY_CLASSES_ROOT:
//   <ProgID>                           (default) = title, CLSID\(default) = {clsid}
//   CLSID\{clsid}                      (default) = title
//     ProgID                           (default) = <ProgID>
//     InprocServer32                   (default) = path of this DLL, ThreadingModel = Apartment
//     Implemented Categories\{catid}   one empty key per category (through ICatRegister)
//     CapeDescription                  Name, Description, About, CapeVersion,
//                                      ComponentVersion, VendorURL, HelpURL
//     PropertyPackages\<name>\CapeDescription   per package a manager offers
// The categories themselves are defined under "Component Categories" (through
// ICatRegister) when the machine does not know them yet; they are shared by every
// component of the machine, so unregistering leaves them in place.
namespace sample {

// The CAPE-OPEN description block. An empty text is not written at all, so that a
// reader sees the value as missing.
struct CapeDescription {
    std::wstring name;
    std::wstring description;
    std::wstring about;
    std::wstring capeVersion;
    std::wstring componentVersion;
    std::wstring vendorUrl;
    std::wstring helpUrl;
};

struct ComponentCategory {
    GUID id;
    const wchar_t* description;  // English (locale 409) text, used if the category is new
};

struct PackageDescription {
    std::wstring name;
    CapeDescription description;
};

struct ClassRegistration {
    CLSID clsid;
    std::wstring progId;  // empty: the class has no ProgID
    std::wstring title;   // the default value of the class key
    std::vector<ComponentCategory> categories;
    bool hasCapeDescription = true;
    CapeDescription capeDescription;
    std::vector<PackageDescription> packages;
};

// The CAPE-OPEN categories of the published standard.
extern const ComponentCategory categoryCapeOpenComponent;         // {678C09A1-...}
extern const ComponentCategory categoryUnitOperation;             // {678C09A5-...}
extern const ComponentCategory categoryPropertyPackageManager11;  // {CF51E383-...}
extern const ComponentCategory categoryPropertyPackage11;         // {CF51E384-...}

// Writes everything above for one class, the InprocServer32 path being this DLL's.
// On failure, what was written is removed again.
HRESULT registerClass(const ClassRegistration& registration);
// Removes the class key and the ProgID key (the latter only when it still names
// this class). Keys that are already gone are no failure.
HRESULT unregisterClass(const ClassRegistration& registration);

// Braced upper-case text of a GUID, "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
std::wstring guidText(REFGUID guid);

}  // namespace sample
