#include "automation/BstrText.h"

#include <new>

BSTR newBstr(std::string_view narrow)
{
    const std::wstring wide = toWide(narrow);
    BSTR result = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    if (!result)
        throw std::bad_alloc();
    return result;
}

BSTR newBstrOrNull(std::string_view narrow) { return narrow.empty() ? nullptr : newBstr(narrow); }
