#pragma once
// A class installed for the length of a test, as a component's installer would leave
// it: a fresh CLSID with its ProgID, implemented categories and CapeDescription values
// under HKEY_CLASSES_ROOT, and (when it is given a creator) its class object served
// by this process with CoRegisterClassObject, so that the library creates it like any
// registered component. Everything is removed again on destruction.
#include <windows.h>
#include <objbase.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "testkit/ComDouble.h"
#include "testkit/RegistryTree.h"

namespace testkit {

// The CAPE-OPEN categories the tests' classes implement: unit operations, 1.1 property
// package managers and 1.1 property packages.
inline const std::string kUnitCatid = "{678C09A5-7D66-11D2-A67D-00105A42887F}";
inline const std::string kManagerCatid = "{CF51E383-0110-4ED8-ACB7-B50CFDE6908E}";
inline const std::string kPropertyPackageCatid = "{CF51E384-0110-4ED8-ACB7-B50CFDE6908E}";

// A new GUID of the tests' range, and its text as StringFromGUID2 writes it. Its last
// group is always 7E5700007E57, so that `scripts/harness up` can remove what a crashed
// run registered under one; the first group stays random and tells runs apart.
std::string newTestGuid(GUID& guid);

// Values of a "CapeDescription" key: value name to text.
using DescriptionTexts = std::map<std::string, std::string>;

// What the class factory does for each creation: make an object and answer for iid.
using Creator = std::function<HRESULT(REFIID iid, void** out)>;

struct ClassRegistration {
    std::string progIdStem;          // gets a unique suffix; empty: no ProgID at all
    std::vector<std::string> catids;  // Implemented Categories
    DescriptionTexts description;     // CapeDescription values; empty: no key
};

class ServedClass {
public:
    // Registered only, with no class object, when create is empty.
    explicit ServedClass(const ClassRegistration& registration, Creator create = {});
    ~ServedClass();
    ServedClass(const ServedClass&) = delete;
    ServedClass& operator=(const ServedClass&) = delete;

    const CLSID& clsid() const { return clsid_; }
    // Braced, upper case: as StringFromCLSID writes it.
    const std::string& clsidText() const { return clsidText_; }
    const std::string& progId() const { return progId_; }
    std::wstring progIdW() const { return std::wstring(progId_.begin(), progId_.end()); }
    // Objects the class factory was asked for.
    int creations() const;

    void describe(const DescriptionTexts& values) const { describeIn("CapeDescription", values); }
    void describePackage(const std::string& package, const DescriptionTexts& values) const;
    // Any text value under the class's key (subkey relative to it, may be empty).
    void setText(const std::string& subkey, const char* name, const std::string& text) const
    {
        classKey_->setText(subkey, name, text);
    }

private:
    void describeIn(const std::string& key, const DescriptionTexts& values) const;

    CLSID clsid_{};
    std::string clsidText_;
    std::string progId_;
    std::unique_ptr<RegistryTree> classKey_;
    std::unique_ptr<RegistryTree> progIdKey_;
    struct Factory;
    ComPtr<IClassFactory> factory_;  // held while served
    DWORD cookie_ = 0;
};

// Creators for the common cases.
// A new T (a ComDouble) for each creation, asked for iid: made by T(args...), or by T()
// and then handed to the argument when that is one function of T&, which prepares it.
template <class T, class... Args>
Creator creatorOf(Args... args)
{
    return [=](REFIID iid, void** out) {
        ComPtr<T> object;
        if constexpr (sizeof...(Args) == 1 && (std::is_invocable_v<const Args&, T&> && ...)) {
            object = makeDouble<T>();
            (args(*object.get()), ...);
        } else {
            object = makeDouble<T>(args...);
        }
        return object->QueryInterface(iid, out);
    };
}
// The class factory fails with hr, leaving an error object with this description.
Creator failingCreator(HRESULT hr, const std::wstring& description);
// The class factory answers S_OK and hands out no object.
inline Creator nullObjectCreator() { return [](REFIID, void**) { return S_OK; }; }

// Leaves an error object on the thread, as a failing CAPE-OPEN component does.
void leaveErrorObject(const std::wstring& description, const std::wstring& source = L"TestDouble");

}  // namespace testkit
