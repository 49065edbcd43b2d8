#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "CapeOpen.h"

// What a fake Property Package Manager puts into GetPropertyPackageList's VARIANT.
using PackageListFiller = std::function<HRESULT(VARIANT*)>;

// The filler of a well-behaved manager: a one-dimensional array of BSTR names.
PackageListFiller packageNames(std::vector<std::wstring> names);

// A CAPE-OPEN 1.1 Property Package Manager served by this process for the length of
// a test: its class object is registered for clsid (CoRegisterClassObject), so that
// COM creates it like any registered component. queryFailure, when not S_OK, is what
// QueryInterface answers for ICapeThermoPropertyPackageManager; creationFailure,
// when not S_OK, is what the class factory answers instead of an object.
class ServedManager {
public:
    ServedManager(const CLSID& clsid, PackageListFiller filler, HRESULT queryFailure = S_OK,
                  HRESULT creationFailure = S_OK);
    ~ServedManager();
    ServedManager(const ServedManager&) = delete;
    ServedManager& operator=(const ServedManager&) = delete;

    // Objects of this class alive now.
    int liveObjects() const;

private:
    IClassFactory* factory_ = nullptr;
    DWORD cookie_ = 0;
};
