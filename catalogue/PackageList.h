#pragma once
#include <windows.h>

#include <string>
#include <vector>

// What the tree shows under one Property Package Manager: either one message line
// (no record) or the names of its packages, in the manager's order. Both empty when
// the manager's list is not an array of names.
struct PackageListing {
    std::string messageLine;
    std::vector<std::string> packageNames;
    // The failure of the question for the manager's interface, or of the list call
    // (S_OK when the call was not made or succeeded), for those who explain it.
    HRESULT interfaceResult = S_OK;
    HRESULT listResult = S_OK;
};

inline constexpr const char* kNoPackagesLine = "No CAPE-OPEN Property Packages currently available";
inline constexpr const char* kNoManagerInterfaceLine =
    "Object does not support ICapeThermoPropertyPackageManager interface";

// Asks a created manager object for ICapeThermoPropertyPackageManager and its package
// list. A list that is an array of strings gives its names; an empty array the
// no-packages line; an array of VARIANTs gives its string elements; anything else
// (another element type, more than one dimension, not an array, a failed call)
// nothing. An object without the interface gives the message line that says so.
PackageListing readPackageListing(IUnknown* manager);

// The names held by a package list VARIANT, as readPackageListing reads them;
// noPackages is set for an array without elements.
std::vector<std::string> packageNamesOf(const VARIANT& list, bool& noPackages);
