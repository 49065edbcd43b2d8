#include "SampleMachine.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "support/UniqueHandle.h"
#include "testkit/RegistryTree.h"

namespace samplestest {
namespace {

struct SampleClass {
    const wchar_t* dll;
    const char* progId;
    const char* clsid;
};

const SampleClass kClasses[] = {
    {kSampleDlls[0], "Tarnwick.Mixer", "{67839C11-7913-4701-91C7-711F4A12FC10}"},
    {kSampleDlls[0], "Tarnwick.Heater", "{64BB7BA3-8647-4E7C-AE26-518AD9972ABE}"},
    {kSampleDlls[1], "Oskvale.PackageManager", "{B0FC38F0-9F19-4EF8-8F1D-26006C4FAECA}"},
    {kSampleDlls[2], "Lindqvarn.PropertyPackage", "{9466F9C8-EA59-43E2-A2FA-1C4ED86D607C}"},
};

// regsvr32's exit code (0: done).
int runRegsvr32(const wchar_t* dll, bool unregister)
{
    return runAndWait(std::wstring(L"regsvr32.exe /s ") + (unregister ? L"/u \"" : L"\"") + besideTestProgram(dll) +
                      L"\"");
}

// Registers the sample DLLs as an installer does. A DLL registered before the run
// (by another test program, or the run that started this one) stays registered;
// the others are unregistered at the end, and must leave no key behind.
class SamplesRegistered : public ::testing::Environment {
public:
    void SetUp() override
    {
        for (const wchar_t* dll : kSampleDlls) {
            if (registeredBefore(dll))
                continue;
            ours_.push_back(dll);
            ASSERT_EQ(0, runRegsvr32(dll, false)) << "regsvr32 registers the sample DLL";
        }
    }
    void TearDown() override
    {
        for (const wchar_t* dll : ours_) {
            EXPECT_EQ(0, runRegsvr32(dll, true)) << "regsvr32 /u unregisters the sample DLL";
            for (const SampleClass& sample : kClasses) {
                if (std::wstring_view(sample.dll) != dll)
                    continue;
                EXPECT_FALSE(testkit::keyExists(std::string("CLSID\\") + sample.clsid)) << "no class key left";
                EXPECT_FALSE(testkit::keyExists(sample.progId)) << "no ProgID key left: " << sample.progId;
            }
        }
    }

private:
    static bool registeredBefore(const wchar_t* dll)
    {
        for (const SampleClass& sample : kClasses)
            if (std::wstring_view(sample.dll) == dll &&
                testkit::keyExists(std::string("CLSID\\") + sample.clsid + "\\InprocServer32"))
                return true;
        return false;
    }
    std::vector<const wchar_t*> ours_;
};

const auto* const registered = ::testing::AddGlobalTestEnvironment(new SamplesRegistered);

}  // namespace

std::wstring testProgram()
{
    wchar_t path[MAX_PATH] = {};
    return std::wstring(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
}

std::wstring besideTestProgram(const wchar_t* fileName)
{
    const std::wstring program = testProgram();
    return program.substr(0, program.find_last_of(L'\\') + 1) + fileName;
}

int runAndWait(std::wstring commandLine)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    UniqueHandle running(process.hProcess), thread(process.hThread);
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(running.get(), INFINITE) == WAIT_OBJECT_0)
        GetExitCodeProcess(running.get(), &code);
    return static_cast<int>(code);
}

}  // namespace samplestest
