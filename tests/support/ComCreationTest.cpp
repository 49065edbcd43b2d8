#include <gtest/gtest.h>
#include <objbase.h>

#include <deque>

#include "ErrorTestGuards.h"
#include "support/AnsiText.h"
#include "support/ComPtr.h"
#include "support/ErrorReport.h"
#include "testkit/MessageBoxDriver.h"

using namespace errortest;

namespace {

std::string guidText(REFGUID guid)
{
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return toAnsi(text);
}

GUID newGuid()
{
    GUID guid{};
    CoCreateGuid(&guid);
    return guid;
}

// A key under HKEY_CLASSES_ROOT made for one test and deleted with all below it.
class ClassesRootKey {
public:
    explicit ClassesRootKey(std::string subkey) : subkey_(std::move(subkey))
    {
        RegCreateKeyExA(HKEY_CLASSES_ROOT, subkey_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
    }
    ~ClassesRootKey()
    {
        RegCloseKey(key_);
        RegDeleteTreeA(HKEY_CLASSES_ROOT, subkey_.c_str());
    }
    ClassesRootKey(const ClassesRootKey&) = delete;
    ClassesRootKey& operator=(const ClassesRootKey&) = delete;

    void setText(const char* name, const std::string& value)
    {
        RegSetValueExA(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
    }
    void setNumber(const char* name, DWORD value)
    {
        RegSetValueExA(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    }

private:
    std::string subkey_;
    HKEY key_ = nullptr;
};

// The temporary directory of the test: GetTempPathA (and so qnshow.txt) follows TMP.
class TempDirectory {
public:
    TempDirectory()
        : directory_(systemTempPath() + "qn-creation-" + guidText(newGuid())),
          tmp_("TMP", directory_.path().c_str()), temp_("TEMP", directory_.path().c_str())
    {
    }
    std::string qnshow() const { return readFile(directory_.path() + "\\qnshow.txt"); }

private:
    DirectoryGuard directory_;
    EnvironmentSetting tmp_, temp_;
};

// A class object registered in this process: its CreateInstance answers with the
// scripted results in turn (S_OK creates an object), and counts its calls.
class ScriptedFactory : public IClassFactory {
public:
    std::deque<HRESULT> results;
    int calls = 0;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (iid != IID_IUnknown && iid != IID_IClassFactory) {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        *out = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override { return --references_; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID iid, void** out) override
    {
        *out = nullptr;
        ++calls;
        HRESULT next = results.empty() ? E_UNEXPECTED : results.front();
        if (!results.empty())
            results.pop_front();
        return SUCCEEDED(next) ? QueryInterface(iid, out) : next;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    ULONG references_ = 1;  // lives on the test's stack
};

class RegisteredFactory {
public:
    RegisteredFactory(REFCLSID clsid, ScriptedFactory& factory)
    {
        CoRegisterClassObject(clsid, &factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie_);
    }
    ~RegisteredFactory() { CoRevokeClassObject(cookie_); }

private:
    DWORD cookie_ = 0;
};

}  // namespace

TEST(GetRegPath, ReadsStringValuesUnderClassesRoot)
{
    std::string subkey = "CLSID\\" + guidText(newGuid());
    EXPECT_EQ(GetRegPath(subkey.c_str(), "Name"), "") << "a missing key gives an empty text";
    ClassesRootKey key(subkey);
    key.setText("Name", "Sample %s unit");
    key.setText(nullptr, "default text");
    key.setText("Huge", std::string(2100, 'h'));
    key.setNumber("Number", 42);
    MessageBoxDriver boxes;
    EXPECT_EQ(GetRegPath(subkey.c_str(), "Name"), "Sample %s unit");
    EXPECT_EQ(GetRegPath(subkey.c_str(), ""), "default text") << "an empty value name reads the default value";
    EXPECT_EQ(GetRegPath(subkey.c_str(), "Missing"), "") << "a missing value gives an empty text";
    EXPECT_EQ(GetRegPath(subkey.c_str(), "Huge"), "") << "a value longer than 2,047 bytes gives an empty text";
    EXPECT_EQ(GetRegPath(subkey.c_str(), "Number"), "") << "a number has no text";
    EXPECT_EQ(boxes.count(), 0u) << "none of these is an error for the user";
}

TEST(InterfaceName, RegisteredNameOrEmpty)
{
    GUID iid = newGuid();
    std::string name = "stale";
    EXPECT_EQ(interfaceNameFromIID(iid, name), S_OK) << "an unregistered interface is not a failure";
    EXPECT_EQ(name, "");
    ClassesRootKey key("Interface\\" + guidText(iid));
    key.setText(nullptr, "ICapeTestProbe");
    EXPECT_EQ(interfaceNameFromIID(iid, name), S_OK);
    EXPECT_EQ(name, "ICapeTestProbe");
}

TEST(CreateInterface, UnregisteredClassIsExplainedInQnshowAndBox)
{
    TempDirectory temp;
    GUID clsid = newGuid();
    GUID iid = newGuid();
    ClassesRootKey interfaceKey("Interface\\" + guidText(iid));
    interfaceKey.setText(nullptr, "ICapeTestProbe");
    std::string expected = "Error creating interface 'ICapeTestProbe' for class '" + guidText(clsid) + "' context 1";

    MessageBoxDriver boxes;
    std::string qnshowWhileBoxShown;
    OnNextBoxActivation duringBox([&] { qnshowWhileBoxShown = temp.qnshow(); });
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(createInterface(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, &out, nullptr), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(qnshowWhileBoxShown, expected + "\r\n") << "the qnshow.txt line is written before the box";
    ASSERT_EQ(boxes.count(), 1u);
    const std::string& text = boxes.last().text;
    EXPECT_EQ(text.rfind(expected + "\n", 0), 0u) << text;
    EXPECT_TRUE(text.ends_with(" REGDB_E_CLASSNOTREG ($80040154)")) << text;
}

TEST(CreateInterface, NamesTheProgIdAndLeavesUnregisteredInterfaceEmpty)
{
    TempDirectory temp;
    GUID clsid = newGuid();
    ClassesRootKey classKey("CLSID\\" + guidText(clsid) + "\\ProgID");
    classKey.setText(nullptr, "QnTest.NotInstalled.1");
    MessageBoxDriver boxes;
    void* out = nullptr;
    EXPECT_TRUE(FAILED(createInterface(clsid, nullptr, CLSCTX_INPROC_SERVER, newGuid(), &out, L"")))
        << "an empty server name creates locally";
    EXPECT_EQ(temp.qnshow(), "Error creating interface '' for class 'QnTest.NotInstalled.1' context 1\r\n");
    EXPECT_EQ(boxes.count(), 1u);
}

TEST(CreateInterface, RemoteFlagRefusedRetriesInProcess)
{
    TempDirectory temp;
    GUID clsid = newGuid();
    ScriptedFactory factory;
    RegisteredFactory registration(clsid, factory);
    MessageBoxDriver boxes;
    const DWORD remoteOrInproc = CLSCTX_REMOTE_SERVER | CLSCTX_INPROC_SERVER;

    factory.results = {E_INVALIDARG, S_OK};
    ComPtr<IUnknown> created;
    EXPECT_EQ(createInterface(clsid, nullptr, remoteOrInproc, IID_IUnknown, created.putVoid(), nullptr), S_OK);
    EXPECT_TRUE(created) << "the retry without the remote flag created the object";
    EXPECT_EQ(factory.calls, 2);
    EXPECT_EQ(boxes.count(), 0u) << "a success shows nothing";
    created = nullptr;

    factory.calls = 0;
    factory.results = {E_INVALIDARG, E_NOTIMPL};
    EXPECT_EQ(createInterface(clsid, nullptr, remoteOrInproc, IID_IUnknown, created.putVoid(), nullptr), E_NOTIMPL);
    EXPECT_EQ(factory.calls, 2);
    EXPECT_TRUE(temp.qnshow().ends_with("context 17\r\n")) << "the message names the context as given";
    EXPECT_EQ(boxes.count(), 1u);

    factory.calls = 0;
    factory.results = {E_INVALIDARG, S_OK};
    EXPECT_EQ(createInterface(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, created.putVoid(), nullptr),
              E_INVALIDARG);
    EXPECT_EQ(factory.calls, 1) << "without the remote flag there is no retry";
}

TEST(CreateInterface, ServerNameGoesThroughCreateInstanceEx)
{
    TempDirectory temp;
    GUID clsid = newGuid();
    ScriptedFactory factory;
    RegisteredFactory registration(clsid, factory);
    MessageBoxDriver boxes;

    factory.results = {S_OK};
    ComPtr<IClassFactory> created;
    EXPECT_EQ(createInterface(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IClassFactory, created.putVoid(),
                              L"localhost"),
              S_OK);
    EXPECT_EQ(created.get(), &factory) << "the interface comes from the MULTI_QI entry";
    created = nullptr;

    factory.results = {E_NOTIMPL};
    EXPECT_EQ(createInterface(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IClassFactory, created.putVoid(),
                              L"localhost"),
              E_NOTIMPL);
    EXPECT_FALSE(created);
    EXPECT_EQ(boxes.count(), 1u);
}
