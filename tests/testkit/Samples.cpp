#include "testkit/Samples.h"

#include <windows.h>

#include <algorithm>

#include "testkit/RegistryTree.h"

namespace testkit {
namespace {

const struct {
    const wchar_t* dll;
    std::vector<std::string> progIds;
} kSamples[] = {{L"SampleUnitOperations.dll", {"Tarnwick.Mixer", "Tarnwick.Heater"}},
                {L"SamplePackageManager.dll", {"Oskvale.PackageManager"}},
                {L"SamplePropertyPackage.dll", {"Lindqvarn.PropertyPackage"}}};

// An export of a sample DLL (beside the test program; it stays loaded) called.
LONG callExport(const wchar_t* dll, const char* name)
{
    HMODULE module = LoadLibraryW(dll);
    auto call = reinterpret_cast<LONG(STDAPICALLTYPE*)()>(
        module ? reinterpret_cast<void*>(GetProcAddress(module, name)) : nullptr);
    return call ? call() : -1;
}

}  // namespace

void SamplesRegistered::SetUp()
{
    for (const auto& sample : kSamples) {
        if (keyExists(sample.progIds[0]))
            continue;
        ours_.push_back(sample.dll);
        ASSERT_EQ(callExport(sample.dll, "DllRegisterServer"), S_OK) << "the sample DLL registers itself";
    }
}

void SamplesRegistered::TearDown()
{
    for (const auto& sample : kSamples) {
        if (std::find(ours_.begin(), ours_.end(), sample.dll) == ours_.end())
            continue;
        std::vector<std::string> keys = sample.progIds;
        for (const std::string& progId : sample.progIds)
            keys.push_back("CLSID\\" + readText(progId + "\\CLSID", nullptr));
        EXPECT_EQ(callExport(sample.dll, "DllUnregisterServer"), S_OK) << "the sample DLL unregisters itself";
        for (const std::string& key : keys)
            EXPECT_FALSE(keyExists(key)) << "no key left behind: " << key;
    }
}

long liveSampleObjects()
{
    long live = 0;
    for (const auto& sample : kSamples) {
        const LONG count = callExport(sample.dll, "GetLiveObjectCount");
        live = count < 0 || live < 0 ? -1 : live + count;
    }
    return live;
}

}  // namespace testkit
