#include "SampleMachine.h"

#include <comcat.h>
#include <gtest/gtest.h>

#include "support/ComPtr.h"
#include "support/RegKey.h"

namespace samplestest {

const wchar_t* const sampleDlls[3] = {L"SampleUnitOperations.dll", L"SamplePackageManager.dll",
                                      L"SamplePropertyPackage.dll"};

const std::vector<SampleClass>& sampleClasses()
{
    static const std::vector<SampleClass> classes = {
        {L"SampleUnitOperations.dll", L"Tarnwick.Mixer",
         {0x67839C11, 0x7913, 0x4701, {0x91, 0xC7, 0x71, 0x1F, 0x4A, 0x12, 0xFC, 0x10}}},
        {L"SampleUnitOperations.dll", L"Tarnwick.Heater",
         {0x64BB7BA3, 0x8647, 0x4E7C, {0xAE, 0x26, 0x51, 0x8A, 0xD9, 0x97, 0x2A, 0xBE}}},
        {L"SamplePackageManager.dll", L"Oskvale.PackageManager",
         {0xB0FC38F0, 0x9F19, 0x4EF8, {0x8F, 0x1D, 0x26, 0x00, 0x6C, 0x4F, 0xAE, 0xCA}}},
        {L"SamplePropertyPackage.dll", L"Lindqvarn.PropertyPackage",
         {0x9466F9C8, 0xEA59, 0x43E2, {0xA2, 0xFA, 0x1C, 0x4E, 0xD8, 0x6D, 0x60, 0x7C}}},
    };
    return classes;
}

std::wstring besideTestProgram(const wchar_t* fileName)
{
    wchar_t path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring result(path, length);
    return result.substr(0, result.find_last_of(L'\\') + 1) + fileName;
}

int runRegsvr32(const wchar_t* dll, bool unregister)
{
    std::wstring command = std::wstring(L"regsvr32.exe /s ") + (unregister ? L"/u " : L"") + L"\"" +
                           besideTestProgram(dll) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    // No time limit of our own: on a loaded machine regsvr32 may be slow, and CTest's
    // timeout ends a test that really hangs.
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, INFINITE) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

std::wstring guidText(REFGUID guid)
{
    wchar_t buffer[40] = {};
    StringFromGUID2(guid, buffer, 40);
    return buffer;
}

bool keyExists(const std::wstring& path)
{
    RegKey key;
    return RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

bool valueExists(const std::wstring& path, const wchar_t* name)
{
    return RegGetValueW(HKEY_CLASSES_ROOT, path.c_str(), name, RRF_RT_ANY, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
}

std::wstring readText(const std::wstring& path, const wchar_t* name)
{
    DWORD size = 0;
    if (RegGetValueW(HKEY_CLASSES_ROOT, path.c_str(), name, RRF_RT_REG_SZ, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return {};
    std::wstring text(size / sizeof(wchar_t), L'\0');
    if (RegGetValueW(HKEY_CLASSES_ROOT, path.c_str(), name, RRF_RT_REG_SZ, nullptr, text.data(), &size) !=
        ERROR_SUCCESS)
        return {};
    text.resize(wcsnlen(text.c_str(), text.size()));
    return text;
}

std::vector<CLSID> classesOfCategory(REFGUID catid)
{
    std::vector<CLSID> result;
    ComPtr<ICatInformation> categories;
    if (FAILED(CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr, CLSCTX_INPROC_SERVER, IID_ICatInformation,
                                categories.putVoid())))
        return result;
    ComPtr<IEnumGUID> classes;
    CATID wanted = catid;
    // As the library asks: one implemented category, required categories ignored.
    if (FAILED(categories->EnumClassesOfCategories(1, &wanted, static_cast<ULONG>(-1), nullptr, classes.put())))
        return result;
    CLSID clsid;
    while (classes->Next(1, &clsid, nullptr) == S_OK)
        result.push_back(clsid);
    return result;
}

bool listed(const std::vector<CLSID>& classes, REFCLSID clsid)
{
    for (const CLSID& c : classes)
        if (c == clsid)
            return true;
    return false;
}

namespace {

// Registers the sample DLLs once for the whole run, the way an installer (and the
// demo) does, and unregisters them at the end, checking that nothing is left. A DLL
// that was registered before the run (by a fixture of other tests) stays registered.
class SamplesRegistered : public ::testing::Environment {
public:
    void SetUp() override
    {
        for (const wchar_t* dll : sampleDlls) {
            if (registeredBefore(dll))
                keep_.push_back(dll);
            ASSERT_EQ(0, runRegsvr32(dll, false)) << "regsvr32 should register the sample DLL";
        }
    }
    void TearDown() override
    {
        for (const wchar_t* dll : sampleDlls) {
            if (kept(dll))
                continue;
            EXPECT_EQ(0, runRegsvr32(dll, true)) << "regsvr32 /u should unregister the sample DLL";
            for (const SampleClass& sample : sampleClasses()) {
                if (std::wstring(sample.dll) != dll)
                    continue;
                EXPECT_FALSE(keyExists(L"CLSID\\" + guidText(sample.clsid)))
                    << "unregistering should remove the class key of " << testing::PrintToString(sample.progId);
                EXPECT_FALSE(keyExists(sample.progId)) << "unregistering should remove the ProgID key";
                for (const GUID& catid : {catidUnitOperation, catidPackageManager11, catidPropertyPackage11})
                    EXPECT_FALSE(listed(classesOfCategory(catid), sample.clsid))
                        << "an unregistered sample should no longer be listed in its category";
            }
        }
    }

private:
    static bool registeredBefore(const wchar_t* dll)
    {
        for (const SampleClass& sample : sampleClasses())
            if (std::wstring(sample.dll) == dll &&
                keyExists(L"CLSID\\" + guidText(sample.clsid) + L"\\InprocServer32"))
                return true;
        return false;
    }
    bool kept(const wchar_t* dll) const
    {
        for (const wchar_t* k : keep_)
            if (std::wstring(k) == dll)
                return true;
        return false;
    }

    std::vector<const wchar_t*> keep_;
};

const auto* const registered = ::testing::AddGlobalTestEnvironment(new SamplesRegistered);

}  // namespace
}  // namespace samplestest
