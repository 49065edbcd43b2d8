#pragma once
#include <windows.h>
#include <string>
#include <string_view>

// Wide texts (BSTRs, GUID strings, ProgIDs) become narrow ANSI text here: inside the
// library texts are narrow, in the active code page. Characters the code page lacks
// become the system's default character. Null reads as empty.
inline std::string toAnsi(std::wstring_view wide)
{
    if (wide.empty())
        return {};
    int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return {};
    std::string narrow(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), narrow.data(), size, nullptr, nullptr);
    return narrow;
}

inline std::string toAnsi(const wchar_t* wide) { return wide ? toAnsi(std::wstring_view(wide)) : std::string(); }
