// Creating COM objects: each failure explained in qnshow.txt and a box, the remote
// flag's retry; texts read from the classes root.
#include <gtest/gtest.h>

#include <deque>
#include <string>

#include "support/ErrorReport.h"
#include "testkit/FileGuards.h"
#include "testkit/MessageBoxDriver.h"
#include "testkit/ServedClass.h"
#include "testkit/ServerNameSpy.h"

namespace {

// qnshow.txt in a temporary directory of the test's own (GetTempPathA follows TMP).
class Creation : public ::testing::Test {
protected:
    std::string qnshow() const { return testkit::readFile(temp.path() + "\\qnshow.txt"); }
    testkit::FolderGuard temp{"qn-creation"};
    testkit::EnvironmentVariable tmp{"TMP", temp.path().c_str()};
    MessageBoxDriver boxes;
};

// The class factory answers the creations with these results in turn (S_OK: an object).
struct Road { const wchar_t* server; DWORD context; std::deque<HRESULT> results; HRESULT expected; int creations; };
class CreationRoads : public Creation, public ::testing::WithParamInterface<Road> {};
constexpr DWORD kRemoteOrInproc = CLSCTX_REMOTE_SERVER | CLSCTX_INPROC_SERVER;
const Road kRoads[] = {
    {nullptr, kRemoteOrInproc, {E_INVALIDARG, S_OK}, S_OK, 2},  // the remote flag refused: again without it
    {nullptr, kRemoteOrInproc, {E_INVALIDARG, E_NOTIMPL}, E_NOTIMPL, 2},  // explained with the context as given
    {nullptr, CLSCTX_INPROC_SERVER, {E_INVALIDARG, S_OK}, E_INVALIDARG, 1},  // no remote flag, no retry
    {L"localhost", CLSCTX_INPROC_SERVER, {S_OK}, S_OK, 1},                  // a server name: CoCreateInstanceEx
    {L"localhost", kRemoteOrInproc, {E_INVALIDARG, S_OK}, E_INVALIDARG, 1},  // never retried in-process
};

}  // namespace

TEST_P(CreationRoads, AnswerTheFactorysResultAndExplainFailures)
{
    Road road = GetParam();
    testkit::ServedClass served({"QnTest.Scripted", {}, {}}, [&](REFIID iid, void** out) {
        const HRESULT next = road.results.front();
        road.results.pop_front();
        return FAILED(next) ? next : testkit::creatorOf<testkit::ComDouble<IUnknown>>()(iid, out);
    });
    const testkit::ServerNameSpy spy(GetModuleHandleA(nullptr));
    ComPtr<IUnknown> created;
    EXPECT_EQ(createInterface(served.clsid(), nullptr, road.context, IID_IUnknown, created.putVoid(), road.server),
              road.expected);
    EXPECT_EQ(served.creations(), road.creations) << "creations asked of the class factory";
    EXPECT_EQ(spy.seen(), road.server ? road.server + std::wstring(L"\n") : L"") << "the server is named to COM";
    EXPECT_EQ(bool(created), SUCCEEDED(road.expected)) << "an object exactly on success";
    const std::string line = "Error creating interface 'IUnknown' for class '" + served.progId() + "' context " +
                             std::to_string(road.context);
    EXPECT_EQ(qnshow(), FAILED(road.expected) ? line + "\r\n" : "") << "a failure is written, with the context given";
    EXPECT_EQ(boxes.count(), FAILED(road.expected) ? 1u : 0u) << "and shown";
}
INSTANTIATE_TEST_SUITE_P(Table, CreationRoads, ::testing::ValuesIn(kRoads));

TEST_F(Creation, UnregisteredClassIsNamedByItsClsidAndInterfaceByItsRegisteredName)
{
    GUID clsid, iid;
    const std::string clsidText = testkit::newTestGuid(clsid);
    testkit::RegistryTree interfaceKey("Interface\\" + testkit::newTestGuid(iid));
    interfaceKey.setText("", nullptr, "ICapeTestProbe");
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(createInterface(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, &out, L""), REGDB_E_CLASSNOTREG)
        << "an empty server name creates locally";
    EXPECT_EQ(out, nullptr) << "the out pointer is cleared";
    const std::string line = "Error creating interface 'ICapeTestProbe' for class '" + clsidText + "' context 1";
    EXPECT_EQ(qnshow(), line + "\r\n");
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, line + "\n<No system message defined> REGDB_E_CLASSNOTREG ($80040154)")
        << "the code's name closes the box";
    EXPECT_TRUE(boxes.last().topmost() && boxes.last().caption == "QnCOGUI11") << "system-modal, the module's box";
}

TEST(RegistryText, GetRegPathReadsStringsUnderTheClassesRoot)
{
    GUID guid;
    const std::string key = "CLSID\\" + testkit::newTestGuid(guid);
    EXPECT_EQ(GetRegPath(key.c_str(), "Name"), "") << "a missing key gives an empty text";
    testkit::RegistryTree tree(key);
    tree.setText("", nullptr, "default %s text");
    const DWORD number = 42;
    RegSetKeyValueA(HKEY_CLASSES_ROOT, key.c_str(), "Number", REG_DWORD, &number, sizeof number);
    RegSetKeyValueA(HKEY_CLASSES_ROOT, key.c_str(), "Path", REG_EXPAND_SZ, "%TEMP%\\x", 10);
    EXPECT_EQ(GetRegPath(key.c_str(), ""), "default %s text") << "an empty name reads the default value";
    EXPECT_EQ(GetRegPath(key.c_str(), "Path"), "%TEMP%\\x") << "an expandable string as stored";
    EXPECT_EQ(GetRegPath(key.c_str(), "Missing") + GetRegPath(key.c_str(), "Number"), "") << "no value, no text";
}
