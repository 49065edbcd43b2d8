#pragma once
#include <windows.h>

// Class identifiers of the Tarnwick sample unit operations, fixed once for good.
namespace tarnwick {

// Tarnwick.Mixer: persists through IPersistStreamInit.
inline constexpr CLSID CLSID_TarnwickMixer = {
    0x67839C11, 0x7913, 0x4701, {0x91, 0xC7, 0x71, 0x1F, 0x4A, 0x12, 0xFC, 0x10}};
// Tarnwick.Heater: persists through IPersistStorage; its Name equals its ProgID.
inline constexpr CLSID CLSID_TarnwickHeater = {
    0x64BB7BA3, 0x8647, 0x4E7C, {0xAE, 0x26, 0x51, 0x8A, 0xD9, 0x97, 0x2A, 0xBE}};

}  // namespace tarnwick
