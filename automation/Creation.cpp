// Creating the chosen component: directly from its ProgID (on this computer or on
// serverName) and checked for the interface its category requires and the version
// it was registered with; or, for a CAPE-OPEN 1.1 selection outside the unit
// operations, as a property package (CreationFromManager.cpp). The component is
// handed to the host and kept for persistence.
#include "automation/Creation.h"

#include "CapeOpen.h"

#include "automation/BstrText.h"
#include "automation/CCCAPEGUI.h"
#include "automation/CapeVersion.h"
#include "automation/MethodBoundary.h"
#include "automation/RaisedError.h"
#include "automation/Termination.h"
#include "support/AnsiText.h"
#include "support/ErrorReport.h"
#include "support/ForeignCall.h"

namespace {

// A component is made by a server of its own (in-process, local or remote), never
// through an in-process handler.
constexpr DWORD kCreationContext = kAnyServerContext & ~CLSCTX_INPROC_HANDLER;

constexpr long kVersion10 = 100;
constexpr long kVersion11 = 110;
constexpr long kVersionNotSupported = 1000;

constexpr std::string_view kVersionNotValidated =
    "The component '%s' implements version '%s' of the interface '%s', which has not been validated with the "
    "current version of Corvane Veltrix CAPE-OPEN 1.1. This will probably cause unexpected behaviour of the "
    "application. Please consult support for an upgrade of Corvane Veltrix CAPE-OPEN 1.1.";
constexpr std::string_view kOtherVersion =
    "The CAPE-OPEN component '%s' has been registered as being compliant to CAPE-OPEN version '%s', but it "
    "implements instead version '%s' of the interface '%s'";

}  // namespace

const IID& expectedInterfaceIID(unsigned long category, long version)
{
    switch (category) {
    case catf_UnitOperation:
        return version == kVersion10 || version == kVersion11 ? IID_ICapeUnit : IID_ICapeThermoPropertyPackageManager;
    case catf_CO11PropertyPackageManager:
        return IID_ICapeThermoPropertyPackageManager;
    case catf_CO11PropertyPackage:
        return IID_ICapeThermoPropertyRoutine;
    default:
        return IID_IDispatch;
    }
}

std::string interfaceDisplayName(REFIID iid)
{
    std::string name;
    if (SUCCEEDED(interfaceNameFromIID(iid, name)) && !name.empty())
        return name;
    static const struct {
        const IID* iid;
        const char* name;
    } known[] = {
        {&IID_IDispatch, "IDispatch"},
        {&IID_ICapeUnit, "ICapeUnit"},
        {&IID_ICapeUtilities, "ICapeUtilities"},
        {&IID_ICapeIdentification, "ICapeIdentification"},
        {&IID_ICapeThermoPropertyPackageManager, "ICapeThermoPropertyPackageManager"},
        {&IID_ICapeThermoPropertyRoutine, "ICapeThermoPropertyRoutine"},
        {&IID_ICapeThermoEquilibriumRoutine, "ICapeThermoEquilibriumRoutine"},
        {&IID_ICapeThermoMaterialContext, "ICapeThermoMaterialContext"},
    };
    for (const auto& entry : known)
        if (IsEqualIID(iid, *entry.iid))
            return entry.name;
    wchar_t text[40] = {};
    StringFromGUID2(iid, text, 40);
    return toAnsi(text);
}

std::string fillText(std::string_view pattern, std::initializer_list<std::string_view> values)
{
    std::string text;
    auto next = values.begin();
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 's' && next != values.end()) {
            text.append(*next++);
            ++i;
        } else {
            text.push_back(pattern[i]);
        }
    }
    return text;
}

HRESULT initializeUtilities(IUnknown* object)
{
    ComPtr<ICapeUtilities> utilities;
    if (FAILED(queryInterfaceOf(object, IID_ICapeUtilities, utilities)))
        return S_OK;
    return callForeign("Initialize", [&] { return utilities->Initialize(); });
}

