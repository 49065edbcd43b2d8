// A CAPE-OPEN 1.1 property package: asked by name of its Property Package Manager,
// or created by its own ProgID when it has no manager; initialised and checked for
// the thermodynamic interfaces of 1.1.
//
// Every failure is reported here, with the component's error information, and
// returned; nothing is raised. A failure leaves the object as it was: whatever was
// obtained on the way is released (and terminated when it was initialised).
#include "CapeOpen.h"

#include "automation/CCCAPEGUI.h"
#include "automation/Creation.h"
#include "automation/RaisedError.h"
#include "automation/Termination.h"
#include "support/AnsiText.h"
#include "support/ErrorReport.h"
#include "support/ForeignCall.h"
#include "support/UniqueBstr.h"

namespace {

constexpr std::string_view kCreatingFromManager = "creating property package '%s' from property package manager '%s'";
constexpr std::string_view kNoPackageReturned =
    "When the CAPE-OPEN 1.1 Property Package Manager '%s' was requested to create the package named '%s', it "
    "returned an invalid object.";
constexpr std::string_view kLacksRoutines =
    "The component '%s', resolved by the CAPE-OPEN Property Package Manager '%s' (ProgId '%s') does not implement "
    "the interfaces ICapeThermoPropertyRoutine or ICapeThermoEquilibriumRoutine";
constexpr std::string_view kLacksMaterialContext =
    "The component '%s', resolved by the CAPE-OPEN Property Package Manager '%s' (ProgId '%s') does not implement "
    "the interface ICapeThermoMaterialContext";
constexpr std::string_view kSecondQueryFailed = "The component '%s' failed at its second QueryInterface(IID_IDispatch)";

// QueryInterface's answer, or E_NOINTERFACE for a success that gave no interface.
HRESULT ask(const ComPtr<IDispatch>& object, REFIID iid)
{
    ComPtr<IUnknown> answer;
    HRESULT hr = object.queryInterface(iid, answer);
    return SUCCEEDED(hr) && !answer ? E_NOINTERFACE : hr;
}

// A package must have ICapeUtilities, and is initialised through it. The failing
// call's error object stays on the thread for the report.
HRESULT initializePackage(const ComPtr<IDispatch>& package)
{
    ComPtr<ICapeUtilities> utilities;
    HRESULT hr = package.queryInterface(IID_ICapeUtilities, utilities);
    if (SUCCEEDED(hr) && !utilities)
        hr = E_NOINTERFACE;
    return SUCCEEDED(hr) ? callForeign("Initialize", [&] { return utilities->Initialize(); }) : hr;
}

}  // namespace

HRESULT CCCAPEGUI::createFromPackageManager(const wchar_t* package, const wchar_t* manager,
                                            ComPtr<IDispatch>& packageOut, ComPtr<IDispatch>& parentOut)
{
    if (manager && *manager)
        return packageFromManager(package, manager, packageOut, parentOut);
    parentOut = nullptr;
    return standalonePackage(package, packageOut);
}

