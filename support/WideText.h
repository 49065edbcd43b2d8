#pragma once
#include <windows.h>
#include <string>
#include <string_view>

// Narrow (ANSI code page) text as the wide text COM calls take: the one way back
// from the library's narrow texts (the other way is toAnsi). Empty, or text the code
// page cannot convert, gives an empty text.
inline std::wstring toWide(std::string_view narrow)
{
    if (narrow.empty())
        return {};
    const int size = static_cast<int>(narrow.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, narrow.data(), size, nullptr, 0);
    if (length <= 0)
        return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, narrow.data(), size, wide.data(), length);
    return wide;
}
