#pragma once
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <string>

#include "support/AnsiText.h"

namespace testkit {

// A new GUID of the tests' range, with its text as StringFromGUID2 writes it (braced,
// upper case). Its last group is always 7E5700007E57, so that `scripts/harness up`
// can find and remove the classes and interfaces a crashed run registered under one;
// the first group stays random and tells concurrent runs apart.
inline std::string newTestGuid(GUID& guid)
{
    CoCreateGuid(&guid);
    constexpr BYTE kMark[] = {0x7E, 0x57, 0x00, 0x00, 0x7E, 0x57};
    std::copy(std::begin(kMark), std::end(kMark), guid.Data4 + 2);
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return toAnsi(text);
}

}  // namespace testkit
