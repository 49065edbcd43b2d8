#pragma once
#include <windows.h>
#include <oaidl.h>
#include <functional>

// IDispatch of the samples, served from the type library that every sample DLL
// embeds (SampleTypes.idl, resource TYPELIB 1): an object answers late-bound calls
// for its primary dual interface, the one QueryInterface(IID_IDispatch) gives.
namespace sample {

// The vtable type information (TKIND_INTERFACE) of the dual interface that
// `dispatch` is: among the dual interfaces of this DLL's type library, the one
// that find(iid) maps to `dispatch`. One reference for the caller, or null when the
// library cannot be loaded or holds no such interface.
ITypeInfo* primaryTypeInfo(void* dispatch, const std::function<void*(REFIID)>& find);

}  // namespace sample
