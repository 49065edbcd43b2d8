#pragma once
#include <windows.h>

// Class identifier of the Lindqvarn sample property package, fixed once for good.
namespace lindqvarn {

inline constexpr CLSID CLSID_LindqvarnPropertyPackage = {
    0x9466F9C8, 0xEA59, 0x43E2, {0xA2, 0xFA, 0x1C, 0x4E, 0xD8, 0x6D, 0x60, 0x7C}};

}  // namespace lindqvarn
