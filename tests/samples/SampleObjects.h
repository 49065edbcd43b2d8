#pragma once
// Small helpers of the sample tests for talking to the sample objects.
#include <windows.h>

#include <string>
#include <vector>

#include "support/ComPtr.h"

namespace samplestest {

// A new instance of the class registered under progId, or null.
ComPtr<IUnknown> createByProgId(const wchar_t* progId);
// The object asked for T (iid); null when it does not have it.
template <class T>
ComPtr<T> as(const ComPtr<IUnknown>& object, REFIID iid)
{
    ComPtr<T> result;
    if (object)
        object.queryInterface(iid, result);
    return result;
}
bool answers(IUnknown* object, REFIID iid);
// A new package of the sample manager, by name, or null.
ComPtr<IUnknown> managerPackage(const wchar_t* name);

// The elements of a one-dimensional SAFEARRAY of BSTR (empty for anything else).
std::vector<std::wstring> stringsOf(const VARIANT& list);
// The elements of a one-dimensional SAFEARRAY of doubles (empty for anything else).
std::vector<double> doublesOf(const VARIANT& list);
// The description of the thread's COM error object (empty when there is none).
std::wstring errorDescription();

}  // namespace samplestest
