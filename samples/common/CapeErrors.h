#pragma once
#include <windows.h>
#include <oleauto.h>
#include <new>
#include <string>

// The CAPE-OPEN error codes the samples return (eCapeErrorInterfaceHR), and the COM
// error object that goes with every failure: a caller reads the text through
// GetErrorInfo after the object said yes to ISupportErrorInfo.
namespace sample {

inline constexpr HRESULT ECapeUnknownHR = static_cast<HRESULT>(0x80040501);
inline constexpr HRESULT ECapeInvalidArgumentHR = static_cast<HRESULT>(0x80040506);
inline constexpr HRESULT ECapeOutOfBoundsHR = static_cast<HRESULT>(0x80040507);
inline constexpr HRESULT ECapeNoImplHR = static_cast<HRESULT>(0x80040509);
inline constexpr HRESULT ECapeFailedInitialisationHR = static_cast<HRESULT>(0x8004050F);
inline constexpr HRESULT ECapeBadInvOrderHR = static_cast<HRESULT>(0x80040511);
inline constexpr HRESULT ECapePersistenceHR = static_cast<HRESULT>(0x80040513);
inline constexpr HRESULT ECapeThrmPropertyNotAvailableHR = static_cast<HRESULT>(0x8004051A);

// Sets the thread's error object (description, source, interface) and returns hr,
// so that a method can end with `return raiseError(...)`.
HRESULT raiseError(HRESULT hr, const wchar_t* description, const wchar_t* source, REFIID iid) noexcept;
inline HRESULT raiseError(HRESULT hr, const std::wstring& description, const wchar_t* source, REFIID iid) noexcept
{
    return raiseError(hr, description.c_str(), source, iid);
}

// The one boundary of a COM method: runs body (which returns an HRESULT) and turns
// anything it throws into an error code with an error object. Nothing escapes.
template <class Body>
HRESULT guarded(const wchar_t* source, REFIID iid, Body&& body) noexcept
{
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return raiseError(E_OUTOFMEMORY, L"Out of memory.", source, iid);
    } catch (...) {
        return raiseError(ECapeUnknownHR, L"Unexpected internal failure.", source, iid);
    }
}

}  // namespace sample
