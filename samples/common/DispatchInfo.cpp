#include "DispatchInfo.h"

#include <oleauto.h>

#include "ComRef.h"
#include "ModuleState.h"

namespace sample {
namespace {

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
    ComRef<ITypeLib> library;
    if (FAILED(LoadTypeLibEx(module::path().c_str(), REGKIND_NONE, library.put())))
        return nullptr;
    const UINT count = library->GetTypeInfoCount();
    for (UINT i = 0; i < count; ++i) {
        TYPEKIND kind{};
        if (FAILED(library->GetTypeInfoType(i, &kind)) || kind != TKIND_DISPATCH)
            continue;
        ComRef<ITypeInfo> info;
        if (FAILED(library->GetTypeInfo(i, info.put())))
            continue;
        TYPEATTR* attributes = nullptr;
        if (FAILED(info->GetTypeAttr(&attributes)))
            continue;
        const bool dual = (attributes->wTypeFlags & TYPEFLAG_FDUAL) != 0;
        const bool primary = dual && find(attributes->guid) == dispatch;
        info->ReleaseTypeAttr(attributes);
        if (primary)
            return vtablePart(info.get());
    }
    return nullptr;
}

}  // namespace sample
