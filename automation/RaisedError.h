#pragma once
#include <windows.h>
#include <oleauto.h>

#include "support/ComPtr.h"

// A failure raised inside an automation method and caught at its boundary.
// It carries the failing code and the error object that the callee left on the
// thread: taken when raised, so that the COM calls made while unwinding (releases)
// cannot lose it, and put back just before the failure is reported, where the
// error message picks up its description and source.
class RaisedError {
public:
    explicit RaisedError(HRESULT code) : code_(code)
    {
        if (GetErrorInfo(0, info_.put()) != S_OK)
            info_ = nullptr;
    }

    HRESULT code() const { return code_; }
    // Makes the callee's error object the thread's current one again.
    void restoreErrorInfo() const { SetErrorInfo(0, info_.get()); }

private:
    HRESULT code_;
    ComPtr<IErrorInfo> info_;
};

inline void throwIfFailed(HRESULT hr)
{
    if (FAILED(hr))
        throw RaisedError(hr);
}
