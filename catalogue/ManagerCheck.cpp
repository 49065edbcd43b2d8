// The check of a 1.1 Property Package Manager: what the Component Manager does with
// it (create it, ask for its package list), without showing a box when that fails.
#include "catalogue/PackageList.h"
#include "catalogue/RegistrationChecks.h"
#include "support/ComPtr.h"
#include "support/ErrorReport.h"
#include "support/ForeignCall.h"

void checkManager(REFCLSID clsid, Findings& findings)
{
    // Whatever error object is on the thread now belongs to someone else's failure.
    SetErrorInfo(0, nullptr);
    ComPtr<IUnknown> manager;
    const HRESULT created =
        createInterfaceQuietly(clsid, nullptr, kAnyServerContext, IID_IUnknown, manager.putVoid(), nullptr);
    if (FAILED(created)) {
        findings.error("cannot be created: " + failureText(created) +
                       "; reinstall the component, or ask its vendor (a licence may be missing)");
        return;
    }
    SetErrorInfo(0, nullptr);
    const PackageListing listing = readPackageListing(manager.get());
    if (FAILED(listing.interfaceResult))
        findings.error("does not answer for ICapeThermoPropertyPackageManager: " +
                       failureText(listing.interfaceResult) + "; hosts cannot take packages from it: ask its vendor");
    else if (listing.listResult == kCallRaisedException)
        findings.error("crashes when asked for its property package list: " + failureText(listing.listResult) +
                       "; hosts that ask for it may crash too: ask its vendor");
    else if (FAILED(listing.listResult))
        findings.error("its property package list fails: " + failureText(listing.listResult) +
                       "; check the manager's configuration, or ask its vendor");
    else if (listing.messageLine == kNoPackagesLine)
        findings.warning("its property package list is empty; hosts offer no package from it: "
                         "configure packages in the manager");
    else if (listing.packageNames.empty())
        findings.warning("its property package list holds no package names; hosts offer no package from it: "
                         "ask its vendor");
    SetErrorInfo(0, nullptr);
}