HRESULT CCCAPEGUI::packageFromManager(const wchar_t* package, const wchar_t* manager, ComPtr<IDispatch>& packageOut,
                                      ComPtr<IDispatch>& parentOut)
{
    ComPtr<IDispatch> validated;
    HRESULT hr = createValidatedComponent(manager, catf_CO11PropertyPackageManager, validated);
    if (FAILED(hr))
        return hr;  // reported there
    // The validation hands over the interface the category requires, as the IDispatch
    // it derives from: held by its own type from here on.
    const auto managerInterface = ComPtr<ICapeThermoPropertyPackageManager>::attach(
        static_cast<ICapeThermoPropertyPackageManager*>(validated.detach()));

    const std::string packageText = toAnsi(package);
    const std::string managerText = toAnsi(manager);
    const std::string context = fillText(kCreatingFromManager, {packageText, managerText});

    // A manager without ICapeUtilities is accepted; a package must have it. A failing
    // Initialize of the manager is reported in the manager's context, with its error
    // information but without its code.
    if (FAILED(initializeUtilities(managerInterface.get())))
        return reportError(E_FAIL, context.c_str(), nullptr, hostWindow, true);

    // Whatever was initialised on the way is terminated again when the road fails.
    TerminateUnlessKept startedManager(ComPtr<IDispatch>(managerInterface.get()));
    TerminateUnlessKept startedPackage;
    ComPtr<IDispatch> created;
    UniqueBstr name(package ? package : L"");
    hr = callForeign(
        "GetPropertyPackage", [&](IDispatch** slot) { return managerInterface->GetPropertyPackage(name.get(), slot); },
        created);
    if (SUCCEEDED(hr) && created) {
        hr = initializePackage(created);
        if (SUCCEEDED(hr))
            startedPackage.guard(created);
    }
    if (FAILED(hr))
        return reportError(hr, context.c_str(), nullptr, hostWindow, true);
    if (!created) {
        const std::string message = fillText(kNoPackageReturned, {managerText, packageText});
        return reportError(E_FAIL, message.c_str(), nullptr, hostWindow, true);
    }

    ComPtr<IDispatch> managerDispatch;
    hr = managerInterface.queryInterface(IID_IDispatch, managerDispatch);
    if (SUCCEEDED(hr) && !managerDispatch)
        hr = E_NOINTERFACE;
    if (FAILED(hr))
        return reportUnexpected(hr);

    // Thermodynamics of 1.1: property routines with a material context, or at least
    // an equilibrium routine.
    hr = ask(created, IID_ICapeThermoPropertyRoutine);
    if (SUCCEEDED(hr)) {
        hr = ask(created, IID_ICapeThermoMaterialContext);
        if (FAILED(hr)) {
            const std::string message = fillText(kLacksMaterialContext, {packageText, managerText, managerText});
            return reportError(hr, message.c_str(), nullptr, hostWindow, true);
        }
    } else {
        hr = ask(created, IID_ICapeThermoEquilibriumRoutine);
        if (FAILED(hr)) {
            const std::string message = fillText(kLacksRoutines, {packageText, managerText, managerText});
            return reportError(hr, message.c_str(), nullptr, hostWindow, true);
        }
    }

    startedManager.keep();
    startedPackage.keep();
    packageOut = std::move(created);
    parentOut = std::move(managerDispatch);
    return hr;
}

HRESULT CCCAPEGUI::standalonePackage(const wchar_t* package, ComPtr<IDispatch>& packageOut)
{
    ComPtr<IDispatch> routine;  // ICapeThermoPropertyRoutine
    HRESULT hr = createValidatedComponent(package, catf_CO11PropertyPackage, routine);
    if (FAILED(hr))
        return hr;  // reported there

    const std::string packageText = toAnsi(package);
    ComPtr<IDispatch> created;
    hr = routine.queryInterface(IID_IDispatch, created);
    if (SUCCEEDED(hr) && !created)
        hr = E_NOINTERFACE;
    if (FAILED(hr)) {
        const std::string message = fillText(kSecondQueryFailed, {packageText});
        return reportError(hr, message.c_str(), nullptr, hostWindow, true);
    }

    // Refused like a package from a manager, but explained: without ICapeUtilities,
    // or when Initialize fails.
    ComPtr<ICapeUtilities> utilities;
    hr = created.queryInterface(IID_ICapeUtilities, utilities);
    if (FAILED(hr) || !utilities) {
        const std::string message = fillText(kInterfaceMissing, {packageText, "ICapeUtilities"});
        return reportError(FAILED(hr) ? hr : E_NOINTERFACE, message.c_str(), nullptr, hostWindow, true);
    }
    hr = callForeign("Initialize", [&] { return utilities->Initialize(); });
    if (FAILED(hr)) {
        RaisedError failure(hr);  // keeps the package's error object over the lookup below
        const std::string type = interfaceDisplayName(IID_ICapeThermoPropertyRoutine);
        failure.restoreErrorInfo();
        const std::string message = fillText(kCreationFailed, {packageText, packageText, type});
        return reportError(hr, message.c_str(), nullptr, hostWindow, true);
    }

    packageOut = std::move(created);
    return hr;
}
