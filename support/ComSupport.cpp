// The platform support that <comutil.h> declares and that MinGW-w64 ships without a
// library: the text conversions of _bstr_t and the "missing argument" VARIANT.
// _com_issue_error itself is defined inline by MinGW's <comdef.h> (it throws
// _com_error through the replaceable handler), so it is not repeated here.
#include <comutil.h>

#include <new>

namespace _com_util {

// Narrow text in the active code page to a new BSTR the caller owns; null stays null.
BSTR WINAPI ConvertStringToBSTR(const char* pSrc)
{
    if (!pSrc)
        return nullptr;
    int wideLength = MultiByteToWideChar(CP_ACP, 0, pSrc, -1, nullptr, 0);
    if (wideLength <= 0) {
        _com_issue_error(HRESULT_FROM_WIN32(GetLastError()));
        return nullptr;
    }
    // wideLength counts the terminating NUL; the BSTR adds its own.
    BSTR result = SysAllocStringLen(nullptr, static_cast<UINT>(wideLength - 1));
    if (!result) {
        _com_issue_error(E_OUTOFMEMORY);
        return nullptr;
    }
    if (MultiByteToWideChar(CP_ACP, 0, pSrc, -1, result, wideLength) <= 0) {
        HRESULT failure = HRESULT_FROM_WIN32(GetLastError());
        SysFreeString(result);
        _com_issue_error(failure);
        return nullptr;
    }
    return result;
}

// A BSTR to a narrow text in the active code page, allocated with new[] because
// _bstr_t frees its cached narrow copy with delete[]. Null stays null; every
// character of the BSTR is converted, embedded NULs included.
char* WINAPI ConvertBSTRToString(BSTR pSrc)
{
    if (!pSrc)
        return nullptr;
    const int wideLength = static_cast<int>(SysStringLen(pSrc));
    int narrowLength = 0;
    if (wideLength > 0) {
        narrowLength = WideCharToMultiByte(CP_ACP, 0, pSrc, wideLength, nullptr, 0, nullptr, nullptr);
        if (narrowLength <= 0) {
            _com_issue_error(HRESULT_FROM_WIN32(GetLastError()));
            return nullptr;
        }
    }
    char* result = new (std::nothrow) char[static_cast<size_t>(narrowLength) + 1];
    if (!result) {
        _com_issue_error(E_OUTOFMEMORY);
        return nullptr;
    }
    if (narrowLength > 0 &&
        WideCharToMultiByte(CP_ACP, 0, pSrc, wideLength, result, narrowLength, nullptr, nullptr) <= 0) {
        HRESULT failure = HRESULT_FROM_WIN32(GetLastError());
        delete[] result;
        _com_issue_error(failure);
        return nullptr;
    }
    result[narrowLength] = '\0';
    return result;
}

}  // namespace _com_util

// The value passed for an optional argument that is left out.
_variant_t vtMissing(DISP_E_PARAMNOTFOUND, VT_ERROR);