HRESULT CCCAPEGUI::createValidatedComponent(const wchar_t* progId, unsigned long category, ComPtr<IDispatch>& out)
{
    const std::string progIdText = toAnsi(progId);
    const IID& iid = expectedInterfaceIID(category, compCOversion);

    CLSID clsid;
    HRESULT hr = clsidForProgID(progId, clsid);
    if (FAILED(hr))
        return hr;  // reported there
    const std::string name = interfaceDisplayName(iid);

    ComPtr<IDispatch> created;
    const wchar_t* server = serverName;
    hr = createInterface(clsid, nullptr, kCreationContext, IID_IDispatch, created.putVoid(), server);
    if (FAILED(hr)) {
        // createInterface has shown its own box; this one says which component it was.
        const std::string message = fillText(kCreationFailed, {progIdText, progIdText, name});
        return reportError(hr, message.c_str(), nullptr, hostWindow, true);
    }

    if (compCOversion == kVersionNotSupported) {
        const std::string message = fillText(kVersionNotValidated, {progIdText, itemCOVersionText, name});
        reportError(kWarningCode, message.c_str(), nullptr, hostWindow, true);
    }

    // Interfaces of 1.1 first; for the categories whose interface does not depend on
    // the version both questions are the same.
    long matched = kVersion11;
    ComPtr<IDispatch> answer;
    hr = created.queryInterface(expectedInterfaceIID(category, kVersion11), answer);
    if (FAILED(hr) || !answer) {
        matched = kVersion10;
        hr = created.queryInterface(expectedInterfaceIID(category, kVersion10), answer);
    }
    if (FAILED(hr) || !answer) {
        if (SUCCEEDED(hr))
            hr = E_NOINTERFACE;  // success without an interface is no answer
        const std::string message = fillText(kInterfaceMissing, {progIdText, name});
        return reportError(hr, message.c_str(), nullptr, hostWindow, true);
    }

    // The component answers for another version than it was registered with: the
    // user is warned, and the component is used through the interface it has.
    if (compCOversion != 0 && compCOversion != matched && !itemCOVersionText.empty()) {
        ComPtr<IDispatch> registered;
        if (FAILED(created.queryInterface(expectedInterfaceIID(category, compCOversion), registered))) {
            const std::string message =
                fillText(kOtherVersion, {progIdText, itemCOVersionText, coVersionText(matched), name});
            reportError(kWarningCode, message.c_str(), nullptr, hostWindow, true);
        }
    }

    out = std::move(answer);
    return S_OK;
}

// The host receives one reference to the component (and on the package-manager road
// one to the manager); the object keeps one more of each. Out parameters are
// written only when everything succeeded: a failure hands the host nothing to release.
HRESULT STDMETHODCALLTYPE CCCAPEGUI::createComp(IDispatch** comp, IDispatch** parentOut)
{
    const auto alive = enterMethod();
    return methodBoundary("createComp", hostWindow, [&]() -> HRESULT {
        if (!comp)
            return E_POINTER;
        *comp = nullptr;

        // A 1.1 selection goes through its manager, except under the unit-operation filter.
        const bool direct = compCOversion != kVersion11 || categoryFilter == catf_UnitOperation;
        ComPtr<IDispatch> created;
        ComPtr<IDispatch> manager;
        HRESULT hr = direct ? createValidatedComponent(toWide(itemProgID).c_str(), categoryFilter, created)
                            : createFromPackageManager(toWide(itemProgID).c_str(), toWide(parentProgID).c_str(),
                                                       created, manager);
        if (FAILED(hr))
            return hr;  // reported there

        // The package road initialised what it made: a failure from here on
        // terminates it again before it is released.
        TerminateUnlessKept startedPackage(direct ? nullptr : created);
        TerminateUnlessKept startedManager(direct ? nullptr : manager);

        // setComponent takes over the object's own reference. When it fails, the host
        // gets nothing and the object keeps what it held before, so that a later
        // saveStorage still saves the component the document has.
        ComPtr<IDispatch> previousComponent = component;
        const PersistKind previousPersistType = persistType;
        ComPtr<IDispatch> kept = created;
        hr = setComponent(kept.detach());
        if (FAILED(hr)) {
            component = previousComponent;  // reported there
            persistType = previousPersistType;
            return hr;
        }
        // What the library started and now lets go of is terminated first.
        if (startedComponent && previousComponent.get() != component.get())
            terminateQuietly(previousComponent.get());
        startedComponent = !direct;
        if (!direct) {
            if (startedParent && parent.get() != manager.get())
                terminateQuietly(parent.get());
            startedParent = static_cast<bool>(manager);
            parent = manager;  // none for a package made by its own ProgID
            if (parentOut)
                *parentOut = ComPtr<IDispatch>(manager).detach();
        }
        startedPackage.keep();
        startedManager.keep();
        *comp = created.detach();
        leaveMethodOK();
        return hr;
    });
}
