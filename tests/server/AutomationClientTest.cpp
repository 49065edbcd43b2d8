// The registered library as the host sees it: created through COM by its ProgID and
// called through the vtable of the generated header.
#include <gtest/gtest.h>

#include "QnShowCOCATIDs11.h"

#include "TestObjects.h"
#include "support/ComPtr.h"
#include "support/UniqueBstr.h"
#include "testkit/MessageBoxDriver.h"

using namespace servertest;

namespace {

ComPtr<ICCAPEGUI> createByProgId(const wchar_t* progId)
{
    ComPtr<ICCAPEGUI> gui;
    CLSID clsid;
    if (SUCCEEDED(CLSIDFromProgID(progId, &clsid)))
        CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_ICCAPEGUI, gui.putVoid());
    return gui;
}

class AutomationClient : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(gui) << "the library is registered (fixture) and creatable"; }
    ComPtr<ICCAPEGUI> gui = createByProgId(L"QnShowCOCATIDs.CCAPEGUI11");
};

std::wstring text(const UniqueBstr& bstr) { return bstr.text(); }

}  // namespace

TEST(AutomationProgIds, BothProgIdsNameTheClass)
{
    for (const wchar_t* progId : {L"QnShowCOCATIDs.CCAPEGUI11", L"QnShowCOCATIDs.CCAPEGUI11.1"}) {
        CLSID clsid{};
        EXPECT_EQ(S_OK, CLSIDFromProgID(progId, &clsid));
        EXPECT_TRUE(IsEqualCLSID(CLSID_CCAPEGUI, clsid));
        EXPECT_TRUE(createByProgId(progId)) << "created by its ProgID";
    }
}

TEST_F(AutomationClient, FreshObjectAnswersItsDefaults)
{
    UniqueBstr progId, parentProgId, alias, parentAlias, catid, server;
    EXPECT_EQ(S_OK, gui->GetItemProgID(progId.put()));
    EXPECT_EQ(S_OK, gui->GetParentProgID(parentProgId.put()));
    EXPECT_EQ(S_OK, gui->GetItemAlias(alias.put()));
    EXPECT_EQ(S_OK, gui->GetParentAlias(parentAlias.put()));
    EXPECT_EQ(S_OK, gui->GetCATID(catid.put()));
    EXPECT_EQ(S_OK, gui->get_serverName(server.put()));
    EXPECT_EQ(nullptr, progId.get()) << "no ProgID: a null BSTR";
    EXPECT_EQ(nullptr, parentProgId.get());
    EXPECT_EQ(nullptr, alias.get());
    EXPECT_EQ(nullptr, parentAlias.get());
    EXPECT_EQ(nullptr, server.get());
    ASSERT_NE(nullptr, catid.get()) << "no CATID: an empty, non-null BSTR";
    EXPECT_EQ(0u, catid.length());

    LONG version = -1;
    EXPECT_EQ(S_OK, gui->get_compCOversion(&version));
    EXPECT_EQ(0, version);

    UniqueBstr info[5];
    EXPECT_EQ(S_OK, gui->GetItemInfo(info[0].put(), info[1].put(), info[2].put(), info[3].put(), info[4].put()));
    for (const auto& each : info) {
        EXPECT_NE(nullptr, each.get()) << "each descriptive text is an empty, non-null BSTR";
        EXPECT_EQ(0u, each.length());
    }

    UniqueBstr name;
    EXPECT_EQ(S_OK, gui->getFullCOPPClassName(name.put()));
    EXPECT_EQ(L"<no Property Package name available>(Standalone)", text(name));
}

TEST_F(AutomationClient, PropertiesAndAliasesKeepWhatTheHostSets)
{
    EXPECT_EQ(S_OK, gui->put_compCOversion(93));
    LONG version = 0;
    EXPECT_EQ(S_OK, gui->get_compCOversion(&version));
    EXPECT_EQ(93, version);

    UniqueBstr server(L"remote-box");
    EXPECT_EQ(S_OK, gui->put_serverName(server.get()));
    UniqueBstr first, second;
    EXPECT_EQ(S_OK, gui->get_serverName(first.put()));
    EXPECT_EQ(S_OK, gui->get_serverName(second.put()));
    EXPECT_EQ(L"remote-box", text(first));
    EXPECT_NE(first.get(), second.get()) << "each read is a new BSTR that belongs to the caller";
    EXPECT_NE(server.get(), first.get());
    EXPECT_EQ(S_OK, gui->put_serverName(nullptr));
    EXPECT_EQ(S_OK, gui->get_serverName(first.put()));
    EXPECT_EQ(nullptr, first.get());

    UniqueBstr item(L"MyPackage"), parent(L"My Manager");
    EXPECT_EQ(S_OK, gui->setAlias(item.get(), parent.get()));
    UniqueBstr alias, parentAlias, name;
    EXPECT_EQ(S_OK, gui->GetItemAlias(alias.put()));
    EXPECT_EQ(S_OK, gui->GetParentAlias(parentAlias.put()));
    EXPECT_EQ(S_OK, gui->getFullCOPPClassName(name.put()));
    EXPECT_EQ(L"MyPackage", text(alias));
    EXPECT_EQ(L"My Manager", text(parentAlias));
    EXPECT_EQ(L"MyPackage(Standalone)", text(name)) << "the parent's alias is not its ProgID";
}

