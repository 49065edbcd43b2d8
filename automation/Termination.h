#pragma once
#include <windows.h>
#include <oleauto.h>

#include "CapeOpen.h"
#include "support/ComPtr.h"
#include "support/ForeignCall.h"

// ICapeUtilities::Terminate for an object the library initialised, before its last
// reference here goes. Its own failure is not reported (the caller is already on a
// failure road, or replacing the object) and the thread's error object is kept for
// the report that may still be made.
inline void terminateQuietly(IUnknown* object)
{
    ComPtr<ICapeUtilities> utilities;
    if (!object || FAILED(queryInterfaceOf(object, IID_ICapeUtilities, utilities)))
        return;
    ComPtr<IErrorInfo> pending;
    if (GetErrorInfo(0, pending.put()) != S_OK)
        pending = nullptr;
    callForeign("Terminate", [&] { return utilities->Terminate(); });
    SetErrorInfo(0, pending.get());
}

// Terminates the initialised object it guards when the road that made it fails:
// armed until keep() says the object was handed on.
class TerminateUnlessKept {
public:
    explicit TerminateUnlessKept(ComPtr<IDispatch> object = {}) : object_(std::move(object)) {}
    ~TerminateUnlessKept() { terminateQuietly(object_.get()); }
    TerminateUnlessKept(const TerminateUnlessKept&) = delete;
    TerminateUnlessKept& operator=(const TerminateUnlessKept&) = delete;

    void guard(ComPtr<IDispatch> object) { object_ = std::move(object); }
    void keep() { object_ = nullptr; }

private:
    ComPtr<IDispatch> object_;
};
