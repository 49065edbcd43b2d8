#include "automation/CCCAPEGUI.h"

#include <new>

#include "automation/MethodBoundary.h"
#include "support/ErrorReport.h"
#include "support/MTUtils.h"

namespace {
// The type library that describes ICCAPEGUI (embedded in the module, registered by
// DllRegisterServer); version 1.1, locale 0x409.
constexpr WORD kTypeLibMajor = 1;
constexpr WORD kTypeLibMinor = 1;
constexpr LCID kTypeLibLocale = 0x409;
// "The requested resource is in use."
constexpr HRESULT kDialogAlreadyOpen = HRESULT_FROM_WIN32(ERROR_BUSY);
}  // namespace

HRESULT CCCAPEGUI::createInstance(IUnknown* outer, REFIID iid, void** out)
{
    return createComObject<CCCAPEGUI>(outer, iid, out);
}

CCCAPEGUI::CCCAPEGUI(IUnknown* outer)
    : ComObjectRoot(outer),
      dispatch_(LIBID_QNSHOWCOCATIDS11Lib, kTypeLibMajor, kTypeLibMinor, kTypeLibLocale, IID_ICCAPEGUI)
{
    MTUtils::setModuleName("QnCOGUI11");
}

CCCAPEGUI::~CCCAPEGUI() = default;

HRESULT CCCAPEGUI::FinalConstruct()
{
    hostWindow = nullptr;
    warningsEnabled = true;
    categoryFilter = catf_All;
    compCOversion = 0;
    persistType = 0;
    container = nullptr;
    component = nullptr;
    parent = nullptr;
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
    HRESULT cleared = VariantClear(&supportedPhaseTypes);
    if (FAILED(cleared))
        reportError(cleared, "Unexpected error ", nullptr, nullptr, true);
    // The host window must not own boxes shown after the object is gone.
    if (defaultOwnerWindow() == hostWindow)
        setDefaultOwnerWindow(nullptr);
}

IUnknown* CCCAPEGUI::findInterface(REFIID iid)
{
    if (IsEqualIID(iid, IID_ICCAPEGUI) || IsEqualIID(iid, IID_IDispatch))
        return static_cast<ICCAPEGUI*>(this);
    return nullptr;
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::QueryInterface(REFIID iid, void** out)
{
    return controllingQueryInterface(iid, out);
}

ULONG STDMETHODCALLTYPE CCCAPEGUI::AddRef() { return controllingAddRef(); }

ULONG STDMETHODCALLTYPE CCCAPEGUI::Release() { return controllingRelease(); }

HRESULT STDMETHODCALLTYPE CCCAPEGUI::GetTypeInfoCount(UINT* count) { return dispatch_.getTypeInfoCount(count); }

HRESULT STDMETHODCALLTYPE CCCAPEGUI::GetTypeInfo(UINT index, LCID, ITypeInfo** info)
{
    return dispatch_.getTypeInfo(index, info);
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    return dispatch_.getIDsOfNames(iid, names, count, ids);
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                                            VARIANT* result, EXCEPINFO* exception, UINT* argumentError)
{
    return dispatch_.invoke(static_cast<ICCAPEGUI*>(this), id, iid, flags, params, result, exception,
                            argumentError);
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

void CCCAPEGUI::leaveMethodOK()
{
    setDefaultOwnerWindow(nullptr);
    SetErrorInfo(0, nullptr);
}

std::string CCCAPEGUI::itemDisplayName() const { return itemAlias.empty() ? itemProgID : itemAlias; }
