#pragma once
#include <windows.h>
#include <string>
#include <vector>

// What the sample tests need of the machine: the sample DLLs beside the test
// program, registered with the system's regsvr32 for the whole run (a global test
// environment) and unregistered at its end, and small registry readers.
namespace samplestest {

struct SampleClass {
    const wchar_t* dll;
    const wchar_t* progId;
    CLSID clsid;
};

// The four sample classes: Tarnwick.Mixer, Tarnwick.Heater, Oskvale.PackageManager,
// Lindqvarn.PropertyPackage.
const std::vector<SampleClass>& sampleClasses();
extern const wchar_t* const sampleDlls[3];

// Full path of a file beside the test program.
std::wstring besideTestProgram(const wchar_t* fileName);
// Runs regsvr32 /s (and /u when unregistering) on a DLL beside the test program;
// returns its exit code (0 on success), or -1 when it could not run or timed out.
int runRegsvr32(const wchar_t* dll, bool unregister);

std::wstring guidText(REFGUID guid);
bool keyExists(const std::wstring& path);  // under HKEY_CLASSES_ROOT
bool valueExists(const std::wstring& path, const wchar_t* name);
// A REG_SZ value (name null: the default value); empty when missing.
std::wstring readText(const std::wstring& path, const wchar_t* name);

// The classes that the system's component categories manager lists under catid.
std::vector<CLSID> classesOfCategory(REFGUID catid);
bool listed(const std::vector<CLSID>& classes, REFCLSID clsid);

inline constexpr GUID catidUnitOperation = {
    0x678C09A5, 0x7D66, 0x11D2, {0xA6, 0x7D, 0x00, 0x10, 0x5A, 0x42, 0x88, 0x7F}};
inline constexpr GUID catidCapeOpenComponent = {
    0x678C09A1, 0x7D66, 0x11D2, {0xA6, 0x7D, 0x00, 0x10, 0x5A, 0x42, 0x88, 0x7F}};
inline constexpr GUID catidPackageManager11 = {
    0xCF51E383, 0x0110, 0x4ED8, {0xAC, 0xB7, 0xB5, 0x0C, 0xFD, 0xE6, 0x90, 0x8E}};
inline constexpr GUID catidPropertyPackage11 = {
    0xCF51E384, 0x0110, 0x4ED8, {0xAC, 0xB7, 0xB5, 0x0C, 0xFD, 0xE6, 0x90, 0x8E}};

}  // namespace samplestest
