#pragma once
#include <windows.h>
#include <objidl.h>

#include "support/ComPtr.h"

// The layout this library gives a component in the host's document, and what the
// persistence members share.

// persistType: which COM persistence interface the component offers.
enum PersistKind : long { kPersistNone = 0, kPersistStorage = 1, kPersistStream = 2, kPersistStreamInit = 3 };

// Requests to the host container's storageRequest.
inline constexpr long kStorageToLoadFrom = 16;
inline constexpr long kStorageToSaveInto = 18;

// Stream-based components are written into this one stream of their storage, with
// nothing of the library's own around their data.
inline constexpr wchar_t kComponentStreamName[] = L"CAPEOPEN";
// Where a save writes before its bytes replace the saved ones (never left behind).
inline constexpr wchar_t kNewComponentStreamName[] = L"CAPEOPEN.new";
// The earlier save, while a new one takes its name.
inline constexpr wchar_t kOldComponentStreamName[] = L"CAPEOPEN.old";
inline constexpr DWORD kStreamCreateMode = STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_READWRITE;  // 0x1012
inline constexpr DWORD kStreamOpenMode = STGM_SHARE_EXCLUSIVE | STGM_READ;                       // 0x10

// Components return this code from Load and InitNew (and stream-based ones from
// Load) where they did not fail; it counts as success there.
inline constexpr HRESULT kLoadedAnyway = static_cast<HRESULT>(0x800A02E1);

// The storage in the container's answer to storageRequest: the object of a VARIANT
// that holds one (VT_UNKNOWN or VT_DISPATCH, also by reference), asked for IStorage.
// None when the answer holds no object or the object is no storage; a failure of
// the question other than E_NOINTERFACE is raised.
ComPtr<IStorage> storageInAnswer(const VARIANT& answer);

// Raises code with an error object whose description says what went wrong, so
// that the report of the failure explains it.
[[noreturn]] void raiseDescribed(HRESULT code, const wchar_t* description);

// Raises E_POINTER, explained, when the container gave no storage.
void requireStorage(IStorage* storage);
