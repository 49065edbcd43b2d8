#include "catalogue/PackageList.h"

#include "CapeOpen.h"
#include "support/AnsiText.h"
#include "support/ComPtr.h"
#include "support/ErrorReport.h"
#include "support/ForeignCall.h"
#include "support/UniqueBstr.h"
#include "support/VariantHolder.h"

namespace {

// The element at index as a name, when it is one; false for an element that cannot
// be read or is not a string.
bool readName(SAFEARRAY* array, VARTYPE elementType, LONG index, std::string& name)
{
    if (elementType == VT_BSTR) {
        UniqueBstr element;
        if (FAILED(SafeArrayGetElement(array, &index, element.put())))
            return false;
        name = toAnsi(element.text());
        return true;
    }
    VariantHolder element;
    if (FAILED(SafeArrayGetElement(array, &index, element.put())) || V_VT(&element) != VT_BSTR)
        return false;
    name = toAnsi(std::wstring(V_BSTR(&element), SysStringLen(V_BSTR(&element))));
    return true;
}

}  // namespace

std::vector<std::string> packageNamesOf(const VARIANT& list, bool& noPackages)
{
    noPackages = false;
    std::vector<std::string> names;
    if (!(V_VT(&list) & VT_ARRAY))
        return names;
    SAFEARRAY* array = (V_VT(&list) & VT_BYREF) ? (V_ARRAYREF(&list) ? *V_ARRAYREF(&list) : nullptr) : V_ARRAY(&list);
    // Bounds that cannot be read count as 0, as if the array held one element.
    LONG lower = 0;
    LONG upper = 0;
    if (!array || FAILED(SafeArrayGetLBound(array, 1, &lower)))
        lower = 0;
    if (!array || FAILED(SafeArrayGetUBound(array, 1, &upper)))
        upper = 0;
    if (upper < lower) {
        noPackages = true;
        return names;
    }
    // Only a one-dimensional array of strings (or of VARIANTs holding strings) is read:
    // an element is never read as a type it does not have.
    const VARTYPE elementType = V_VT(&list) & VT_TYPEMASK;
    if (!array || SafeArrayGetDim(array) != 1 || (elementType != VT_BSTR && elementType != VT_VARIANT))
        return names;
    VARTYPE stored = VT_EMPTY;
    if (FAILED(SafeArrayGetVartype(array, &stored)) || stored != elementType)
        return names;
    for (LONG index = lower; index <= upper; ++index) {
        std::string name;
        // A package needs a name: an empty one would read as the manager itself.
        if (readName(array, elementType, index, name) && !name.empty())
            names.push_back(std::move(name));
        if (index == upper)
            break;  // upper may be the largest LONG
    }
    return names;
}

PackageListing readPackageListing(IUnknown* object)
{
    PackageListing listing;
    ComPtr<ICapeThermoPropertyPackageManager> manager;
    HRESULT hr = queryInterfaceOf(object, IID_ICapeThermoPropertyPackageManager, manager);
    listing.interfaceResult = hr;
    if (FAILED(hr)) {
        listing.messageLine = hr == E_NOINTERFACE ? kNoManagerInterfaceLine : composeErrorMessage(hr, "", nullptr);
        return listing;
    }
    VariantHolder list;
    listing.listResult = callForeign(
        "GetPropertyPackageList", [&](VARIANT* slot) { return manager->GetPropertyPackageList(slot); }, list);
    if (FAILED(listing.listResult))
        return listing;
    bool noPackages = false;
    listing.packageNames = packageNamesOf(list, noPackages);
    if (noPackages)
        listing.messageLine = kNoPackagesLine;
    return listing;
}
