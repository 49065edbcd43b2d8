#include "DispatchInfo.h"

#include <oleauto.h>

#include "ModuleState.h"

namespace sample {
namespace {

// Releases a COM pointer on destruction.
template <class T>
struct Held {
    T* ptr = nullptr;
    Held() = default;
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    ~Held()
    {
        if (ptr)
            ptr->Release();
    }
};

// The vtable part of a dual interface's dispatch type information, or null.
ITypeInfo* vtablePart(ITypeInfo* dispatchInfo)
{
    HREFTYPE reference = 0;
    ITypeInfo* result = nullptr;
    if (SUCCEEDED(dispatchInfo->GetRefTypeOfImplType(static_cast<UINT>(-1), &reference)))
        dispatchInfo->GetRefTypeInfo(reference, &result);
    return result;
}

}  // namespace

ITypeInfo* primaryTypeInfo(void* dispatch, const std::function<void*(REFIID)>& find)
{
    if (!dispatch)
        return nullptr;
    Held<ITypeLib> library;
    if (FAILED(LoadTypeLibEx(module::path().c_str(), REGKIND_NONE, &library.ptr)))
        return nullptr;
    const UINT count = library.ptr->GetTypeInfoCount();
    for (UINT i = 0; i < count; ++i) {
        TYPEKIND kind{};
        if (FAILED(library.ptr->GetTypeInfoType(i, &kind)) || kind != TKIND_DISPATCH)
            continue;
        Held<ITypeInfo> info;
        if (FAILED(library.ptr->GetTypeInfo(i, &info.ptr)))
            continue;
        TYPEATTR* attributes = nullptr;
        if (FAILED(info.ptr->GetTypeAttr(&attributes)))
            continue;
        const bool dual = (attributes->wTypeFlags & TYPEFLAG_FDUAL) != 0;
        const bool primary = dual && find(attributes->guid) == dispatch;
        info.ptr->ReleaseTypeAttr(attributes);
        if (primary)
            return vtablePart(info.ptr);
    }
    return nullptr;
}

}  // namespace sample
