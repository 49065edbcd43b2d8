#include <gtest/gtest.h>

#include "ServerTestKit.h"
#include "registration/ModuleRegistration.h"

using namespace servertest;

namespace {

const std::wstring kClassKey = L"CLSID\\{3F6A1D20-7C41-4B8E-9D2A-51C0E7B4A913}";
const std::wstring kProgId = L"QnShowCOCATIDs.CCAPEGUI11";
const std::wstring kVersionedProgId = L"QnShowCOCATIDs.CCAPEGUI11.1";
const std::wstring kTypeLibKey = L"TypeLib\\{5D0C2E71-A9B3-4F16-8C47-2E9B6A0F3D58}\\1.1";

// What the registration script writes, for a module at modulePath.
RegistrySnapshot scriptContent(const std::wstring& modulePath)
{
    return {
        {kVersionedProgId, {{L"", L"CCAPEGUI11 Class"}}},
        {kVersionedProgId + L"\\CLSID", {{L"", L"{3F6A1D20-7C41-4B8E-9D2A-51C0E7B4A913}"}}},
        {kProgId, {{L"", L"CCAPEGUI11 Class"}}},
        {kProgId + L"\\CLSID", {{L"", L"{3F6A1D20-7C41-4B8E-9D2A-51C0E7B4A913}"}}},
        {kProgId + L"\\CurVer", {{L"", L"QnShowCOCATIDs.CCAPEGUI11.1"}}},
        {kClassKey, {{L"", L"CCAPEGUI11 Class"}}},
        {kClassKey + L"\\ProgID", {{L"", L"QnShowCOCATIDs.CCAPEGUI11.1"}}},
        {kClassKey + L"\\VersionIndependentProgID", {{L"", L"QnShowCOCATIDs.CCAPEGUI11"}}},
        {kClassKey + L"\\Programmable", {}},
        {kClassKey + L"\\InprocServer32", {{L"", modulePath}, {L"ThreadingModel", L"Apartment"}}},
        {kClassKey + L"\\TypeLib", {{L"", L"{5D0C2E71-A9B3-4F16-8C47-2E9B6A0F3D58}"}}},
    };
}

// The part of the classes root that the script is about.
RegistrySnapshot scriptPart(const RegistrySnapshot& all)
{
    RegistrySnapshot part;
    for (const auto& [path, values] : all) {
        if (path.rfind(kProgId, 0) == 0 || path.rfind(kClassKey, 0) == 0)
            part[path] = values;
    }
    return part;
}

class Registration : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dll.loaded());
        ASSERT_TRUE(classes.active()) << "registration must not reach the machine's classes";
    }
    ServerDll dll;
    PrivateClassesRoot classes;  // after the load: the module's own start-up sees the real classes
};

}  // namespace

TEST_F(Registration, WritesTheClassBothProgIdsAndTheTypeLibrary)
{
    ASSERT_EQ(S_OK, dll.registerServer());

    const RegistrySnapshot all = snapshot(classes.get());
    EXPECT_EQ(scriptContent(dll.path()), scriptPart(all));
    EXPECT_EQ(L"QnShowCOCATIDs11 1.1 Type Library", stringValue(classes.get(), kTypeLibKey));
    EXPECT_EQ(dll.path(), stringValue(classes.get(), kTypeLibKey + L"\\409\\win64"))
        << "the type library is registered from the module itself";
    EXPECT_TRUE(keyExists(classes.get(), L"Interface\\{3F6A1D21-7C41-4B8E-9D2A-51C0E7B4A913}"))
        << "the dual interface is registered with the type library";
}

TEST_F(Registration, TwiceGivesTheSameContentWithoutForeignSubkeysOfTheClass)
{
    ASSERT_EQ(S_OK, dll.registerServer());
    const RegistrySnapshot once = snapshot(classes.get());

    createKey(classes.get(), kClassKey + L"\\Implemented Categories\\{678C09A1-7D66-11D2-A67D-00105A42887F}");
    setStringValue(classes.get(), kClassKey + L"\\InprocServer32", L"Foreign", L"x");
    ASSERT_EQ(S_OK, dll.registerServer());

    EXPECT_EQ(once, snapshot(classes.get()));
}

