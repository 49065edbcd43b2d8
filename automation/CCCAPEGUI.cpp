#include "automation/CCCAPEGUI.h"

#include <new>

#include "automation/MethodBoundary.h"
#include "support/ErrorReport.h"
#include "support/MTUtils.h"

namespace {
// "The requested resource is in use."
constexpr HRESULT kDialogAlreadyOpen = HRESULT_FROM_WIN32(ERROR_BUSY);
}  // namespace

HRESULT CCCAPEGUI::createInstance(IUnknown* outer, REFIID iid, void** out)
{
    return createComObject<CCCAPEGUI>(outer, iid, out);
}

CCCAPEGUI::CCCAPEGUI(IUnknown* outer) : DualObject(outer, IID_ICCAPEGUI) { MTUtils::setModuleName(kLibraryName); }

CCCAPEGUI::~CCCAPEGUI() = default;

HRESULT CCCAPEGUI::FinalConstruct()
{
    // Every other member starts from its initialiser; only the dialog can fail.
    try {
        packageDialog = std::make_unique<CCOTHConfig>();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

void CCCAPEGUI::finalRelease()
{
    // The dialog goes first: it gives back the package interface it holds before the
    // component is terminated.
    packageDialog.reset();
    releaseComponents();
    if (HRESULT cleared = supportedPhaseTypes.clear(); FAILED(cleared))
        reportUnexpected(cleared);
    // The host window must not own boxes shown after the object is gone.
    if (defaultOwnerWindow() == hostWindow)
        setDefaultOwnerWindow(nullptr);
}

ComPtr<IUnknown> CCCAPEGUI::enterMethod()
{
    setDefaultOwnerWindow(hostWindow);
    // The inner unknown: an aggregating outer may already be on its way out.
    return ComPtr<IUnknown>(innerUnknown());
}

HRESULT CCCAPEGUI::refuseWhileDialogRuns(const char* method)
{
    if (!dialogRunning)
        return S_OK;
    // Owned by the running dialog, which keeps working.
    return reportError(kDialogAlreadyOpen,
                       "A dialog of this CAPE-OPEN object is already open; close it before opening another one.",
                       method, hostWindow, true);
}

HRESULT CCCAPEGUI::refuseWhilePersisting(const char* method)
{
    if (!persisting)
        return S_OK;
    return reportError(HRESULT_FROM_WIN32(ERROR_BUSY),
                       "The component is being saved or loaded; it cannot be saved or loaded again from inside its "
                       "own calls.",
                       method, hostWindow, true);
}

void CCCAPEGUI::leaveMethodOK()
{
    setDefaultOwnerWindow(nullptr);
    SetErrorInfo(0, nullptr);
}

std::string CCCAPEGUI::itemDisplayName() const { return itemAlias.empty() ? itemProgID : itemAlias; }
