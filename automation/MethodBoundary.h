#pragma once
#include <windows.h>
#include <new>

#include "automation/RaisedError.h"
#include "support/ErrorReport.h"

// The single place where what an automation method raised becomes its result: the
// failure is reported (traced, box owned by owner or the default owner) and the
// reported code returned. Nothing passes this point towards the host.
template <class Body>
HRESULT methodBoundary(const char* context, HWND owner, Body&& body) noexcept
{
    try {
        try {
            return body();
        } catch (const RaisedError& error) {
            error.restoreErrorInfo();
            return reportError(error.code(), kUnexpectedErrorText, context, owner, true);
        } catch (const std::bad_alloc&) {
            return reportError(E_OUTOFMEMORY, kOutOfMemoryText, context, owner, true);
        } catch (...) {
            return reportError(E_UNEXPECTED, kUnexpectedErrorText, context, owner, true);
        }
    } catch (...) {
        return E_UNEXPECTED;  // the report itself failed; the host still gets a failure
    }
}

// The same boundary for methods whose raised failures go another way than a box
// (persistence hands them to the host's container): report receives the raised
// code, with the error object it carried made current again, and its result is the
// method's.
template <class Report, class Body>
HRESULT methodBoundaryReportedBy(Report&& report, Body&& body) noexcept
{
    try {
        try {
            return body();
        } catch (const RaisedError& error) {
            error.restoreErrorInfo();
            return report(error.code());
        } catch (const std::bad_alloc&) {
            return report(E_OUTOFMEMORY);
        } catch (...) {
            return report(E_UNEXPECTED);
        }
    } catch (...) {
        return E_UNEXPECTED;  // the report itself failed; the host still gets a failure
    }
}
