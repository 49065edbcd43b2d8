#include "CreationTest.h"

#include "automation/BstrText.h"
#include "support/AnsiText.h"
#include "support/UniqueBstr.h"
#include "testkit/ComDouble.h"
#include "testkit/Faults.h"
#include "testkit/RegistryTree.h"

namespace creationtest {
namespace {

const wchar_t* const sampleDlls[] = {L"SampleUnitOperations.dll", L"SamplePackageManager.dll",
                                     L"SamplePropertyPackage.dll"};

// Calls an export of a sample DLL (beside the test program; it stays loaded): its
// DllRegisterServer, DllUnregisterServer or GetLiveObjectCount.
LONG callExport(const wchar_t* dll, const char* name)
{
    HMODULE module = LoadLibraryW(dll);
    auto call = reinterpret_cast<LONG(STDAPICALLTYPE*)()>(
        module ? reinterpret_cast<void*>(GetProcAddress(module, name)) : nullptr);
    return call ? call() : E_FAIL;
}

// The samples, registered for the run unless the machine has them already.
class SamplesRegistered : public ::testing::Environment {
    void SetUp() override
    {
        registered_ = !testkit::keyExists("Tarnwick.Mixer") || !testkit::keyExists("Lindqvarn.PropertyPackage");
        for (const wchar_t* dll : sampleDlls)
            ASSERT_TRUE(!registered_ || callExport(dll, "DllRegisterServer") == S_OK) << "the sample registers itself";
    }
    void TearDown() override
    {
        for (const wchar_t* dll : sampleDlls)
            EXPECT_TRUE(!registered_ || callExport(dll, "DllUnregisterServer") == S_OK) << "and unregisters itself";
    }
    bool registered_ = false;
};

const auto* const samples = ::testing::AddGlobalTestEnvironment(new SamplesRegistered);

}  // namespace

bool answers(IUnknown* object, REFIID iid)
{
    ComPtr<IUnknown> answer;
    return object && SUCCEEDED(object->QueryInterface(iid, answer.putVoid())) && answer;
}

void CreationTest::SetUp()
{
    host = CreateWindowExA(0, "STATIC", "Creation host", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                           nullptr, nullptr);
    ASSERT_TRUE(host) << "the host has a window";
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_CCAPEGUI, nullptr, CLSCTX_INPROC_SERVER, IID_ICCAPEGUI, gui.putVoid()))
        << "the registered library creates its automation object";
}

void CreationTest::TearDown()
{
    if (gui) {
        EXPECT_EQ(S_OK, gui->releaseComponents()) << "everything the object holds is released";
    }
    gui = nullptr;
    DestroyWindow(host);
    EXPECT_EQ(0, testkit::liveFaultObjects()) << "every object of the faults has been released";
    EXPECT_EQ(0, testkit::liveDoubles()) << "every double has been released";
    for (const wchar_t* dll : sampleDlls)
        EXPECT_EQ(0, callExport(dll, "GetLiveObjectCount")) << "every object of " << toAnsi(dll) << " has been released";
}

void CreationTest::choose(const std::string& item, const std::string& parent, long filter, long version)
{
    ASSERT_EQ(S_OK, gui->setup(reinterpret_cast<INT_PTR>(host), nullptr, filter));
    UniqueBstr itemText(toWide(item).c_str()), parentText(toWide(parent).c_str());
    ASSERT_EQ(S_OK, gui->setProgIds(itemText.get(), parentText.get()));
    if (version) {
        ASSERT_EQ(S_OK, gui->put_compCOversion(version));
    }
}

std::vector<std::string> CreationTest::texts() const
{
    std::vector<std::string> result;
    for (const ShownBox& box : boxes.boxes())
        result.push_back(box.text);
    return result;
}

}  // namespace creationtest