TEST_F(Registration, UnregisterRemovesClassAndProgIdsAndLeavesTheRest)
{
    ASSERT_EQ(S_OK, dll.registerServer());
    createKey(classes.get(), kProgId + L"\\Foreign");
    createKey(classes.get(), L"CLSID\\{00000000-0000-0000-0000-0000000000AB}");

    ASSERT_EQ(S_OK, dll.unregisterServer());

    EXPECT_FALSE(keyExists(classes.get(), kClassKey));
    EXPECT_FALSE(keyExists(classes.get(), kVersionedProgId));
    EXPECT_TRUE(keyExists(classes.get(), L"CLSID\\{00000000-0000-0000-0000-0000000000AB}")) << "CLSID itself stays";
    EXPECT_TRUE(keyExists(classes.get(), kProgId + L"\\Foreign")) << "a foreign subkey keeps its ProgID key";
    EXPECT_FALSE(keyExists(classes.get(), kProgId + L"\\CLSID"));
    EXPECT_FALSE(keyExists(classes.get(), kProgId + L"\\CurVer"));
    EXPECT_TRUE(keyExists(classes.get(), kTypeLibKey)) << "the type library stays registered";

    EXPECT_EQ(S_OK, dll.unregisterServer()) << "unregistering again finds nothing to remove";
}

TEST_F(Registration, TypeLibraryFallsBackToTheTlbBesideTheModule)
{
    // A "module" that holds no type library, with the library beside it as Fake.tlb.
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring base = std::wstring(temp) + L"qn-fallback-" + newGuidText();
    const std::wstring module = base + L".dll";
    const std::wstring library = base + L".tlb";
    ASSERT_TRUE(CopyFileW((binDirectory() + L"\\QnShowCOCATIDs11.tlb").c_str(), library.c_str(), FALSE));
    HANDLE file = CreateFileW(module.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    CloseHandle(file);

    HRESULT withTlb = registerTypeLibrary(module);
    const std::wstring registeredPath = stringValue(classes.get(), kTypeLibKey + L"\\409\\win64");
    DeleteFileW(library.c_str());
    HRESULT withoutTlb = registerTypeLibrary(module);
    DeleteFileW(module.c_str());

    EXPECT_EQ(S_OK, withTlb);
    EXPECT_EQ(library, registeredPath) << "registered with the path it was loaded from";
    EXPECT_TRUE(FAILED(withoutTlb)) << "neither the module nor a .tlb beside it holds a library";
}

TEST(ModulePath, APathThatFillsTheBufferIsRefused)
{
    std::wstring path;
    ASSERT_EQ(S_OK, modulePathForRegistration(nullptr, path));
    EXPECT_LT(path.size(), static_cast<size_t>(MAX_PATH));

    // A copy of the module in a folder deep enough that its path cannot fit.
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(L"\\\\?\\") + temp + L"qn-long-" + newGuidText();
    std::vector<std::wstring> made;
    while (CreateDirectoryW(folder.c_str(), nullptr)) {
        made.push_back(folder);
        if (folder.size() > 300)
            break;
        folder += L"\\abcdefghijklmnopqrstuvwxyz0123456789";
    }
    const std::wstring copy = folder + L"\\QnCOGUI11.dll";
    bool copied = CopyFileW(builtDllPath().c_str(), copy.c_str(), FALSE);
    HRESULT hr = E_FAIL;
    bool loaded = false;
    bool wroteNothing = false;
    if (copied) {
        {
            ServerDll longDll(copy);
            loaded = longDll.loaded();
            PrivateClassesRoot classes;
            if (loaded && classes.active()) {
                hr = longDll.registerServer();
                wroteNothing = snapshot(classes.get()).size() == 1;
            }
        }
        DeleteFileW(copy.c_str());
    }
    for (auto it = made.rbegin(); it != made.rend(); ++it)
        RemoveDirectoryW(it->c_str());

    if (!loaded)
        GTEST_SKIP() << "the system cannot load a module from a path longer than MAX_PATH";
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER), hr);
    EXPECT_TRUE(wroteNothing) << "nothing is registered for a module whose path does not fit";
}