TEST_F(AutomationClient, GetLastErrorLeavesTheMessageAsItWas)
{
    UniqueBstr message(L"kept");
    BSTR before = message.get();
    BSTR slot = before;
    EXPECT_EQ(S_OK, gui->getLastError(&slot));
    EXPECT_EQ(before, slot);
    EXPECT_EQ(L"kept", text(message));
}

TEST_F(AutomationClient, SetupAsksTheContainerForTheHostInterfaceOfTheFilter)
{
    TestContainer unitHost, otherHost;
    EXPECT_EQ(S_OK, gui->setup(0, unitHost.asDispatch(), catf_Component | catf_UnitOperation));
    EXPECT_TRUE(unitHost.wasAskedFor(IID_ExtnUnitOperationContainer));
    EXPECT_FALSE(unitHost.wasAskedFor(IID_ExtnContainer));
    EXPECT_EQ(2u, unitHost.references) << "the object holds the container";

    EXPECT_EQ(S_OK, gui->setup(0, otherHost.asDispatch(), catf_All));
    EXPECT_TRUE(otherHost.wasAskedFor(IID_ExtnContainer));
    EXPECT_FALSE(otherHost.wasAskedFor(IID_ExtnUnitOperationContainer));
    EXPECT_EQ(1u, unitHost.references) << "an earlier container is given back when another is set";
    EXPECT_EQ(2u, otherHost.references);

    EXPECT_EQ(S_OK, gui->setup(0, nullptr, catf_All));
    EXPECT_EQ(1u, otherHost.references) << "no container: none is held";
}

TEST_F(AutomationClient, SetupFailsForAContainerWithoutTheHostInterface)
{
    MessageBoxDriver boxes;
    TestContainer stranger(false);
    EXPECT_EQ(E_NOINTERFACE, gui->setup(0, stranger.asDispatch(), catf_UnitOperation));
    ASSERT_EQ(1u, boxes.count()) << "the failure is reported";
    EXPECT_EQ("Pellamy's CAPE-OPEN tool", boxes.last().caption);
    EXPECT_NE(std::string::npos, boxes.last().text.find("ERROR: Unexpected error")) << boxes.last().text;
    EXPECT_EQ(1u, stranger.references) << "nothing of the container is held";
}

TEST_F(AutomationClient, ReleaseComponentsGivesBackTheContainerAndMayBeRepeated)
{
    TestContainer host;
    ASSERT_EQ(S_OK, gui->setup(0, host.asDispatch(), catf_All));
    EXPECT_EQ(S_OK, gui->releaseComponents());
    EXPECT_EQ(1u, host.references);
    EXPECT_EQ(S_OK, gui->releaseComponents()) << "a second call finds nothing to release";

    ASSERT_EQ(S_OK, gui->setup(0, host.asDispatch(), catf_All));
    gui = nullptr;
    EXPECT_EQ(1u, host.references) << "the last release of the object gives back the container";
}

TEST_F(AutomationClient, ClsidOfAnUnknownProgIdIsReportedAndNotWritten)
{
    MessageBoxDriver boxes;
    BSTR untouched = reinterpret_cast<BSTR>(0x1);
    BSTR slot = untouched;
    HRESULT hr = gui->GetItemCLSID(&slot);
    EXPECT_TRUE(FAILED(hr)) << "there is no item ProgID";
    EXPECT_EQ(untouched, slot) << "the out parameter is not written on failure";
    ASSERT_EQ(1u, boxes.count());
    EXPECT_NE(std::string::npos,
              boxes.last().text.find("The component with ProgID '' is not correctly registered. It's CLSID does "
                                     "not appear in the registry."))
        << boxes.last().text;
}

TEST_F(AutomationClient, DispatchIsServedFromTheRegisteredTypeLibrary)
{
    ComPtr<IDispatch> dispatch;
    ASSERT_EQ(S_OK, gui.queryInterface(IID_IDispatch, dispatch));
    ComPtr<ITypeInfo> info;
    ASSERT_EQ(S_OK, dispatch->GetTypeInfo(0, 0x409, info.put()));
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(S_OK, info->GetTypeAttr(&attributes));
    EXPECT_TRUE(IsEqualIID(IID_ICCAPEGUI, attributes->guid));
    info->ReleaseTypeAttr(attributes);

    LPOLESTR names[] = {const_cast<LPOLESTR>(L"getFullCOPPClassName"), const_cast<LPOLESTR>(L"setup")};
    DISPID ids[2] = {};
    EXPECT_EQ(S_OK, dispatch->GetIDsOfNames(IID_NULL, &names[0], 1, 0x409, &ids[0]));
    EXPECT_EQ(S_OK, dispatch->GetIDsOfNames(IID_NULL, &names[1], 1, 0x409, &ids[1]));
    EXPECT_EQ(28, ids[0]);
    EXPECT_EQ(16, ids[1]);

    VARIANT argument;
    VariantInit(&argument);
    argument.vt = VT_I4;
    argument.lVal = 110;
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS put = {&argument, &named, 1, 1};
    EXPECT_EQ(S_OK, dispatch->Invoke(22, IID_NULL, 0x409, DISPATCH_PROPERTYPUT, &put, nullptr, nullptr, nullptr));
    LONG version = 0;
    gui->get_compCOversion(&version);
    EXPECT_EQ(110, version) << "Invoke reaches the vtable member";
    EXPECT_EQ(DISP_E_UNKNOWNINTERFACE,
              dispatch->Invoke(22, IID_ICCAPEGUI, 0x409, DISPATCH_PROPERTYPUT, &put, nullptr, nullptr, nullptr));
}
