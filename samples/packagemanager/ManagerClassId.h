#pragma once
#include <windows.h>

// Class identifier of the Oskvale sample Property Package Manager, fixed once for good.
namespace oskvale {

inline constexpr CLSID CLSID_OskvalePackageManager = {
    0xB0FC38F0, 0x9F19, 0x4EF8, {0x8F, 0x1D, 0x26, 0x00, 0x6C, 0x4F, 0xAE, 0xCA}};

}  // namespace oskvale
