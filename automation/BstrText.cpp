#include "automation/BstrText.h"

#include <new>

std::wstring toWide(std::string_view narrow)
{
    if (narrow.empty())
        return {};
    const int size = static_cast<int>(narrow.size());
    int length = MultiByteToWideChar(CP_ACP, 0, narrow.data(), size, nullptr, 0);
    if (length <= 0)
        return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, narrow.data(), size, wide.data(), length);
    return wide;
}

BSTR newBstr(std::string_view narrow)
{
    const std::wstring wide = toWide(narrow);
    BSTR result = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    if (!result)
        throw std::bad_alloc();
    return result;
}

BSTR newBstrOrNull(std::string_view narrow) { return narrow.empty() ? nullptr : newBstr(narrow); }
