#pragma once
#include <windows.h>
#include <string>

#include "support/VariantHolder.h"

// What the property package dialog asks of the object that shows it (the automation
// object). The dialog does not own its owner; the owner outlives every showing.
// None of these may throw: each one is its own error boundary and reports its own
// failures.
class PackageDialogOwner {
public:
    // The ProgID of the Property Package Manager the package comes from (empty for a
    // standalone package). Asked once when the dialog opens.
    virtual std::string parentProgIdOfPackage() = 0;
    // A copy of the phase types the host supports, listed as flash types. Asked once
    // when the dialog opens.
    virtual void copySupportedPhaseTypes(VariantHolder& out) = 0;
    // "Browse Static Information": the read-only Component Manager view of the item.
    virtual void showStaticInfoView() = 0;
    // "Custom View": the component's own editor. Failures are shown by the owner.
    virtual HRESULT showCustomView() = 0;

protected:
    ~PackageDialogOwner() = default;
};
