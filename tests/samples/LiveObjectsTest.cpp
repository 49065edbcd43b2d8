// Every sample DLL counts its live COM objects (GetLiveObjectCount); creating and
// releasing many components, packages and class objects brings each count back.
#include <gtest/gtest.h>

#include "CapeOpen.h"
#include "SampleMachine.h"
#include "SampleObjects.h"
#include "components/RegisteredFault.h"

using namespace samplestest;

namespace {

long liveObjects(const wchar_t* dll)
{
    HMODULE module = GetModuleHandleW(besideTestProgram(dll).c_str());
    auto count = reinterpret_cast<LONG(WINAPI*)()>(
        module ? reinterpret_cast<void*>(GetProcAddress(module, "GetLiveObjectCount")) : nullptr);
    return count ? count() : -1;
}

}  // namespace

TEST(SampleLiveObjects, CountsReturnToWhereTheyWereAfterManyCreations)
{
    // Load every DLL first, so that the counts can be read before the soak.
    for (const SampleClass& sample : sampleClasses())
        ASSERT_TRUE(createByProgId(sample.progId));
    testfault::RegisteredFault fault(testfault::TestFault::ManagerOfPackageWithoutMaterialContext);
    ASSERT_EQ(S_OK, fault.result());
    const wchar_t* const dlls[] = {sampleDlls[0], sampleDlls[1], sampleDlls[2], L"TestComponents.dll"};
    long before[4];
    for (int i = 0; i < 4; ++i)
        before[i] = liveObjects(dlls[i]);

    for (int round = 0; round < 300; ++round) {
        std::vector<ComPtr<IUnknown>> held;
        for (const SampleClass& sample : sampleClasses())
            held.push_back(createByProgId(sample.progId));
        held.push_back(managerPackage(L"Natural Gas"));
        ComPtr<IUnknown> manager;
        CoCreateInstance(fault.clsid(), nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, manager.putVoid());
        held.push_back(manager);
        for (const auto& object : held)
            ASSERT_TRUE(object);
        if (round == 0) {
            EXPECT_GT(liveObjects(L"SampleUnitOperations.dll"), before[0]) << "live units are counted";
        }
    }
    for (int i = 0; i < 4; ++i) {
        EXPECT_GE(before[i], 0) << "the DLL exports GetLiveObjectCount";
        EXPECT_EQ(before[i], liveObjects(dlls[i])) << testing::PrintToString(dlls[i]) << " leaks objects";
    }
}
